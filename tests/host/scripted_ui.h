// A user interface that answers from a script and writes down everything it is shown, in
// order, as readable lines:
//   "box <style> <title>: <text>"   a message box (style as a decimal number)
//   "status <text>"                 the status line
//   "range <low> <high>"            the progress range
//   "pos <position>"                the progress position
//   "table <title>"                 the table-file choice for a function
//   "regex-tool on" / "regex-tool off"
//   "beep"
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/core/user_interface.h"

namespace host_testing {

class ScriptedUi : public host::UserInterface {
public:
    // Answers for boxes with more than an OK button, in order; when none is left a box gets
    // its default button.
    std::deque<int> answers;
    // What the table-file choices return, in order; when none is left they are cancelled.
    std::deque<std::optional<std::string>> tableChoices;

    std::vector<std::string> log;
    int waitDepth = 0;
    int maxWaitDepth = 0;

    int messageBox(const host::DisplayText& text, const host::DisplayText& title,
                   unsigned style) override;
    void setStatusText(const host::DisplayText& text) override;
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beep() override;
    std::optional<std::string> selectTableFile(const std::string& functionTitle) override;
    void setRegexToolEnabled(bool enabled) override;

    // The log lines that start with `kind` ("box", "pos", ...).
    std::vector<std::string> Only(const std::string& kind) const;
};

}  // namespace host_testing
