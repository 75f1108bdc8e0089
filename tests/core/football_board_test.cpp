#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/football/FootballLayout.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipStatus.h"
#include "core/football/TipTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;

MatchBoard BoardWithPositions(int positionsPerMatch, TipStatus status = TipStatus::TipFavI) {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= positionsPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position), status);
        }
    }
    board.kombisAnzeigen();
    return board;
}

CountLabels Labels(std::string kombis, std::string zw, std::string dw, std::string baenke) {
    return CountLabels{std::move(kombis), std::move(zw), std::move(dw), std::move(baenke)};
}

TEST(MatchBoardTest, SlotsFollowMatchAndPosition) {
    EXPECT_EQ(OutcomeText(1), "1");
    EXPECT_EQ(OutcomeText(2), "0");
    EXPECT_EQ(OutcomeText(3), "2");
    EXPECT_EQ(OutcomeText(37), "1");
    EXPECT_EQ(OutcomeText(38), "0");
    EXPECT_EQ(OutcomeText(39), "2");
    EXPECT_EQ(OutcomeSlot(5, 2), 14);
    EXPECT_EQ(MatchOfSlot(39), 13);
    // "1" -> matrix row 1, "0" -> 2, "2" -> 3.
    EXPECT_EQ(MatrixRowOfValue(1), 1);
    EXPECT_EQ(MatrixRowOfValue(0), 2);
    EXPECT_EQ(MatrixRowOfValue(2), 3);
    EXPECT_EQ(OutcomeButtonRect(1), (PixelRect{27, 45, 39, 26}));
    EXPECT_EQ(OutcomeButtonRect(39), (PixelRect{107, 381, 39, 26}));
}

TEST(MatchBoardTest, EachMouseButtonSteps) {
    MatchBoard board;
    const std::vector<TipStatus> forward = {TipStatus::TipFavI, TipStatus::TipFavII,
                                            TipStatus::TipFavIII, TipStatus::TipOut};
    for (const TipStatus expected : forward) {
        EXPECT_EQ(board.stepTipStatus(7, MouseStep::Left), expected);
    }
    const std::vector<TipStatus> backward = {TipStatus::TipFavIII, TipStatus::TipFavII,
                                             TipStatus::TipFavI, TipStatus::TipOut};
    for (const TipStatus expected : backward) {
        EXPECT_EQ(board.stepTipStatus(7, MouseStep::Right), expected);
    }
    EXPECT_EQ(MouseStepOfButtons(true, true), MouseStep::Right);
    EXPECT_EQ(MouseStepOfButtons(true, false), MouseStep::Left);
    EXPECT_EQ(MouseStepOfButtons(false, false), MouseStep::Middle);

    // A middle click changes nothing but counts: the empty board shows 1 combination.
    board.clearTips();
    EXPECT_EQ(board.labels(), Labels("0", "0", "0", "0"));
    EXPECT_EQ(board.stepTipStatus(7, MouseStep::Middle), TipStatus::TipOut);
    EXPECT_EQ(board.labels(), Labels("1", "0", "0", "0"));
    EXPECT_EQ(board.stepTipStatus(40, MouseStep::Left), TipStatus::TipOut);
}

