#include "host/core/run/conversion_run.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

#include "host/core/ui/host_texts.h"
#include "host/core/run/same_content.h"
#include "host/core/files/create_folders.h"
#include "host/core/files/whole_file.h"
#include "host/core/files/write_forecast.h"
#include "host/core/run/file_order.h"
#include "platform/folder.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace host {
namespace {

using platform::kAnswerCancel;
using platform::kAnswerYes;

constexpr unsigned kStopOk = platform::kIconStop | platform::kButtonsOk;
constexpr unsigned kStopOkCancel = platform::kIconStop | platform::kButtonsOkCancel;
constexpr unsigned kQuestionYesNo = platform::kIconQuestion | platform::kButtonsYesNo;
constexpr unsigned kQuestionYesNoCancel = platform::kIconQuestion | platform::kButtonsYesNoCancel;
constexpr unsigned kInformationOk = platform::kIconInformation | platform::kButtonsOk;

constexpr const char* kSourceChanged = "the file was cut short while it was read";
constexpr const char* kNoMemory = "not enough memory";

// The run's table for every step; a step that wants one while there is none lets the user
// pick it, and the choice holds for the rest of the run.
class RunTables : public TableSource {
  public:
    RunTables(Questions& ui, std::string& table, std::optional<std::string>& chosen)
        : ui_(ui), table_(table), chosen_(chosen) {}

    const std::string& TableFor(const ChainEntry& step, bool usesTable) override {
        if (usesTable && table_.empty()) {
            if (auto picked = ui_.selectTableFile(step.title, table_)) {
                table_ = *picked;
                chosen_ = std::move(picked);
            }
        }
        return table_;
    }

  private:
    Questions& ui_;
    std::string& table_;
    std::optional<std::string>& chosen_;
};

// Passes the boxes the plug-ins show while one file goes through the chain on to the file's
// face, and counts them.
class CountedPluginMessages : public Questions {
  public:
    explicit CountedPluginMessages(Questions& face) : face_(face) {}

    int showMessage(const Message& message) override {
        ++count_;
        return face_.showMessage(message);
    }
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override {
        return face_.selectTableFile(functionTitle, currentPath);
    }
    std::size_t count() const { return count_; }

  private:
    Questions& face_;
    std::size_t count_ = 0;
};

// True when `answers` answer every question a run may ask, and never with Cancel: then files
// may be converted ahead of their turn, since nobody can stop the run.
bool AnswersKnownInAdvance(const PresetAnswers& answers) {
    if (!answers) {
        return false;
    }
    const std::pair<MessageKind, unsigned> prompts[] = {
        {MessageKind::kStepFailed, kStopOk},
        {MessageKind::kFileFailed, kStopOk},
        {MessageKind::kInputError, kStopOkCancel},
        {MessageKind::kOutputError, kStopOkCancel},
        {MessageKind::kOverwriteQuestion, kQuestionYesNoCancel},
        {MessageKind::kPluginMessage, kStopOk},
    };
    for (const auto& [kind, style] : prompts) {
        if (answers(kind, style) == kAnswerCancel) {
            return false;
        }
    }
    return true;
}

// Where `path` lies below the folder argument `folder` ("a/b.txt"), or its file name when it
// is not below it (a settings list edited by hand) or the way there climbs out ("..").
std::string PathBelow(const std::string& path, const std::string& folder) {
    const std::string_view separators = platform::kPathSeparators;
    const bool below = !folder.empty() && path.size() > folder.size() &&
                       path.compare(0, folder.size(), folder) == 0 &&
                       (separators.find(folder.back()) != std::string_view::npos ||
                        separators.find(path[folder.size()]) != std::string_view::npos);
    if (!below) {
        return std::string(platform::FileNameOf(path));
    }
    const std::size_t start = path.find_first_not_of(separators, folder.size());
    const std::string rest = start == std::string::npos ? std::string() : path.substr(start);
    for (std::size_t at = 0; at <= rest.size();) {
        const std::size_t end = std::min(rest.find_first_of(separators, at), rest.size());
        if (rest.compare(at, end - at, "..") == 0 && end - at == 2) {
            return std::string(platform::FileNameOf(path));
        }
        at = end + 1;
    }
    return rest.empty() ? std::string(platform::FileNameOf(path)) : rest;
}

}  // namespace

