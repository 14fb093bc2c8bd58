#include "host/core/tools/file_info_rows.h"

#include "host/core/tools/file_info.h"
#include "host/core/tools/tool_texts.h"
#include "host/core/ui/host_texts.h"
#include "platform/message_box.h"

namespace host {

FileInfoRows DescribeListedFiles(UserInterface& ui, const std::vector<std::string>& paths) {
    FileInfoRows table;
    if (paths.empty()) {
        ui.messageBox(MessageKind::kCommandError, texts::kInfoNoFiles, texts::kTitleError,
                      platform::kIconStop | platform::kButtonsOk);
        ui.setStatusText(texts::kInfoNoFiles);
        return table;
    }
    ui.beginWaitCursor();
    table.headers = FileInfoHeaders();
    table.rows.reserve(paths.size());
    for (const std::string& path : paths) {
        table.rows.push_back(FileInfoCells(ReadAndDescribeFile(path)));
    }
    ui.endWaitCursor();
    table.shown = true;
    return table;
}

DisplayText FileInfoSummary(const FileInfoRows& table) {
    return texts::InfoFileCount(table.rows.size());
}

}  // namespace host
