// The failure memo's pages (see search_guard.h for the idea).
#include "regex/search_guard.h"

namespace regex {

void ThrowTooComplex() {
    throw TooComplex();
}

void FailureMemo::Start(const char* begin) {
    begin_ = begin;
    slots_.reset();
}

int FailureMemo::SlotFor(int nodeOffset) {
    if (slots_ == nullptr) {
        slots_ = std::make_unique<Slots>();
    }
    for (int i = 0; i < slots_->count; ++i) {
        if (slots_->node[i] == nodeOffset) {
            return i;
        }
    }
    if (slots_->count == kSlots) {
        return -1;
    }
    slots_->node[slots_->count] = nodeOffset;
    return slots_->count++;
}

void FailureMemo::RecordFailure(int slot, const char* p) {
    const std::size_t i = static_cast<std::size_t>(p - begin_);
    std::vector<std::unique_ptr<uint64_t[]>>& pages = slots_->pages[slot];
    const std::size_t page = i / kPageBits;
    if (page >= pages.size()) {
        pages.resize(page + 1);
    }
    if (pages[page] == nullptr) {
        pages[page] = std::make_unique<uint64_t[]>(kPageBits / 64);
    }
    pages[page][i % kPageBits / 64] |= uint64_t{1} << (i % 64);
}

}  // namespace regex
