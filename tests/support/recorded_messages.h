// Message boxes recorded for tests instead of shown: each is answered by its default button and
// kept with its texts in UTF-8.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

struct RecordedMessage {
    std::string text;
    std::string title;
    unsigned style = 0;
    bool operator==(const RecordedMessage&) const = default;
};
void PrintTo(const RecordedMessage& m, std::ostream* os);

// Every message box from now on goes into `messages`, until StopRecordingMessages.
void RecordMessages(std::vector<RecordedMessage>* messages);
void StopRecordingMessages();

}  // namespace testing_support