Target ConversionRun::TargetFor(std::size_t index) const {
    const std::string& inputPath = files_[index];
    if (inputPath == kStandardStream) {
        return {Target::Kind::kStandardOutput, inputPath};
    }
    if (options_.overWrite) {
        return {Target::Kind::kFile, inputPath};
    }
    const std::string below = options_.keepTree
                                  ? PathBelow(inputPath, files_.folderOf(index))
                                  : std::string(platform::FileNameOf(inputPath));
    return {Target::Kind::kFile, platform::JoinPath(options_.outputFolder, below)};
}

std::vector<std::string> ConversionRun::PathsTouched(const std::string& inputPath,
                                                     const Target& target,
                                                     std::span<const CarriedName> names) const {
    std::vector<std::string> paths{inputPath, target.path};
    for (const CarriedName& name : names) {
        if (name.path) {
            paths.push_back(*name.path);
        }
    }
    if (!options_.backupSuffix.empty()) {
        for (std::size_t i = 1, count = paths.size(); i < count; ++i) {
            paths.push_back(paths[i] + options_.backupSuffix);
        }
    }
    return paths;
}

void ConversionRun::AskToGoOn(FileScope& scope, MessageKind kind, const DisplayText& text) {
    scope.problem = text;
    if (scope.ui.messageBox(kind, text, texts::kTitleError, kStopOkCancel) == kAnswerCancel) {
        scope.cancel = true;
    }
}

void ConversionRun::ReportFile(std::size_t index, bool handled, bool stepFailed,
                               bool skippedBinary) {
    const std::string& input = files_[index];
    if (!handled) {
        ui_.messageBox(MessageKind::kFileFailed, texts::FileFailed(input), texts::kTitleError,
                       kStopOk);
        ++result_.errorCount;
    }
    if (stepFailed) {
        ++result_.failedStepFiles;
    }
    // A note, never a box: a folder may hold thousands of images.
    if (skippedBinary) {
        ui_.note(texts::SkippedBinary(input));
        ++result_.skippedBinary;
    }
    ui_.setProgressPosition(index > INT_MAX ? INT_MAX : static_cast<int>(index));
    ui_.setStatusText(skippedBinary ? texts::SkippedBinary(input) : DisplayText(input));
}

RunResult ConversionRun::RunBatch(unsigned jobs, const PresetAnswers& answers) {
    const std::size_t count = files_.size();
    if (count == 0) {
        ui_.messageBox(MessageKind::kCommandError, texts::kNoSourceFiles, texts::kTitleError,
                       kStopOk);
        ui_.setStatusText(texts::kNoSourceFiles);
        return result_;
    }
    const int last = count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
    ui_.setProgressRange(0, last);
    ui_.setProgressPosition(0);
    ui_.setStatusText({});
    if (ui_.messageBox(MessageKind::kRunConfirmation, texts::kConfirmRun, texts::kTitleConfirm,
                       kQuestionYesNo) != kAnswerYes) {
        return result_;
    }
    result_.started = true;
    if (jobs > 1 && count > 1 && !options_.dryRun && AnswersKnownInAdvance(answers)) {
        ConvertFilesAtOnce(jobs, answers);
    } else {
        ConvertFilesInTurn();
    }
    DisplayText final;
    if (result_.cancelled) {
        final = texts::Cancelled(result_.errorCount);
    } else {
        ui_.setProgressPosition(last);
        final = texts::AllDone(result_.errorCount);
    }
    if (options_.reportFailedSteps && result_.failedStepFiles > 0) {
        final += texts::FilesWithFailedSteps(result_.failedStepFiles);
    }
    final = texts::WithSkippedBinary(final, result_.skippedBinary);
    ui_.setStatusText(final);
    ui_.messageBox(MessageKind::kRunFinished, final, texts::kTitleFinished, kInformationOk);
    return result_;
}