TEST(MatchBoardTest, CountsOfTheExampleBoards) {
    MatchBoard board;
    board.stepTipStatus(1, MouseStep::Left);
    EXPECT_EQ(board.labels(), Labels("1", "0", "0", "1"));
    // Fav I to Fav II changes no count.
    board.stepTipStatus(1, MouseStep::Left);
    EXPECT_EQ(board.labels(), Labels("1", "0", "0", "1"));
    board.stepTipStatus(1, MouseStep::Right);
    board.stepTipStatus(1, MouseStep::Right);
    EXPECT_EQ(board.labels(), Labels("1", "0", "0", "0"));

    EXPECT_EQ(BoardWithPositions(2).labels(), Labels("8.192", "13", "0", "0"));
    const MatchBoard all = BoardWithPositions(3, TipStatus::TipFavIII);
    EXPECT_EQ(all.labels(), Labels("1.594.323", "0", "13", "0"));
    EXPECT_EQ(all.counts().combinations, 1594323U);

    MatchBoard mixed;
    mixed.setTipStatus(OutcomeSlot(2, 1), TipStatus::TipFavI);
    mixed.setTipStatus(OutcomeSlot(2, 3), TipStatus::TipFavII);
    mixed.setTipStatus(OutcomeSlot(4, 1), TipStatus::TipFavI);
    mixed.setTipStatus(OutcomeSlot(4, 2), TipStatus::TipFavI);
    mixed.setTipStatus(OutcomeSlot(4, 3), TipStatus::TipFavI);
    mixed.setTipStatus(OutcomeSlot(9, 2), TipStatus::TipFavIII);
    // SetTipStatus leaves the labels to KombisAnzeigen.
    EXPECT_EQ(mixed.labels(), Labels("0", "0", "0", "0"));
    mixed.kombisAnzeigen();
    EXPECT_EQ(mixed.labels(), Labels("6", "1", "1", "1"));
    EXPECT_EQ(MatchBoard(",").labels().kombis, "0");
    MatchBoard english(",");
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        english.setTipStatus(slot, TipStatus::TipFavI);
    }
    english.kombisAnzeigen();
    EXPECT_EQ(english.labels().kombis, "1,594,323");

    mixed.clearTips();
    EXPECT_EQ(mixed.labels(), Labels("0", "0", "0", "0"));
    EXPECT_EQ(mixed.counts(), BoardCounts{});
}

TEST(TipTableTest, EmptyGridsAndTheirHeaders) {
    const StringGrid table = MakeTipTable(FixedMeasure);
    EXPECT_EQ(table.columnCount(), 14);
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(table.cell(0, 0), PadLabel("Reihe", 40, FixedMeasure));
    EXPECT_EQ(table.cell(13, 0), PadLabel("13", 30, FixedMeasure));
    EXPECT_EQ(TipRowLabel(7, FixedMeasure), PadLabel("7", 36, FixedMeasure));
    EXPECT_EQ(TipRowLines(table), std::vector<std::string>(24, ",,,,,,,,,,,,"));

    StringGrid matrix = MakeOutcomeMatrix(FixedMeasure);
    EXPECT_EQ(matrix.rowCount(), 4);
    EXPECT_EQ(matrix.cell(0, 0), PadLabel("1 0 2", 40, FixedMeasure));
    EXPECT_EQ(matrix.cell(0, 1), PadLabel("1", 40, FixedMeasure));
    EXPECT_EQ(matrix.cell(0, 2), PadLabel("0", 40, FixedMeasure));
    EXPECT_EQ(matrix.cell(0, 3), PadLabel("2", 40, FixedMeasure));
    EXPECT_EQ(matrix.cell(1, 0), PadLabel("1", 30, FixedMeasure));

    OutcomeCounts counts{};
    counts[4][1] = 17;
    counts[12][2] = 3;
    WriteOutcomeMatrix(matrix, counts);
    EXPECT_EQ(matrix.cell(5, 2), "17");
    EXPECT_EQ(matrix.cell(13, 3), "3");
    EXPECT_EQ(matrix.cell(5, 1), "");

    // Cell (5, 2) stands for "0" of match 5, slot 14.
    MatchBoard board;
    board.setTipStatus(14, TipStatus::TipFavII);
    EXPECT_EQ(OutcomeMatrixColour(board.statuses(), 5, 2), 0x8FFF79U);
    EXPECT_EQ(OutcomeMatrixColour(board.statuses(), 5, 1), 0xF3F3F3U);
    EXPECT_EQ(OutcomeMatrixColour(board.statuses(), 0, 2), kTipCellColour);
}

}  // namespace
}  // namespace losfix
