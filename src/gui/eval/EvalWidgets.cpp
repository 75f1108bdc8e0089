#include "gui/eval/EvalWidgets.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>

#include "gui/common/Style.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {

// The corner of a table selects all; a screen reader names it after the table.
void NameCorner(QTableView* view, const QString& accessibleName) {
    view->setCornerButtonEnabled(false);
    if (auto* corner = view->findChild<QAbstractButton*>()) {
        corner->setAccessibleName(accessibleName);
    }
}

}  // namespace

QLabel* MakeValueLabel(const QString& objectName, QWidget* parent, int lines) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFont(InterfaceFont(13));
    const int height = QFontMetrics(label->font()).lineSpacing() * lines + 4;
    label->setMinimumHeight(height);
    label->setMinimumWidth(100);
    return label;
}

QLabel* MakeCaption(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setFont(InterfaceFont(13));
    return label;
}

QPushButton* MakeButton(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setFont(InterfaceFont(13));
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QProgressBar* MakeProgress(const QString& objectName, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(objectName);
    bar->setRange(0, 1000);
    bar->setValue(0);
    bar->setFormat(QStringLiteral("%p %"));
    bar->setAccessibleName(QStringLiteral("Fortschritt der Berechnung"));
    bar->setMaximumHeight(22);
    // Its place stays when it is hidden, so that the buttons beside it do not move.
    QSizePolicy policy = bar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    bar->setSizePolicy(policy);
    bar->hide();
    return bar;
}

QTableView* MakeHitTable(const QString& objectName, QAbstractItemModel* model,
                         const QString& accessibleName, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setFont(InterfaceFont(13));
    view->setSortingEnabled(true);
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->horizontalHeader()->setSortIndicatorShown(true);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setMinimumHeight(120);
    NameCorner(view, accessibleName);
    return view;
}

QTableWidget* MakeOddsTable(const QString& objectName, const QString& accessibleName,
                            QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setFont(InterfaceFont(13));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(20);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setMinimumHeight(120);
    NameCorner(table, accessibleName);
    return table;
}

void FillOddsTable(QTableWidget* table, const ReportTable& content, bool intervalsBelow) {
    table->clear();
    const int lineHeight = QFontMetrics(table->font()).lineSpacing();
    table->verticalHeader()->setDefaultSectionSize(intervalsBelow ? 2 * lineHeight + 6 : 20);
    table->setColumnCount(static_cast<int>(content.header.size()));
    table->setRowCount(static_cast<int>(content.rows.size()));
    QStringList header;
    for (const std::string& caption : content.header) {
        header << QString::fromStdString(caption);
    }
    table->setHorizontalHeaderLabels(header);
    for (std::size_t r = 0; r < content.rows.size(); ++r) {
        const auto& row = content.rows[r];
        for (std::size_t c = 0; c < row.size() && c < content.header.size(); ++c) {
            QString text = QString::fromStdString(row[c]);
            if (intervalsBelow) {
                text.replace(QStringLiteral(" ("), QStringLiteral("\n("));
            }
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(c == 0 ? Qt::Alignment(Qt::AlignCenter)
                                          : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

}  // namespace losfix

namespace losfix {

void FitColumns(QTableView* view, const QStringList& widestTexts) {
    const QFontMetrics cell(view->font());
    const QFontMetrics caption(view->horizontalHeader()->font());
    const int columns = view->model() != nullptr ? view->model()->columnCount() : 0;
    for (int c = 0; c < columns && c < widestTexts.size(); ++c) {
        const QString header = view->model()->headerData(c, Qt::Horizontal).toString();
        // Room for the sort arrow beside the caption.
        const int width = std::max(cell.horizontalAdvance(widestTexts[c]) + 16,
                                   caption.horizontalAdvance(header) + 28);
        view->setColumnWidth(c, width);
    }
}

void PlaceWindow(QWidget* window, const QWidget* owner) {
    CentreOn(window, owner);
    const QScreen* screen =
        owner != nullptr && owner->isVisible() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    QRect frame = window->geometry();
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() - frame.height() + 1));
    window->setGeometry(frame);
}

}  // namespace losfix
