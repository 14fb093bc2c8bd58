// The body of conversions.cpp and conversions_avx2.cpp: every route over the conversions,
// built for the namespace that isa.h names.
#include <optional>

#include "byte_sink.h"
#include "conversions.h"
#include "isa.h"
#include "jis_reader.h"
#include "jis_writer.h"
#include "sjis_euc.h"
#include "platform/legacy_guess.h"

namespace encswap::ENCSWAP_ISA {

namespace {

// The encoding the route reads this text as; none when the text stays as it is (nothing
// detected, or already in the target encoding).
std::optional<Encoding> SourceEncoding(const Route& route, const unsigned char* in, std::size_t n) {
    if (route.from) {
        return route.from;
    }
    std::optional<Encoding> detected;
    switch (platform::GuessLegacyEncoding(in, n)) {
        case platform::LegacyGuess::kJis:
            detected = Encoding::kJis;
            break;
        case platform::LegacyGuess::kEuc:
            detected = Encoding::kEuc;
            break;
        case platform::LegacyGuess::kSjis:
            detected = Encoding::kSjis;
            break;
        case platform::LegacyGuess::kUndecided:
            break;
    }
    return detected == route.to ? std::nullopt : detected;
}

template <class Sink>
bool Run(const Route& route, const unsigned char* in, std::size_t n, Sink& out) {
    const std::optional<Encoding> from = SourceEncoding(route, in, n);
    const Encoding to = route.to;
    if (!from || *from == to) {
        return out.Copy(in, n);
    }
    switch (*from) {
        case Encoding::kSjis:
            return to == Encoding::kEuc ? SjisToEuc(in, n, out) : SjisToJis(in, n, out);
        case Encoding::kEuc:
            return to == Encoding::kSjis ? EucToSjis(in, n, out) : EucToJis(in, n, out);
        case Encoding::kJis:
            return to == Encoding::kSjis ? JisTo<ToSjis>(in, n, out) : JisTo<ToEuc>(in, n, out);
    }
    return false;
}

}  // namespace

std::uint64_t OutputSize(const Route& route, const unsigned char* in, std::size_t n) {
    CountingSink counter;
    Run(route, in, n, counter);
    return counter.count();
}

bool WriteOutput(const Route& route, const unsigned char* in, std::size_t n, unsigned char* out,
                 std::size_t capacity, std::size_t& written) {
    BoundedSink writer(out, capacity);
    if (!Run(route, in, n, writer)) {
        return false;
    }
    written = writer.written();
    return true;
}

}  // namespace encswap::ENCSWAP_ISA
