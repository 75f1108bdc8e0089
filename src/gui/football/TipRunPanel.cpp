#include "gui/football/TipRunPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/common/CaptionButton.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/ScopeExit.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

const QString kStopNotice = QStringLiteral("Prozess gestoppt");
const QString kBoardHelp = QStringLiteral(
    "Ein Klick mit der linken Maustaste auf einen Tipp schaltet ihn von \"out\" über \"Fav I\" "
    "bis \"Fav III\" weiter, die rechte Maustaste zurück. \"Fav II\" kommt doppelt so oft in die "
    "Lostrommel des Spiels wie \"Fav I\", \"Fav III\" dreimal so oft.");
constexpr int kStopNoticeMs = 5000;
constexpr int kBarHeight = 38;
constexpr int kProgressLines = 2;
constexpr int kHintLines = 3;
// Once every different row is found, each further candidate is a duplicate: the run rests this
// long between candidates instead of keeping a core busy, and the window still answers at once.
constexpr unsigned long kIdleRestMs = 4;

}  // namespace

TipRunPanel::TipRunPanel(AppContext& context, FootballState& state, Random& random,
                         TextMeasure measure, QWidget* parent)
    : QWidget(parent),
      context_(context),
      state_(state),
      random_(random),
      measure_(std::move(measure)) {
    setObjectName(QStringLiteral("PLauf"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PBar1"));
    bar->setFixedHeight(kBarHeight);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(5);
    Label1 = new QLabel(QStringLiteral("Gewünschte Reihenanzahl:"), bar);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(TahomaFont(8, true));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setWordWrap(true);
    Label1->setFixedWidth(84);
    eAnz = new QLineEdit(QStringLiteral("120"), bar);
    eAnz->setObjectName(QStringLiteral("eAnz"));
    eAnz->setMaxLength(5);
    eAnz->setFixedSize(52, 26);
    eAnz->setAlignment(Qt::AlignCenter);
    eAnz->setFont(TahomaFont(9, true));
    // Digits only; typing anything else does nothing.
    eAnz->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eAnz));
    Label1->setBuddy(eAnz);
    bsSkinSpeedButton2 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton2"), QStringLiteral("Reihen bilden"),
                          ProgramIcon(QStringLiteral("generate")), bar);
    bsSkinSpeedButton2->setFixedHeight(kBarHeight);
    QFont runFont = bsSkinSpeedButton2->font();
    runFont.setBold(true);
    bsSkinSpeedButton2->setFont(runFont);
    BStop = MakeIconButton(QStringLiteral("BStop"), ProgramIcon(QStringLiteral("stop")),
                           QStringLiteral("Stopp: Reihenbildung anhalten"), bar, kBarHeight);
    BStop->setEnabled(false);
    BAuswerten = new CaptionButton(QStringLiteral("BAuswerten"), QStringLiteral("Aus- werten"),
                                   ProgramIcon(QStringLiteral("evaluate")), bar);
    BAuswerten->setToolTip(
        QStringLiteral("Was die Tippreihen bei einem Ergebnis gewonnen haben "
                       "und was sie gewinnen können"));
    BAuswerten->setFixedHeight(kBarHeight);
    BAuswerten->setEnabled(false);
    bsSkinSpeedButton9 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton9"), QStringLiteral("Abbild des Tipps"),
                          ProgramIcon(QStringLiteral("camera")), bar);
    bsSkinSpeedButton9->setFixedHeight(kBarHeight);
    barLayout->addWidget(Label1);
    barLayout->addWidget(eAnz);
    barLayout->addWidget(bsSkinSpeedButton2);
    barLayout->addWidget(BStop);
    barLayout->addStretch(1);
    barLayout->addWidget(BAuswerten);
    barLayout->addWidget(bsSkinSpeedButton9);
    layout->addWidget(bar);

    QFont small = font();
    small.setPixelSize(11);
    auto* progressRow = new QHBoxLayout();
    progressRow->setSpacing(6);
    LFortschritt = new ElidedLabel(QStringLiteral("LFortschritt"), kProgressLines, this);
    LFortschritt->setFont(small);
    LFortschritt->setStyleSheet(QStringLiteral("color: #4a5563;"));
    LFortschritt->setAccessibleRole(QAccessible::StatusBar);
    LHinweis = new QLabel(kStopNotice, this);
    LHinweis->setObjectName(QStringLiteral("LHinweis"));
    LHinweis->setFont(TahomaFont(9, true));
    LHinweis->setStyleSheet(QStringLiteral("color: #d00000;"));
    LHinweis->hide();
    progressRow->addWidget(LFortschritt, 1);
    progressRow->addWidget(LHinweis);
    layout->addLayout(progressRow);

    LTippHinweis = new ElidedLabel(QStringLiteral("LTippHinweis"), kHintLines, this);
    LTippHinweis->setFont(small);
    LTippHinweis->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(LTippHinweis);
    showHint(QString());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kStopNoticeMs);
    connect(Timer1, &QTimer::timeout, this, [this] {
        LHinweis->hide();
        Timer1->stop();
    });

    Dialogs& dialogs = *context_.dialogs;
    // Queued: the press returns at once and the run starts from the event loop.
    ConnectGuarded(
        bsSkinSpeedButton2, &QToolButton::clicked, this, dialogs, [this] { GenerateTipRows(); },
        Qt::QueuedConnection);
    ConnectGuarded(BStop, &QToolButton::clicked, this, dialogs, [this] { RequestStop(); });
    connect(bsSkinSpeedButton9, &QToolButton::clicked, this, &TipRunPanel::imageRequested);
    // Reading many tip rows takes a moment: the press returns first.
    connect(
        BAuswerten, &QToolButton::clicked, this,
        [this] {
            if (BAuswerten->isEnabled()) {
                emit evaluationRequested();
            }
        },
        Qt::QueuedConnection);
}

