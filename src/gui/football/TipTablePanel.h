#pragma once

#include <QWidget>

#include "core/football/TipFiles.h"
#include "gui/common/AppContext.h"
#include "gui/football/FootballState.h"

class QLabel;
class QToolButton;

namespace losfix {

class CaptionButton;
class ElidedLabel;
class StringGridModel;
class TipGridView;

// The tip rows of the football window: the bar with both save buttons, the file name and the
// clipboard button; the tip table g1 and the outcome matrix g2 under it.
class TipTablePanel : public QWidget {
    Q_OBJECT
public:
    TipTablePanel(AppContext& context, FootballState& state, QWidget* parent = nullptr);
    ~TipTablePanel() override;

    // bsSkinSpeedButton7 (text form) and bsSkinSpeedButton4 (semicolon form).
    void SaveTipRows(TipFileForm form);
    // bsSkinSpeedButton11.
    void CopyTipRows();

    // The grids show what the tables hold.
    void syncGrids();
    // The matrix takes its colours from the statuses as they are now.
    void repaintMatrix();
    // "Auswerten" needs tip rows and no run.
    void setRunning(bool running);

signals:
    // "Auswerten": the evaluation of the tip rows is wanted.
    void evaluationRequested();

private:
    void updateEvaluateButton();

    AppContext& context_;
    FootballState& state_;
    StringGridModel* tableModel_ = nullptr;
    StringGridModel* matrixModel_ = nullptr;

    CaptionButton* bsSkinSpeedButton7 = nullptr;  // "Reihen speichern..."
    QToolButton* bsSkinSpeedButton4 = nullptr;    // semicolon form
    QLabel* Label2 = nullptr;                     // "Datei"
    ElidedLabel* LDatei2 = nullptr;
    CaptionButton* bsSkinSpeedButton11 = nullptr;  // "In Zwischen- ablage"
    CaptionButton* BAuswerten = nullptr;
    bool running_ = false;
    TipGridView* g1 = nullptr;
    TipGridView* g2 = nullptr;
};

}  // namespace losfix
