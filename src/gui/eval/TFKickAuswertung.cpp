#include "gui/eval/TFKickAuswertung.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/app/Program.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/eval/EvalRunner.h"
#include "gui/eval/EvalWidgets.h"
#include "gui/eval/HitTableModel.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 840;
constexpr int kMatches = 13;

enum HitColumn { kRowColumn, kTipColumn, kWrongColumn, kCorrectColumn };

// The choices list no result first, then the outcomes in the order of the match board.
const QStringList kChoices = {QStringLiteral("–"), QStringLiteral("1"), QStringLiteral("0"),
                              QStringLiteral("2")};

QString TipText(const TipRow& row) {
    QString text;
    for (int m = 0; m < kMatches; ++m) {
        if (m > 0) {
            text += QLatin1Char(',');
        }
        text += QString::number(row[static_cast<std::size_t>(m)]);
    }
    return text;
}

int ChoiceOf(const QString& item) {
    const int index = kChoices.indexOf(item.trimmed());
    return index > 0 ? index : 0;
}

}  // namespace

TFKickAuswertung::TFKickAuswertung(AppContext& context, const FootballState& state, QWidget* owner)
    : EvaluationWindow(context, QStringLiteral("FKickAuswertung"),
                       QStringLiteral("Auswertung der Tippreihen"), owner),
      state_(state) {
    assemble(buildResultsBox(), buildOddsBox(), QStringLiteral("Richtige der Tippreihen"),
             "Tippauswertung.csv", "Losfixtippauswertung");

    Dialogs& dialogs = *context_.dialogs;
    for (QComboBox* choice : cbSpiel) {
        ConnectGuarded(choice, &QComboBox::activated, this, dialogs, [this] { textFromChoices(); });
    }
    ConnectGuarded(eErgebnisse, &QLineEdit::textEdited, this, dialogs,
                   [this] { choicesFromText(); });
    ConnectGuarded(eErgebnisse, &QLineEdit::returnPressed, this, dialogs, [this] { CountHits(); });
    ConnectGuarded(BTreffer, &QPushButton::clicked, this, dialogs, [this] { CountHits(); });
    ConnectGuarded(BLoeschen, &QPushButton::clicked, this, dialogs, [this] { ClearResults(); });

    readRows();
    showHits();
    showOdds();
    updateControls();
    resize(kWidth, kHeight);
}

TFKickAuswertung::~TFKickAuswertung() = default;

QWidget* TFKickAuswertung::buildResultsBox() {
    auto* box = new QGroupBox(QStringLiteral("Ergebnisse der 13 Spiele"), this);
    box->setObjectName(QStringLiteral("GErgebnisse"));
    auto* layout = new QVBoxLayout(box);
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    for (int m = 0; m < kMatches; ++m) {
        const QString number = QString::number(m + 1);
        auto* caption = MakeCaption(QStringLiteral("LSpiel") + number, number, box);
        caption->setAlignment(Qt::AlignCenter);
        // The caption shows only the number; a screen reader names the match.
        caption->setAccessibleName(QStringLiteral("Spiel ") + number);
        auto* choice = new QComboBox(box);
        choice->setObjectName(QStringLiteral("cbSpiel") + number);
        choice->addItems(kChoices);
        choice->setToolTip(QStringLiteral("Ergebnis von Spiel ") + number);
        choice->setFont(InterfaceFont(13));
        caption->setBuddy(choice);
        grid->addWidget(caption, 0, m);
        grid->addWidget(choice, 1, m);
        cbSpiel[static_cast<std::size_t>(m)] = choice;
    }
    layout->addLayout(grid);
    auto* textRow = new QHBoxLayout();
    LErgebnisse = MakeCaption(QStringLiteral("LErgebnisse"), QStringLiteral("Als &Text:"), box);
    eErgebnisse = new QLineEdit(box);
    eErgebnisse->setObjectName(QStringLiteral("eErgebnisse"));
    eErgebnisse->setPlaceholderText(QStringLiteral("1,0,2,1,1,0,2,2,1,0,1,2,0"));
    eErgebnisse->setToolTip(
        QStringLiteral("Die 13 Ergebnisse (1, 0 oder 2), getrennt durch Kommas, "
                       "Semikolons oder Leerzeichen"));
    eErgebnisse->setMaxLength(200);
    LErgebnisse->setBuddy(eErgebnisse);
    BTreffer = MakeButton(QStringLiteral("BTreffer"), QStringLiteral("&Richtige zählen"), box);
    BTreffer->setDefault(true);
    BLoeschen = MakeButton(QStringLiteral("BLoeschen"), QStringLiteral("Ergebnisse &löschen"), box);
    textRow->addWidget(LErgebnisse);
    textRow->addWidget(eErgebnisse, 1);
    textRow->addWidget(BTreffer);
    textRow->addWidget(BLoeschen);
    layout->addLayout(textRow);
    return box;
}

