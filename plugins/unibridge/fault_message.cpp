#include "fault_message.h"

#include <cstdio>

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace unibridge {
namespace {

const char* EncodingName(Source source) {
    switch (source) {
        case Source::kAscii:
        case Source::kUtf8:
        case Source::kUtf8Bom:
            return "UTF-8";
        case Source::kUtf16Le:
        case Source::kUtf16Be:
        case Source::kUtf16LeBare:
        case Source::kUtf16BeBare:
            return "UTF-16";
        case Source::kJis:
            return "JIS";
        case Source::kEuc:
            return "EUC-JP";
        case Source::kSjis:
            return "シフトJIS";
    }
    return "";
}

std::string Hex(const unsigned char* bytes, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += digits;
    }
    return text;
}

}  // namespace

std::size_t LineOf(Source source, const unsigned char* in, std::size_t n, std::size_t offset) {
    const bool marked = source == Source::kUtf16Le || source == Source::kUtf16Be;
    const bool bigEndian = source == Source::kUtf16Be || source == Source::kUtf16BeBare;
    const bool utf16 = marked || bigEndian || source == Source::kUtf16LeBare;
    const std::size_t step = utf16 ? 2 : 1;
    const std::size_t low = bigEndian ? 1 : 0;  // the byte that holds CR or LF
    const auto isUnit = [&](std::size_t i, unsigned char c) {
        return i + step <= n && in[i + low] == c && (!utf16 || in[i + 1 - low] == 0);
    };
    std::size_t line = 1;
    for (std::size_t i = marked ? 2 : 0; i + step <= offset; i += step) {
        if (isUnit(i, '\n') || (isUnit(i, '\r') && !isUnit(i + step, '\n'))) {
            ++line;
        }
    }
    return line;
}

std::string FaultMessage(const Fault& fault, Source source, const unsigned char* in,
                         std::size_t n) {
    const std::string line = std::to_string(LineOf(source, in, n, fault.offset));
    std::string text;
    if (fault.kind == Fault::Kind::kNoShiftJis) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(fault.character));
        text = line + "行目の文字 " + code + " はシフトJISにありません。";
    } else if (fault.kind == Fault::Kind::kNoShiftJisBytes) {
        text = line + "行目の文字 " + Hex(in + fault.offset, fault.length) +
               " はシフトJISにありません。";
    } else {
        text = line + "行目のバイト " + Hex(in + fault.offset, fault.length) + " は" +
               EncodingName(source) + "の文字として読めません。";
    }
    return platform::Utf8ToCp932(text);
}

void ShowFault(const Fault& fault, Source source, const unsigned char* in, std::size_t n) {
    const std::string text = FaultMessage(fault, source, in, n);
    platform::ShowMessageBox(text.c_str(), platform::Utf8ToCp932("エラー").c_str(),
                             platform::kButtonsOk | platform::kIconStop);
}

std::string ReplacementNote(Target target, const Replacements& replaced) {
    std::string lines;
    for (const std::uint64_t line : replaced.lines) {
        lines += (lines.empty() ? "" : "、") + std::to_string(line);
    }
    const std::string where = "（" + lines + "行目" + (replaced.moreLines ? "ほか" : "") + "）";
    const std::string what = target == Target::kSjisLossless
                                 ? "シフトJISで元に戻らない文字を数値文字参照にしました："
                                 : "シフトJISにない文字を置き換えました：";
    return platform::Utf8ToCp932(what + std::to_string(replaced.count) + "か所" + where + "。");
}

void ShowReplacements(Target target, const Replacements& replaced) {
    const std::string text = ReplacementNote(target, replaced);
    platform::ShowMessageBox(text.c_str(), platform::Utf8ToCp932("情報").c_str(),
                             platform::kButtonsOk | platform::kIconInformation);
}

}  // namespace unibridge