void ConversionRun::ConvertFilesInTurn() {
    for (std::size_t i = 0; i < files_.size() && !result_.cancelled; ++i) {
        const std::string& input = files_[i];
        const Target target = TargetFor(i);
        FileScope scope{ui_, pool_};
        // The contract's order holds here exactly: a step is asked for a name only after it
        // converted, never ahead.
        const bool handled = ConvertFileIn(scope, input, target, {});
        result_.cancelled = scope.cancel;
        ReportFile(i, handled, scope.stepFailed, scope.skippedBinary);
    }
}

bool ConversionRun::ConvertFileIn(FileScope& scope, const std::string& inputPath,
                                  const Target& target, std::span<const CarriedName> namesAhead) {
    bool handled = false;
    try {
        handled = ConvertFileOrThrow(scope, inputPath, target, namesAhead);
    } catch (const std::bad_alloc&) {
        // A file too large for the memory left fails alone; the run goes on.
        scope.ui.setStatusText(texts::CannotReadSource(inputPath, kNoMemory));
        AskToGoOn(scope, MessageKind::kInputError, texts::CannotReadSource(inputPath, kNoMemory));
    }
    if (options_.dryRun && !scope.planned) {
        Plan(scope, inputPath, target, ChainOutcome{}, false, std::nullopt, {}, {});
    }
    return handled;
}

bool ConversionRun::ConvertFileOrThrow(FileScope& scope, const std::string& inputPath,
                                       const Target& target,
                                       std::span<const CarriedName> namesAhead) {
    WaitCursor wait(scope.ui);
    scope.source = &inputPath;
    scope.extras.backupSuffix = options_.backupSuffix;
    if (options_.keepTime && target.kind == Target::Kind::kFile) {
        // Taken before anything is written: the result may replace the source.
        scope.extras.modified = ModificationTimeOf(inputPath);
    }
    // Plug-ins only read their input, so the bytes as read (mapped from the file where
    // possible) stay untouched for the final comparison. The source is not mapped where that
    // would keep the result from replacing it.
    const std::vector<std::string> touched = PathsTouched(inputPath, target, namesAhead);
    std::optional<SourceBytes> original =
        ReadSource(scope, inputPath, std::span(touched).subspan(1));
    if (!original) {
        return false;
    }
    const std::span<const unsigned char> read(original->data(), original->size());
    RunTables tables(scope.ui, table_, result_.chosenTable);
    // A large result is converted straight into its file.
    ResultFileRoom room(target.path, read.size());
    const bool intoFile = target.kind == Target::Kind::kFile && read.size() >= kResultFileFrom &&
                          !options_.dryRun;
    // The plug-ins' boxes go where they went before, counted on the way.
    CountedPluginMessages pluginMessages(scope.ui);
    const PluginMessageRoute route(pluginMessages, true);
    ChainEvents events = EventsFor(scope, target);
    events.pluginMessages = [&pluginMessages] { return pluginMessages.count(); };
    ChainOutcome chain = ApplyChain(
        read, chain_, &target.path, tables, scope.pool, events, intoFile ? &room : nullptr,
        options_.convertBinary ? BinaryInput::kConvert : BinaryInput::kPassOn);
    scope.stepFailed = !chain.failedSteps.empty();
    scope.skippedBinary = !chain.binarySkips.empty();
    const std::span<const unsigned char> result =
        chain.roomLength ? std::span<const unsigned char>(room.file()->data(), *chain.roomLength)
        : chain.converted
            ? std::span<const unsigned char>(chain.bytes.data(), chain.bytes.size())
            : read;
    bool handled = true;
    std::optional<std::string> written;
    if (!original->intact()) {
        // A file cut short while it was mapped read as zeros past its new end: nothing made
        // of those bytes may be written.
        scope.ui.setStatusText(texts::CannotReadSource(inputPath, kSourceChanged));
        AskToGoOn(scope, MessageKind::kInputError,
                  texts::CannotReadSource(inputPath, kSourceChanged));
        handled = false;
    } else if (scope.skippedBinary && !chain.converted && !target.standardOutput() &&
               target.path == inputPath) {
        // A binary file that would be written over itself unchanged is left alone: not even
        // its time or its links change.
    } else if (!options_.noOutput || (chain.converted && !SameContent(result.data(), result.size(),
                                                                      read.data(), read.size()))) {
        written = target.standardOutput() ? target.path : chain.newName.value_or(target.path);
        if (chain.converted && !options_.dryRun) {
            // The result owes nothing to the source's bytes: a mapped source is let go before
            // the write, so that it never keeps a result from replacing it under a name that a
            // step gave only after the source was read.
            original.reset();
        }
        handled = WriteResultTo(scope, target, *written, result,
                                chain.roomLength ? room.file() : nullptr);
    }
    if (options_.dryRun) {
        Plan(scope, inputPath, target, chain, handled, handled ? written : std::nullopt, read,
             result);
    }
    scope.pool.Give(std::move(chain.bytes));
    return handled;
}

