// The conversion run: every listed file is read whole, passed through every function of the
// chain in order, compared with what was read, and written to its output path, with the user
// asked before a file is overwritten.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/buffer_pool.h"
#include "host/core/file_list.h"
#include "host/core/function_entry.h"
#include "host/core/run_options.h"
#include "host/core/user_interface.h"

namespace host {

class ConversionRun {
public:
    ConversionRun(UserInterface& ui, const FileList& files, const Chain& chain,
                  RunOptions& options)
        : ui_(ui), files_(files), chain_(chain), options_(options) {}

    // The whole run, from the confirmation to the final report. A table file the user picks
    // during the run stays in options.tablePath.
    void RunBatch();

    // One file through the chain and onto disk; true when it was written, or left unwritten
    // because it did not change and noOutput is set.
    bool ConvertFile(const std::string& inputPath, const std::string& outputPath);

    bool cancelRequested() const { return cancelRequested_; }
    std::int32_t errorCount() const { return errorCount_; }

private:
    // Where the result of `inputPath` goes before any plug-in renames it.
    std::string OutputPathFor(const std::string& inputPath) const;
    // Shows an OK/Cancel error prompt; Cancel ends the run after the current file.
    void AskToGoOn(const DisplayText& text);

    UserInterface& ui_;
    const FileList& files_;
    const Chain& chain_;
    RunOptions& options_;
    BufferPool pool_;
    bool cancelRequested_ = false;
    std::int32_t errorCount_ = 0;
};

}  // namespace host
