// The plug-ins' side of the message boxes. A plug-in links its own copy of the runtime's code
// and imports nothing of ours, so that it loads in any host, from any folder. Its boxes go to
// the program's runtime when the process has one, found by name at the moment a box is shown;
// in a host of another make they go to standard error, answered with the default button, as
// the program's own runtime does before its user interface installs a handler.
#include "platform/message_box.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {
namespace {

using RuntimeShowMessageBox = int (*)(const char* text, const char* title, unsigned style);

constexpr const char* kRuntimeEntry = "polyshift_runtime_show_message_box";

RuntimeShowMessageBox ProgramRuntime() {
#ifdef _WIN32
    const HMODULE runtime = ::GetModuleHandleW(L"polyshift-runtime.dll");
    if (runtime == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<RuntimeShowMessageBox>(
        reinterpret_cast<void*>(::GetProcAddress(runtime, kRuntimeEntry)));
#else
    return reinterpret_cast<RuntimeShowMessageBox>(::dlsym(RTLD_DEFAULT, kRuntimeEntry));
#endif
}

}  // namespace

int ShowMessageBox(const char* text, const char* title, unsigned style) {
    if (const RuntimeShowMessageBox show = ProgramRuntime()) {
        return show(text, title, style);
    }
    return ShowOnStandardError(text, title, style);
}

}  // namespace platform
