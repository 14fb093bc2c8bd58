#include "utf8_refusal.h"

#include <string>

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace encswap {

void ShowUtf8Refusal() {
    const std::string text = platform::Utf8ToCp932(
        "このファイルはUTF-8のため、JIS・EUC・シフトJISの間では変換できません。\n"
        "UTF-8は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。");
    platform::ShowMessageBox(text.c_str(), platform::Utf8ToCp932("エラー").c_str(),
                             platform::kButtonsOk | platform::kIconStop);
}

}  // namespace encswap
