// The entry points as the host meets them: identity, table use, refusals and buffer limits.
#include <sys/stat.h>

#include <cerrno>

#ifdef _WIN32
// The table is opened through the Windows API, whose error numbers the message shows.
constexpr int kMissingFile = 2;  // ERROR_FILE_NOT_FOUND
constexpr int kFolder = 5;       // ERROR_ACCESS_DENIED
#else
constexpr int kMissingFile = ENOENT;
constexpr int kFolder = EISDIR;
#endif

#include "rulebook_fixture.h"

namespace rulebook_test {
namespace {

using RulebookContract = RulebookTest;

TEST_F(RulebookContract, RefusesNullRequestsUnknownFunctionsAndMissingTablesSilently) {
    const auto& p = Plugin();
    EXPECT_EQ(p.getBufferSize(nullptr), 0u);
    EXPECT_EQ(p.convert(nullptr), 0u);
    const std::string table = WriteTable("abc\tx\n");
    EXPECT_FALSE(p.Run(2, "abc", table.c_str()).has_value());
    EXPECT_FALSE(p.Run(0, "abc", "").has_value());
    EXPECT_FALSE(p.Run(1, "abc", "").has_value());
    EXPECT_TRUE(messages.empty());
}

TEST_F(RulebookContract, ReportsATableThatCannotBeOpenedOncePerPass) {
    const std::string missing = folder.str() + "/no-such.tbl";
    uint32_t size = 7;
    EXPECT_FALSE(Plugin().Run(1, "abc", missing.c_str(), &size).has_value());
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(messages, std::vector<Message>{TableOpenError(kMissingFile)});
    messages.clear();
    EXPECT_FALSE(Plugin().Run(0, "abc", folder.str().c_str()).has_value());  // a folder
    EXPECT_EQ(messages, std::vector<Message>{TableOpenError(kFolder)});
    messages.clear();
#ifndef _WIN32
    // A named pipe fails at once rather than waiting for a writer.
    const std::string pipe = folder.str() + "/pipe.tbl";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(Plugin().Run(1, "abc", pipe.c_str()).has_value());
    EXPECT_EQ(messages, std::vector<Message>{TableOpenError(EINVAL)});
#endif
}

TEST_F(RulebookContract, ConvertRefusesAnOutputBufferSmallerThanTheResult) {
    const std::string path = WriteTable("a\tlonger\n");
    const unsigned char in[] = "aa";
    unsigned char out[16] = {};
    ConvertRequest request{sizeof(ConvertRequest), in, 2, out, 0, 1, path.c_str(), 0, 0, 0};
    ASSERT_EQ(Plugin().getBufferSize(&request), 12u);
    request.outputCapacity = 11;  // the table grew between the two passes
    request.outputLength = 99;
    EXPECT_EQ(Plugin().convert(&request), 0u);
    EXPECT_EQ(request.outputLength, 0u);
    request.outputCapacity = 12;
    EXPECT_EQ(Plugin().convert(&request), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), request.outputLength), "longerlonger");
}

TEST_F(RulebookContract, EmptyTablesAndCommentOnlyTablesPassTheInputOn) {
    for (uint32_t index : {kRegexTable, kStringTable}) {
        for (const char* table : {"", "# only a comment\n", "#a\tb\n#s/a/b/\n"}) {
            uint32_t size = 0;
            EXPECT_EQ(Convert(index, table, "abc", &size), "abc") << index << table;
            EXPECT_EQ(size, 3u);
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(RulebookContract, AnEmptyResultHasNothingToWrite) {
    uint32_t size = 9;
    EXPECT_FALSE(Convert(kStringTable, "abc\n", "abcabc", &size).has_value());
    EXPECT_EQ(size, 0u);
}

}  // namespace
}  // namespace rulebook_test
