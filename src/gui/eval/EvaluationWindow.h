#pragma once

#include <QWidget>
#include <string>

#include "core/export/EvaluationText.h"
#include "gui/common/AppContext.h"

class QLabel;
class QPushButton;
class QSplitter;
class QTableView;

namespace losfix {

class EvalRunner;
class HitTableModel;

// What both evaluation windows share: the line about the rows, the notice, the hit summary, the
// table of the rows over the odds, the buttons that copy, save and close, and the computation
// that runs beside the window. Not modal; closing hides the window and stops a computation.
class EvaluationWindow : public QWidget {
    Q_OBJECT
public:
    ~EvaluationWindow() override;

    bool computing() const;
    // The summary and the odds that are current: what copying and saving give.
    virtual EvaluationReport report() const = 0;

    // "In Zwischenablage" and "Als CSV speichern...".
    void CopyReport();
    void SaveReport();

protected:
    EvaluationWindow(AppContext& context, const QString& objectName, const QString& title,
                     QWidget* owner);

    // Lays the window out: the rows line, `inputs`, notice and summary, the hit table (named for
    // a screen reader `hitsName`) over `odds`, the buttons. `fileName` is proposed when saving.
    void assemble(QWidget* inputs, QWidget* odds, const QString& hitsName, std::string fileName);
    void setReportEnabled(bool enabled);
    void setNotice(const QString& text);
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    AppContext& context_;
    EvalRunner* runner_ = nullptr;
    HitTableModel* hitModel_ = nullptr;

    QLabel* LReihen = nullptr;
    QLabel* LHinweis = nullptr;
    QLabel* LZusammenfassung = nullptr;
    QTableView* gTreffer = nullptr;
    QPushButton* BKopieren = nullptr;
    QPushButton* BSpeichern = nullptr;
    QPushButton* BSchliessen = nullptr;

private:
    std::string fileName_;
    QSplitter* splitter_ = nullptr;
    bool shown_ = false;
};

}  // namespace losfix
