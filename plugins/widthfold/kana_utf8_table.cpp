// The full-width katakana in UTF-16 and UTF-8: the Shift JIS table decoded through code page
// 932, so that every encoding gives the same characters.
#include <cstdint>

#include "platform/codepage.h"
#include "utf8_width_tables.h"

namespace widthfold {
namespace {

// Code page 932 decodes every code of the table to one character of U+0800-U+FFFF; a code it
// did not know would decode to U+30FB, the code page's own mark for that.
char16_t Decoded(std::uint16_t sjis) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(sjis >> 8),
                                    static_cast<unsigned char>(sjis)};
    char16_t unit = 0;
    if (platform::MultiByteToWideChar(platform::kCodePageWindowsJapanese, bytes, 2, &unit, 1) !=
            1 ||
        unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) {
        unit = 0x30FB;
    }
    return unit;
}

KanaUtf16Table Build() {
    KanaUtf16Table t;
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

KanaUtf8Table InUtf8(const KanaUtf16Table& units) {
    KanaUtf8Table t;
    for (std::size_t k = 0; k < units.plain.size(); ++k) {
        t.plain[k] = Utf8Of(units.plain[k]);
        t.voiced[k] = Utf8Of(units.voiced[k]);
        t.semiVoiced[k] = Utf8Of(units.semiVoiced[k]);
    }
    t.voicedU = Utf8Of(units.voicedU);
    return t;
}

}  // namespace

const KanaUtf16Table& KanaUtf16() {
    static const KanaUtf16Table table = Build();
    return table;
}

const KanaUtf8Table& KanaUtf8() {
    static const KanaUtf8Table table = InUtf8(KanaUtf16());
    return table;
}

}  // namespace widthfold
