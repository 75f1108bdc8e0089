#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/common/PadLabel.h"
#include "core/lottery/Board.h"
#include "core/lottery/PoolLayouts.h"
#include "core/lottery/RowTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;
constexpr auto Measure = FixedMeasure;

// ---- Statuses ----------------------------------------------------------------------------------

TEST(BoardTest, StartsAllNormalWithPool49AndRowSize6) {
    const Board board;
    for (int n = 1; n <= 90; ++n) {
        EXPECT_EQ(board.status(n), NumberStatus::Normal) << n;
    }
    EXPECT_EQ(board.poolSize(), 49);
    EXPECT_EQ(board.rowSize(), 6);
}

TEST(BoardTest, LeftClicksCycleForwardAndBankWrapsToNormal) {
    Board board;
    const std::vector<NumberStatus> expected = {NumberStatus::Out,   NumberStatus::FavI,
                                                NumberStatus::FavII, NumberStatus::FavIII,
                                                NumberStatus::Bank,  NumberStatus::Normal};
    for (const NumberStatus status : expected) {
        EXPECT_EQ(board.stepStatus(12, MouseStep::Left), status);
        EXPECT_EQ(board.status(12), status);
    }
    // Neighbours are not touched.
    EXPECT_EQ(board.status(11), NumberStatus::Normal);
    EXPECT_EQ(board.status(13), NumberStatus::Normal);
}

TEST(BoardTest, RightClicksCycleBackAndNormalWrapsToBank) {
    Board board;
    const std::vector<NumberStatus> expected = {NumberStatus::Bank,  NumberStatus::FavIII,
                                                NumberStatus::FavII, NumberStatus::FavI,
                                                NumberStatus::Out,   NumberStatus::Normal};
    for (const NumberStatus status : expected) {
        EXPECT_EQ(board.stepStatus(90, MouseStep::Right), status);
    }
}

TEST(BoardTest, MiddleClickKeepsEveryStatus) {
    Board board;
    for (int code = 0; code < kStatusCount; ++code) {
        const auto status = static_cast<NumberStatus>(code);
        board.setStatus(1, status);
        EXPECT_EQ(board.stepStatus(1, MouseStep::Middle), status);
        EXPECT_EQ(board.status(1), status);
    }
}

TEST(BoardTest, NumbersOutsideTheBoardAndBadCodesAreIgnored) {
    Board board;
    board.setStatus(0, NumberStatus::Bank);
    board.setStatus(91, NumberStatus::Bank);
    EXPECT_EQ(board.stepStatus(91, MouseStep::Left), NumberStatus::Normal);
    EXPECT_EQ(board.status(0), NumberStatus::Normal);
    EXPECT_EQ(board.status(91), NumberStatus::Normal);

    board.setStatus(5, NumberStatus::FavII);
    board.setStatus(5, static_cast<NumberStatus>(9));
    EXPECT_EQ(board.status(5), NumberStatus::FavII);

    const auto& all = board.statuses();
    EXPECT_EQ(std::count(all.begin(), all.end(), NumberStatus::Normal), 89);
}

TEST(BoardTest, ResetMakesEverythingNormal) {
    Board board;
    board.setStatus(3, NumberStatus::Bank);
    board.setStatus(88, NumberStatus::Out);
    board.resetStatuses();
    const auto& all = board.statuses();
    EXPECT_EQ(std::count(all.begin(), all.end(), NumberStatus::Normal), 90);
}

TEST(BoardTest, ItemsAreClamped) {
    Board board;
    board.setPoolItem(-3);
    EXPECT_EQ(board.poolSize(), 35);
    board.setPoolItem(12);
    EXPECT_EQ(board.poolItem(), 11);
    EXPECT_EQ(board.poolSize(), 90);
    board.setRowSizeItem(-1);
    EXPECT_EQ(board.rowSize(), 3);
    board.setRowSizeItem(14);
    EXPECT_EQ(board.rowSize(), 16);
    board.setRowSizeItem(7);
    EXPECT_EQ(board.rowSize(), 10);
}

// ---- Drum --------------------------------------------------------------------------------------

