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
        unsigned char* const begin = out.cursor();
        unsigned char* o = begin;
        std::size_t p = 0;
        // Each run of half-width katakana gets 0x8E before every kana; extension characters
        // are redone.
        std::uint64_t events = kanaStarts | (b.extended & b.pairLeads);
        while (events != 0) {
            const auto e = static_cast<std::size_t>(std::countr_zero(events));
            CopyPiece(o, mapped + p, e - p);
            o += e - p;
            if ((kanaStarts >> e & 1) != 0) {
                const auto run = static_cast<std::size_t>(std::countr_one(kanaStarts >> e));
                WriteEucKanaRun(in + e, run, o);
                o += 2 * run;
                p = e + run;
                events &= run + e >= 64 ? 0 : ~std::uint64_t{0} << (e + run);
            } else {
                const BytePair euc = EucFromSjisPair(in[e], in[e + 1]);
                *o++ = euc.first;
                *o++ = euc.second;
                p = e + 2;
                events &= events - 1;
            }
        }
        CopyPiece(o, mapped + p, b.length - p);
        o += b.length - p;
        out.Advance(static_cast<std::size_t>(o - begin));
    }
    return b.length;
}

template <class Sink>
bool SjisToEuc(const unsigned char* in, std::size_t n, Sink& out) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReach && (Sink::kCountsOnly || out.HasRoom(3 * kBlockBytes))) {
            i += SjisBlockToEuc(in + i, out);
            continue;
        }
        const unsigned char c = in[i];
        if (c < 0x80) {
            const std::size_t run = AsciiRun(in, i, n);
            if (!out.Copy(in + i, run)) {
                return false;
            }
            i += run;
        } else if (IsSjisKana(c)) {
            if (!out.Put(0x8E, c)) {
                return false;
            }
            ++i;
        } else if (HasSecondByte(in, i, n)) {
            const BytePair euc = EucFromSjisPair(c, in[i + 1]);
            if (!out.Put(euc.first, euc.second)) {
                return false;
            }
            i += 2;
        } else {
            if (!out.Put(c)) {
                return false;
            }
            ++i;
        }
    }
    return true;
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
        unsigned char* const begin = out.cursor();
        unsigned char* o = begin;
        std::size_t p = 0;
        // A half-width katakana loses its 0x8E; extension characters are redone.
        for (std::uint64_t rest = events; rest != 0; rest &= rest - 1) {
            const auto e = static_cast<std::size_t>(std::countr_zero(rest));
            CopyPiece(o, mapped + p, e - p);
            o += e - p;
            if ((b.kanaPairs >> e & 1) != 0) {
                *o++ = mapped[e + 1];
            } else {
                const BytePair sjis = SjisFromEucPair(in[e], in[e + 1]);
                *o++ = sjis.first;
                *o++ = sjis.second;
            }
            p = e + 2;
        }
        CopyPiece(o, mapped + p, b.length - p);
        o += b.length - p;
        out.Advance(static_cast<std::size_t>(o - begin));
    }
    return b.length;
}

template <class Sink>
bool EucToSjis(const unsigned char* in, std::size_t n, Sink& out) {
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReach && (Sink::kCountsOnly || out.HasRoom(2 * kBlockBytes))) {
            i += EucBlockToSjis(in + i, out);
            continue;
        }
        const unsigned char c = in[i];
        if (c < 0x80) {
            const std::size_t run = AsciiRun(in, i, n);
            if (!out.Copy(in + i, run)) {
                return false;
            }
            i += run;
        } else if (!HasSecondByte(in, i, n)) {
            if (!out.Put(c)) {
                return false;
            }
            ++i;
        } else if (c == 0x8E) {
            // Half-width katakana; a 7-bit kana byte gets its top bit back.
            unsigned char kana = in[i + 1];
            if (kana >= 0x21 && kana <= 0x5F) {
                kana = static_cast<unsigned char>(kana + 0x80);
            }
            if (!out.Put(kana)) {
                return false;
            }
            i += 2;
        } else {
            const BytePair s = SjisFromEucPair(c, in[i + 1]);
            if (!out.Put(s.first, s.second)) {
                return false;
            }
            i += 2;
        }
    }
    return true;
}

}  // namespace encswap::ENCSWAP_ISA
