#pragma once

#include <QLabel>

#include "core/football/TipStatus.h"
#include "gui/lottery/TBZahl.h"

namespace losfix {

// An outcome button of the match board: named "but" + slot, it shows the outcome symbol and wears
// the number board's face of Normal, Fav I, Fav II or Fav III for its tip status. A mouse-down asks
// for a step (stepRequested with the slot).
class TipButton : public TBZahl {
    Q_OBJECT
public:
    TipButton(int slot, QWidget* parent = nullptr);

    int slot() const { return number(); }
    void showTipStatus(TipStatus status);
};

// The match number field left of a row of outcome buttons: white bold digits on dark grey.
class TPNr : public QLabel {
    Q_OBJECT
public:
    TPNr(int match, QWidget* parent = nullptr);
};

// What a screen reader and the legend call a tip status.
QString TipStatusName(TipStatus status);

}  // namespace losfix
