#pragma once

#include <QFrame>
#include <array>

#include "core/football/TipStatus.h"
#include "gui/common/AppContext.h"
#include "gui/football/FootballState.h"

class QLabel;
class QToolButton;

namespace losfix {

class TipButton;

// The left column of the football window (Panel1): the count labels, the 39 outcome buttons with
// the match numbers, the legend, and the bar with the quick selection buttons and the clear button.
class MatchBoardPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 182;
    static constexpr int kHeight = 486;

    MatchBoardPanel(AppContext& context, FootballState& state, QWidget* parent = nullptr);

    // BMusterMouseDown: steps the slot's status, its face and the counts.
    void StepTipStatus(int slot, MouseStep step);
    void ClearTips();
    // bsSkinSpeedButton1: writes Quick.wh13, then offers to load it.
    void SaveQuickTips();
    // BQOpen13: loads Quick.wh13; a refused file leaves everything as it was.
    void LoadQuickTips();
    // The same for another quick selection file (one the program was started with).
    void LoadQuickTips(const std::string& path);

    TipButton* button(int slot) const;
    // Every face and the four count labels as the board holds them.
    void showBoard();

signals:
    // The statuses changed: the outcome matrix takes its colours from them.
    void statusesChanged();

private:
    void buildCounts();
    void buildLegend();
    void buildBottomBar();
    void showLabels();
    std::string quickFilePath() const;

    AppContext& context_;
    FootballState& state_;
    std::array<TipButton*, kOutcomeSlotCount> buttons_{};

    QFrame* Panel2 = nullptr;
    QLabel* Label3 = nullptr;  // "Kombinationen:"
    QLabel* LKombis = nullptr;
    QLabel* Label4 = nullptr;  // "ZW:"
    QLabel* LZW = nullptr;
    QLabel* Label5 = nullptr;  // "DW:"
    QLabel* LDW = nullptr;
    QLabel* Label6 = nullptr;  // "Bänke:"
    QLabel* LBaenke = nullptr;
    QToolButton* BQOpen13 = nullptr;
    QToolButton* bsSkinSpeedButton1 = nullptr;  // quick save
    QToolButton* bsSkinSpeedButton3 = nullptr;  // clear
};

}  // namespace losfix
