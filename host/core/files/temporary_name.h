// Names for temporary files: ".polyshift-" and six random letters and digits, in the folder of
// the file they will replace, so that the finished file moves over it within one folder. A
// name may be taken already; callers create the file exclusively and try another.
#pragma once

#include <string>

namespace host {

std::string TemporaryNameBeside(const std::string& target);

}  // namespace host
