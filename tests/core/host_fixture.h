// A program folder of its own for each test: "plugin/" beside where the program would be,
// holding copies of exactly the plug-ins the test asks for, and a folder for input and output
// files.
#pragma once

#include <string>

#include "support/temp_folder.h"

namespace host_testing {

// A plug-in's file name: `name` with the system's library suffix (".so", ".dll").
inline std::string Library(const std::string& name) { return name + POLYSHIFT_PLUGIN_SUFFIX; }

class ProgramFolder {
public:
    ProgramFolder();

    std::string path() const { return root_.str(); }
    std::string pluginFolder() const { return root_.Path("plugin"); }

    // Copies the test plug-in <name>.so (<name>.dll on Windows) into plugin/, as `as` when
    // given.
    void AddTestPlugin(const std::string& name, const std::string& as = "");
    // Copies a real plug-in (eolfix, ...) into plugin/.
    void AddRealPlugin(const std::string& name);
    // Puts a file that is not a loadable library into plugin/.
    void AddJunk(const std::string& fileName);

private:
    testing_support::TempFolder root_;
};

}  // namespace host_testing
