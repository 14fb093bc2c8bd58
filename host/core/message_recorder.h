// A face that shows nothing while a file is converted on a thread of its own: it writes down
// what the file's conversion shows and answers every prompt as the real face would without
// asking, so that the real face can show the same messages later, in file-list order.
#pragma once

#include <string>
#include <vector>

#include "host/core/user_interface.h"

namespace host {

class MessageRecorder : public UserInterface {
  public:
    // `face` gives the answers; it must answer without asking (answerWithoutAsking).
    explicit MessageRecorder(const UserInterface& face) : face_(&face) {}

    int showMessage(const Message& message) override;
    void setStatusText(const DisplayText& text) override;
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    // Written down; nothing is picked, as a face that answers without asking would.
    std::optional<std::string> selectTableFile(const std::string& functionTitle,
                                               const std::string& currentPath) override;
    void streamNameIgnored(const std::string& newName) override;
    std::optional<int> answerWithoutAsking(MessageKind kind, unsigned style) const override;

    // Shows everything written down on `ui`, in the order it happened, and forgets it.
    void Replay(UserInterface& ui);

  private:
    enum class Kind { kBox, kStatus, kTable, kStreamName };
    struct Event {
        Kind kind;
        Message message;  // a box's, or the status text in message.text
        std::string name;
    };

    const UserInterface* face_;
    std::vector<Event> events_;
};

}  // namespace host
