// The width conversions on JIS (ISO-2022-JP) text: the Shift JIS conversions, with the
// characters in the modes that JIS writes them in, ASCII (one byte), kanji (a row and a cell)
// and kana (a half-width katakana in 7 bits). The text is read as encswap reads it: ESC $ B
// and ESC $ @ enter kanji mode, ESC ( B, ESC ( J and SI ASCII mode, ESC ( I and SO kana mode,
// each checked where a character would begin; in kanji mode bytes go in pairs.
//
// The text's own switches are kept where it needs them. A run of switches between two
// characters is copied as it stands when the character after it is still of the mode the run
// enters and the result is in the mode the text was in before the run. Where a character
// changes its mode (a digit becomes full width, a full-width letter ASCII, a kana a full-width
// katakana) the result gets the one switch it needs and the text's run is dropped; a switch
// that would be empty is not written. Written switches take the text's own forms: its first
// kanji and ASCII escape sequences (else ESC $ B and ESC ( B), and for kana its last
// switch to kana so far, SO or ESC ( I; a kana run entered by SO is closed by SI. At the end
// the result returns to ASCII when the text did. A text whose characters all stay is given
// back as it was.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#include "byte_classes.h"
#include "folding.h"
#include "row_cell_tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace widthfold::jis {

inline constexpr unsigned char kEsc = 0x1B;
inline constexpr unsigned char kShiftOut = 0x0E;  // SO: kana
inline constexpr unsigned char kShiftIn = 0x0F;   // SI: ASCII

enum class Mode : unsigned char { kAscii, kKanji, kKana };

struct State {
    Mode mode = Mode::kAscii;
    bool shiftedOut = false;  // kana mode entered by SO
};

// The mode switch at i: its length (0 for none) and the state it enters.
inline std::size_t SwitchAt(const unsigned char* in, std::size_t i, std::size_t n, State& to) {
    const unsigned char c = in[i];
    if (c == kShiftIn || c == kShiftOut) {
        to = c == kShiftOut ? State{Mode::kKana, true} : State{};
        return 1;
    }
    if (c != kEsc || n - i < 3) {
        return 0;
    }
    const unsigned char a = in[i + 1];
    const unsigned char b = in[i + 2];
    if (a == '$' && (b == 'B' || b == '@')) {
        to = {Mode::kKanji, false};
    } else if (a == '(' && (b == 'B' || b == 'J')) {
        to = {};
    } else if (a == '(' && b == 'I') {
        to = {Mode::kKana, false};
    } else {
        return 0;
    }
    return 3;
}

using Sequence = std::array<unsigned char, 3>;

// The forms of the switches the result is written with.
struct Forms {
    Sequence kanji = {kEsc, '$', 'B'};
    Sequence ascii = {kEsc, '(', 'B'};
    bool kanaByShiftOut = false;
};

// The text's first escape sequences to kanji and to ASCII.
inline Forms FormsOf(const unsigned char* in, std::size_t n) {
    Forms forms;
    bool kanji = false;
    bool ascii = false;
    const unsigned char* end = in + n;
    for (const unsigned char* p = in; !(kanji && ascii) && end - p >= 3; ++p) {
        p = static_cast<const unsigned char*>(std::memchr(p, kEsc, end - p - 2));
        if (p == nullptr) {
            break;
        }
        State to;
        if (SwitchAt(p, 0, 3, to) == 0) {
            continue;
        }
        if (to.mode == Mode::kKanji && !kanji) {
            forms.kanji = {p[0], p[1], p[2]};
            kanji = true;
        } else if (to.mode == Mode::kAscii && !ascii) {
            forms.ascii = {p[0], p[1], p[2]};
            ascii = true;
        }
    }
    return forms;
}

// One character of the result: its mode and bytes, and whether it differs from the text's.
struct Character {
    Mode mode;
    unsigned char length;
    std::array<unsigned char, 2> bytes;
    bool changed;
};

// Bits of the 64 bytes at `in` that lie in one of kRanges. With SSE2 each range takes one add
// and one signed compare: x + (0x80 - first) lies below 0x80 - first + its width (as a signed
// byte, -128 + width) exactly when x is in the range.
template <const auto& kRanges>
[[gnu::always_inline]] inline std::uint64_t RangeMask64(const unsigned char* in) {
#if defined(__SSE2__)
    std::uint64_t mask = 0;
    for (std::size_t chunk = 0; chunk < kBlockBytes; chunk += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + chunk));
        __m128i any = _mm_setzero_si128();
        [&]<std::size_t... k>(std::index_sequence<k...>) {
            ((any = _mm_or_si128(
                  any, _mm_cmplt_epi8(
                           _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(
                                               static_cast<unsigned char>(0x80 - kRanges[k].first)))),
                           _mm_set1_epi8(static_cast<char>(
                               -128 + (kRanges[k].last - kRanges[k].first + 1)))))),
             ...);
        }(std::make_index_sequence<std::size(kRanges)>{});
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(any))) << chunk;
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (std::size_t p = 0; p < kBlockBytes; ++p) {
        for (const ByteRange& r : kRanges) {
            if (in[p] >= r.first && in[p] <= r.last) {
                mask |= std::uint64_t{1} << p;
            }
        }
    }
    return mask;
