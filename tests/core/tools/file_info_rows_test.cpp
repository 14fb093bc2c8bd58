// The file-information table of the windows: one row a listed file in list order under the
// model's headers, read under the wait cursor; an empty list says so; rows sort by any column,
// numbers by their value and before words, equal cells in list order either way.
#include <gtest/gtest.h>

#include "host/core/tools/cell_order.h"
#include "host/core/tools/file_info.h"
#include "host/core/tools/file_info_rows.h"
#include "scripted_ui.h"
#include "support/temp_folder.h"

namespace {

using Order = std::vector<std::size_t>;

TEST(FileInfoRows, OneRowAListedFileInListOrder) {
    testing_support::TempFolder work;
    host_testing::ScriptedUi ui;
    const std::string b = work.Write("b.txt", "x\r\ny\r\n");
    const std::string a = work.Write("a.txt", "\x93\xFA\x96\x7B\n");
    const host::FileInfoRows table = host::DescribeListedFiles(ui, {b, a, work.Path("gone")});
    ASSERT_TRUE(table.shown);
    EXPECT_EQ(table.headers, host::FileInfoHeaders());
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0], host::FileInfoCells(host::ReadAndDescribeFile(b)));
    EXPECT_EQ(table.rows[1][1], "Shift JIS");
    EXPECT_EQ(table.rows[2][1], "unreadable");
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(host::FileInfoSummary(table).utf8(), "ファイル数: 3");
    EXPECT_TRUE(ui.log.empty());

    EXPECT_FALSE(host::DescribeListedFiles(ui, {}).shown);
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "box 16 エラー: 判定するファイルがリストにありません。",
                          "status 判定するファイルがリストにありません。"}));
}

TEST(CellOrder, NumbersByValueBeforeWordsAndTiesInListOrder) {
    EXPECT_TRUE(host::CellLess("9", "10"));
    EXPECT_FALSE(host::CellLess("10", "9"));
    EXPECT_TRUE(host::CellLess("123", "-"));   // a number before a word
    EXPECT_TRUE(host::CellLess("ASCII", "EUC-JP"));
    EXPECT_FALSE(host::CellLess("", ""));
    // Past what a 64-bit count holds, a number is compared as text.
    EXPECT_TRUE(host::CellLess("9", "99999999999999999999"));

    const std::vector<std::vector<std::string>> rows = {
        {"c", "10"}, {"a", "9"}, {"b", "-"}, {"d", "9"}, {"e"}};
    EXPECT_EQ(host::SortedRows(rows, 1, true), (Order{1, 3, 0, 4, 2}));
    EXPECT_EQ(host::SortedRows(rows, 1, false), (Order{2, 4, 0, 1, 3}));
    EXPECT_EQ(host::SortedRows(rows, 0, true), (Order{1, 2, 0, 3, 4}));
    EXPECT_EQ(host::SortedRows(rows, 5, true), (Order{0, 1, 2, 3, 4}));
}

}  // namespace
