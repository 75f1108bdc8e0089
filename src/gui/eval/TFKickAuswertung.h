#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/FootballEvaluation.h"
#include "core/export/EvaluationText.h"
#include "gui/common/AppContext.h"
#include "gui/football/FootballState.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace losfix {

class EvalRunner;
class HitTableModel;

// The evaluation of the football tip rows "FKickAuswertung": the correct tips of every row for
// the entered results, and what the rows can win over all 1,594,323 results, once with every
// result alike and once weighted by the user's tip statuses. Not modal; it follows the tip table.
class TFKickAuswertung : public QWidget {
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
    void ComputeOdds();
    void StopOdds();
    void CopyReport();
    void SaveReport();

    bool computing() const;
    EvaluationReport report() const;

protected:
    void closeEvent(QCloseEvent* event) override;

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
    QWidget* buildButtonRow();

    void readRows();
    void recount(const QString& reason);
    void showHits();
    void showOdds();
    void updateControls();
    // The choices from the text and the text from the choices.
    void choicesFromText();
    void textFromChoices();
    std::vector<TipRow> sortedRows() const;
    Statuses currentStatuses() const;
    bool uniformCurrent() const;
    bool weightedCurrent() const;
    std::string rowsFact() const;

    AppContext& context_;
    const FootballState& state_;
    EvalRunner* runner_ = nullptr;
    HitTableModel* hitModel_ = nullptr;

    bool tableRunning_ = false;
    std::optional<std::vector<TipRow>> rows_;
    std::string rowsProblem_;
    std::optional<TipRow> results_;
    TipHits hits_;
    std::optional<OddsResult> odds_;
    bool syncing_ = false;

    QLabel* LReihen = nullptr;
    std::array<QComboBox*, 13> cbSpiel{};
    QLabel* LErgebnisse = nullptr;
    QLineEdit* eErgebnisse = nullptr;
    QPushButton* BTreffer = nullptr;
    QPushButton* BLoeschen = nullptr;
    QLabel* LHinweis = nullptr;
    QLabel* LZusammenfassung = nullptr;
    QTableView* gTreffer = nullptr;
    QPushButton* BBerechnen = nullptr;
    QPushButton* BStopp = nullptr;
    QProgressBar* PFortschritt = nullptr;
    QTabWidget* TAnsicht = nullptr;
    QLabel* LBasisGleich = nullptr;
    QTableWidget* gGleich = nullptr;
    QLabel* LKeinGewinnGleich = nullptr;
    QLabel* LBasisStatus = nullptr;
    QTableWidget* gStatus = nullptr;
    QLabel* LKeinGewinnStatus = nullptr;
    QPushButton* BKopieren = nullptr;
    QPushButton* BSpeichern = nullptr;
    QPushButton* BSchliessen = nullptr;
};

// Opens the evaluation window of the football window, or brings it to the front.
TFKickAuswertung* ShowFootballEvaluation(AppContext& context, const FootballState& state,
                                         QWidget* footballWindow);

}  // namespace losfix
