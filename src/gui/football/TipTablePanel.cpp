#include "gui/football/TipTablePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/football/TipTable.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/StringGridModel.h"
#include "gui/common/Style.h"
#include "gui/football/TipGridView.h"
#include "gui/print/Printing.h"

namespace losfix {

namespace {
constexpr int kBarHeight = 38;
}  // namespace

TipTablePanel::TipTablePanel(AppContext& context, FootballState& state, QWidget* parent)
    : QWidget(parent), context_(context), state_(state) {
    setObjectName(QStringLiteral("PTipps"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PBar2"));
    bar->setFixedHeight(kBarHeight);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(5);
    bsSkinSpeedButton7 = new CaptionButton(QStringLiteral("bsSkinSpeedButton7"),
                                           QStringLiteral("Reihen speichern..."),
                                           ProgramIcon(QStringLiteral("save")), bar);
    bsSkinSpeedButton7->setFixedHeight(kBarHeight);
    bsSkinSpeedButton4 = MakeIconButton(
        QStringLiteral("bsSkinSpeedButton4"), ProgramIcon(QStringLiteral("football-csv")),
        QStringLiteral("Als WestLotto-Datei speichern (Semikolon-getrennt)"), bar, kBarHeight);
    Label2 = new QLabel(QStringLiteral("Datei"), bar);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(TahomaFont(8, true));
    LDatei2 = new ElidedLabel(QStringLiteral("LDatei2"), 1, bar);
    LDatei2->setFrameShape(QFrame::StyledPanel);
    LDatei2->setFrameShadow(QFrame::Sunken);
    LDatei2->setContentsMargins(3, 2, 3, 2);
    LDatei2->setAutoFillBackground(true);
    QPalette white = LDatei2->palette();
    white.setColor(QPalette::Window, Qt::white);
    LDatei2->setPalette(white);
    Label2->setBuddy(LDatei2);  // a screen reader reads "Datei" with the file name
    bsSkinSpeedButton11 = new CaptionButton(QStringLiteral("bsSkinSpeedButton11"),
                                            QStringLiteral("In Zwischen- ablage"),
                                            ProgramIcon(QStringLiteral("copy")), bar);
    bsSkinSpeedButton11->setFixedHeight(kBarHeight);
    barLayout->addWidget(bsSkinSpeedButton7);
    barLayout->addWidget(bsSkinSpeedButton4);
    barLayout->addSpacing(3);
    barLayout->addWidget(Label2);
    barLayout->addWidget(LDatei2, 1);
    barLayout->addWidget(bsSkinSpeedButton11);
    BDrucken = MakeIconButton(QStringLiteral("BDrucken"), ProgramIcon(QStringLiteral("print")),
                              QStringLiteral("Drucken…"), bar, kBarHeight);
    const PrintMenu printEntries = AddPrintMenu(BDrucken, QStringLiteral("Tipps"));
    ADrucken = printEntries.print;
    APdf = printEntries.pdf;
    {
        QStyleOptionToolButton option;
        option.initFrom(BDrucken);
        option.features = QStyleOptionToolButton::MenuButtonPopup;
        BDrucken->setFixedWidth(
            kBarHeight +
            BDrucken->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, BDrucken));
    }
    BDrucken->setEnabled(false);
    barLayout->addWidget(BDrucken);
    layout->addWidget(bar);

    tableModel_ = new StringGridModel(&state_.table, this);
    matrixModel_ = new StringGridModel(&state_.matrix, this);
    g1 = new TipGridView(
        QStringLiteral("g1"), tableModel_, [](int, int) { return kTipCellColour; }, true, this);
    g2 = new TipGridView(
        QStringLiteral("g2"), matrixModel_,
        [this](int column, int row) {
            return OutcomeMatrixColour(state_.board.statuses(), column, row);
        },
        false, this);
    g1->setFixedWidth(g1->fittingWidth());
    g2->setFixedSize(g2->fittingWidth(), g2->fittingHeight(kOutcomesPerMatch));
    layout->addWidget(g1, 1, Qt::AlignLeft);
    layout->addWidget(g2, 0, Qt::AlignLeft);

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(bsSkinSpeedButton7, &QToolButton::clicked, this, dialogs,
                   [this] { SaveTipRows(TipFileForm::Text); });
    ConnectGuarded(bsSkinSpeedButton4, &QToolButton::clicked, this, dialogs,
                   [this] { SaveTipRows(TipFileForm::Semicolon); });
    ConnectGuarded(bsSkinSpeedButton11, &QToolButton::clicked, this, dialogs,
                   [this] { CopyTipRows(); });
    updateTableButtons();
    ConnectGuarded(
        BDrucken, &QToolButton::clicked, this, dialogs, [this] { PrintTips(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        ADrucken, &QAction::triggered, this, dialogs, [this] { PrintTips(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        APdf, &QAction::triggered, this, dialogs, [this] { SaveTipsAsPdf(); },
        Qt::QueuedConnection);
}

TipTablePanel::~TipTablePanel() {
    // The views read the grids through the models; both go before the state does.
    delete g1;
    delete g2;
}

void TipTablePanel::SaveTipRows(TipFileForm form) {
    const TipFileDialogTexts texts = TipRowFileDialog(form);
    FileDialogRequest request;
    request.title = texts.title;
    request.filterName = texts.filterName;
    request.filterPattern = texts.filterPattern;
    request.defaultExtension = texts.defaultExtension;
    request.folder = context_.folders.rows;
    request.confirmOverwrite = false;
    const auto path = context_.dialogs->saveFile(request);
    if (!path) {
        return;
    }
    state_.fileLabel = SaveTipRowFile(*context_.files, *path, state_.table, form);
    LDatei2->setText(QString::fromStdString(state_.fileLabel));
}

void TipTablePanel::CopyTipRows() {
    context_.clipboard->setText(TipRowClipboardText(state_.table));
}

PrintDocument TipTablePanel::tipsDocument() const {
    return TipsPrintDocument(state_.table, state_.board.labels(), state_.counts, state_.fileLabel);
}

void TipTablePanel::PrintTips() {
    if (BDrucken->isEnabled()) {
        ShowPrintPreview(context_, window(), tipsDocument());
    }
}

void TipTablePanel::SaveTipsAsPdf() {
    if (BDrucken->isEnabled()) {
        SaveDocumentAsPdf(context_, window(), tipsDocument(),
                          ProposedPdfNameToday(state_.fileLabel, "Losfixtipps"));
    }
}

void TipTablePanel::syncGrids() {
    tableModel_->sync();
    matrixModel_->sync();
    g2->viewport()->update();
    updateTableButtons();
}

void TipTablePanel::repaintMatrix() {
    g2->viewport()->update();
}

void TipTablePanel::setRunning(bool running) {
    running_ = running;
    updateTableButtons();
}

void TipTablePanel::updateTableButtons() {
    BDrucken->setEnabled(!running_ && !TipTableEmpty(state_.table));
}

}  // namespace losfix
