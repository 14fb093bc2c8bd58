// The scores of the detection's Shift JIS and EUC-JP readings (text_scorer.h), a block at a
// time by the pair tables, with AVX2 where the processor has it.
#include "platform/pair_blocks.h"
#include "platform/pair_tables.h"
#include "platform/text_scorer.h"

namespace platform {

#if defined(POLYSHIFT_SSE2)

namespace pair_blocks {
namespace {

#if defined(POLYSHIFT_SHUFFLES)
template <bool kEuc>
[[POLYSHIFT_AVX2]] std::size_t ScoreWith32(const std::uint8_t* table, const unsigned char* in,
                                           std::size_t i, std::size_t n, std::uint64_t& score) {
    return ScorePairs<kEuc>(table, in, i, n, score, HighBits32, ReadRest32<kEuc>);
}
#endif

}  // namespace

std::size_t Score(bool euc, const std::uint8_t* table, const unsigned char* in, std::size_t i,
                  std::size_t n, std::uint64_t& score) {
#if defined(POLYSHIFT_SHUFFLES)
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

std::size_t ScoreSjisKernel(const unsigned char* in, std::size_t i, std::size_t n,
                            std::uint64_t& score) {
#if defined(POLYSHIFT_SSE2)
    return pair_blocks::Score(false, PairTables::Get().sjisScores(), in, i, n, score);
#else
    (void)in, (void)n, (void)score;
    return i;
#endif
}

std::size_t ScoreEucKernel(const unsigned char* in, std::size_t i, std::size_t n,
                           std::uint64_t& score) {
#if defined(POLYSHIFT_SSE2)
    return pair_blocks::Score(true, PairTables::Get().eucScores(), in, i, n, score);
#else
    (void)in, (void)n, (void)score;
    return i;
#endif
}

}  // namespace platform
