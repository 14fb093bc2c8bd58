#include "platform/text_encoding.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/utf16.h"
#include "platform/utf8_text.h"

namespace platform {

std::string Cp932ToUtf8(std::string_view cp932) {
    return Utf16ToUtf8(DecodeCodePage(kCodePageWindowsJapanese, cp932));
}

std::string Utf8ToCp932(std::string_view utf8) {
    return EncodeCodePage(kCodePageWindowsJapanese, Utf8ToUtf16(utf8));
}

std::string FirstCharacterOutsideCp932(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(utf8, i), 1);
        const std::string_view character = utf8.substr(i, length);
        if (Cp932ToUtf8(Utf8ToCp932(character)) != character) {
            return std::string(character);
        }
        i += length;
    }
    return {};
}

}  // namespace platform
