#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;

MatchBoard BoardWithPositions(int positionsPerMatch) {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= positionsPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position), TipStatus::TipFavIII);
        }
    }
    board.kombisAnzeigen();
    return board;
}

TEST(MatchBoardTest, EachMouseButtonSteps) {
    MatchBoard board;
    std::vector<TipStatus> steps;
    for (int i = 0; i < 4; ++i) {
        steps.push_back(board.stepTipStatus(7, MouseStep::Left));
    }
    for (int i = 0; i < 4; ++i) {
        steps.push_back(board.stepTipStatus(7, MouseStep::Right));
    }
    using enum TipStatus;
    EXPECT_EQ(steps, (std::vector<TipStatus>{TipFavI, TipFavII, TipFavIII, TipOut, TipFavIII,
                                             TipFavII, TipFavI, TipOut}));
    EXPECT_EQ(MouseStepOfButtons(true, true), MouseStep::Right);

    // After clearing every label reads "0"; a middle click changes nothing but counts again.
    board.clearTips();
    EXPECT_EQ(board.labels(), (CountLabels{"0", "0", "0", "0"}));
    EXPECT_EQ(board.stepTipStatus(7, MouseStep::Middle), TipOut);
    EXPECT_EQ(board.labels(), (CountLabels{"1", "0", "0", "0"}));
}

TEST(MatchBoardTest, CountsOfTheExampleBoards) {
    MatchBoard board;
    board.stepTipStatus(1, MouseStep::Left);
    EXPECT_EQ(board.labels(), (CountLabels{"1", "0", "0", "1"}));
    board.stepTipStatus(1, MouseStep::Left);  // Fav I to Fav II counts the same
    EXPECT_EQ(board.labels(), (CountLabels{"1", "0", "0", "1"}));

    EXPECT_EQ(BoardWithPositions(2).labels(), (CountLabels{"8.192", "13", "0", "0"}));
    EXPECT_EQ(BoardWithPositions(3).labels(), (CountLabels{"1.594.323", "0", "13", "0"}));

    board.setTipStatus(OutcomeSlot(2, 3), TipStatus::TipFavII);
    board.setTipStatus(OutcomeSlot(2, 2), TipStatus::TipFavI);
    board.setTipStatus(OutcomeSlot(9, 1), TipStatus::TipFavIII);
    board.setTipStatus(OutcomeSlot(9, 2), TipStatus::TipFavI);
    board.setTipStatus(OutcomeSlot(9, 3), TipStatus::TipFavI);
    // SetTipStatus leaves the labels to KombisAnzeigen.
    EXPECT_EQ(board.labels().kombis, "1");
    board.kombisAnzeigen();
    EXPECT_EQ(board.labels(), (CountLabels{"6", "1", "1", "1"}));
}

TEST(TipTableTest, EmptyGridsHeadersAndMatrixColours) {
    EXPECT_EQ(OutcomeText(37) + OutcomeText(38) + OutcomeText(39), "102");
    const StringGrid table = MakeTipTable(FixedMeasure);
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(table.cell(0, 0), PadLabel("Reihe", 40, FixedMeasure));
    EXPECT_EQ(table.cell(13, 0), PadLabel("13", 30, FixedMeasure));
    EXPECT_EQ(TipRowLines(table), std::vector<std::string>(24, ",,,,,,,,,,,,"));

    StringGrid matrix = MakeOutcomeMatrix(FixedMeasure);
    const std::vector<std::string> labels = {"1 0 2", "1", "0", "2"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(matrix.cell(0, row),
                  PadLabel(labels[static_cast<std::size_t>(row)], 40, FixedMeasure));
    }
    OutcomeCounts counts{};
    counts[4][1] = 17;
    WriteOutcomeMatrix(matrix, counts);
    EXPECT_EQ(matrix.cell(5, 2), "17");
    EXPECT_EQ(matrix.cell(5, 1), "");

    // Cell (5, 2) stands for "0" of match 5, slot 14.
    MatchBoard board;
    board.setTipStatus(14, TipStatus::TipFavII);
    EXPECT_EQ(OutcomeMatrixColour(board.statuses(), 5, 2), 0x8FFF79U);
    EXPECT_EQ(OutcomeMatrixColour(board.statuses(), 5, 1), 0xF3F3F3U);
}

}  // namespace
}  // namespace losfix
