// Everything the core's commands ask of the face they run behind, split by what they need
// back: questions (message boxes, the table-file choice) wait for the user's answer; reports
// (the status line, the progress bar, the wait cursor, the beep, notes) do not.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/core/ui/display_text.h"

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

// What needs an answer: the caller waits for it. A window shows these modally, even when the
// run asks from a thread of its own.
class Questions {
public:
    virtual ~Questions() = default;

    // A modal box; the answer uses the values of platform/message_box.h.
    virtual int showMessage(const Message& message) = 0;
    int messageBox(MessageKind kind, const DisplayText& text, const DisplayText& title,
                   unsigned style) {
        return showMessage({kind, text, title, style});
    }
    // The user picks a conversion-table file, for the function titled `functionTitle` (Shift
    // JIS; empty when no function asks) and starting from `currentPath`; nothing when they
    // cancel.
    virtual std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                                       const std::string& currentPath) = 0;
};

// What needs no answer: the caller goes on at once. A window may show these a little later,
// but always all of them and in the order they were made.
class Reports {
public:
    virtual ~Reports() = default;

    virtual void setStatusText(const DisplayText& text) = 0;
    virtual void setProgressRange(int low, int high) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
    // The system's default beep.
    virtual void beep() {}
    // A remark on the work that no box is shown for, such as a new name that standard output
    // cannot take.
    virtual void note(const DisplayText& text) { (void)text; }
};

// The face the core's commands run behind.
class UserInterface : public Questions, public Reports {};

// The answers of a face that answers every question by its kind without asking anybody (a
// terminal, a test's script): with them a run may convert several files at once, since every
// answer is known before the question comes.
using PresetAnswers = std::function<int(MessageKind kind, unsigned style)>;

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor {
public:
    explicit WaitCursor(Reports& ui) : ui_(ui) { ui_.beginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ui_.endWaitCursor(); }

private:
    Reports& ui_;
};

// Routes the message boxes of plug-ins (platform::ShowMessageBox) to `ui` while it lives,
// and restores the previous route afterwards: for every thread, or with `thisThreadOnly` for
// the calling thread alone (ahead of the route for every thread).
class PluginMessageRoute {
public:
    explicit PluginMessageRoute(Questions& ui, bool thisThreadOnly = false);
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
