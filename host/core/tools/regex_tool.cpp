#include "host/core/tools/regex_tool.h"

#include <climits>

#include "host/core/ui/host_texts.h"
#include "host/core/tools/tool_texts.h"
#include "host/core/files/create_folders.h"
#include "host/core/files/text_content.h"
#include "host/core/files/whole_file.h"
#include "platform/folder.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/shared_string.h"

namespace host {
namespace {

constexpr unsigned kStopOk = platform::kIconStop | platform::kButtonsOk;
constexpr unsigned kQuestionYesNo = platform::kIconQuestion | platform::kButtonsYesNo;
constexpr unsigned kInformationOk = platform::kIconInformation | platform::kButtonsOk;

void ShowError(UserInterface& ui, MessageKind kind, const DisplayText& text, bool onStatusLine) {
    ui.messageBox(kind, text, texts::kTitleError, kStopOk);
    if (onStatusLine) {
        ui.setStatusText(text);
    }
}

}  // namespace

bool ConvertFileByRegex(UserInterface& ui, const std::string& source,
                        const std::string& destination, const std::string& command,
                        XfmRegExpFn regExp, const RunOptions& options, bool* skippedBinary) {
    WaitCursor wait(ui);
    const std::string replaced[] = {destination};
    const ReadResult read = ReadWholeFile(source, kMaxFileSize, replaced);
    switch (read.status) {
        case ReadStatus::kOk:
            break;
        case ReadStatus::kCannotOpen:
            ShowError(ui, MessageKind::kInputError, texts::kCannotOpenSource, true);
            return false;
        case ReadStatus::kTooLarge:
            ShowError(ui, MessageKind::kInputError, texts::SourceTooLarge(source), true);
            return false;
        case ReadStatus::kReadError:
            ShowError(ui, MessageKind::kInputError, texts::CannotReadSource(source, read.reason),
                      true);
            return false;
    }
    const std::string_view original(reinterpret_cast<const char*>(read.bytes.data()),
                                    read.bytes.size());
    platform::SharedString text(original);
    const bool binary =
        !options.convertBinary &&
        ClassifyContent(std::span(read.bytes.data(), read.bytes.size())).binary;
    if (skippedBinary != nullptr) {
        *skippedBinary = binary;
    }
    if (!binary && regExp(&text, command.c_str()) == 0) {
        return false;
    }
    if ((options.noOutput || (binary && destination == source)) && text.view() == original) {
        return true;
    }
    if (!options.overWrite && platform::PathExists(destination)) {
        if (ui.messageBox(MessageKind::kOverwriteQuestion, texts::ConfirmOverwrite(destination),
                          texts::kTitleConfirm, kQuestionYesNo) != platform::kAnswerYes) {
            return false;
        }
    }
    if (options.createFolders) {
        if (const auto failure = CreateFolders(platform::RemoveFileName(destination))) {
            ShowError(ui, MessageKind::kOutputError,
                      texts::CannotCreateFolder(failure->folder, failure->reason), true);
            return false;
        }
    }
    const WriteResult written = ReplaceFileContent(
        destination, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    switch (written.status) {
        case WriteStatus::kOk:
            return true;
        case WriteStatus::kCannotCreate:
            ShowError(ui, MessageKind::kOutputError, texts::kCannotOpenTarget, false);
            return false;
        case WriteStatus::kWriteError:
        case WriteStatus::kBackupFailed:  // no backup is asked for here
            ShowError(ui, MessageKind::kOutputError,
                      texts::CannotWriteTarget(destination, written.reason), true);
            return false;
    }
    return false;
}

RegexToolResult RunRegexTool(UserInterface& ui, platform::LibraryHandle rulebook,
                             const std::vector<std::string>& files, const RunOptions& options,
                             const std::function<std::optional<std::string>()>& askCommand) {
    RegexToolResult result;
    if (rulebook == nullptr) {
        return result;
    }
    const std::size_t count = files.size();
    if (count == 0) {
        ShowError(ui, MessageKind::kCommandError, texts::kNoSourceFiles, true);
        return result;
    }
    const int last = count > INT_MAX ? INT_MAX : static_cast<int>(count);
    ui.setProgressRange(0, last);
    ui.setProgressPosition(0);
    ui.setStatusText({});
    const std::optional<std::string> command = askCommand();
    if (!command || command->empty()) {
        return result;
    }
    const auto getVersion = platform::BindEntryAs<XfmGetVersionFn>(rulebook, kXfmGetVersionName);
    const auto regExp = platform::BindEntryAs<XfmRegExpFn>(rulebook, kXfmRegExpName);
    if (getVersion == nullptr || getVersion() < kOldestRegexRulebook || regExp == nullptr) {
        ShowError(ui, MessageKind::kCommandError, texts::kOldRulebook, true);
        return result;
    }
    result.ran = true;
    PluginMessageRoute route(ui);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& source = files[i];
        const std::string destination =
            options.overWrite
                ? source
                : platform::JoinPath(options.outputFolder, platform::FileNameOf(source));
        bool skippedBinary = false;
        if (!ConvertFileByRegex(ui, source, destination, *command, regExp, options,
                                &skippedBinary)) {
            ShowError(ui, MessageKind::kFileFailed, texts::FileFailed(source), false);
            ++result.errors;
        }
        if (skippedBinary) {
            ui.note(texts::SkippedBinary(source));
            ++result.skippedBinary;
        }
        ui.setProgressPosition(i > INT_MAX ? INT_MAX : static_cast<int>(i));
        ui.setStatusText(skippedBinary ? texts::SkippedBinary(source) : DisplayText(source));
    }
    ui.setProgressPosition(last);
    const DisplayText done =
        texts::WithSkippedBinary(texts::AllDone(result.errors), result.skippedBinary);
    ui.setStatusText(done);
    ui.messageBox(MessageKind::kRunFinished, done, texts::kTitleFinished, kInformationOk);
    return result;
}

}  // namespace host
