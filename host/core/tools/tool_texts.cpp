#include "host/core/tools/tool_texts.h"

namespace host::texts {

DisplayText ScanSkippedBinary(const std::string& reason) {
    return "バイナリファイルのため、スキャンしませんでした。（" + reason + "）\r\n";
}

DisplayText ScanFallbackCounts(std::uint64_t readable, std::uint64_t firstReadableLine,
                               std::uint64_t lossless, std::uint64_t firstLosslessLine) {
    if (readable == 0 && lossless == 0) {
        return DisplayText();
    }
    const auto places = [](std::uint64_t count, std::uint64_t line) {
        return std::to_string(count) + "か所" +
               (count == 0 ? "" : "（" + std::to_string(line) + "行目から）");
    };
    return "シフトJISへの変換で置き換わる文字：〓 " + places(readable, firstReadableLine) +
           "、&#x…; " + places(lossless, firstLosslessLine) + "\r\n";
}

DisplayText ReadmeMissing(const std::string& path) {
    return "'" + path + "' が見つかりません。";
}

DisplayText ReadmeWithoutViewer(const std::string& path) {
    return "'" + path + "' を開くプログラムが見つかりません。";
}

DisplayText CommandCharacterOutsideCp932(const std::string& character) {
    return "「" + character + "」はシフトJISにない文字のため、正規表現に使えません。";
}

DisplayText PreviewBeforeLabel(const std::string& form) {
    return "変換前: " + form;
}

DisplayText PreviewAfterLabel(const std::string& form) {
    return "変換後: " + form;
}

std::string PreviewBinaryForm(const std::string& reason) {
    return "バイナリ（" + reason + "）";
}

DisplayText PreviewFileOf(const std::string& path, std::size_t number, std::size_t count) {
    return DisplayText(path) + "（" + std::to_string(number) + "/" + std::to_string(count) + "）";
}

DisplayText PreviewChangedLines(std::size_t lines) {
    return "変更された行: " + std::to_string(lines);
}

DisplayText PreviewNewName(const std::string& name) {
    return "新しい名前: " + name;
}

DisplayText PreviewFailedSteps(const std::vector<std::string>& titles) {
    DisplayText joined;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (i > 0) {
            joined += "、";
        }
        joined += DisplayText::FromCp932(titles[i]);
    }
    return joined + " の処理に失敗しました。";
}

DisplayText PreviewUndecodable(std::size_t places) {
    return "読めない文字: " + std::to_string(places);
}

DisplayText PreviewTooLarge(const std::string& path) {
    return "'" + path + "' は大きすぎるため、プレビューできません。";
}

DisplayText PreviewFileChanged(const std::string& path) {
    return "'" + path + "' は読み込み中に変更されました。";
}

DisplayText InfoFileCount(std::size_t files) {
    return "ファイル数: " + std::to_string(files);
}

}  // namespace host::texts
