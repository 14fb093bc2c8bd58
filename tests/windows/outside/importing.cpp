// A plug-in built as ours once were: linked to the program's runtime library, which it then
// imports. The package check must refuse it in plugin\.
#include "platform/message_box.h"
#include "xfm_plugin.h"

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) {
    return static_cast<uint32_t>(platform::DefaultAnswer(platform::kButtonsOk));
}
