// The regular-expression tool's history and its command dialog's behaviour.
#include <gtest/gtest.h>

#include "host/core/settings/ini_regex_history.h"
#include "host/core/settings/profile_file.h"
#include "host/core/tools/tool_texts.h"
#include "host/core/tools/regex_command_entry.h"
#include "host/core/settings/regex_history.h"
#include "platform/message_box.h"
#include "scripted_ui.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using host::RegexHistory;

// A store in memory that counts its writes.
class MemoryStore : public host::RegexHistoryStore {
  public:
    RegexHistory stored;
    int saves = 0;
    RegexHistory Load() override { return stored; }
    void Save(const RegexHistory& history) override {
        stored = history;
        ++saves;
    }
};

RegexHistory History(std::vector<std::string> entries) {
    RegexHistory history;
    std::copy(entries.begin(), entries.end(), history.begin());
    return history;
}

TEST(RegexHistory, RememberCommandMovesAndDrops) {
    const RegexHistory full = History({"c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8"});
    struct Case {
        const char* name;
        RegexHistory before;
        std::string command;
        RegexHistory after;
    };
    const std::vector<Case> cases = {
        {"first into an empty history", {}, "s/a/b/", History({"s/a/b/"})},
        {"place 3 moves to 1, 1 and 2 move down, the rest stay", full, "c3",
         History({"c3", "c1", "c2", "c4", "c5", "c6", "c7", "c8"})},
        {"place 1 stays", full, "c1", full},
        {"place 7 is the last one searched", full, "c7",
         History({"c7", "c1", "c2", "c3", "c4", "c5", "c6", "c8"})},
        {"a ninth command drops the oldest", full, "new",
         History({"new", "c1", "c2", "c3", "c4", "c5", "c6", "c7"})},
        {"place 8 comes back on top without a copy", full, "c8",
         History({"c8", "c1", "c2", "c3", "c4", "c5", "c6", "c7"})},
        {"matching is case-sensitive", History({"s/a/b/"}), "S/A/B/",
         History({"S/A/B/", "s/a/b/"})},
        {"an empty command changes nothing", full, "", full},
    };
    for (const Case& c : cases) {
        RegexHistory history = c.before;
        host::RememberCommand(history, c.command);
        EXPECT_EQ(history, c.after) << c.name;
    }
}

TEST(RegexCommandEntry, AcceptRemembersAndCloseSaves) {
    MemoryStore store;
    store.stored = History({"one", "", "three"});
    host::RegexCommandEntry entry(store);
    EXPECT_EQ(entry.DropDownEntries(), std::vector<std::string>{"one"});
    EXPECT_TRUE(entry.Accept("two"));
    EXPECT_EQ(store.saves, 0);
    entry.Close();
    EXPECT_EQ(store.saves, 1);
    EXPECT_EQ(store.stored, History({"two", "one", "", "three"}));
}

TEST(RegexCommandEntry, CancelWritesTheSameHistoryBack) {
    MemoryStore store;
    store.stored = History({"one"});
    host::RegexCommandEntry entry(store);
    entry.Close();
    EXPECT_EQ(store.saves, 1);
    EXPECT_EQ(store.stored, History({"one"}));
}

TEST(RegexCommandEntry, CommandOver260BytesIsRefusedAndNotRemembered) {
    MemoryStore store;
    host::RegexCommandEntry entry(store);
    EXPECT_FALSE(entry.Accept(std::string(261, 'x')));
    EXPECT_EQ(entry.history(), RegexHistory{});
    EXPECT_TRUE(entry.Accept(std::string(260, 'x')));
    EXPECT_EQ(entry.history()[0], std::string(260, 'x'));
}

