#include "gui/TFMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "core/app/Settings.h"
#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"
#include "gui/BoardPanel.h"
#include "gui/CaptionButton.h"
#include "gui/DistributionPanel.h"
#include "gui/ErrorGuard.h"
#include "gui/RadioGroup.h"
#include "gui/RowTableView.h"
#include "gui/StringGridModel.h"
#include "gui/Style.h"
#include "gui/TFAbbild.h"
#include "platform/SortLocale.h"

namespace losfix {

namespace {

const QString kStopNotice = QStringLiteral("Prozess gestoppt");
const QString kLabel7Text = QStringLiteral(
    "Mit jedem Klick der linken Maustaste auf die Zahlen schalten Sie den Status von \"Normal\" "
    "in Richtung \"Bank\", mit der rechten Maustaste zurück. ");
const QString kLabel6Text = QStringLiteral(
    "\"out\" schließt eine Zahl aus, \"Fav I\" bringt sie zweimal in die Lostrommel, \"Fav II\" "
    "dreimal usw.");
const QString kDonationText =
    QStringLiteral("Wenn Ihnen das Programm gefällt, würde ich mich über einen Wachmacher freuen:");

constexpr int kLeftWidth = 300;
constexpr int kRightWidth = 436;
// How long the window may go without processing events during a run (it answers within a frame).
constexpr qint64 kPumpIntervalMs = 15;
constexpr qint64 kProgressIntervalMs = 250;
// Candidates without a new row after which the progress line suggests stopping.
constexpr std::uint64_t kStallCandidates = 200000;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Grouped(std::uint64_t value) {
    return QLocale(QLocale::German, QLocale::Germany).toString(static_cast<qulonglong>(value));
}

QFrame* MakeBar(QWidget* parent) {
    auto* bar = new QFrame(parent);
    bar->setFrameShape(QFrame::NoFrame);
    return bar;
}

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

template <typename Handler>
void TFMain::guarded(Handler&& handler) {
    Guarded(*context_.dialogs, std::forward<Handler>(handler));
}

TFMain::TFMain(AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      ini_(std::make_unique<IniFile>(*context.files, context.folders.settingsFile())),
      sortLocale_(std::make_unique<QtSortLocale>()),
      random_(context.seedSource ? context.seedSource : Random::SeedSource(ClockSeed)) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(Q(WindowCaption()));
    setWindowIcon(ProgramIcon(QStringLiteral("app")));
    // System menu, minimise and close; no maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setMaximumSize(kMaxWidth, kMaxHeight);
    setWindowOpacity(0.0);

    table_ = MakeRowTable([this](std::string_view text) { return measureText(text); });
    model_ = new StringGridModel(&table_, this);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildHeader());
    auto* columns = new QHBoxLayout();
    columns->setContentsMargins(8, 6, 8, 8);
    columns->setSpacing(10);
    columns->addWidget(buildLeftColumn());
    columns->addWidget(buildMiddleColumn(), 1);
    columns->addWidget(buildRightColumn());
    root->addLayout(columns, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        LHinweis->hide();
        Timer1->stop();
    });
    Timer1->start();

    connectHandlers();
    RefreshQuickButtons();
    applySettings();
    if (!boardLaidOut_) {
        ApplyPoolSize(RG2->itemIndex());
    }
    updateCongruenceLabel(Track1->value());
    WriteRowTableHeader(table_, [this](std::string_view text) { return measureText(text); });
    model_->sync();
}

TFMain::~TFMain() {
    // The view and its model read the table, which goes before the base class removes children.
    delete g1;
    delete model_;
}

