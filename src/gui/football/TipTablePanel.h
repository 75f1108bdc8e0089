#pragma once

#include <QWidget>

#include "core/export/PrintDocument.h"
#include "core/football/TipFiles.h"
#include "gui/common/AppContext.h"
#include "gui/football/FootballState.h"

class QAction;
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
    // "Drucken…": the tip rows in the print preview.
    void PrintTips();
    // "Als PDF speichern…" in the menu of "Drucken…".
    void SaveTipsAsPdf();
    // No printing while a run writes the table.
    void setRunning(bool running);

    // The grids show what the tables hold.
    void syncGrids();
    // The matrix takes its colours from the statuses as they are now.
    void repaintMatrix();

private:
    PrintDocument tipsDocument() const;
    // "Drucken…" needs tip rows and no run.
    void updateTableButtons();

    AppContext& context_;
    FootballState& state_;
    StringGridModel* tableModel_ = nullptr;
    StringGridModel* matrixModel_ = nullptr;

    CaptionButton* bsSkinSpeedButton7 = nullptr;  // "Reihen speichern..."
    QToolButton* bsSkinSpeedButton4 = nullptr;    // semicolon form
    QLabel* Label2 = nullptr;                     // "Datei"
    ElidedLabel* LDatei2 = nullptr;
    CaptionButton* bsSkinSpeedButton11 = nullptr;  // "In Zwischen- ablage"
    bool running_ = false;
    TipGridView* g1 = nullptr;
    TipGridView* g2 = nullptr;
    QToolButton* BDrucken = nullptr;
    QAction* ADrucken = nullptr;  // "Drucken…" in its menu
    QAction* APdf = nullptr;      // "Als PDF speichern…"
};

}  // namespace losfix
