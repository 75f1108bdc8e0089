#include "gui/lottery/GeneratorPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/common/Error.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/ScopeExit.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

const QString kStopNotice = QStringLiteral("Prozess gestoppt");
// Candidates without a new row after which the progress line suggests stopping.
constexpr std::uint64_t kStallCandidates = 200000;

QString Grouped(std::uint64_t value) {
    return QLocale(QLocale::German, QLocale::Germany).toString(static_cast<qulonglong>(value));
}

QString Grouped(int value) {
    return Grouped(static_cast<std::uint64_t>(value));
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

GeneratorPanel::GeneratorPanel(AppContext& context, LotteryState& state, Random& random,
                               TextMeasure measure, QWidget* parent)
    : QWidget(parent),
      context_(context),
      state_(state),
      random_(random),
      measure_(std::move(measure)) {
    setObjectName(QStringLiteral("PGenerator"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    auto* countRow = new QHBoxLayout();
    countRow->setSpacing(6);
    Label1 = new QLabel(QStringLiteral("Gewünschte Reihenanzahl:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    eAnz = new QLineEdit(QStringLiteral("120"), this);
    eAnz->setObjectName(QStringLiteral("eAnz"));
    eAnz->setMaxLength(5);
    eAnz->setFixedWidth(58);
    eAnz->setAlignment(Qt::AlignRight);
    // Digits only; typing anything else does nothing.
    eAnz->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eAnz));
    Label1->setBuddy(eAnz);
    // The stop notice sits beside the stop button in a place of its own, so showing it never
    // widens the window.
    LHinweis = new ElidedLabel(QStringLiteral("LHinweis"), 1, this);
    LHinweis->setText(kStopNotice);
    LHinweis->setAccessibleRole(QAccessible::StatusBar);
    LHinweis->setFont(bold);
    SetTextColour(LHinweis, QColor(0xD0, 0x00, 0x00));
    LHinweis->hide();
    BBreit = MakeIconButton(QStringLiteral("BBreit"), ProgramIcon(QStringLiteral("wide")),
                            QStringLiteral("Fenster verbreitern"), this, 28);
    Bnormal = MakeIconButton(QStringLiteral("Bnormal"), ProgramIcon(QStringLiteral("normal")),
                             QStringLiteral("Normale Fensterbreite"), this, 28);
    Bnormal->hide();
    countRow->addWidget(Label1);
    countRow->addWidget(eAnz);
    countRow->addStretch(1);
    countRow->addWidget(BBreit);
    countRow->addWidget(Bnormal);
    layout->addLayout(countRow);

    RGPaar =
        new RadioGroup(QStringLiteral("RGPaar"), QStringLiteral("Zwei benachbarte Zahlen sichern"),
                       {QStringLiteral("keine Kontrolle"), QStringLiteral("in jeder Reihe"),
                        QStringLiteral("in jeder zweiten"), QStringLiteral("in jeder dritten"),
                        QStringLiteral("in jeder vierten"), QStringLiteral("nein, ausschließen")},
                       2, this);
    RGPaar->setItemIndex(0);
    layout->addWidget(RGPaar);

    auto* congruenceRow = new QHBoxLayout();
    congruenceRow->setSpacing(6);
    Label4 = new QLabel(QStringLiteral("Max. Reihenkongruenz "), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(bold);
    Track1 = new QSlider(Qt::Horizontal, this);
    Track1->setObjectName(QStringLiteral("Track1"));
    Track1->setRange(1, kCongruenceMax);
    Track1->setSingleStep(1);
    Track1->setPageStep(1);
    Track1->setTickPosition(QSlider::TicksBelow);
    Track1->setTickInterval(1);
    Track1->setValue(2);
    Track1->setAccessibleName(QStringLiteral("Max. Reihenkongruenz"));
    Label4->setBuddy(Track1);
    Lkon = new QLabel(QStringLiteral("egal"), this);
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
                          ProgramIcon(QStringLiteral("generate")), this);
    bsSkinSpeedButton2->setFixedHeight(36);
    bsSkinSpeedButton2->setMinimumWidth(150);
    QFont runFont = bsSkinSpeedButton2->font();
    runFont.setBold(true);
    runFont.setPixelSize(13);
    bsSkinSpeedButton2->setFont(runFont);
    BStop = MakeIconButton(QStringLiteral("BStop"), ProgramIcon(QStringLiteral("stop")),
                           QStringLiteral("Stopp: Reihenbildung anhalten"), this, 36);
    BStop->setEnabled(false);
    runRow->addWidget(bsSkinSpeedButton2);
    runRow->addWidget(BStop);
    runRow->addWidget(LHinweis, 1);
    layout->addLayout(runRow);

    // Progress (one line) and hint (two) keep their height whatever they say: nothing below them
    // moves.
    LFortschritt = new ElidedLabel(QStringLiteral("LFortschritt"), 1, this);
    QFont small = LFortschritt->font();
    small.setPixelSize(11);
    LFortschritt->setFont(small);
    SetTextColour(LFortschritt, QColor(0x4A, 0x55, 0x63));
    LFortschritt->setAccessibleRole(QAccessible::StatusBar);
    LObergrenze = new ElidedLabel(QStringLiteral("LObergrenze"), 2, this);
    LObergrenze->setFont(small);
    LObergrenze->setContentsMargins(4, 1, 4, 1);
    SetTextColour(LObergrenze, QColor(0x7A, 0x4B, 0x00));
    LObergrenze->setStyleSheet(
        QStringLiteral("#LObergrenze[filled=\"true\"] { background: #fff4d6; border: 1px solid "
                       "#e8c36a; border-radius: 3px; }"));
    layout->addWidget(LFortschritt);
    layout->addWidget(LObergrenze);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        LHinweis->hide();
        Timer1->stop();
    });
    Timer1->start();

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(Track1, &QSlider::valueChanged, this, dialogs, [this](int value) {
        updateCongruenceLabel(value);
        updateHint();
    });
    ConnectGuarded(eAnz, &QLineEdit::textChanged, this, dialogs, [this] { updateHint(); });
    // A run may take long: the press returns first (a screen reader waits for it).
    ConnectGuarded(
        bsSkinSpeedButton2, &QToolButton::clicked, this, dialogs, [this] { GenerateRows(); },
        Qt::QueuedConnection);
    ConnectGuarded(BStop, &QToolButton::clicked, this, dialogs, [this] { RequestStop(); });
    connect(BBreit, &QToolButton::clicked, this, &GeneratorPanel::wideRequested);
    connect(Bnormal, &QToolButton::clicked, this, &GeneratorPanel::normalRequested);
    updateCongruenceLabel(Track1->value());
}

QString GeneratorPanel::rowCountText() const {
    return eAnz->text();
}

void GeneratorPanel::setRowCountText(const QString& text) {
    eAnz->setText(text);
}

int GeneratorPanel::congruence() const {
    return Track1->value();
}

void GeneratorPanel::setCongruence(int value) {
    Track1->setValue(value);
    updateCongruenceLabel(Track1->value());
}

void GeneratorPanel::setWide(bool wide) {
    BBreit->setVisible(!wide);
    Bnormal->setVisible(wide);
}

void GeneratorPanel::updateCongruenceLabel(int value) {
    Lkon->setText(value >= kCongruenceMax ? QStringLiteral("egal") : QString::number(value));
}

void GeneratorPanel::setRunControls(bool running) {
    bsSkinSpeedButton2->setEnabled(!running);
    BStop->setEnabled(running);
}

void GeneratorPanel::GenerateRows() {
    if (running()) {
        return;
    }
    const std::string countText = eAnz->text().toStdString();
    int requested = 0;
    const bool parsed = TryStrToInt(countText, requested);
    const RunSettings settings = currentSettings(requested);
    const Drum drum = BuildDrum(state_.board.statuses(), settings.poolSize);
    if (parsed) {
        if (const auto refusal = RunRefusal(settings, drum)) {
            context_.dialogs->information(*refusal);
            return;
        }
    }

    emit runPreparing();
    if (!parsed) {
        StrToInt(countText);  // raises the runtime's message for this text
    }

    state_.sortKeySize = settings.rowSize;
    state_.tableRun = settings;
    state_.counts.fill(0);
    RunOutcome outcome;
    {
        RunPump::Run run(pump_);
        // However the run ends, the controls and the table come back.
        const ScopeExit restore([this] {
            setRunControls(false);
            updateHint();
            emit tableChanged();
            emit runEnded();
        });
        setRunControls(true);
        emit runStarted(settings.poolSize);
        LFortschritt->setText(
            QStringLiteral("Reihe 0 von %1").arg(Grouped(settings.requestedRows)));

        RowGenerator generator(random_, measure_);
        outcome = generator.run(settings, drum, state_.table, state_.counts,
                                [this](const RunProgress& progress) {
                                    return pump_.yield(
                                        [&] {
                                            showProgress(progress);
                                            emit tableChanged();
                                        },
                                        progress.candidates == 0);
                                });
    }
    emit runFinished(settings.poolSize);
    LFortschritt->setText(QStringLiteral("%1 von %2 Reihen gebildet, %3 Kandidaten geprüft.")
                              .arg(Grouped(outcome.acceptedRows), Grouped(settings.requestedRows),
                                   Grouped(outcome.candidates)));
}

RunSettings GeneratorPanel::currentSettings(int requestedRows) const {
    RunSettings settings;
    settings.requestedRows = requestedRows;
    settings.poolSize = state_.board.poolSize();
    settings.rowSize = state_.board.rowSize();
    settings.congruenceLimit = Track1->value();
    settings.pairRule = static_cast<PairRule>(std::max(RGPaar->itemIndex(), 0));
    return settings;
}

void GeneratorPanel::updateHint() {
    showCeiling();
    ceilingShown_ = LObergrenze->filled();
}

void GeneratorPanel::showCeiling() {
    int requested = 0;
    if (!TryStrToInt(eAnz->text().toStdString(), requested) || requested <= 0) {
        LObergrenze->clear();
        return;
    }
    const RunSettings settings = currentSettings(requested);
    const Drum drum = BuildDrum(state_.board.statuses(), settings.poolSize);
    if (RunRefusal(settings, drum)) {
        LObergrenze->clear();
        return;
    }
    const std::uint64_t ceiling = RunCeiling(
        drum.distinctNumbers + drum.bankerCount, settings.rowSize, drum.bankerCount,
        CongruenceSwitchOn(settings.rowSize, settings.congruenceLimit) ? settings.congruenceLimit
                                                                       : settings.rowSize);
    if (ceiling >= static_cast<std::uint64_t>(requested)) {
        LObergrenze->clear();
    } else if (ceiling == 1) {
        LObergrenze->setText(
            QStringLiteral("Hinweis: Mit diesen Einstellungen ist höchstens 1 Reihe möglich; der "
                           "Lauf endet erst mit Stopp."));
    } else {
        LObergrenze->setText(QStringLiteral("Hinweis: Mit diesen Einstellungen sind höchstens %1 "
                                            "Reihen möglich; der Lauf endet erst mit Stopp.")
                                 .arg(Grouped(ceiling)));
    }
}

void GeneratorPanel::clearProgress() {
    LFortschritt->clear();
}

void GeneratorPanel::showProgress(const RunProgress& progress) {
    QString text = QStringLiteral("Reihe %1 von %2, %3 Kandidaten geprüft")
                       .arg(Grouped(progress.acceptedRows), Grouped(progress.requestedRows),
                            Grouped(progress.candidates));
    LFortschritt->setText(text);
    // A run that finds nothing new says so where the hint stands, unless the hint already
    // explains why the run cannot end.
    if (progress.candidatesSinceAccept >= kStallCandidates && !ceilingShown_) {
        LObergrenze->setText(QStringLiteral("Seit %1 Kandidaten keine neue Reihe. Vermutlich sind "
                                            "keine weiteren Reihen möglich: mit Stopp beenden.")
                                 .arg(Grouped(progress.candidatesSinceAccept)));
    }
}

void GeneratorPanel::RequestStop() {
    if (!running()) {
        return;
    }
    pump_.requestStop();
    BStop->setEnabled(false);
    Timer1->start();
    LHinweis->show();
    QApplication::processEvents();
}

}  // namespace losfix
