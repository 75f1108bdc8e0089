#pragma once

#include <optional>

#include "core/common/StringGrid.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"

namespace losfix {

// What the areas of the main window share for the life of the program: the board with its
// statuses, the row table with the sort backup, and the draw counts of the last run.
struct LotteryState {
    Board board;
    StringGrid table;
    StringGrid sortBackup;  // the table before the last sort
    DrawCounts counts{};
    int sortKeySize = 0;  // numbers per row of the last run: the sort's key count
    // The settings of the run that filled the table; none once a row file replaced its rows.
    std::optional<RunSettings> tableRun;
};

}  // namespace losfix
