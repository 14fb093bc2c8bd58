// Keeping a search in bounds: the failure memo and the step budget.
//
// The interpreter backtracks, so some patterns take time exponential in the text
// ("(a|aa)*\d" over a line of "a") or quadratic in it ("(?:a|b)*\d", tried at every start).
// Two measures keep every search short.
//
// The failure memo. When the pattern has no back-reference, whether the rest of a match
// succeeds from a general loop's step at position p does not depend on how the loop got
// there: captures are only read by back-references, and once the loop has run its minimum
// number of iterations an unbounded loop behaves alike at every count. So once a loop step
// at p has failed after trying everything, it fails again at p, in the same attempt and in
// every later attempt of the same search, and the memo answers at once. That holds for loops
// whose continuation runs to the end of the program or of a look-ahead, that is loops not
// nested in another general loop; those are the loops the memo serves. It turns the two
// examples above linear. The memo is a bitmap per loop over the positions of the search,
// allocated page by page where failures are recorded.
//
// The step budget. Every search of a subject draws on one budget that grows with the
// subject's length: nodes visited, candidates tried and bytes scanned all cost steps. The
// searches of one global substitution share it, since they search one subject. A search
// that runs out fails with "regexp too complex"; one whose backtracking outgrows its memory
// fails with "regexp out of memory" (backtrack_stack.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "regex/error_text.h"

namespace regex {

class TooComplex : public RegexError {
  public:
    TooComplex() : RegexError("regexp too complex") {}
};

[[noreturn, gnu::noinline, gnu::cold]] void ThrowTooComplex();

// Steps for the searches of a subject of `length` bytes.
inline constexpr int64_t kStepsPerByte = 2000;
inline constexpr int64_t kFixedSteps = 2000000;
inline int64_t StepBudgetFor(std::size_t length) {
    return kFixedSteps + kStepsPerByte * static_cast<int64_t>(length);
}

class FailureMemo {
  public:
    // Loops the memo can serve in one search; further ones go without.
    static constexpr int kSlots = 8;

    // Forgets everything; positions from `begin` on.
    void Start(const char* begin);

    // The slot of the loop whose node lies at `nodeOffset` in the program, or -1 when all
    // slots are taken by other loops.
    int SlotFor(int nodeOffset);

    bool KnownToFail(int slot, const char* p) const {
        const std::size_t i = static_cast<std::size_t>(p - begin_);
        const std::vector<std::unique_ptr<uint64_t[]>>& pages = slots_->pages[slot];
        const std::size_t page = i / kPageBits;
        return page < pages.size() && pages[page] != nullptr &&
               ((pages[page][i % kPageBits / 64] >> (i % 64)) & 1) != 0;
    }

    void RecordFailure(int slot, const char* p);

  private:
    static constexpr std::size_t kPageBits = 4096;

    struct Slots {
        int count = 0;
        int node[kSlots] = {};
        std::vector<std::unique_ptr<uint64_t[]>> pages[kSlots];
    };

    const char* begin_ = nullptr;
    std::unique_ptr<Slots> slots_;  // made for the first loop that asks: most searches never do
};

}  // namespace regex
