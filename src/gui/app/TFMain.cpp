#include "gui/app/TFMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "core/app/Program.h"
#include "core/app/Settings.h"
#include "core/eval/LottoEvaluation.h"
#include "core/lottery/RowTable.h"
#include "gui/app/HeaderBar.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/OuterSizeLimit.h"
#include "gui/common/StringGridModel.h"
#include "gui/common/Style.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/football/TFKick.h"
#include "gui/lottery/BoardColumn.h"
#include "gui/lottery/GeneratorPanel.h"
#include "gui/online/ProductPanel.h"
#include "gui/online/TFInfo.h"
#include "gui/online/TFUpdate.h"
#include "gui/rows/DistributionColumn.h"
#include "gui/rows/RowsPanel.h"
#include "gui/rows/SelectionBar.h"
#include "platform/SortLocale.h"

namespace losfix {

namespace {

// A stored position may be anything a hand-edited file holds: keep it where the screens are.
QPoint ReachablePosition(int left, int top) {
    constexpr int kLimit = 1 << 20;
    const QPoint position(std::clamp(left, -kLimit, kLimit), std::clamp(top, -kLimit, kLimit));
    // A position saved on a screen that is gone would hide the window from its user.
    if (QGuiApplication::screenAt(position + QPoint(40, 10)) == nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            return screen->availableGeometry().topLeft();
        }
    }
    return position;
}

}  // namespace

TFMain::TFMain(AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      ini_(std::make_unique<IniFile>(*context.files, context.folders.settingsFile())),
      sortLocale_(std::make_unique<QtSortLocale>()),
      random_(context.seedSource ? context.seedSource : Random::SeedSource(ClockSeed)) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QString::fromStdString(WindowCaption()));
    setWindowIcon(ProgramIcon(QStringLiteral("app")));
    // System menu, minimise and close; no maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    new OuterSizeLimit(this, QSize(kMaxWidth, kMaxHeight));
    setWindowOpacity(0.0);

    const TextMeasure measure = [this](std::string_view text) { return measureText(text); };
    state_.table = MakeRowTable(measure);
    model_ = new StringGridModel(&state_.table, this);

    header_ = new HeaderBar(context_, this);
    boardColumn_ = new BoardColumn(context_, state_, imageSession_, this);
    generator_ = new GeneratorPanel(context_, state_, random_, measure, this);
    rows_ = new RowsPanel(context_, state_, model_, *sortLocale_, this);
    distribution_ = new DistributionColumn(context_, state_, imageSession_, this);
    products_ = new ProductPanel(context_, distribution_);
    distribution_->addBelow(products_);

    auto* middle = new QWidget(this);
    middle->setObjectName(QStringLiteral("PMitte"));
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->setSpacing(5);
    middleLayout->addWidget(generator_);
    middleLayout->addWidget(rows_, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(header_);
    auto* columns = new QHBoxLayout();
    columns->setContentsMargins(8, 6, 8, 8);
    columns->setSpacing(10);
    columns->addWidget(boardColumn_);
    columns->addWidget(middle, 1);
    columns->addWidget(distribution_);
    root->addLayout(columns, 1);

    connectAreas();
    boardColumn_->selectionBar()->RefreshQuickButtons();
    applySettings();
    if (!boardColumn_->boardLaidOut()) {
        boardColumn_->ApplyPoolSize(boardColumn_->poolItem());
    }
    WriteRowTableHeader(state_.table, measure);
    model_->sync();
    generator_->updateHint();
}

TFMain::~TFMain() {
    // The row table's view reads the table through the model; both go before the state does.
    delete rows_;
    delete model_;
}

