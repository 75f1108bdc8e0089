#include "gui/rows/RowsPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/export/ClipboardText.h"
#include "core/export/SpreadsheetExport.h"
#include "core/rows/GridSort.h"
#include "core/rows/RowStore.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/ScopeExit.h"
#include "gui/common/StringGridModel.h"
#include "gui/common/Style.h"
#include "gui/print/Printing.h"
#include "gui/rows/RowTableView.h"
#include "platform/XlsxSpreadsheet.h"

namespace losfix {

namespace {

FileDialogRequest RowFileDialog(const std::string& title, const std::string& folder) {
    return FileDialogFor(title, "Reihen-Datei", "lrei", folder);
}

}  // namespace

RowsPanel::RowsPanel(AppContext& context, LotteryState& state, StringGridModel* model,
                     const SortLocale& locale, QWidget* parent)
    : QWidget(parent), context_(context), state_(state), model_(model), locale_(locale) {
    setObjectName(QStringLiteral("PReihen"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    g1 = new RowTableView(
        model_, [this](int number) { return state_.board.status(number); }, this);
    layout->addWidget(g1, 1);

    auto* sortRow = new QHBoxLayout();
    sortRow->setSpacing(6);
    BSort =
        new CaptionButton(QStringLiteral("BSort"), QStringLiteral("Reihen aufstei- gend sortieren"),
                          ProgramIcon(QStringLiteral("sort-rows")), this);
    BUnSort = new CaptionButton(QStringLiteral("BUnSort"),
                                QStringLiteral("Sortieren rück- gängig machen"),
                                ProgramIcon(QStringLiteral("undo")), this);
    for (auto* button : {BSort, BUnSort}) {
        button->setFixedHeight(38);
        button->setEnabled(false);
        sortRow->addWidget(button);
    }
    sortRow->addStretch(1);
    layout->addLayout(sortRow);

    auto* fileRow = new QHBoxLayout();
    fileRow->setSpacing(6);
    bsSkinSpeedButton3 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton3"), QStringLiteral("Reihen öffnen..."),
                          ProgramIcon(QStringLiteral("open")), this);
    bsSkinSpeedButton7 = new CaptionButton(QStringLiteral("bsSkinSpeedButton7"),
                                           QStringLiteral("Reihen speichern..."),
                                           ProgramIcon(QStringLiteral("save")), this);
    bsSkinSpeedButton3->setFixedHeight(32);
    bsSkinSpeedButton7->setFixedHeight(32);
    fileRow->addWidget(bsSkinSpeedButton3);
    fileRow->addWidget(bsSkinSpeedButton7);
    auto* fileBox = new QVBoxLayout();
    fileBox->setSpacing(0);
    Label2 = new QLabel(QStringLiteral("Datei"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont caption = Label2->font();
    caption.setPixelSize(10);
    Label2->setFont(caption);
    Label2->setStyleSheet(QStringLiteral("color: #6b7480;"));
    LDatei2 = new QLabel(this);
    LDatei2->setObjectName(QStringLiteral("LDatei2"));
    // A file name may look like markup.
    LDatei2->setTextFormat(Qt::PlainText);
    QFont bold = LDatei2->font();
    bold.setBold(true);
    LDatei2->setFont(bold);
    LDatei2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label2->setBuddy(LDatei2);  // a screen reader reads "Datei" with the file name
    fileBox->addWidget(Label2);
    fileBox->addWidget(LDatei2);
    fileRow->addLayout(fileBox, 1);
    layout->addLayout(fileRow);

    auto* exportRow = new QHBoxLayout();
    exportRow->setSpacing(6);
    bsSkinSpeedButton8 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton8"), QStringLiteral("Excel- Export"),
                          ProgramIcon(QStringLiteral("spreadsheet")), this);
    bsSkinSpeedButton11 = new CaptionButton(QStringLiteral("bsSkinSpeedButton11"),
                                            QStringLiteral("In Zwischen- ablage"),
                                            ProgramIcon(QStringLiteral("clipboard-rows")), this);
    BDrucken = new CaptionButton(QStringLiteral("BDrucken"), QStringLiteral("Drucken…"),
                                 ProgramIcon(QStringLiteral("print")), this);
    BDrucken->setToolTip(QStringLiteral("Die Reihen drucken; im Menü auch als PDF speichern"));
    const PrintMenu printEntries = AddPrintMenu(BDrucken, QString());
    ADrucken = printEntries.print;
    APdf = printEntries.pdf;
    QMenu* printMenu = BDrucken->menu();
    printMenu->addSeparator();
    AVerteilung = printMenu->addAction(QStringLiteral("Zahlenverteilung anhängen"));
    AVerteilung->setObjectName(QStringLiteral("AVerteilung"));
    AVerteilung->setCheckable(true);
    BAuswerten = new CaptionButton(QStringLiteral("BAuswerten"), QStringLiteral("Auswerten"),
                                   ProgramIcon(QStringLiteral("evaluate")), this);
    BAuswerten->setToolTip(
        QStringLiteral("Was die Reihen in einer Ziehung gewonnen haben und "
                       "was sie gewinnen können"));
    // Printing and evaluating stand in a row of their own under the exports: one row holds no
    // more than three buttons at the window's normal width.
    auto* outputRow = new QHBoxLayout();
    outputRow->setSpacing(6);
    for (auto* button : {bsSkinSpeedButton8, bsSkinSpeedButton11}) {
        button->setFixedHeight(32);
        exportRow->addWidget(button);
    }
    for (auto* button : {BDrucken, BAuswerten}) {
        button->setFixedHeight(32);
        outputRow->addWidget(button);
    }
    exportRow->addStretch(1);
    layout->addLayout(exportRow);
    outputRow->addStretch(1);
    layout->addLayout(outputRow);

    Dialogs& dialogs = *context_.dialogs;
    // Sorting and loading may take a moment on large tables: the press returns first.
    ConnectGuarded(
        BSort, &QToolButton::clicked, this, dialogs, [this] { SortRows(); }, Qt::QueuedConnection);
    ConnectGuarded(BUnSort, &QToolButton::clicked, this, dialogs, [this] { UndoSort(); });
    ConnectGuarded(bsSkinSpeedButton3, &QToolButton::clicked, this, dialogs,
                   [this] { LoadRowFile(); });
    ConnectGuarded(bsSkinSpeedButton7, &QToolButton::clicked, this, dialogs,
                   [this] { SaveRowFile(); });
    ConnectGuarded(
        bsSkinSpeedButton8, &QToolButton::clicked, this, dialogs,
        [this] { bsSkinSpeedButton8Click(); }, Qt::QueuedConnection);
    ConnectGuarded(
        bsSkinSpeedButton11, &QToolButton::clicked, this, dialogs,
        [this] { bsSkinSpeedButton11Click(); }, Qt::QueuedConnection);
    // Reading 99,999 rows takes a moment: the press returns first.
    ConnectGuarded(
        BAuswerten, &QToolButton::clicked, this, dialogs,
        [this] {
            if (BAuswerten->isEnabled()) {
                emit evaluationRequested();
            }
        },
        Qt::QueuedConnection);
    // Laying out a large table takes a moment: every entry starts from the event loop.
    ConnectGuarded(
        BDrucken, &QToolButton::clicked, this, dialogs, [this] { PrintRows(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        ADrucken, &QAction::triggered, this, dialogs, [this] { PrintRows(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        APdf, &QAction::triggered, this, dialogs, [this] { SaveRowsAsPdf(); },
        Qt::QueuedConnection);
    // The menu shows the choice as it is kept; only a run has a distribution to append.
    ConnectGuarded(printMenu, &QMenu::aboutToShow, this, dialogs, [this] {
        AVerteilung->setEnabled(state_.tableRun.has_value());
        AVerteilung->setChecked(LoadPrintSetup(context_).distribution);
    });
    ConnectGuarded(AVerteilung, &QAction::toggled, this, dialogs, [this](bool checked) {
        PrintSetup setup = LoadPrintSetup(context_);
        if (setup.distribution != checked) {
            setup.distribution = checked;
            KeepPrintSetup(context_, setup);
        }
    });
    updateTableButtons();
}

RowsPanel::~RowsPanel() {
    // The view reads the table through the model, which the window frees after its children.
    delete g1;
}

void RowsPanel::SortRows() {
    if (!BSort->isEnabled()) {
        return;
    }
    const ScopeExit sync([this] { model_->sync(); });
    SortRowTable(state_.table, state_.sortKeySize, state_.sortBackup, locale_);
    BSort->setEnabled(false);
    BUnSort->setEnabled(true);
    emit rowsReordered();
}

void RowsPanel::UndoSort() {
    if (!BUnSort->isEnabled()) {
        return;
    }
    UndoRowTableSort(state_.table, state_.sortBackup);
    model_->sync();
    BSort->setEnabled(true);
    BUnSort->setEnabled(false);
    emit rowsReordered();
}

void RowsPanel::SaveRowFile() {
    if (!bsSkinSpeedButton7->isEnabled()) {
        return;
    }
    const auto path =
        context_.dialogs->saveFile(RowFileDialog("Reihen-Datei speichern", context_.folders.rows));
    if (!path) {
        return;
    }
    losfix::SaveRowFile(*context_.files, *path, state_.table);
    LDatei2->setText(QString::fromStdString(FileNameOf(*path)));
    printFileName_ = FileNameOf(*path);
}

void RowsPanel::LoadRowFile() {
    if (!bsSkinSpeedButton3->isEnabled()) {
        return;
    }
    const auto path =
        context_.dialogs->openFile(RowFileDialog("Reihen-Datei öffnen", context_.folders.rows));
    if (path) {
        LoadRowFile(*path);
    }
}

void RowsPanel::LoadRowFile(const std::string& path) {
    if (!bsSkinSpeedButton3->isEnabled()) {
        return;
    }
    losfix::LoadRowFile(*context_.files, path, state_.table);
    model_->sync();
    LDatei2->setText(QString::fromStdString(FileNameOf(path)));
    printFileName_ = FileNameOf(path);
    state_.tableRun.reset();
    updateTableButtons();
    emit tableLoaded();
}

void RowsPanel::bsSkinSpeedButton8Click() {
    if (!bsSkinSpeedButton8->isEnabled()) {
        return;
    }
    if (const auto notice = CheckSpreadsheetExport(
            state_.table, [this] { return context_.shell->spreadsheetInstalled(); })) {
        if (notice->icon == ExportNotice::Icon::Error) {
            context_.dialogs->error(notice->text);
        } else {
            context_.dialogs->information(notice->text);
        }
        return;
    }
    // The largest tables take a few seconds to write: the workbook is written beside the window,
    // from a copy, so that the window repaints meanwhile (it takes no input until the end).
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bsSkinSpeedButton8->setEnabled(false);
    const ScopeExit restore([this] {
        QApplication::restoreOverrideCursor();
        bsSkinSpeedButton8->setEnabled(true);
    });
    const StringGrid table = state_.table;
    const std::string folder = context_.folders.base;
    WindowThreadShell shell(*context_.shell);
    try {
        RunInBackground([&] { ExportRowTableToWorkbook(table, folder, shell); });
    } catch (const WorkbookNotOpened& notOpened) {
        // The export itself worked: the user learns where the workbook is, not of a failure.
        context_.dialogs->information(notOpened.what());
    }
}

void RowsPanel::bsSkinSpeedButton11Click() {
    if (bsSkinSpeedButton11->isEnabled()) {
        context_.clipboard->setText(ClipboardText(state_.table));
    }
}

PrintDocument RowsPanel::rowsDocument() const {
    RowsOrigin origin;
    origin.poolSize = state_.board.poolSize();
    origin.run = state_.tableRun;
    origin.fileName = printFileName_;
    const bool distribution = state_.tableRun && LoadPrintSetup(context_).distribution;
    return RowsPrintDocument(state_.table, state_.board.statuses(), origin,
                             distribution ? &state_.counts : nullptr);
}

void RowsPanel::PrintRows() {
    if (BDrucken->isEnabled()) {
        ShowPrintPreview(context_, window(), rowsDocument());
    }
}

void RowsPanel::SaveRowsAsPdf() {
    if (BDrucken->isEnabled()) {
        SaveDocumentAsPdf(context_, window(), rowsDocument(),
                          ProposedPdfNameToday(printFileName_, "Losfixreihen"));
    }
}

void RowsPanel::updateTableButtons() {
    BDrucken->setEnabled(!running_ && !RowTableEmpty(state_.table));
    bool numbers = false;
    const StringGrid& table = state_.table;
    for (int r = 1; r < table.rowCount() && !numbers; ++r) {
        // A loaded file gives its empty cells a blank.
        numbers = table.cell(1, r).find_first_not_of(' ') != std::string::npos;
    }
    BAuswerten->setEnabled(numbers && !running_);
}

void RowsPanel::runStarted() {
    // Sorting, replacing, exporting or evaluating the table under a running generator would mix
    // up its rows.
    running_ = true;
    for (auto* button : {BSort, BUnSort, bsSkinSpeedButton3, bsSkinSpeedButton7, bsSkinSpeedButton8,
                         bsSkinSpeedButton11, BDrucken, BAuswerten}) {
        button->setEnabled(false);
    }
    printFileName_.clear();
}

void RowsPanel::runEnded() {
    for (auto* button :
         {bsSkinSpeedButton3, bsSkinSpeedButton7, bsSkinSpeedButton8, bsSkinSpeedButton11}) {
        button->setEnabled(true);
    }
    BSort->setEnabled(true);
    BUnSort->setEnabled(false);
    running_ = false;
    updateTableButtons();
}

void RowsPanel::setMarks(const NumberSet& drawn, int additional) {
    g1->setMarks(drawn, additional);
}

void RowsPanel::syncTable() {
    model_->sync();
}

void RowsPanel::repaintTable() {
    g1->viewport()->update();
}

void RowsPanel::scrollToStart() {
    g1->horizontalScrollBar()->setValue(0);
    g1->verticalScrollBar()->setValue(0);
}

}  // namespace losfix
