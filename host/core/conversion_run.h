// The conversion run: every listed file is read whole, passed through every function of the
// chain in order, compared with what was read, and written to its output path, with the user
// asked before a file is overwritten.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    //
    // With `jobs` above 1 and a face that answers every prompt without asking anybody (see
    // UserInterface::answerWithoutAsking), up to `jobs` files are converted at the same time,
    // each exactly as it would be alone: its messages are shown when it is its turn in the
    // file list, and a file waits for every earlier file whose source or target it may write
    // or read. Otherwise files are converted one at a time.
    void RunBatch(unsigned jobs = 1);

    // One file through the chain and onto disk; true when it was written, or left unwritten
    // because it did not change and noOutput is set.
    bool ConvertFile(const std::string& inputPath, const std::string& outputPath);

    bool cancelRequested() const { return cancelRequested_; }
    std::int32_t errorCount() const { return errorCount_; }

private:
    // What converting one file uses: the face its messages go to, the buffers it reuses, and
    // whether the user cancelled the run at one of its prompts.
    struct FileScope {
        UserInterface& ui;
        BufferPool& pool;
        bool cancel = false;
    };

    // Where the result of `inputPath` goes before any plug-in renames it.
    std::string OutputPathFor(const std::string& inputPath) const;
    // Every path converting `inputPath` may read or write: the source, the target and the
    // names the chain's functions would give the target.
    std::vector<std::string> PathsTouchedBy(const std::string& inputPath,
                                            const std::string& outputPath) const;
    // Shows an OK/Cancel error prompt; Cancel ends the run after the current file.
    static void AskToGoOn(FileScope& scope, MessageKind kind, const DisplayText& text);
    // ConvertFile within `scope`; callable from several threads at once as long as the face
    // never picks a table.
    bool ConvertFileIn(FileScope& scope, const std::string& inputPath,
                       const std::string& outputPath);
    bool ConvertFileOrThrow(FileScope& scope, const std::string& inputPath,
                            const std::string& outputPath);
    // The failure message, the error count, the progress and the status line for file `index`.
    void ReportFile(std::size_t index, bool handled);
    // The loop of RunBatch with files converted on `jobs` threads (conversion_run_jobs.cpp).
    void ConvertFilesAtOnce(unsigned jobs);

    UserInterface& ui_;
    const FileList& files_;
    const Chain& chain_;
    RunOptions& options_;
    BufferPool pool_;
    bool cancelRequested_ = false;
    std::int32_t errorCount_ = 0;
};

}  // namespace host
