// widthfold: converts text between half-width and full-width forms of katakana, digits, Latin
// letters and ASCII symbols. Text is Shift JIS unless it is UTF-8 by the rule of
// platform/utf8_text.h (a byte-order mark, or well-formed UTF-8 with a sequence of three or four
// bytes); UTF-8 text folds the same characters in their UTF-8 forms (utf8_width_tables.h tells
// where the symbols differ) and stays UTF-8, byte-order mark and malformed bytes as they were.
// ASCII alone is read as Shift JIS, which gives the same characters.
#include <array>
#include <cstdint>
#include <string_view>

#include "folding.h"
#include "folding_avx512.h"
#include "folding_utf8.h"
#include "folding_utf8_avx512.h"
#include "platform/utf8_text.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

using widthfold::CharSet;

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<7> kPlugin = {
    XFM_VERSION(1, 0, 0, 2),
    {{
        // 半角カナ→全角カナ変換
        {"\x94\xbc\x8a\x70\x83\x4a\x83\x69\x81\xa8\x91\x53\x8a\x70\x83\x4a\x83\x69\x95\xcf\x8a"
         "\xb7"},
        // 半角数字→全角数字変換
        {"\x94\xbc\x8a\x70\x90\x94\x8e\x9a\x81\xa8\x91\x53\x8a\x70\x90\x94\x8e\x9a\x95\xcf\x8a"
         "\xb7"},
        // 全角数字→半角数字変換
        {"\x91\x53\x8a\x70\x90\x94\x8e\x9a\x81\xa8\x94\xbc\x8a\x70\x90\x94\x8e\x9a\x95\xcf\x8a"
         "\xb7"},
        // 半角英字→全角英字変換
        {"\x94\xbc\x8a\x70\x89\x70\x8e\x9a\x81\xa8\x91\x53\x8a\x70\x89\x70\x8e\x9a\x95\xcf\x8a"
         "\xb7"},
        // 全角英字→半角英字変換
        {"\x91\x53\x8a\x70\x89\x70\x8e\x9a\x81\xa8\x94\xbc\x8a\x70\x89\x70\x8e\x9a\x95\xcf\x8a"
         "\xb7"},
        // 半角記号→全角記号変換
        {"\x94\xbc\x8a\x70\x8b\x4c\x8d\x86\x81\xa8\x91\x53\x8a\x70\x8b\x4c\x8d\x86\x95\xcf\x8a"
         "\xb7"},
        // 全角記号→半角記号変換
        {"\x91\x53\x8a\x70\x8b\x4c\x8d\x86\x81\xa8\x94\xbc\x8a\x70\x8b\x4c\x8d\x86\x95\xcf\x8a"
         "\xb7"},
    }}};

enum class Direction { kKatakanaToFull, kHalfToFull, kFullToHalf };

struct Conversion {
    Direction direction;
    CharSet set;  // unused for katakana
};

constexpr std::array<Conversion, 7> kConversions = {{
    {Direction::kKatakanaToFull, CharSet::kDigits},
    {Direction::kHalfToFull, CharSet::kDigits},
    {Direction::kFullToHalf, CharSet::kDigits},
    {Direction::kHalfToFull, CharSet::kLetters},
    {Direction::kFullToHalf, CharSet::kLetters},
    {Direction::kHalfToFull, CharSet::kSymbols},
    {Direction::kFullToHalf, CharSet::kSymbols},
}};
static_assert(kConversions.size() == kPlugin.functions.size());

const Conversion* ConversionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kConversions, request);
}

bool IsUtf8(const ConvertRequest& request) {
    const auto* text = reinterpret_cast<const char*>(request.input);
    return platform::ClassifyText(std::string_view(text, request.inputLength)) ==
           platform::TextKind::kUtf8;
}

// Room for the longest possible result and the zero byte written behind it. In Shift JIS every
// character at most doubles from half to full width; in UTF-8 an ASCII byte becomes three
// bytes, while a half-width katakana stays three bytes or joins its sound mark. Nothing grows
// from full to half width. The text is read only for half to full width, whose room depends on
// the encoding, and only when the UTF-8 room fits 32 bits: beyond that the Shift JIS room is
// returned, and XfmConvert counts what a UTF-8 text needs. 0 when the room does not fit 32 bits.
std::uint32_t BufferSize(const ConvertRequest& request, const Conversion& conversion) {
    const std::uint64_t n = request.inputLength;
    switch (conversion.direction) {
        case Direction::kFullToHalf:
            return plugin_support::SizeOrZero(n + 1);
        case Direction::kKatakanaToFull:
            return plugin_support::SizeOrZero(2 * n + 1);
        case Direction::kHalfToFull:
            break;
    }
    const std::uint32_t utf8 = plugin_support::SizeOrZero(3 * n + 1);
    return utf8 != 0 && IsUtf8(request) ? utf8 : plugin_support::SizeOrZero(2 * n + 1);
}

