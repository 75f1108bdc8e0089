#pragma once

#include <QWidget>

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

signals:
    // The table now holds rows loaded from a file.
    void tableLoaded();

private:
    PrintDocument rowsDocument() const;
    void updatePrintButton();

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

    bool running_ = false;
    std::string printFileName_;  // the row file the table was loaded from or saved to
};

}  // namespace losfix
