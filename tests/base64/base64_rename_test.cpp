// The names base64 proposes for its output files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base64_plugin.h"

namespace {

using base64_test::Base64;

struct RenameCase {
    uint32_t function;
    std::string path;
    std::string renamed;  // empty: the name is kept
};

std::string Renamed(uint32_t function, const std::string& path, uint32_t* result) {
    char newPath[260];
    std::memset(newPath, 'q', sizeof newPath);
    newPath[sizeof newPath - 1] = '\0';
    *result = Base64().renameFile(path.c_str(), newPath, function);
    return *result == 0 ? std::string() : std::string(newPath);
}

TEST(Base64Rename, ReplacesOrAppendsTheExtension) {
    const std::vector<RenameCase> cases = {
        {0, "a.dat", "a.txt"},
        {1, "data.txt", "data.bin"},
        {0, "/out/README", "/out/README.txt"},
        {1, "/out/README", "/out/README.bin"},
        {0, "/out/archive.tar.gz", "/out/archive.tar.txt"},
        {1, "/out.d/mail", "/out.d/mail.bin"},
        {0, "/out/.profile", "/out/.txt"},
        {1, "/out/name.", "/out/name.bin"},
    };
    for (const auto& c : cases) {
        uint32_t result = 0;
        EXPECT_EQ(Renamed(c.function, c.path, &result), c.renamed) << c.path;
        EXPECT_NE(result, 0u) << c.path;
    }
}

TEST(Base64Rename, AnyOtherFunctionKeepsTheName) {
    char newPath[260] = "untouched";
    EXPECT_EQ(Base64().renameFile("a.dat", newPath, 2), 0u);
    EXPECT_STREQ(newPath, "untouched");
}

TEST(Base64Rename, ARenamedPathMustFitTwoHundredSixtyBytes) {
    const std::string folder = "/" + std::string(200, 'd') + "/";
    struct LimitCase {
        std::string path;
        bool fits;
    };
    const std::vector<LimitCase> cases = {
        // 259 bytes plus the zero, before and after.
        {folder + std::string(259 - folder.size() - 4, 'n') + ".dat", true},
        // Without an extension: 255 bytes grow to 259, 256 to 260 (one too many).
        {folder + std::string(255 - folder.size(), 'n'), true},
        {folder + std::string(256 - folder.size(), 'n'), false},
        // A longer extension makes room: 261 bytes shrink to 259.
        {folder + std::string(261 - folder.size() - 5, 'n') + ".jpeg", false},
        {folder + std::string(261 - folder.size() - 6, 'n') + ".jpega", true},
    };
    for (const auto& c : cases) {
        uint32_t result = 0;
        const std::string renamed = Renamed(0, c.path, &result);
        EXPECT_EQ(result != 0, c.fits) << c.path.size();
        if (c.fits) {
            EXPECT_LE(renamed.size(), 259u);
            EXPECT_EQ(renamed.substr(renamed.size() - 4), ".txt");
        }
    }
}

}  // namespace
