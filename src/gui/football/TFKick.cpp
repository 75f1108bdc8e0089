#include "gui/football/TFKick.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/FootballSettings.h"
#include "core/app/Program.h"
#include "core/eval/FootballEvaluation.h"
#include "core/football/FootballLayout.h"
#include "core/football/TipFiles.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/OuterSizeLimit.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"
#include "gui/eval/TFKickAuswertung.h"
#include "gui/football/MatchBoardPanel.h"
#include "gui/football/TableMeasure.h"
#include "gui/football/TipRunPanel.h"
#include "gui/football/TipTablePanel.h"

namespace losfix {

namespace {

constexpr int kTopBarHeight = kFootballClientHeight - 494;  // PFoto is 645 x 494
constexpr int kMargin = 4;

// A stored position may be anything a hand-edited file holds; the window's title bar must come
// to lie on a screen, or its user could not reach it.
QPoint OnScreen(int left, int top, QSize size) {
    constexpr int kLimit = 1 << 20;
    const QPoint position(std::clamp(left, -kLimit, kLimit), std::clamp(top, -kLimit, kLimit));
    const QPoint grip = position + QPoint(std::min(size.width() / 2, 60), 10);
    if (QGuiApplication::screenAt(grip) != nullptr) {
        return position;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().topLeft() : QPoint(0, 0);
}

}  // namespace

TFKick::TFKick(AppContext& context, ImageSession& images, QWidget* owner)
    : QWidget(owner, Qt::Window),
      context_(context),
      images_(images),
      ini_(std::make_unique<IniFile>(*context.files, context.folders.settingsFile())),
      random_(context.seedSource ? context.seedSource : Random::SeedSource(ClockSeed)),
      measure_(TableTextMeasure()),
      state_(std::make_unique<FootballState>(measure_)) {
    setObjectName(QStringLiteral("FKick"));
    setWindowTitle(QString::fromStdString(WindowCaption()));
    setWindowIcon(ProgramIcon(QStringLiteral("football")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);

    PFoto = new QWidget(this);
    PFoto->setObjectName(QStringLiteral("PFoto"));
    SetPanelBackground(PFoto);
    board_ = new MatchBoardPanel(context_, *state_, PFoto);
    run_ = new TipRunPanel(context_, *state_, random_, measure_, PFoto);
    tips_ = new TipTablePanel(context_, *state_, PFoto);
    auto* right = new QVBoxLayout();
    right->setSpacing(4);
    right->addWidget(run_);
    right->addWidget(tips_, 1);
    auto* columns = new QHBoxLayout(PFoto);
    columns->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    columns->setSpacing(6);
    columns->addWidget(board_, 0, Qt::AlignTop);
    columns->addLayout(right, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildTopBar());
    root->addWidget(PFoto, 1);

    Dialogs& dialogs = *context_.dialogs;
    connect(board_, &MatchBoardPanel::statusesChanged, tips_, &TipTablePanel::repaintMatrix);
    connect(run_, &TipRunPanel::runStarted, this, [this] {
        tips_->setRunning(true);
        if (evaluation_ != nullptr) {
            evaluation_->runStarted();
        }
    });
    connect(board_, &MatchBoardPanel::statusesChanged, this, [this] {
        if (evaluation_ != nullptr) {
            evaluation_->statusesChanged();
        }
    });
    ConnectGuarded(run_, &TipRunPanel::evaluationRequested, this, dialogs,
                   [this] { OpenEvaluation(); });
    connect(run_, &TipRunPanel::runEnded, this, [this] {
        tips_->syncGrids();
        tips_->setRunning(false);
        if (evaluation_ != nullptr) {
            Guarded(*context_.dialogs, [this] { evaluation_->tableChanged(); });
        }
        if (closeAfterRun_) {
            closeAfterRun_ = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    });
    ConnectGuarded(run_, &TipRunPanel::imageRequested, this, dialogs, [this] { CaptureTip(); });
    connect(BClose, &QToolButton::clicked, this, &QWidget::close);
    ConnectGuarded(bsSkinSpeedButton16, &QToolButton::clicked, this, dialogs,
                   [this] { SavePosition(); });

    setMinimumSize(kFootballClientWidth, kFootballClientHeight);
    new OuterSizeLimit(this, QSize(kFootballMaxWidth, kFootballMaxHeight));
    resize(kFootballClientWidth, kFootballClientHeight);
    applySettings();
}

TFKick::~TFKick() {
    // The panels read the state; they go before it does. Nothing is written here: the settings
    // are written only when the user closes the window.
    delete PFoto;
}

QWidget* TFKick::buildTopBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PTop"));
    bar->setFixedHeight(kTopBarHeight);
    bar->setStyleSheet(QStringLiteral(
        "#PTop { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, "
        "stop:1 #dfe6ef); border-bottom: 1px solid #b9c3cf; }"));
    BClose = new QToolButton(bar);
    BClose->setObjectName(QStringLiteral("BClose"));
    BClose->setText(QStringLiteral("Sch&ließen"));
    BClose->setIcon(ProgramIcon(QStringLiteral("close")));
    BClose->setIconSize(QSize(20, 20));
    BClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BClose->setFixedHeight(32);
    BClose->setCursor(Qt::PointingHandCursor);
    bsSkinLabel1 = new QLabel(QStringLiteral("Fußball ist auch Losfix"), bar);
    bsSkinLabel1->setObjectName(QStringLiteral("bsSkinLabel1"));
    bsSkinLabel1->setAlignment(Qt::AlignCenter);
    bsSkinLabel1->setFont(CalibriPixelFont(20, true));
    bsSkinLabel1->setStyleSheet(QStringLiteral("color: #004080;"));
    bsSkinSpeedButton16 = MakeIconButton(QStringLiteral("bsSkinSpeedButton16"),
                                         ProgramIcon(QStringLiteral("position")),
                                         QStringLiteral("Fensterposition speichern"), bar, 32);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(kMargin, 3, 8, 3);
    layout->setSpacing(8);
    layout->addWidget(BClose);
    layout->addWidget(bsSkinLabel1, 1);
    layout->addWidget(bsSkinSpeedButton16);
    return bar;
}

void TFKick::applySettings() {
    Guarded(*context_.dialogs, [this] {
        const FootballSettings settings = LoadFootballSettings(*ini_);
        run_->setRowCountText(QString::fromStdString(settings.rowCount));
        move(OnScreen(settings.left, settings.top, size()));
    });
}

void TFKick::showAndRaise() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void TFKick::OpenQuickTipFile(const std::string& path) {
    showAndRaise();
    board_->LoadQuickTips(path);
}

bool TFKick::running() const {
    return run_->running();
}

void TFKick::endRun() {
    run_->EndRun();
}

void TFKick::SavePosition() {
    SaveFootballPosition(*ini_, x(), y());
}

void TFKick::CaptureTip() {
    CaptureImage(context_, images_, PFoto, QString::fromStdString(TipImageTitle(state_->fileLabel)),
                 0, kTipImageWatermarkRight, kTipImageWatermarkBottom, 0, this);
}

void TFKick::OpenEvaluation() {
    if (evaluation_ == nullptr) {
        const auto rows = ReadTipRows(state_->table);
        if (const auto* problem = std::get_if<std::string>(&rows)) {
            context_.dialogs->warning(*problem);
            return;
        }
    }
    evaluation_ = ShowFootballEvaluation(context_, *state_, this);
}

void TFKick::closeEvent(QCloseEvent* event) {
    if (run_->running()) {
        // The run ends as after a stop; the window closes when it has.
        run_->RequestStop();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    const bool written = Guarded(*context_.dialogs, [this] {
        WriteFootballSettingsOnClose(*ini_, run_->rowCountText().toStdString());
    });
    if (!written) {
        event->ignore();
        return;
    }
    event->accept();  // hides: the window and everything in it stay
}

}  // namespace losfix