QWidget* TFKickAuswertung::buildOddsBox() {
    auto* box = new QGroupBox(
        QStringLiteral("Gewinnchancen über alle 1.594.323 möglichen Ergebnisse"), this);
    box->setObjectName(QStringLiteral("GChancen"));
    auto* layout = new QVBoxLayout(box);
    auto* controls = new QHBoxLayout();
    controls->addWidget(BBerechnen);
    controls->addWidget(BStopp);
    controls->addWidget(PFortschritt, 1);
    layout->addLayout(controls);

    TAnsicht = new QTabWidget(box);
    TAnsicht->setObjectName(QStringLiteral("TAnsicht"));
    const auto page = [this](const QString& suffix, QLabel*& basis, QTableWidget*& table,
                             QLabel*& footer, const QString& name) {
        auto* tab = new QWidget(TAnsicht);
        tab->setObjectName(QStringLiteral("PAnsicht") + suffix);
        auto* tabLayout = new QVBoxLayout(tab);
        basis = MakeValueLabel(QStringLiteral("LBasis") + suffix, tab, 2);
        table = MakeOddsTable(QStringLiteral("g") + suffix, name, tab);
        footer = MakeValueLabel(QStringLiteral("LKeinGewinn") + suffix, tab);
        footer->setFont(InterfaceFont(13, true));
        tabLayout->addWidget(basis);
        tabLayout->addWidget(table, 1);
        tabLayout->addWidget(footer);
        TAnsicht->addTab(tab, name);
    };
    page(QStringLiteral("Gleich"), LBasisGleich, gGleich, LKeinGewinnGleich,
         QStringLiteral("Alle Ergebnisse gleich wahrscheinlich"));
    page(QStringLiteral("Status"), LBasisStatus, gStatus, LKeinGewinnStatus,
         QStringLiteral("Nach Ihren Tipp-Status gewichtet"));
    layout->addWidget(TAnsicht, 1);
    return box;
}

void TFKickAuswertung::choicesFromText() {
    if (syncing_) {
        return;
    }
    const QString text = eErgebnisse->text();
    QStringList items;
    if (text.contains(QRegularExpression(QStringLiteral("[,; ]")))) {
        items = text.split(QRegularExpression(QStringLiteral("[,;]|\\s+")));
    } else {
        for (const QChar c : text) {
            items << QString(c);
        }
    }
    for (int m = 0; m < kMatches; ++m) {
        cbSpiel[static_cast<std::size_t>(m)]->setCurrentIndex(m < items.size() ? ChoiceOf(items[m])
                                                                               : 0);
    }
}

void TFKickAuswertung::textFromChoices() {
    QStringList items;
    for (QComboBox* choice : cbSpiel) {
        items << (choice->currentIndex() > 0 ? choice->currentText() : QString());
    }
    const bool wasSyncing = syncing_;
    syncing_ = true;
    eErgebnisse->setText(items.join(QLatin1Char(',')));
    syncing_ = wasSyncing;
    updateControls();
}

void TFKickAuswertung::readRows() {
    takeRows(ReadTipRows(state_.table), rows_);
}

std::string TFKickAuswertung::rowsFact() const {
    if (!rows_) {
        return rowsProblem_;
    }
    const std::size_t count = rows_->size();
    return GroupThousands(count) + (count == 1 ? " Tippreihe" : " Tippreihen") +
           " mit je 13 Spielen";
}

void TFKickAuswertung::runStarted() {
    tableRunning_ = true;
    setNotice(
        QStringLiteral("Die Tippreihen werden gerade gebildet. Die Auswertung folgt, "
                       "wenn der Lauf zu Ende ist."));
    updateControls();
}