TEST(DrumTest, EntriesFollowTheStatusesInAscendingOrder) {
    Board board;
    board.setStatus(2, NumberStatus::FavI);
    board.setStatus(4, NumberStatus::FavIII);
    board.setStatus(5, NumberStatus::Out);
    board.setStatus(6, NumberStatus::Bank);
    board.setStatus(9, NumberStatus::Bank);
    board.setStatus(10, NumberStatus::FavII);
    const Drum drum = BuildDrum(board.statuses(), 35);

    std::vector<int> expected;
    for (int n = 1; n <= 35; ++n) {
        const int times = n == 2                         ? 2
                          : n == 4                       ? 4
                          : n == 10                      ? 3
                          : (n == 5 || n == 6 || n == 9) ? 0
                                                         : 1;
        expected.insert(expected.end(), static_cast<std::size_t>(times), n);
    }
    EXPECT_EQ(drum.entries, expected);
    EXPECT_EQ(drum.bankerCount, 2);
    EXPECT_TRUE(drum.bankers.contains(6));
    EXPECT_TRUE(drum.bankers.contains(9));
    EXPECT_EQ(drum.bankers.count(), 2);
    EXPECT_EQ(drum.distinctNumbers, 32);
}

TEST(DrumTest, Pool35WithOneFavIIAndOneOut) {
    Board board;
    board.setStatus(3, NumberStatus::FavII);
    board.setStatus(7, NumberStatus::Out);
    const Drum drum = BuildDrum(board.statuses(), 35);
    EXPECT_EQ(drum.entries.size(), 36U);
    EXPECT_TRUE(std::is_sorted(drum.entries.begin(), drum.entries.end()));
    EXPECT_EQ(std::count(drum.entries.begin(), drum.entries.end(), 3), 3);
    EXPECT_EQ(std::count(drum.entries.begin(), drum.entries.end(), 7), 0);
    EXPECT_TRUE(drum.bankers.empty());
    EXPECT_EQ(drum.distinctNumbers, 34);
}

TEST(DrumTest, OnlyOutAndBankGivesAnEmptyDrum) {
    Board board;
    for (int n = 1; n <= 90; ++n) {
        board.setStatus(n, n % 4 == 0 ? NumberStatus::Bank : NumberStatus::Out);
    }
    const Drum drum = BuildDrum(board.statuses(), 49);
    EXPECT_TRUE(drum.entries.empty());
    EXPECT_EQ(drum.distinctNumbers, 0);
    EXPECT_EQ(drum.bankerCount, 12);  // 4, 8, ..., 48
    EXPECT_EQ(drum.bankers.count(), 12);
}

TEST(DrumTest, NumbersAboveThePoolKeepTheirStatusButStayOut) {
    Board board;
    board.setStatus(70, NumberStatus::FavIII);
    board.setStatus(60, NumberStatus::Bank);
    board.setPoolItem(5);
    const Drum small = BuildDrum(board.statuses(), board.poolSize());
    EXPECT_EQ(std::count(small.entries.begin(), small.entries.end(), 70), 0);
    EXPECT_EQ(small.bankerCount, 0);
    EXPECT_EQ(small.entries.size(), 49U);

    board.setPoolItem(11);
    EXPECT_EQ(board.status(70), NumberStatus::FavIII);
    const Drum large = BuildDrum(board.statuses(), board.poolSize());
    EXPECT_EQ(std::count(large.entries.begin(), large.entries.end(), 70), 4);
    EXPECT_TRUE(large.bankers.contains(60));
    EXPECT_EQ(large.entries.size(), 88U + 4U);
}

TEST(DrumTest, PoolSizeOutsideTheBoardIsClamped) {
    const Board board;
    EXPECT_TRUE(BuildDrum(board.statuses(), 0).entries.empty());
    EXPECT_TRUE(BuildDrum(board.statuses(), -5).entries.empty());
    const Drum all = BuildDrum(board.statuses(), 200);
    EXPECT_EQ(all.entries.size(), 90U);
    EXPECT_EQ(all.entries.back(), 90);
}

// ---- Layouts -----------------------------------------------------------------------------------

int ButtonsInLastGridRow(const BoardGeometry& geometry) {
    const int lastTop = geometry.buttons.back().top;
    return static_cast<int>(std::count_if(geometry.buttons.begin(), geometry.buttons.end(),
                                          [&](const Rect& r) { return r.top == lastTop; }));
}

