// The conversion run: file policy around the chain. Every listed file is read whole, passed
// through the chain (apply_chain.h), compared with what was read, and written to its target,
// with the user asked before a file is overwritten. What the chain does to bytes is not here;
// what happens to files and which questions are asked is.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/core/run/apply_chain.h"
#include "host/core/buffers/buffer_pool.h"
#include "host/core/files/file_list.h"
#include "host/core/plugins/function_entry.h"
#include "host/core/files/result_file.h"
#include "host/core/run/run_options.h"
#include "host/core/files/source_bytes.h"
#include "host/core/ui/user_interface.h"

namespace host {

// Where a file's result goes: a file, or standard output, which has no name to change.
struct Target {
    enum class Kind { kFile, kStandardOutput };
    Kind kind = Kind::kFile;
    std::string path;  // the file, before any function renames it

    bool standardOutput() const { return kind == Kind::kStandardOutput; }
};

// What a run learned.
struct RunResult {
    bool started = false;  // the user confirmed the run
    bool cancelled = false;
    std::int32_t errorCount = 0;
    std::int32_t failedStepFiles = 0;  // files with a step that failed (and was skipped)
    std::int32_t skippedBinary = 0;  // files whose text steps passed them on: binary
    // A table the user chose at a prompt during the run; the caller decides whether to keep it.
    std::optional<std::string> chosenTable;
};

// What a dry run foresees for one file.
struct FilePlan {
    enum class Outcome {
        kConverted,      // the chain changes the bytes
        kUnchanged,      // the chain leaves them as they were
        kSkippedBinary,  // the text steps pass a binary file on
        kFailed,         // the file counts as failed; `problem` says why
    };
    Outcome outcome = Outcome::kUnchanged;
    const std::string* source = nullptr;
    // Where the result would be written (a function's new name included); nothing when
    // nothing would be written. kStandardStream for standard output.
    std::optional<std::string> written;
    std::optional<std::string> newName;  // the name a function gives, where it is a new one
    std::vector<std::string> failedSteps;  // titles (Shift JIS) of the steps that would fail
    DisplayText problem;                  // for kFailed: the message that tells why
    // The bytes read and the result, while the sink is called (empty for kFailed).
    std::span<const unsigned char> before;
    std::span<const unsigned char> after;
};
using PlanSink = std::function<void(const FilePlan&)>;

class ConversionRun {
  public:
    ConversionRun(UserInterface& ui, const FileList& files, const Chain& chain, RunOptions options)
        : ui_(ui), files_(files), chain_(chain), options_(std::move(options)) {}

    // The whole run, from the confirmation to the final report.
    //
    // With `jobs` above 1 and `answers` (a face that answers every question without asking,
    // and never with Cancel), up to `jobs` files are converted at the same time, each exactly
    // as it would be alone: its messages are shown when it is its turn in the file list, and
    // a file waits for every earlier file whose source or target it may write or read.
    // Otherwise files are converted one at a time.
    RunResult RunBatch(unsigned jobs = 1, const PresetAnswers& answers = {});

    // With dryRun: where each file's plan goes, in list order (a dry run converts one file at
    // a time).
    void SetPlanSink(PlanSink sink) { plans_ = std::move(sink); }

  private:
    // What converting one file uses: the face its messages go to, the buffers it reuses, and
    // whether the user cancelled the run at one of its prompts.
    struct FileScope {
        FileScope(UserInterface& face, BufferPool& buffers) : ui(face), pool(buffers) {}
        UserInterface& ui;
        BufferPool& pool;
        bool cancel = false;
        bool stepFailed = false;
        bool skippedBinary = false;  // a text step passed the file on: it is binary
        const std::string* source = nullptr;  // the file being converted
        WriteExtras extras;                   // what its write does beside the bytes
        DisplayText problem;                  // the last error shown for the file
        bool planned = false;                 // dry run: its plan has gone to the sink
    };

    // Where file `index` of the list goes.
    Target TargetFor(std::size_t index) const;
    // Every path converting a file may read or write: its source, its target, the names the
    // chain's functions would give the target, and their backups.
    std::vector<std::string> PathsTouched(const std::string& inputPath, const Target& target,
                                          std::span<const CarriedName> names) const;
    // Shows an OK/Cancel error prompt; Cancel ends the run after the current file.
    static void AskToGoOn(FileScope& scope, MessageKind kind, const DisplayText& text);
    // One file through the chain and onto its target; true when it was written, or left
    // unwritten because it did not change and noOutput is set. Callable from several threads
    // at once as long as the face never picks a table. `namesAhead`: the names the chain's
    // functions were asked ahead to order the files (several jobs), empty in turn.
    bool ConvertFileIn(FileScope& scope, const std::string& inputPath, const Target& target,
                       std::span<const CarriedName> namesAhead);
    bool ConvertFileOrThrow(FileScope& scope, const std::string& inputPath, const Target& target,
                            std::span<const CarriedName> namesAhead);
    // `written`: the files written while the bytes are held (see ReadWholeFile).
    std::optional<SourceBytes> ReadSource(FileScope& scope, const std::string& inputPath,
                                          std::span<const std::string> written);
    // What the chain's steps make known as they go, in boxes and notes.
    static ChainEvents EventsFor(FileScope& scope, const Target& target);
    // `resultFile`, when given, holds `bytes` already and is committed instead of a write.
    bool WriteResultTo(FileScope& scope, const Target& target, const std::string& path,
                       std::span<const unsigned char> bytes, ResultFile* resultFile);
    bool WriteToFile(FileScope& scope, const std::string& path,
                     std::span<const unsigned char> bytes, ResultFile* resultFile);
    // The failure message, the counts, the skipped-binary line, the progress and the status
    // line for file `index`.
    void ReportFile(std::size_t index, bool handled, bool stepFailed, bool skippedBinary);
    // With oneSourcePerTarget: false, after telling the user, when an earlier file of the run
    // was written to `path`; the folders on the way to it made with createFolders.
    bool MayWriteTo(FileScope& scope, const std::string& path);
    bool FoldersMadeFor(FileScope& scope, const std::string& path);
    void ReportWriteFailure(FileScope& scope, const std::string& path, const WriteResult& written);
    // The loop of RunBatch with files converted one at a time, or on `jobs` threads
    // (conversion_run_jobs.cpp).
    void ConvertFilesInTurn();
    void ConvertFilesAtOnce(unsigned jobs, const PresetAnswers& answers);
    // Dry run: the plan of a file that went through the chain, or of one that failed before.
    void Plan(FileScope& scope, const std::string& inputPath, const Target& target,
              const ChainOutcome& chain, bool handled, std::optional<std::string> written,
              std::span<const unsigned char> before, std::span<const unsigned char> after);
    bool PlannedToBeWritten(const std::string& path);

    UserInterface& ui_;
    const FileList& files_;
    const Chain& chain_;
    const RunOptions options_;
    // The table every step gets: the options' one, or one the user picked during the run.
    std::string table_ = options_.tablePath;
    RunResult result_;
    BufferPool pool_;
    // With oneSourcePerTarget: every target written so far (as ComparablePath) and its source.
    // Files that share a target are converted in list order even on several threads, so what
    // an earlier one wrote is here when a later one looks.
    std::mutex writtenMutex_;
    std::unordered_map<std::string, std::string> written_;
    // Dry run: the sink, and every target it has let be written (as ComparablePath).
    PlanSink plans_;
    std::unordered_set<std::string> planned_;
};

}  // namespace host