int TFMain::measureText(std::string_view text) const {
    static const QFontMetrics metrics(TableFont());
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

QWidget* TFMain::buildHeader() {
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("PHeader"));
    header->setFixedHeight(62);
    header->setStyleSheet(QStringLiteral(
        "#PHeader { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, "
        "stop:1 #dfe6ef); border-bottom: 1px solid #b9c3cf; }"));
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(10);

    bsSkinSpeedButton1 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("Programm beenden"),
                          ProgramIcon(QStringLiteral("exit")), header);
    bsSkinSpeedButton1->setFixedSize(132, 40);
    layout->addWidget(bsSkinSpeedButton1);

    Label3 = new QLabel(QString::fromUtf8(kProgramName), header);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont titleFont = CalibriPixelFont(30, true);
    Label3->setFont(titleFont);
    Label3->setStyleSheet(QStringLiteral("color: #004080;"));
    layout->addSpacing(12);
    layout->addWidget(Label3);
    layout->addStretch(1);

    PPayPal = new QFrame(header);
    PPayPal->setObjectName(QStringLiteral("PPayPal"));
    auto* pay = new QHBoxLayout(PPayPal);
    pay->setContentsMargins(0, 0, 0, 0);
    pay->setSpacing(8);
    Label5 = new QLabel(kDonationText, PPayPal);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = Label5->font();
    bold.setBold(true);
    bold.setPixelSize(11);
    Label5->setFont(bold);
    Label5->setFixedWidth(250);
    pay->addWidget(Label5);
    auto* standBox = new QVBoxLayout();
    standBox->setSpacing(1);
    Label17 = new QLabel(QStringLiteral("Stand in €"), PPayPal);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setAlignment(Qt::AlignCenter);
    leur = new QLabel(QStringLiteral("0"), PPayPal);
    leur->setObjectName(QStringLiteral("leur"));
    leur->setAlignment(Qt::AlignCenter);
    leur->setFrameShape(QFrame::Panel);
    leur->setFrameShadow(QFrame::Sunken);
    leur->setMinimumWidth(70);
    leur->setStyleSheet(QStringLiteral("background: white;"));
    standBox->addWidget(Label17);
    standBox->addWidget(leur);
    pay->addLayout(standBox);
    layout->addWidget(PPayPal);
    layout->addSpacing(12);

    bsSkinSpeedButton16 = MakeIconButton(QStringLiteral("bsSkinSpeedButton16"),
                                         ProgramIcon(QStringLiteral("position")),
                                         QStringLiteral("Fensterposition speichern"), header, 40);
    layout->addWidget(bsSkinSpeedButton16);
    return header;
}

QWidget* TFMain::buildLeftColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("PLinks"));
    column->setFixedWidth(kLeftWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    QStringList poolItems;
    for (const auto& layoutEntry : PoolLayouts) {
        poolItems << QString::number(layoutEntry.poolSize);
    }
    RG2 = new RadioGroup(QStringLiteral("RG2"),
                         QStringLiteral("Größe der Zahlenmenge, aus der gezogen wird"), poolItems,
                         6, column);
    QStringList rowItems;
    for (int size = 3; size <= 16; ++size) {
        rowItems << QString::number(size);
    }
    RG1 = new RadioGroup(QStringLiteral("RG1"), QStringLiteral("Anzahl der Zahlen pro Reihe"),
                         rowItems, 7, column);
    // Form defaults: 49 numbers, 6 a row; set before the handlers are connected.
    RG2->setItemIndex(kDefaultPoolItem);
    RG1->setItemIndex(kDefaultRowSizeItem);
    layout->addWidget(RG2);
    layout->addWidget(RG1);

    P4 = new BoardPanel(column);
    layout->addWidget(P4, 0, Qt::AlignHCenter);

    auto* selectionBar = MakeBar(column);
    auto* selection = new QHBoxLayout(selectionBar);
    selection->setContentsMargins(0, 0, 0, 0);
    selection->setSpacing(4);
    bsSkinSpeedButton9 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton9"), QStringLiteral("Auswahl öffnen..."),
                          ProgramIcon(QStringLiteral("open")), selectionBar);
    bsSkinSpeedButton10 = new CaptionButton(QStringLiteral("bsSkinSpeedButton10"),
                                            QStringLiteral("Auswahl speichern..."),
                                            ProgramIcon(QStringLiteral("save")), selectionBar);
    bsSkinSpeedButton9->setFixedHeight(32);
    bsSkinSpeedButton10->setFixedHeight(32);
    BFoto = MakeIconButton(QStringLiteral("BFoto"), ProgramIcon(QStringLiteral("camera")),
                           QStringLiteral("Abbild der Zahlentafel"), selectionBar, 32);
    BDel = MakeIconButton(QStringLiteral("BDel"), ProgramIcon(QStringLiteral("trash")),
                          QStringLiteral("Alle Zahlen auf \"Normal\" setzen"), selectionBar, 32);
    selection->addWidget(bsSkinSpeedButton9);
    selection->addWidget(bsSkinSpeedButton10);
    selection->addStretch(1);
    selection->addWidget(BFoto);
    selection->addWidget(BDel);
    layout->addWidget(selectionBar);

    auto* quickBar = MakeBar(column);
    auto* quick = new QHBoxLayout(quickBar);
    quick->setContentsMargins(0, 0, 0, 0);
    quick->setSpacing(4);
    auto makeQuick = [&](const QString& name, const QString& icon, const QString& tip, int slot) {
        QToolButton* button = MakeIconButton(name, ProgramIcon(icon), tip, quickBar, 34);
        button->setFixedSize(44, 34);
        button->setIconSize(QSize(36, 28));
        button->setProperty("tag", slot);
        return button;
    };
    BQuick1 = makeQuick(QStringLiteral("BQuick1"), QStringLiteral("quick-open-1"),
                        QStringLiteral("Schnellauswahl 1 öffnen"), 1);
    BQuick2 = makeQuick(QStringLiteral("BQuick2"), QStringLiteral("quick-open-2"),
                        QStringLiteral("Schnellauswahl 2 öffnen"), 2);
    BQuick3 = makeQuick(QStringLiteral("BQuick3"), QStringLiteral("quick-open-3"),
                        QStringLiteral("Schnellauswahl 3 öffnen"), 3);
    bsSkinSpeedButton6 =
        makeQuick(QStringLiteral("bsSkinSpeedButton6"), QStringLiteral("quick-save-1"),
                  QStringLiteral("Schnellauswahl 1 speichern"), 1);
    bsSkinSpeedButton5 =
        makeQuick(QStringLiteral("bsSkinSpeedButton5"), QStringLiteral("quick-save-2"),
                  QStringLiteral("Schnellauswahl 2 speichern"), 2);
    bsSkinSpeedButton4 =
        makeQuick(QStringLiteral("bsSkinSpeedButton4"), QStringLiteral("quick-save-3"),
                  QStringLiteral("Schnellauswahl 3 speichern"), 3);
    for (auto* button : {BQuick1, BQuick2, BQuick3}) {
        button->setEnabled(false);
        quick->addWidget(button);
    }
    quick->addStretch(1);
    for (auto* button : {bsSkinSpeedButton6, bsSkinSpeedButton5, bsSkinSpeedButton4}) {
        quick->addWidget(button);
    }
    layout->addWidget(quickBar);

    auto* legend = new QHBoxLayout();
    legend->setSpacing(3);
    const QString legendCaptions[] = {QStringLiteral("Normal"),  QStringLiteral("out"),
                                      QStringLiteral("Fav I"),   QStringLiteral("Fav I I"),
                                      QStringLiteral("Fav III"), QStringLiteral("Bank")};
    for (int code = 0; code < kStatusCount; ++code) {
        const QColor colour = code == 0 ? QColor(0xE8, 0xE8, 0xE8)
                                        : ToQColor(StatusColours[static_cast<std::size_t>(code)]);
        QLabel* field = MakeLegendField(legendCaptions[code], colour, column);
        field->setObjectName(QStringLiteral("Legende%1").arg(code));
        legend->addWidget(field);
    }
    layout->addLayout(legend);

    const QFont helpFont = CalibriPixelFont(12, true);
    Label7 = new QLabel(kLabel7Text, column);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label6 = new QLabel(kLabel6Text, column);
    Label6->setObjectName(QStringLiteral("Label6"));
    for (QLabel* label : {Label7, Label6}) {
        label->setFont(helpFont);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("color: #0080C0;"));
        layout->addWidget(label);
    }
    layout->addStretch(1);
    return column;
}

