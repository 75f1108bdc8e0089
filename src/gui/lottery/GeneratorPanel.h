#pragma once

#include <QWidget>

#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/lottery/RowGenerator.h"
#include "gui/common/AppContext.h"
#include "gui/common/RunPump.h"
#include "gui/lottery/LotteryState.h"

class QLabel;
class QLineEdit;
class QSlider;
class QTimer;
class QToolButton;

namespace losfix {

class CaptionButton;
class ElidedLabel;
class RadioGroup;

// The generator controls in the middle column: requested row count, pair rule, congruence
// limit, "Reihen bilden" and stop, the progress line and the ceiling hint.
class GeneratorPanel : public QWidget {
    Q_OBJECT
public:
    GeneratorPanel(AppContext& context, LotteryState& state, Random& random, TextMeasure measure,
                   QWidget* parent = nullptr);

    // Runs the generator inside this call; the window answers through the run pump.
    void GenerateRows();
    void RequestStop();
    // Ends a run without the stop notice: the window is closing.
    void EndRun() { pump_.requestStop(); }
    bool running() const { return pump_.running(); }

    QString rowCountText() const;
    void setRowCountText(const QString& text);
    int congruence() const;
    void setCongruence(int value);
    // Shows the button that leads to the other width.
    void setWide(bool wide);
    // The hint says how many rows the current settings allow when fewer than requested.
    void updateHint();
    // The table no longer holds the rows of the last run.
    void clearProgress();

signals:
    // Before anything of a run changes: the distribution goes back into numeric order.
    void runPreparing();
    // The run starts with zeroed draw counts, drawing from the numbers 1 to poolSize.
    void runStarted(int poolSize);
    // Rows were added to the table.
    void tableChanged();
    // The run is over, however it ended: the controls that depend on it come back.
    void runEnded();
    // The run completed or was stopped: its draw counts are final. poolSize is the run's pool,
    // which the user may have changed while it ran.
    void runFinished(int poolSize);
    void wideRequested();
    void normalRequested();

private:
    void updateCongruenceLabel(int value);
    void setRunControls(bool running);
    void showProgress(const RunProgress& progress);
    RunSettings currentSettings(int requestedRows) const;
    void showCeiling();

    AppContext& context_;
    LotteryState& state_;
    Random& random_;
    TextMeasure measure_;
    RunPump pump_;
    bool ceilingShown_ = false;  // the hint explains why the run cannot end

    QLabel* Label1 = nullptr;  // "Gewünschte Reihenanzahl:"
    QLineEdit* eAnz = nullptr;
    ElidedLabel* LHinweis = nullptr;
    QToolButton* BBreit = nullptr;
    QToolButton* Bnormal = nullptr;
    RadioGroup* RGPaar = nullptr;
    QLabel* Label4 = nullptr;  // "Max. Reihenkongruenz "
    QSlider* Track1 = nullptr;
    QLabel* Lkon = nullptr;
    CaptionButton* bsSkinSpeedButton2 = nullptr;  // "Reihen bilden"
    QToolButton* BStop = nullptr;
    ElidedLabel* LFortschritt = nullptr;  // progress of the run that made the table
    ElidedLabel* LObergrenze = nullptr;   // the most rows the current settings allow
    QTimer* Timer1 = nullptr;
};

}  // namespace losfix
