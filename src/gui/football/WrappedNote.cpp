#include "gui/football/WrappedNote.h"

#include <QPainter>
#include <QTextLayout>

namespace losfix {

WrappedNote::WrappedNote(const QString& objectName, int lines, QWidget* parent)
    : ElidedLabel(objectName, parent), lines_(std::max(lines, 1)) {}

QSize WrappedNote::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {0, lines_ * fontMetrics().lineSpacing() + margins.top() + margins.bottom()};
}

QSize WrappedNote::minimumSizeHint() const {
    return sizeHint();
}

QStringList WrappedNote::shownLines(int width) const {
    const QString all = text();
    QStringList shown;
    QTextLayout layout(all, font());
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
        shown.append(all.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (more) {
        // The last line takes the rest of the text, cut to the width.
        shown.last() = fontMetrics().elidedText(all.mid(lastStart), Qt::ElideRight, width);
    }
    return shown;
}

void WrappedNote::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (text().isEmpty()) {
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
