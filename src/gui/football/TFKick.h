#pragma once

#include <QWidget>
#include <memory>

#include "core/common/IniFile.h"
#include "core/common/Random.h"
#include "gui/common/AppContext.h"
#include "gui/football/FootballState.h"

class QLabel;
class QToolButton;

namespace losfix {

class MatchBoardPanel;
class TFKickAuswertung;
class TipRunPanel;
class TipTablePanel;

// The football window "FKick": the match board on the left, the generator controls, the tip
// table and the outcome matrix on the right. Created hidden at program start; closing only hides
// it, so everything in it lives until the program ends.
class TFKick : public QWidget {
    Q_OBJECT
public:
    TFKick(AppContext& context, ImageSession& images, QWidget* owner = nullptr);
    ~TFKick() override;

    // Shows the window without blocking; brings it to the front when it is already open.
    void showAndRaise();
    // Shows the window with a quick selection file loaded as its own button loads Quick.wh13.
    void OpenQuickTipFile(const std::string& path);
    // A tip run is going on.
    bool running() const;
    // Stops a run without the stop notice: the program is ending. Writes nothing.
    void endRun();

    // bsSkinSpeedButton16: the window position into the settings file.
    void SavePosition();
    // bsSkinSpeedButton9: a picture of PFoto in a new image window.
    void CaptureTip();
    // "Auswerten": opens the evaluation of the tip rows, or says why they cannot be evaluated.
    void OpenEvaluation();

    const FootballState& state() const { return *state_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applySettings();
    QWidget* buildTopBar();

    AppContext& context_;
    ImageSession& images_;
    std::unique_ptr<IniFile> ini_;
    Random random_;
    TextMeasure measure_;
    std::unique_ptr<FootballState> state_;
    bool closeAfterRun_ = false;

    QToolButton* BClose = nullptr;
    QLabel* bsSkinLabel1 = nullptr;  // "Fußball ist auch Losfix"
    QToolButton* bsSkinSpeedButton16 = nullptr;
    QWidget* PFoto = nullptr;
    MatchBoardPanel* board_ = nullptr;
    TipRunPanel* run_ = nullptr;
    TipTablePanel* tips_ = nullptr;
    TFKickAuswertung* evaluation_ = nullptr;
};

}  // namespace losfix
