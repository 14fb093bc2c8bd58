// The forms a text can be found in.
#pragma once

namespace unibridge {

enum class Source {
    kAscii,        // nothing but ASCII: valid UTF-8 without a multi-byte sequence, and no mark
    kUtf8,         // UTF-8 without a byte-order mark
    kUtf8Bom,      // UTF-8 after EF BB BF
    kUtf16Le,      // UTF-16 little-endian after FF FE
    kUtf16Be,      // UTF-16 big-endian after FE FF
    kUtf16LeBare,  // UTF-16 little-endian without a mark
    kUtf16BeBare,  // UTF-16 big-endian without a mark
    kJis,          // ISO-2022-JP
    kEuc,          // EUC-JP
    kSjis,         // Shift JIS, code page 932
};

}  // namespace unibridge
