#pragma once

#include <QLocale>
#include <string>

#include "core/common/PadLabel.h"
#include "core/common/StringGrid.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"

namespace losfix {

// What the football window keeps for the life of the program: closing only hides the window, so
// statuses, tip table, matrix and the name of the last saved file survive until the program ends.
struct FootballState {
    explicit FootballState(const TextMeasure& measure)
        : board(QLocale().groupSeparator().toStdString()),
          table(MakeTipTable(measure)),
          matrix(MakeOutcomeMatrix(measure)) {}

    MatchBoard board;
    StringGrid table;   // g1
    StringGrid matrix;  // g2
    OutcomeCounts counts{};
    std::string fileLabel;  // LDatei2: the last saved tip row file, without its folder
};

}  // namespace losfix