QString TipRunPanel::rowCountText() const {
    return eAnz->text();
}

void TipRunPanel::setRowCountText(const QString& text) {
    eAnz->setText(text);
}

void TipRunPanel::setRunControls(bool running) {
    bsSkinSpeedButton2->setEnabled(!running);
    BStop->setEnabled(running);
    // Only a run writes tip rows: after it the table holds what may be evaluated.
    bool rows = false;
    for (int r = 1; r < state_.table.rowCount() && !rows && !running; ++r) {
        rows = !state_.table.cell(1, r).empty();
    }
    BAuswerten->setEnabled(rows);
}

void TipRunPanel::EndRun() {
    if (running()) {
        quietStop_ = true;
        pump_.requestStop();
    }
}

void TipRunPanel::GenerateTipRows() {
    if (running()) {
        return;
    }
    const TipRunPlan plan = PlanTipRun(state_.board.statuses(), eAnz->text().toStdString());
    if (plan.refusal) {
        context_.dialogs->information(*plan.refusal);
        return;
    }
    eAnz->setText(QString::fromStdString(plan.countText));
    showHint(plan.hint ? QString::fromStdString(*plan.hint) : QString());
    Timer1->stop();
    LHinweis->hide();
    quietStop_ = false;

    TipRunOutcome outcome;
    {
        RunPump::Run run(pump_);
        // However the run ends, the controls and the grids come back.
        const ScopeExit restore([this] {
            setRunControls(false);
            emit runEnded();
        });
        setRunControls(true);
        emit runStarted();
        TipRunProgress start;
        start.requestedRows = plan.requested;
        start.combinations = plan.combinations;
        showProgress(start);
        TipGenerator generator(random_, measure_);
        outcome = generator.run(
            plan.drums, plan.requested, state_.table, state_.matrix, state_.counts,
            [this](const TipRunProgress& progress) { return yieldToWindow(progress); });
    }
    LFortschritt->setText(QString::fromStdString(TipRunSummary(outcome, plan.requested)));
    if (outcome.stopped && !quietStop_) {
        LHinweis->show();
        Timer1->start();
    }
}

bool TipRunPanel::yieldToWindow(const TipRunProgress& progress) {
    const auto show = [&] { showProgress(progress); };
    if (progress.allRowsFound()) {
        QThread::msleep(kIdleRestMs);
        return pump_.yield(show, true);
    }
    return pump_.yield(show, progress.candidates == 0);
}

void TipRunPanel::showHint(const QString& hint) {
    // Without a hint the place explains the board; the frame is always there, so the height
    // stays the same.
    LTippHinweis->setText(hint.isEmpty() ? kBoardHelp : hint);
    LTippHinweis->setStyleSheet(
        hint.isEmpty()
            ? QStringLiteral("color: #0080C0; border: 1px solid transparent;")
            : QStringLiteral("color: #7a4b00; background: #fff4d6; border: 1px solid #e8c36a;"));
}

void TipRunPanel::showProgress(const TipRunProgress& progress) {
    LFortschritt->setText(QString::fromStdString(TipProgressText(progress)));
}

}  // namespace losfix
