// The full-width katakana in UTF-8: the Shift JIS table decoded through code page 932, so that
// both encodings give the same characters.
#include <cstdint>

#include "platform/codepage.h"
#include "utf8_width_tables.h"

namespace widthfold {
namespace {

// Code page 932 decodes every code of the table to one character of U+0800-U+FFFF; a code it
// did not know would decode to U+30FB, the code page's own mark for that.
Utf8Code Decoded(std::uint16_t sjis) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(sjis >> 8),
                                    static_cast<unsigned char>(sjis)};
    char16_t unit = 0;
    if (platform::MultiByteToWideChar(platform::kCodePageWindowsJapanese, bytes, 2, &unit, 1) !=
            1 ||
        unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) {
        unit = 0x30FB;
    }
    return Utf8Of(unit);
}

KanaUtf8Table Build() {
    KanaUtf8Table t;
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const auto half = static_cast<unsigned char>(b);
        const std::uint16_t full = KatakanaOf(half);
        t.plain[b - 0xA1] = Decoded(full);
        t.voiced[b - 0xA1] = TakesVoicedMark(half) ? Decoded(full + 1) : t.plain[b - 0xA1];
        t.semiVoiced[b - 0xA1] = TakesSemiVoicedMark(half) ? Decoded(full + 2) : t.plain[b - 0xA1];
    }
    t.voicedU = Decoded(kVoicedU);
    return t;
}

}  // namespace

const KanaUtf8Table& KanaUtf8() {
    static const KanaUtf8Table table = Build();
    return table;
}

}  // namespace widthfold