void TFKickAuswertung::tableChanged() {
    tableRunning_ = false;
    readRows();
    recount(QStringLiteral("Neue Tippreihen"));
}

void TFKickAuswertung::statusesChanged() {
    if (odds_ && !tableRunning_) {
        setNotice(weightedCurrent()
                      ? QString()
                      : QStringLiteral("Die Tipp-Status haben sich geändert: die "
                                       "gewichtete Ansicht gilt für die früheren Status, "
                                       "bitte neu berechnen."));
        showOdds();
        updateControls();
    }
}

void TFKickAuswertung::recount(const QString& reason) {
    QStringList notice{reason + QLatin1Char(':')};
    if (results_) {
        if (rows_) {
            hits_ = CountTipHits(*rows_, *results_);
            notice << QStringLiteral("die Richtigen sind neu gezählt.");
        } else {
            results_.reset();
            hits_ = {};
            notice << QStringLiteral("die Ergebnisse sind nicht mehr auszuwerten.");
        }
    }
    if (odds_) {
        notice << (uniformCurrent() ? QStringLiteral("Die Gewinnchancen gelten weiter.")
                                    : QStringLiteral("Die Gewinnchancen gehören zu anderen "
                                                     "Tippreihen: bitte neu berechnen."));
    }
    finishRecount(notice);
}

void TFKickAuswertung::CountHits() {
    if (!BTreffer->isEnabled() || refused(rows_.has_value())) {
        return;
    }
    const auto parsed = ParseTipResults(eErgebnisse->text().toStdString());
    if (refused(std::get_if<std::string>(&parsed))) {
        return;
    }
    results_ = std::get<TipRow>(parsed);
    hits_ = CountTipHits(*rows_, *results_);
    // The choices show what was counted, also when it was typed without separators.
    for (int m = 0; m < kMatches; ++m) {
        cbSpiel[static_cast<std::size_t>(m)]->setCurrentIndex(
            ChoiceOf(QString::number((*results_)[static_cast<std::size_t>(m)])));
    }
    setNotice(QString());
    showHits();
    updateControls();
}

void TFKickAuswertung::ClearResults() {
    results_.reset();
    hits_ = {};
    eErgebnisse->clear();
    for (QComboBox* choice : cbSpiel) {
        choice->setCurrentIndex(0);
    }
    setNotice(QString());
    showHits();
    updateControls();
}

void TFKickAuswertung::showHits() {
    if (!results_ || !rows_) {
        hitModel_->clear();
        LZusammenfassung->setText(rows_ ? QStringLiteral("Noch keine Ergebnisse ausgewertet.")
                                        : QString());
        return;
    }
    LZusammenfassung->setText(QString::fromStdString(TipHitSummary(hits_)));
    const std::vector<TipRow>& rows = *rows_;
    const TipHits& hits = hits_;
    const TipRow results = *results_;
    QStringList header;
    for (const std::string& caption : TipHitHeader()) {
        header << QString::fromStdString(caption);
    }
    hitModel_->reset(
        static_cast<int>(rows.size()), header,
        [&rows, &hits, results](int item, int column) {
            return QString::fromStdString(
                TipHitCell(rows, hits, results, static_cast<std::size_t>(item), column));
        },
        [&hits](int item, int column) -> long long {
            if (column == kRowColumn || column == kTipColumn) {
                return item;
            }
            return hits.correct[static_cast<std::size_t>(item)];
        });
    FitColumns(gTreffer,
               {QStringLiteral("99.999"), QStringLiteral("0,").repeated(13),
                QStringLiteral("1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13"), QStringLiteral("13")});
}

std::vector<TipRow> TFKickAuswertung::sortedRows() const {
    std::vector<TipRow> rows = rows_ ? *rows_ : std::vector<TipRow>();
    std::sort(rows.begin(), rows.end());
    return rows;
}

TFKickAuswertung::Statuses TFKickAuswertung::currentStatuses() const {
    Statuses statuses{};
    const TipStatuses& board = state_.board.statuses();
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        statuses[i] = static_cast<std::uint8_t>(board[i]);
    }
    return statuses;
}

