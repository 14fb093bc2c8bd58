#include "host/core/ui/user_interface.h"
#include "platform/message_box.h"

namespace host {
namespace {

int RouteToInterface(void* context, const char* text, const char* title, unsigned style) {
    return static_cast<Questions*>(context)->messageBox(MessageKind::kPluginMessage,
                                                        DisplayText::FromCp932(text),
                                                        DisplayText::FromCp932(title), style);
}

}  // namespace

PluginMessageRoute::PluginMessageRoute(Questions& ui, bool thisThreadOnly)
    : thisThreadOnly_(thisThreadOnly) {
    previous_ = thisThreadOnly ? platform::SetThreadMessageBoxHandler(
                                     &RouteToInterface, static_cast<void*>(&ui), &previousContext_)
                               : platform::SetMessageBoxHandler(
                                     &RouteToInterface, static_cast<void*>(&ui), &previousContext_);
}

PluginMessageRoute::~PluginMessageRoute() {
    if (thisThreadOnly_) {
        platform::SetThreadMessageBoxHandler(previous_, previousContext_);
    } else {
        platform::SetMessageBoxHandler(previous_, previousContext_);
    }
}

}  // namespace host
