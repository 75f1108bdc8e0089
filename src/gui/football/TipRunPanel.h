#pragma once

#include <QWidget>

#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/football/TipGenerator.h"
#include "gui/common/AppContext.h"
#include "gui/common/RunPump.h"
#include "gui/football/FootballState.h"

class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

namespace losfix {

class CaptionButton;
class ElidedLabel;

// The generator controls of the football window: the requested count eAnz, "Reihen bilden", the
// stop button, "Auswerten", "Abbild des Tipps", the progress line with the stop notice and the
// hint line.
class TipRunPanel : public QWidget {
    Q_OBJECT
public:
    TipRunPanel(AppContext& context, FootballState& state, Random& random, TextMeasure measure,
                QWidget* parent = nullptr);

    // GenerateTipRows: runs the generator inside this call; the window answers through the pump.
    void GenerateTipRows();
    // BStopClick.
    void RequestStop() { pump_.requestStop(); }
    // Stops a run without the stop notice: the program is ending.
    void EndRun();
    bool running() const { return pump_.running(); }

    QString rowCountText() const;
    void setRowCountText(const QString& text);

signals:
    // A run begins: the tip table changes until runEnded.
    void runStarted();
    // The run is over, however it ended: the grids show what the tables hold.
    void runEnded();
    void imageRequested();
    // "Auswerten": the evaluation of the tip rows is wanted.
    void evaluationRequested();

private:
    void setRunControls(bool running);
    void showProgress(const TipRunProgress& progress);
    void showHint(const QString& hint);
    bool yieldToWindow(const TipRunProgress& progress);

    AppContext& context_;
    FootballState& state_;
    Random& random_;
    TextMeasure measure_;
    RunPump pump_;
    bool quietStop_ = false;

    QLabel* Label1 = nullptr;  // "Gewünschte Reihenanzahl:"
    QLineEdit* eAnz = nullptr;
    CaptionButton* bsSkinSpeedButton2 = nullptr;  // "Reihen bilden"
    QToolButton* BStop = nullptr;
    CaptionButton* BAuswerten = nullptr;
    CaptionButton* bsSkinSpeedButton9 = nullptr;  // "Abbild des Tipps"
    ElidedLabel* LFortschritt = nullptr;          // progress of a run
    QLabel* LHinweis = nullptr;                   // "Prozess gestoppt"
    ElidedLabel* LTippHinweis = nullptr;          // what the board allows, before a run
    QTimer* Timer1 = nullptr;
};

}  // namespace losfix
