// widthfold: converts text between half-width and full-width forms of katakana, digits, Latin
// letters and ASCII symbols, in the text's own encoding. The form detection of
// platform/text_form.h tells UTF-16 (either byte order, with a mark or without), EUC-JP and
// JIS; every other text is Shift JIS unless it is UTF-8 by the rule of platform/utf8_text.h (a
// byte-order mark, or well-formed UTF-8 with a sequence of three or four bytes). UTF-8 and
// UTF-16 text fold the same characters in their Unicode forms (utf8_width_tables.h tells where
// the symbols differ from Shift JIS), EUC-JP and JIS text those of Shift JIS in their own
// bytes; each stays in its encoding, byte-order marks, byte order, escape sequences and
// malformed bytes as they were where nothing folds. ASCII alone is read as Shift JIS, which
// gives the same characters.
#include <array>
#include <cstdint>

#include "folding.h"
#include "folding_avx512.h"
#include "folding_euc.h"
#include "folding_jis.h"
#include "folding_utf16.h"
#include "folding_utf8.h"
#include "folding_utf8_avx512.h"
#include "platform/text_form.h"
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

// The encodings the conversions are written for.
enum class Encoding { kSjis, kUtf8, kUtf16Le, kUtf16Be, kEuc, kJis };

// Whether well-formed UTF-8 holds a sequence of three or four bytes: a byte from 0xE0 on.
bool HasLongSequence(const ConvertRequest& request) {
    for (std::uint32_t i = 0; i < request.inputLength; ++i) {
        if (request.input[i] >= 0xE0) {
            return true;
        }
    }
    return false;
}

// The encoding of the text by the form detection, read once: UTF-8 where platform/utf8_text.h
// says so, as it always was (a mark, or a sequence of three or four bytes; UTF-8 of two-byte
// sequences alone is read as Shift JIS), and a doubtful EUC-JP stays Shift JIS, as it always
// was.
Encoding EncodingOf(const ConvertRequest& request) {
    switch (platform::DetectTextFormForShiftJis(request.input, request.inputLength)) {
        case platform::TextForm::kUtf16Le:
        case platform::TextForm::kUtf16LeBare:
            return Encoding::kUtf16Le;
        case platform::TextForm::kUtf16Be:
        case platform::TextForm::kUtf16BeBare:
            return Encoding::kUtf16Be;
        case platform::TextForm::kEuc:
            return Encoding::kEuc;
        case platform::TextForm::kJis:
            return Encoding::kJis;
        case platform::TextForm::kUtf8Bom:
            return Encoding::kUtf8;
        case platform::TextForm::kUtf8:
            return HasLongSequence(request) ? Encoding::kUtf8 : Encoding::kSjis;
        case platform::TextForm::kAscii:
        case platform::TextForm::kSjis:
            break;
    }
    return Encoding::kSjis;
}

// Room for the longest JIS result and its zero byte: a switch of up to four bytes may come
// before and after every character that changes its mode, an ASCII byte becomes two, a kana
// (after the switch that the text has before it) two. Beyond one byte per character, the
// room of one step more.
std::uint64_t JisRoom(std::uint64_t n, Direction direction) {
    return (direction == Direction::kFullToHalf ? 3 * n : 5 * n) + widthfold::jis::kStepRoom + 8;
}

