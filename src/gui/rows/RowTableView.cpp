#include "gui/rows/RowTableView.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include "core/lottery/RowTable.h"
#include "gui/common/Style.h"

namespace losfix {

NumberCellDelegate::NumberCellDelegate(StatusLookup lookup, QObject* parent)
    : QStyledItemDelegate(parent), lookup_(std::move(lookup)) {}

void NumberCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const int number = CellNumber(text.toStdString());
    QColor fill = Qt::white;
    if (number > 0 && !text.trimmed().isEmpty()) {
        fill = ToQColor(StatusColour(lookup_(number)));
    }
    const QRect cell = option.rect;
    const bool drawn = number > 0 && drawn_.contains(number);
    painter->save();
    painter->fillRect(cell, fill);
    painter->setClipRect(cell);
    QFont font = option.font;
    font.setBold(drawn);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QFontMetrics metrics(font);
    const int left = cell.left() + (cell.width() - metrics.horizontalAdvance(text)) / 2;
    painter->drawText(QPoint(left, cell.top() + 2 + metrics.ascent()), text);
    // Grid lines like the rest of the table.
    painter->setPen(QColor(0xC8, 0xCC, 0xD2));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    if (drawn || (number > 0 && number == additional_)) {
        QPen frame(QColor(0x00, 0x40, 0x80));
        frame.setWidth(drawn ? 2 : 1);
        frame.setStyle(drawn ? Qt::SolidLine : Qt::DashLine);
        painter->setPen(frame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(1, 1, drawn ? -2 : -3, drawn ? -2 : -3));
    }
    painter->restore();
}

void NumberCellDelegate::setMarks(const NumberSet& drawn, int additional) {
    drawn_ = drawn;
    additional_ = additional;
}

RowTableView::RowTableView(StringGridModel* model, NumberCellDelegate::StatusLookup lookup,
                           QWidget* parent)
    : QTableView(parent),
      model_(model),
      delegate_(new NumberCellDelegate(std::move(lookup), this)) {
    setObjectName(QStringLiteral("g1"));
    setModel(model);
    setItemDelegate(delegate_);
    setFont(TableFont());
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // The corner holds the header of the row labels ("Reihe"). Screen readers do not reach the
    // corner through the table, so the table carries it as its name too.
    const QString header = QString::fromStdString(model_->grid().cell(0, 0)).trimmed();
    setAccessibleName(header);
    if (auto* corner = findChild<QAbstractButton*>()) {
        corner->setAccessibleName(header);
    }
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setObjectName(QStringLiteral("bsSkinScrollBar1"));
    horizontalScrollBar()->setObjectName(QStringLiteral("bsSkinScrollBar2"));

    QHeaderView* top = horizontalHeader();
    top->setFont(TableFont());
    top->setMinimumSectionSize(1);
    top->setDefaultSectionSize(kNumberColumnWidth);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setHighlightSections(false);
    top->setSectionsClickable(false);
    top->setFixedHeight(kRowTableRowHeight + 2);

    QHeaderView* side = verticalHeader();
    side->setFont(TableFont());
    side->setMinimumSectionSize(1);
    side->setDefaultSectionSize(kRowTableRowHeight);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    side->setHighlightSections(false);
    side->setSectionsClickable(false);
    side->setFixedWidth(kLabelColumnWidth);

    // The corner cell shows the header text of column 0 ("Reihe").
    if (auto* corner = findChild<QAbstractButton*>()) {
        corner->installEventFilter(this);
    }
}

void RowTableView::setMarks(const NumberSet& drawn, int additional) {
    delegate_->setMarks(drawn, additional);
    viewport()->update();
}

bool RowTableView::eventFilter(QObject* watched, QEvent* event) {
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