QWidget* TFMain::buildMiddleColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("PMitte"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    auto* countRow = new QHBoxLayout();
    countRow->setSpacing(6);
    Label1 = new QLabel(QStringLiteral("Gewünschte Reihenanzahl:"), column);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    eAnz = new QLineEdit(QStringLiteral("120"), column);
    eAnz->setObjectName(QStringLiteral("eAnz"));
    eAnz->setMaxLength(5);
    eAnz->setFixedWidth(58);
    eAnz->setAlignment(Qt::AlignRight);
    // Digits only; typing anything else does nothing.
    eAnz->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eAnz));
    Label1->setBuddy(eAnz);
    LHinweis = new QLabel(kStopNotice, column);
    LHinweis->setObjectName(QStringLiteral("LHinweis"));
    LHinweis->setFont(bold);
    LHinweis->setStyleSheet(QStringLiteral("color: #d00000;"));
    LHinweis->hide();
    BBreit = MakeIconButton(QStringLiteral("BBreit"), ProgramIcon(QStringLiteral("wide")),
                            QStringLiteral("Fenster verbreitern"), column, 28);
    Bnormal = MakeIconButton(QStringLiteral("Bnormal"), ProgramIcon(QStringLiteral("normal")),
                             QStringLiteral("Normale Fensterbreite"), column, 28);
    Bnormal->hide();
    countRow->addWidget(Label1);
    countRow->addWidget(eAnz);
    countRow->addWidget(LHinweis);
    countRow->addStretch(1);
    countRow->addWidget(BBreit);
    countRow->addWidget(Bnormal);
    layout->addLayout(countRow);

    RGPaar =
        new RadioGroup(QStringLiteral("RGPaar"), QStringLiteral("Zwei benachbarte Zahlen sichern"),
                       {QStringLiteral("keine Kontrolle"), QStringLiteral("in jeder Reihe"),
                        QStringLiteral("in jeder zweiten"), QStringLiteral("in jeder dritten"),
                        QStringLiteral("in jeder vierten"), QStringLiteral("nein, ausschließen")},
                       2, column);
    RGPaar->setItemIndex(0);
    layout->addWidget(RGPaar);

    auto* congruenceRow = new QHBoxLayout();
    congruenceRow->setSpacing(6);
    Label4 = new QLabel(QStringLiteral("Max. Reihenkongruenz "), column);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(bold);
    Track1 = new QSlider(Qt::Horizontal, column);
    Track1->setObjectName(QStringLiteral("Track1"));
    Track1->setRange(1, kCongruenceMax);
    Track1->setSingleStep(1);
    Track1->setPageStep(1);
    Track1->setTickPosition(QSlider::TicksBelow);
    Track1->setTickInterval(1);
    Track1->setValue(2);
    Track1->setAccessibleName(QStringLiteral("Max. Reihenkongruenz"));
    Label4->setBuddy(Track1);
    Lkon = new QLabel(QStringLiteral("egal"), column);
    Lkon->setObjectName(QStringLiteral("Lkon"));
    Lkon->setFont(bold);
    Lkon->setMinimumWidth(34);
    Lkon->setAlignment(Qt::AlignCenter);
    // The slider sits under its label, the value beside the slider.
    layout->addWidget(Label4);
    congruenceRow->addWidget(Track1, 1);
    congruenceRow->addWidget(Lkon);
    layout->addLayout(congruenceRow);

    auto* runRow = new QHBoxLayout();
    runRow->setSpacing(6);
    bsSkinSpeedButton2 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton2"), QStringLiteral("Reihen bilden"),
                          ProgramIcon(QStringLiteral("generate")), column);
    bsSkinSpeedButton2->setFixedHeight(36);
    bsSkinSpeedButton2->setMinimumWidth(150);
    QFont runFont = bsSkinSpeedButton2->font();
    runFont.setBold(true);
    runFont.setPixelSize(13);
    bsSkinSpeedButton2->setFont(runFont);
    BStop = MakeIconButton(QStringLiteral("BStop"), ProgramIcon(QStringLiteral("stop")),
                           QStringLiteral("Stopp: Reihenbildung anhalten"), column, 36);
    BStop->setEnabled(false);
    runRow->addWidget(bsSkinSpeedButton2);
    runRow->addWidget(BStop);
    runRow->addStretch(1);
    layout->addLayout(runRow);

    LFortschritt = new QLabel(column);
    LFortschritt->setObjectName(QStringLiteral("LFortschritt"));
    LFortschritt->setStyleSheet(QStringLiteral("color: #4a5563;"));
    LFortschritt->setWordWrap(true);
    QFont small = LFortschritt->font();
    small.setPixelSize(11);
    LFortschritt->setFont(small);
    LObergrenze = new QLabel(column);
    LObergrenze->setObjectName(QStringLiteral("LObergrenze"));
    LObergrenze->setWordWrap(true);
    LObergrenze->setFont(small);
    LObergrenze->setStyleSheet(QStringLiteral(
        "color: #7a4b00; background: #fff4d6; border: 1px solid #e8c36a; border-radius: 3px; "
        "padding: 2px 4px;"));
    LObergrenze->hide();
    layout->addWidget(LFortschritt);
    layout->addWidget(LObergrenze);

    g1 = new RowTableView(
        model_, [this](int number) { return board_.status(number); }, column);
    layout->addWidget(g1, 1);

    auto* sortRow = new QHBoxLayout();
    sortRow->setSpacing(6);
    BSort =
        new CaptionButton(QStringLiteral("BSort"), QStringLiteral("Reihen aufstei- gend sortieren"),
                          ProgramIcon(QStringLiteral("sort-rows")), column);
    BUnSort = new CaptionButton(QStringLiteral("BUnSort"),
                                QStringLiteral("Sortieren rück- gängig machen"),
                                ProgramIcon(QStringLiteral("undo")), column);
    for (auto* button : {BSort, BUnSort}) {
        button->setFixedHeight(38);
        button->setEnabled(false);
        sortRow->addWidget(button);
    }
    sortRow->addStretch(1);
    layout->addLayout(sortRow);

    auto* fileRow = new QHBoxLayout();
    fileRow->setSpacing(6);
    bsSkinSpeedButton3 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton3"), QStringLiteral("Reihen öffnen..."),
                          ProgramIcon(QStringLiteral("open")), column);
    bsSkinSpeedButton7 = new CaptionButton(QStringLiteral("bsSkinSpeedButton7"),
                                           QStringLiteral("Reihen speichern..."),
                                           ProgramIcon(QStringLiteral("save")), column);
    bsSkinSpeedButton3->setFixedHeight(32);
    bsSkinSpeedButton7->setFixedHeight(32);
    fileRow->addWidget(bsSkinSpeedButton3);
    fileRow->addWidget(bsSkinSpeedButton7);
    auto* fileBox = new QVBoxLayout();
    fileBox->setSpacing(0);
    Label2 = new QLabel(QStringLiteral("Datei"), column);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont caption = Label2->font();
    caption.setPixelSize(10);
    Label2->setFont(caption);
    Label2->setStyleSheet(QStringLiteral("color: #6b7480;"));
    LDatei2 = new QLabel(column);
    LDatei2->setObjectName(QStringLiteral("LDatei2"));
    LDatei2->setFont(bold);
    LDatei2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileBox->addWidget(Label2);
    fileBox->addWidget(LDatei2);
    fileRow->addLayout(fileBox, 1);
    layout->addLayout(fileRow);
    return column;
}