// Room for the longest possible result and the zero byte written behind it. In Shift JIS and
// EUC-JP every character at most doubles from half to full width; in UTF-8 an ASCII byte
// becomes three bytes, while a half-width katakana stays three bytes or joins its sound mark;
// in UTF-16 every character keeps its two bytes or joins its mark. Nothing grows from full to
// half width but in JIS, where a character may need escape sequences around it. UTF-8 and JIS
// texts get their room only where it fits 32 bits: beyond that the Shift JIS room is returned,
// and XfmConvert counts what a UTF-8 text needs, or checks its room as it writes JIS. 0 when
// the room does not fit 32 bits.
std::uint32_t BufferSize(const ConvertRequest& request, const Conversion& conversion,
                         Encoding encoding) {
    const std::uint64_t n = request.inputLength;
    switch (encoding) {
        case Encoding::kUtf16Le:
        case Encoding::kUtf16Be:
            return plugin_support::SizeOrZero(n + 1);
        case Encoding::kJis:
            if (const std::uint32_t jis =
                    plugin_support::SizeOrZero(JisRoom(n, conversion.direction))) {
                return jis;
            }
            break;
        case Encoding::kSjis:
        case Encoding::kUtf8:
        case Encoding::kEuc:
            break;
    }
    switch (conversion.direction) {
        case Direction::kFullToHalf:
            return plugin_support::SizeOrZero(n + 1);
        case Direction::kKatakanaToFull:
            return plugin_support::SizeOrZero(2 * n + 1);
        case Direction::kHalfToFull:
            break;
    }
    const std::uint32_t utf8 = plugin_support::SizeOrZero(3 * n + 1);
    return utf8 != 0 && encoding == Encoding::kUtf8 ? utf8 : plugin_support::SizeOrZero(2 * n + 1);
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

bool ResultFits(const ConvertRequest& request, const Conversion& conversion, Encoding encoding) {
    if (encoding == Encoding::kUtf8) {
        return Utf8ResultFits(request, conversion, request.outputCapacity);
    }
    const std::uint32_t size = BufferSize(request, conversion, encoding);
    return size != 0 && size <= request.outputCapacity;
}

// The three conversions of one encoding.
struct Kernels {
    void (*katakanaToFull)(const unsigned char*, std::size_t, widthfold::Output&);
    void (*halfToFull)(const unsigned char*, std::size_t, widthfold::Output&, CharSet);
    void (*fullToHalf)(const unsigned char*, std::size_t, widthfold::Output&, CharSet);
};

// The conversions for Shift JIS, UTF-8, UTF-16 little- and big-endian and EUC-JP, by
// Encoding; full to half at the best level the processor offers (and POLYSHIFT_ISA allows),
// chosen at the first call.
const Kernels& ChosenKernels(Encoding encoding) {
    static const std::array<Kernels, 5> kernels = [] {
        std::array<Kernels, 5> chosen = {{
            {&widthfold::KatakanaToFull, &widthfold::HalfToFull, &widthfold::FullToHalf},
            {&widthfold::KatakanaToFullUtf8, &widthfold::HalfToFullUtf8,
             &widthfold::FullToHalfUtf8},
            {&widthfold::KatakanaToFullUtf16<false>, &widthfold::HalfToFullUtf16<false>,
             &widthfold::FullToHalfUtf16<false>},
            {&widthfold::KatakanaToFullUtf16<true>, &widthfold::HalfToFullUtf16<true>,
             &widthfold::FullToHalfUtf16<true>},
            {&widthfold::KatakanaToFullEuc, &widthfold::HalfToFullEuc,
             &widthfold::FullToHalfEuc},
        }};
#if defined(WIDTHFOLD_WITH_AVX512)
        if (widthfold::HasAvx512()) {
            chosen[0].fullToHalf = &widthfold::FullToHalfAvx512;
            chosen[1].fullToHalf = &widthfold::FullToHalfUtf8Avx512;
        }
#endif
        return chosen;
    }();
    return kernels[static_cast<int>(encoding)];
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

// JIS keeps the escape sequences the result needs, and checks its room as it writes.
bool ConvertJis(const ConvertRequest& request, const Conversion& conversion,
                widthfold::Output& out) {
    switch (conversion.direction) {
        case Direction::kKatakanaToFull:
            return widthfold::KatakanaToFullJis(request.input, request.inputLength, out);
        case Direction::kHalfToFull:
            return widthfold::HalfToFullJis(request.input, request.inputLength, out,
                                            conversion.set);
        case Direction::kFullToHalf:
            break;
    }
    return widthfold::FullToHalfJis(request.input, request.inputLength, out, conversion.set);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Conversion* conversion = ConversionFor(request);
    if (conversion == nullptr) {
        return 0;
    }
    // Texts whose every room is beyond 32 bits are not read: they get the Shift JIS room.
    const bool read = plugin_support::SizeOrZero(3 * std::uint64_t{request->inputLength} + 1) != 0;
    return BufferSize(*request, *conversion, read ? EncodingOf(*request) : Encoding::kSjis);
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
    const Encoding encoding = EncodingOf(*request);
    if (!ResultFits(*request, *conversion, encoding)) {
        return 0;
    }
    widthfold::Output out(request->output, request->outputCapacity);
    if (encoding == Encoding::kJis) {
        if (!ConvertJis(*request, *conversion, out)) {
            return 0;
        }
    } else {
        Convert(*request, *conversion, ChosenKernels(encoding), out);
    }
    request->outputLength = static_cast<uint32_t>(out.next() - request->output);
    *out.next() = 0;
    return 1;
}
