#include "gui/eval/EvaluationWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "core/common/FileAccess.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/eval/EvalRunner.h"
#include "gui/eval/EvalWidgets.h"
#include "gui/eval/HitTableModel.h"
#include "gui/print/Printing.h"

namespace losfix {

EvaluationWindow::EvaluationWindow(AppContext& context, const QString& objectName,
                                   const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Window),
      context_(context),
      runner_(new EvalRunner(this)),
      hitModel_(new HitTableModel(this)) {
    setObjectName(objectName);
    setWindowTitle(title + QStringLiteral(" – ") + QString::fromUtf8(kProgramName));
    setWindowIcon(ProgramIcon(QStringLiteral("evaluate")));
    LReihen = MakeValueLabel(QStringLiteral("LReihen"), this);
    LReihen->setFont(InterfaceFont(14, true));
    LHinweis = MakeValueLabel(QStringLiteral("LHinweis"), this, 2);
    LHinweis->setStyleSheet(QStringLiteral("color: #8a4b00;"));
    LZusammenfassung = MakeValueLabel(QStringLiteral("LZusammenfassung"), this, 2);
    LZusammenfassung->setFont(InterfaceFont(14, true));
    LZusammenfassung->setStyleSheet(QStringLiteral("color: #004080;"));
    BBerechnen = MakeButton(QStringLiteral("BBerechnen"), QStringLiteral("&Berechnen"), this);
    BStopp = MakeButton(QStringLiteral("BStopp"), QStringLiteral("&Stopp"), this);
    BStopp->setIcon(ProgramIcon(QStringLiteral("stop")));
    PFortschritt = MakeProgress(QStringLiteral("PFortschritt"), this);
    BKopieren = MakeButton(QStringLiteral("BKopieren"), QStringLiteral("In &Zwischenablage"), this);
    BKopieren->setIcon(ProgramIcon(QStringLiteral("copy")));
    BSpeichern =
        MakeButton(QStringLiteral("BSpeichern"), QStringLiteral("Als CSV s&peichern..."), this);
    BSpeichern->setIcon(ProgramIcon(QStringLiteral("save")));
    BDrucken = new QToolButton(this);
    BDrucken->setObjectName(QStringLiteral("BDrucken"));
    BDrucken->setText(QStringLiteral("&Drucken…"));
    BDrucken->setIcon(ProgramIcon(QStringLiteral("print")));
    BDrucken->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BDrucken->setToolTip(QStringLiteral("Die Auswertung drucken; im Menü auch als PDF speichern"));
    BDrucken->setMinimumHeight(BKopieren->sizeHint().height());
    const PrintMenu printEntries = AddPrintMenu(BDrucken, QStringLiteral("Auswertung"));
    ADrucken = printEntries.print;
    APdf = printEntries.pdf;
    BSchliessen = MakeButton(QStringLiteral("BSchliessen"), QStringLiteral("Schl&ießen"), this);
    BSchliessen->setIcon(ProgramIcon(QStringLiteral("close")));

    Dialogs& dialogs = *context_.dialogs;
    // Long work starts from a queued call: a screen reader's press returns at once.
    ConnectGuarded(
        BBerechnen, &QPushButton::clicked, this, dialogs, [this] { ComputeOdds(); },
        Qt::QueuedConnection);
    ConnectGuarded(BStopp, &QPushButton::clicked, this, dialogs, [this] { StopOdds(); });
    connect(runner_, &EvalRunner::progress, PFortschritt, &QProgressBar::setValue);
    ConnectGuarded(BKopieren, &QPushButton::clicked, this, dialogs, [this] { CopyReport(); });
    ConnectGuarded(BSpeichern, &QPushButton::clicked, this, dialogs, [this] { SaveReport(); });
    ConnectGuarded(
        BDrucken, &QToolButton::clicked, this, dialogs, [this] { PrintReport(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        ADrucken, &QAction::triggered, this, dialogs, [this] { PrintReport(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        APdf, &QAction::triggered, this, dialogs, [this] { SaveReportAsPdf(); },
        Qt::QueuedConnection);
    connect(BSchliessen, &QPushButton::clicked, this, &QWidget::close);
}

EvaluationWindow::~EvaluationWindow() = default;

void EvaluationWindow::assemble(QWidget* inputs, QWidget* odds, const QString& hitsName,
                                std::string fileName, std::string pdfStem) {
    fileName_ = std::move(fileName);
    pdfStem_ = std::move(pdfStem);
    gTreffer = MakeHitTable(QStringLiteral("gTreffer"), hitModel_, hitsName, this);
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("PTeilung"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(gTreffer);
    splitter_->addWidget(odds);
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(BKopieren);
    buttons->addWidget(BSpeichern);
    buttons->addWidget(BDrucken);
    buttons->addStretch(1);
    buttons->addWidget(BSchliessen);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(8);
    root->addWidget(LReihen);
    root->addWidget(inputs);
    root->addWidget(LHinweis);
    root->addWidget(LZusammenfassung);
    root->addWidget(splitter_, 1);
    root->addLayout(buttons);
}

bool EvaluationWindow::computing() const {
    return runner_->running();
}

void EvaluationWindow::updateCommonControls(bool canCompute, bool reportable) {
    const bool running = runner_->running();
    BBerechnen->setEnabled(canCompute && !running);
    BStopp->setEnabled(running && !runner_->stopRequested());
    PFortschritt->setVisible(running);
    BKopieren->setEnabled(reportable);
    BSpeichern->setEnabled(reportable);
    BDrucken->setEnabled(reportable && !running);
    ADrucken->setEnabled(BDrucken->isEnabled());
    APdf->setEnabled(BDrucken->isEnabled());
}

void EvaluationWindow::startOdds(std::function<void(EvalControl&)> work, std::function<void()> keep,
                                 std::function<QString()> changed) {
    PFortschritt->setValue(0);
    runner_->start(std::move(work), [this, keep = std::move(keep), changed = std::move(changed)] {
        Guarded(*context_.dialogs, [&] {
            runner_->rethrowIfFailed();
            keep();
        });
        showOdds();
        updateControls();
        if (const QString notice = changed(); !notice.isEmpty()) {
            setNotice(notice);
        }
    });
    updateControls();
}

void EvaluationWindow::showRowsLine(std::string problem) {
    rowsProblem_ = std::move(problem);
    LReihen->setText(rowsProblem_.empty() ? QString::fromStdString(rowsFact())
                                          : QStringLiteral("Keine Auswertung möglich: ") +
                                                QString::fromStdString(rowsProblem_));
}

bool EvaluationWindow::refused(bool haveRows) const {
    return refused(haveRows ? nullptr : &rowsProblem_);
}

bool EvaluationWindow::refused(const std::string* problem) const {
    if (problem == nullptr) {
        return false;
    }
    context_.dialogs->warning(*problem);
    return true;
}

void EvaluationWindow::finishRecount(const QStringList& notice) {
    setNotice(notice.size() > 1 ? notice.join(QLatin1Char(' ')) : QString());
    showHits();
    showOdds();
    updateControls();
}

void EvaluationWindow::StopOdds() {
    if (runner_->running() && !runner_->stopRequested()) {
        runner_->requestStop();
        showStopping();
    }
    updateControls();
}

void EvaluationWindow::setNotice(const QString& text) {
    LHinweis->setText(text);
}

void EvaluationWindow::CopyReport() {
    if (BKopieren->isEnabled()) {
        context_.clipboard->setText(EvaluationClipboardText(report()));
        setNotice(QStringLiteral("Die Auswertung ist in der Zwischenablage."));
    }
}

void EvaluationWindow::SaveReport() {
    if (!BSpeichern->isEnabled()) {
        return;
    }
    FileDialogRequest request =
        FileDialogFor("Auswertung speichern", "CSV-Datei", "csv", context_.folders.rows);
    request.proposedName = fileName_;
    request.confirmOverwrite = true;
    const auto path = context_.dialogs->saveFile(request);
    if (!path) {
        return;
    }
    SaveFile(*context_.files, *path, EvaluationCsv(report()));
    setNotice(QStringLiteral("Gespeichert als ") + QString::fromStdString(FileNameOf(*path)) +
              QLatin1Char('.'));
}

PrintDocument EvaluationWindow::printDocument() const {
    return SummaryPrintDocument(EvaluationPrintSummary(report(), hitPrintTable()));
}

void EvaluationWindow::PrintReport() {
    if (BDrucken->isEnabled()) {
        ShowPrintPreview(context_, this, printDocument());
    }
}

void EvaluationWindow::SaveReportAsPdf() {
    if (BDrucken->isEnabled()) {
        SaveDocumentAsPdf(context_, this, printDocument(), ProposedPdfNameToday("", pdfStem_));
    }
}

void EvaluationWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        // The odds need more room than the first lines of the rows; later the user decides.
        shown_ = true;
        const int total = splitter_->height();
        splitter_->setSizes({total / 3, total - total / 3});
    }
}

void EvaluationWindow::closeEvent(QCloseEvent* event) {
    runner_->requestStop();
    event->accept();
}

}  // namespace losfix
