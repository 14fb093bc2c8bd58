// Tab stops for texts in two columns: found for the lines as the font measures them, so that
// every line's second column starts on one stop.
#include <gtest/gtest.h>

#include <string>

#include "host/layout/text_columns.h"

namespace {

// Every byte is as wide as `unit`, a tab as wide as nothing (the stops decide).
auto Bytes(int unit) {
    return [unit](std::string_view piece) { return static_cast<int>(piece.size()) * unit; };
}

TEST(AligningTabDistance, LinesTheSecondColumnUpOrSaysItCannot) {
    // The examples' shape: two shorter first parts with two tabs, the longest with one.
    const std::string examples =
        "head:\n\n"
        "..............\t\t-> one\n"
        "............\t\t-> two\n"
        "................\t-> three";
    // 168, 144 and 192 wide: at 34 they reach 204 together, 12 after the longest.
    EXPECT_EQ(layout::AligningTabDistance(examples, Bytes(12), 6), 34);
    // A wider gap asks for a wider layout.
    const auto wide = layout::AligningTabDistance(examples, Bytes(12), 20);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ((168 / *wide + 2) * *wide, (192 / *wide + 1) * *wide);
    EXPECT_GE((192 / *wide + 1) * *wide - 192, 20);

    // Lines alike in their tabs: one stop, the gap after the widest part.
    EXPECT_EQ(layout::AligningTabDistance("ab\tx\nabcd\ty", Bytes(10), 5), 45);
    // Distances 1 and 2 would end both first parts right on a stop.
    EXPECT_EQ(layout::AligningTabDistance("ab\tx\nba\ty", Bytes(10), 1), 3);
    // Nothing to line up, or no stop that would: the wider part would need fewer tabs.
    EXPECT_EQ(layout::AligningTabDistance("no tabs\nat all", Bytes(10), 5), std::nullopt);
    EXPECT_EQ(layout::AligningTabDistance("long part\t\tx\nab\ty", Bytes(10), 5), std::nullopt);
}

}  // namespace
