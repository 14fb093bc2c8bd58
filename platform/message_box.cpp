#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "platform/text_encoding.h"

namespace platform {
namespace {
MessageBoxHandler currentHandler = nullptr;
void* currentContext = nullptr;
thread_local MessageBoxHandler threadHandler = nullptr;
thread_local void* threadContext = nullptr;

MessageBoxHandler Exchange(MessageBoxHandler& slot, void*& slotContext,
                           MessageBoxHandler handler, void* context, void** previousContext) {
    const MessageBoxHandler previous = slot;
    if (previousContext != nullptr) {
        *previousContext = slotContext;
    }
    slot = handler;
    slotContext = context;
    return previous;
}

}  // namespace

MessageBoxHandler SetThreadMessageBoxHandler(MessageBoxHandler handler, void* context,
                                             void** previousContext) {
    return Exchange(threadHandler, threadContext, handler, context, previousContext);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context,
                                       void** previousContext) {
    return Exchange(currentHandler, currentContext, handler, context, previousContext);
}

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

int ShowMessageBox(const char* text, const char* title, unsigned style) {
    if (threadHandler != nullptr) {
        return threadHandler(threadContext, text != nullptr ? text : "",
                             title != nullptr ? title : "", style);
    }
    if (currentHandler != nullptr) {
        return currentHandler(currentContext, text != nullptr ? text : "",
                              title != nullptr ? title : "", style);
    }
    const std::string line = Cp932ToUtf8(title != nullptr ? title : "") + ": " +
                             Cp932ToUtf8(text != nullptr ? text : "") + "\n";
    std::fputs(line.c_str(), stderr);
    return DefaultAnswer(style);
}

}  // namespace platform
