#include "host/core/ui/system_error_report.h"

#include "host/core/ui/host_texts.h"
#include "platform/message_box.h"
#include "platform/system_error.h"

namespace host {

void ShowSystemError(UserInterface& ui) {
    const DisplayText text(platform::LastSystemErrorText());
    ui.messageBox(MessageKind::kSystemError, text, texts::kTitleError,
                  platform::kIconStop | platform::kButtonsOk);
    ui.setStatusText(text);
}

}  // namespace host
