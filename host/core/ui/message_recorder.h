// A face that shows nothing while a file is converted on a thread of its own: it writes down
// what the file's conversion shows and answers every question from preset answers, so that
// the real face can show the same messages later, in file-list order.
#pragma once

#include <string>
#include <vector>

#include "host/core/ui/user_interface.h"

namespace host {

class MessageRecorder : public UserInterface {
  public:
    explicit MessageRecorder(PresetAnswers answers) : answers_(std::move(answers)) {}

    int showMessage(const Message& message) override;
    void setStatusText(const DisplayText& text) override;
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    void note(const DisplayText& text) override;
    // Written down; nothing is picked, as a face with preset answers would.
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;

    // Shows everything written down on `ui`, in the order it happened, and forgets it.
    void Replay(UserInterface& ui);

  private:
    enum class Kind { kBox, kStatus, kNote, kTable };
    struct Event {
        Kind kind;
        Message message;  // a box's, or the status or note text in message.text
        std::string name;
    };

    PresetAnswers answers_;
    std::vector<Event> events_;
};

}  // namespace host
