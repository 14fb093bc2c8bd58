#include "platform/library.h"

#include <dlfcn.h>

#include "platform/system_error.h"

namespace platform {

LibraryHandle LoadLibraryFile(const std::string& path) {
    if (path.find('/') == std::string::npos) {
        SetLastSystemError("The specified module could not be found: " + path);
        return nullptr;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        SetLastSystemError(why != nullptr ? why : "The specified module could not be found.");
    }
    return handle;
}

std::string PlatformSymbolName(const char* decoratedName) {
    std::string name = decoratedName;
    if (name.size() > 1 && name.front() == '_') {
        const auto at = name.rfind('@');
        if (at != std::string::npos && at > 1 &&
            name.find_first_not_of("0123456789", at + 1) == std::string::npos) {
            return name.substr(1, at - 1);
        }
    }
    return name;
}

void* BindEntry(LibraryHandle library, const char* decoratedName) {
    if (library == nullptr || decoratedName == nullptr) {
        SetLastSystemError("The specified procedure could not be found.");
        return nullptr;
    }
    dlerror();
    void* entry = dlsym(library, PlatformSymbolName(decoratedName).c_str());
    if (entry == nullptr) {
        SetLastSystemError(std::string("The specified procedure could not be found: ") +
                           decoratedName);
    }
    return entry;
}

bool FreeLibraryHandle(LibraryHandle library) {
    if (library == nullptr) {
        return false;
    }
    if (dlclose(library) != 0) {
        const char* why = dlerror();
        SetLastSystemError(why != nullptr ? why : "The library could not be freed.");
        return false;
    }
    return true;
}

}  // namespace platform
