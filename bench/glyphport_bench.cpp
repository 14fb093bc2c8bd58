// glyphport: size pass plus conversion over Japanese text, both directions.
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

// Windows text with a circled digit or Roman numeral in about every line, and its Mac form.
const std::string& WindowsText() {
    static const std::string text = [] {
        std::string windows = testing_support::JapaneseText(12 << 20, "\r\n");
        const char* vendor[] = {"\x87\x40", "\x87\x54", "\x87\x82", "\x87\x8A"};
        for (std::size_t i = 0, k = 0; i + 1 < windows.size(); i += 89) {
            if (windows[i] == ' ' && windows[i + 1] != '\r') {
                windows.replace(i, 2, vendor[k++ % 4]);
            }
        }
        return windows;
    }();
    return text;
}

const std::string& MacText() {
    static const std::string text = [] {
        const auto& p = bench_support::Plugin("glyphport");
        ConvertRequest request{};
        request.input = reinterpret_cast<const unsigned char*>(WindowsText().data());
        request.inputLength = static_cast<uint32_t>(WindowsText().size());
        request.functionIndex = 1;
        request.tablePath = "";
        std::string mac(p.getBufferSize(&request), '\0');
        request.output = reinterpret_cast<unsigned char*>(mac.data());
        request.outputCapacity = static_cast<uint32_t>(mac.size());
        p.convert(&request);
        mac.resize(request.outputLength);
        return mac;
    }();
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, WindowsText());
}

void BM_GlyphportMacToWin(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("glyphport"), 0, MacText());
}

void BM_GlyphportWinToMac(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("glyphport"), 1, WindowsText());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlyphportMacToWin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlyphportWinToMac)->Unit(benchmark::kMillisecond);

}  // namespace
