#include "gui/lottery/BoardColumn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"
#include "gui/lottery/BoardPanel.h"
#include "gui/rows/SelectionBar.h"

namespace losfix {

namespace {

constexpr int kColumnWidth = 300;

const QString kLabel7Text = QStringLiteral(
    "Mit jedem Klick der linken Maustaste auf die Zahlen schalten Sie den Status von \"Normal\" "
    "in Richtung \"Bank\", mit der rechten Maustaste zurück. ");
const QString kLabel6Text = QStringLiteral(
    "\"out\" schließt eine Zahl aus, \"Fav I\" bringt sie zweimal in die Lostrommel, \"Fav II\" "
    "dreimal usw.");

QLabel* MakeLegendField(const QString& caption, QColor colour, QWidget* parent) {
    auto* field = new QLabel(caption, parent);
    field->setAlignment(Qt::AlignCenter);
    field->setFixedHeight(20);
    QFont font = field->font();
    font.setBold(true);
    font.setPixelSize(11);
    field->setFont(font);
    field->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: #515151; border: 1px solid "
                       "#b9bec6; border-radius: 3px; }")
            .arg(colour.name()));
    return field;
}

}  // namespace

BoardColumn::BoardColumn(AppContext& context, LotteryState& state, ImageSession& images,
                         QWidget* parent)
    : QWidget(parent), context_(context), state_(state), images_(images) {
    setObjectName(QStringLiteral("PLinks"));
    setFixedWidth(kColumnWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    QStringList poolItems;
    for (const auto& layoutEntry : PoolLayouts) {
        poolItems << QString::number(layoutEntry.poolSize);
    }
    RG2 = new RadioGroup(QStringLiteral("RG2"),
                         QStringLiteral("Größe der Zahlenmenge, aus der gezogen wird"), poolItems,
                         6, this);
    QStringList rowItems;
    for (int size = 3; size <= 16; ++size) {
        rowItems << QString::number(size);
    }
    RG1 = new RadioGroup(QStringLiteral("RG1"), QStringLiteral("Anzahl der Zahlen pro Reihe"),
                         rowItems, 7, this);
    // Form defaults: 49 numbers, 6 a row; set before the handlers are connected.
    RG2->setItemIndex(kDefaultPoolItem);
    RG1->setItemIndex(kDefaultRowSizeItem);
    state_.board.setRowSizeItem(RG1->itemIndex());
    layout->addWidget(RG2);
    layout->addWidget(RG1);

    P4 = new BoardPanel(this);
    layout->addWidget(P4, 0, Qt::AlignHCenter);

    selectionBar_ = new SelectionBar(
        context_, state_.board, *this, [this] { ResetStatuses(); }, this);
    BFoto = MakeIconButton(QStringLiteral("BFoto"), ProgramIcon(QStringLiteral("camera")),
                           QStringLiteral("Abbild der Zahlentafel"), this, 32);
    BDel = MakeIconButton(QStringLiteral("BDel"), ProgramIcon(QStringLiteral("trash")),
                          QStringLiteral("Alle Zahlen auf \"Normal\" setzen"), this, 32);
    selectionBar_->addToFileRow(BFoto);
    selectionBar_->addToFileRow(BDel);
    layout->addWidget(selectionBar_);

    buildLegend(layout);

    const QFont helpFont = CalibriPixelFont(12, true);
    Label7 = new QLabel(kLabel7Text, this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label6 = new QLabel(kLabel6Text, this);
    Label6->setObjectName(QStringLiteral("Label6"));
    for (QLabel* label : {Label7, Label6}) {
        label->setFont(helpFont);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("color: #0080C0;"));
        layout->addWidget(label);
    }
    layout->addStretch(1);

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(P4, &BoardPanel::stepRequested, this, dialogs,
                   [this](int number, MouseStep step) { StepStatus(number, step); });
    ConnectGuarded(RG2, &RadioGroup::itemIndexChanged, this, dialogs,
                   [this](int item) { ApplyPoolSize(item); });
    ConnectGuarded(RG1, &RadioGroup::itemIndexChanged, this, dialogs, [this](int item) {
        state_.board.setRowSizeItem(item);
        emit rowSizeChanged();
    });
    ConnectGuarded(BDel, &QToolButton::clicked, this, dialogs, [this] { ResetStatuses(); });
    ConnectGuarded(BFoto, &QToolButton::clicked, this, dialogs, [this] { CaptureBoard(); });
}

void BoardColumn::buildLegend(QVBoxLayout* layout) {
    auto* legend = new QHBoxLayout();
    legend->setSpacing(3);
    const QString captions[] = {QStringLiteral("Normal"),  QStringLiteral("out"),
                                QStringLiteral("Fav I"),   QStringLiteral("Fav I I"),
                                QStringLiteral("Fav III"), QStringLiteral("Bank")};
    for (int code = 0; code < kStatusCount; ++code) {
        const QColor colour = code == 0 ? QColor(0xE8, 0xE8, 0xE8)
                                        : ToQColor(StatusColours[static_cast<std::size_t>(code)]);
        QLabel* field = MakeLegendField(captions[code], colour, this);
        field->setObjectName(QStringLiteral("Legende%1").arg(code));
        legend->addWidget(field);
    }
    layout->addLayout(legend);
}

void BoardColumn::StepStatus(int number, MouseStep step) {
    P4->showStatus(number, state_.board.stepStatus(number, step));
    emit statusesChanged();
}

void BoardColumn::SetStatus(int number, NumberStatus status) {
    state_.board.setStatus(number, status);
    P4->showStatus(number, state_.board.status(number));
    emit statusesChanged();
}

void BoardColumn::ResetStatuses() {
    state_.board.resetStatuses();
    P4->showStatuses(state_.board.statuses());
    emit statusesChanged();
}

void BoardColumn::ApplyPoolSize(int item) {
    state_.board.setPoolItem(item);
    const BoardGeometry geometry = LayoutForPoolItem(state_.board.poolItem());
    P4->applyGeometry(geometry);
    boardLaidOut_ = true;
    emit poolLaidOut(geometry);
}

void BoardColumn::CaptureBoard() {
    // The board is pictured 10 pixels taller, so the stamp has a free strip below the buttons.
    CaptureImage(context_, images_, P4, QStringLiteral("Manipulation"), 0, 0, 14, 10, window());
}

int BoardColumn::rowSizeItem() const {
    return RG1->itemIndex();
}

int BoardColumn::poolItem() const {
    return RG2->itemIndex();
}

void BoardColumn::setItems(int rowSizeItem, int poolItem) {
    RG1->setItemIndex(rowSizeItem);
    RG2->setItemIndex(poolItem);
}

void BoardColumn::applyRowSizeItem(int item) {
    RG1->setItemIndex(item);
    state_.board.setRowSizeItem(RG1->itemIndex());
}

void BoardColumn::applyPoolItem(int item) {
    RG2->setItemIndex(item);
}

int BoardColumn::poolSize() const {
    return state_.board.poolSize();
}

void BoardColumn::applyStatus(int number, NumberStatus status) {
    SetStatus(number, status);
}

}  // namespace losfix
