// The text test over real files: no text is taken for binary (the sources, tests and examples
// of this program, the Japanese manual pages in every encoding it reads) and no binary for
// text (files of binary formats found on this machine, and one made for every signature).
// Each test prints how many files it read and how many the rule got wrong.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <span>
#include <string>

#include "host/core/files/text_content.h"
#include "support/binary_samples.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;

host::ContentVerdict Classify(const std::string& bytes) {
    return host::ClassifyContent(
        std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

// Files that are images in this program's own tree.
bool IsPicture(const fs::path& path) {
    static const std::set<std::string> kPictures = {".bmp", ".png", ".ico"};
    return kPictures.count(path.extension().string()) > 0;
}

TEST(TextCorpus, EveryTextFileOfTheSourcesTestsAndExamplesIsText) {
    const fs::path root = POLYSHIFT_SOURCE_DIR;
    std::size_t read = 0;
    std::size_t wrong = 0;
    for (const char* folder : {"examples", "tests", "host", "platform", "plugins", "regex",
                               "include", "cmake", "scripts", "man", "docs", "bench"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            if (!entry.is_regular_file() || IsPicture(entry.path())) {
                continue;
            }
            ++read;
            const host::ContentVerdict verdict = Classify(ReadFile(entry.path()));
            if (verdict.binary) {
                ++wrong;
                ADD_FAILURE() << entry.path() << " taken for binary: " << verdict.reason;
            }
        }
    }
    std::printf("source tree: %zu text files, %zu taken for binary\n", read, wrong);
    EXPECT_GT(read, 500u);
}

// One record of the manual pages' corpus: "<page>:<form>".
struct Record {
    std::string name;
    std::string bytes;
};

std::vector<Record> ReadRecords(const fs::path& path) {
    std::vector<Record> records;
    std::ifstream in(path, std::ios::binary);
    Record record;
    std::string length;
    while (std::getline(in, record.name) && std::getline(in, length)) {
        record.bytes.resize(std::stoul(length));
        in.read(record.bytes.data(), static_cast<std::streamsize>(record.bytes.size()));
        records.push_back(std::move(record));
    }
    return records;
}

TEST(TextCorpus, JapaneseManualPagesInEveryEncodingAreText) {
    const fs::path pages = "/usr/share/man/ja";
    if (!fs::exists(pages)) {
        GTEST_SKIP() << "manpages-ja is not installed (scripts/setup installs it)";
    }
    const testing_support::TempFolder work;
    const auto made = testing_support::RunProgram(
        work.path(), "python3",
        {std::string(POLYSHIFT_SOURCE_DIR) + "/tests/core/files/text_corpus.py",
         work.Path("corpus"), pages.string()});
    ASSERT_EQ(made.status, 0) << made.err;
    std::map<std::string, std::pair<std::size_t, std::size_t>> perForm;  // read, wrong
    for (const Record& record : ReadRecords(work.Path("corpus"))) {
        const std::string form = record.name.substr(record.name.rfind(':') + 1);
        ++perForm[form].first;
        const host::ContentVerdict verdict = Classify(record.bytes);
        if (verdict.binary) {
            ++perForm[form].second;
            ADD_FAILURE() << record.name << " taken for binary: " << verdict.reason;
        }
    }
    for (const auto& [form, counts] : perForm) {
        std::printf("manpages-ja %s: %zu pages, %zu taken for binary\n", form.c_str(),
                    counts.first, counts.second);
    }
    EXPECT_EQ(perForm.size(), 10u);
    EXPECT_GT(perForm["sjis"].first, 100u);
}

TEST(TextCorpus, BinaryFilesOfThisMachineAndOfEverySignatureAreBinary) {
    std::map<std::string, std::pair<std::size_t, std::size_t>> perKind;  // read, wrong
    const auto check = [&](const std::string& kind, const std::string& name,
                           const std::string& bytes) {
        ++perKind[kind].first;
        if (!Classify(bytes).binary) {
            ++perKind[kind].second;
            ADD_FAILURE() << name << " (" << kind << ") taken for text";
        }
    };
    for (const auto& found : testing_support::BinariesOnThisMachine(12, 16 << 20)) {
        check(found.kind, found.path.string(), ReadFile(found.path));
    }
    for (const auto& sample : testing_support::GeneratedBinarySamples()) {
        check("generated", sample.fileName, sample.bytes);
    }
    const fs::path root = POLYSHIFT_SOURCE_DIR;
    for (const char* folder : {"examples", "docs"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            if (entry.is_regular_file() && IsPicture(entry.path())) {
                check("pictures of this tree", entry.path().string(), ReadFile(entry.path()));
            }
        }
    }
    for (const auto& [kind, counts] : perKind) {
        std::printf("binary %s: %zu files, %zu taken for text\n", kind.c_str(), counts.first,
                    counts.second);
    }
    EXPECT_GE(perKind["generated"].first, 40u);
}

}  // namespace