// Whether the result of a UTF-8 text and its zero byte fit `capacity`. Only half to full width
// can outgrow the text: within 3 x n + 1 always, else as the bytes it widens say.
bool Utf8ResultFits(const ConvertRequest& request, const Conversion& conversion,
                    std::uint32_t capacity) {
    const std::uint64_t n = request.inputLength;
    if (conversion.direction != Direction::kHalfToFull) {
        return n + 1 <= capacity;
    }
    if (3 * n + 1 <= capacity) {
        return true;
    }
    return n + 2 * widthfold::CountWidened(request.input, n, conversion.set) + 1 <= capacity;
}

bool ResultFits(const ConvertRequest& request, const Conversion& conversion, bool utf8) {
    if (utf8) {
        return Utf8ResultFits(request, conversion, request.outputCapacity);
    }
    const std::uint64_t n = request.inputLength;
    const std::uint64_t size = (conversion.direction == Direction::kFullToHalf ? n : 2 * n) + 1;
    return size <= request.outputCapacity;
}

// The three conversions of one encoding.
struct Kernels {
    void (*katakanaToFull)(const unsigned char*, std::size_t, widthfold::Output&);
    void (*halfToFull)(const unsigned char*, std::size_t, widthfold::Output&, CharSet);
    void (*fullToHalf)(const unsigned char*, std::size_t, widthfold::Output&, CharSet);
};

// The conversions for Shift JIS (0) and UTF-8 (1); full to half at the best level the processor
// offers (and POLYSHIFT_ISA allows), chosen at the first call.
const Kernels& ChosenKernels(bool utf8) {
    static const std::array<Kernels, 2> kernels = [] {
        std::array<Kernels, 2> chosen = {{
            {&widthfold::KatakanaToFull, &widthfold::HalfToFull, &widthfold::FullToHalf},
            {&widthfold::KatakanaToFullUtf8, &widthfold::HalfToFullUtf8,
             &widthfold::FullToHalfUtf8},
        }};
#if defined(WIDTHFOLD_WITH_AVX512)
        if (widthfold::HasAvx512()) {
            chosen[0].fullToHalf = &widthfold::FullToHalfAvx512;
            chosen[1].fullToHalf = &widthfold::FullToHalfUtf8Avx512;
        }
#endif
        return chosen;
    }();
    return kernels[utf8 ? 1 : 0];
}

void Convert(const ConvertRequest& request, const Conversion& conversion, const Kernels& kernels,
             widthfold::Output& out) {
    switch (conversion.direction) {
        case Direction::kKatakanaToFull:
            kernels.katakanaToFull(request.input, request.inputLength, out);
            break;
        case Direction::kHalfToFull:
            kernels.halfToFull(request.input, request.inputLength, out, conversion.set);
            break;
        case Direction::kFullToHalf:
            kernels.fullToHalf(request.input, request.inputLength, out, conversion.set);
            break;
    }
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Conversion* conversion = ConversionFor(request);
    return conversion == nullptr ? 0 : BufferSize(*request, *conversion);
}

// Writes the whole result and a zero byte behind it; outputLength counts every byte of the
// result, zero bytes within it included. Fails when the buffer is smaller than the size the
// size pass reports (for a UTF-8 text beyond the sizes the size pass reads, smaller than the
// result).
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Conversion* conversion = ConversionFor(request);
    if (conversion == nullptr || request->output == nullptr) {
        return 0;
    }
    const bool utf8 = IsUtf8(*request);
    if (!ResultFits(*request, *conversion, utf8)) {
        return 0;
    }
    widthfold::Output out(request->output, request->outputCapacity);
    Convert(*request, *conversion, ChosenKernels(utf8), out);
    request->outputLength = static_cast<uint32_t>(out.next() - request->output);
    *out.next() = 0;
    return 1;
}
