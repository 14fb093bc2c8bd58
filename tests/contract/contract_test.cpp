// Every plug-in the build ships, checked against the contract the host relies on: the
// entry points exist under their decorated names, nothing else is exported, the record's
// layout is fixed, each plug-in gives its version, titles, table use and new names, titles
// are unique and none begins another, the entry points refuse what is out of range, and no
// conversion writes past the room it is given.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/plugin_under_test.h"
#include "support/sample_text.h"
#include "xfm_plugin.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ShippedPlugins() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(POLYSHIFT_PLUGIN_DIR)) {
        if (entry.path().extension() == POLYSHIFT_PLUGIN_SUFFIX) {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The record's layout: ten 32-bit words on the platform the contract was made for; on 64-bit
// systems the pointers take eight bytes and are aligned.
TEST(Contract, RequestLayoutIsFixed) {
#if defined(_WIN32) && !defined(_WIN64)
    constexpr std::size_t kOffsets[] = {0, 4, 8, 12, 16, 20, 24, 28, 32, 36};
    constexpr std::size_t kSize = 40;
#else
    constexpr std::size_t kOffsets[] = {0, 8, 16, 24, 32, 36, 40, 48, 52, 56};
    constexpr std::size_t kSize = 64;
#endif
    const std::size_t offsets[] = {
        offsetof(ConvertRequest, size),           offsetof(ConvertRequest, input),
        offsetof(ConvertRequest, inputLength),    offsetof(ConvertRequest, output),
        offsetof(ConvertRequest, outputCapacity), offsetof(ConvertRequest, functionIndex),
        offsetof(ConvertRequest, tablePath),      offsetof(ConvertRequest, outputLength),
        offsetof(ConvertRequest, reserved1),      offsetof(ConvertRequest, reserved2)};
    for (std::size_t i = 0; i < std::size(offsets); ++i) {
        EXPECT_EQ(offsets[i], kOffsets[i]) << "word " << i;
    }
    EXPECT_EQ(sizeof(ConvertRequest), kSize);
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

// Every function of the text plug-ins is a text function (binary files pass it unchanged);
// base64 and pictile take any bytes. An index out of range is refused like everywhere else.
TEST(Contract, EveryPluginSaysWhichOfItsFunctionsAreTextFunctions) {
    for (const auto& name : ShippedPlugins()) {
        testing_support::PluginUnderTest plugin(name);
        ASSERT_NE(plugin.isTextFunction, nullptr) << name;
        const bool text = name != "base64" && name != "pictile";
        const uint32_t count = plugin.getCount();
        for (uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(plugin.isTextFunction(i), text ? 1u : 0u) << name << ":" << i;
        }
        EXPECT_EQ(plugin.isTextFunction(count), 0u) << name;
    }
}

TEST(Contract, PluginsExportNothingButTheEntryPoints) {
#ifdef _WIN32
    GTEST_SKIP() << "the build's exports.<plug-in> tests read the DLLs' export tables";
#endif
    const std::set<std::string> allowed = {"XfmGetVersion",    "XfmGetCount", "XfmGetTitle",
                                           "XfmIsUseTable",    "XfmGetBufferSize",
                                           "XfmConvert",       "XfmRenameFile", "XfmRegExp",
                                           "XfmIsTextFunction"};
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

// What each plug-in answers: version, titles (here in UTF-8), table use, and the extension
// each function gives its result (null: the name is kept).
struct Answers {
    const char* plugin;
    uint32_t version;
    std::vector<const char*> titles;
    bool usesTable;
    std::vector<const char*> extensions;  // empty: no function renames
    bool regExp = false;
    bool sameForEveryIndex = false;  // table use and renaming do not look at the index
};

const std::vector<Answers>& ExpectedAnswers() {
    static const std::vector<Answers> answers = {
        {"base64", 0x01000001, {"base64エンコード", "base64デコード"}, false, {".txt", ".bin"}},
        {"encswap", 0x01000002,
         {"シフトJISに変換（自動判別）", "JISに変換（自動判別）", "EUCに変換（自動判別）",
          "シフトJIS→JIS変換", "シフトJIS→EUC変換", "JIS→シフトJIS変換", "JIS→EUC変換",
          "EUC→シフトJIS変換", "EUC→JIS変換"},
         false, {}},
        {"eolfix", 0x01000002,
         {"改行をCR+LF(Windows)に変換", "改行をCR(Macintosh)に変換", "改行をLF(UNIX)に変換"},
         false, {}},
        {"glyphport", 0x01000002, {"機種依存文字(Mac→Win)変換", "機種依存文字(Win→Mac)変換"},
         false, {}},
        {"pictile", 0x01000002, {"ビットマップ→アイコン変換"}, false, {".ico"}, false, true},
        {"rulebook", 0x01000003, {"正規表現テーブルによる置換", "文字列テーブルによる置換"}, true,
         {}, true, true},
        {"unibridge", 0x01000000,
         {"UTF-8に変換（自動判別）", "UTF-8(BOM付き)に変換（自動判別）",
          "UTF-16LE(BOM付き)に変換（自動判別）", "シフトJISに変換（UTF-8/UTF-16から）",
          "シフトJISに変換（UTF-8/UTF-16から、ない文字は〓）",
          "シフトJISに変換（UTF-8/UTF-16から、ない文字は&#x…;）",
          "UTF-8に変換（自動判別、&#…;を文字に）"},
         false, {}},
        {"widthfold", 0x01000002,
         {"半角カナ→全角カナ変換", "半角数字→全角数字変換", "全角数字→半角数字変換",
          "半角英字→全角英字変換", "全角英字→半角英字変換", "半角記号→全角記号変換",
          "全角記号→半角記号変換"},
         false, {}},
    };
    return answers;
}

TEST(Contract, EachPluginGivesItsVersionTitlesTableUseAndNames) {
    ASSERT_EQ(ShippedPlugins().size(), ExpectedAnswers().size());
    for (const Answers& expected : ExpectedAnswers()) {
        SCOPED_TRACE(expected.plugin);
        testing_support::PluginUnderTest plugin(expected.plugin);
        EXPECT_EQ(plugin.getVersion(), expected.version);
        const auto count = static_cast<uint32_t>(expected.titles.size());
        ASSERT_EQ(plugin.getCount(), count);
        for (uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(plugin.TitleUtf8(i), expected.titles[i]) << i;
            EXPECT_EQ(plugin.isUseTable(i) != 0, expected.usesTable) << i;
            char newPath[XFM_MAX_PATH] = "unchanged";
            const bool renamed = plugin.renameFile("/out/a.dat", newPath, i) != 0;
            const char* extension = i < expected.extensions.size() ? expected.extensions[i] : nullptr;
            EXPECT_EQ(renamed, extension != nullptr) << i;
            EXPECT_EQ(std::string(newPath), extension ? std::string("/out/a") + extension
                                                      : std::string("unchanged"));
        }
        EXPECT_EQ(plugin.getTitle(count), nullptr);
        EXPECT_EQ(plugin.getTitle(0xFFFFFFFFu), nullptr);
        if (expected.sameForEveryIndex) {
            EXPECT_EQ(plugin.isUseTable(count + 7) != 0, expected.usesTable);
            char newPath[XFM_MAX_PATH] = "unchanged";
            EXPECT_EQ(plugin.renameFile("/out/a.dat", newPath, count + 7) != 0,
                      !expected.extensions.empty());
        }
        EXPECT_EQ(plugin.regExp != nullptr, expected.regExp);
    }
}

// A new extension is given only where the whole path, its zero included, fits 260 bytes.
TEST(Contract, NewNamesFitTheContractsPathBuffer) {
    const std::string folder = "/" + std::string(200, 'd') + "/";
    for (const auto& [plugin, index] : {std::pair{"base64", 1u}, std::pair{"pictile", 0u}}) {
        const testing_support::PluginUnderTest& p = testing_support::SharedPlugin(plugin);
        for (const std::size_t length : {255u, 256u}) {
            const std::string path = folder + std::string(length - folder.size(), 'n');
            char newPath[XFM_MAX_PATH];
            std::memset(newPath, 'q', sizeof newPath);
            newPath[sizeof newPath - 1] = '\0';
            const bool renamed = p.renameFile(path.c_str(), newPath, index) != 0;
            EXPECT_EQ(renamed, length == 255u) << plugin;
            if (renamed) {
                EXPECT_EQ(std::string(newPath).size(), 259u) << plugin;
            }
        }
        char untouched[XFM_MAX_PATH] = "unchanged";
        EXPECT_EQ(p.renameFile("/out/picture", untouched, index) != 0, true) << plugin;
    }
}

// Inputs that give every function something to do: prose in Shift JIS and UTF-8, Base64, a
// bitmap.
std::vector<std::string> SampleInputs() {
    std::ifstream bitmap(std::string(POLYSHIFT_SOURCE_DIR) +
                             "/examples/pictile/document-32x32-16colours.bmp",
                         std::ios::binary);
    return {testing_support::JapaneseText(3000), testing_support::JapaneseUtf8Text(3000),
            "Zm9vYmFyYmF6cXV4", {std::istreambuf_iterator<char>(bitmap), {}}};
}

// Given less room than it asked for (one byte less, or none), no function writes past it: it
// fails, or it succeeds within the room when its size was only a bound. Without an input or
// an output buffer it fails.
TEST(Contract, NoConversionWritesPastTheRoomItIsGiven) {
    const std::string table = std::string(POLYSHIFT_SOURCE_DIR) +
                              "/examples/rulebook-strings/tables/strings.tbl";
    for (const auto& name : ShippedPlugins()) {
        testing_support::PluginUnderTest plugin(name);
        for (uint32_t index = 0; index < plugin.getCount(); ++index) {
            for (const std::string& input : SampleInputs()) {
                ConvertRequest request{sizeof request,
                                       reinterpret_cast<const unsigned char*>(input.data()),
                                       static_cast<uint32_t>(input.size()), nullptr, 0, index,
                                       table.c_str(), 0, 0, 0};
                const uint32_t size = plugin.getBufferSize(&request);
                if (size == 0) {
                    continue;
                }
                for (const uint32_t room : {size - 1, 0u}) {
                    std::vector<unsigned char> output(size + 16, 0xEE);
                    request.output = output.data();
                    request.outputCapacity = room;
                    if (plugin.convert(&request) != 0) {
                        EXPECT_LE(request.outputLength, room) << name << ":" << index;
                    }
                    for (std::size_t i = room; i < output.size(); ++i) {
                        ASSERT_EQ(output[i], 0xEE) << name << ":" << index << " wrote " << i;
                    }
                }
                request.output = nullptr;
                request.outputCapacity = size;
                EXPECT_EQ(plugin.convert(&request), 0u) << name << ":" << index << " no output";
                request.input = nullptr;
                EXPECT_EQ(plugin.getBufferSize(&request), 0u) << name << ":" << index;
            }
        }
    }
}

}  // namespace
