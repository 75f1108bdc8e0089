#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "core/eval/LottoEvaluation.h"
#include "core/export/EvaluationText.h"
#include "gui/common/AppContext.h"

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QToolButton;

namespace losfix {

class EvalRunner;
class HitTableModel;

// What both evaluation windows share: the line about the rows, the notice, the hit summary, the
// table of the rows over the odds, the computation that runs beside the window with its buttons
// and progress, and the buttons that copy, save, print and close. Not modal; closing hides the
// window and stops a computation.
class EvaluationWindow : public QWidget {
    Q_OBJECT
public:
    ~EvaluationWindow() override;

    bool computing() const;
    // The summary and the odds that are current: what copying, saving and printing give.
    virtual EvaluationReport report() const = 0;

    // "In Zwischenablage" and "Als CSV speichern...".
    void CopyReport();
    void SaveReport();
    // "Drucken…" and "Als PDF speichern…" in its menu: the report and the hits of every row.
    void PrintReport();
    void SaveReportAsPdf();
    // "Berechnen": the odds beside the window. "Stopp" asks the computation to end.
    virtual void ComputeOdds() = 0;
    void StopOdds();

protected:
    EvaluationWindow(AppContext& context, const QString& objectName, const QString& title,
                     QWidget* owner);

    // Lays the window out: the rows line, `inputs`, notice and summary, the hit table (named for
    // a screen reader `hitsName`) over `odds`, the buttons. `fileName` is proposed when saving,
    // `pdfStem` names a PDF ("<stem> JJJJ-MM-TT.pdf").
    void assemble(QWidget* inputs, QWidget* odds, const QString& hitsName, std::string fileName,
                  std::string pdfStem);
    void setNotice(const QString& text);
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Runs `work` beside the window. When it is over, on the window's thread: `keep` takes its
    // result (unless the work failed: then its error box shows), the window shows the odds and
    // its controls anew, and the notice says `changed()` when that is not empty (the rows
    // changed meanwhile).
    void startOdds(std::function<void(EvalControl&)> work, std::function<void()> keep,
                   std::function<QString()> changed);
    // Takes the rows read from the table, or the message why there are none; the rows line says
    // which (rowsFact() or the message).
    template <typename Rows>
    void takeRows(std::variant<Rows, std::string> read, std::optional<Rows>& rows) {
        if (auto* taken = std::get_if<Rows>(&read)) {
            rows = std::move(*taken);
            showRowsLine({});
        } else {
            rows.reset();
            showRowsLine(std::get<std::string>(std::move(read)));
        }
    }
    // Shows the message and says true when there is one: no rows (the reason why), an entry
    // refused.
    bool refused(bool haveRows) const;
    bool refused(const std::string* problem) const;
    // After a recount: the notice when it says more than its reason, the window anew.
    void finishRecount(const QStringList& notice);

    // What the rows line says of the rows.
    virtual std::string rowsFact() const = 0;
    virtual void showHits() = 0;
    // The odds kept, or that there are none; nothing while a computation runs.
    virtual void showOdds() = 0;
    virtual void updateControls() = 0;
    // What the window shows once a stop is asked for.
    virtual void showStopping() = 0;
    // The table of hits to print: no rows while no draw is evaluated.
    virtual PrintTable hitPrintTable() const = 0;
    // The buttons of the computation and of the report: "Berechnen" needs `canCompute` and no
    // computation, copying `reportable`, printing also no computation.
    void updateCommonControls(bool canCompute, bool reportable);

    AppContext& context_;
    EvalRunner* runner_ = nullptr;
    std::string rowsProblem_;    // why there are no rows to evaluate
    bool tableRunning_ = false;  // a run is filling the table
    HitTableModel* hitModel_ = nullptr;

    QLabel* LReihen = nullptr;
    QLabel* LHinweis = nullptr;
    QLabel* LZusammenfassung = nullptr;
    QTableView* gTreffer = nullptr;
    QPushButton* BBerechnen = nullptr;
    QPushButton* BStopp = nullptr;
    QProgressBar* PFortschritt = nullptr;
    QPushButton* BKopieren = nullptr;
    QPushButton* BSpeichern = nullptr;
    QToolButton* BDrucken = nullptr;
    QAction* ADrucken = nullptr;  // "Drucken…" in its menu
    QAction* APdf = nullptr;
    QPushButton* BSchliessen = nullptr;

private:
    void showRowsLine(std::string problem);
    PrintDocument printDocument() const;

    std::string fileName_;
    std::string pdfStem_;
    QSplitter* splitter_ = nullptr;
    bool shown_ = false;
};

}  // namespace losfix
