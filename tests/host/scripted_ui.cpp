#include "scripted_ui.h"

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace host_testing {

int ScriptedUi::messageBox(const host::DisplayText& text, const host::DisplayText& title,
                           unsigned style) {
    log.push_back("box " + std::to_string(style) + " " + title.utf8() + ": " + text.utf8());
    if ((style & platform::kButtonsMask) == platform::kButtonsOk) {
        return platform::kAnswerOk;
    }
    if (answers.empty()) {
        return platform::DefaultAnswer(style);
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUi::setStatusText(const host::DisplayText& text) {
    log.push_back("status " + text.utf8());
}

void ScriptedUi::setProgressRange(int low, int high) {
    log.push_back("range " + std::to_string(low) + " " + std::to_string(high));
}

void ScriptedUi::setProgressPosition(int position) {
    log.push_back("pos " + std::to_string(position));
}

void ScriptedUi::beginWaitCursor() {
    ++waitDepth;
    maxWaitDepth = std::max(maxWaitDepth, waitDepth);
}

void ScriptedUi::endWaitCursor() { --waitDepth; }

void ScriptedUi::beep() { log.push_back("beep"); }

std::optional<std::string> ScriptedUi::selectTableFile(const std::string& functionTitle) {
    log.push_back("table " + platform::Cp932ToUtf8(functionTitle));
    if (tableChoices.empty()) {
        return std::nullopt;
    }
    auto choice = tableChoices.front();
    tableChoices.pop_front();
    return choice;
}

void ScriptedUi::setRegexToolEnabled(bool enabled) {
    log.push_back(enabled ? "regex-tool on" : "regex-tool off");
}

std::vector<std::string> ScriptedUi::Only(const std::string& kind) const {
    std::vector<std::string> lines;
    for (const auto& line : log) {
        if (line.compare(0, kind.size() + 1, kind + " ") == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace host_testing
