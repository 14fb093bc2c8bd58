// The path rules every part of the system edits paths by.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/paths.h"

namespace {

using platform::FindExtension;
using platform::JoinPath;
using platform::ReplaceExtension;

TEST(Paths, JoinUsesExactlyOneSeparator) {
    EXPECT_EQ(JoinPath("/out", "a.txt"), std::string("/out") + platform::kPathSeparator + "a.txt");
    EXPECT_EQ(JoinPath("/out/", "a.txt"), "/out/a.txt");
    EXPECT_EQ(JoinPath("", "a.txt"), "a.txt");
    EXPECT_EQ(JoinPath("/", "a.txt"), "/a.txt");
}

TEST(Paths, FileNameAndFolderPart) {
    EXPECT_EQ(platform::FileNameOf("/in/sub/a.txt"), "a.txt");
    EXPECT_EQ(platform::FileNameOf("a.txt"), "a.txt");
    EXPECT_EQ(platform::FileNameOf("/in/"), "");
    EXPECT_EQ(platform::RemoveFileName("/in/sub/a.txt"), "/in/sub");
    EXPECT_EQ(platform::RemoveFileName("/a.txt"), "/");
    EXPECT_EQ(platform::RemoveFileName("a.txt"), "");
}

TEST(Paths, ExtensionIsTheLastDotOfTheFileName) {
    EXPECT_EQ(FindExtension("/in/a.tar.gz"), std::strlen("/in/a.tar"));
    EXPECT_EQ(FindExtension("/in.d/readme"), std::strlen("/in.d/readme"));
    EXPECT_EQ(FindExtension("noext"), 5u);
    EXPECT_EQ(ReplaceExtension("/in/a.dat", ".txt"), "/in/a.txt");
    EXPECT_EQ(ReplaceExtension("/in.d/readme", ".bin"), "/in.d/readme.bin");
    EXPECT_EQ(ReplaceExtension("/in/data.txt", ".bin"), "/in/data.bin");
}

TEST(Paths, ReplacedExtensionMustFitTheLimit) {
    // 259 bytes plus the terminating zero is the longest path there is.
    const std::string fits = "/" + std::string(254, 'a') + ".dat";  // 259 bytes
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_EQ(ReplaceExtension(fits, ".txt")->size(), 259u);
    EXPECT_FALSE(ReplaceExtension(fits, ".text").has_value());

    char buffer[platform::kMaxPath] = {};
    std::memcpy(buffer, fits.c_str(), fits.size() + 1);
    EXPECT_FALSE(platform::RenameExtensionInPlace(buffer, ".text"));
    EXPECT_EQ(std::string(buffer), fits);  // unchanged on failure
    EXPECT_TRUE(platform::RenameExtensionInPlace(buffer, ".ico"));
    EXPECT_EQ(std::string(buffer), "/" + std::string(254, 'a') + ".ico");
}

}  // namespace
