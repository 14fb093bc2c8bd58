// rulebook's XfmRegExp with an arbitrary command over an arbitrary text, as the host's
// regular-expression tool calls it: the command, a 0xFF separator, the text. A failure must
// leave the text as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/shared_string.h"
#include "search_cost.h"

namespace {

constexpr std::size_t kMaxText = 12;
constexpr std::size_t kMaxCommand = 96;
constexpr int kMaxBranching = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t separator = all.find('\xFF');
    // The command is a zero-terminated text.
    std::string command(all.substr(0, separator));
    command = command.substr(0, command.find('\0'));
    if (command.size() > kMaxCommand || fuzz_support::BranchingOperators(command) > kMaxBranching) {
        return 0;
    }
    const std::string_view text = separator == std::string_view::npos
                                      ? std::string_view()
                                      : all.substr(separator + 1).substr(0, kMaxText);
    platform::SharedString shared(text);
    if (fuzz_support::Plugin("rulebook").regExp(&shared, command.c_str()) == 0 &&
        shared.view() != text) {
        __builtin_trap();
    }
    return 0;
}
