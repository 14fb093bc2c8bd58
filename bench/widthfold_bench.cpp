// widthfold: size pass plus conversion of every function over Japanese text, in Shift JIS, in
// UTF-8, and in UTF-16 (both byte orders, with a mark), EUC-JP and JIS, with Shift JIS in the
// same run as their baseline. The sample mixes half-width katakana, ASCII and full-width
// digits, letters and symbols, so every function has work; "Widened" runs the full-to-half
// functions over the text after the matching half-to-full function, where nearly every digit,
// letter or symbol is full width. The form detection that every function makes first is timed
// on its own, on the 12 MiB sample and on 100 MiB of Shift JIS beside a conversion of it.
#include <array>
#include <string>

#include "platform/text_form.h"
#include "platform/utf8_text.h"
#include "plugin_bench.h"
#include "support/sample_text.h"
#include "widthfold/text_forms.h"

namespace {

const testing_support::PluginUnderTest& Widthfold() {
    return bench_support::Plugin("widthfold");
}

enum Encoding { kSjis, kUtf8, kUtf16Le, kUtf16Be, kEuc, kJis, kEncodings };

const std::string& Text(int encoding) {
    static const std::array<std::string, kEncodings> texts = [] {
        const std::string sjis = testing_support::JapaneseText(12 << 20);
        const std::string utf8 = testing_support::JapaneseUtf8Text(12 << 20);
        return std::array<std::string, kEncodings>{
            sjis,
            utf8,
            widthfold_test::Utf16Bytes(utf8, false, true),
            widthfold_test::Utf16Bytes(utf8, true, true),
            widthfold_test::SjisToEuc(sjis),
            widthfold_test::SjisToJis(sjis),
        };
    }();
    return texts[encoding];
}

const std::string& LargeSjis() {
    static const std::string text = testing_support::JapaneseText(100 << 20);
    return text;
}

void BM_Memcpy(benchmark::State& state) {
    bench_support::RunMemcpy(state, Text(0));
}

// The test every function makes before it reads a text as UTF-8 or Shift JIS.
void BM_ClassifyText(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::ClassifyText(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void DetectForm(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::DetectTextForm(
            reinterpret_cast<const unsigned char*>(text.data()), text.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_DetectTextForm(benchmark::State& state) {
    DetectForm(state, Text(static_cast<int>(state.range(0))));
}

void BM_DetectTextForm100MiB(benchmark::State& state) {
    DetectForm(state, LargeSjis());
}

void BM_Widthfold100MiB(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 LargeSjis());
}

void BM_Widthfold(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kSjis));
}

void BM_WidthfoldUtf8(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kUtf8));
}

void BM_WidthfoldUtf16Le(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kUtf16Le));
}

void BM_WidthfoldUtf16Be(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kUtf16Be));
}

void BM_WidthfoldEuc(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kEuc));
}

void BM_WidthfoldJis(benchmark::State& state) {
    bench_support::RunConversion(state, Widthfold(), static_cast<uint32_t>(state.range(0)),
                                 Text(kJis));
}

// Functions 2, 4 and 6 over the output of 1, 3 and 5.
void RunWidened(benchmark::State& state, int encoding) {
    static const auto widen = [](int e) {
        return std::array<std::string, 3>{
            Widthfold().Run(1, Text(e)).value_or(""),
            Widthfold().Run(3, Text(e)).value_or(""),
            Widthfold().Run(5, Text(e)).value_or(""),
        };
    };
    static const std::array<std::array<std::string, 3>, kEncodings> widened = {
        widen(0), widen(1), widen(2), widen(3), widen(4), widen(5)};
    const auto function = static_cast<uint32_t>(state.range(0));
    bench_support::RunConversion(state, Widthfold(), function, widened[encoding][function / 2 - 1]);
}

void BM_WidthfoldWidened(benchmark::State& state) {
    RunWidened(state, 0);
}

void BM_WidthfoldUtf8Widened(benchmark::State& state) {
    RunWidened(state, kUtf8);
}

void BM_WidthfoldUtf16LeWidened(benchmark::State& state) {
    RunWidened(state, kUtf16Le);
}

void BM_WidthfoldEucWidened(benchmark::State& state) {
    RunWidened(state, kEuc);
}

void BM_WidthfoldJisWidened(benchmark::State& state) {
    RunWidened(state, kJis);
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf8)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf8Widened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf16Le)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf16Be)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldUtf16LeWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldEuc)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldEucWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldJis)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidthfoldJisWidened)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectTextForm)->DenseRange(0, kEncodings - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectTextForm100MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Widthfold100MiB)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
