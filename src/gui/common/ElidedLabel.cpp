#include "gui/common/ElidedLabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace losfix {

ElidedLabel::ElidedLabel(const QString& objectName, int lines, QWidget* parent)
    : QFrame(parent), lines_(std::max(lines, 1)) {
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // Hidden, it still holds its place.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    fixHeight();
}

void ElidedLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    const bool wasFilled = filled();
    text_ = text;
    setToolTip(text);
    setAccessibleName(text);
    if (wasFilled != filled()) {
        style()->unpolish(this);
        style()->polish(this);
    }
    update();
}

QStringList ElidedLabel::shownLines() const {
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width();
    QStringList lines;
    QString rest = text_.simplified();
    while (!rest.isEmpty() && lines.size() < lines_ - 1) {
        // The longest start of the rest that ends at a blank and fits.
        int cut = -1;
        for (int blank = rest.indexOf(QLatin1Char(' ')); blank >= 0;
             blank = rest.indexOf(QLatin1Char(' '), blank + 1)) {
            if (metrics.horizontalAdvance(rest.left(blank)) > width) {
                break;
            }
            cut = blank;
        }
        if (metrics.horizontalAdvance(rest) <= width || cut < 0) {
            break;
        }
        lines << rest.left(cut);
        rest = rest.mid(cut + 1);
    }
    if (!rest.isEmpty()) {
        lines << metrics.elidedText(rest, Qt::ElideRight, width);
    }
    return lines;
}

QSize ElidedLabel::sizeHint() const {
    return {0, height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return sizeHint();
}

void ElidedLabel::fixHeight() {
    const QMargins margins = contentsMargins();
    setFixedHeight(fontMetrics().lineSpacing() * lines_ + margins.top() + margins.bottom() + 2);
}

bool ElidedLabel::event(QEvent* event) {
    // Qt shows a tooltip that looks like markup as rich text; a file name must not be drawn bold
    // or load a picture. The tooltip property keeps the text itself, as assistive technology
    // reads it.
    if (event->type() == QEvent::ToolTip && Qt::mightBeRichText(text_)) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           Qt::convertFromPlainText(text_), this);
        return true;
    }
    return QFrame::event(event);
}

void ElidedLabel::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        fixHeight();
    }
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (text_.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    const int lineHeight = fontMetrics().lineSpacing();
    int top = area.top() + 1;
    for (const QString& line : shownLines()) {
        painter.drawText(QRect(area.left(), top, area.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        top += lineHeight;
    }
}

}  // namespace losfix
