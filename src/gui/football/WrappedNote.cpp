#include "gui/football/WrappedNote.h"

#include <QPainter>
#include <QTextLayout>

namespace losfix {

WrappedNote::WrappedNote(const QString& objectName, int lines, QWidget* parent)
    : QFrame(parent), lines_(std::max(lines, 1)) {
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void WrappedNote::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    setToolTip(text);
    setAccessibleName(text);
    update();
}

QSize WrappedNote::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {0, lines_ * fontMetrics().lineSpacing() + margins.top() + margins.bottom()};
}

QSize WrappedNote::minimumSizeHint() const {
    return sizeHint();
}

QStringList WrappedNote::shownLines(int width, bool* complete) const {
    QStringList shown;
    QTextLayout layout(text_, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int lastStart = 0;
    bool more = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (shown.size() == lines_) {
            more = true;
            break;
        }
        lastStart = line.textStart();
        shown.append(text_.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (more) {
        // The last line takes the rest of the text, cut to the width.
        shown.last() = fontMetrics().elidedText(text_.mid(lastStart), Qt::ElideRight, width);
    }
    if (complete != nullptr) {
        *complete = !more;
    }
    return shown;
}

bool WrappedNote::fits() const {
    bool complete = false;
    shownLines(contentsRect().width(), &complete);
    return complete;
}

void WrappedNote::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (text_.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    const int spacing = fontMetrics().lineSpacing();
    int top = area.top();
    for (const QString& line : shownLines(area.width())) {
        painter.drawText(QRect(area.left(), top, area.width(), spacing),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        top += spacing;
    }
}

}  // namespace losfix
