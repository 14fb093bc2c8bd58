// Holds the files this process writes below a size for the lifetime of the guard: a write
// past it fails part-way with EFBIG, as on a full disk.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace testing_support {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    struct rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace testing_support
