// Windows writes every result through the ordinary buffer and write: no result file is made.
#include "host/core/files/result_file.h"

namespace host {

std::unique_ptr<ResultFile> ResultFile::Create(const std::string&, std::size_t) { return nullptr; }

ResultFile::ResultFile(int fd, std::string temp, unsigned char* bytes, std::size_t room)
    : fd_(fd), temp_(std::move(temp)), bytes_(bytes), room_(room) {}

ResultFile::~ResultFile() = default;

void ResultFile::Unmap() {}

WriteResult ResultFile::Commit(const std::string&, std::size_t, const WriteExtras&) {
    return {WriteStatus::kWriteError, "result files are not made on this system"};
}

std::span<unsigned char> ResultFileRoom::RoomFor(std::size_t) { return {}; }

}  // namespace host
