// The About box's texts and the read-me document.
#pragma once

#include <functional>
#include <string>

#include "host/core/ui/user_interface.h"

namespace host {

inline constexpr const char* kProgramName = "Polyshift";
inline constexpr const char* kProgramVersion = "Ver.1.0.0.5";

// "Build: <date> @ <time>", the moment this program was built, in the forms "Jun  5 2010"
// and "20:14:55".
std::string BuildStamp();

// The whole About text for a terminal: name, build stamp, version, then `pluginVersionText`
// (one "name v.a.b.c.d" line per plug-in), every line ended by "\n".
std::string AboutText(const std::string& pluginVersionText);

// The read-me beside the program: the executable's path with its extension (from the last
// point of its file name on; none on this system) replaced by ".htm".
std::string ReadmePath(const std::string& executablePath);

// The read-me command: `open` hands the document at the given path to the desktop's viewer
// and tells whether that worked. A missing document, and one that no program would open, are
// each reported in their own words with the document's full path, in a box and on the status
// line. True when it was opened.
bool OpenReadme(UserInterface& ui, const std::string& executablePath,
                const std::function<bool(const std::string&)>& open);

}  // namespace host
