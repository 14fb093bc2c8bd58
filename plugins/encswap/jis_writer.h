// Shift JIS or EUC to JIS. Writing starts in ASCII mode and switches only when a character
// needs another mode: ESC $ B before two-byte characters, ESC ( I before half-width katakana,
// ESC ( B before one-byte characters and at the end of the text.
#pragma once

#include "isa.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "byte_sink.h"
#include "row_cell.h"
#include "sjis_block.h"
#include "sjis_euc.h"

namespace encswap::ENCSWAP_ISA {

class JisWriter {
  public:
    enum class Mode { kAscii, kKanji, kKana };

    Mode mode() const { return mode_; }
    void set_mode(Mode mode) { mode_ = mode; }

    // By mode; a fourth byte lets a switch be copied as one 4-byte word.
    static constexpr unsigned char kEscapes[3][4] = {
        {0x1B, 0x28, 0x42},  // ESC ( B
        {0x1B, 0x24, 0x42},  // ESC $ B
        {0x1B, 0x28, 0x49},  // ESC ( I
    };

    template <class Sink>
    bool Enter(Mode mode, Sink& out) {
        if (mode_ == mode) {
            return true;
        }
        mode_ = mode;
        const unsigned char* escape = kEscapes[static_cast<int>(mode)];
        return out.Put(escape[0], escape[1], escape[2]);
    }

  private:
    Mode mode_ = Mode::kAscii;
};

// One-byte characters: a run of bytes below 0x80 starting at `i`, copied in ASCII mode.
template <class Sink>
bool WriteAsciiRun(const unsigned char* in, std::size_t& i, std::size_t n, JisWriter& jis,
                   Sink& out) {
    const std::size_t run = AsciiRun(in, i, n);
    if (!jis.Enter(JisWriter::Mode::kAscii, out) || !out.Copy(in + i, run)) {
        return false;
    }
    i += run;
    return true;
}

// The mode of the character marked by `bit` (one bit set), from its block's ASCII and kana
// starts; without branches, as the modes of neighbouring characters follow no pattern.
inline JisWriter::Mode ModeOf(std::uint64_t ascii, std::uint64_t kana, std::uint64_t bit) {
    const int kanaBit = (kana & bit) != 0;
    const int asciiBit = (ascii & bit) != 0;
    return static_cast<JisWriter::Mode>(static_cast<int>(JisWriter::Mode::kKanji) + kanaBit -
                                        asciiBit);
}
static_assert(static_cast<int>(JisWriter::Mode::kAscii) == 0 &&
              static_cast<int>(JisWriter::Mode::kKanji) == 1 &&
              static_cast<int>(JisWriter::Mode::kKana) == 2);

#if defined(__AVX512VBMI__) && defined(__AVX512VBMI2__)
// Writes the 16 bytes of a block from `chunk` × 16 on, each with the escape sequence before it
// that `escapes`, `second` and `third` hold for it (zero bytes where none goes). Every byte takes
// four slots, three escape bytes and itself; squeezing out the empty escape slots leaves the
// output. Writes 64 bytes at `out`, of which 16 and 3 for every switch count.
template <int chunk>
void ExpandJisChunk(__m512i mapped, __m512i escapes, __m512i second, __m512i third,
                    unsigned char* out) {
    // Slot 4j + k takes byte 16 × chunk + j of the first source (k even) or the second (k odd).
    alignas(64) static constexpr auto kSlots = [] {
        std::array<unsigned char, 64> slots{};
        for (int j = 0; j < 16; ++j) {
            for (int k = 0; k < 4; ++k) {
                slots[4 * j + k] = static_cast<unsigned char>(16 * chunk + j + (k % 2) * 64);
            }
        }
        return slots;
    }();
    const __m512i slots = _mm512_load_si512(kSlots.data());
    const __m512i escapePair = _mm512_permutex2var_epi8(escapes, slots, second);
    const __m512i thirdAndByte = _mm512_permutex2var_epi8(third, slots, mapped);
    // Slots 4j + 2 and 4j + 3 from the second pair. Vector constants select, not 64-bit masks,
    // which a 32-bit build would make through memory, with a stall, on every call.
    const __m512i upperHalves = _mm512_set1_epi32(static_cast<int>(0xFFFF0000u));
    const __m512i spread = _mm512_ternarylogic_epi32(upperHalves, thirdAndByte, escapePair, 0xCA);
    // An escape slot counts when it holds a byte; the slot of the byte itself always does.
    const __m512i byteSlots = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
    const __m512i marked = _mm512_or_si512(spread, byteSlots);
    const __mmask64 used = _mm512_test_epi8_mask(marked, marked);
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, spread));
}

