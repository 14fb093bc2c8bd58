// rulebook's two functions over an arbitrary table and text: the first byte picks the kind of
// table (0: regular-expression commands, 1: string pairs), then a table, a 0xFF separator and
// the text. The table is handed over as a file, as the host does, held in memory.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "search_cost.h"

namespace {

constexpr std::size_t kMaxRegexText = 12;
constexpr std::size_t kMaxStringText = 256;
constexpr int kMaxBranching = 4;
constexpr double kMaxGrowth = 1 << 16;

// A memory file whose path the plug-in opens like any table file.
class TableFile {
  public:
    TableFile() : fd_(::memfd_create("table", MFD_CLOEXEC)) {
        if (fd_ < 0) {
            __builtin_trap();
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    void Fill(std::string_view bytes) {
        if (::ftruncate(fd_, 0) != 0 ||
            ::pwrite(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
            __builtin_trap();
        }
    }
    const char* path() const { return path_.c_str(); }

  private:
    int fd_;
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint32_t index = data[0] & 1;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t separator = rest.find('\xFF');
    const std::string_view table = rest.substr(0, separator);
    std::string_view text =
        separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
    text = text.substr(0, index == 0 ? kMaxRegexText : kMaxStringText);
    if (fuzz_support::GrowthBound(table) > kMaxGrowth ||
        (index == 0 && fuzz_support::BranchingOperators(table) > kMaxBranching)) {
        return 0;
    }
    static TableFile file;
    file.Fill(table);
    const std::vector<unsigned char> input(text.begin(), text.end());
    fuzz_support::ConvertStep(fuzz_support::Plugin("rulebook"), index, input.data(), input.size(),
                              file.path());
    return 0;
}
