#include "kernels.h"
#include "platform/pair_blocks.h"
#include "platform/pair_tables.h"

namespace unibridge {

#if defined(POLYSHIFT_SSE2)

namespace {

#if defined(POLYSHIFT_SHUFFLES)
template <bool kEuc>
[[POLYSHIFT_AVX2]] std::size_t ToUtf8With32(const std::uint32_t* table, const unsigned char* in,
                                            std::size_t i, std::size_t n, unsigned char*& out) {
    return pair_blocks::PairsToUtf8<kEuc>(table, in, i, n, out, pair_blocks::HighBits32,
                                          pair_blocks::ReadRest32<kEuc>);
}
#endif

}  // namespace

std::size_t PairsToUtf8Kernel(bool euc, const std::uint32_t* table, const unsigned char* in,
                              std::size_t i, std::size_t n, unsigned char*& out) {
    using pair_blocks::NothingMore;
    using pair_blocks::PairsToUtf8;
    using pair_blocks::ReadBlock;
#if defined(POLYSHIFT_SHUFFLES)
    if (utf8_blocks::HasAvx2()) {
        return euc ? ToUtf8With32<true>(table, in, i, n, out)
                   : ToUtf8With32<false>(table, in, i, n, out);
    }
#endif
    return euc ? PairsToUtf8<true>(table, in, i, n, out, ReadBlock<true>, NothingMore)
               : PairsToUtf8<false>(table, in, i, n, out, ReadBlock<false>, NothingMore);
}

#endif

std::size_t EucToUtf8Kernel(const unsigned char* in, std::size_t i, std::size_t n,
                            unsigned char*& out, std::size_t room) {
#if defined(POLYSHIFT_SSE2)
    if (room / 3 < n - i) {
        return i;
    }
    return PairsToUtf8Kernel(true, PairTables::Get().eucUtf8(), in, i, n, out);
#else
    (void)in, (void)n, (void)out, (void)room;
    return i;
#endif
}

}  // namespace unibridge