int DistinctTops(const BoardGeometry& geometry) {
    std::vector<int> tops;
    for (const Rect& r : geometry.buttons) {
        tops.push_back(r.top);
    }
    std::sort(tops.begin(), tops.end());
    return static_cast<int>(std::unique(tops.begin(), tops.end()) - tops.begin());
}

TEST(PoolLayoutTest, Pool38Has8RowsOf5AndThreeInTheLast) {
    const BoardGeometry geometry = LayoutForPoolItem(1);
    EXPECT_EQ(geometry.poolSize, 38);
    ASSERT_EQ(geometry.buttons.size(), 38U);
    ASSERT_EQ(geometry.frames.size(), 38U);
    EXPECT_EQ(DistinctTops(geometry), 8);
    EXPECT_EQ(ButtonsInLastGridRow(geometry), 3);
    EXPECT_EQ(geometry.captionPointSize, 10);
    // Number 38: grid row 8, column 3; 55 x 25 buttons, gap 5, offsets 3 and 5.
    EXPECT_EQ(geometry.buttons[37], (Rect{2 * 56 + 3, 7 * 30 + 2 + 5, 55, 25}));
    // Frame gaps of 5 columns and 8 rows: 30 and 16.
    EXPECT_EQ(geometry.frames[37], (Rect{2 * 90 + 5, 7 * 38 + 5, 60, 22}));
}

TEST(PoolLayoutTest, Pool90Has13RowsOf7SixInTheLastAnd8Point) {
    const BoardGeometry geometry = LayoutForPoolItem(11);
    ASSERT_EQ(geometry.buttons.size(), 90U);
    EXPECT_EQ(DistinctTops(geometry), 13);
    EXPECT_EQ(ButtonsInLastGridRow(geometry), 6);
    EXPECT_EQ(geometry.captionPointSize, 8);
    EXPECT_EQ(geometry.buttons[89], (Rect{5 * 40 + 3, 12 * 18 + 2 + 6, 39, 18}));
    EXPECT_EQ(geometry.frames[89], (Rect{5 * 60 + 5, 12 * 22 + 5, 60, 22}));
}

TEST(PoolLayoutTest, Pool49ByHand) {
    const BoardGeometry geometry = LayoutForPoolItem(5);
    ASSERT_EQ(geometry.buttons.size(), 49U);
    EXPECT_EQ(geometry.gridRows, 7);
    EXPECT_EQ(geometry.gridColumns, 7);
    EXPECT_EQ(geometry.buttons[0], (Rect{3, 8, 39, 30}));
    EXPECT_EQ(geometry.frames[0], (Rect{5, 5, 60, 22}));
    EXPECT_EQ(geometry.buttons[48], (Rect{243, 212, 39, 30}));
    EXPECT_EQ(geometry.frames[48], (Rect{365, 269, 60, 22}));
    // Number 9 starts the second grid row.
    EXPECT_EQ(geometry.buttons[8], (Rect{3 + 40, 8 + 34, 39, 30}));
    EXPECT_EQ(geometry.buttons[7].top, 8 + 34);
    EXPECT_EQ(geometry.buttons[7].left, 3);
}

TEST(PoolLayoutTest, SixColumnsAndTenRowsByHand) {
    const BoardGeometry pool54 = LayoutForPoolItem(7);  // 9 x 6
    EXPECT_EQ(pool54.buttons[7], (Rect{47 + 2, 26 + 2 + 6, 46, 25}));
    EXPECT_EQ(pool54.frames[7], (Rect{72 + 5, 33 + 5, 60, 22}));
    const BoardGeometry pool60 = LayoutForPoolItem(8);  // 10 x 6
    EXPECT_EQ(pool60.captionPointSize, 9);
    EXPECT_EQ(pool60.buttons[59], (Rect{5 * 47 + 2, 9 * 24 + 2 + 5, 46, 20}));
    EXPECT_EQ(pool60.frames[59], (Rect{5 * 72 + 5, 9 * 29 + 5, 60, 22}));
}

