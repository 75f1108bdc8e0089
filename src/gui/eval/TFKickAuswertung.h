#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/FootballEvaluation.h"
#include "core/export/EvaluationText.h"
#include "gui/common/AppContext.h"
#include "gui/eval/EvaluationWindow.h"
#include "gui/football/FootballState.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace losfix {

// The evaluation of the football tip rows "FKickAuswertung": the correct tips of every row for
// the entered results, and what the rows can win over all 1,594,323 results, once with every
// result alike and once weighted by the user's tip statuses. Not modal; it follows the tip table.
class TFKickAuswertung : public EvaluationWindow {
    Q_OBJECT
public:
    TFKickAuswertung(AppContext& context, const FootballState& state, QWidget* owner);
    ~TFKickAuswertung() override;

    // The tip rows changed (a run ended): read them anew and count the results again.
    void tableChanged();
    // The tip statuses changed: the weighted view may be out of date.
    void statusesChanged();
    // A tip run began: nothing is counted until it ends.
    void runStarted();

    // "Richtige zählen": the entered results against the rows; a bad entry gets a message naming
    // the match and changes nothing.
    void CountHits();
    void ClearResults();
    // "Berechnen": both views beside the window.
    void ComputeOdds() override;

    EvaluationReport report() const override;

private:
    using Statuses = std::array<std::uint8_t, 39>;
    struct OddsResult {
        TipOdds uniform;
        TipOdds weighted;
        std::vector<TipRow> rows;  // sorted
        Statuses statuses{};
    };

    QWidget* buildResultsBox();
    QWidget* buildOddsBox();

    void readRows();
    void recount(const QString& reason);
    void showHits() override;
    void showOdds() override;
    void showStopping() override;
    PrintTable hitPrintTable() const override;
    void updateControls() override;
    // The choices from the text and the text from the choices.
    void choicesFromText();
    void textFromChoices();
    std::vector<TipRow> sortedRows() const;
    Statuses currentStatuses() const;
    bool uniformCurrent() const;
    bool weightedCurrent() const;
    std::string rowsFact() const override;

    const FootballState& state_;

    std::optional<std::vector<TipRow>> rows_;
    std::optional<TipRow> results_;
    TipHits hits_;
    std::optional<OddsResult> odds_;
    bool syncing_ = false;

    std::array<QComboBox*, 13> cbSpiel{};
    QLabel* LErgebnisse = nullptr;
    QLineEdit* eErgebnisse = nullptr;
    QPushButton* BTreffer = nullptr;
    QPushButton* BLoeschen = nullptr;
    QTabWidget* TAnsicht = nullptr;
    QLabel* LBasisGleich = nullptr;
    QTableWidget* gGleich = nullptr;
    QLabel* LKeinGewinnGleich = nullptr;
    QLabel* LBasisStatus = nullptr;
    QTableWidget* gStatus = nullptr;
    QLabel* LKeinGewinnStatus = nullptr;
};

// Opens the evaluation window of the football window, or brings it to the front.
TFKickAuswertung* ShowFootballEvaluation(AppContext& context, const FootballState& state,
                                         QWidget* footballWindow);

}  // namespace losfix
