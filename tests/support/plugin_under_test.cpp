#include "support/plugin_under_test.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/system_error.h"
#include "platform/text_encoding.h"

namespace testing_support {

PluginUnderTest::PluginUnderTest(const std::string& name)
    : PluginUnderTest(POLYSHIFT_PLUGIN_DIR, name) {}

PluginUnderTest::PluginUnderTest(const std::string& folder, const std::string& name) {
    Load(folder + "/" + name + ".so");
}

void PluginUnderTest::Load(const std::string& path) {
    handle_ = platform::LoadLibraryFile(path);
    if (handle_ == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(),
                     platform::LastSystemErrorText().c_str());
        std::abort();
    }
    using platform::BindEntryAs;
    getVersion = BindEntryAs<XfmGetVersionFn>(handle_, kXfmGetVersionName);
    getCount = BindEntryAs<XfmGetCountFn>(handle_, kXfmGetCountName);
    getTitle = BindEntryAs<XfmGetTitleFn>(handle_, kXfmGetTitleName);
    isUseTable = BindEntryAs<XfmIsUseTableFn>(handle_, kXfmIsUseTableName);
    getBufferSize = BindEntryAs<XfmGetBufferSizeFn>(handle_, kXfmGetBufferSizeName);
    convert = BindEntryAs<XfmConvertFn>(handle_, kXfmConvertName);
    renameFile = BindEntryAs<XfmRenameFileFn>(handle_, kXfmRenameFileName);
    regExp = BindEntryAs<XfmRegExpFn>(handle_, kXfmRegExpName);
}

PluginUnderTest::~PluginUnderTest() {
    platform::FreeLibraryHandle(handle_);
}

std::optional<std::string> PluginUnderTest::Run(uint32_t index, std::string_view input,
                                                const char* tablePath, uint32_t* size) const {
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = reinterpret_cast<const unsigned char*>(input.data());
    request.inputLength = static_cast<uint32_t>(input.size());
    request.functionIndex = index;
    request.tablePath = tablePath;
    const uint32_t capacity = getBufferSize(&request);
    if (size != nullptr) {
        *size = capacity;
    }
    if (capacity == 0) {
        return std::nullopt;
    }
    // Exactly the requested size, so that the sanitizers see any write past it.
    std::vector<unsigned char> output(capacity);
    request.output = output.data();
    request.outputCapacity = capacity;
    request.outputLength = 0;
    if (convert(&request) == 0) {
        return std::nullopt;
    }
    if (request.outputLength > capacity) {
        std::fprintf(stderr, "outputLength %u exceeds capacity %u\n", request.outputLength,
                     capacity);
        std::abort();
    }
    return std::string(reinterpret_cast<const char*>(output.data()), request.outputLength);
}

std::string PluginUnderTest::TitleUtf8(uint32_t index) const {
    const char* title = getTitle(index);
    return title == nullptr ? std::string() : platform::Cp932ToUtf8(title);
}

const PluginUnderTest& SharedPlugin(const std::string& name) {
    static std::map<std::string, std::unique_ptr<PluginUnderTest>> loaded;
    auto& slot = loaded[name];
    if (!slot) {
        slot = std::make_unique<PluginUnderTest>(name);
    }
    return *slot;
}

}  // namespace testing_support
