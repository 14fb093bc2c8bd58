#include "convert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/cp932_map.h"
#include "platform/sjis_fallback.h"
#include "platform/text_form.h"
#include "platform/text_readers.h"
#include "writers.h"

namespace unibridge {
namespace {

bool IsUtf8(Source source) {
    return source == Source::kAscii || source == Source::kUtf8 || source == Source::kUtf8Bom;
}

// Bytes before the text proper.
std::size_t MarkLength(Source source) {
    switch (source) {
        case Source::kUtf8Bom:
            return 3;
        case Source::kUtf16Le:
        case Source::kUtf16Be:
            return 2;
        default:
            return 0;
    }
}

std::uint64_t HighBytes(const unsigned char* in, std::size_t n) {
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        count += in[i] >> 7;
    }
    return count;
}

// What the lossless fallback may add to UTF-8: a reference of at most 10 bytes for a character
// of 2 to 4 ("&#x7FF;" for 2 bytes, "&#xFFFF;" for 3, "&#x10FFFF;" for 4), and "&#x26;" for an
// '&'.
std::uint64_t ReferenceGrowth(const unsigned char* in, std::size_t n) {
    std::uint64_t growth = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char b = in[i];
        growth += (b >= 0xC0 ? 5u : 0u) + (b >= 0xF0 ? 1u : 0u) + (b == '&' ? 5u : 0u);
    }
    return growth;
}

bool StaysAsItIs(Target target, Source source, const unsigned char* in, std::size_t n) {
    switch (target) {
        case Target::kUtf8:
            return source == Source::kAscii || source == Source::kUtf8;
        case Target::kUtf8Refs:
            return (source == Source::kAscii || source == Source::kUtf8) &&
                   !HasNumericReference(in, n);
        case Target::kSjisLossless:
            if (source == Source::kAscii) {
                return !HasNumericReference(in, n);
            }
            [[fallthrough]];
        case Target::kSjisReadable:
        case Target::kSjis:
            return !(source == Source::kUtf8 || source == Source::kUtf8Bom || IsUtf16(source));
        case Target::kUtf8Bom:
            return source == Source::kUtf8Bom;
        case Target::kUtf16Le:
            return source == Source::kUtf16Le;
    }
    return true;
}

template <class Writer>
Fault Read(Source source, const unsigned char* in, std::size_t n, Writer& out) {
    const Cp932Map& map = Cp932Map::Get();
    const std::size_t start = MarkLength(source);
    switch (source) {
        case Source::kAscii:
        case Source::kUtf8:
        case Source::kUtf8Bom:
            return ReadUtf8(in, n, start, out);
        case Source::kUtf16Le:
        case Source::kUtf16LeBare:
            return ReadUtf16<false>(in, n, start, out);
        case Source::kUtf16Be:
        case Source::kUtf16BeBare:
            return ReadUtf16<true>(in, n, start, out);
        case Source::kJis:
            return ReadJis(map, in, n, start, out);
        case Source::kEuc:
            return ReadEuc(map, in, n, start, out);
        case Source::kSjis:
            return ReadSjis(map, in, n, start, out);
    }
    return {};
}

template <class Writer>
Fault Write(Writer& out, Source source, const unsigned char* in, std::size_t n) {
    return out.Mark() ? Read(source, in, n, out) : Fault::NoRoom(0);
}

}  // namespace

std::uint64_t OutputBound(Target target, Source source, const unsigned char* in, std::size_t n) {
    // UTF-8 already in the target's form stays only when it is well-formed: a broken text
    // (rule 5 takes it for UTF-8) is converted, so that it fails at its first fault and says
    // where instead of passing as done.
    const bool mayBeBroken = source == Source::kUtf8 || source == Source::kUtf8Bom;
    if (StaysAsItIs(target, source, in, n) &&
        (!mayBeBroken || WellFormedUtf8Text(in, MarkLength(source), n))) {
        return 0;
    }
    const std::uint64_t text = n - MarkLength(source);
    std::uint64_t bound = 0;
    switch (target) {
        case Target::kUtf8:
        case Target::kUtf8Bom:
        case Target::kUtf8Refs:
            // UTF-8 stays as long (references only shrink); UTF-16 takes at most 3 bytes for
            // 2; the rest at most 3 bytes for 1 (a half-width katakana).
            bound = IsUtf8(source) ? text : IsUtf16(source) ? text / 2 * 3 : 3 * text;
            bound += target == Target::kUtf8Bom ? 3 : 0;
            // A text too long for that bound to fit 32 bits is counted: in Shift JIS and EUC-JP
            // every character grows by at most 2 bytes per byte of 0x80 or more in it.
            if (bound > 0xFFFFFFFFu && (source == Source::kSjis || source == Source::kEuc)) {
                bound = text + 2 * HighBytes(in, n) + (target == Target::kUtf8Bom ? 3 : 0);
            }
            break;
        case Target::kUtf16Le:
            // UTF-16 stays as long; every other character takes at most 2 bytes per byte read.
            bound = 2 + (IsUtf16(source) ? text : 2 * text);
            break;
        case Target::kSjis:
        case Target::kSjisReadable:
            // 〓 and the customary forms take 2 bytes for characters of 2 bytes or more.
            bound = text;
            break;
        case Target::kSjisLossless:
            // UTF-16 takes at most 8 bytes ("&#xFFFF;") for 2.
            bound = IsUtf16(source) ? 4 * text : text + ReferenceGrowth(in, n);
            break;
    }
    return std::max<std::uint64_t>(bound, 1);
}

