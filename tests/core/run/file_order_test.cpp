// Which files wait for which when a run converts several at once.
#include <gtest/gtest.h>

#include "host/core/run/file_order.h"

namespace {

using Waits = std::vector<std::vector<std::size_t>>;

TEST(FileOrder, FilesSharingAPathWaitForTheLastEarlierOneOnly) {
    const auto waits = host::EarlierFilesToWaitFor({
        {"/in/a.txt", "/out/a.txt"},
        {"/in/b.txt", "/out/b.txt"},
        {"/in/x/a.txt", "/out/a.txt"},  // the same target as file 0
        {"/in/y/a.txt", "/out/a.txt"},  // and again: waits for file 2, which waited for 0
        {"/out/b.txt", "/out2/b.txt"},  // reads what file 1 writes
    });
    EXPECT_EQ(waits, (Waits{{}, {}, {0}, {2}, {1}}));
}

TEST(FileOrder, PathsAreComparedAfterNormalisingAndAFileNeverWaitsForItself) {
    const auto waits = host::EarlierFilesToWaitFor({
        {"/in/a.txt", "/in/a.txt", "/in/a.bin"},  // overwriting its own source
        {"/in//./a.bin", "/out/a.bin"},           // its source is file 0's renamed target
        {"/in/sub/../c.txt", "/out/c.txt", "/out/a.bin"},
    });
    EXPECT_EQ(waits, (Waits{{}, {0}, {1}}));
}

#ifdef _WIN32
// On Windows a slash is a backslash and capitals are small letters: these name one file, and
// two jobs must never write it at once.
TEST(FileOrder, WindowsPathsThatNameOneFileAreOneFile) {
    const auto waits = host::EarlierFilesToWaitFor({
        {"C:\\in\\A.txt", "C:\\out\\A.txt"},
        {"c:/in/x/a.TXT", "c:/out/./a.txt"},
        {"C:\\in\\Ä.txt", "C:\\out\\Ä.txt"},
        {"C:\\in\\y\\ä.txt", "C:\\out\\ä.txt"},
    });
    EXPECT_EQ(waits, (Waits{{}, {0}, {}, {2}}));
}
#endif

}  // namespace
