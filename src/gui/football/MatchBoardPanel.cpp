#include "gui/football/MatchBoardPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "core/football/FootballLayout.h"
#include "core/football/TipFiles.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/ScopeExit.h"
#include "gui/common/Style.h"
#include "gui/football/TipButton.h"

namespace losfix {

namespace {

constexpr int kMargin = 4;
constexpr int kCountsHeight = 40;
constexpr int kStripLeft = 3;
constexpr int kStripWidth = 22;
constexpr int kButtonsTop = 45;
constexpr int kButtonsBottom = kButtonsTop + (kMatchCount - 1) * 28 + 26;
constexpr int kLegendTop = kButtonsBottom + 6;
constexpr int kLegendHeight = 22;
constexpr int kBarTop = kLegendTop + kLegendHeight + 6;
constexpr int kIconButtonSize = 36;

QWidget* MakeRow(const QString& name, QWidget* parent, int top, int height) {
    auto* row = new QWidget(parent);
    row->setObjectName(name);
    row->setGeometry(kMargin, top, MatchBoardPanel::kWidth - 2 * kMargin, height);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    return row;
}

QLabel* MakeCaption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(TahomaFont(8));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    parent->layout()->addWidget(label);
    return label;
}

// A count display: bold, centred, on a white sunken field. A screen reader reads the count as
// the label's name and the caption as its label.
QLabel* MakeCount(const QString& name, QLabel* caption, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(name);
    label->setFont(TahomaFont(8, true));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral(
        "QLabel { background: white; border: 1px solid #b9bec6; border-radius: 2px; }"));
    label->setFixedHeight(18);
    caption->setBuddy(label);
    static_cast<QHBoxLayout*>(parent->layout())->addWidget(label, 1);
    return label;
}

}  // namespace

MatchBoardPanel::MatchBoardPanel(AppContext& context, FootballState& state, QWidget* parent)
    : QFrame(parent), context_(context), state_(state) {
    setObjectName(QStringLiteral("Panel1"));
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::StyledPanel);
    SetPanelBackground(this);

    buildCounts();

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(kStripLeft, kButtonsTop, kStripWidth, kButtonsBottom - kButtonsTop);
    for (int match = 1; match <= kMatchCount; ++match) {
        auto* number = new TPNr(match, Panel2);
        number->move((kStripWidth - kMatchNumberSize) / 2, MatchNumberTop(match) - kButtonsTop);
    }
    Dialogs& dialogs = *context_.dialogs;
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        auto* button = new TipButton(slot, this);
        ConnectGuarded(button, &TBZahl::stepRequested, this, dialogs,
                       [this](int s, MouseStep step) { StepTipStatus(s, step); });
        buttons_[static_cast<std::size_t>(slot - 1)] = button;
    }

    buildLegend();
    buildBottomBar();
    ConnectGuarded(bsSkinSpeedButton3, &QToolButton::clicked, this, dialogs,
                   [this] { ClearTips(); });
    ConnectGuarded(bsSkinSpeedButton1, &QToolButton::clicked, this, dialogs,
                   [this] { SaveQuickTips(); });
    ConnectGuarded(BQOpen13, &QToolButton::clicked, this, dialogs, [this] { LoadQuickTips(); });
    BQOpen13->setEnabled(context_.files->exists(quickFilePath()));
    showBoard();
}

void MatchBoardPanel::buildCounts() {
    QWidget* total = MakeRow(QStringLiteral("PKombis"), this, 2, kCountsHeight / 2);
    Label3 = MakeCaption(QStringLiteral("Label3"), QStringLiteral("Kombinationen:"), total);
    LKombis = MakeCount(QStringLiteral("LKombis"), Label3, total);
    QWidget* ways =
        MakeRow(QStringLiteral("PWege"), this, 2 + kCountsHeight / 2, kCountsHeight / 2);
    Label4 = MakeCaption(QStringLiteral("Label4"), QStringLiteral("ZW:"), ways);
    LZW = MakeCount(QStringLiteral("LZW"), Label4, ways);
    Label5 = MakeCaption(QStringLiteral("Label5"), QStringLiteral("DW:"), ways);
    LDW = MakeCount(QStringLiteral("LDW"), Label5, ways);
    Label6 = MakeCaption(QStringLiteral("Label6"), QStringLiteral("Bänke:"), ways);
    LBaenke = MakeCount(QStringLiteral("LBaenke"), Label6, ways);
    for (QLabel* label : {LZW, LDW, LBaenke}) {
        label->setMinimumWidth(18);
    }
    LZW->setToolTip(QStringLiteral("Zweiwege: Spiele mit zwei gewählten Tipps"));
    LDW->setToolTip(QStringLiteral("Dreiwege: Spiele mit drei gewählten Tipps"));
    LBaenke->setToolTip(QStringLiteral("Bänke: Spiele mit einem gewählten Tipp"));
}

