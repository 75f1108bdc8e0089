#include "gui/football/TipGridView.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

#include "core/football/FootballLayout.h"
#include "core/football/TipTable.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {
const QColor kGridLine(0xC8, 0xCC, 0xD2);
constexpr int kTextTop = 2;
constexpr int kSmallestPixelSize = 7;
}  // namespace

TipCellDelegate::TipCellDelegate(FillLookup fill, QObject* parent)
    : QStyledItemDelegate(parent), fill_(std::move(fill)) {}

void TipCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, ToQColor(fill_(index.column() + 1, index.row() + 1)));
    painter->setClipRect(cell);
    QFont font = option.font;
    font.setBold(false);
    // A five-digit count is wider than a match column in some fonts: it is shown smaller rather
    // than cut on both sides.
    while (QFontMetrics(font).horizontalAdvance(text) > cell.width() - 2 &&
           font.pixelSize() > kSmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QFontMetrics metrics(font);
    const int left = CentredTextLeft(cell.left(), cell.width(), metrics.horizontalAdvance(text));
    painter->drawText(QPoint(left, cell.top() + kTextTop + metrics.ascent()), text);
    painter->setPen(kGridLine);
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
}

TipGridView::TipGridView(const QString& objectName, StringGridModel* model,
                         TipCellDelegate::FillLookup fill, bool scrolls, QWidget* parent)
    : RowTableView(
          model, [](int) { return NumberStatus::Normal; }, parent) {
    setObjectName(objectName);
    setItemDelegate(new TipCellDelegate(std::move(fill), this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setObjectName(objectName + QStringLiteral("Scroll"));
    horizontalScrollBar()->setObjectName(objectName + QStringLiteral("ScrollH"));
    horizontalHeader()->setDefaultSectionSize(kTipMatchColumnWidth);
    horizontalHeader()->setFixedHeight(kTipRowHeight + 2);
    verticalHeader()->setDefaultSectionSize(kTipRowHeight);
    verticalHeader()->setFixedWidth(kTipLabelColumnWidth);
}

int TipGridView::fittingWidth() const {
    int width = kTipLabelColumnWidth + kMatchCount * kTipMatchColumnWidth + 2 * frameWidth();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    }
    return width;
}

int TipGridView::fittingHeight(int rows) const {
    return kTipRowHeight + 2 + rows * kTipRowHeight + 2 * frameWidth();
}

}  // namespace losfix
