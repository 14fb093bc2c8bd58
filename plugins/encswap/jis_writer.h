// Shift JIS or EUC to JIS. Writing starts in ASCII mode and switches only when a character
// needs another mode: ESC $ B before two-byte characters, ESC ( I before half-width katakana,
// ESC ( B before one-byte characters and at the end of the text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_sink.h"
#include "row_cell.h"
#include "sjis_euc.h"

namespace encswap {

class JisWriter {
  public:
    enum class Mode { kAscii, kKanji, kKana };

    template <class Sink>
    bool Enter(Mode mode, Sink& out) {
        if (mode_ == mode) {
            return true;
        }
        mode_ = mode;
        switch (mode) {
            case Mode::kAscii:
                return out.Put(0x1B, 0x28, 0x42);
            case Mode::kKanji:
                return out.Put(0x1B, 0x24, 0x42);
            case Mode::kKana:
                return out.Put(0x1B, 0x28, 0x49);
        }
        return false;
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

template <class Sink>
bool SjisToJis(const unsigned char* in, std::size_t n, Sink& out) {
    JisWriter jis;
    std::size_t i = 0;
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

}  // namespace encswap