QWidget* TFMain::buildRightColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("PRechts"));
    column->setFixedWidth(kRightWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    P3 = new DistributionPanel(column);
    layout->addWidget(P3, 0, Qt::AlignHCenter);

    auto* bar = new QHBoxLayout();
    bar->setSpacing(6);
    BSortN = new CaptionButton(QStringLiteral("BSortN"), QStringLiteral("Sortieren nach Nummern"),
                               ProgramIcon(QStringLiteral("sort-number")), column);
    BSortH =
        new CaptionButton(QStringLiteral("BSortH"), QStringLiteral("Sortieren nach Häufigkeit"),
                          ProgramIcon(QStringLiteral("sort-frequency")), column);
    for (auto* button : {BSortN, BSortH}) {
        button->setFixedHeight(38);
        button->setEnabled(false);
        bar->addWidget(button);
    }
    bar->addStretch(1);
    bsSkinSpeedButton15 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton15"), ProgramIcon(QStringLiteral("camera")),
                       QStringLiteral("Abbild der Verteilung"), column, 38);
    bar->addWidget(bsSkinSpeedButton15);
    layout->addLayout(bar);
    layout->addStretch(1);
    return column;
}

void TFMain::connectHandlers() {
    connect(bsSkinSpeedButton1, &QToolButton::clicked, this, &QWidget::close);
    connect(bsSkinSpeedButton16, &QToolButton::clicked, this, &TFMain::SavePosition);
    connect(P4, &BoardPanel::stepRequested, this, &TFMain::StepStatus);
    connect(RG2, &RadioGroup::itemIndexChanged, this, &TFMain::ApplyPoolSize);
    connect(RG1, &RadioGroup::itemIndexChanged, this,
            [this](int item) { board_.setRowSizeItem(item); });
    connect(Track1, &QSlider::valueChanged, this, &TFMain::updateCongruenceLabel);
    connect(bsSkinSpeedButton2, &QToolButton::clicked, this, &TFMain::GenerateRows);
    connect(BStop, &QToolButton::clicked, this, &TFMain::RequestStop);
    connect(BSort, &QToolButton::clicked, this, &TFMain::SortRows);
    connect(BUnSort, &QToolButton::clicked, this, &TFMain::UndoSort);
    connect(BSortH, &QToolButton::clicked, this, &TFMain::SortByFrequency);
    connect(BSortN, &QToolButton::clicked, this, &TFMain::SortByNumber);
    connect(bsSkinSpeedButton3, &QToolButton::clicked, this, &TFMain::LoadRowFile);
    connect(bsSkinSpeedButton7, &QToolButton::clicked, this, &TFMain::SaveRowFile);
    connect(bsSkinSpeedButton9, &QToolButton::clicked, this, &TFMain::OpenSelection);
    connect(bsSkinSpeedButton10, &QToolButton::clicked, this, &TFMain::SaveSelection);
    connect(BDel, &QToolButton::clicked, this, &TFMain::ResetStatuses);
    for (QToolButton* button : {BQuick1, BQuick2, BQuick3}) {
        connect(button, &QToolButton::clicked, this,
                [this, button] { QuickSlotOpen(button->property("tag").toInt()); });
    }
    for (QToolButton* button : {bsSkinSpeedButton6, bsSkinSpeedButton5, bsSkinSpeedButton4}) {
        connect(button, &QToolButton::clicked, this,
                [this, button] { QuickSlotSave(button->property("tag").toInt()); });
    }
    connect(BFoto, &QToolButton::clicked, this, &TFMain::CaptureBoard);
    connect(bsSkinSpeedButton15, &QToolButton::clicked, this, &TFMain::CaptureDistribution);
    connect(BBreit, &QToolButton::clicked, this, &TFMain::SetWideWidth);
    connect(Bnormal, &QToolButton::clicked, this, &TFMain::SetNormalWidth);
}

