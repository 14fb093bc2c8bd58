// polyshift-cli run --dry-run end to end: nothing on disk changes, whatever the options; the
// lines it prints foresee exactly what the real run then does, over every example with its
// own chain; --diff shows the changed lines of each side in its own encoding.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli_fixture.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using testing_support::ReadFile;

const char* const kPlugins[] = {"encswap", "glyphport", "widthfold", "base64",
                                "pictile", "rulebook",  "unibridge"};

// Every entry below `root` with its kind, size, permissions, modification time and content.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::ostringstream state;
        state << static_cast<int>(entry.symlink_status().type()) << ' '
              << static_cast<unsigned>(entry.symlink_status().permissions()) << ' '
              << entry.last_write_time().time_since_epoch().count();
        if (entry.is_regular_file()) {
            state << ' ' << entry.file_size() << ' '
                  << std::hash<std::string>{}(ReadFile(entry.path()));
        }
        entries[entry.path().string()] = state.str();
    }
    return entries;
}

std::vector<std::vector<std::string>> Lines(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            cells.push_back(line.substr(start, tab - start));
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

class DryRunTest : public CliTest {
  protected:
    DryRunTest() {
        for (const char* plugin : kPlugins) {
            program.AddRealPlugin(plugin);
        }
    }

    // An example's folder copied into the work folder, and its chain's arguments.
    std::vector<std::string> CopyExample(const std::string& name) {
        const fs::path from = fs::path(POLYSHIFT_SOURCE_DIR) / "examples" / name;
        fs::copy(from, work.path() / name, fs::copy_options::recursive);
        std::istringstream chain(ReadFile(from / "chain"));
        std::vector<std::string> args;
        for (std::string word; chain >> word;) {
            args.push_back(word);
        }
        return args;
    }

    testing_support::ProgramOutcome In(const std::string& folder, std::vector<std::string> args) {
        return testing_support::RunProgram(work.path() / folder, cli(), args);
    }
};

TEST_F(DryRunTest, ChangesNothingOnDiskWhateverTheOptions) {
    for (const std::string name : {"encswap", "eolfix", "pictile", "base64"}) {
        CopyExample(name);
    }
    work.Write("out/encswap/memo-sjis.txt", "there before\n");
    work.Write("tree/.git/HEAD", "ref: refs/heads/main\n");
    const auto before = Snapshot(work.path());
    const std::vector<std::vector<std::string>> commands = {
        {"run", "--dry-run", "-o", "out", "-f", "encswap:0", "-f", "eolfix:0", "encswap",
         "eolfix"},
        {"run", "--dry-run", "--diff", "-y", "-o", "out", "-f", "base64:0", "pictile"},
        {"run", "--dry-run", "--overwrite", "--backup", "--keep-time", "-f", "eolfix:2",
         "encswap", "eolfix", "tree"},
        {"run", "--dry-run", "--diff=0", "-o", "new/deep/folder", "-f", "base64:0", "base64"},
        {"run", "--dry-run", "--overwrite", "--binary", "--jobs", "2", "-f", "eolfix:1",
         "pictile"},
    };
    for (const auto& command : commands) {
        const auto result = Cli(command);
        EXPECT_LE(result.status, 1) << result.err;
        EXPECT_FALSE(result.out.empty());
        EXPECT_EQ(Snapshot(work.path()), before) << command[3];
    }
    EXPECT_FALSE(fs::exists(work.path() / "new"));

    // Standard input: the plan goes to standard output instead of the result.
    const auto piped = Shell("CLI run --dry-run -f eolfix:2 - < encswap/memo-sjis.txt");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, "converted\t-\t-\t\n");
    EXPECT_EQ(Snapshot(work.path()), before);
}

// Dry, then real, with the same arguments: the same messages and final report, and each
// file where its line said it would go.
void ExpectForeseen(const std::vector<std::vector<std::string>>& plan, const fs::path& folder) {
    for (const auto& cells : plan) {
        ASSERT_EQ(cells.size(), 4u);
        const std::string& outcome = cells[0];
        const std::string& source = cells[1];
        const std::string& target = cells[2];
        if (outcome == "failed") {
            EXPECT_TRUE(target.empty()) << source;
            EXPECT_FALSE(cells[3].empty()) << source;
            continue;
        }
        ASSERT_FALSE(target.empty()) << source;
        ASSERT_TRUE(fs::exists(target)) << target << " foreseen for " << source;
        const bool same = ReadFile(target) == ReadFile(fs::path(source));
        EXPECT_EQ(same, outcome != "converted") << source << " -> " << target;
        (void)folder;
    }
}

