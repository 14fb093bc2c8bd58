#include "host/core/user_interface.h"
#include "platform/message_box.h"

namespace host {
namespace {

int RouteToInterface(void* context, const char* text, const char* title, unsigned style) {
    return static_cast<UserInterface*>(context)->messageBox(DisplayText::FromCp932(text),
                                                            DisplayText::FromCp932(title), style);
}

}  // namespace

PluginMessageRoute::PluginMessageRoute(UserInterface& ui) {
    previous_ = platform::SetMessageBoxHandler(&RouteToInterface, &ui, &previousContext_);
}

PluginMessageRoute::~PluginMessageRoute() {
    platform::SetMessageBoxHandler(previous_, previousContext_);
}

}  // namespace host
