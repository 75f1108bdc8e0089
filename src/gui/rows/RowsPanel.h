#pragma once

#include <QWidget>

#include "core/common/NumberSet.h"
#include "core/export/PrintDocument.h"
#include "gui/common/AppContext.h"
#include "gui/lottery/LotteryState.h"

class QAction;
class QLabel;
class QHBoxLayout;

namespace losfix {

class CaptionButton;
class RowTableView;
class SortLocale;
class StringGridModel;

// The rows in the middle column: the row table, sorting and row files.
class RowsPanel : public QWidget {
    Q_OBJECT
public:
    RowsPanel(AppContext& context, LotteryState& state, StringGridModel* model,
              const SortLocale& locale, QWidget* parent = nullptr);
    ~RowsPanel() override;

    void SortRows();
    void UndoSort();
    void SaveRowFile();
    void LoadRowFile();
    // What "Reihen öffnen..." does once a file is chosen; also the file the program started with.
    void LoadRowFile(const std::string& path);
    // "Excel- Export": the rows into a new workbook, opened with the spreadsheet program.
    void bsSkinSpeedButton8Click();
    // "In Zwischen- ablage": the rows as comma lines on the clipboard.
    void bsSkinSpeedButton11Click();
    // "Drucken…": the rows in the print preview.
    void PrintRows();
    // "Als PDF speichern…" in the menu of "Drucken…".
    void SaveRowsAsPdf();

    // A run began: the table must not be sorted, saved or replaced under it.
    void runStarted();
    // The run is over: its rows may be sorted.
    void runEnded();
    // The table's data changed (rows written, loaded or sorted).
    void syncTable();
    // The statuses changed: the number cells take their new colours.
    void repaintTable();
    // Shows the table from its first row and column.
    void scrollToStart();
    // Marks the numbers of an evaluated draw in the table; an empty set clears the marks.
    void setMarks(const NumberSet& drawn, int additional);

signals:
    // The table now holds rows loaded from a file.
    void tableLoaded();
    // The rows were sorted or the sort undone: same rows, another order.
    void rowsReordered();
    // "Auswerten": the evaluation of the rows is wanted.
    void evaluationRequested();

private:
    PrintDocument rowsDocument() const;
    // "Drucken…" and "Auswerten" need rows and no run.
    void updateTableButtons();

    AppContext& context_;
    LotteryState& state_;
    StringGridModel* model_;
    const SortLocale& locale_;

    RowTableView* g1 = nullptr;
    CaptionButton* BSort = nullptr;
    CaptionButton* BUnSort = nullptr;
    CaptionButton* bsSkinSpeedButton3 = nullptr;  // "Reihen öffnen..."
    CaptionButton* bsSkinSpeedButton7 = nullptr;  // "Reihen speichern..."
    QLabel* Label2 = nullptr;                     // "Datei"
    QLabel* LDatei2 = nullptr;
    CaptionButton* bsSkinSpeedButton8 = nullptr;   // "Excel- Export"
    CaptionButton* bsSkinSpeedButton11 = nullptr;  // "In Zwischen- ablage"
    CaptionButton* BDrucken = nullptr;
    QAction* ADrucken = nullptr;     // "Drucken…" in its menu
    QAction* APdf = nullptr;         // "Als PDF speichern…"
    QAction* AVerteilung = nullptr;  // "Zahlenverteilung anhängen"
    CaptionButton* BAuswerten = nullptr;

    bool running_ = false;
    std::string printFileName_;  // the row file the table was loaded from or saved to
};

}  // namespace losfix