#endif
}

// The bytes that may begin a switch: SO, SI and ESC.
inline constexpr ByteRange kSwitchBytes[] = {{kShiftOut, kShiftIn}, {kEsc, kEsc}};

// The runs that stay as they are: to the first byte that may begin a switch, or in the one
// mode where the function changes characters (Stops::kMode), the first it may change; in kanji
// mode only the first bytes of pairs count. Stops::kRanges are those bytes, or with
// Stops::kRow the pairs of that row and a cell of Stops::kCells, or with Stops::kAll every
// byte. The stops of a 64-byte block are found once, those that change characters only when
// the block holds that mode: a text switches modes every few characters, and each run would
// otherwise look at its bytes again.
template <class Stops>
class QuietRuns {
  public:
    // The block that holds in[i], a new one from i when the last one holds too little of it
    // (65 bytes from i readable); returns the offset of i in it.
    std::size_t Hold(const unsigned char* in, std::size_t i) {
        if (i - base_ >= kBlockBytes - 1) {
            base_ = i;
            block_ = in + i;
            switches_ = RangeMask64<kSwitchBytes>(block_);
            changesLoaded_ = false;
        }
        return i - base_;
    }

    struct Run {
        std::size_t end;  // offset where the run ends
        bool stop;        // at a stop, rather than at the end of the block
    };

    // The run from `offset` in the block, in `mode`: to the first stop, else to the block's end
    // (in kanji mode the end of its last whole pair).
    Run From(std::size_t offset, Mode mode) {
        std::uint64_t stops = switches_;
        if (mode == Stops::kMode) {
            if (!changesLoaded_) {
                changes_ = Changes(block_);
                changesLoaded_ = true;
            }
            stops |= changes_;
        }
        stops >>= offset;
        std::size_t end = kBlockBytes;
        if (mode == Mode::kKanji) {
            stops &= 0x5555555555555555u;  // first bytes of pairs from the offset
            end -= offset & 1;
        }
        if (stops == 0) {
            return {end, false};
        }
        return {offset + static_cast<std::size_t>(std::countr_zero(stops)), true};
    }

  private:
    static std::uint64_t Changes(const unsigned char* block) {
        if constexpr (Stops::kAll) {
            return ~std::uint64_t{0};
        } else if constexpr (Stops::kRow != 0) {
            // Bytes of the row, followed by a byte of the cells.
            static constexpr ByteRange kRows[] = {{Stops::kRow, Stops::kRow}};
            return RangeMask64<kRows>(block) & RangeMask64<Stops::kCells>(block + 1);
        } else {
            return RangeMask64<Stops::kRanges>(block);
        }
    }

    // Far enough below any i that the first call starts a block.
    std::size_t base_ = ~std::size_t{0} - (kBlockBytes - 1);
    const unsigned char* block_ = nullptr;
    std::uint64_t switches_ = 0;
    std::uint64_t changes_ = 0;
    bool changesLoaded_ = false;
};

// The most a switch and a character add to the result.
inline constexpr std::size_t kStepRoom = 16;

// Writes the result: characters, and switches where they need them. Its state lives in locals
// of one loop (FoldJis), as the byte stores would make the compiler reload members.
struct Result {
    unsigned char* next;
    State state;
    bool escapeLast = false;  // the last byte written is an ESC that begins no switch

    void Put(unsigned char c) { *next++ = c; }
    void Put(const Sequence& s) {
        std::memcpy(next, s.data(), s.size());
        next += s.size();
    }

    // The one switch into `mode`; a kana run entered by SO is closed by SI first.
    void SwitchTo(Mode mode, const Forms& forms) {
        if (state.mode == mode) {
            return;
        }
        escapeLast = false;
        if (state.mode == Mode::kKana && state.shiftedOut) {
            Put(kShiftIn);
            state = {};
            if (mode == Mode::kAscii) {
                return;
            }
        }
        switch (mode) {
            case Mode::kAscii:
                Put(forms.ascii);
                break;
            case Mode::kKanji:
                Put(forms.kanji);
                break;
            case Mode::kKana:
                if (forms.kanaByShiftOut) {
                    Put(kShiftOut);
                } else {
                    Put(Sequence{kEsc, '(', 'I'});
                }
                break;
        }
        state = {mode, mode == Mode::kKana && forms.kanaByShiftOut};
    }
};

