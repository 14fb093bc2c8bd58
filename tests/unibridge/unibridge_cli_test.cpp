// unibridge through polyshift-cli: the example folder of mixed Shift JIS, EUC-JP and JIS files
// to UTF-8, byte for byte what iconv gives for the same files once in Shift JIS, and back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;

using Outcome = testing_support::ProgramOutcome;
using testing_support::RunCli;

const fs::path kExamples = POLYSHIFT_SOURCE_DIR "/examples/unibridge-to-utf8";

bool HasIconv() {
    return std::system("iconv --version > /dev/null 2>&1") == 0;
}

// What iconv makes of `file` in `folder`, read as `encoding`.
std::string Iconv(const TempFolder& folder, const std::string& file, const char* encoding) {
    const std::string command = "cd '" + folder.str() + "' && iconv -f " + encoding +
                                " -t UTF-8 '" + file + "' > iconv.out";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadFile(folder.path() / "iconv.out");
}

TEST(UnibridgeCli, ExamplesBecomeWhatIconvGivesForTheirShiftJisForms) {
    if (!HasIconv()) {
        GTEST_SKIP() << "iconv is not installed";
    }
    TempFolder folder;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        const std::string name = entry.path().filename().string();
        if (name != "chain") {
            names.push_back(name);
            folder.Write("old/" + name, ReadFile(entry.path()));
        }
    }
    ASSERT_GE(names.size(), 4u);
    for (const char* sub : {"sjis", "utf8", "back"}) {
        fs::create_directories(folder.path() / sub);
    }
    // encswap refuses the UTF-16 file and passes it on unchanged (a failed step: status 1).
    const Outcome sjis = RunCli(folder.path(), {"run", "-o", "sjis", "-f", "encswap:0", "old"});
    ASSERT_EQ(sjis.status, 1) << sjis.err;
    ASSERT_NE(sjis.err.find("（失敗した処理のあるファイル：1）"), std::string::npos) << sjis.err;
    const Outcome utf8 = RunCli(folder.path(), {"run", "-o", "utf8", "-f", "unibridge:0", "old"});
    ASSERT_EQ(utf8.status, 0) << utf8.err;
    const Outcome back = RunCli(folder.path(), {"run", "-o", "back", "-f", "unibridge:3", "utf8"});
    ASSERT_EQ(back.status, 0) << back.err;
    for (const auto& name : names) {
        const bool utf16 = name.find("utf16") != std::string::npos;
        const std::string expected =
            utf16 ? Iconv(folder, "old/" + name, "UTF-16") : Iconv(folder, "sjis/" + name, "CP932");
        EXPECT_EQ(ReadFile(folder.path() / "utf8" / name), expected) << name;
        if (!utf16) {
            EXPECT_EQ(ReadFile(folder.path() / "back" / name),
                      ReadFile(folder.path() / "sjis" / name))
                << name;
        }
    }
}

TEST(UnibridgeCli, WhatShiftJisCannotHoldPassesUnchangedWithTheReason) {
    TempFolder folder;
    const std::string text = "一行目\n二行目の絵文字 \U0001F600\n";
    folder.Write("in/emoji.txt", text);
    fs::create_directories(folder.path() / "out");
    const Outcome result = RunCli(folder.path(), {"run", "-o", "out", "-f", "unibridge:3", "in"});
    EXPECT_NE(result.err.find("2行目の文字 U+1F600 はシフトJISにありません。"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(folder.path() / "out/emoji.txt"), text);
}

// The texts of a user who must get a file across: the fallbacks convert it with a note on
// standard error and exit status 0, and the lossless file comes back as it was.
TEST(UnibridgeCli, TheFallbacksGetTheFileAcrossAndTheLosslessOneComesBack) {
    TempFolder folder;
    const std::string text = "絵文字\U0001F600と\u301Cと①と髙\n頰 剝 \U00020B9F 塡 葛\U000E0100\n&#x41;\n";
    folder.Write("in/chat.txt", text);
    for (const char* sub : {"readable", "lossless", "back"}) {
        fs::create_directories(folder.path() / sub);
    }
    const Outcome readable =
        RunCli(folder.path(), {"run", "-o", "readable", "-f", "unibridge:4", "in"});
    EXPECT_EQ(readable.status, 0) << readable.err;
    EXPECT_NE(readable.err.find("シフトJISにない文字を置き換えました：6か所（1、2行目）。"),
              std::string::npos)
        << readable.err;
    const Outcome lossless =
        RunCli(folder.path(), {"run", "-o", "lossless", "-f", "unibridge:5", "in"});
    EXPECT_EQ(lossless.status, 0) << lossless.err;
    EXPECT_NE(lossless.err.find(
                  "シフトJISで元に戻らない文字を数値文字参照にしました：8か所（1、2、3行目）。"),
              std::string::npos)
        << lossless.err;
    const Outcome back =
        RunCli(folder.path(), {"run", "-o", "back", "-f", "unibridge:6", "lossless"});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(ReadFile(folder.path() / "back/chat.txt"), text);
}

}  // namespace
