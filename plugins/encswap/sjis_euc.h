// Shift JIS to EUC and back. A two-byte character whose second byte is missing (end of text)
// or is a zero byte is incomplete: its first byte is copied unchanged.
#pragma once

#include "isa.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "byte_sink.h"
#include "euc_block.h"
#include "extension_map.h"
#include "row_cell.h"
#include "sjis_block.h"

namespace encswap::ENCSWAP_ISA {

// True when the two-byte character starting at `i` has its second byte.
inline bool HasSecondByte(const unsigned char* in, std::size_t i, std::size_t n) {
    return i + 1 < n && in[i + 1] != 0;
}

inline bool IsSjisKana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}

// `bytes` put out for a character of `taken` input bytes: `taken`, or 0 when the output had no
// room for them.
template <class Sink, class... Bytes>
std::size_t PutTaking(Sink& out, std::size_t taken, Bytes... bytes) {
    return out.Put(bytes...) ? taken : 0;
}

// The loop SjisToEuc and EucToSjis share. Whole blocks go to block(at, out) while the input
// reaches a block's reach and the output has room for `growth` blocks; after that, runs of
// ASCII are copied as they are and every other character is written by character(i), which
// returns the input bytes it took, or 0 when the output had no room.
template <std::size_t growth, class Sink, class Block, class Character>
bool ConvertByBlocks(const unsigned char* in, std::size_t n, Sink& out, Block block,
                     Character character) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReach && (Sink::kCountsOnly || out.HasRoom(growth * kBlockBytes))) {
            i += block(in + i, out);
            continue;
        }
        std::size_t taken;
        if (in[i] < 0x80) {
            taken = AsciiRun(in, i, n);
            if (!out.Copy(in + i, taken)) {
                return false;
            }
        } else if ((taken = character(i)) == 0) {
            return false;
        }
        i += taken;
    }
    return true;
}

// EUC bytes of a complete Shift JIS two-byte character; IBM extension codes are taken to their
// NEC-selected copies first.
inline BytePair EucFromSjisPair(std::uint8_t lead, std::uint8_t trail) {
    if (lead >= 0xFA && lead <= 0xFC) {
        const std::uint16_t nec = NecFromIbm(static_cast<std::uint16_t>(lead << 8 | trail));
        lead = static_cast<std::uint8_t>(nec >> 8);
        trail = static_cast<std::uint8_t>(nec);
    }
    const BytePair rc = RowCellFromSjis(lead, trail);
    return {EucByte(rc.first), EucByte(rc.second)};
}

// 0x8E before each of the `run` kana bytes at `kana`, written at `out`. Reads and writes in
// steps of 8 kana: up to 7 bytes past the run and 14 past its output.
inline void WriteEucKanaRun(const unsigned char* kana, std::size_t run, unsigned char* out) {
    for (std::size_t k = 0; k < run; k += 8) {
#if defined(__SSE2__)
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kana + k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k),
                         _mm_unpacklo_epi8(_mm_set1_epi8(static_cast<char>(0x8E)), bytes));
#else
        for (std::size_t j = 0; j < 8; ++j) {
            out[2 * (k + j)] = 0x8E;
            out[2 * (k + j) + 1] = kana[k + j];
        }
#endif
    }
}

// Writes a block's `length` mapped bytes with changes at the places in `events`, lowest first:
// the mapped bytes up to a place are copied, then change(e, o) writes what stands at place e
// instead, moves `o` past it and returns the place where the mapped bytes go on; events before
// that place are passed over.
template <class Sink, class Change>
void WriteMappedWithChanges(const unsigned char* mapped, std::size_t length, std::uint64_t events,
                            Sink& out, Change change) {
    unsigned char* const begin = out.cursor();
    unsigned char* o = begin;
    std::size_t p = 0;
    while (events != 0) {
        const auto e = static_cast<std::size_t>(std::countr_zero(events));
        CopyPiece(o, mapped + p, e - p);
        o += e - p;
        p = change(e, o);
        events &= p >= 64 ? 0 : ~std::uint64_t{0} << p;
    }
    CopyPiece(o, mapped + p, length - p);
    o += length - p;
    out.Advance(static_cast<std::size_t>(o - begin));
}