// The output of a whole block: its 64 mapped bytes with an escape sequence before every byte
// that `switches` marks, into kanji mode where `kanji` marks it and into kana mode where `kana`
// does. Writes up to 256 bytes at `out`; returns the number that count.
inline std::size_t ExpandJisBlock(__m512i mapped, std::uint64_t switches, std::uint64_t kanji,
                                  std::uint64_t kana, unsigned char* out) {
    const __mmask64 switchMask = Mask64(switches);
    const __m512i escapes = _mm512_maskz_mov_epi8(switchMask, _mm512_set1_epi8(0x1B));
    const __m512i second =
        _mm512_mask_mov_epi8(_mm512_maskz_mov_epi8(switchMask, _mm512_set1_epi8('(')),
                             Mask64(kanji), _mm512_set1_epi8('$'));
    const __m512i third =
        _mm512_mask_mov_epi8(_mm512_maskz_mov_epi8(switchMask, _mm512_set1_epi8('B')),
                             Mask64(kana), _mm512_set1_epi8('I'));
    auto chunkLength = [switches](int chunk) {
        return 16 + 3 * static_cast<std::size_t>(std::popcount(switches >> (16 * chunk) & 0xFFFF));
    };
    const std::size_t upToFirst = chunkLength(0);
    const std::size_t upToSecond = upToFirst + chunkLength(1);
    const std::size_t upToThird = upToSecond + chunkLength(2);
    ExpandJisChunk<0>(mapped, escapes, second, third, out);
    ExpandJisChunk<1>(mapped, escapes, second, third, out + upToFirst);
    ExpandJisChunk<2>(mapped, escapes, second, third, out + upToSecond);
    ExpandJisChunk<3>(mapped, escapes, second, third, out + upToThird);
    return kBlockBytes + 3 * static_cast<std::size_t>(std::popcount(switches));
}
#endif

