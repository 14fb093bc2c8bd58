#include "host/core/message_recorder.h"

#include "platform/message_box.h"

namespace host {

int MessageRecorder::messageBox(const DisplayText& text, const DisplayText& title, unsigned style) {
    events_.push_back({Kind::kBox, text, title, style, {}});
    return face_->answerWithoutAsking(style).value_or(platform::DefaultAnswer(style));
}

void MessageRecorder::setStatusText(const DisplayText& text) {
    events_.push_back({Kind::kStatus, text, {}, 0, {}});
}

std::optional<std::string> MessageRecorder::selectTableFile(const std::string& functionTitle) {
    events_.push_back({Kind::kTable, {}, {}, 0, functionTitle});
    return std::nullopt;
}

void MessageRecorder::streamNameIgnored(const std::string& newName) {
    events_.push_back({Kind::kStreamName, {}, {}, 0, newName});
}

std::optional<int> MessageRecorder::answerWithoutAsking(unsigned style) const {
    return face_->answerWithoutAsking(style);
}

void MessageRecorder::Replay(UserInterface& ui) {
    for (const Event& event : events_) {
        switch (event.kind) {
            case Kind::kBox:
                ui.messageBox(event.text, event.title, event.style);
                break;
            case Kind::kStatus:
                ui.setStatusText(event.text);
                break;
            case Kind::kTable:
                ui.selectTableFile(event.name);
                break;
            case Kind::kStreamName:
                ui.streamNameIgnored(event.name);
                break;
        }
    }
    events_.clear();
    events_.shrink_to_fit();
}

}  // namespace host
