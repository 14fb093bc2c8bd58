// pictile's answers to the host's questions, and the names it proposes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/plugin_under_test.h"

namespace {

using testing_support::PluginUnderTest;

const PluginUnderTest& Pictile() {
    return testing_support::SharedPlugin("pictile");
}

TEST(PictileContract, AnswersVersionCountTitleAndTableUse) {
    const auto& p = Pictile();
    EXPECT_EQ(p.getVersion(), 0x01000002u);
    EXPECT_EQ(p.getCount(), 1u);
    EXPECT_EQ(p.TitleUtf8(0), "ビットマップ→アイコン変換");
    EXPECT_EQ(p.getTitle(1), nullptr);
    EXPECT_EQ(p.isUseTable(0), 0u);
    EXPECT_EQ(p.isUseTable(1), 0u);
    EXPECT_EQ(p.regExp, nullptr);
}

TEST(PictileContract, RefusesNullRequestsAndUnknownFunctions) {
    const auto& p = Pictile();
    EXPECT_EQ(p.getBufferSize(nullptr), 0u);
    EXPECT_EQ(p.convert(nullptr), 0u);
    // Headers alone: one plane of 24 bits per pixel, 0 x 0 pixels.
    std::string bitmap(54, '\0');
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    bitmap[14] = 40;
    bitmap[26] = 1;
    bitmap[28] = 24;
    EXPECT_TRUE(p.Run(0, bitmap).has_value());
    EXPECT_FALSE(p.Run(1, bitmap).has_value());
    EXPECT_FALSE(p.Run(0xFFFFFFFFu, bitmap).has_value());
}

struct RenameCase {
    std::string path;
    uint32_t index;
    std::string renamed;  // empty: the name is kept
};

TEST(PictileContract, ProposesTheIconExtensionWithinTwoHundredSixtyBytes) {
    const std::string folder = "/" + std::string(200, 'd') + "/";
    const std::vector<RenameCase> cases = {
        {"picture.bmp", 0, "picture.ico"},
        {"/out/picture.bmp", 7, "/out/picture.ico"},  // the index is not looked at
        {"/out/picture", 0, "/out/picture.ico"},
        {"/out.v2/icon.final.bmp", 0, "/out.v2/icon.final.ico"},
        {folder + std::string(255 - folder.size(), 'n'), 0,
         folder + std::string(255 - folder.size(), 'n') + ".ico"},
        {folder + std::string(256 - folder.size(), 'n'), 0, ""},
    };
    for (const auto& c : cases) {
        char newPath[260];
        std::memset(newPath, 'q', sizeof newPath);
        newPath[sizeof newPath - 1] = '\0';
        const uint32_t result = Pictile().renameFile(c.path.c_str(), newPath, c.index);
        EXPECT_EQ(result != 0, !c.renamed.empty()) << c.path;
        if (result != 0) {
            EXPECT_EQ(std::string(newPath), c.renamed);
        }
    }
}

}  // namespace