// Switches copied while the result is in step, taken back (made a pending run) should the
// character after them change its mode: where they begin in the text and in the result, and
// the result's state before them.
struct Eager {
    static constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t at = kNone;
    unsigned char* out = nullptr;
    State before;
    bool escapeLastBefore = false;

    void Note(std::size_t i, unsigned char* place, const Result& result) {
        if (at == kNone) {
            *this = {i, place, result.state, result.escapeLast};
        }
    }
};

// While the result is in step with the text, copies the runs that stay and the switches
// between them a block at a time: each block's bytes go out as they stand, and the result
// takes as many as stay. Returns at a character that may change, or with 64 bytes or fewer
// left; the caller gives room for the rest of the text and 64 bytes more.
template <class Stops>
[[gnu::always_inline]] inline void CopyInStep(const unsigned char* in, std::size_t n,
                                              std::size_t& i, Result& result, State& text,
                                              Forms& forms, QuietRuns<Stops>& quiet,
                                              Eager& eager) {
    while (n - i > kBlockBytes) {
        std::memcpy(result.next, in + i, kBlockBytes);
        const std::size_t from = quiet.Hold(in, i);
        std::size_t at = from;
        bool atCharacter = false;
        for (;;) {
            const auto run = quiet.From(at, text.mode);
            if (run.end != at) {
                result.escapeLast = false;
                eager.at = Eager::kNone;
                at = run.end;
            }
            if (!run.stop) {
                break;
            }
            State to;
            const std::size_t length = SwitchAt(in, i + (at - from), n, to);
            if (length == 0) {
                atCharacter = true;
                break;
            }
            unsigned char* const place = result.next + (at - from);
            eager.Note(i + (at - from), place, result);
            if (at + length > from + kBlockBytes) {
                std::memcpy(place, in + i + (at - from), length);  // past the bytes copied
            }
            result.escapeLast = false;
            result.state = to;
            text = to;
            if (to.mode == Mode::kKana) {
                forms.kanaByShiftOut = to.shiftedOut;
            }
            at += length;
            if (at >= kBlockBytes - 1) {
                break;
            }
        }
        result.next += at - from;
        i += at - from;
        if (atCharacter) {
            return;
        }
    }
}

// Folds a JIS text with `fold(in, i, n, mode, character)`, which reads the character at i in
// `mode` into `character` and returns its length. While the result is in step with the text
// (in its mode, no switch waiting), runs that stay as they are go as QuietRuns<Stops> finds
// them. A run of the text's switches waits for the character after it (see the top of this
// file). False when `out` lacks room (the caller gives the room the longest result needs).
// Without kQuiet every character takes the careful way (the tests' reference).
template <class Stops, bool kQuiet = true, class FoldCharacter>
bool FoldJis(const unsigned char* in, std::size_t n, Output& out, FoldCharacter fold) {
    constexpr std::size_t kNone = ~std::size_t{0};
    Forms forms = FormsOf(in, n);
    Result result{out.next(), {}};
    unsigned char* const end = out.next() + out.Room();
    auto room = [&](std::size_t bytes) { return static_cast<std::size_t>(end - result.next) >= bytes; };
    State text;
    State beforePending;
    std::size_t pending = kNone;
    Eager eager;
    QuietRuns<Stops> quiet;
    std::size_t i = 0;
    while (i < n) {
        // In step, with room for the rest copied one for one: runs that stay, and the switches
        // between them, go at once, up to a character that may change.
        if (kQuiet && pending == kNone && result.state.mode == text.mode &&
            room(n - i + kBlockBytes)) {
            CopyInStep(in, n, i, result, text, forms, quiet, eager);
            if (i == n) {
                break;  // a switch at the end of the last block ended the text
            }
        }
        State to;
        if (const std::size_t length = SwitchAt(in, i, n, to)) {
            if (pending == kNone && result.state.mode == text.mode && room(kStepRoom)) {
                eager.Note(i, result.next, result);
                std::memcpy(result.next, in + i, length);
                result.next += length;
                result.escapeLast = false;
                result.state = to;
            } else if (pending == kNone) {
                pending = i;
                beforePending = text;
            }
            text = to;
            if (to.mode == Mode::kKana) {
                forms.kanaByShiftOut = to.shiftedOut;
            }
            i += length;
            continue;
        }
        Character c{};
        const std::size_t length = fold(in, i, n, text.mode, c);
        if (eager.at != Eager::kNone) {
            if (c.mode != text.mode) {
                result.next = eager.out;
                result.state = eager.before;
                result.escapeLast = eager.escapeLastBefore;
                pending = eager.at;
                beforePending = eager.before;
            }
            eager.at = Eager::kNone;
        }
        if (pending != kNone) {
            if (!room(i - pending + kStepRoom)) {
                return false;
            }
            if (result.state.mode == beforePending.mode && c.mode == text.mode) {
                std::memcpy(result.next, in + pending, i - pending);
                result.next += i - pending;
                result.state = text;
                result.escapeLast = false;
            } else {
                result.SwitchTo(c.mode, forms);
            }
            pending = kNone;
        } else {
            if (!room(kStepRoom)) {
                return false;
            }
            result.SwitchTo(c.mode, forms);
        }
        // An ESC that begins no switch, then a '$' or '(' that was something else: the ASCII
        // switch between them keeps the two from reading as the start of a switch.
        if (result.escapeLast && c.changed && (c.bytes[0] == '$' || c.bytes[0] == '(')) {
            result.Put(forms.ascii);
        }
        result.next[0] = c.bytes[0];
        result.next[1] = c.bytes[1];
        result.next += c.length;
        result.escapeLast = c.mode == Mode::kAscii && c.bytes[0] == kEsc;
        i += length;
    }
    if (!room(pending == kNone ? kStepRoom : n - pending + kStepRoom)) {
        return false;
    }
    if (pending != kNone && result.state.mode == beforePending.mode) {
        std::memcpy(result.next, in + pending, n - pending);
        result.next += n - pending;
    } else if (text.mode == Mode::kAscii) {
        result.SwitchTo(Mode::kAscii, forms);
    }
    out.Advance(static_cast<std::size_t>(result.next - out.next()));
    return true;
}

