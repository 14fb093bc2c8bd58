// rulebook: converts text through user-written tables of regular-expression commands or of
// string pairs, and runs single commands for the host's regular-expression tool.
#include <array>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <string>

#include "messages.h"
#include "platform/message_box.h"
#include "platform/shared_string.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"
#include "plugin_entries.h"
#include "regex_table.h"
#include "run_command.h"
#include "string_table.h"
#include "table_file.h"
#include "text_kinds.h"
#include "xfm_plugin.h"

namespace {

using rulebook::TableKind;

// Both functions need a table, whatever index the host names.
constexpr plugin_support::PluginInfo<2> kPlugin = {
    XFM_VERSION(1, 0, 0, 3),
    {{
        {rulebook::kRegexTableTitle, plugin_support::kUsesTable},
        {rulebook::kStringTableTitle, plugin_support::kUsesTable},
    }},
    true};

// The converted text of one request: the input through the table named by `tablePath`.
// False when there is nothing to convert (unknown function, no table, a failing command).
bool ConvertText(const ConvertRequest& request, std::string& text) {
    if (request.functionIndex >= kPlugin.functions.size() ||
        (request.input == nullptr && request.inputLength != 0)) {
        return false;
    }
    const TableKind kind = request.functionIndex == 0 ? TableKind::kRegex : TableKind::kString;
    rulebook::Table table;
    if (!rulebook::LoadTable(request.tablePath, kind, table)) {
        return false;
    }
    text.assign(reinterpret_cast<const char*>(request.input), request.inputLength);
    const platform::TextKind textKind = platform::ClassifyText(text);
    if (const char* foreign = rulebook::ForeignEncoding(text, textKind)) {
        rulebook::ShowForeignText(foreign);
        return false;
    }
    const std::optional<regex::CharMode> encoding = rulebook::RunEncoding(table.kind, textKind);
    if (!encoding) {
        rulebook::ShowEncodingMismatch(table.kind, textKind);
        return false;
    }
    // A byte-order mark stays in front, out of the table's reach.
    const std::size_t mark = rulebook::MarkLength(text);
    text.erase(0, mark);
    const bool applied = kind == TableKind::kRegex
                             ? rulebook::ApplyRegexTable(table, text, *encoding)
                             : rulebook::ApplyStringTable(table, text, *encoding);
    if (applied && mark != 0) {
        text.insert(0, platform::kUtf8Mark);
    }
    return applied;
}

bool FitsContract(const std::string& text) {
    return text.size() <= std::numeric_limits<uint32_t>::max();
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    if (request == nullptr) {
        return 0;
    }
    try {
        std::string text;
        if (!ConvertText(*request, text) || !FitsContract(text)) {
            return 0;
        }
        return static_cast<uint32_t>(text.size());
    } catch (const std::exception&) {
        return 0;
    }
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    if (request == nullptr) {
        return 0;
    }
    request->outputLength = 0;
    try {
        std::string text;
        if (!ConvertText(*request, text) || !FitsContract(text)) {
            return 0;
        }
        // The table may have changed since the size pass: never write past the buffer.
        if (text.size() > request->outputCapacity ||
            (request->output == nullptr && !text.empty())) {
            return 0;
        }
        if (!text.empty()) {
            std::memcpy(request->output, text.data(), text.size());
        }
        request->outputLength = static_cast<uint32_t>(text.size());
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

XFM_EXPORT uint32_t XFM_CALL XfmRegExp(XfmText* text, const char* command) {
    if (text == nullptr || command == nullptr || std::strlen(command) < 2) {
        return 0;
    }
    try {
        // The command comes in code page 932; a UTF-8 text gets it in UTF-8, and its
        // byte-order mark stays in front, out of the command's reach. A text in UTF-16, EUC-JP
        // or JIS is read in neither and stays as it is.
        const std::string_view whole = platform::SharedString::TextView(text);
        const platform::TextKind kind = platform::ClassifyText(whole);
        if (const char* foreign = rulebook::ForeignEncoding(whole, kind)) {
            platform::ShowMessageBox(rulebook::ForeignTextForCommand(foreign).c_str(),
                                     rulebook::kErrorTitle,
                                     platform::kButtonsOk | platform::kIconWarning);
            return 0;
        }
        const bool utf8 = kind == platform::TextKind::kUtf8;
        const regex::CharMode encoding = utf8 ? regex::CharMode::kUtf8 : regex::CharMode::kShiftJis;
        const std::string converted = utf8 ? platform::Cp932ToUtf8(command) : std::string(command);
        const std::size_t mark = rulebook::MarkLength(whole);
        rulebook::CommandOutcome outcome =
            rulebook::RunCommand(converted.c_str(), whole.substr(mark), encoding);
        if (outcome.kind == rulebook::CommandOutcome::kFailed) {
            const std::string message = outcome.error + ": " + command;
            platform::ShowMessageBox(message.c_str(), rulebook::kErrorTitle,
                                     platform::kButtonsOk | platform::kIconWarning);
            return 0;
        }
        if (outcome.kind == rulebook::CommandOutcome::kChanged) {
            if (mark != 0) {
                outcome.text.insert(0, platform::kUtf8Mark);
            }
            // The host's string type holds the result; it may lack the memory for it.
            if (!platform::SharedString::AssignText(text, outcome.text.data(),
                                                    outcome.text.size())) {
                return 0;
            }
        }
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}
