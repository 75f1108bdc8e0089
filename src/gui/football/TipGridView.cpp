#include "gui/football/TipGridView.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

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
    : QTableView(parent), model_(model) {
    setObjectName(objectName);
    setModel(model);
    setItemDelegate(new TipCellDelegate(std::move(fill), this));
    setFont(TableFont());
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

    QHeaderView* top = horizontalHeader();
    top->setFont(TableFont());
    top->setMinimumSectionSize(1);
    top->setDefaultSectionSize(kTipMatchColumnWidth);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setHighlightSections(false);
    top->setSectionsClickable(false);
    top->setFixedHeight(kTipRowHeight + 2);

    QHeaderView* side = verticalHeader();
    side->setFont(TableFont());
    side->setMinimumSectionSize(1);
    side->setDefaultSectionSize(kTipRowHeight);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    side->setHighlightSections(false);
    side->setSectionsClickable(false);
    side->setFixedWidth(kTipLabelColumnWidth);

    // The corner cell shows the grid's cell (0, 0): "Reihe" or "1 0 2".
    if (auto* corner = findChild<QAbstractButton*>()) {
        corner->setAccessibleName(QString::fromStdString(model_->grid().cell(0, 0)).trimmed());
        corner->installEventFilter(this);
    }
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

bool TipGridView::eventFilter(QObject* watched, QEvent* event) {
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner != nullptr && event->type() == QEvent::Paint) {
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = QString::fromStdString(model_->grid().cell(0, 0));
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        painter.setFont(TableFont());
        style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace losfix