// The character at i in `mode` as the text has it.
inline std::size_t Unchanged(const unsigned char* in, std::size_t i, std::size_t n, Mode mode,
                             Character& c) {
    const bool pair = mode == Mode::kKanji && n - i >= 2;
    c = {mode, static_cast<unsigned char>(pair ? 2 : 1),
         {in[i], pair ? in[i + 1] : static_cast<unsigned char>(0)}, false};
    return c.length;
}

inline Character KanjiOf(RowCell code) {
    return {Mode::kKanji, 2,
            {static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code)}, true};
}

// Where each function may change characters: bytes of kRanges in ASCII mode, pairs of row
// kRow with a cell of kCells in kanji mode, or every byte in kana mode.
struct AsciiStops {
    static constexpr Mode kMode = Mode::kAscii;
    static constexpr unsigned char kRow = 0;
    static constexpr bool kAll = false;
};
template <CharSet kSet>
struct HalfToFullStops;
template <>
struct HalfToFullStops<CharSet::kDigits> : AsciiStops {
    static constexpr ByteRange kRanges[] = {{0x30, 0x39}};
};
template <>
struct HalfToFullStops<CharSet::kLetters> : AsciiStops {
    static constexpr ByteRange kRanges[] = {{0x41, 0x5A}, {0x61, 0x7A}};
};
template <>
struct HalfToFullStops<CharSet::kSymbols> : AsciiStops {
    static constexpr ByteRange kRanges[] = {{0x20, 0x2F}, {0x3A, 0x40}, {0x5B, 0x60}, {0x7B, 0x7E}};
};

struct KanjiStops {
    static constexpr Mode kMode = Mode::kKanji;
    static constexpr bool kAll = false;
};
template <CharSet kSet>
struct FullToHalfStops;
template <>
struct FullToHalfStops<CharSet::kDigits> : KanjiStops {
    static constexpr unsigned char kRow = kAlnumRow;
    static constexpr ByteRange kCells[] = {{0x30, 0x39}};
};
template <>
struct FullToHalfStops<CharSet::kLetters> : KanjiStops {
    static constexpr unsigned char kRow = kAlnumRow;
    static constexpr ByteRange kCells[] = {{0x41, 0x5A}, {0x61, 0x7A}};
};
// The cells of the full-width symbols (and a few others between them), not those of the
// common ideographic comma and full stop (0x22, 0x23), middle dot (0x26), prolonged sound
// mark (0x3C) and corner brackets (0x56, 0x57).
template <>
struct FullToHalfStops<CharSet::kSymbols> : KanjiStops {
    static constexpr unsigned char kRow = kSymbolRow;
    static constexpr ByteRange kCells[] = {{0x21, 0x21}, {0x24, 0x25}, {0x27, 0x32},
                                           {0x3F, 0x51}, {0x5C, 0x5D}, {0x61, 0x77}};
};