TEST_F(DryRunTest, ForeseesWhatTheRealRunDoesWithEveryExample) {
    std::size_t foreseen = 0;
    for (const auto& example : fs::directory_iterator(fs::path(POLYSHIFT_SOURCE_DIR) / "examples")) {
        const std::string name = example.path().filename().string();
        std::vector<std::string> args = {"run", "-o", "../out-" + name};
        for (const std::string& word : CopyExample(name)) {
            args.push_back(word);
        }
        // The whole folder, its table and chain files included; then again over the results
        // of the first run, where every file is there before the run and fails without -y.
        args.push_back(".");
        for (int round = 0; round < 2; ++round) {
            std::vector<std::string> dry = args;
            dry.insert(dry.begin() + 1, "--dry-run");
            const auto predicted = In(name, dry);
            const auto real = In(name, args);
            EXPECT_EQ(predicted.status, real.status) << name;
            EXPECT_EQ(predicted.err, real.err) << name;
            const auto plan = Lines(predicted.out);
            std::size_t failed = 0;
            for (const auto& cells : plan) {
                failed += cells[0] == "failed";
            }
            if (round == 0) {
                ExpectForeseen(plan, work.path());
            } else {
                EXPECT_EQ(failed, plan.size()) << name << ": every target is there";
            }
            foreseen += plan.size();
        }
    }
    EXPECT_GT(foreseen, 60u);
}

TEST_F(DryRunTest, ForeseesFailuresAtTheTargetAndRenames) {
    CopyExample("base64");
    work.Write("in/a.txt", "text\r\n");
    work.Write("in/b.txt", "more\r\n");
    work.Write("blocked", "a file where a folder should be\n");
    work.Write("out/b.txt", "there before\n");
    const std::vector<std::vector<std::string>> commands = {
        {"run", "-o", "blocked/out", "-f", "eolfix:2", "in"},
        {"run", "-o", "out", "-f", "eolfix:2", "in"},
        {"run", "-o", "renamed", "-f", "base64:0", "base64"},
    };
    for (std::vector<std::string> command : commands) {
        command.insert(command.begin() + 1, "--dry-run");
        const auto predicted = Cli(command);
        command.erase(command.begin() + 1);
        const auto real = Cli(command);
        EXPECT_EQ(predicted.status, real.status) << command[2];
        EXPECT_EQ(predicted.err, real.err) << command[2];
        ExpectForeseen(Lines(predicted.out), work.path());
    }
    const auto renamed = Lines(Cli({"run", "--dry-run", "-o", "renamed2", "-f", "base64:0",
                                    "base64/attachment.b64"})
                                   .out);
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0][0], "converted");
    EXPECT_EQ(renamed[0][2], work.Path("renamed2/attachment.txt"));
    EXPECT_EQ(renamed[0][3], "new name: attachment.txt");
}

TEST_F(DryRunTest, DiffShowsTheChangedLinesOfEachSideInItsOwnEncoding) {
    std::string text;
    for (int i = 1; i <= 12; ++i) {
        text += "line " + std::to_string(i) + (i == 5 ? " \x83\x41\x83\x43\r\n" : "\n");
    }
    work.Write("a.txt", text);
    auto result = Cli({"run", "--dry-run", "--diff=1", "-o", "out", "-f", "eolfix:2", "a.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "converted\t" + work.Path("a.txt") + "\t" + work.Path("out/a.txt") +
                              "\t\n"
                              "--- " + work.Path("a.txt") + " (Shift JIS)\n"
                              "+++ " + work.Path("out/a.txt") + " (Shift JIS)\n"
                              "@@ -4,3 +4,3 @@\n"
                              " line 4\n"
                              "-line 5 アイ^M\n"
                              "+line 5 アイ\n"
                              " line 6\n");

    // An unchanged file has no diff; a binary result is summed up.
    work.Write("lf.txt", "a\nb\n");
    work.Write("b64.txt", "iVBORw0KGgo=\r\n");
    result = Cli({"run", "--dry-run", "--diff", "-o", "out", "-f", "eolfix:2", "lf.txt"});
    EXPECT_EQ(result.out, "unchanged\t" + work.Path("lf.txt") + "\t" + work.Path("out/lf.txt") +
                              "\t\n");
    result = Cli({"run", "--dry-run", "--diff", "-o", "out", "-f", "base64:1", "b64.txt"});
    EXPECT_NE(result.out.find("Binary " + work.Path("b64.txt") + " (14 bytes) and "),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(" (8 bytes) differ from offset 0\n"), std::string::npos)
        << result.out;

    EXPECT_EQ(Cli({"run", "--diff", "-o", "out", "-f", "eolfix:2", "a.txt"}).status, 2);
    EXPECT_EQ(Cli({"run", "--dry-run", "--diff=x", "-o", "out", "a.txt"}).status, 2);
}

}  // namespace
