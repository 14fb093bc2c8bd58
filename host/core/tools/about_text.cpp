#include "host/core/tools/about_text.h"

#include "host/core/ui/host_texts.h"
#include "host/core/tools/tool_texts.h"
#include "platform/folder.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace host {

std::string BuildStamp() {
    return std::string("Build: ") + __DATE__ + " @ " + __TIME__;
}

std::string AboutText(const std::string& pluginVersionText) {
    std::string text =
        std::string(kProgramName) + "\n" + BuildStamp() + "\n" + kProgramVersion + "\n";
    for (const char c : pluginVersionText) {
        if (c != '\r') {
            text += c;
        }
    }
    if (!pluginVersionText.empty() && text.back() != '\n') {
        text += '\n';
    }
    return text;
}

std::string ReadmePath(const std::string& executablePath) {
    std::string path = executablePath.substr(0, platform::FindExtension(executablePath));
    return path + ".htm";
}

bool OpenReadme(UserInterface& ui, const std::string& executablePath,
                const std::function<bool(const std::string&)>& open) {
    const std::string path = ReadmePath(executablePath);
    const bool present = platform::PathExists(path) && !platform::IsFolder(path);
    if (present && open(path)) {
        return true;
    }
    const DisplayText message =
        present ? texts::ReadmeWithoutViewer(path) : texts::ReadmeMissing(path);
    ui.messageBox(MessageKind::kCommandError, message, texts::kTitleError, platform::kIconStop | platform::kButtonsOk);
    ui.setStatusText(message);
    return false;
}

}  // namespace host
