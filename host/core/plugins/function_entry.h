// The host's records of the functions the plug-ins offer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "xfm_plugin.h"

namespace host {

// The entry points through which a run calls one function, and the function's index in its
// plug-in. Valid only while the plug-in's library is loaded. `isTextFunction` is null for a
// plug-in that does not say which of its functions are text functions.
struct FunctionEntry {
    XfmConvertFn convert = nullptr;
    XfmGetBufferSizeFn getBufferSize = nullptr;
    XfmRenameFileFn renameFile = nullptr;
    XfmIsUseTableFn isUseTable = nullptr;
    uint32_t functionIndex = 0;
    XfmIsTextFunctionFn isTextFunction = nullptr;
};

// One item of the function list: the title as the plug-in gave it (Shift JIS), the entry the
// item owns, and the file name of the plug-in it comes from ("eolfix.so").
struct FunctionListItem {
    std::string title;
    std::unique_ptr<FunctionEntry> entry;
    std::string pluginFileName;
    bool checked = false;
};

// One step of the chain: a title and the function-list item's entry, which the chain never
// owns.
struct ChainEntry {
    std::string title;
    const FunctionEntry* entry = nullptr;
};

using FunctionList = std::vector<FunctionListItem>;
using Chain = std::vector<ChainEntry>;

}  // namespace host
