#include "host_fixture.h"

#include <filesystem>

namespace host_testing {

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder() { fs::create_directories(pluginFolder()); }

void ProgramFolder::AddTestPlugin(const std::string& name, const std::string& as) {
    fs::copy_file(fs::path(POLYSHIFT_TEST_PLUGIN_DIR) / Library(name),
                  fs::path(pluginFolder()) / (as.empty() ? Library(name) : as),
                  fs::copy_options::overwrite_existing);
}

void ProgramFolder::AddRealPlugin(const std::string& name) {
    fs::copy_file(fs::path(POLYSHIFT_PLUGIN_DIR) / Library(name),
                  fs::path(pluginFolder()) / Library(name), fs::copy_options::overwrite_existing);
}

void ProgramFolder::AddJunk(const std::string& fileName) {
    root_.Write("plugin/" + fileName, "this is not a library");
}

}  // namespace host_testing
