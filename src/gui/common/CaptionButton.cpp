#include "gui/common/CaptionButton.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace losfix {

namespace {
constexpr int kIconSize = 22;
constexpr int kPadding = 6;
}  // namespace

CaptionButton::CaptionButton(const QString& objectName, const QString& caption, const QIcon& icon,
                             QWidget* parent)
    : QToolButton(parent) {
    setObjectName(objectName);
    setText(caption);
    setIcon(icon);
    setIconSize(QSize(kIconSize, kIconSize));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAccessibleName(SpokenCaption(caption));
    setCursor(Qt::PointingHandCursor);
    setAutoRaise(false);
    // Captions of two short lines, in the size of the program's small print.
    QFont captionFont = font();
    captionFont.setPixelSize(11);
    setFont(captionFont);
}

QString SpokenCaption(const QString& caption) {
    static const QRegularExpression brokenWord(QStringLiteral("(\\p{L})- (\\p{Ll})"));
    static const QRegularExpression brokenCompound(QStringLiteral("(\\p{L})- (\\p{Lu})"));
    QString spoken = caption;
    spoken.replace(brokenWord, QStringLiteral("\\1\\2"));
    spoken.replace(brokenCompound, QStringLiteral("\\1-\\2"));
    return spoken;
}

namespace {
// The narrowest width at which the caption needs no more than two lines, so that both lines
// come out about equally long.
QRect BalancedBounds(const QFontMetrics& metrics, const QString& text) {
    const int single = metrics.horizontalAdvance(text);
    for (int width = single / 2; width < single; width += 2) {
        const QRect bounds = metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, text);
        if (bounds.height() < metrics.height() + 2 * metrics.lineSpacing() &&
            bounds.width() <= width) {
            return bounds;
        }
    }
    return metrics.boundingRect(QRect(0, 0, single, 1000), Qt::TextWordWrap, text);
}
}  // namespace

int CaptionButton::menuArrowWidth() const {
    if (popupMode() != QToolButton::MenuButtonPopup) {
        return 0;
    }
    QStyleOptionToolButton option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
}

QSize CaptionButton::sizeHint() const {
    const QRect bounds = BalancedBounds(QFontMetrics(font()), text());
    return {kPadding * 3 + kIconSize + bounds.width() + 2 + menuArrowWidth(),
            std::max(34, bounds.height() + 10)};
}

QSize CaptionButton::minimumSizeHint() const {
    return {kIconSize + 2 * kPadding, 30};
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    // A menu button keeps its arrow part to the right of the caption.
    const QRect area = rect().adjusted(kPadding, 0, -kPadding - menuArrowWidth(), 0);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QRect iconRect(area.left(), (height() - kIconSize) / 2, kIconSize, kIconSize);
    icon().paint(&painter, iconRect, Qt::AlignCenter, mode);
    const QRect textRect = area.adjusted(kIconSize + kPadding, 2, 0, -2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text());
}

QToolButton* MakeIconButton(const QString& objectName, const QIcon& icon, const QString& tooltip,
                            QWidget* parent, int size) {
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(icon);
    button->setIconSize(QSize(size - 8, size - 8));
    button->setFixedSize(size, size);
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace losfix
