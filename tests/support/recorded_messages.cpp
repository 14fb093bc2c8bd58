#include "support/recorded_messages.h"

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace testing_support {
namespace {

int Record(void* context, const char* text, const char* title, unsigned style) {
    static_cast<std::vector<RecordedMessage>*>(context)->push_back(
        {platform::Cp932ToUtf8(text), platform::Cp932ToUtf8(title), style});
    return platform::DefaultAnswer(style);
}

}  // namespace

void PrintTo(const RecordedMessage& m, std::ostream* os) {
    *os << "{\"" << m.text << "\", \"" << m.title << "\", 0x" << std::hex << m.style << std::dec
        << "}";
}

void RecordMessages(std::vector<RecordedMessage>* messages) {
    platform::SetMessageBoxHandler(Record, messages);
}

void StopRecordingMessages() {
    platform::SetMessageBoxHandler(nullptr, nullptr);
}

}  // namespace testing_support
