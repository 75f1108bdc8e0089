#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/EvaluationSettings.h"
#include "core/common/IniFile.h"
#include "core/eval/LottoEvaluation.h"
#include "core/export/EvaluationText.h"
#include "gui/common/AppContext.h"
#include "gui/eval/EvaluationWindow.h"
#include "gui/lottery/LotteryState.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace losfix {

// What happened to the row table since the evaluation last looked at it.
enum class TableChange { RunStarted, RunEnded, Reordered, Loaded, PoolChanged };

// The evaluation of the lottery rows "FAuswertung": the hits of every row in an entered draw,
// and what the rows can win over all possible draws. Not modal, one at a time; it follows the
// row table and keeps answering while the odds are computed beside it.
class TFAuswertung : public EvaluationWindow {
    Q_OBJECT
public:
    TFAuswertung(AppContext& context, const LotteryState& state, IniFile& settings, QWidget* owner);
    ~TFAuswertung() override;

    // Reads the rows anew and counts the hits of the entered draw again; a running generator
    // makes the window wait for its end.
    void tableChanged(TableChange change);

    // "Treffer zählen": the entered draw against the rows. A bad entry gets a message naming it
    // and changes nothing.
    void CountHits();
    // "Ziehung löschen": no draw, no marks.
    void ClearDraw();
    // "Berechnen": the odds over all draws (or a sample), beside the window.
    void ComputeOdds() override;

    // Writes the draw size and the lowest class into the settings file.
    void saveSettings();

    // The numbers to mark in the row table: the evaluated draw while the window is open.
    const NumberSet& markedNumbers() const { return marked_; }
    int markedAdditional() const { return markedAdditional_; }
    EvaluationReport report() const override;

signals:
    // markedNumbers() changed.
    void marksChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct OddsResult {
        LottoOdds odds;
        std::vector<NumberSet> rows;  // sorted: the same rows in any order give the same odds
        int rowSize = 0;
        int poolSize = 0;
        int drawSize = 0;
        bool plannedExact = true;
    };

    QWidget* buildDrawBox();
    QWidget* buildOddsBox();

    void readRows();
    // Counts the hits of the fields' draw without a message; clears them when it is no draw.
    void recount(const QString& reason);
    void showHits() override;
    void showOdds() override;
    void showStopping() override;
    PrintTable hitPrintTable() const override;
    void setMarks(const NumberSet& drawn, int additional);
    void updateControls() override;
    bool oddsCurrent() const;
    int poolSize() const;
    int drawSize() const;
    int lowestClass() const;
    std::vector<NumberSet> sortedRows() const;
    std::string rowsFact() const override;

    const LotteryState& state_;
    IniFile& ini_;

    std::optional<LottoRows> rows_;
    std::optional<LottoDraw> draw_;
    LottoHits hits_;
    std::optional<OddsResult> odds_;
    NumberSet marked_;
    int markedAdditional_ = 0;
    bool settingUp_ = true;

    QLabel* LGezogen = nullptr;
    QSpinBox* eGezogen = nullptr;
    QLabel* LZiehung = nullptr;
    QLineEdit* eZiehung = nullptr;
    QLabel* LZusatz = nullptr;
    QLineEdit* eZusatz = nullptr;
    QPushButton* BTreffer = nullptr;
    QPushButton* BLoeschen = nullptr;
    QGroupBox* GChancen = nullptr;
    QLabel* LKlasse = nullptr;
    QSpinBox* eKlasse = nullptr;
    QLabel* LBasis = nullptr;
    QTableWidget* gChancen = nullptr;
    QLabel* LKeinGewinn = nullptr;
};

// Opens the evaluation window of the main window, or brings it to the front.
TFAuswertung* ShowLottoEvaluation(AppContext& context, const LotteryState& state, IniFile& settings,
                                  QWidget* mainWindow);

}  // namespace losfix
