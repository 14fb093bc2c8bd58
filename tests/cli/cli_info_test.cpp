// polyshift-cli info end to end: folders walked as run walks them, one tab-separated line or
// one JSON object per file, the exit status for unreadable files, and every file of the
// examples and of the Japanese manual pages in every encoding named as the functions' own
// detection names it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli_fixture.h"
#include "platform/text_form.h"

namespace {

namespace fs = std::filesystem;
using host_testing::CliTest;
using testing_support::ReadFile;

std::vector<std::vector<std::string>> Rows(const std::string& out) {
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

std::string DetectedName(const std::string& bytes) {
    return platform::TextFormName(platform::DetectTextForm(
        reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

TEST_F(CliTest, InfoWalksFoldersAsRunDoesAndPrintsOneLinePerFile) {
    work.Write("tree/a.txt", "\xB1\x82\xA0\r\n\x87\x40\n");
    work.Write("tree/sub/b.txt", "plain\n");
    work.Write("tree/.git/config", "[core]\n");
    work.Write("tree/.git/objects/ab", std::string("x\0\x01", 3));
    work.Write("tree/pic.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));

    auto result = Cli({"info", "tree"});
    EXPECT_EQ(result.status, 0) << result.err;
    const auto rows = Rows(result.out);
    ASSERT_EQ(rows.size(), 3u) << result.out;  // nothing of .git
    EXPECT_EQ(rows[0], (std::vector<std::string>{work.Path("tree/a.txt"), "Shift JIS", "EUC-JP",
                                                 "mixed (CR LF 1, LF 1)", "yes", "1", "0", "0",
                                                 "-", "-", "-", "8"}));
    EXPECT_EQ(rows[1][0], work.Path("tree/pic.png"));
    EXPECT_EQ(rows[1][1], "binary");
    EXPECT_EQ(rows[2][1], "ASCII");
    EXPECT_EQ(rows[2][3], "LF");

    // Named by itself, a .git folder's file is taken as any other.
    result = Cli({"info", "--json", "tree/.git/objects/ab", "missing.txt", "tree/sub/b.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot read '" + work.Path("missing.txt") + "'"),
              std::string::npos)
        << result.err;
    const auto lines = Rows(result.out);
    ASSERT_EQ(lines.size(), 3u) << result.out;
    std::string missing = work.Path("missing.txt");  // as a JSON string: backslashes doubled
    for (std::size_t at = 0; (at = missing.find('\\', at)) != std::string::npos; at += 2) {
        missing.insert(at, 1, '\\');
    }
    EXPECT_EQ(lines[0][0].rfind("{\"path\":\"" + missing + "\",\"encoding\":null,", 0), 0u)
        << lines[0][0];
    EXPECT_NE(lines[0][0].find("\"error\":\""), std::string::npos);
    EXPECT_NE(lines[1][0].find("\"encoding\":\"binary\""), std::string::npos) << lines[1][0];
    EXPECT_NE(lines[1][0].find("\"binaryReason\":\"byte 0x00 at offset 1\""), std::string::npos)
        << lines[1][0];
    EXPECT_NE(lines[2][0].find("\"encoding\":\"ASCII\",\"encswap\":null,\"lineBreaks\":\"LF\","
                               "\"crlf\":0,\"lf\":1,\"cr\":0,\"halfWidthKana\":false,"),
              std::string::npos)
        << lines[2][0];

    EXPECT_EQ(Cli({"info"}).status, 2);
    EXPECT_EQ(Cli({"info", "--raw", "tree"}).status, 2);
}

TEST_F(CliTest, InfoNamesEveryExampleAsTheSharedDetectionDoes) {
    const fs::path examples = fs::path(POLYSHIFT_SOURCE_DIR) / "examples";
    const auto result = Cli({"info", examples.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    std::size_t checked = 0;
    for (const auto& cells : Rows(result.out)) {
        ASSERT_EQ(cells.size(), 12u);
        const std::string bytes = ReadFile(cells[0]);
        const bool picture = fs::path(cells[0]).extension() == ".bmp";
        EXPECT_EQ(cells[1], picture ? "binary" : DetectedName(bytes)) << cells[0];
        EXPECT_EQ(cells[11], std::to_string(bytes.size()));
        ++checked;
    }
    EXPECT_GT(checked, 30u);
}

// One record of the manual pages' corpus: "<page>:<form>", its length, its bytes.
std::map<std::string, std::string> ReadCorpus(const std::string& path) {
    std::map<std::string, std::string> records;
    std::ifstream in(path, std::ios::binary);
    std::string name;
    std::string length;
    while (std::getline(in, name) && std::getline(in, length)) {
        std::string bytes(std::stoul(length), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        records[name] = std::move(bytes);
    }
    return records;
}

TEST_F(CliTest, InfoNamesTheManualPagesInEveryEncodingAsTheFunctionsDetectThem) {
#ifdef _WIN32
    GTEST_SKIP() << "the corpus is written by Python on the Linux side";
#endif
    const fs::path pages = "/usr/share/man/ja/man5";
    if (!fs::exists(pages)) {
        GTEST_SKIP() << "manpages-ja is not installed (scripts/setup installs it)";
    }
    const auto made = testing_support::RunProgram(
        work.path(), "python3",
        {std::string(POLYSHIFT_SOURCE_DIR) + "/tests/core/files/text_corpus.py",
         work.Path("corpus"), pages.string()});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::map<std::string, std::string> known = {
        {"utf8", "UTF-8"},
        {"sjis", "Shift JIS"},
        {"eucjp", "EUC-JP"},
        {"jis", "JIS"},
        {"utf16le-bom", "UTF-16LE"},
        {"utf16be-bom", "UTF-16BE"},
        {"utf16le", "UTF-16LE (no BOM)"},
        {"utf16be", "UTF-16BE (no BOM)"},
        {"base64", "ASCII"},
        {"csv", "Shift JIS"}};
    std::map<std::string, std::string> bytesOf;  // file name -> bytes
    std::map<std::string, std::string> formOf;   // file name -> known form
    std::size_t n = 0;
    for (auto& [name, bytes] : ReadCorpus(work.Path("corpus"))) {
        const std::string file = "corpus-files/" + std::to_string(n++);
        work.Write(file, bytes);
        formOf[work.Path(file)] = name.substr(name.rfind(':') + 1);
        bytesOf[work.Path(file)] = std::move(bytes);
    }
    const auto result = Cli({"info", "--json", "corpus-files"});
    ASSERT_EQ(result.status, 0) << result.err;
    // eolfix makes every line break an LF: as many as info counted, in the text's own units.
    const auto lf = Cli({"run", "-o", "lf", "-f", "eolfix:2", "corpus-files"});
    ASSERT_EQ(lf.status, 0) << lf.err;
    const auto table = Cli({"info", "corpus-files"});
    std::map<std::string, std::pair<std::size_t, std::size_t>> agree;  // form: files, agreeing
    const auto json = Rows(result.out);
    const auto rows = Rows(table.out);
    ASSERT_EQ(json.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& cells = rows[r];
        const std::string& bytes = bytesOf.at(cells[0]);
        EXPECT_EQ(cells[1], DetectedName(bytes)) << cells[0];
        const std::string& line = json[r][0];
        const auto count = [&line](const std::string& key) {
            const std::size_t at = line.find("\"" + key + "\":");
            return std::stoull(line.substr(at + key.size() + 3));
        };
        const std::string converted =
            ReadFile(work.path() / "lf" / fs::path(cells[0]).filename());
        const bool wide = cells[1].rfind("UTF-16", 0) == 0;
        const std::string lineFeed = wide ? std::string(cells[1].find("BE") != std::string::npos
                                                            ? "\0\n"
                                                            : "\n\0",
                                                        2)
                                          : "\n";
        std::size_t feeds = 0;
        for (std::size_t at = 0; (at = converted.find(lineFeed, at)) != std::string::npos;
             at += lineFeed.size()) {
            feeds += !wide || at % 2 == 0;
        }
        EXPECT_EQ(feeds, count("crlf") + count("lf") + count("cr")) << cells[0] << " " << line;
        const std::string& form = formOf.at(cells[0]);
        ++agree[form].first;
        agree[form].second += cells[1] == known.at(form);
    }
    for (const auto& [form, counts] : agree) {
        std::printf("manpages-ja %s: %zu pages, %zu named as %s\n", form.c_str(), counts.first,
                    counts.second, known.at(form).c_str());
        // A page of ASCII alone is ASCII in every byte form; the rest is known.
        EXPECT_GE(counts.second * 10, counts.first * 9) << form;
    }
    EXPECT_EQ(agree.size(), known.size());
}

}  // namespace