// OK with what was typed: the command comes back in Shift JIS, or the user is told why not and
// the dialog stays open with the history untouched.
TEST(RegexCommandEntry, TypedCommandIsConvertedOrRefusedWithABox) {
    MemoryStore store;
    store.stored = History({"old"});
    host::RegexCommandEntry entry(store);
    host_testing::ScriptedUi ui;
    const std::string stop = std::to_string(platform::kIconStop | platform::kButtonsOk);

    // A character code page 932 lacks would reach the files as "?"; the box names it.
    EXPECT_EQ(entry.AcceptTyped(ui, "s/a/\xF0\x9F\x98\x80/g"), std::nullopt);
    ASSERT_EQ(ui.log.size(), 1u);
    EXPECT_EQ(ui.log[0].rfind("box " + stop + " エラー: 「\xF0\x9F\x98\x80」", 0), 0u)
        << ui.log[0];
    EXPECT_EQ(ui.kinds, std::vector<host::MessageKind>{host::MessageKind::kCommandError});

    // 131 full-width characters are 262 bytes in Shift JIS: too long, although 131 characters.
    std::string hiragana;
    for (int i = 0; i < 131; ++i) {
        hiragana += "あ";
    }
    EXPECT_EQ(entry.AcceptTyped(ui, hiragana), std::nullopt);
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[1], "box " + stop + " エラー: " + host::texts::kCommandTooLong.utf8());
    EXPECT_EQ(entry.history(), History({"old"}));

    // 130 of them are exactly 260 bytes: accepted, in Shift JIS, and remembered.
    hiragana.erase(hiragana.size() - std::string("あ").size());
    const std::string expected = testing_support::Sjis(hiragana);
    EXPECT_EQ(expected.size(), host::kMaxRegexCommand);
    EXPECT_EQ(entry.AcceptTyped(ui, hiragana), expected);
    const std::string japanese = "tr/０-９/0-9/k";
    EXPECT_EQ(entry.AcceptTyped(ui, japanese), testing_support::Sjis(japanese));
    EXPECT_EQ(ui.log.size(), 2u);
    entry.Close();
    EXPECT_EQ(store.stored, History({testing_support::Sjis(japanese), expected, "old"}));
}

TEST(RegexHistory, KeysAreNumberedFromOne) {
    EXPECT_EQ(host::RegexHistoryKey(1), "regexp1");
    EXPECT_EQ(host::RegexHistoryKey(8), "regexp8");
}

TEST(IniRegexHistory, ReadsTheSectionAndReplacesItWhole) {
    testing_support::TempFolder folder;
    const std::string ini = folder.Write("polyshift.ini",
                                         "[Settings]\nOverWrite=1\n\n"
                                         "[RegExp List]\nregexp1=s/a/b/\nregexp3=tr/x/y/\n"
                                         "regexp9=stale\n");
    host::IniRegexHistoryStore store(ini);
    EXPECT_EQ(store.Load(), History({"s/a/b/", "", "tr/x/y/"}));

    const std::string japanese = testing_support::Sjis("tr/０-９/0-9/k");
    RegexHistory history = History({japanese, "c2", "c3", "c4", "c5", "c6", "c7", "c8"});
    host::RememberCommand(history, "c9");
    store.Save(history);
    EXPECT_EQ(store.Load(), history);
    const auto profile = host::ProfileFile::Read(ini);
    EXPECT_EQ(profile.KeyNames("RegExp List"),
              (std::vector<std::string>{"regexp1", "regexp2", "regexp3", "regexp4", "regexp5",
                                        "regexp6", "regexp7", "regexp8"}));
    EXPECT_EQ(profile.GetString("RegExp List", "regexp2"), "tr/０-９/0-9/k");
    EXPECT_EQ(profile.GetString("Settings", "OverWrite"), "1");

    store.Save(History({"only"}));
    EXPECT_EQ(host::ProfileFile::Read(ini).KeyNames("RegExp List"),
              std::vector<std::string>{"regexp1"});
}

TEST(IniRegexHistory, MissingFileGivesAnEmptyHistory) {
    testing_support::TempFolder folder;
    host::IniRegexHistoryStore store(folder.Path("none.ini"));
    EXPECT_EQ(store.Load(), RegexHistory{});
}

}  // namespace