void TFMain::applySettings() {
    guarded([this] {
        const bool exists = ini_->exists();
        const MainSettings settings = exists ? ReadMainSettings(*ini_) : DefaultMainSettings();
        resize(std::min(settings.clientWidth, kMaxWidth),
               std::min(settings.clientHeight, kMaxHeight));
        RG1->setItemIndex(settings.rowSizeItem);
        RG2->setItemIndex(settings.poolItem);
        if (exists) {
            leur->setText(Q(settings.donation));
            eAnz->setText(Q(settings.rowCount));
            Track1->setValue(settings.congruence);
        }
        move(settings.left, settings.top);
        // A position saved on a screen that is gone would hide the window from its user.
        if (QGuiApplication::screenAt(QPoint(settings.left + 40, settings.top + 10)) == nullptr) {
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                move(screen->availableGeometry().topLeft());
            }
        }
    });
    board_.setRowSizeItem(RG1->itemIndex());
}

// --- Number board -------------------------------------------------------------------------------

void TFMain::repaintTable() {
    g1->viewport()->update();
}

void TFMain::StepStatus(int number, MouseStep step) {
    const NumberStatus status = board_.stepStatus(number, step);
    P4->showStatus(number, status);
    repaintTable();
}

void TFMain::SetStatus(int number, NumberStatus status) {
    board_.setStatus(number, status);
    P4->showStatus(number, board_.status(number));
    repaintTable();
}

