// A configurable plug-in for the host's tests. Each build of this file is one test plug-in;
// the macros choose what it does:
//   TP_NO_VERSION      no XfmGetVersion (the host must not treat it as a plug-in)
//   TP_VERSION         version word (default 1.0.0.0)
//   TP_COUNT           number of functions (default 1)
//   TP_TITLE_PREFIX    titles are "<prefix> <index>"
//   TP_KIND            0 copy, 1 upper-case ASCII, 2 fail, 3 append "[<tablePath>]",
//                      4 copy, but first cut the (existing) file named by the table path to
//                      nothing, 5 refuse a non-empty input in the size pass with a box saying
//                      why (as a plug-in does with a table it cannot use)
//   TP_USES_TABLE      XfmIsUseTable answers 1
//   TP_RENAME_EXT      XfmRenameFile replaces the extension by this text
//   TP_REGEXP          XfmRegExp appends "<command>" to the text; the command "fail" fails
//   TP_IS_TEXT         XfmIsTextFunction answers this value (without it there is none)
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/shared_string.h"
#include "xfm_plugin.h"

#ifndef TP_VERSION
#define TP_VERSION 0x01000000u
#endif
#ifndef TP_COUNT
#define TP_COUNT 1u
#endif
#ifndef TP_KIND
#define TP_KIND 0
#endif
#ifndef TP_USES_TABLE
#define TP_USES_TABLE 0
#endif

namespace {

// Not a constant, so that a count of 0 does not make the range checks trivially true.
uint32_t functionCount = TP_COUNT;

std::string Title(uint32_t index) {
    return std::string(TP_TITLE_PREFIX) + " " + std::to_string(index);
}

std::string Output(const ConvertRequest& request) {
    std::string out(reinterpret_cast<const char*>(request.input), request.inputLength);
    if (TP_KIND == 1) {
        for (char& c : out) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    } else if (TP_KIND == 3) {
        out += std::string("[") + request.tablePath + "]";
    }
    return out;
}

// Opening a file for writing cuts it to nothing; a missing file is not made.
[[maybe_unused]] bool CutToNothing(const char* path) {
    std::FILE* existing = std::fopen(path, "rb");
    if (existing == nullptr) {
        return false;
    }
    std::fclose(existing);
    std::FILE* cut = std::fopen(path, "wb");
    return cut != nullptr && std::fclose(cut) == 0;
}

}  // namespace

#ifndef TP_NO_VERSION
XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) { return TP_VERSION; }
#endif

XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) { return functionCount; }

XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {
    static std::string titles[16];
    if (index >= functionCount || index >= 16) {
        return nullptr;
    }
    titles[index] = Title(index);
    return titles[index].c_str();
}

XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t) { return TP_USES_TABLE; }

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    if (request == nullptr || request->functionIndex >= functionCount || request->tablePath == nullptr) {
        return 0;
    }
    if (TP_KIND == 5 && request->inputLength != 0) {
        platform::ShowMessageBox("refused", "Refusing", platform::kButtonsOk | platform::kIconStop);
        return 0;
    }
    return static_cast<uint32_t>(Output(*request).size());
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    if (TP_KIND == 2 || request == nullptr || request->functionIndex >= functionCount) {
        return 0;
    }
    if (TP_KIND == 4 && !CutToNothing(request->tablePath)) {
        return 0;
    }
    const std::string out = Output(*request);
    if (out.size() > request->outputCapacity) {
        return 0;
    }
    std::memcpy(request->output, out.data(), out.size());
    request->outputLength = static_cast<uint32_t>(out.size());
    return 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char* outputPath, char* newPath, uint32_t) {
#ifdef TP_RENAME_EXT
    std::strncpy(newPath, outputPath, XFM_MAX_PATH - 1);
    newPath[XFM_MAX_PATH - 1] = '\0';
    return platform::RenameExtensionInPlace(newPath, TP_RENAME_EXT) ? 1 : 0;
#else
    (void)outputPath;
    (void)newPath;
    return 0;
#endif
}

#ifdef TP_IS_TEXT
XFM_EXPORT uint32_t XFM_CALL XfmIsTextFunction(uint32_t index) {
    return index < functionCount ? TP_IS_TEXT : 0;
}
#endif

#ifdef TP_REGEXP
XFM_EXPORT uint32_t XFM_CALL XfmRegExp(XfmText* text, const char* command) {
    if (text == nullptr || command == nullptr || std::strcmp(command, "fail") == 0) {
        return 0;
    }
    std::string result(platform::SharedString::TextView(text));
    result += std::string("<") + command + ">";
    return platform::SharedString::AssignText(text, result.data(), result.size()) ? 1 : 0;
}
#endif
