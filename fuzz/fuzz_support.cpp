#include "fuzz_support.h"

#include <memory>

#include "platform/message_box.h"

namespace fuzz_support {

const testing_support::PluginUnderTest& Plugin(const std::string& name) {
    static const bool silenced = [] {
        platform::SetMessageBoxHandler(
            [](void*, const char*, const char*, unsigned style) {
                return platform::DefaultAnswer(style);
            },
            nullptr);
        return true;
    }();
    (void)silenced;
    return testing_support::SharedPlugin(name);
}

uint32_t ConvertStep(const testing_support::PluginUnderTest& plugin, uint32_t index,
                     const unsigned char* input, std::size_t length, const char* tablePath) {
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = input;
    request.inputLength = static_cast<uint32_t>(length);
    request.functionIndex = index;
    request.tablePath = tablePath;
    const uint32_t size = plugin.getBufferSize(&request);
    if (size == 0) {
        return 0;
    }
    const auto output = std::make_unique<unsigned char[]>(size);
    request.output = output.get();
    request.outputCapacity = size;
    request.outputLength = 0;
    if (plugin.convert(&request) != 0 && request.outputLength > size) {
        __builtin_trap();
    }
    return size;
}

}  // namespace fuzz_support