struct KatakanaStops {
    static constexpr Mode kMode = Mode::kKana;
    static constexpr unsigned char kRow = 0;
    static constexpr bool kAll = true;
};

template <CharSet kSet, bool kQuiet = true>
bool HalfToFullJisOf(const unsigned char* in, std::size_t n, Output& out) {
    const RowCellWidthTable& table = kRowCellWidthTables[static_cast<int>(kSet)];
    auto fold = [&table](const unsigned char* text, std::size_t i, std::size_t length, Mode mode,
                         Character& c) -> std::size_t {
        const unsigned char b = text[i];
        if (mode == Mode::kAscii && b < 0x80 && table.full[b] != 0) {
            c = KanjiOf(table.full[b]);
            return 1;
        }
        return Unchanged(text, i, length, mode, c);
    };
    return FoldJis<HalfToFullStops<kSet>, kQuiet>(in, n, out, fold);
}

template <CharSet kSet, bool kQuiet = true>
bool FullToHalfJisOf(const unsigned char* in, std::size_t n, Output& out) {
    const RowCellWidthTable& table = kRowCellWidthTables[static_cast<int>(kSet)];
    auto fold = [&table](const unsigned char* text, std::size_t i, std::size_t length, Mode mode,
                         Character& c) -> std::size_t {
        if (mode == Mode::kKanji && length - i >= 2) {
            const unsigned char row = text[i];
            const unsigned char cell = text[i + 1];
            if ((row == kSymbolRow || row == kAlnumRow) && cell >= 0x21 && cell <= 0x7E) {
                const unsigned char half = table.half[row == kAlnumRow][cell];
                if (half != 0) {
                    c = {Mode::kAscii, 1, {half, 0}, true};
                    return 2;
                }
            }
        }
        return Unchanged(text, i, length, mode, c);
    };
    return FoldJis<FullToHalfStops<kSet>, kQuiet>(in, n, out, fold);
}

// Half-width katakana in kana mode to full-width katakana in kanji mode, joined with a sound
// mark right after them as in Shift JIS.
template <bool kQuiet = true>
bool KatakanaToFullJisOf(const unsigned char* in, std::size_t n, Output& out) {
    auto fold = [](const unsigned char* text, std::size_t i, std::size_t length, Mode mode,
                   Character& c) -> std::size_t {
        const unsigned char b = text[i];
        if (mode != Mode::kKana || b < 0x21 || b > 0x5F) {
            return Unchanged(text, i, length, mode, c);
        }
        const auto kana = static_cast<unsigned char>(b + 0x80);
        if (length - i >= 2) {
            const RowCell joined = JoinedKana(kana, static_cast<unsigned char>(text[i + 1] + 0x80));
            if (joined != 0) {
                c = KanjiOf(joined);
                return 2;
            }
        }
        c = KanjiOf(kKanaRowCells.plain[kana - 0xA1]);
        return 1;
    };
    return FoldJis<KatakanaStops, kQuiet>(in, n, out, fold);
}

}  // namespace widthfold::jis

namespace widthfold {

// ASCII digits, letters or symbols to their full-width characters in kanji mode.
inline bool HalfToFullJis(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    switch (set) {
        case CharSet::kDigits:
            return jis::HalfToFullJisOf<CharSet::kDigits>(in, n, out);
        case CharSet::kLetters:
            return jis::HalfToFullJisOf<CharSet::kLetters>(in, n, out);
        case CharSet::kSymbols:
            break;
    }
    return jis::HalfToFullJisOf<CharSet::kSymbols>(in, n, out);
}

// Full-width digits, letters or symbols (rows 1 and 3) to ASCII.
inline bool FullToHalfJis(const unsigned char* in, std::size_t n, Output& out, CharSet set) {
    switch (set) {
        case CharSet::kDigits:
            return jis::FullToHalfJisOf<CharSet::kDigits>(in, n, out);
        case CharSet::kLetters:
            return jis::FullToHalfJisOf<CharSet::kLetters>(in, n, out);
        case CharSet::kSymbols:
            break;
    }
    return jis::FullToHalfJisOf<CharSet::kSymbols>(in, n, out);
}

// Half-width katakana in kana mode to full-width katakana in kanji mode.
inline bool KatakanaToFullJis(const unsigned char* in, std::size_t n, Output& out) {
    return jis::KatakanaToFullJisOf(in, n, out);
}

}  // namespace widthfold
