// The core's user interface on a terminal: every message goes to stderr in UTF-8 and every
// prompt is answered without a dialogue (run confirmation Yes; overwrite Yes only with -y,
// otherwise No; error prompts OK; the table-file choice Cancel, with a note saying which
// function wanted a table). Every prompt is answered by its kind, whatever its buttons. A progress
// bar is drawn on stderr when it is a terminal.
#pragma once

#include <cstdio>
#include <string>

#include "host/core/ui/user_interface.h"

namespace cli {

class TerminalUi : public host::UserInterface {
public:
    TerminalUi(std::FILE* out, bool answerOverwriteYes, bool drawProgress);
    ~TerminalUi() override;

    int showMessage(const host::Message& message) override;
    void setStatusText(const host::DisplayText&) override {}
    void setProgressRange(int low, int high) override;
    void setProgressPosition(int position) override;
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;
    // Printed as "polyshift-cli: <text>".
    void note(const host::DisplayText& text) override;

    // The answer every box of `kind` with `style` gets, and all of them as preset answers
    // (they let a run convert several files at once).
    int AnswerFor(host::MessageKind kind, unsigned style) const;
    host::PresetAnswers answers() const;

private:
    void ClearProgress();
    void DrawProgress();

    std::FILE* out_;
    bool answerOverwriteYes_;
    bool drawProgress_;
    bool progressShown_ = false;
    int low_ = 0;
    int high_ = 0;
    int position_ = 0;
};

}  // namespace cli
