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
// Writes 16 bytes of a block, from `chunk` × 16 on, each with the escape sequence before it that
// `escapes`, `second` and `third` hold for it (zero bytes where none goes). Every byte takes four
// slots, three escape bytes and itself; squeezing out the empty escape slots leaves the output.
// Writes 64 bytes at `out` and returns the number that count.
template <int chunk>
std::size_t ExpandJisChunk(__m512i mapped, __m512i escapes, __m512i second, __m512i third,
                           std::uint64_t lastSlots, unsigned char* out) {
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
    const __m512i spread = _mm512_mask_blend_epi8(0xCCCCCCCCCCCCCCCCull, escapePair, thirdAndByte);
    // The byte slots; in the last chunk without that of a lead byte whose trail is not in the
    // block.
    const std::uint64_t byteSlots = 0x8888888888888888ull & (chunk == 3 ? lastSlots : ~0ull);
    const __mmask64 used =
        (_mm512_test_epi8_mask(spread, spread) & 0x7777777777777777ull) | byteSlots;
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, spread));
    return static_cast<std::size_t>(std::popcount(used));
}

// The output of a block with its switches: `length` mapped bytes with an escape sequence before
// every byte that `switches` marks. Writes up to 256 bytes at `out`; returns the number that
// count.
inline std::size_t ExpandJisBlock(__m512i mapped, std::size_t length, std::uint64_t switches,
                                  std::uint64_t kanji, std::uint64_t kana, unsigned char* out) {
    const std::uint64_t lastSlots =
        length == kBlockBytes ? ~std::uint64_t{0} : ~(std::uint64_t{1} << 63);
    const __m512i escapes = _mm512_maskz_mov_epi8(switches, _mm512_set1_epi8(0x1B));
    const __m512i second = _mm512_mask_mov_epi8(
        _mm512_maskz_mov_epi8(switches, _mm512_set1_epi8('(')), kanji, _mm512_set1_epi8('$'));
    const __m512i third = _mm512_mask_mov_epi8(
        _mm512_maskz_mov_epi8(switches, _mm512_set1_epi8('B')), kana, _mm512_set1_epi8('I'));
    std::size_t written = ExpandJisChunk<0>(mapped, escapes, second, third, lastSlots, out);
    written += ExpandJisChunk<1>(mapped, escapes, second, third, lastSlots, out + written);
    written += ExpandJisChunk<2>(mapped, escapes, second, third, lastSlots, out + written);
    written += ExpandJisChunk<3>(mapped, escapes, second, third, lastSlots, out + written);
    return written;
}
#endif

// One block of SjisToJis; returns the number of input bytes taken. A mode switch goes before
// every character whose mode differs from that of the character before it.
template <class Sink>
std::size_t SjisBlockToJis(const unsigned char* in, JisWriter& jis, Sink& out) {
    using Mode = JisWriter::Mode;
    const SjisBlock b = ClassifySjisBlock(in);
    const std::uint64_t ascii = b.starts & b.ascii;
    const std::uint64_t kana = b.starts & b.kana;
    const std::uint64_t kanji = b.starts & b.lead;
    // Mode of the character before each byte: a trail byte or a kanji start means kanji.
    const std::uint64_t afterAscii = ascii << 1 | std::uint64_t{jis.mode() == Mode::kAscii};
    const std::uint64_t afterKana = kana << 1 | std::uint64_t{jis.mode() == Mode::kKana};
    const std::uint64_t afterKanji = ~(afterAscii | afterKana);
    const std::uint64_t switches =
        b.starts & ~((ascii & afterAscii) | (kana & afterKana) | (kanji & afterKanji));
    const std::uint64_t last = std::uint64_t{1} << (63 - std::countl_zero(b.starts));
    const Mode endMode = ModeOf(ascii, kana, last);
    if constexpr (Sink::kCountsOnly) {
        out.Add(b.length + 3 * std::size_t{BitCount(switches)});
    } else {
        if ((switches) == 0) {
            // Nothing to insert or redo: the mapped bytes are the output.
            MapRowCell<false, true>(in, b, out.cursor());
            out.Advance(b.length);
            jis.set_mode(endMode);
            return b.length;
        }
#if defined(__AVX512VBMI__) && defined(__AVX512VBMI2__)
        const __m512i mapped = MapRowCellAvx512(in, b.pairLeads, b.trail, kana, 0);
        out.Advance(ExpandJisBlock(mapped, b.length, switches, switches & kanji, switches & kana,
                                   out.cursor()));
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
    return b.length;
}

template <class Sink>
bool SjisToJis(const unsigned char* in, std::size_t n, Sink& out) {
    JisWriter jis;
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= kBlockReach && (Sink::kCountsOnly || out.HasRoom(5 * kBlockBytes))) {
            i += SjisBlockToJis(in + i, jis, out);
            continue;
        }
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
