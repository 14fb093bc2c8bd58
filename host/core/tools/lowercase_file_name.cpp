#include "host/core/tools/lowercase_file_name.h"

#include <cstdint>
#include <vector>

#include "host/core/ui/host_texts.h"
#include "host/core/files/safe_rename.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/sjis_bytes.h"
#include "platform/utf8_text.h"

namespace host {
namespace {

using platform::sjis::IsAsciiLower;
using platform::sjis::IsAsciiUpper;

// For every byte of `name`: true where it is an ASCII letter outside a two-byte character.
std::vector<bool> LetterPositions(std::string_view name) {
    std::vector<bool> letters(name.size(), false);
    const bool shiftJis = !platform::IsWellFormedUtf8(name);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (shiftJis && platform::sjis::IsLeadByte(byte)) {
            ++i;  // the trail byte belongs to this character
            continue;
        }
        letters[i] = IsAsciiUpper(byte) || IsAsciiLower(byte);
    }
    return letters;
}

bool HasSmallLetter(std::string_view name, const std::vector<bool>& letters, std::size_t from,
                    std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        if (letters[i] && IsAsciiLower(static_cast<unsigned char>(name[i]))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<std::string> LowercaseName(std::string_view name, LowercaseSelection selection) {
    const std::vector<bool> letters = LetterPositions(name);
    const std::size_t dot = name.rfind('.');
    switch (selection) {
        case LowercaseSelection::kAllFiles:
            break;
        case LowercaseSelection::kUpperExtension:
            if (dot == std::string_view::npos || HasSmallLetter(name, letters, dot, name.size())) {
                return std::nullopt;
            }
            break;
        case LowercaseSelection::kUpperName:
            if (HasSmallLetter(name, letters, 0,
                               dot == std::string_view::npos ? name.size() : dot)) {
                return std::nullopt;
            }
            break;
    }
    std::string lowered(name);
    bool changed = false;
    for (std::size_t i = 0; i < lowered.size(); ++i) {
        if (letters[i] && IsAsciiUpper(static_cast<unsigned char>(lowered[i]))) {
            lowered[i] = platform::sjis::AsciiLower(lowered[i]);
            changed = true;
        }
    }
    if (!changed) {
        return std::nullopt;
    }
    return lowered;
}

std::optional<std::string> LowercaseFileName(const std::string& path,
                                             LowercaseSelection selection) {
    const std::string_view name = platform::FileNameOf(path);
    if (name.empty()) {
        return std::nullopt;
    }
    const auto lowered = LowercaseName(name, selection);
    if (!lowered) {
        return std::nullopt;
    }
    std::string renamed = path.substr(0, path.size() - name.size()) + *lowered;
    if (!RenameWithoutReplacing(path, renamed)) {
        return std::nullopt;
    }
    return renamed;
}

std::size_t LowercaseListedFiles(
    UserInterface& ui, FileList& files,
    const std::function<std::optional<LowercaseSelection>()>& askSelection) {
    if (files.empty()) {
        ui.messageBox(MessageKind::kCommandError, texts::kNoSourceFiles, texts::kTitleError,
                      platform::kIconStop | platform::kButtonsOk);
        ui.setStatusText(texts::kNoSourceFiles);
        return 0;
    }
    const std::size_t count = files.size();
    ui.setProgressRange(0, count > INT32_MAX ? INT32_MAX : static_cast<int>(count));
    ui.setProgressPosition(0);
    ui.setStatusText({});
    const auto selection = askSelection();
    if (!selection) {
        return 0;
    }
    std::size_t renamed = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (auto newPath = LowercaseFileName(files[i], *selection)) {
            files.Replace(i, *newPath);
            ++renamed;
        }
    }
    return renamed;
}

}  // namespace host
