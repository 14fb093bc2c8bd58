// Dynamic libraries: load by full path, bind an entry point by the contract's decorated name,
// free. Failures leave their text for LastSystemErrorText().
#pragma once

#include <string>

namespace platform {

using LibraryHandle = void*;

// Loads the library at `path`. A path without a folder part is refused (it would fall
// through to the system's library search path); returns null on failure.
LibraryHandle LoadLibraryFile(const std::string& path);

// Binds an entry point. `decoratedName` is the contract's name ("_XfmGetVersion@0"); on ELF
// it is looked up as the plain C name ("XfmGetVersion"). Returns null when it is missing.
void* BindEntry(LibraryHandle library, const char* decoratedName);

// Unloads a library loaded by LoadLibraryFile; false when that fails.
bool FreeLibraryHandle(LibraryHandle library);

// The platform's symbol for a decorated name: "_Name@N" -> "Name"; other names unchanged.
std::string PlatformSymbolName(const char* decoratedName);

template <typename Fn>
Fn BindEntryAs(LibraryHandle library, const char* decoratedName) {
    return reinterpret_cast<Fn>(BindEntry(library, decoratedName));
}

}  // namespace platform
