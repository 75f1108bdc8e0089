#include "gui/rows/TFfrStat.h"

#include <QLabel>
#include <QPalette>

#include "core/lottery/PoolLayouts.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

constexpr int kNumberWidth = 22;

QLabel* MakePanel(const QString& name, QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(InterfaceFont(11, true));
    panel->setAutoFillBackground(true);
    return panel;
}

void SetColours(QLabel* panel, const QColor& background, const QColor& text) {
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    panel->setPalette(pal);
}

}  // namespace

TFfrStat::TFfrStat(int number, QWidget* parent) : QFrame(parent), number_(number) {
    setObjectName(QStringLiteral("frs%1").arg(number));
    setFixedSize(kFrameWidth, kFrameHeight);

    PNr = MakePanel(QStringLiteral("PNr"), this);
    PNr->setGeometry(0, 0, kNumberWidth, kFrameHeight);
    PNr->setText(QStringLiteral("%1:").arg(number));
    SetColours(PNr, Qt::black, Qt::yellow);

    PAnz = MakePanel(QStringLiteral("PAnz"), this);
    PAnz->setGeometry(kNumberWidth, 0, kFrameWidth - kNumberWidth, kFrameHeight);
    SetColours(PAnz, ToQColor(StatusColour(NumberStatus::Normal)),
               palette().color(QPalette::WindowText));

    setAccessibleName(QStringLiteral("Zahl %1").arg(number));
}

void TFfrStat::showCount(int count, NumberStatus status) {
    PAnz->setText(QString::number(count));
    SetColours(PAnz, ToQColor(StatusColour(status)), palette().color(QPalette::WindowText));
    setAccessibleDescription(QStringLiteral("%1 mal gezogen").arg(count));
}

QString TFfrStat::countText() const {
    return PAnz->text();
}

QColor TFfrStat::countColour() const {
    return PAnz->palette().color(QPalette::Window);
}

}  // namespace losfix