void MatchBoardPanel::buildLegend() {
    QWidget* legend = MakeRow(QStringLiteral("PLegende"), this, kLegendTop, kLegendHeight);
    const QString names[] = {QStringLiteral("Panel8"), QStringLiteral("Panel7"),
                             QStringLiteral("Panel6"), QStringLiteral("Panel4")};
    for (std::size_t i = 0; i < TipLegend.size(); ++i) {
        auto* field = new QLabel(QString::fromUtf8(TipLegend[i].caption), legend);
        field->setObjectName(names[i]);
        field->setAlignment(Qt::AlignCenter);
        field->setFont(CalibriPixelFont(11, true));
        field->setStyleSheet(
            QStringLiteral("QLabel { background: %1; color: %2; border: 1px "
                           "solid #b9bec6; border-radius: 3px; }")
                .arg(ToQColor(TipLegend[i].colour).name(), ToQColor(kTipLegendTextColour).name()));
        legend->layout()->addWidget(field);
    }
}

void MatchBoardPanel::buildBottomBar() {
    QWidget* bar = MakeRow(QStringLiteral("PSchnell"), this, kBarTop, kIconButtonSize);
    BQOpen13 = MakeIconButton(QStringLiteral("BQOpen13"),
                              ProgramIcon(QStringLiteral("football-quick-open")),
                              QStringLiteral("Schnellauswahl laden"), bar, kIconButtonSize);
    bsSkinSpeedButton1 = MakeIconButton(
        QStringLiteral("bsSkinSpeedButton1"), ProgramIcon(QStringLiteral("football-quick-save")),
        QStringLiteral("Auswahl als Schnellauswahl speichern"), bar, kIconButtonSize);
    bsSkinSpeedButton3 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton3"), ProgramIcon(QStringLiteral("trash")),
                       QStringLiteral("Alle Tipps auf \"out\" setzen"), bar, kIconButtonSize);
    auto* layout = static_cast<QHBoxLayout*>(bar->layout());
    layout->addWidget(BQOpen13);
    layout->addWidget(bsSkinSpeedButton1);
    layout->addStretch(1);
    layout->addWidget(bsSkinSpeedButton3);
}

TipButton* MatchBoardPanel::button(int slot) const {
    return IsOutcomeSlot(slot) ? buttons_[static_cast<std::size_t>(slot - 1)] : nullptr;
}

std::string MatchBoardPanel::quickFilePath() const {
    return QuickTipFilePath(context_.folders.settings);
}

void MatchBoardPanel::showLabels() {
    const CountLabels& labels = state_.board.labels();
    LKombis->setText(QString::fromStdString(labels.kombis));
    LZW->setText(QString::fromStdString(labels.zw));
    LDW->setText(QString::fromStdString(labels.dw));
    LBaenke->setText(QString::fromStdString(labels.baenke));
}

void MatchBoardPanel::showBoard() {
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        button(slot)->showTipStatus(state_.board.status(slot));
    }
    showLabels();
}

void MatchBoardPanel::StepTipStatus(int slot, MouseStep step) {
    if (TipButton* b = button(slot)) {
        b->showTipStatus(state_.board.stepTipStatus(slot, step));
        showLabels();
        emit statusesChanged();
    }
}

void MatchBoardPanel::ClearTips() {
    state_.board.clearTips();
    showBoard();
    emit statusesChanged();
}

void MatchBoardPanel::SaveQuickTips() {
    losfix::SaveQuickTips(*context_.files, quickFilePath(), state_.board);
    BQOpen13->setEnabled(true);
}

void MatchBoardPanel::LoadQuickTips() {
    LoadQuickTips(quickFilePath());
}

void MatchBoardPanel::LoadQuickTips(const std::string& path) {
    // Whatever the file did to the board before an error shows.
    const ScopeExit refresh([this] {
        showBoard();
        emit statusesChanged();
    });
    if (const auto refusal = losfix::LoadQuickTips(*context_.files, path, state_.board)) {
        context_.dialogs->warning(*refusal);
    }
}

}  // namespace losfix