ChainEvents ConversionRun::EventsFor(FileScope& scope, const Target& target) {
    ChainEvents events;
    events.stepFailed = [&scope](const ChainEntry& step) {
        scope.ui.messageBox(MessageKind::kStepFailed, texts::StepFailed(step.title),
                            texts::kTitleError, kStopOk);
    };
    events.tableNotCarried = [&](const ChainEntry& step, const std::string& table) {
        scope.ui.messageBox(MessageKind::kStepFailed, texts::TableNotCarried(step.title, table),
                            texts::kTitleError, kStopOk);
    };
    events.nameLost = [&](const ChainEntry& step) {
        scope.ui.note(texts::NameNotCarried(step.title, target.path));
    };
    if (target.standardOutput()) {
        events.renamed = [&](const std::string& name) {
            scope.ui.note(texts::StreamNameNotUsed(name));
        };
    }
    return events;
}

std::optional<SourceBytes> ConversionRun::ReadSource(FileScope& scope,
                                                     const std::string& inputPath,
                                                     std::span<const std::string> written) {
    ReadResult read = inputPath == kStandardStream
                          ? ReadWholeDescriptor(STDIN_FILENO)
                          : ReadWholeFile(inputPath, kMaxFileSize, written);
    DisplayText failure;
    switch (read.status) {
        case ReadStatus::kOk:
            return std::move(read.bytes);
        case ReadStatus::kCannotOpen:
            failure = texts::kCannotOpenSource;
            break;
        case ReadStatus::kTooLarge:
            failure = texts::SourceTooLarge(inputPath);
            break;
        case ReadStatus::kReadError:
            failure = texts::CannotReadSource(inputPath, read.reason);
            break;
    }
    scope.ui.setStatusText(failure);
    AskToGoOn(scope, MessageKind::kInputError, failure);
    return std::nullopt;
}

bool ConversionRun::WriteResultTo(FileScope& scope, const Target& target, const std::string& path,
                                  std::span<const unsigned char> bytes, ResultFile* resultFile) {
    if (!target.standardOutput()) {
        return WriteToFile(scope, path, bytes, resultFile);
    }
    if (options_.dryRun) {
        return true;
    }
    const WriteResult written = WriteToDescriptor(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written.status != WriteStatus::kOk) {
        scope.ui.setStatusText(texts::CannotWriteTarget(target.path, written.reason));
        AskToGoOn(scope, MessageKind::kOutputError,
                  texts::CannotWriteTarget(target.path, written.reason));
        return false;
    }
    return true;
}

bool ConversionRun::WriteToFile(FileScope& scope, const std::string& path,
                                std::span<const unsigned char> bytes, ResultFile* resultFile) {
    if (!MayWriteTo(scope, path)) {
        return false;
    }
    const bool seenMissing =
        !options_.overWrite && !platform::PathExists(path) && !PlannedToBeWritten(path);
    if (!options_.overWrite && !seenMissing) {
        const int answer =
            scope.ui.messageBox(MessageKind::kOverwriteQuestion, texts::ConfirmOverwrite(path),
                                texts::kTitleConfirm, kQuestionYesNoCancel);
        if (answer == kAnswerCancel) {
            scope.cancel = true;
        }
        if (answer != kAnswerYes) {
            scope.problem = texts::ConfirmOverwrite(path);
            return false;
        }
    }
    if (!FoldersMadeFor(scope, path)) {
        return false;
    }
    const WriteResult written =
        options_.dryRun ? ForecastReplaceFileContent(path, scope.extras, options_.createFolders)
        : resultFile != nullptr
            ? resultFile->Commit(path, bytes.size(), scope.extras)
            : ReplaceFileContent(path, bytes.data(), bytes.size(), seenMissing, scope.extras);
    if (written.status != WriteStatus::kOk) {
        ReportWriteFailure(scope, path, written);
        return false;
    }
    if (options_.oneSourcePerTarget && scope.source != nullptr) {
        std::lock_guard lock(writtenMutex_);
        written_.try_emplace(ComparablePath(path), *scope.source);
    }
    if (options_.dryRun) {
        planned_.insert(ComparablePath(path));
    }
    return true;
}

