// Message boxes of plug-ins: routed to the host's handler, or answered by their default
// button when no host is there to ask. The string type of XfmRegExp.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "platform/shared_string.h"

namespace {

using namespace platform;

TEST(MessageBox, DefaultButtonAnswersWithoutAHandler) {
    EXPECT_EQ(DefaultAnswer(kButtonsOk | kIconStop), kAnswerOk);
    EXPECT_EQ(DefaultAnswer(kButtonsOkCancel), kAnswerOk);
    EXPECT_EQ(DefaultAnswer(kButtonsOkCancel | kDefaultButton2), kAnswerCancel);
    EXPECT_EQ(DefaultAnswer(kButtonsYesNo), kAnswerYes);
    EXPECT_EQ(DefaultAnswer(kButtonsYesNo | kDefaultButton2), kAnswerNo);
    EXPECT_EQ(DefaultAnswer(kButtonsYesNoCancel | kDefaultButton3), kAnswerCancel);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("\x83\x47\x83\x89\x81\x5b", "T", kButtonsYesNo), kAnswerYes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "T: エラー\n");
}

TEST(MessageBox, HandlerReceivesEveryBoxAndCanBeRestored) {
    struct Seen {
        std::string text, title;
        unsigned style = 0;
    } seen;
    auto handler = [](void* context, const char* text, const char* title, unsigned style) {
        auto* s = static_cast<Seen*>(context);
        s->text = text;
        s->title = title;
        s->style = style;
        return static_cast<int>(kAnswerNo);
    };
    void* previousContext = nullptr;
    const auto previous = SetMessageBoxHandler(handler, &seen, &previousContext);
    EXPECT_EQ(ShowMessageBox("text", "title", kButtonsYesNo | kIconQuestion), kAnswerNo);
    EXPECT_EQ(seen.text, "text");
    EXPECT_EQ(seen.title, "title");
    EXPECT_EQ(seen.style, 36u);
    SetMessageBoxHandler(previous, previousContext);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("x", "y", kButtonsOk), kAnswerOk);
    testing::internal::GetCapturedStderr();
}

TEST(SharedString, HoldsAnyBytesAndStaysZeroTerminated) {
    SharedString text(std::string_view("a\0b", 3));
    EXPECT_EQ(text.size(), 3u);
    EXPECT_EQ(text.data()[3], '\0');
    text.assign(std::string(100000, 'x'));
    EXPECT_EQ(text.size(), 100000u);
    // A part of the text itself, as a plug-in hands back a text it cut down.
    EXPECT_TRUE(text.assign(text.view().substr(99990)));
    EXPECT_EQ(text.view(), std::string(10, 'x'));
    text.assign(nullptr, 5);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_STREQ(text.data(), "");
}

}  // namespace
