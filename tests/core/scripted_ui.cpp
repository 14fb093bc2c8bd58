#include "scripted_ui.h"

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace host_testing {

int ScriptedUi::showMessage(const host::Message& message) {
    const unsigned style = message.style;
    log.push_back("box " + std::to_string(style) + " " + message.title.utf8() + ": " +
                  message.text.utf8());
    kinds.push_back(message.kind);
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

void ScriptedUi::endWaitCursor() {
    --waitDepth;
}

void ScriptedUi::beep() { log.push_back("beep"); }

void ScriptedUi::note(const host::DisplayText& text) { log.push_back("note " + text.utf8()); }

namespace {

// The next scripted choice, or what a cancelled dialog gives when the script is used up.
template <typename Choice>
Choice Next(std::deque<Choice>& choices) {
    if (choices.empty()) {
        return Choice{};
    }
    Choice choice = std::move(choices.front());
    choices.pop_front();
    return choice;
}

}  // namespace

std::optional<std::string> ScriptedUi::selectTableFile(const std::string& functionTitle,
                                                       const std::string& /*currentPath*/) {
    log.push_back("table " + platform::Cp932ToUtf8(functionTitle));
    return Next(tableChoices);
}

std::optional<std::string> ScriptedUi::browseForFolder(const std::string& currentFolder) {
    log.push_back("folder " + currentFolder);
    return Next(folderChoices);
}

std::vector<std::string> ScriptedUi::chooseFilesToAdd() {
    log.push_back("add-files");
    return Next(fileChoices);
}

std::optional<std::string> ScriptedUi::chooseSettingsListToLoad() {
    log.push_back("load-list");
    return Next(settingsListChoices);
}

std::optional<std::string> ScriptedUi::chooseSettingsListToSave() {
    log.push_back("save-list");
    return Next(settingsListChoices);
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