TEST(PoolLayoutTest, EveryItemFillsRowsLeftToRightInsideTheBoardPanel) {
    for (int item = 0; item < kPoolItemCount; ++item) {
        const BoardGeometry geometry = LayoutForPoolItem(item);
        const PoolLayout& layout = PoolLayouts[static_cast<std::size_t>(item)];
        ASSERT_EQ(geometry.poolSize, layout.poolSize);
        ASSERT_EQ(static_cast<int>(geometry.buttons.size()), layout.poolSize) << item;
        ASSERT_EQ(static_cast<int>(geometry.frames.size()), layout.poolSize) << item;
        EXPECT_EQ(DistinctTops(geometry), layout.gridRows) << item;
        for (int k = 1; k <= layout.poolSize; ++k) {
            const Rect& button = geometry.buttons[static_cast<std::size_t>(k - 1)];
            EXPECT_GE(button.left, 0);
            EXPECT_LE(button.left + button.width, 287) << item << " " << k;
            EXPECT_LE(button.top + button.height, 249) << item << " " << k;
            if (k > 1 && (k - 1) % layout.gridColumns != 0) {
                const Rect& before = geometry.buttons[static_cast<std::size_t>(k - 2)];
                EXPECT_EQ(button.left, before.left + before.width + 1);
                EXPECT_EQ(button.top, before.top);
            }
        }
    }
}

TEST(PoolLayoutTest, ItemsOutsideTheChoiceAreClamped) {
    EXPECT_EQ(LayoutForPoolItem(-1).poolSize, 35);
    EXPECT_EQ(LayoutForPoolItem(40).poolSize, 90);
}

// ---- Row table ---------------------------------------------------------------------------------

TEST(RowTableTest, NewTableHasHeaderAnd54EmptyRows) {
    const StringGrid table = MakeRowTable(Measure);
    EXPECT_EQ(table.columnCount(), 17);
    EXPECT_EQ(table.rowCount(), 55);
    EXPECT_EQ(table.fixedColumns(), 1);
    EXPECT_EQ(table.fixedRows(), 1);
    // "Reihe" is 35 px, wider than 31: no spaces. "1" is 7 px: (17 - 7) / 6 rounds to 2.
    EXPECT_EQ(table.cell(0, 0), "Reihe");
    EXPECT_EQ(table.cell(1, 0), "  1");
    EXPECT_EQ(table.cell(9, 0), "  9");
    // "10": (17 - 14) / 6 = 0.5 goes to the even 0.
    EXPECT_EQ(table.cell(10, 0), "10");
    EXPECT_EQ(table.cell(16, 0), "16");
    for (int r = 1; r < 55; ++r) {
        for (int c = 0; c < 17; ++c) {
            EXPECT_TRUE(table.cell(c, r).empty());
        }
    }
}

TEST(RowTableTest, LabelsArePaddedForTheLabelColumn) {
    EXPECT_EQ(RowLabel(1, Measure), "    1");    // (31 - 7) / 6 = 4
    EXPECT_EQ(RowLabel(12, Measure), "   12");   // 17 / 6 = 2.83 -> 3
    EXPECT_EQ(RowLabel(100, Measure), "  100");  // 10 / 6 -> 2
    EXPECT_EQ(RowLabel(12345, Measure), "12345");
}

TEST(RowTableTest, CellNumberReadsOnlyNumbersOfTheBoard) {
    EXPECT_EQ(CellNumber("7"), 7);
    EXPECT_EQ(CellNumber(" 23 "), 23);
    EXPECT_EQ(CellNumber("\t12\r"), 12);
    EXPECT_EQ(CellNumber("90"), 90);
    EXPECT_EQ(CellNumber("1"), 1);
    EXPECT_EQ(CellNumber("007"), 7);
    EXPECT_EQ(CellNumber("+5"), 5);
    EXPECT_EQ(CellNumber("91"), 0);
    EXPECT_EQ(CellNumber("0"), 0);
    EXPECT_EQ(CellNumber("-5"), 0);
    EXPECT_EQ(CellNumber(""), 0);
    EXPECT_EQ(CellNumber("   "), 0);
    EXPECT_EQ(CellNumber("abc"), 0);
    EXPECT_EQ(CellNumber("7a"), 0);
    EXPECT_EQ(CellNumber("1 2"), 0);
    EXPECT_EQ(CellNumber("+"), 0);
    EXPECT_EQ(CellNumber("99999999999999999999999"), 0);
}

}  // namespace
}  // namespace losfix
