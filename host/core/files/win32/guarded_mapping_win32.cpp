// A read-only view of a whole file on Windows. The system refuses to cut a file short while a
// view of it is mapped (ERROR_USER_MAPPED_FILE), so the bytes can never vanish under a reader
// and a mapping is never damaged.
#include <io.h>
#include <windows.h>

#include <utility>

#include "host/core/files/guarded_mapping.h"

namespace host {

std::optional<GuardedMapping> GuardedMapping::Map(int fd, std::size_t length) {
    return MapHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), length);
}

std::optional<GuardedMapping> GuardedMapping::MapHandle(void* file, std::size_t length) {
    if (length == 0 || file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    HANDLE section = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (section == nullptr) {
        return std::nullopt;
    }
    void* bytes = ::MapViewOfFile(section, FILE_MAP_READ, 0, 0, length);
    ::CloseHandle(section);  // the view keeps the section alive
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return GuardedMapping(static_cast<const unsigned char*>(bytes), length, 0);
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

GuardedMapping::~GuardedMapping() { release(); }

bool GuardedMapping::damaged() const { return false; }

void GuardedMapping::release() {
    if (bytes_ != nullptr) {
        ::UnmapViewOfFile(bytes_);
        bytes_ = nullptr;
    }
}

}  // namespace host
