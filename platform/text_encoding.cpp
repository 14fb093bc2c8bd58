#include "platform/text_encoding.h"

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace platform {

std::string Cp932ToUtf8(std::string_view cp932) {
    return Utf16ToUtf8(DecodeCodePage(kCodePageWindowsJapanese, cp932));
}

std::string Utf8ToCp932(std::string_view utf8) {
    return EncodeCodePage(kCodePageWindowsJapanese, Utf8ToUtf16(utf8));
}

}  // namespace platform
