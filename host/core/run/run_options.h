// The options of a conversion run: the four the user sets in the window, and what the
// command line adds for whole trees (the window leaves those off).
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

    // A file found below a folder argument goes to the same place below outputFolder
    // ("old/a/b.txt" from "old" to "<outputFolder>/a/b.txt"); otherwise every result goes
    // into outputFolder itself.
    bool keepTree = false;
    // The folders a result goes into are made when it is written.
    bool createFolders = false;
    // A target that an earlier file of the run was written to is never written again: the
    // later file fails, whatever the overwrite question would be answered.
    bool oneSourcePerTarget = false;
    // When not empty, a file a result replaces is kept under its name plus this suffix.
    std::string backupSuffix = {};
    // Each result gets its source's modification time.
    bool keepTime = false;
    // Everything but writing: nothing is written, renamed or created, and every question is
    // asked as the real run would ask it; where the run would write, what the write would
    // meet is foreseen instead (host/core/files/write_forecast.h), and each file's outcome is
    // handed to the run's plan sink.
    bool dryRun = false;
};

}  // namespace host