bool ConversionRun::MayWriteTo(FileScope& scope, const std::string& path) {
    if (!options_.oneSourcePerTarget || scope.source == nullptr) {
        return true;
    }
    std::string earlier;
    {
        std::lock_guard lock(writtenMutex_);
        const auto found = written_.find(ComparablePath(path));
        if (found == written_.end() || found->second == *scope.source) {
            return true;
        }
        earlier = found->second;
    }
    const DisplayText text = texts::TargetTaken(path, earlier, *scope.source);
    scope.problem = text;
    scope.ui.setStatusText(text);
    scope.ui.messageBox(MessageKind::kOutputError, text, texts::kTitleError, kStopOk);
    return false;
}

bool ConversionRun::FoldersMadeFor(FileScope& scope, const std::string& path) {
    if (!options_.createFolders) {
        return true;
    }
    const std::string folder = platform::RemoveFileName(path);
    const auto failure = options_.dryRun ? ForecastCreateFolders(folder) : CreateFolders(folder);
    if (!failure) {
        return true;
    }
    const DisplayText text = texts::CannotCreateFolder(failure->folder, failure->reason);
    scope.ui.setStatusText(text);
    AskToGoOn(scope, MessageKind::kOutputError, text);
    return false;
}

void ConversionRun::ReportWriteFailure(FileScope& scope, const std::string& path,
                                       const WriteResult& written) {
    DisplayText text;
    switch (written.status) {
        case WriteStatus::kOk:
            return;
        case WriteStatus::kCannotCreate:
            AskToGoOn(scope, MessageKind::kOutputError, texts::kCannotOpenTarget);
            return;
        case WriteStatus::kWriteError:
            text = texts::CannotWriteTarget(path, written.reason);
            break;
        case WriteStatus::kBackupFailed:
            text = texts::CannotBackUp(path, written.backup, written.reason);
            break;
    }
    scope.ui.setStatusText(text);
    AskToGoOn(scope, MessageKind::kOutputError, text);
}

bool ConversionRun::PlannedToBeWritten(const std::string& path) {
    return options_.dryRun && planned_.count(ComparablePath(path)) != 0;
}

void ConversionRun::Plan(FileScope& scope, const std::string& inputPath, const Target& target,
                         const ChainOutcome& chain, bool handled, std::optional<std::string> written,
                         std::span<const unsigned char> before,
                         std::span<const unsigned char> after) {
    scope.planned = true;
    if (!plans_) {
        return;
    }
    FilePlan plan;
    plan.source = &inputPath;
    plan.written = std::move(written);
    if (chain.newName != target.path) {
        plan.newName = chain.newName;
    }
    for (const std::size_t step : chain.failedSteps) {
        plan.failedSteps.push_back(chain_[step].title);
    }
    if (!handled) {
        plan.outcome = FilePlan::Outcome::kFailed;
        plan.problem = scope.problem;
    } else if (!chain.binarySkips.empty() && !chain.converted) {
        plan.outcome = FilePlan::Outcome::kSkippedBinary;
    } else if (chain.converted &&
               !SameContent(after.data(), after.size(), before.data(), before.size())) {
        plan.outcome = FilePlan::Outcome::kConverted;
    }
    if (handled) {
        plan.before = before;
        plan.after = after;
    }
    plans_(plan);
}

}  // namespace host
