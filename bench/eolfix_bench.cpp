// eolfix: size pass plus conversion over Japanese text with 60-100-byte lines, in Shift JIS and
// as UTF-16 in both byte orders, with a mark and without one.
#include <array>
#include <string>

#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

const std::string& Text() {
    // Mixed breaks, as real files have them: mostly CR LF with some LF-only lines.
    static const std::string text = [] {
        std::string crlf = testing_support::JapaneseText(12 << 20, "\r\n");
        for (std::size_t i = 0; i + 2 < crlf.size(); i += 997) {
            if (crlf[i] == '\r') {
                crlf[i] = ' ';
            }
        }
        return crlf;
    }();
    return text;
}

// The same text in UTF-16: 0 little-endian with a mark, 1 big-endian with a mark, 2
// little-endian without one.
const std::string& Utf16Text(int form) {
    static const std::array<std::string, 3> texts = [] {
        const std::u16string units = platform::Utf8ToUtf16(platform::Cp932ToUtf8(Text()));
        std::string little;
        std::string big;
        for (const char16_t unit : units) {
            little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
        }
        return std::array<std::string, 3>{"\xFF\xFE" + little, "\xFE\xFF" + big, little};
    }();
    return texts[form];
}

void BM_Memcpy(benchmark::State& state) { bench_support::RunMemcpy(state, Text()); }

void BM_MemcpyUtf16(benchmark::State& state) { bench_support::RunMemcpy(state, Utf16Text(0)); }

void BM_Eolfix(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("eolfix"),
                                 static_cast<uint32_t>(state.range(0)), Text());
}

// Function 2 (to LF) on each form.
void BM_EolfixUtf16(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("eolfix"), 2,
                                 Utf16Text(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EolfixUtf16)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eolfix)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
