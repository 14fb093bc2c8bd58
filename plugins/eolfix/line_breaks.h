// Line-break rewriting: CR LF, a lone CR and a lone LF each count as one break, and every
// break is written as `Target`. One scan serves both the size count and the conversion, so the
// reported size is exactly what is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace eolfix {

enum class Target { kCrLf, kCr, kLf };

inline std::size_t BreakWidth(Target target) { return target == Target::kCrLf ? 2 : 1; }

// Exact length of the converted text of [in, in + n): every byte that is not part of a
// break, plus the target's width for every break.
inline std::uint64_t ConvertedSize(const unsigned char* in, std::size_t n, Target target) {
    std::uint64_t breaks = 0;
    std::uint64_t breakBytes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = in[i];
        if (c == '\n' || c == '\r') {
            ++breaks;
            ++breakBytes;
            if (c == '\r' && i + 1 < n && in[i + 1] == '\n') {
                ++i;
                ++breakBytes;
            }
        }
    }
    return n - breakBytes + breaks * BreakWidth(target);
}

// Writes the converted text to `out` (which holds ConvertedSize bytes) and returns
// the number of bytes written. Runs between break bytes are copied whole.
inline std::size_t RewriteBreaks(const unsigned char* in, std::size_t n, unsigned char* out,
                                 Target target) {
    unsigned char* const start = out;
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = i;
        while (run < n && in[run] != '\n' && in[run] != '\r') {
            ++run;
        }
        std::memcpy(out, in + i, run - i);
        out += run - i;
        if (run == n) {
            break;
        }
        i = run + 1;
        if (in[run] == '\r' && i < n && in[i] == '\n') {
            ++i;
        }
        switch (target) {
            case Target::kCrLf:
                *out++ = '\r';
                *out++ = '\n';
                break;
            case Target::kCr:
                *out++ = '\r';
                break;
            case Target::kLf:
                *out++ = '\n';
                break;
        }
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace eolfix
