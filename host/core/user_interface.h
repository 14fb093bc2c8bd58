// Everything the core asks of the face it runs behind: message boxes, the status line, the
// progress bar, the wait cursor, the beep and the table-file choice.
#pragma once

#include <optional>
#include <string>

#include "host/core/display_text.h"

namespace host {

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal box; `style` and the answer use the values of platform/message_box.h.
    virtual int messageBox(const DisplayText& text, const DisplayText& title,
                           unsigned style) = 0;
    virtual void setStatusText(const DisplayText& text) = 0;
    virtual void setProgressRange(int low, int high) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
    // The system's default beep.
    virtual void beep() {}

    // The user picks a conversion-table file for the function titled `functionTitle`
    // (Shift JIS); nothing when they cancel.
    virtual std::optional<std::string> selectTableFile(const std::string& functionTitle) = 0;

    // For a face that answers every prompt without asking anybody (a terminal), the answer
    // messageBox gives for `style`; nothing for a face that asks. Such a face never picks a
    // table file. It lets a run convert several files at once (ConversionRun::RunBatch).
    virtual std::optional<int> answerWithoutAsking(unsigned style) const {
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
