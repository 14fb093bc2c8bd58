#include "host/core/files/temporary_name.h"

#include <random>

#include "platform/paths.h"

namespace host {

std::string TemporaryNameBeside(const std::string& target) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    const std::string folder = platform::RemoveFileName(target);
    std::string name = platform::JoinPath(folder.empty() ? "." : folder, ".polyshift-");
    for (int i = 0; i < 6; ++i) {
        name += kLetters[random() % (sizeof kLetters - 1)];
    }
    return name;
}

}  // namespace host
