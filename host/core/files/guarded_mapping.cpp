#include "host/core/files/guarded_mapping.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>

namespace host {
namespace {

// The guarded ranges, read by the signal handler: only lock-free atomics here.
struct Slot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};  // 0 while the slot describes no mapping
    std::atomic<std::size_t> length{0};
    std::atomic<bool> damaged{false};
};

constexpr int kSlots = 64;
Slot slots[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previousAction;
std::once_flag handlerInstalled;

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot& slot : slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        const std::size_t length = slot.length.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address - begin >= length) {
            continue;
        }
        const std::uintptr_t from = address & ~(pageSize - 1);
        const std::uintptr_t to = (begin + length + pageSize - 1) & ~(pageSize - 1);
        void* zeros = ::mmap(reinterpret_cast<void*>(from), to - from, PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            slot.damaged.store(true, std::memory_order_release);
            return;  // the faulting read is repeated and now sees zeros
        }
        break;
    }
    // Not ours: the handler that was there before takes it (for the default action, the
    // repeated fault ends the process as it would have without us).
    if ((previousAction.sa_flags & SA_SIGINFO) != 0 && previousAction.sa_sigaction != nullptr) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN &&
        previousAction.sa_handler != nullptr) {
        previousAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
}

void InstallHandler() {
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = &OnBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousAction);
}

int ClaimSlot() {
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (slots[i].used.compare_exchange_strong(expected, true)) {
            return i;
        }
    }
    return -1;
}

}  // namespace

std::optional<GuardedMapping> GuardedMapping::Map(int fd, std::size_t length) {
    if (length == 0) {
        return std::nullopt;
    }
    std::call_once(handlerInstalled, InstallHandler);
    const int slot = ClaimSlot();
    if (slot < 0) {
        return std::nullopt;
    }
    void* bytes = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (bytes == MAP_FAILED) {
        slots[slot].used.store(false);
        return std::nullopt;
    }
    Slot& s = slots[slot];
    s.damaged.store(false);
    s.length.store(length, std::memory_order_release);
    s.begin.store(reinterpret_cast<std::uintptr_t>(bytes), std::memory_order_release);
    return GuardedMapping(static_cast<const unsigned char*>(bytes), length, slot);
}

GuardedMapping::GuardedMapping(GuardedMapping&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      slot_(std::exchange(other.slot_, -1)) {}

GuardedMapping& GuardedMapping::operator=(GuardedMapping&& other) noexcept {
    if (this != &other) {
        release();
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

GuardedMapping::~GuardedMapping() {
    release();
}

bool GuardedMapping::damaged() const {
    return slot_ >= 0 && slots[slot_].damaged.load(std::memory_order_acquire);
}

void GuardedMapping::release() {
    if (bytes_ == nullptr) {
        return;
    }
    Slot& s = slots[slot_];
    s.begin.store(0, std::memory_order_release);
    ::munmap(const_cast<unsigned char*>(bytes_), size_);
    s.used.store(false, std::memory_order_release);
    bytes_ = nullptr;
    slot_ = -1;
}

}  // namespace host