// One block of SjisToEuc; returns the number of input bytes taken.
template <class Sink>
std::size_t SjisBlockToEuc(const unsigned char* in, Sink& out) {
    const SjisBlock b = ClassifySjisBlock(in);
    const std::uint64_t kanaStarts = b.kana & b.starts;
    if constexpr (Sink::kCountsOnly) {
        out.Add(b.length + BitCount(kanaStarts));
    } else {
        if ((kanaStarts | (b.extended & b.pairLeads)) == 0) {
            // Nothing to insert or redo: the mapped bytes are the output.
            MapRowCell<true, false>(in, b, out.cursor());
            out.Advance(b.length);
            return b.length;
        }
        // Twice the block, so that every segment can be copied as 64 bytes.
        unsigned char mapped[2 * kBlockBytes];
        MapRowCell<true, false>(in, b, mapped);
        // Each run of half-width katakana gets 0x8E before every kana; extension characters
        // are redone.
        WriteMappedWithChanges(
            mapped, b.length, kanaStarts | (b.extended & b.pairLeads), out,
            [&](std::size_t e, unsigned char*& o) {
                if ((kanaStarts >> e & 1) != 0) {
                    const auto run = static_cast<std::size_t>(std::countr_one(kanaStarts >> e));
                    WriteEucKanaRun(in + e, run, o);
                    o += 2 * run;
                    return e + run;
                }
                const BytePair euc = EucFromSjisPair(in[e], in[e + 1]);
                *o++ = euc.first;
                *o++ = euc.second;
                return e + 2;
            });
    }
    return b.length;
}

template <class Sink>
bool SjisToEuc(const unsigned char* in, std::size_t n, Sink& out) {
    auto block = [](const unsigned char* at, Sink& to) { return SjisBlockToEuc(at, to); };
    return ConvertByBlocks<3>(in, n, out, block, [&](std::size_t i) -> std::size_t {
        const unsigned char c = in[i];
        if (IsSjisKana(c)) {
            return PutTaking(out, 1, 0x8E, c);
        }
        if (!HasSecondByte(in, i, n)) {
            return PutTaking(out, 1, c);
        }
        const BytePair euc = EucFromSjisPair(c, in[i + 1]);
        return PutTaking(out, 2, euc.first, euc.second);
    });
}

// Shift JIS bytes of a complete EUC two-byte character other than a half-width katakana; the
// NEC-selected extension characters are taken to their IBM codes.
inline BytePair SjisFromEucPair(std::uint8_t first, std::uint8_t second) {
    BytePair s = SjisFromRowCell(SevenBit(first), SevenBit(second));
    if (s.first == 0xED || s.first == 0xEE) {
        const std::uint16_t ibm = IbmFromNec(static_cast<std::uint16_t>(s.first << 8 | s.second));
        s = {static_cast<std::uint8_t>(ibm >> 8), static_cast<std::uint8_t>(ibm)};
    }
    return s;
}

// One block of EucToSjis; returns the number of input bytes taken.
template <class Sink>
std::size_t EucBlockToSjis(const unsigned char* in, Sink& out) {
    const EucBlock b = ClassifyEucBlock(in);
    if constexpr (Sink::kCountsOnly) {
        out.Add(b.length - BitCount(b.kanaPairs));
    } else {
        const std::uint64_t events = b.kanaPairs | b.extension;
        if (events == 0) {
            MapEucBlock(in, b, out.cursor());
            out.Advance(b.length);
            return b.length;
        }
        // Twice the block, so that every segment can be copied as 64 bytes.
        unsigned char mapped[2 * kBlockBytes];
        MapEucBlock(in, b, mapped);
        // A half-width katakana loses its 0x8E; extension characters are redone.
        WriteMappedWithChanges(mapped, b.length, events, out,
                               [&](std::size_t e, unsigned char*& o) {
                                   if ((b.kanaPairs >> e & 1) != 0) {
                                       *o++ = mapped[e + 1];
                                   } else {
                                       const BytePair sjis = SjisFromEucPair(in[e], in[e + 1]);
                                       *o++ = sjis.first;
                                       *o++ = sjis.second;
                                   }
                                   return e + 2;
                               });
    }
    return b.length;
}

template <class Sink>
bool EucToSjis(const unsigned char* in, std::size_t n, Sink& out) {
    auto block = [](const unsigned char* at, Sink& to) { return EucBlockToSjis(at, to); };
    return ConvertByBlocks<2>(in, n, out, block, [&](std::size_t i) -> std::size_t {
        const unsigned char c = in[i];
        if (!HasSecondByte(in, i, n)) {
            return PutTaking(out, 1, c);
        }
        if (c == 0x8E) {
            // Half-width katakana; a 7-bit kana byte gets its top bit back.
            unsigned char kana = in[i + 1];
            if (kana >= 0x21 && kana <= 0x5F) {
                kana = static_cast<unsigned char>(kana + 0x80);
            }
            return PutTaking(out, 2, kana);
        }
        const BytePair s = SjisFromEucPair(c, in[i + 1]);
        return PutTaking(out, 2, s.first, s.second);
    });
}

}  // namespace encswap::ENCSWAP_ISA
