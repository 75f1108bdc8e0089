#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/common/PadLabel.h"
#include "core/common/StringGrid.h"
#include "core/football/MatchBoard.h"

namespace losfix {

// The tip table g1: label column 0 and the matches 1..13, header row 0 and label column fixed.
constexpr int kTipTableColumns = kMatchCount + 1;
constexpr int kTipTableInitialRows = 25;  // header and 24 empty rows before the first run
constexpr int kTipLabelColumnWidth = 40;
constexpr int kTipMatchColumnWidth = 30;
constexpr int kTipRowLabelWidth = 36;  // row labels are padded a little narrower than the column
constexpr int kTipRowHeight = 16;

// The outcome matrix g2: the same columns, a header row and the rows "1", "0", "2".
constexpr int kOutcomeMatrixRows = kOutcomesPerMatch + 1;

constexpr Rgb kTipCellColour = 0xFFFFFF;

// An empty tip table with its header: "Reihe" padded for 40, the match numbers for 30.
StringGrid MakeTipTable(const TextMeasure& measure);
// The outcome matrix with its header ("1 0 2", the match numbers) and the labels "1", "0", "2".
StringGrid MakeOutcomeMatrix(const TextMeasure& measure);

// The label of tip row k: k padded for width 36.
std::string TipRowLabel(int row, const TextMeasure& measure);

// How often each outcome occurs in the tip rows: [match - 1][matrix row - 1], the matrix rows in
// the order "1", "0", "2".
using OutcomeCounts = std::array<std::array<int, kOutcomesPerMatch>, kMatchCount>;

// Cell (m, r) of the matrix gets the count of match m, row r, or the empty text for 0.
void WriteOutcomeMatrix(StringGrid& matrix, const OutcomeCounts& counts);

// The fill of matrix cell (column, row), column and row from 1: the colour of the status of the
// outcome the cell stands for, read from the current statuses. White outside the cells.
Rgb OutcomeMatrixColour(const TipStatuses& statuses, int column, int row);

// TipRowLines: for every table row from 1, the cells of the matches 1..13 joined by commas;
// an empty row gives 12 commas.
std::vector<std::string> TipRowLines(const StringGrid& table);

// The clipboard text of the tip rows: every line followed by CR LF.
std::string TipRowClipboardText(const StringGrid& table);

}  // namespace losfix
