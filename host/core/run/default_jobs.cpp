#include "host/core/run/default_jobs.h"

#include <filesystem>
#include <system_error>

#include "platform/utf8_path.h"

namespace host {

unsigned DefaultJobs(std::span<const std::string> files, unsigned processors) {
    if (processors <= 1 || files.size() <= 1) {
        return 1;
    }
    std::uintmax_t total = 0;
    std::size_t counted = 0;
    for (const std::string& file : files.first(std::min(files.size(), kSample))) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(platform::PathFromUtf8(file), error);
        if (!error) {
            total += size;
            ++counted;
        }
    }
    // Files that could not be measured (standard input, one gone meanwhile) count as small.
    return counted > 0 && total / counted >= kSmallFile ? processors : 1;
}

}  // namespace host
