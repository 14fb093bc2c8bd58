#include "text_kinds.h"

#include "foreign_form.h"
#include "messages.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace rulebook {

using platform::TextKind;
using regex::CharMode;

std::optional<CharMode> RunEncoding(TextKind table, TextKind text) {
    if ((table == TextKind::kUtf8 && text == TextKind::kOther) ||
        (table == TextKind::kOther && text == TextKind::kUtf8)) {
        return std::nullopt;
    }
    return table == TextKind::kUtf8 || text == TextKind::kUtf8 ? CharMode::kUtf8
                                                               : CharMode::kShiftJis;
}

void ShowEncodingMismatch(TextKind table, TextKind) {
    const std::string message =
        std::string(table == TextKind::kUtf8 ? kUtf8TableOnShiftJis : kShiftJisTableOnUtf8) +
        kContinueWithoutTable;
    platform::ShowMessageBox(message.c_str(), kErrorTitle,
                             platform::kButtonsOk | platform::kIconStop);
}

const char* ForeignEncoding(std::string_view text, TextKind kind) {
    if (kind == TextKind::kUtf8) {
        return nullptr;  // JIS and UTF-16 without a mark may be all ASCII bytes, UTF-8 never
    }
    return plugin_support::ForeignFormName(
        plugin_support::FormOf(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

void ShowForeignText(const char* encoding) {
    const std::string message =
        platform::Utf8ToCp932(std::string("このファイルは") + encoding +
                              "です。変換テーブルはシフトJISかUTF-8のファイルにだけ使えます。") +
        kContinueWithoutTable;
    platform::ShowMessageBox(message.c_str(), kErrorTitle,
                             platform::kButtonsOk | platform::kIconStop);
}

void ShowForeignTable(const char* encoding) {
    const std::string message =
        platform::Utf8ToCp932(std::string("変換テーブルは") + encoding +
                              "です。変換テーブルはシフトJISかUTF-8で書いてください。") +
        kContinueWithoutTable;
    platform::ShowMessageBox(message.c_str(), kErrorTitle,
                             platform::kButtonsOk | platform::kIconStop);
}

std::string ForeignTextForCommand(const char* encoding) {
    return platform::Utf8ToCp932(
        std::string("このファイルは") + encoding +
        "です。正規表現による変換はシフトJISかUTF-8のファイルにだけ行います。");
}

std::string ShownInMessage(std::string_view text, CharMode encoding) {
    return encoding == CharMode::kUtf8 ? platform::Utf8ToCp932(text) : std::string(text);
}

std::size_t MarkLength(std::string_view text) {
    return platform::HasUtf8Mark(text) ? platform::kUtf8Mark.size() : 0;
}

}  // namespace rulebook
