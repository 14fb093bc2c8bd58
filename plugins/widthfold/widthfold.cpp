// widthfold: converts Shift JIS text between half-width and full-width forms of katakana,
// digits, Latin letters and ASCII symbols.
#include <array>
#include <cstdint>

#include "folding.h"
#include "folding_avx512.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

using widthfold::CharSet;

// Titles are Shift JIS.
constexpr std::array<const char*, 7> kTitles = {
    // 半角カナ→全角カナ変換
    "\x94\xbc\x8a\x70\x83\x4a\x83\x69\x81\xa8\x91\x53\x8a\x70\x83\x4a\x83\x69\x95\xcf\x8a\xb7",
    // 半角数字→全角数字変換
    "\x94\xbc\x8a\x70\x90\x94\x8e\x9a\x81\xa8\x91\x53\x8a\x70\x90\x94\x8e\x9a\x95\xcf\x8a\xb7",
    // 全角数字→半角数字変換
    "\x91\x53\x8a\x70\x90\x94\x8e\x9a\x81\xa8\x94\xbc\x8a\x70\x90\x94\x8e\x9a\x95\xcf\x8a\xb7",
    // 半角英字→全角英字変換
    "\x94\xbc\x8a\x70\x89\x70\x8e\x9a\x81\xa8\x91\x53\x8a\x70\x89\x70\x8e\x9a\x95\xcf\x8a\xb7",
    // 全角英字→半角英字変換
    "\x91\x53\x8a\x70\x89\x70\x8e\x9a\x81\xa8\x94\xbc\x8a\x70\x89\x70\x8e\x9a\x95\xcf\x8a\xb7",
    // 半角記号→全角記号変換
    "\x94\xbc\x8a\x70\x8b\x4c\x8d\x86\x81\xa8\x91\x53\x8a\x70\x8b\x4c\x8d\x86\x95\xcf\x8a\xb7",
    // 全角記号→半角記号変換
    "\x91\x53\x8a\x70\x8b\x4c\x8d\x86\x81\xa8\x94\xbc\x8a\x70\x8b\x4c\x8d\x86\x95\xcf\x8a\xb7",
};

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
static_assert(kConversions.size() == kTitles.size());

const Conversion* ConversionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kConversions, request);
}

// Room for the longest possible result and the zero byte written behind it: every character
// at most doubles from half to full width and never grows from full to half width. 0 when
// that does not fit 32 bits.
std::uint32_t BufferSize(const ConvertRequest& request, const Conversion& conversion) {
    const std::uint64_t n = request.inputLength;
    const std::uint64_t size = (conversion.direction == Direction::kFullToHalf ? n : 2 * n) + 1;
    return plugin_support::SizeOrZero(size);
}

}  // namespace

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) {
    return XFM_VERSION(1, 0, 0, 2);
}

XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) {
    return kTitles.size();
}

XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {
    return index < kTitles.size() ? kTitles[index] : nullptr;
}

XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t) {
    return 0;
}

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Conversion* conversion = ConversionFor(request);
    return conversion == nullptr ? 0 : BufferSize(*request, *conversion);
}

// Writes the whole result and a zero byte behind it; outputLength counts every byte of the
// result, zero bytes within it included. Fails when the buffer is smaller than the size the
// size pass reports.
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Conversion* conversion = ConversionFor(request);
    if (conversion == nullptr || request->output == nullptr) {
        return 0;
    }
    const std::uint32_t size = BufferSize(*request, *conversion);
    if (size == 0 || request->outputCapacity < size) {
        return 0;
    }
    widthfold::Output out(request->output, request->outputCapacity);
    switch (conversion->direction) {
        case Direction::kKatakanaToFull:
            widthfold::KatakanaToFull(request->input, request->inputLength, out);
            break;
        case Direction::kHalfToFull:
            widthfold::HalfToFull(request->input, request->inputLength, out, conversion->set);
            break;
        case Direction::kFullToHalf:
#if defined(WIDTHFOLD_WITH_AVX512)
            if (widthfold::HasAvx512()) {
                widthfold::FullToHalfAvx512(request->input, request->inputLength, out,
                                            conversion->set);
                break;
            }
#endif
            widthfold::FullToHalf(request->input, request->inputLength, out, conversion->set);
            break;
    }
    request->outputLength = static_cast<uint32_t>(out.next() - request->output);
    *out.next() = 0;
    return 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char*, char*, uint32_t) {
    return 0;
}
