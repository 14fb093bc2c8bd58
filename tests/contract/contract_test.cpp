// Every plug-in the build ships, checked against the contract the host relies on: the
// entry points exist under their decorated names, nothing else is exported, the record's
// layout is fixed, titles are unique and none begins another, and the entry points refuse
// what is out of range.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

#include "support/plugin_under_test.h"
#include "xfm_plugin.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ShippedPlugins() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(POLYSHIFT_PLUGIN_DIR)) {
        if (entry.path().extension() == ".so") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Contract, RequestLayoutIsFixed) {
    EXPECT_EQ(offsetof(ConvertRequest, size), 0u);
    EXPECT_EQ(offsetof(ConvertRequest, input), 8u);
    EXPECT_EQ(offsetof(ConvertRequest, inputLength), 16u);
    EXPECT_EQ(offsetof(ConvertRequest, output), 24u);
    EXPECT_EQ(offsetof(ConvertRequest, outputCapacity), 32u);
    EXPECT_EQ(offsetof(ConvertRequest, functionIndex), 36u);
    EXPECT_EQ(offsetof(ConvertRequest, tablePath), 40u);
    EXPECT_EQ(offsetof(ConvertRequest, outputLength), 48u);
    EXPECT_EQ(offsetof(ConvertRequest, reserved1), 52u);
    EXPECT_EQ(offsetof(ConvertRequest, reserved2), 56u);
    EXPECT_EQ(sizeof(ConvertRequest), 64u);
}

TEST(Contract, EveryPluginBindsAllRequiredEntryPointsByDecoratedName) {
    const auto names = ShippedPlugins();
    ASSERT_FALSE(names.empty());
    for (const auto& name : names) {
        testing_support::PluginUnderTest plugin(name);
        EXPECT_NE(plugin.getVersion, nullptr) << name;
        EXPECT_NE(plugin.getCount, nullptr) << name;
        EXPECT_NE(plugin.getTitle, nullptr) << name;
        EXPECT_NE(plugin.isUseTable, nullptr) << name;
        EXPECT_NE(plugin.getBufferSize, nullptr) << name;
        EXPECT_NE(plugin.convert, nullptr) << name;
        EXPECT_NE(plugin.renameFile, nullptr) << name;
        EXPECT_EQ(plugin.regExp != nullptr, name == "rulebook") << name;
    }
}

TEST(Contract, PluginsExportNothingButTheEntryPoints) {
    const std::set<std::string> allowed = {"XfmGetVersion",    "XfmGetCount", "XfmGetTitle",
                                           "XfmIsUseTable",    "XfmGetBufferSize",
                                           "XfmConvert",       "XfmRenameFile", "XfmRegExp"};
    for (const auto& name : ShippedPlugins()) {
        const std::string command =
            "nm -D --defined-only --format=posix '" POLYSHIFT_PLUGIN_DIR "/" + name + ".so'";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
        ASSERT_TRUE(pipe) << command;
        char line[512];
        int exported = 0;
        while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
            const std::string symbol(line, std::strcspn(line, " \n"));
            EXPECT_TRUE(allowed.count(symbol) == 1) << name << " exports " << symbol;
            ++exported;
        }
        EXPECT_GE(exported, 7) << name;
    }
}

TEST(Contract, TitlesAreUniqueAndNoneBeginsAnother) {
    std::vector<std::pair<std::string, std::string>> titles;  // title, owner
    for (const auto& name : ShippedPlugins()) {
        testing_support::PluginUnderTest plugin(name);
        const uint32_t count = plugin.getCount();
        for (uint32_t i = 0; i < count; ++i) {
            const char* title = plugin.getTitle(i);
            ASSERT_NE(title, nullptr) << name << ":" << i;
            titles.emplace_back(title, name + ":" + std::to_string(i));
        }
        EXPECT_EQ(plugin.getTitle(count), nullptr) << name;
    }
    for (const auto& [a, ownerA] : titles) {
        for (const auto& [b, ownerB] : titles) {
            if (ownerA != ownerB) {
                EXPECT_NE(b.rfind(a, 0), 0u) << ownerA << " begins " << ownerB;
            }
        }
    }
}

TEST(Contract, EntryPointsRefuseNullRequestsAndIndexesOutOfRange) {
    for (const auto& name : ShippedPlugins()) {
        testing_support::PluginUnderTest plugin(name);
        const uint32_t count = plugin.getCount();
        EXPECT_EQ(plugin.getBufferSize(nullptr), 0u) << name;
        EXPECT_EQ(plugin.convert(nullptr), 0u) << name;
        const unsigned char input[] = "BM some bytes\r\n";
        unsigned char output[64];
        ConvertRequest request{sizeof request, input, 15, output, 64, count, "", 0, 0, 0};
        EXPECT_EQ(plugin.getBufferSize(&request), 0u) << name;
        EXPECT_EQ(plugin.convert(&request), 0u) << name;
        if (name == "pictile") {
            continue;  // its one renaming does not look at the index
        }
        char newPath[XFM_MAX_PATH] = "unchanged";
        EXPECT_EQ(plugin.renameFile("/out/a.dat", newPath, count), 0u) << name;
        EXPECT_STREQ(newPath, "unchanged") << name;
    }
}

}  // namespace
