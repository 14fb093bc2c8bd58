// Everything the core asks of the face it runs behind: message boxes, the status line, the
// progress bar, the wait cursor, the beep and the file and folder choices.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/display_text.h"

namespace host {

// What a message box is about. A face that answers without asking (the terminal, a test)
// decides by this, never by the buttons a box happens to have.
enum class MessageKind {
    kRunConfirmation,    // the run is about to start: Yes goes on
    kOverwriteQuestion,  // an existing file would be replaced: Yes, No or Cancel (ends the run)
    kInputError,         // a source file cannot be read: OK goes on, Cancel ends the run
    kOutputError,        // a result cannot be written: OK goes on, Cancel ends the run
    kStepFailed,         // a function of the chain failed on a file; the step is skipped
    kFileFailed,         // a file counted as failed
    kRunFinished,        // the final report of a run
    kCommandError,       // a command cannot do what was asked (no files, nothing selected)
    kSettingsError,      // a settings list could not be saved
    kSystemError,        // the system's text for an error
    kPluginMessage,      // a plug-in's own box
};

struct Message {
    MessageKind kind = MessageKind::kCommandError;
    DisplayText text;
    DisplayText title;
    unsigned style = 0;  // buttons, icon and default button, as in platform/message_box.h
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal box; the answer uses the values of platform/message_box.h.
    virtual int showMessage(const Message& message) = 0;
    int messageBox(MessageKind kind, const DisplayText& text, const DisplayText& title,
                   unsigned style) {
        return showMessage({kind, text, title, style});
    }
    virtual void setStatusText(const DisplayText& text) = 0;
    virtual void setProgressRange(int low, int high) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
    // The system's default beep.
    virtual void beep() {}

    // The user picks a conversion-table file, for the function titled `functionTitle` (Shift
    // JIS; empty when no function asks) and starting from `currentPath`; nothing when they
    // cancel.
    virtual std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                                       const std::string& currentPath) = 0;

    // The choices only a window offers; a face without them chooses nothing.
    // The output folder, starting from `currentFolder`.
    virtual std::optional<std::string> browseForFolder(const std::string& /*currentFolder*/) {
        return std::nullopt;
    }
    // Files to add to the file list; empty when cancelled.
    virtual std::vector<std::string> chooseFilesToAdd() { return {}; }
    // A settings-list file to load, or to save to (an existing file already confirmed).
    virtual std::optional<std::string> chooseSettingsListToLoad() { return std::nullopt; }
    virtual std::optional<std::string> chooseSettingsListToSave() { return std::nullopt; }

    // For a face that answers every prompt without asking anybody (a terminal), the answer
    // a box of `kind` with `style` gets; nothing for a face that asks. Such a face never picks
    // a table file. It lets a run convert several files at once (ConversionRun::RunBatch).
    virtual std::optional<int> answerWithoutAsking(MessageKind kind, unsigned style) const {
        (void)kind;
        (void)style;
        return std::nullopt;
    }

    // A function proposed `newName` for a result that goes to standard output, which keeps
    // no name: the name is not used.
    virtual void streamNameIgnored(const std::string& newName) { (void)newName; }

    // The regular-expression tool can (or cannot) be used.
    virtual void setRegexToolEnabled(bool) {}
};

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor {
public:
    explicit WaitCursor(UserInterface& ui) : ui_(ui) { ui_.beginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ui_.endWaitCursor(); }

private:
    UserInterface& ui_;
};

// Routes the message boxes of plug-ins (platform::ShowMessageBox) to `ui` while it lives,
// and restores the previous route afterwards: for every thread, or with `thisThreadOnly` for
// the calling thread alone (ahead of the route for every thread).
class PluginMessageRoute {
public:
    explicit PluginMessageRoute(UserInterface& ui, bool thisThreadOnly = false);
    PluginMessageRoute(const PluginMessageRoute&) = delete;
    PluginMessageRoute& operator=(const PluginMessageRoute&) = delete;
    ~PluginMessageRoute();

private:
    using Handler = int (*)(void*, const char*, const char*, unsigned);
    bool thisThreadOnly_;
    Handler previous_ = nullptr;
    void* previousContext_ = nullptr;
};

}  // namespace host
