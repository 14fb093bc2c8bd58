#include "utf8_refusal.h"

#include <string>

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace encswap {

namespace {

void ShowRefusal(const char* utf8Text) {
    const std::string text = platform::Utf8ToCp932(utf8Text);
    platform::ShowMessageBox(text.c_str(), platform::Utf8ToCp932("エラー").c_str(),
                             platform::kButtonsOk | platform::kIconStop);
}

}  // namespace

void ShowUtf8Refusal() {
    ShowRefusal(
        "このファイルはUTF-8のため、JIS・EUC・シフトJISの間では変換できません。\n"
        "UTF-8は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。");
}

void ShowUtf16Refusal() {
    ShowRefusal(
        "このファイルはUTF-16のため、JIS・EUC・シフトJISの間では変換できません。\n"
        "UTF-16は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。");
}

}  // namespace encswap
