#include "host/core/ui/message_recorder.h"

namespace host {

int MessageRecorder::showMessage(const Message& message) {
    events_.push_back({Kind::kBox, message, {}});
    return answers_(message.kind, message.style);
}

void MessageRecorder::setStatusText(const DisplayText& text) {
    events_.push_back({Kind::kStatus, {MessageKind::kCommandError, text, {}, 0}, {}});
}

void MessageRecorder::note(const DisplayText& text) {
    events_.push_back({Kind::kNote, {MessageKind::kCommandError, text, {}, 0}, {}});
}

std::optional<std::string> MessageRecorder::selectTableFile(const std::string& functionTitle,
                                                            const std::string& /*currentPath*/) {
    events_.push_back({Kind::kTable, {}, functionTitle});
    return std::nullopt;
}

void MessageRecorder::Replay(UserInterface& ui) {
    for (const Event& event : events_) {
        switch (event.kind) {
            case Kind::kBox:
                ui.showMessage(event.message);
                break;
            case Kind::kStatus:
                ui.setStatusText(event.message.text);
                break;
            case Kind::kNote:
                ui.note(event.message.text);
                break;
            case Kind::kTable:
                ui.selectTableFile(event.name, {});
                break;
        }
    }
    events_.clear();
    events_.shrink_to_fit();
}

}  // namespace host
