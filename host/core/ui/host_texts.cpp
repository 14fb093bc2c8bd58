#include "host/core/ui/host_texts.h"

#include "platform/paths.h"

namespace host::texts {

DisplayText StepFailed(const std::string& functionTitle) {
    return DisplayText::FromCp932(functionTitle) + " の処理に失敗しました。処理をスキップします。";
}

DisplayText ConfirmOverwrite(const std::string& path) {
    return "'" + path + "' は上書きされます。よろしいですか？";
}

DisplayText FileFailed(const std::string& path) { return "'" + path + "' の変換に失敗しました。"; }

DisplayText AllDone(std::int32_t errors) {
    return "すべての処理を終了しました。（エラー：" + std::to_string(errors) + "）";
}

DisplayText Cancelled(std::int32_t errors) {
    return "処理はキャンセルされました。（エラー：" + std::to_string(errors) + "）";
}

DisplayText FilesWithFailedSteps(std::int32_t files) {
    return "（失敗した処理のあるファイル：" + std::to_string(files) + "）";
}

DisplayText WithSkippedBinary(DisplayText final, std::int32_t skipped) {
    if (skipped > 0) {
        final += "（スキップしたバイナリファイル：" + std::to_string(skipped) + "）";
    }
    return final;
}

DisplayText SkippedBinary(const std::string& path) {
    return "'" + path + "' はバイナリファイルのため、テキストの処理をスキップしました。";
}

DisplayText SourceTooLarge(const std::string& path) {
    return "'" + path + "' は 4GB 以上あるため変換できません。";
}

DisplayText CannotReadSource(const std::string& path, const std::string& reason) {
    return "'" + path + "' を読み込めませんでした。\n" + reason;
}

DisplayText CannotWriteTarget(const std::string& path, const std::string& reason) {
    return "'" + path + "' に書き込めませんでした。変換先は元のままです。\n" + reason;
}

DisplayText TargetTaken(const std::string& target, const std::string& earlierSource,
                        const std::string& source) {
    return "'" + target + "' には '" + earlierSource + "' の変換結果を書き込んだため、'" + source +
           "' の変換結果は書き込みません。";
}

DisplayText CannotCreateFolder(const std::string& folder, const std::string& reason) {
    return "変換先のフォルダ '" + folder + "' を作成できませんでした。\n" + reason;
}

DisplayText CannotBackUp(const std::string& target, const std::string& backup,
                         const std::string& reason) {
    return "バックアップ '" + backup + "' を作成できないため、'" + target +
           "' は元のままです。\n" + reason;
}

DisplayText StreamNameNotUsed(const std::string& newName) {
    return "the result goes to standard output; the new name '" +
           DisplayText(platform::FileNameOf(newName)) + "' is not used";
}

DisplayText TableNotCarried(const std::string& functionTitle, const std::string& table) {
    return "変換テーブル '" + table + "' のパス名はシフトJISで表せないため、" +
           DisplayText::FromCp932(functionTitle) + " の処理をスキップします。";
}

DisplayText NameNotCarried(const std::string& functionTitle, const std::string& path) {
    return DisplayText::FromCp932(functionTitle) +
           " が付ける新しい名前をシフトJISから戻せないため、'" + path +
           "' は元の名前のまま書き込みます。";
}

DisplayText SettingsListNotSaved(const std::string& path, const std::string& reason) {
    return "'" + path + "' に設定を保存できませんでした。\n" + reason;
}

}  // namespace host::texts
