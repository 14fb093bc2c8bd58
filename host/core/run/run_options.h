// The options of a conversion run, as the user sets them, and how the run reports.
#pragma once

#include <string>

namespace host {

struct RunOptions {
    std::string outputFolder;  // receives the results unless overWrite is set
    std::string tablePath;     // handed to every step; may be empty
    bool overWrite = false;    // write every result over its own source, without asking
    bool noOutput = false;     // write nothing for a file the chain left unchanged
    // The final report also gives the number of files with a failed step (the command line's;
    // the window's report is the error count alone).
    bool reportFailedSteps = false;
    // Text functions convert binary files too, instead of passing them on unchanged.
    bool convertBinary = false;
};

}  // namespace host