// One block of SjisToJis, which takes 64 bytes; returns whether the block's last pair has its
// trail byte in the next block (see ClassifySjisBlockInRun). A mode switch goes before every
// character whose mode differs from that of the character before it.
template <class Sink>
bool SjisBlockToJis(const unsigned char* in, bool carriedTrail, JisWriter& jis, Sink& out) {
    using Mode = JisWriter::Mode;
    bool carriesTrail = false;
    const SjisBlock b = ClassifySjisBlockInRun(in, carriedTrail, carriesTrail);
    const std::uint64_t ascii = b.starts & b.ascii;
    const std::uint64_t kana = b.starts & b.kana;
    // Every byte has the mode of its character, a trail byte that of its lead byte (kanji), so a
    // switch goes exactly where a byte's mode differs from that of the byte before it.
    const std::uint64_t asciiBefore = ascii << 1 | std::uint64_t{jis.mode() == Mode::kAscii};
    const std::uint64_t kanaBefore = kana << 1 | std::uint64_t{jis.mode() == Mode::kKana};
    const std::uint64_t switches = (ascii ^ asciiBefore) | (kana ^ kanaBefore);
    const Mode endMode = ModeOf(ascii, kana, std::uint64_t{1} << 63);
    if constexpr (Sink::kCountsOnly) {
        out.Add(b.length + 3 * std::size_t{BitCount(switches)});
    } else {
        if ((switches) == 0) {
            // Nothing to insert or redo: the mapped bytes are the output.
            MapRowCell<false, true>(in, b, out.cursor());
            out.Advance(b.length);
            jis.set_mode(endMode);
            return carriesTrail;
        }
#if defined(__AVX512VBMI__) && defined(__AVX512VBMI2__)
        const __m512i mapped = MapRowCellAvx512(in, b.pairLeads, b.trail, kana, 0);
        out.Advance(
            ExpandJisBlock(mapped, switches, switches & b.lead, switches & kana, out.cursor()));
#else
        // Twice the block, so that every segment can be copied as 64 bytes.
        unsigned char mapped[2 * kBlockBytes];
        MapRowCell<false, true>(in, b, mapped);
        unsigned char* const begin = out.cursor();
        unsigned char* o = begin;
        std::size_t p = 0;
        for (std::uint64_t events = switches; events != 0; events &= events - 1) {
            const auto e = static_cast<std::size_t>(std::countr_zero(events));
            const std::uint64_t bit = events & -events;
            CopyPiece(o, mapped + p, e - p);
            o += e - p;
            std::memcpy(o, JisWriter::kEscapes[static_cast<int>(ModeOf(ascii, kana, bit))], 4);
            o += 3;
            p = e;
        }
        CopyPiece(o, mapped + p, b.length - p);
        o += b.length - p;
        out.Advance(static_cast<std::size_t>(o - begin));
#endif
    }
    jis.set_mode(endMode);
    return carriesTrail;
}

template <class Sink>
bool SjisToJis(const unsigned char* in, std::size_t n, Sink& out) {
    JisWriter jis;
    std::size_t i = 0;
    bool carriedTrail = false;
    while (n - i >= kBlockReach && (Sink::kCountsOnly || out.HasRoom(5 * kBlockBytes))) {
        carriedTrail = SjisBlockToJis(in + i, carriedTrail, jis, out);
        i += kBlockBytes;
    }
    if (carriedTrail) {
        // The cell of the pair whose lead byte ended the last block.
        if (!out.Put(RowCellFromSjis(in[i - 1], in[i]).second)) {
            return false;
        }
        ++i;
    }
    while (i < n) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            if (!WriteAsciiRun(in, i, n, jis, out)) {
                return false;
            }
        } else if (IsSjisKana(c)) {
            if (!jis.Enter(JisWriter::Mode::kKana, out) || !out.Put(c - 0x80)) {
                return false;
            }
            ++i;
        } else {
            if (!jis.Enter(JisWriter::Mode::kKanji, out)) {
                return false;
            }
            if (HasSecondByte(in, i, n)) {
                const BytePair rc = RowCellFromSjis(c, in[i + 1]);
                if (!out.Put(rc.first, rc.second)) {
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
    }
    return jis.Enter(JisWriter::Mode::kAscii, out);
}

template <class Sink>
bool EucToJis(const unsigned char* in, std::size_t n, Sink& out) {
    JisWriter jis;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            if (!WriteAsciiRun(in, i, n, jis, out)) {
                return false;
            }
        } else if (!HasSecondByte(in, i, n)) {
            // Incomplete character at the end: its first byte as it is.
            if (!jis.Enter(JisWriter::Mode::kKanji, out) || !out.Put(c)) {
                return false;
            }
            ++i;
        } else if (c == 0x8E) {
            if (!jis.Enter(JisWriter::Mode::kKana, out) || !out.Put(SevenBit(in[i + 1]))) {
                return false;
            }
            i += 2;
        } else {
            if (!jis.Enter(JisWriter::Mode::kKanji, out) ||
                !out.Put(SevenBit(c), SevenBit(in[i + 1]))) {
                return false;
            }
            i += 2;
        }
    }
    return jis.Enter(JisWriter::Mode::kAscii, out);
}

}  // namespace encswap::ENCSWAP_ISA
