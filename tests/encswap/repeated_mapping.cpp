#include "repeated_mapping.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace encswap_test {

namespace {
constexpr std::size_t kBlock = std::size_t{1} << 20;
}

RepeatedMapping::RepeatedMapping(std::string_view pattern, std::size_t totalBytes) {
    if (pattern.empty() || kBlock % pattern.size() != 0 || totalBytes % kBlock != 0) {
        return;
    }
    const int fd = ::memfd_create("polyshift-repeated", 0);
    if (fd < 0) {
        return;
    }
    std::string block;
    block.reserve(kBlock);
    while (block.size() < kBlock) {
        block += pattern;
    }
    bool written = ::write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
    void* area = written ? ::mmap(nullptr, totalBytes, PROT_NONE,
                                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)
                         : MAP_FAILED;
    if (area != MAP_FAILED) {
        auto* base = static_cast<unsigned char*>(area);
        for (std::size_t offset = 0; offset < totalBytes; offset += kBlock) {
            if (::mmap(base + offset, kBlock, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) ==
                MAP_FAILED) {
                ::munmap(area, totalBytes);
                area = MAP_FAILED;
                break;
            }
        }
    }
    ::close(fd);
    if (area != MAP_FAILED) {
        data_ = static_cast<unsigned char*>(area);
        size_ = totalBytes;
    }
}

RepeatedMapping::~RepeatedMapping() {
    if (data_ != nullptr) {
        ::munmap(data_, size_);
    }
}

}  // namespace encswap_test
