// The program's side of the message boxes: the handlers its user interface installs, and the
// one entry point through which plug-ins reach them. A plug-in carries its own copy of this
// library's code (message_box_relay.cpp), so it finds that entry point by name when it shows
// a box, rather than importing it: the same plug-in loads in hosts that are not ours.
#include "platform/message_box.h"

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

int ShowMessageBox(const char* text, const char* title, unsigned style) {
    if (threadHandler != nullptr) {
        return threadHandler(threadContext, text != nullptr ? text : "",
                             title != nullptr ? title : "", style);
    }
    if (currentHandler != nullptr) {
        return currentHandler(currentContext, text != nullptr ? text : "",
                              title != nullptr ? title : "", style);
    }
    return ShowOnStandardError(text, title, style);
}

}  // namespace platform

extern "C" int polyshift_runtime_show_message_box(const char* text, const char* title,
                                                  unsigned style) {
    return platform::ShowMessageBox(text, title, style);
}
