#include "host/core/tools/tool_texts.h"

namespace host::texts {

DisplayText ScanSkippedBinary(const std::string& reason) {
    return "バイナリファイルのため、スキャンしませんでした。（" + reason + "）\r\n";
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
