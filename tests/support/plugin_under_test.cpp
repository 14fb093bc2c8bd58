#include "support/plugin_under_test.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "host/core/plugins/plugin_function.h"
#include "platform/system_error.h"
#include "platform/text_encoding.h"

namespace testing_support {

PluginUnderTest::PluginUnderTest(const std::string& name)
    : PluginUnderTest(POLYSHIFT_PLUGIN_DIR, name) {}

PluginUnderTest::PluginUnderTest(const std::string& folder, const std::string& name) {
    Load(folder + "/" + name + POLYSHIFT_PLUGIN_SUFFIX);
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
    isTextFunction = BindEntryAs<XfmIsTextFunctionFn>(handle_, kXfmIsTextFunctionName);
}

PluginUnderTest::~PluginUnderTest() {
    platform::FreeLibraryHandle(handle_);
}

std::optional<std::string> PluginUnderTest::Run(uint32_t index, std::string_view input,
                                                const char* tablePath, uint32_t* size) const {
    const host::FunctionEntry entry{convert, getBufferSize, renameFile, isUseTable, index};
    // A pool of its own: every output buffer is new and (below the size that is mapped)
    // exactly as large as asked, so the sanitizers see a write past it.
    host::BufferPool pool;
    // The text, too, in a buffer of its own size, so that they see a read past it.
    const std::vector<unsigned char> text(input.begin(), input.end());
    const host::Conversion result = host::PluginFunction(entry).Convert(
        {text.empty() ? reinterpret_cast<const unsigned char*>(input.data()) : text.data(),
         text.size()},
        tablePath, pool);
    if (size != nullptr) {
        *size = result.sizeAsked;
    }
    if (result.lengthCut) {
        std::fprintf(stderr, "the output length exceeds the capacity %u\n", result.sizeAsked);
        std::abort();
    }
    if (!result.converted()) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(result.bytes.data()), result.bytes.size());
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