Fault Convert(Target target, Source source, const unsigned char* in, std::size_t n,
              unsigned char* out, std::size_t capacity, std::size_t& written) {
    Fault fault;
    switch (target) {
        case Target::kUtf8:
        case Target::kUtf8Bom:
        case Target::kUtf8Refs: {
            Utf8Writer writer(out, capacity);
            fault = target == Target::kUtf8Bom ? Write(writer, source, in, n)
                                               : Read(source, in, n, writer);
            written = writer.written(out);
            if (!fault && target == Target::kUtf8Refs) {
                written = DecodeNumericReferences(out, written);
            }
            break;
        }
        case Target::kUtf16Le: {
            Utf16LeWriter writer(out, capacity);
            fault = Write(writer, source, in, n);
            written = writer.written(out);
            break;
        }
        case Target::kSjis: {
            SjisWriter writer(Cp932Map::Get(), out, capacity);
            fault = Read(source, in, n, writer);
            written = writer.written(out);
            break;
        }
        case Target::kSjisReadable:
        case Target::kSjisLossless: {
            Replacements replaced;
            fault = ConvertWithFallback(target, source, in, n, out, capacity, written, replaced);
            break;
        }
    }
    return fault;
}

Fault ConvertWithFallback(Target target, Source source, const unsigned char* in, std::size_t n,
                          unsigned char* out, std::size_t capacity, std::size_t& written,
                          Replacements& replaced) {
    const Fallback fallback =
        target == Target::kSjisLossless ? Fallback::kLossless : Fallback::kReadable;
    FallbackSjisWriter writer(fallback, out, capacity);
    Fault fault;
    if (fallback == Fallback::kLossless && IsUtf16(source)) {
        // An '&' is escaped by what follows it, which UTF-16 hands over one unit at a time:
        // the text is read as UTF-8. Its faults are those of the UTF-16 reading.
        std::vector<unsigned char> utf8((n - MarkLength(source)) / 2 * 3);
        Utf8Writer toUtf8(utf8.data(), utf8.size());
        if (fault = Read(source, in, n, toUtf8); fault) {
            return fault;
        }
        fault = ReadUtf8(utf8.data(), toUtf8.written(utf8.data()), 0, writer);
    } else {
        fault = Read(source, in, n, writer);
    }
    written = writer.written(out);
    replaced = writer.replacements();
    return fault;
}

bool ConvertUtf8ToSjis(Target target, const unsigned char* in, std::size_t n, unsigned char* out,
                       std::size_t capacity, std::size_t& written, Replacements& replaced) {
    if (HasFallback(target)) {
        FallbackSjisWriter writer(target == Target::kSjisLossless ? Fallback::kLossless
                                                                  : Fallback::kReadable,
                                  out, capacity);
        if (ReadUtf8(in, n, 0, writer)) {
            return false;
        }
        // Plain ASCII converts to itself, so it need not be told apart here.
        written = writer.written(out);
        replaced = writer.replacements();
        return true;
    }
    SjisWriter writer(Cp932Map::Get(), out, capacity);
    if (ReadUtf8(in, n, 0, writer)) {
        return false;
    }
    written = writer.written(out);
    // Every multi-byte sequence becomes shorter; plain ASCII, which detection leaves alone,
    // stays as long.
    return written < n;
}

bool LooksLikeUtf8(const unsigned char* in, std::size_t n) {
    constexpr std::size_t kWindow = 64 << 10;
    if (DetectUtf16Form(in, n) != Source::kSjis) {
        return false;
    }
    const std::size_t start = n >= 3 && std::memcmp(in, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    std::size_t end = std::min(n, start + kWindow);
    // The window ends before a sequence it would cut.
    for (std::size_t back = 0; back < 3 && end > start && end < n && (in[end] & 0xC0) == 0x80;
         ++back) {
        --end;
    }
    const std::size_t firstHigh =
        static_cast<std::size_t>(std::find_if(in + start, in + end,
                                              [](unsigned char b) { return b >= 0x80; }) -
                                 in);
    return firstHigh < end && WellFormedUtf8Text(in, start, end);
}

std::uint64_t Utf8ToSjisBound(Target target, const unsigned char* in, std::size_t n) {
    return std::max<std::uint64_t>(
        target == Target::kSjisLossless ? n + ReferenceGrowth(in, n) : n, 1);
}

}  // namespace unibridge
