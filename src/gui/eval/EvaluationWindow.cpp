#include "gui/eval/EvaluationWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "core/common/FileAccess.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/eval/EvalRunner.h"
#include "gui/eval/EvalWidgets.h"
#include "gui/eval/HitTableModel.h"

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
    BKopieren = MakeButton(QStringLiteral("BKopieren"), QStringLiteral("In &Zwischenablage"), this);
    BKopieren->setIcon(ProgramIcon(QStringLiteral("copy")));
    BSpeichern =
        MakeButton(QStringLiteral("BSpeichern"), QStringLiteral("Als CSV s&peichern..."), this);
    BSpeichern->setIcon(ProgramIcon(QStringLiteral("save")));
    BSchliessen = MakeButton(QStringLiteral("BSchliessen"), QStringLiteral("Schl&ießen"), this);
    BSchliessen->setIcon(ProgramIcon(QStringLiteral("close")));

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(BKopieren, &QPushButton::clicked, this, dialogs, [this] { CopyReport(); });
    ConnectGuarded(BSpeichern, &QPushButton::clicked, this, dialogs, [this] { SaveReport(); });
    connect(BSchliessen, &QPushButton::clicked, this, &QWidget::close);
}

EvaluationWindow::~EvaluationWindow() = default;

void EvaluationWindow::assemble(QWidget* inputs, QWidget* odds, const QString& hitsName,
                                std::string fileName) {
    fileName_ = std::move(fileName);
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

void EvaluationWindow::setReportEnabled(bool enabled) {
    BKopieren->setEnabled(enabled);
    BSpeichern->setEnabled(enabled);
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
