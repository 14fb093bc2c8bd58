// The detection that every plug-in asks before it reads a text, against the plug-ins that ask
// it on every conversion (eolfix, widthfold), over the same 100 MB of Shift JIS: the prose of
// the other benchmarks, and text of half-width katakana that reads as EUC-JP as well, where
// both readings must go on to the end.
#include <string>

#include "platform/text_form.h"
#include "plugin_bench.h"
#include "support/sample_text.h"

namespace {

constexpr std::size_t kBytes = 100u << 20;

// Lines of half-width katakana words of even length between ASCII: valid Shift JIS and valid
// EUC-JP (every two kana bytes make a kanji of JIS rows 0x21 to 0x5F there).
std::string KanaText() {
    static const char* const kWords[] = {
        "\xB6\xC0\xB6\xC5",              // ｶﾀｶﾅ
        "\xC3\xDE\xB0\xC0",              // ﾃﾞｰﾀ
        "\xBC\xAE\xB3\xB8\xDE\xB0\xBC",  // odd: ends where the next word begins
        "\xCC\xA7\xB2\xD9",              // ﾌｧｲﾙ
        "\xBA\xB0\xC4\xDE",              // ｺｰﾄﾞ
    };
    std::string text;
    text.reserve(kBytes);
    std::size_t k = 0;
    while (text.size() + 64 < kBytes) {
        for (int w = 0; w < 8; ++w, ++k) {
            const std::string word = kWords[k % 5];
            text += word.size() % 2 == 0 ? word : word.substr(0, 6);
            text += w == 7 ? "\r\n" : " 12 ";
        }
    }
    return text;
}

// 0: prose, 1: half-width katakana.
const std::string& Text(int kind) {
    static const std::string texts[2] = {testing_support::JapaneseText(kBytes), KanaText()};
    return texts[kind];
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text(static_cast<int>(state.range(0))));
}

void RunDetection(benchmark::State& state, platform::TextForm (*detect)(const unsigned char*,
                                                                         std::size_t)) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (auto _ : state) {
        benchmark::DoNotOptimize(detect(bytes, text.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_DetectTextForm(benchmark::State& state) {
    RunDetection(state, platform::DetectTextForm);
}

// The first step alone, which eolfix and encswap ask.
void BM_DetectUtf16Form(benchmark::State& state) {
    RunDetection(state, platform::DetectUtf16Form);
}

void BM_Eolfix(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("eolfix"), 0,
                                 Text(static_cast<int>(state.range(0))));
}

void BM_Widthfold(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("widthfold"), 0,
                                 Text(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Memcpy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectTextForm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectUtf16Form)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eolfix)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
