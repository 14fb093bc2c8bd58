// Loading libraries and binding the contract's decorated names.
#include <gtest/gtest.h>

#include "platform/library.h"
#include "platform/system_error.h"
#include "xfm_plugin.h"

namespace {

#ifdef _WIN32
// A Windows plug-in exports the decorated names themselves.
TEST(Library, DecoratedNamesAreTheExports) {
    EXPECT_EQ(platform::PlatformSymbolName("_XfmGetVersion@0"), "_XfmGetVersion@0");
    EXPECT_EQ(platform::PlatformSymbolName("_XfmRenameFile@12"), "_XfmRenameFile@12");
}
#else
TEST(Library, DecoratedNamesMapToPlainSymbols) {
    EXPECT_EQ(platform::PlatformSymbolName("_XfmGetVersion@0"), "XfmGetVersion");
    EXPECT_EQ(platform::PlatformSymbolName("_XfmRenameFile@12"), "XfmRenameFile");
    EXPECT_EQ(platform::PlatformSymbolName("plain"), "plain");
    EXPECT_EQ(platform::PlatformSymbolName("_odd@x"), "_odd@x");
    EXPECT_EQ(platform::PlatformSymbolName("_@4"), "_@4");
}
#endif

TEST(Library, BareNamesNeverReachTheSystemSearchPath) {
    // "libc.so.6" is always loadable from the search path; a bare name must not find it.
    EXPECT_EQ(platform::LoadLibraryFile("libc.so.6"), nullptr);
    EXPECT_FALSE(platform::LastSystemErrorText().empty());
}

TEST(Library, LoadsBindsAndFreesAPlugin) {
    const auto handle = platform::LoadLibraryFile(POLYSHIFT_PLUGIN_DIR "/eolfix" POLYSHIFT_PLUGIN_SUFFIX);
    ASSERT_NE(handle, nullptr);
    const auto getVersion = platform::BindEntryAs<XfmGetVersionFn>(handle, kXfmGetVersionName);
    ASSERT_NE(getVersion, nullptr);
    EXPECT_EQ(getVersion(), XFM_VERSION(1, 0, 0, 2));
    EXPECT_EQ(platform::BindEntry(handle, "_XfmNoSuchEntry@4"), nullptr);
    EXPECT_NE(platform::LastSystemErrorText().find("_XfmNoSuchEntry@4"), std::string::npos);
    EXPECT_TRUE(platform::FreeLibraryHandle(handle));
    EXPECT_EQ(platform::LoadLibraryFile(POLYSHIFT_PLUGIN_DIR "/missing" POLYSHIFT_PLUGIN_SUFFIX), nullptr);
}

}  // namespace
