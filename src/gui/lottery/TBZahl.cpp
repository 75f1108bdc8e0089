#include "gui/lottery/TBZahl.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "gui/common/Style.h"

namespace losfix {

QString StatusName(NumberStatus status) {
    switch (status) {
        case NumberStatus::Normal:
            return QStringLiteral("Normal");
        case NumberStatus::Out:
            return QStringLiteral("out");
        case NumberStatus::FavI:
            return QStringLiteral("Fav I");
        case NumberStatus::FavII:
            return QStringLiteral("Fav II");
        case NumberStatus::FavIII:
            return QStringLiteral("Fav III");
        case NumberStatus::Bank:
            return QStringLiteral("Bank");
    }
    return {};
}

TBZahl::TBZahl(int number, QWidget* parent) : QAbstractButton(parent), number_(number) {
    setObjectName(QStringLiteral("but%1").arg(number));
    setProperty("tag", number);
    setText(QString::number(number));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setCaptionPointSize(10);
    updateAccessibleText();
}

void TBZahl::setStatus(NumberStatus status) {
    status_ = status;
    updateAccessibleText();
    update();
}

void TBZahl::setCaptionPointSize(int points) {
    QFont caption = TahomaFont(points, true);
    setFont(caption);
    update();
}

void TBZahl::updateAccessibleText() {
    setAccessibleName(QStringLiteral("Zahl %1: %2").arg(number_).arg(StatusName(status_)));
}

void TBZahl::mousePressEvent(QMouseEvent* event) {
    MouseStep step = MouseStep::Middle;
    if (event->buttons() & Qt::RightButton) {
        step = MouseStep::Right;
    } else if (event->buttons() & Qt::LeftButton) {
        step = MouseStep::Left;
    }
    setDown(true);
    emit stepRequested(number_, step);
    event->accept();
}

void TBZahl::mouseReleaseEvent(QMouseEvent* event) {
    setDown(false);
    event->accept();
}

void TBZahl::keyPressEvent(QKeyEvent* event) {
    // Keyboard users step with the space bar, backwards with Shift.
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return) {
        emit stepRequested(
            number_, (event->modifiers() & Qt::ShiftModifier) ? MouseStep::Right : MouseStep::Left);
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TBZahl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor base = ToQColor(StatusColour(status_));
    if (status_ == NumberStatus::Normal) {
        base = QColor(0xE4, 0xE6, 0xEA);
    }
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, base.lighter(isDown() ? 100 : 118));
    gradient.setColorAt(1.0, base.darker(isDown() ? 118 : 106));
    QPainterPath path;
    path.addRoundedRect(face, 4, 4);
    painter.fillPath(path, gradient);
    painter.setPen(QPen(base.darker(underMouse() ? 175 : 145), hasFocus() ? 2.0 : 1.0));
    painter.drawPath(path);
    painter.setPen(QColor(0x1E, 0x24, 0x2B));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace losfix
