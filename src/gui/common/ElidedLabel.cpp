#include "gui/common/ElidedLabel.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

namespace losfix {

namespace {

// Without an interface of its own the label reaches a screen reader as an empty frame. This one
// offers the whole text, also where the painted lines are cut, as name, value and read-only text.
class ElidedLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ElidedLabelAccessible(ElidedLabel* label)
        : QAccessibleWidget(label, label->accessibleRole()) {}

    QAccessible::Role role() const override { return label()->accessibleRole(); }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
            case QAccessible::Value:
                return label()->text();
            case QAccessible::Description:
                return {};  // the tooltip only repeats the text
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = label()->text();
        if (endOffset < 0 || endOffset > all.size()) {
            endOffset = static_cast<int>(all.size());
        }
        startOffset = std::clamp(startOffset, 0, endOffset);
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(label()->text().size()); }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    // Read-only text without a caret or selection; where a character stands is not known.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}

private:
    ElidedLabel* label() const { return static_cast<ElidedLabel*>(widget()); }
};

QAccessibleInterface* ElidedLabelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ElidedLabel::staticMetaObject.className()) &&
        object != nullptr && object->isWidgetType()) {
        return new ElidedLabelAccessible(static_cast<ElidedLabel*>(object));
    }
    return nullptr;
}

}  // namespace

ElidedLabel::ElidedLabel(const QString& objectName, int lines, QWidget* parent)
    : QFrame(parent), lines_(std::max(lines, 1)) {
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(ElidedLabelFactory);
        return true;
    }();
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
    const QString oldText = text_;
    text_ = text;
    setToolTip(text);
    if (wasFilled != filled()) {
        style()->unpolish(this);
        style()->polish(this);
    }
    update();
    notifyTextChanged(oldText);
}

void ElidedLabel::notifyTextChanged(const QString& oldText) {
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleTextUpdateEvent textChanged(this, 0, oldText, text_);
    QAccessible::updateAccessibility(&textChanged);
}

void ElidedLabel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // A notice that appears ("Prozess gestoppt") is news to a screen reader as much as new text.
    if (filled()) {
        notifyTextChanged(QString());
    }
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
