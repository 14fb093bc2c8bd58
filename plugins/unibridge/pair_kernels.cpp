#include "kernels.h"
#include "pair_blocks.h"
#include "pair_tables.h"

namespace unibridge {

#if defined(UNIBRIDGE_SSE2)

namespace pair_blocks {
namespace {

#if defined(UNIBRIDGE_SHUFFLES)
template <bool kEuc>
[[UNIBRIDGE_AVX2]] std::size_t ToUtf8With32(const std::uint32_t* table, const unsigned char* in,
                                            std::size_t i, std::size_t n, unsigned char*& out) {
    return PairsToUtf8<kEuc>(table, in, i, n, out, HighBits32, ReadRest32<kEuc>);
}

template <bool kEuc>
[[UNIBRIDGE_AVX2]] std::size_t ScoreWith32(const std::uint8_t* table, const unsigned char* in,
                                           std::size_t i, std::size_t n, std::uint64_t& score) {
    return ScorePairs<kEuc>(table, in, i, n, score, HighBits32, ReadRest32<kEuc>);
}
#endif

}  // namespace

std::size_t ToUtf8(bool euc, const std::uint32_t* table, const unsigned char* in, std::size_t i,
                   std::size_t n, unsigned char*& out) {
#if defined(UNIBRIDGE_SHUFFLES)
    if (utf8_blocks::HasAvx2()) {
        return euc ? ToUtf8With32<true>(table, in, i, n, out)
                   : ToUtf8With32<false>(table, in, i, n, out);
    }
#endif
    return euc ? PairsToUtf8<true>(table, in, i, n, out, ReadBlock<true>, NothingMore)
               : PairsToUtf8<false>(table, in, i, n, out, ReadBlock<false>, NothingMore);
}

std::size_t Score(bool euc, const std::uint8_t* table, const unsigned char* in, std::size_t i,
                  std::size_t n, std::uint64_t& score) {
#if defined(UNIBRIDGE_SHUFFLES)
    if (utf8_blocks::HasAvx2()) {
        return euc ? ScoreWith32<true>(table, in, i, n, score)
                   : ScoreWith32<false>(table, in, i, n, score);
    }
#endif
    return euc ? ScorePairs<true>(table, in, i, n, score, ReadBlock<true>, NothingMore)
               : ScorePairs<false>(table, in, i, n, score, ReadBlock<false>, NothingMore);
}

}  // namespace pair_blocks

#endif

std::size_t EucToUtf8Kernel(const unsigned char* in, std::size_t i, std::size_t n,
                            unsigned char*& out, std::size_t room) {
#if defined(UNIBRIDGE_SSE2)
    if (room / 3 < n - i) {
        return i;
    }
    return pair_blocks::ToUtf8(true, PairTables::Get().eucUtf8(), in, i, n, out);
#else
    (void)in, (void)n, (void)out, (void)room;
    return i;
#endif
}

std::size_t ScoreSjisKernel(const unsigned char* in, std::size_t i, std::size_t n,
                            std::uint64_t& score) {
#if defined(UNIBRIDGE_SSE2)
    return pair_blocks::Score(false, PairTables::Get().sjisScores(), in, i, n, score);
#else
    (void)in, (void)n, (void)score;
    return i;
#endif
}

std::size_t ScoreEucKernel(const unsigned char* in, std::size_t i, std::size_t n,
                           std::uint64_t& score) {
#if defined(UNIBRIDGE_SSE2)
    return pair_blocks::Score(true, PairTables::Get().eucScores(), in, i, n, score);
#else
    (void)in, (void)n, (void)score;
    return i;
#endif
}

}  // namespace unibridge
