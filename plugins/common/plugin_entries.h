// The entry points every plug-in answers from a table alone: its version, the number of its
// functions, their titles, which of them want a conversion table, the extension each gives
// its result, and which of them are text functions (XfmIsTextFunction: every function unless
// it says kAnyBytes). A plug-in describes itself once,
//
//   constexpr plugin_support::PluginInfo<2> kPlugin = {XFM_VERSION(1, 0, 0, 1), {{
//       {"<Shift JIS title>", plugin_support::kNoTable, ".txt"},
//       {"<Shift JIS title>"},
//       {"<Shift JIS title>", plugin_support::kNoTable, nullptr, plugin_support::kAnyBytes},
//   }}};
//   XFM_DEFINE_TABLE_ENTRIES(kPlugin)
//
// and writes only its conversions (XfmGetBufferSize, XfmConvert, and XfmRegExp where it has
// one). Indexes out of range get 0 or a null title, as the contract says; a plug-in whose
// table use and renaming do not depend on the index at all (PluginInfo::sameForEveryIndex)
// answers those two for any index as for its first function.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/paths.h"
#include "xfm_plugin.h"

namespace plugin_support {

inline constexpr bool kNoTable = false;
inline constexpr bool kUsesTable = true;
inline constexpr bool kAnyBytes = true;

struct FunctionInfo {
    const char* title;                // Shift JIS, exactly as the function list shows it
    bool usesTable = kNoTable;        // XfmIsUseTable
    const char* extension = nullptr;  // the result's new extension; null keeps the name
    bool anyBytes = false;            // takes binary input too; otherwise a text function
};

template <std::size_t N>
struct PluginInfo {
    std::uint32_t version;
    std::array<FunctionInfo, N> functions;
    bool sameForEveryIndex = false;

    const FunctionInfo* at(std::uint32_t index) const {
        return index < N ? &functions[index] : nullptr;
    }
    // The function whose table use and renaming answer for `index`.
    const FunctionInfo* answering(std::uint32_t index) const {
        return sameForEveryIndex && N > 0 ? &functions[index < N ? index : 0] : at(index);
    }
};

// XfmRenameFile for `function`: `outputPath` with the function's extension, written into
// `newPath` (XFM_MAX_PATH bytes); 0 when it keeps the name or the result would not fit.
inline std::uint32_t RenameByExtension(const FunctionInfo* function, const char* outputPath,
                                       char* newPath) {
    if (function == nullptr || function->extension == nullptr || outputPath == nullptr ||
        newPath == nullptr) {
        return 0;
    }
    // Built apart from newPath: an output path too long for the buffer is never copied in.
    const auto renamed =
        platform::ReplaceExtension(std::string_view(outputPath), function->extension);
    if (!renamed) {
        return 0;
    }
    std::memcpy(newPath, renamed->c_str(), renamed->size() + 1);
    return 1;
}

}  // namespace plugin_support

#define XFM_DEFINE_TABLE_ENTRIES(info)                                                          \
    XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) {                                          \
        return (info).version;                                                                  \
    }                                                                                           \
    XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) {                                            \
        return static_cast<uint32_t>((info).functions.size());                                  \
    }                                                                                           \
    XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {                               \
        const auto* function = (info).at(index);                                                \
        return function == nullptr ? nullptr : function->title;                                 \
    }                                                                                           \
    XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t index) {                                \
        const auto* function = (info).answering(index);                                         \
        return function != nullptr && function->usesTable ? 1 : 0;                              \
    }                                                                                           \
    XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char* outputPath, char* newPath,           \
                                               uint32_t index) {                                \
        return plugin_support::RenameByExtension((info).answering(index), outputPath, newPath); \
    }                                                                                           \
    XFM_EXPORT uint32_t XFM_CALL XfmIsTextFunction(uint32_t index) {                            \
        const auto* function = (info).at(index);                                                \
        return function != nullptr && !function->anyBytes ? 1 : 0;                              \
    }
