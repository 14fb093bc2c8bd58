#include "host/core/conversion_run.h"

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "host/core/host_texts.h"
#include "host/core/same_content.h"
#include "host/core/whole_file.h"
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

// Inputs from this size on get their step's output buffer prepared ahead (BufferPool::Prepare).
constexpr std::size_t kPrepareFrom = std::size_t{8} << 20;

}  // namespace

std::string ConversionRun::OutputPathFor(const std::string& inputPath) const {
    if (options_.overWrite || inputPath == kStandardStream) {
        return inputPath;
    }
    return platform::JoinPath(options_.outputFolder, platform::FileNameOf(inputPath));
}

std::vector<std::string> ConversionRun::PathsTouchedBy(const std::string& inputPath,
                                                       const std::string& outputPath) const {
    std::vector<std::string> paths{inputPath, outputPath};
    // Renaming is a function of the path alone, so the names are known before the run.
    char newPath[platform::kMaxPath];
    for (const ChainEntry& step : chain_) {
        newPath[0] = '\0';
        if (step.entry->renameFile(outputPath.c_str(), newPath, step.entry->functionIndex) != 0 &&
            newPath[0] != '\0') {
            paths.emplace_back(newPath, strnlen(newPath, sizeof newPath));
        }
    }
    return paths;
}

void ConversionRun::AskToGoOn(FileScope& scope, MessageKind kind, const DisplayText& text) {
    if (scope.ui.messageBox(kind, text, texts::kTitleError, kStopOkCancel) == kAnswerCancel) {
        scope.cancel = true;
    }
}

void ConversionRun::ReportFile(std::size_t index, bool handled) {
    const std::string& input = files_[index];
    if (!handled) {
        ui_.messageBox(MessageKind::kFileFailed, texts::FileFailed(input), texts::kTitleError,
                       kStopOk);
        ++errorCount_;
    }
    ui_.setProgressPosition(static_cast<int>(index));
    ui_.setStatusText(input);
}

namespace {

// True when `ui` answers every prompt a run may show without asking, and never with Cancel:
// then files may be converted ahead of their turn, since nobody can stop the run.
bool AnswersKnownInAdvance(const UserInterface& ui) {
    const std::pair<MessageKind, unsigned> prompts[] = {
        {MessageKind::kStepFailed, kStopOk},
        {MessageKind::kFileFailed, kStopOk},
        {MessageKind::kInputError, kStopOkCancel},
        {MessageKind::kOutputError, kStopOkCancel},
        {MessageKind::kOverwriteQuestion, kQuestionYesNoCancel},
        {MessageKind::kPluginMessage, kStopOk},
    };
    for (const auto& [kind, style] : prompts) {
        const auto answer = ui.answerWithoutAsking(kind, style);
        if (!answer || *answer == kAnswerCancel) {
            return false;
        }
    }
    return true;
}

}  // namespace

void ConversionRun::RunBatch(unsigned jobs) {
    const std::size_t count = files_.size();
    if (count == 0) {
        ui_.messageBox(MessageKind::kCommandError, texts::kNoSourceFiles, texts::kTitleError,
                       kStopOk);
        ui_.setStatusText(texts::kNoSourceFiles);
        return;
    }
    const int last = count > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(count);
    ui_.setProgressRange(0, last);
    ui_.setProgressPosition(0);
    ui_.setStatusText({});
    if (ui_.messageBox(MessageKind::kRunConfirmation, texts::kConfirmRun, texts::kTitleConfirm,
                       kQuestionYesNo) != kAnswerYes) {
        return;
    }
    errorCount_ = 0;
    cancelRequested_ = false;
    if (jobs > 1 && count > 1 && AnswersKnownInAdvance(ui_)) {
        ConvertFilesAtOnce(jobs);
    } else {
        for (std::size_t i = 0; i < count && !cancelRequested_; ++i) {
            const std::string& input = files_[i];
            ReportFile(i, ConvertFile(input, OutputPathFor(input)));
        }
    }
    DisplayText final;
    if (cancelRequested_) {
        final = texts::Cancelled(errorCount_);
    } else {
        ui_.setProgressPosition(last);
        final = texts::AllDone(errorCount_);
    }
    ui_.setStatusText(final);
    ui_.messageBox(MessageKind::kRunFinished, final, texts::kTitleFinished, kInformationOk);
}

bool ConversionRun::ConvertFile(const std::string& inputPath, const std::string& outputPath) {
    FileScope scope{ui_, pool_};
    const bool handled = ConvertFileIn(scope, inputPath, outputPath);
    cancelRequested_ = cancelRequested_ || scope.cancel;
    return handled;
}

bool ConversionRun::ConvertFileIn(FileScope& scope, const std::string& inputPath,
                                  const std::string& outputPath) {
    try {
        return ConvertFileOrThrow(scope, inputPath, outputPath);
    } catch (const std::bad_alloc&) {
        // A file too large for the memory left fails alone; the run goes on.
        scope.ui.setStatusText(texts::CannotReadSource(inputPath, kNoMemory));
        AskToGoOn(scope, MessageKind::kInputError, texts::CannotReadSource(inputPath, kNoMemory));
        return false;
    }
}

