#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "platform/text_encoding.h"

namespace platform {

int DefaultAnswer(unsigned style) {
    int buttons[3] = {kAnswerOk, kAnswerOk, kAnswerOk};
    switch (style & kButtonsMask) {
        case kButtonsOkCancel:
            buttons[1] = kAnswerCancel;
            break;
        case kButtonsYesNoCancel:
            buttons[0] = kAnswerYes;
            buttons[1] = kAnswerNo;
            buttons[2] = kAnswerCancel;
            break;
        case kButtonsYesNo:
            buttons[0] = kAnswerYes;
            buttons[1] = kAnswerNo;
            break;
        default:
            break;
    }
    const unsigned which = (style & kDefaultButtonMask) >> 8;
    return buttons[which < 3 ? which : 0];
}

int ShowOnStandardError(const char* text, const char* title, unsigned style) {
    const std::string line = Cp932ToUtf8(title != nullptr ? title : "") + ": " +
                             Cp932ToUtf8(text != nullptr ? text : "") + "\n";
    std::fputs(line.c_str(), stderr);
    return DefaultAnswer(style);
}

}  // namespace platform