int TFMain::measureText(std::string_view text) const {
    static const QFontMetrics metrics(TableFont());
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

bool TFMain::boardLaidOut() const {
    return boardColumn_->boardLaidOut();
}

bool TFMain::running() const {
    return generator_->running();
}

void TFMain::connectAreas() {
    Dialogs& dialogs = *context_.dialogs;
    connect(header_, &HeaderBar::exitRequested, this, &QWidget::close);
    ConnectGuarded(header_, &HeaderBar::savePositionRequested, this, dialogs,
                   [this] { SavePosition(); });
    const auto showDonation = [this](const QString& text) { header_->setDonationText(text); };
    ConnectGuarded(header_, &HeaderBar::updateRequested, this, dialogs, [this, showDonation] {
        UpdateWindowHooks hooks;
        hooks.showDonationCounter = showDonation;
        ShowUpdateWindow(context_, this, hooks);
    });
    ConnectGuarded(header_, &HeaderBar::infoRequested, this, dialogs,
                   [this] { ShowInfoWindow(context_, this); });
    connect(products_, &ProductPanel::donationCounterFetched, this, showDonation);
    ConnectGuarded(header_, &HeaderBar::footballRequested, this, dialogs, [this] {
        if (football_ != nullptr) {
            football_->showAndRaise();
        }
    });

    connect(boardColumn_, &BoardColumn::statusesChanged, rows_, &RowsPanel::repaintTable);
    connect(boardColumn_, &BoardColumn::poolLaidOut, distribution_,
            &DistributionColumn::applyGeometry);
    // The hint follows the settings as they change, not only when a run starts.
    for (auto signal : {&BoardColumn::statusesChanged, &BoardColumn::rowSizeChanged}) {
        connect(boardColumn_, signal, generator_, &GeneratorPanel::updateHint);
    }
    connect(boardColumn_, &BoardColumn::poolLaidOut, generator_, &GeneratorPanel::updateHint);
    connect(rows_, &RowsPanel::tableLoaded, generator_, &GeneratorPanel::clearProgress);

    connect(generator_, &GeneratorPanel::runPreparing, distribution_,
            &DistributionColumn::prepareRun);
    connect(generator_, &GeneratorPanel::runStarted, this, [this](int poolSize) {
        distribution_->refresh(poolSize);
        rows_->runStarted();
        rows_->scrollToStart();
    });
    connect(generator_, &GeneratorPanel::tableChanged, rows_, &RowsPanel::syncTable);
    connect(generator_, &GeneratorPanel::runEnded, this, [this] {
        rows_->runEnded();
        distribution_->runEnded();
        if (closeAfterRun_) {
            closeAfterRun_ = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    });
    connect(generator_, &GeneratorPanel::runFinished, distribution_, &DistributionColumn::refresh);

    // The evaluation follows the table.
    ConnectGuarded(rows_, &RowsPanel::evaluationRequested, this, dialogs,
                   [this] { OpenEvaluation(); });
    const auto follow = [this](TableChange change) {
        if (evaluation_ != nullptr) {
            Guarded(*context_.dialogs, [&] { evaluation_->tableChanged(change); });
        }
    };
    connect(generator_, &GeneratorPanel::runStarted, this,
            [follow] { follow(TableChange::RunStarted); });
    connect(generator_, &GeneratorPanel::runEnded, this,
            [follow] { follow(TableChange::RunEnded); });
    connect(rows_, &RowsPanel::rowsReordered, this, [follow] { follow(TableChange::Reordered); });
    connect(rows_, &RowsPanel::tableLoaded, this, [follow] { follow(TableChange::Loaded); });
    connect(boardColumn_, &BoardColumn::poolLaidOut, this,
            [follow] { follow(TableChange::PoolChanged); });
    connect(generator_, &GeneratorPanel::wideRequested, this, &TFMain::SetWideWidth);
    connect(generator_, &GeneratorPanel::normalRequested, this, &TFMain::SetNormalWidth);
}

void TFMain::applySettings() {
    Guarded(*context_.dialogs, [this] {
        const bool exists = ini_->exists();
        const MainSettings settings = exists ? ReadMainSettings(*ini_) : DefaultMainSettings();
        resize(std::min(settings.clientWidth, kMaxWidth),
               std::min(settings.clientHeight, kMaxHeight));
        boardColumn_->setItems(settings.rowSizeItem, settings.poolItem);
        if (exists) {
            header_->setDonationText(QString::fromStdString(settings.donation));
            generator_->setRowCountText(QString::fromStdString(settings.rowCount));
            generator_->setCongruence(settings.congruence);
        }
        move(ReachablePosition(settings.left, settings.top));
    });
}

void TFMain::OpenEvaluation() {
    if (evaluation_ == nullptr) {
        const auto rows = ReadLottoRows(state_.table, state_.board.poolSize());
        if (const auto* problem = std::get_if<std::string>(&rows)) {
            context_.dialogs->warning(*problem);
            return;
        }
    }
    const bool opened = evaluation_ == nullptr;
    evaluation_ = ShowLottoEvaluation(context_, state_, *ini_, this);
    if (opened) {
        connect(evaluation_, &TFAuswertung::marksChanged, this, [this] {
            rows_->setMarks(evaluation_->markedNumbers(), evaluation_->markedAdditional());
        });
        rows_->setMarks(evaluation_->markedNumbers(), evaluation_->markedAdditional());
    }
}

void TFMain::setFootballWindow(TFKick* football) {
    football_ = football;
}

void TFMain::OpenStartFile(const StartFile& file) {
    Guarded(*context_.dialogs, [&] {
        if (!file.notice.empty()) {
            context_.dialogs->warning(file.notice);
        }
        switch (file.kind) {
            case StartFileKind::RowFile:
                rows_->LoadRowFile(file.path);
                break;
            case StartFileKind::SelectionFile:
                boardColumn_->selectionBar()->QuickOpen(file.path);
                break;
            case StartFileKind::QuickTipFile:
                if (football_ != nullptr) {
                    football_->OpenQuickTipFile(file.path);
                }
                break;
            case StartFileKind::None:
                break;
        }
    });
}

void TFMain::SetWideWidth() {
    resize(kWideWidth, height());
}

void TFMain::SetNormalWidth() {
    resize(kNormalWidth, height());
}

void TFMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    generator_->setWide(width() >= kWideWidth);
}

void TFMain::SavePosition() {
    losfix::SavePosition(*ini_, "FMain", x(), y());
}

void TFMain::closeEvent(QCloseEvent* event) {
    if (generator_->running()) {
        // The run ends as after a stop; the window closes when it has.
        generator_->EndRun();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    MainSettings settings;
    settings.clientWidth = width();
    settings.clientHeight = height();
    settings.rowSizeItem = boardColumn_->rowSizeItem();
    settings.poolItem = boardColumn_->poolItem();
    settings.congruence = generator_->congruence();
    settings.rowCount = generator_->rowCountText().toStdString();
    settings.donation = header_->donationText().toStdString();
    const bool written = Guarded(*context_.dialogs, [&] {
        WriteMainSettings(*ini_, settings);
        if (evaluation_ != nullptr) {
            evaluation_->saveSettings();
        }
    });
    if (!written) {
        event->ignore();
        return;
    }
    if (evaluation_ != nullptr) {
        evaluation_->StopOdds();
    }
    // A tip run ends with the program; the football window writes nothing then.
    if (football_ != nullptr) {
        football_->endRun();
    }
    event->accept();
    emit closed();
}

}  // namespace losfix
