#include "gui/rows/DistributionColumn.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"
#include "gui/rows/DistributionPanel.h"

namespace losfix {

namespace {
constexpr int kColumnWidth = 436;
}  // namespace

DistributionColumn::DistributionColumn(AppContext& context, const LotteryState& state,
                                       ImageSession& images, QWidget* parent)
    : QWidget(parent), context_(context), state_(state), images_(images) {
    setObjectName(QStringLiteral("PRechts"));
    setFixedWidth(kColumnWidth);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(5);

    P3 = new DistributionPanel(this);
    layout_->addWidget(P3, 0, Qt::AlignHCenter);

    auto* bar = new QHBoxLayout();
    bar->setSpacing(6);
    BSortN = new CaptionButton(QStringLiteral("BSortN"), QStringLiteral("Sortieren nach Nummern"),
                               ProgramIcon(QStringLiteral("sort-number")), this);
    BSortH =
        new CaptionButton(QStringLiteral("BSortH"), QStringLiteral("Sortieren nach Häufigkeit"),
                          ProgramIcon(QStringLiteral("sort-frequency")), this);
    for (auto* button : {BSortN, BSortH}) {
        button->setFixedHeight(38);
        button->setEnabled(false);
        bar->addWidget(button);
    }
    bar->addStretch(1);
    bsSkinSpeedButton15 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton15"), ProgramIcon(QStringLiteral("camera")),
                       QStringLiteral("Abbild der Verteilung"), this, 38);
    bar->addWidget(bsSkinSpeedButton15);
    layout_->addLayout(bar);
    layout_->addStretch(1);

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(BSortH, &QToolButton::clicked, this, dialogs, [this] { SortByFrequency(); });
    ConnectGuarded(BSortN, &QToolButton::clicked, this, dialogs, [this] { SortByNumber(); });
    ConnectGuarded(bsSkinSpeedButton15, &QToolButton::clicked, this, dialogs,
                   [this] { CaptureDistribution(); });
}

void DistributionColumn::SortByFrequency() {
    P3->sortByFrequency(state_.counts);
    BSortH->setEnabled(false);
    BSortN->setEnabled(true);
}

void DistributionColumn::SortByNumber() {
    P3->sortByNumber();
    BSortH->setEnabled(true);
    BSortN->setEnabled(false);
}

void DistributionColumn::CaptureDistribution() {
    CaptureImage(context_, images_, P3, QStringLiteral("Verteilung"), 0, 0, 14, 0, window());
}

void DistributionColumn::applyGeometry(const BoardGeometry& geometry) {
    P3->applyGeometry(geometry);
    BSortN->setEnabled(false);
}

void DistributionColumn::refresh(int poolSize) {
    P3->refresh(state_.counts, state_.board.statuses(), poolSize);
}

void DistributionColumn::prepareRun() {
    if (P3->frequencyOrder()) {
        SortByNumber();
    }
}

void DistributionColumn::runEnded() {
    BSortH->setEnabled(true);
}

void DistributionColumn::addBelow(QWidget* widget) {
    layout_->addWidget(widget);
}

}  // namespace losfix
