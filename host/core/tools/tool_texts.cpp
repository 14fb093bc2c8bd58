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

}  // namespace host::texts
