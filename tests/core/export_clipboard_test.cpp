#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/export/ClipboardText.h"
#include "core/lottery/RowTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

// A row table whose data rows hold the numbers given, labelled like generated rows.
StringGrid TableOf(const std::vector<std::vector<std::string>>& rows, int tableRows = 0) {
    StringGrid table = MakeRowTable(testing::FixedMeasure);
    table.setRowCount(std::max(tableRows, static_cast<int>(rows.size())) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        table.setCell(0, row, RowLabel(row, testing::FixedMeasure));
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            table.setCell(static_cast<int>(c) + 1, row, rows[r][c]);
        }
    }
    return table;
}

TEST(ClipboardTextTest, OneCommaLinePerRowWithEveryNumber) {
    EXPECT_EQ(ClipboardText(TableOf({{"3", "11", "17"}, {"1", "2", "90"}})),
              "3,11,17\r\n1,2,90\r\n");
    EXPECT_EQ(ClipboardText(TableOf({{"3", "11", "17", "25", "38", "44"}})),
              "3,11,17,25,38,44\r\n");
    // Rows longer than ten numbers keep all of them.
    EXPECT_EQ(
        ClipboardText(TableOf({{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}})),
        "1,2,3,4,5,6,7,8,9,10,11,12\r\n");
    const StringGrid sixteen = TableOf({{"1", "6", "11", "16", "21", "26", "31", "36", "41", "46",
                                         "51", "56", "61", "66", "71", "90"},
                                        {"2", "7", "12", "17", "22", "27", "32", "37", "42", "47",
                                         "52", "57", "62", "67", "72", "89"}});
    EXPECT_EQ(ClipboardColumnCount(sixteen), 16);
    EXPECT_EQ(ClipboardText(sixteen),
              "1,6,11,16,21,26,31,36,41,46,51,56,61,66,71,90\r\n"
              "2,7,12,17,22,27,32,37,42,47,52,57,62,67,72,89\r\n");
}

TEST(ClipboardTextTest, RowOneSetsTheWidthOfEveryLine) {
    // A longer second row is cut to the first row's width; a shorter one leaves empty items.
    EXPECT_EQ(ClipboardText(TableOf({{"1", "2", "3"}, {"4", "5", "6", "7"}, {"8"}})),
              "1,2,3\r\n4,5,6\r\n8,,\r\n");
    // Cells loaded from a row file may hold a blank or a comma: quoted like in a row file.
    EXPECT_EQ(ClipboardText(TableOf({{"1", " ", "a,b"}})), "1,\" \",\"a,b\"\r\n");
}

TEST(ClipboardTextTest, EmptyRowsBelowTheDataStillGiveLines) {
    EXPECT_EQ(ClipboardText(TableOf({{"3", "11", "17"}}, 3)), "3,11,17\r\n,,\r\n,,\r\n");
    EXPECT_EQ(ClipboardText(TableOf({{"7"}}, 3)), "7\r\n\"\"\r\n\"\"\r\n");
    // An empty first cell: one empty line for every table row.
    EXPECT_EQ(ClipboardText(TableOf({{"", "5"}}, 3)), "\r\n\r\n\r\n");
    EXPECT_EQ(ClipboardText(MakeRowTable(testing::FixedMeasure)).size(), 54U * 2U);
    // A table without data rows gives no text at all.
    EXPECT_EQ(ClipboardText(TableOf({}, 0)), "");
}

}  // namespace
}  // namespace losfix