void TFMain::ResetStatuses() {
    board_.resetStatuses();
    P4->showStatuses(board_.statuses());
    repaintTable();
}

void TFMain::ApplyPoolSize(int item) {
    board_.setPoolItem(item);
    const BoardGeometry geometry = LayoutForPoolItem(board_.poolItem());
    P4->applyGeometry(geometry);
    P3->applyGeometry(geometry);
    BSortN->setEnabled(false);
    boardLaidOut_ = true;
}

// --- Generator ----------------------------------------------------------------------------------

void TFMain::updateCongruenceLabel(int value) {
    Lkon->setText(value >= kCongruenceMax ? QStringLiteral("egal") : QString::number(value));
}

void TFMain::setRunControls(bool running) {
    bsSkinSpeedButton2->setEnabled(!running);
    BStop->setEnabled(running);
    // Sorting or replacing the table under a running generator would mix up its rows.
    BSort->setEnabled(false);
    BUnSort->setEnabled(false);
    bsSkinSpeedButton3->setEnabled(!running);
    bsSkinSpeedButton7->setEnabled(!running);
}

void TFMain::GenerateRows() {
    if (running_) {
        return;
    }
    guarded([this] {
        const std::string countText = eAnz->text().toStdString();
        int requested = 0;
        const bool parsed = TryStrToInt(countText, requested);
        RunSettings settings;
        settings.requestedRows = requested;
        settings.poolSize = board_.poolSize();
        settings.rowSize = board_.rowSize();
        settings.congruenceLimit = Track1->value();
        settings.pairRule = static_cast<PairRule>(std::max(RGPaar->itemIndex(), 0));
        const Drum drum = BuildDrum(board_.statuses(), settings.poolSize);
        if (parsed) {
            if (const auto refusal = RunRefusal(settings, drum)) {
                context_.dialogs->information(*refusal);
                return;
            }
        }

        if (P3->frequencyOrder()) {
            SortByNumber();
        }
        if (!parsed) {
            StrToInt(countText);  // raises the runtime's message for this text
        }

        const std::uint64_t ceiling =
            RunCeiling(drum.distinctNumbers + drum.bankerCount, settings.rowSize, drum.bankerCount,
                       CongruenceSwitchOn(settings.rowSize, settings.congruenceLimit)
                           ? settings.congruenceLimit
                           : settings.rowSize);
        if (ceiling < static_cast<std::uint64_t>(settings.requestedRows)) {
            LObergrenze->setText(
                ceiling == 1
                    ? QStringLiteral("Hinweis: Mit diesen Einstellungen ist höchstens 1 Reihe "
                                     "möglich; der Lauf endet erst mit Stopp.")
                    : QStringLiteral("Hinweis: Mit diesen Einstellungen sind höchstens %1 Reihen "
                                     "möglich; der Lauf endet erst mit Stopp.")
                          .arg(Grouped(ceiling)));
            LObergrenze->show();
        } else {
            LObergrenze->hide();
        }

        sortKeySize_ = settings.rowSize;
        counts_.fill(0);
        P3->refresh(counts_, board_.statuses(), settings.poolSize);

        running_ = true;
        stopRequested_ = false;
        setRunControls(true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        pumpClock_.start();
        lastPump_ = -kPumpIntervalMs;
        lastProgress_ = 0;
        yieldCalls_ = 0;
        LFortschritt->setText(
            QStringLiteral("Reihe 0 von %1").arg(Grouped(settings.requestedRows)));

        RowGenerator generator(random_,
                               [this](std::string_view text) { return measureText(text); });
        RunOutcome outcome;
        try {
            outcome =
                generator.run(settings, drum, table_, counts_,
                              [this](const RunProgress& progress) { return runYield(progress); });
        } catch (...) {
            FinishRun();
            throw;
        }
        FinishRun();
        P3->refresh(counts_, board_.statuses(), settings.poolSize);
        LFortschritt->setText(QStringLiteral("%1 von %2 Reihen gebildet, %3 Kandidaten geprüft.")
                                  .arg(Grouped(static_cast<std::uint64_t>(outcome.acceptedRows)),
                                       Grouped(static_cast<std::uint64_t>(settings.requestedRows)),
                                       Grouped(outcome.candidates)));
    });
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

bool TFMain::runYield(const RunProgress& progress) {
    // Reading the clock on every draw would cost more than the draw; every 64th call is enough.
    if ((++yieldCalls_ & 63U) != 0 && progress.candidates != 0) {
        return stopRequested_;
    }
    const qint64 now = pumpClock_.elapsed();
    if (now - lastPump_ >= kPumpIntervalMs) {
        lastPump_ = now;
        if (now - lastProgress_ >= kProgressIntervalMs) {
            lastProgress_ = now;
            showProgress(progress);
            model_->sync();
        }
        QApplication::processEvents();
    }
    return stopRequested_;
}

void TFMain::showProgress(const RunProgress& progress) {
    QString text = QStringLiteral("Reihe %1 von %2, %3 Kandidaten geprüft")
                       .arg(Grouped(static_cast<std::uint64_t>(progress.acceptedRows)),
                            Grouped(static_cast<std::uint64_t>(progress.requestedRows)),
                            Grouped(progress.candidates));
    if (progress.candidatesSinceAccept >= kStallCandidates) {
        text += QStringLiteral(
                    " – seit %1 Kandidaten keine neue Reihe. Vermutlich sind keine "
                    "weiteren Reihen möglich: mit Stopp beenden.")
                    .arg(Grouped(progress.candidatesSinceAccept));
    }
    LFortschritt->setText(text);
}

void TFMain::FinishRun() {
    running_ = false;
    stopRequested_ = false;
    BStop->setEnabled(false);
    QApplication::restoreOverrideCursor();
    model_->sync();
    setRunControls(false);
    BSortH->setEnabled(true);
    BSort->setEnabled(true);
    BUnSort->setEnabled(false);
}

void TFMain::RequestStop() {
    if (!running_) {
        return;
    }
    stopRequested_ = true;
    BStop->setEnabled(false);
    Timer1->start();
    LHinweis->show();
    QApplication::processEvents();
}

// --- Sorting ------------------------------------------------------------------------------------

void TFMain::SortRows() {
    if (running_) {
        return;
    }
    guarded([this] {
        struct Sync {
            StringGridModel* model;
            ~Sync() { model->sync(); }
        } sync{model_};
        SortRowTable(table_, sortKeySize_, gpuf2_, *sortLocale_);
        BSort->setEnabled(false);
        BUnSort->setEnabled(true);
    });
}

void TFMain::UndoSort() {
    if (running_) {
        return;
    }
    guarded([this] {
        UndoRowTableSort(table_, gpuf2_);
        model_->sync();
        BSort->setEnabled(true);
        BUnSort->setEnabled(false);
    });
}

// --- Distribution -------------------------------------------------------------------------------

void TFMain::SortByFrequency() {
    P3->sortByFrequency(counts_);
    BSortH->setEnabled(false);
    BSortN->setEnabled(true);
}

void TFMain::SortByNumber() {
    P3->sortByNumber();
    BSortH->setEnabled(true);
    BSortN->setEnabled(false);
}

// --- Row files ----------------------------------------------------------------------------------

namespace {
FileDialogRequest RowFileDialog(const std::string& title, const std::string& folder) {
    FileDialogRequest request;
    request.title = title;
    request.filterName = "Reihen-Datei";
    request.filterPattern = "*.lrei";
    request.defaultExtension = "lrei";
    request.folder = folder;
    return request;
}

FileDialogRequest SelectionDialog(const std::string& title, const std::string& folder) {
    FileDialogRequest request;
    request.title = title;
    request.filterName = "Auswahl-Datei";
    request.filterPattern = "*.whl";
    request.defaultExtension = "whl";
    request.folder = folder;
    return request;
}
}  // namespace

void TFMain::SaveRowFile() {
    if (running_) {
        return;
    }
    guarded([this] {
        const auto path = context_.dialogs->saveFile(
            RowFileDialog("Reihen-Datei speichern", context_.folders.rows));
        if (!path) {
            return;
        }
        const FileResult result = context_.files->writeAtomic(*path, EncodeRowFile(table_));
        if (!result.ok) {
            throw Error(messages::CannotCreate(*path, result.systemText));
        }
        LDatei2->setText(Q(FileNameOf(*path)));
    });
}

void TFMain::LoadRowFile() {
    if (running_) {
        return;
    }
    guarded([this] {
        const auto path =
            context_.dialogs->openFile(RowFileDialog("Reihen-Datei öffnen", context_.folders.rows));
        if (!path) {
            return;
        }
        std::string bytes;
        const FileResult result = context_.files->readAll(*path, bytes);
        if (!result.ok) {
            throw Error(messages::CannotOpen(*path, result.systemText));
        }
        DecodeRowFile(bytes, table_);
        model_->sync();
        LDatei2->setText(Q(FileNameOf(*path)));
    });
}

// --- Selections ---------------------------------------------------------------------------------

void TFMain::applyRowSizeItem(int item) {
    RG1->setItemIndex(item);
    board_.setRowSizeItem(RG1->itemIndex());
}

void TFMain::applyPoolItem(int item) {
    RG2->setItemIndex(item);
}

int TFMain::poolSize() const {
    return board_.poolSize();
}

void TFMain::applyStatus(int number, NumberStatus status) {
    SetStatus(number, status);
}

void TFMain::QuickSave(const std::string& path) {
    const FileResult result = context_.files->writeAtomic(path, EncodeSelection(board_));
    if (!result.ok) {
        throw Error(messages::CannotCreate(path, result.systemText));
    }
    RefreshQuickButtons();
}

void TFMain::QuickOpen(const std::string& path) {
    std::string bytes;
    const FileResult result = context_.files->readAll(path, bytes);
    if (!result.ok) {
        ResetStatuses();
        throw Error(messages::CannotOpen(path, result.systemText));
    }
    const std::vector<std::string> lines = ReadTextLines(bytes);
    // Values the board cannot hold are refused before anything changes.
    if (const auto problem = SelectionRangeProblem(lines)) {
        context_.dialogs->warning(*problem);
        return;
    }
    ResetStatuses();
    ApplySelection(lines, *this);
}

void TFMain::RefreshQuickButtons() {
    QToolButton* buttons[] = {BQuick1, BQuick2, BQuick3};
    for (int slot = 1; slot <= 3; ++slot) {
        buttons[slot - 1]->setEnabled(
            context_.files->exists(context_.folders.settings + QuickSlotFileName(slot)));
    }
}

void TFMain::OpenSelection() {
    guarded([this] {
        const auto path =
            context_.dialogs->openFile(SelectionDialog("Auswahl öffnen", context_.folders.base));
        if (path) {
            QuickOpen(*path);
        }
    });
}

void TFMain::SaveSelection() {
    guarded([this] {
        const auto path =
            context_.dialogs->saveFile(SelectionDialog("Auswahl speichern", context_.folders.base));
        if (path) {
            QuickSave(*path);
        }
    });
}

void TFMain::QuickSlotOpen(int slot) {
    guarded([this, slot] { QuickOpen(context_.folders.settings + QuickSlotFileName(slot)); });
}

void TFMain::QuickSlotSave(int slot) {
    guarded([this, slot] { QuickSave(context_.folders.settings + QuickSlotFileName(slot)); });
}

// --- Pictures -----------------------------------------------------------------------------------

void TFMain::CaptureBoard() {
    guarded([this] {
        // The board is pictured 10 pixels taller, so the stamp has a free strip below the buttons.
        CaptureImage(context_, imageSession_, P4, QStringLiteral("Manipulation"), 0, 0, 14, 10,
                     this);
    });
}

void TFMain::CaptureDistribution() {
    guarded([this] {
        CaptureImage(context_, imageSession_, P3, QStringLiteral("Verteilung"), 0, 0, 14, 0, this);
    });
}

// --- Window -------------------------------------------------------------------------------------

void TFMain::SetWideWidth() {
    resize(kWideWidth, height());
}

void TFMain::SetNormalWidth() {
    resize(kNormalWidth, height());
}

void TFMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const bool narrow = width() < kWideWidth;
    BBreit->setVisible(narrow);
    Bnormal->setVisible(!narrow);
}

void TFMain::SavePosition() {
    guarded([this] { losfix::SavePosition(*ini_, "FMain", x(), y()); });
}

void TFMain::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The run ends as after a stop; the window closes when it has.
        stopRequested_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    MainSettings settings;
    settings.clientWidth = width();
    settings.clientHeight = height();
    settings.rowSizeItem = RG1->itemIndex();
    settings.poolItem = RG2->itemIndex();
    settings.congruence = Track1->value();
    settings.rowCount = eAnz->text().toStdString();
    settings.donation = leur->text().toStdString();
    const bool written = Guarded(*context_.dialogs, [&] { WriteMainSettings(*ini_, settings); });
    if (!written) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace losfix