bool ConversionRun::ConvertFileOrThrow(FileScope& scope, const std::string& inputPath,
                                       const std::string& outputPath) {
    WaitCursor wait(scope.ui);
    std::string currentOutput = outputPath;

    const bool stream = inputPath == kStandardStream;
    ReadResult read = stream ? ReadWholeDescriptor(STDIN_FILENO) : ReadWholeFile(inputPath);
    switch (read.status) {
        case ReadStatus::kOk:
            break;
        case ReadStatus::kCannotOpen:
            scope.ui.setStatusText(texts::kCannotOpenSource);
            AskToGoOn(scope, MessageKind::kInputError, texts::kCannotOpenSource);
            return false;
        case ReadStatus::kTooLarge:
            scope.ui.setStatusText(texts::SourceTooLarge(inputPath));
            AskToGoOn(scope, MessageKind::kInputError, texts::SourceTooLarge(inputPath));
            return false;
        case ReadStatus::kReadError:
            scope.ui.setStatusText(texts::CannotReadSource(inputPath, read.reason));
            AskToGoOn(scope, MessageKind::kInputError,
                      texts::CannotReadSource(inputPath, read.reason));
            return false;
    }
    // Plug-ins only read their input, so the bytes as read (mapped from the file where
    // possible) stay untouched for the final comparison; the working bytes are the last
    // successful step's output. Output buffers come from the pool and go back to it.
    const SourceBytes original = std::move(read.bytes);
    ByteBuffer converted;
    bool changedByStep = false;
    const unsigned char* workingData = original.data();
    std::size_t workingSize = original.size();

    ConvertRequest request{};
    char newPath[platform::kMaxPath];
    for (const ChainEntry& step : chain_) {
        const FunctionEntry& function = *step.entry;
        request.size = sizeof request;
        request.input = workingData;
        request.inputLength = static_cast<uint32_t>(workingSize);
        request.functionIndex = function.functionIndex;
        if (function.isUseTable(function.functionIndex) != 0 && options_.tablePath.empty()) {
            if (auto chosen = scope.ui.selectTableFile(step.title, options_.tablePath)) {
                options_.tablePath = *chosen;
            }
        }
        request.tablePath = options_.tablePath.c_str();
        if (workingSize >= kPrepareFrom) {
            // The output is most likely about as large as the input: its pages are cleared
            // on another thread while the plug-in measures it.
            scope.pool.Prepare(workingSize * 3, workingSize + workingSize / 16);
        }
        const uint32_t size = function.getBufferSize(&request);
        if (size == 0) {
            continue;
        }
        ByteBuffer output = scope.pool.Take(size);
        request.output = output.data();
        request.outputCapacity = size;
        request.outputLength = 0;
        if (function.convert(&request) == 0) {
            scope.pool.Give(std::move(output));
            scope.ui.messageBox(MessageKind::kStepFailed, texts::StepFailed(step.title),
                                texts::kTitleError, kStopOk);
            continue;
        }
        newPath[0] = '\0';
        if (function.renameFile(outputPath.c_str(), newPath, function.functionIndex) != 0 &&
            newPath[0] != '\0') {
            // Standard output has no name to change.
            if (outputPath == kStandardStream) {
                scope.ui.streamNameIgnored(std::string(newPath, strnlen(newPath, sizeof newPath)));
            } else {
                currentOutput.assign(newPath, strnlen(newPath, sizeof newPath));
            }
        }
        // A plug-in that reports more than it asked room for is not believed beyond it (a
        // reused buffer may be larger, and what lies past the step's room is not its output).
        output.resize(request.outputLength < size ? request.outputLength : size);
        scope.pool.Give(std::move(converted));
        converted = std::move(output);
        changedByStep = true;
        workingData = converted.data();
        workingSize = converted.size();
    }

    // A file cut short while it was mapped read as zeros past its new end: nothing made of
    // those bytes may be written.
    if (!original.intact()) {
        scope.pool.Give(std::move(converted));
        scope.ui.setStatusText(texts::CannotReadSource(inputPath, kSourceChanged));
        AskToGoOn(scope, MessageKind::kInputError,
                  texts::CannotReadSource(inputPath, kSourceChanged));
        return false;
    }
    if (options_.noOutput &&
        (!changedByStep || SameContent(workingData, workingSize, original.data(), original.size()))) {
        scope.pool.Give(std::move(converted));
        return true;
    }
    if (currentOutput == kStandardStream) {
        const WriteResult written = WriteToDescriptor(STDOUT_FILENO, workingData, workingSize);
        scope.pool.Give(std::move(converted));
        if (written.status != WriteStatus::kOk) {
            scope.ui.setStatusText(texts::CannotWriteTarget(currentOutput, written.reason));
            AskToGoOn(scope, MessageKind::kOutputError,
                      texts::CannotWriteTarget(currentOutput, written.reason));
            return false;
        }
        return true;
    }
    const bool seenMissing = !options_.overWrite && !platform::PathExists(currentOutput);
    if (!options_.overWrite && !seenMissing) {
        const int answer = scope.ui.messageBox(MessageKind::kOverwriteQuestion,
                                               texts::ConfirmOverwrite(currentOutput),
                                               texts::kTitleConfirm, kQuestionYesNoCancel);
        if (answer == kAnswerCancel) {
            scope.cancel = true;
            return false;
        }
        if (answer != kAnswerYes) {
            return false;
        }
    }
    const WriteResult written =
        ReplaceFileContent(currentOutput, workingData, workingSize, seenMissing);
    scope.pool.Give(std::move(converted));
    switch (written.status) {
        case WriteStatus::kOk:
            return true;
        case WriteStatus::kCannotCreate:
            AskToGoOn(scope, MessageKind::kOutputError, texts::kCannotOpenTarget);
            return false;
        case WriteStatus::kWriteError:
            scope.ui.setStatusText(texts::CannotWriteTarget(currentOutput, written.reason));
            AskToGoOn(scope, MessageKind::kOutputError,
                      texts::CannotWriteTarget(currentOutput, written.reason));
            return false;
    }
    return false;
}

}  // namespace host
