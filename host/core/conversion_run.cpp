#include "host/core/conversion_run.h"

#include <unistd.h>

#include <cstdint>
#include <cstring>

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

}  // namespace

std::string ConversionRun::OutputPathFor(const std::string& inputPath) const {
    if (options_.overWrite || inputPath == kStandardStream) {
        return inputPath;
    }
    return platform::JoinPath(options_.outputFolder, platform::FileNameOf(inputPath));
}

void ConversionRun::AskToGoOn(const DisplayText& text) {
    if (ui_.messageBox(text, texts::kTitleError, kStopOkCancel) == kAnswerCancel) {
        cancelRequested_ = true;
    }
}

void ConversionRun::RunBatch() {
    const std::size_t count = files_.size();
    if (count == 0) {
        ui_.messageBox(texts::kNoSourceFiles, texts::kTitleError, kStopOk);
        ui_.setStatusText(texts::kNoSourceFiles);
        return;
    }
    const int last = count > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(count);
    ui_.setProgressRange(0, last);
    ui_.setProgressPosition(0);
    ui_.setStatusText({});
    if (ui_.messageBox(texts::kConfirmRun, texts::kTitleConfirm, kQuestionYesNo) != kAnswerYes) {
        return;
    }
    errorCount_ = 0;
    cancelRequested_ = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& input = files_[i];
        if (!ConvertFile(input, OutputPathFor(input))) {
            ui_.messageBox(texts::FileFailed(input), texts::kTitleError, kStopOk);
            ++errorCount_;
        }
        ui_.setProgressPosition(static_cast<int>(i));
        ui_.setStatusText(input);
        if (cancelRequested_) {
            break;
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
    ui_.messageBox(final, texts::kTitleFinished, kInformationOk);
}

bool ConversionRun::ConvertFile(const std::string& inputPath, const std::string& outputPath) {
    WaitCursor wait(ui_);
    std::string currentOutput = outputPath;

    const bool stream = inputPath == kStandardStream;
    ReadResult read = stream ? ReadWholeDescriptor(STDIN_FILENO) : ReadWholeFile(inputPath);
    switch (read.status) {
        case ReadStatus::kOk:
            break;
        case ReadStatus::kCannotOpen:
            ui_.setStatusText(texts::kCannotOpenSource);
            AskToGoOn(texts::kCannotOpenSource);
            return false;
        case ReadStatus::kTooLarge:
            ui_.setStatusText(texts::SourceTooLarge(inputPath));
            AskToGoOn(texts::SourceTooLarge(inputPath));
            return false;
        case ReadStatus::kReadError:
            ui_.setStatusText(texts::CannotReadSource(inputPath, read.reason));
            AskToGoOn(texts::CannotReadSource(inputPath, read.reason));
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
            if (auto chosen = ui_.selectTableFile(step.title)) {
                options_.tablePath = *chosen;
            }
        }
        request.tablePath = options_.tablePath.c_str();
        const uint32_t size = function.getBufferSize(&request);
        if (size == 0) {
            continue;
        }
        ByteBuffer output = pool_.Take(size);
        request.output = output.data();
        request.outputCapacity = size;
        request.outputLength = 0;
        if (function.convert(&request) == 0) {
            pool_.Give(std::move(output));
            ui_.messageBox(texts::StepFailed(step.title), texts::kTitleError, kStopOk);
            continue;
        }
        newPath[0] = '\0';
        if (function.renameFile(outputPath.c_str(), newPath, function.functionIndex) != 0 &&
            newPath[0] != '\0') {
            // Standard output has no name to change.
            if (outputPath == kStandardStream) {
                ui_.streamNameIgnored(std::string(newPath, strnlen(newPath, sizeof newPath)));
            } else {
                currentOutput.assign(newPath, strnlen(newPath, sizeof newPath));
            }
        }
        // A plug-in that reports more than it asked room for is not believed beyond it (a
        // reused buffer may be larger, and what lies past the step's room is not its output).
        output.resize(request.outputLength < size ? request.outputLength : size);
        pool_.Give(std::move(converted));
        converted = std::move(output);
        changedByStep = true;
        workingData = converted.data();
        workingSize = converted.size();
    }

    // A file cut short while it was mapped read as zeros past its new end: nothing made of
    // those bytes may be written.
    if (!original.intact()) {
        pool_.Give(std::move(converted));
        ui_.setStatusText(texts::CannotReadSource(inputPath, kSourceChanged));
        AskToGoOn(texts::CannotReadSource(inputPath, kSourceChanged));
        return false;
    }
    if (options_.noOutput &&
        (!changedByStep || SameContent(workingData, workingSize, original.data(), original.size()))) {
        pool_.Give(std::move(converted));
        return true;
    }
    if (currentOutput == kStandardStream) {
        const WriteResult written = WriteToDescriptor(STDOUT_FILENO, workingData, workingSize);
        pool_.Give(std::move(converted));
        if (written.status != WriteStatus::kOk) {
            ui_.setStatusText(texts::CannotWriteTarget(currentOutput, written.reason));
            AskToGoOn(texts::CannotWriteTarget(currentOutput, written.reason));
            return false;
        }
        return true;
    }
    if (!options_.overWrite && platform::PathExists(currentOutput)) {
        const int answer =
            ui_.messageBox(texts::ConfirmOverwrite(currentOutput), texts::kTitleConfirm,
                           kQuestionYesNoCancel);
        if (answer == kAnswerCancel) {
            cancelRequested_ = true;
            return false;
        }
        if (answer != kAnswerYes) {
            return false;
        }
    }
    const WriteResult written = ReplaceFileContent(currentOutput, workingData, workingSize);
    pool_.Give(std::move(converted));
    switch (written.status) {
        case WriteStatus::kOk:
            return true;
        case WriteStatus::kCannotCreate:
            AskToGoOn(texts::kCannotOpenTarget);
            return false;
        case WriteStatus::kWriteError:
            ui_.setStatusText(texts::CannotWriteTarget(currentOutput, written.reason));
            AskToGoOn(texts::CannotWriteTarget(currentOutput, written.reason));
            return false;
    }
    return false;
}

}  // namespace host