bool TFKickAuswertung::uniformCurrent() const {
    return odds_ && rows_ && odds_->rows == sortedRows();
}

bool TFKickAuswertung::weightedCurrent() const {
    return uniformCurrent() && odds_->statuses == currentStatuses();
}

void TFKickAuswertung::ComputeOdds() {
    if (!BBerechnen->isEnabled() || computing() || refused(rows_.has_value())) {
        return;
    }
    auto result = std::make_shared<OddsResult>();
    result->rows = sortedRows();
    result->statuses = currentStatuses();
    for (QLabel* basis : {LBasisGleich, LBasisStatus}) {
        basis->setText(QStringLiteral("Wird berechnet …"));
    }
    startOdds(
        [rows = *rows_, result](EvalControl& control) {
            TipOddsViews views = ComputeTipOddsViews(rows, result->statuses, control);
            result->uniform = views.uniform;
            result->weighted = views.weighted;
        },
        [this, result] { odds_ = std::move(*result); },
        [this] {
            return odds_ && !weightedCurrent()
                       ? QStringLiteral(
                             "Tippreihen oder Tipp-Status haben sich während "
                             "der Berechnung geändert: bitte neu berechnen.")
                       : QString();
        });
}

void TFKickAuswertung::showStopping() {
    for (QLabel* basis : {LBasisGleich, LBasisStatus}) {
        basis->setText(QStringLiteral("Wird angehalten …"));
    }
}

PrintTable TFKickAuswertung::hitPrintTable() const {
    return results_ && rows_ ? TipHitPrintTable(*rows_, hits_, *results_) : PrintTable();
}

void TFKickAuswertung::showOdds() {
    if (runner_->running()) {
        return;
    }
    const auto show = [this](const TipOdds* odds, bool weighted, bool current, QLabel* basis,
                             QTableWidget* table, QLabel* footer) {
        if (odds == nullptr) {
            basis->setText(rows_ ? QStringLiteral("Noch nicht berechnet.") : QString());
            FillOddsTable(table, {});
            footer->clear();
            return;
        }
        const OddsSection section = TipOddsSection(*odds, weighted);
        basis->setText((current ? QString() : QStringLiteral("Veraltet: ")) +
                       QString::fromStdString(section.basis));
        FillOddsTable(table, section.shown);
        table->setEnabled(current);
        footer->setText(QString::fromStdString(section.footer));
    };
    show(odds_ ? &odds_->uniform : nullptr, false, uniformCurrent(), LBasisGleich, gGleich,
         LKeinGewinnGleich);
    show(odds_ ? &odds_->weighted : nullptr, true, weightedCurrent(), LBasisStatus, gStatus,
         LKeinGewinnStatus);
}

void TFKickAuswertung::updateControls() {
    const bool rows = rows_.has_value() && !tableRunning_;
    for (QComboBox* choice : cbSpiel) {
        choice->setEnabled(rows);
    }
    eErgebnisse->setEnabled(rows);
    BTreffer->setEnabled(rows);
    BLoeschen->setEnabled(results_.has_value() || !eErgebnisse->text().isEmpty());
    updateCommonControls(rows, results_.has_value() || uniformCurrent());
}

EvaluationReport TFKickAuswertung::report() const {
    EvaluationReport report;
    report.title = std::string(kProgramName) + " – Auswertung der Tippreihen";
    report.facts.emplace_back("Tippreihen", rowsFact());
    if (results_) {
        report.facts.emplace_back("Ergebnisse", TipText(*results_).toStdString());
        report.summary = TipHitSummary(hits_);
    }
    if (uniformCurrent()) {
        report.sections.push_back(TipOddsSection(odds_->uniform, false));
    }
    if (weightedCurrent()) {
        report.sections.push_back(TipOddsSection(odds_->weighted, true));
    }
    return report;
}

TFKickAuswertung* ShowFootballEvaluation(AppContext& context, const FootballState& state,
                                         QWidget* footballWindow) {
    auto* window = footballWindow->findChild<TFKickAuswertung*>(QStringLiteral("FKickAuswertung"),
                                                                Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new TFKickAuswertung(context, state, footballWindow);
        PlaceWindow(window, footballWindow);
    }
    ShowAndRaise(window);
    return window;
}

}  // namespace losfix
