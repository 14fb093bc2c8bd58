#include "convert.h"

#include <algorithm>

#include "platform/cp932_map.h"
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

bool StaysAsItIs(Target target, Source source) {
    switch (target) {
        case Target::kUtf8:
            return source == Source::kAscii || source == Source::kUtf8;
        case Target::kUtf8Bom:
            return source == Source::kUtf8Bom;
        case Target::kUtf16Le:
            return source == Source::kUtf16Le;
        case Target::kSjis:
            return !(source == Source::kUtf8 || source == Source::kUtf8Bom || IsUtf16(source));
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
    if (StaysAsItIs(target, source) &&
        (!mayBeBroken || WellFormedUtf8Text(in, MarkLength(source), n))) {
        return 0;
    }
    const std::uint64_t text = n - MarkLength(source);
    std::uint64_t bound = 0;
    switch (target) {
        case Target::kUtf8:
        case Target::kUtf8Bom:
            // UTF-8 stays as long; UTF-16 takes at most 3 bytes for 2; the rest at most 3
            // bytes for 1 (a half-width katakana).
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
            bound = text;
            break;
    }
    return std::max<std::uint64_t>(bound, 1);
}

Fault Convert(Target target, Source source, const unsigned char* in, std::size_t n,
              unsigned char* out, std::size_t capacity, std::size_t& written) {
    Fault fault;
    switch (target) {
        case Target::kUtf8:
        case Target::kUtf8Bom: {
            Utf8Writer writer(out, capacity);
            fault = target == Target::kUtf8Bom ? Write(writer, source, in, n)
                                               : Read(source, in, n, writer);
            written = writer.written(out);
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
    }
    return fault;
}

bool ConvertUtf8ToSjis(const unsigned char* in, std::size_t n, unsigned char* out,
                       std::size_t capacity, std::size_t& written) {
    SjisWriter writer(Cp932Map::Get(), out, capacity);
    if (ReadUtf8(in, n, 0, writer)) {
        return false;
    }
    written = writer.written(out);
    // Every multi-byte sequence becomes shorter; plain ASCII, which detection leaves alone,
    // stays as long.
    return written < n;
}

}  // namespace unibridge
