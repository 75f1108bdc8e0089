#include "gui/eval/TFAuswertung.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/app/Program.h"
#include "core/common/Random.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/eval/EvalRunner.h"
#include "gui/eval/EvalWidgets.h"
#include "gui/eval/HitTableModel.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 780;

// The columns of LottoHitHeader().
enum HitColumn { kRowColumn, kNumbersColumn, kHitsColumn, kHitNumbersColumn, kAdditionalColumn };

NumberSet SetOf(const std::vector<int>& numbers) {
    NumberSet set;
    for (const int n : numbers) {
        set.add(n);
    }
    return set;
}

bool RowLess(const NumberSet& a, const NumberSet& b) {
    return a.highBits() != b.highBits() ? a.highBits() < b.highBits() : a.lowBits() < b.lowBits();
}

}  // namespace

TFAuswertung::TFAuswertung(AppContext& context, const LotteryState& state, IniFile& settings,
                           QWidget* owner)
    : EvaluationWindow(context, QStringLiteral("FAuswertung"),
                       QStringLiteral("Auswertung der Reihen"), owner),
      state_(state),
      ini_(settings) {
    assemble(buildDrawBox(), buildOddsBox(), QStringLiteral("Treffer der Reihen"), "Auswertung.csv",
             "Losfixauswertung");

    const EvaluationSettings stored = ReadEvaluationSettings(ini_);
    eKlasse->setValue(stored.lowestClass);
    readRows();
    const int pool = poolSize();
    eGezogen->setRange(1, std::min(kMaxDrawSize, pool));
    if (stored.drawSize > 0) {
        eGezogen->setValue(std::min(stored.drawSize, pool));
    } else {
        eGezogen->setValue(DefaultDrawSize(rows_ ? rows_->rowSize : 6, pool));
    }
    settingUp_ = false;

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(BTreffer, &QPushButton::clicked, this, dialogs, [this] { CountHits(); });
    ConnectGuarded(eZiehung, &QLineEdit::returnPressed, this, dialogs, [this] { CountHits(); });
    ConnectGuarded(eZusatz, &QLineEdit::returnPressed, this, dialogs, [this] { CountHits(); });
    ConnectGuarded(BLoeschen, &QPushButton::clicked, this, dialogs, [this] { ClearDraw(); });
    ConnectGuarded(eGezogen, &QSpinBox::valueChanged, this, dialogs, [this] {
        if (!settingUp_) {
            recount(QStringLiteral("Gezogene Zahlen geändert"));
        }
    });
    ConnectGuarded(eKlasse, &QSpinBox::valueChanged, this, dialogs, [this] {
        if (!settingUp_) {
            showHits();
            showOdds();
        }
    });

    showHits();
    showOdds();
    updateControls();
    resize(kWidth, kHeight);
}

TFAuswertung::~TFAuswertung() = default;

QWidget* TFAuswertung::buildDrawBox() {
    auto* box = new QGroupBox(QStringLiteral("Ziehung"), this);
    box->setObjectName(QStringLiteral("GZiehung"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    LZiehung = MakeCaption(QStringLiteral("LZiehung"), QStringLiteral("&Ziehung:"), box);
    eZiehung = new QLineEdit(box);
    eZiehung->setObjectName(QStringLiteral("eZiehung"));
    eZiehung->setPlaceholderText(QStringLiteral("3 12 19 27 33 41"));
    eZiehung->setToolTip(
        QStringLiteral("Die gezogenen Zahlen, getrennt durch Leerzeichen, "
                       "Kommas oder Semikolons"));
    eZiehung->setMaxLength(200);
    LZiehung->setBuddy(eZiehung);
    LZusatz = MakeCaption(QStringLiteral("LZusatz"), QStringLiteral("Zusatzz&ahl:"), box);
    eZusatz = new QLineEdit(box);
    eZusatz->setObjectName(QStringLiteral("eZusatz"));
    eZusatz->setMaxLength(10);
    eZusatz->setFixedWidth(48);
    eZusatz->setToolTip(QStringLiteral("Leer lassen, wenn es keine Zusatzzahl gibt"));
    LZusatz->setBuddy(eZusatz);
    BTreffer = MakeButton(QStringLiteral("BTreffer"), QStringLiteral("&Treffer zählen"), box);
    BTreffer->setDefault(true);
    BLoeschen = MakeButton(QStringLiteral("BLoeschen"), QStringLiteral("Ziehung &löschen"), box);
    LGezogen = MakeCaption(QStringLiteral("LGezogen"), QStringLiteral("&Gezogene Zahlen:"), box);
    eGezogen = new QSpinBox(box);
    eGezogen->setObjectName(QStringLiteral("eGezogen"));
    eGezogen->setRange(1, kMaxDrawSize);
    eGezogen->setToolTip(QStringLiteral("Gezogene Zahlen (1 bis 20, höchstens die Zahlenmenge)"));
    LGezogen->setBuddy(eGezogen);

    grid->addWidget(LZiehung, 0, 0);
    grid->addWidget(eZiehung, 0, 1);
    grid->addWidget(LZusatz, 0, 2);
    grid->addWidget(eZusatz, 0, 3);
    grid->addWidget(BTreffer, 0, 4);
    grid->addWidget(BLoeschen, 0, 5);
    auto* sizeRow = new QHBoxLayout();
    sizeRow->addWidget(LGezogen);
    sizeRow->addWidget(eGezogen);
    sizeRow->addStretch(1);
    grid->addLayout(sizeRow, 1, 0, 1, 6);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* TFAuswertung::buildOddsBox() {
    GChancen = new QGroupBox(QStringLiteral("Gewinnchancen über alle möglichen Ziehungen"), this);
    GChancen->setObjectName(QStringLiteral("GChancen"));
    auto* layout = new QVBoxLayout(GChancen);
    layout->setSpacing(6);
    auto* controls = new QHBoxLayout();
    LKlasse = MakeCaption(QStringLiteral("LKlasse"),
                          QStringLiteral("Niedrigste Gewinnklasse (&Richtige):"), GChancen);
    eKlasse = new QSpinBox(GChancen);
    eKlasse->setObjectName(QStringLiteral("eKlasse"));
    eKlasse->setRange(1, 16);
    eKlasse->setToolTip(
        QStringLiteral("Die niedrigste Gewinnklasse: so viele Richtige zählen "
                       "als Gewinn"));
    LKlasse->setBuddy(eKlasse);
    controls->addWidget(LKlasse);
    controls->addWidget(eKlasse);
    controls->addSpacing(12);
    controls->addWidget(BBerechnen);
    controls->addWidget(BStopp);
    controls->addWidget(PFortschritt, 1);
    layout->addLayout(controls);
    LBasis = MakeValueLabel(QStringLiteral("LBasis"), GChancen, 2);
    layout->addWidget(LBasis);
    gChancen = MakeOddsTable(QStringLiteral("gChancen"), QStringLiteral("Gewinnchancen"), GChancen);
    layout->addWidget(gChancen, 1);
    LKeinGewinn = MakeValueLabel(QStringLiteral("LKeinGewinn"), GChancen);
    LKeinGewinn->setFont(InterfaceFont(13, true));
    layout->addWidget(LKeinGewinn);
    return GChancen;
}

int TFAuswertung::poolSize() const {
    return state_.board.poolSize();
}

int TFAuswertung::drawSize() const {
    return eGezogen->value();
}

int TFAuswertung::lowestClass() const {
    return eKlasse->value();
}

void TFAuswertung::readRows() {
    takeRows(ReadLottoRows(state_.table, poolSize()), rows_);
    const bool wasSettingUp = settingUp_;
    settingUp_ = true;
    eGezogen->setMaximum(std::min(kMaxDrawSize, poolSize()));
    settingUp_ = wasSettingUp;
}

std::string TFAuswertung::rowsFact() const {
    if (!rows_) {
        return rowsProblem_;
    }
    const std::size_t count = rows_->rows.size();
    return GroupThousands(count) + (count == 1 ? " Reihe" : " Reihen") + " mit je " +
           std::to_string(rows_->rowSize) + " Zahlen aus der Zahlenmenge " +
           std::to_string(rows_->poolSize);
}

void TFAuswertung::tableChanged(TableChange change) {
    if (change == TableChange::RunStarted) {
        tableRunning_ = true;
        setNotice(
            QStringLiteral("Die Reihen werden gerade gebildet. Die Auswertung folgt, wenn "
                           "der Lauf zu Ende ist."));
        updateControls();
        return;
    }
    if (tableRunning_ && change != TableChange::RunEnded) {
        return;
    }
    tableRunning_ = false;
    readRows();
    QString reason;
    switch (change) {
        case TableChange::RunEnded:
            reason = QStringLiteral("Neue Reihen");
            break;
        case TableChange::Reordered:
            reason = QStringLiteral("Die Reihen wurden umsortiert");
            break;
        case TableChange::Loaded:
            reason = QStringLiteral("Reihen aus einer Datei geladen");
            break;
        case TableChange::PoolChanged:
            reason = QStringLiteral("Die Zahlenmenge ist jetzt %1").arg(poolSize());
            break;
        case TableChange::RunStarted:
            break;
    }
    recount(reason);
}

void TFAuswertung::recount(const QString& reason) {
    QStringList notice;
    if (!reason.isEmpty()) {
        notice << reason + QLatin1Char(':');
    }
    if (draw_) {
        const auto parsed =
            rows_ ? ParseLottoDraw(eZiehung->text().toStdString(), eZusatz->text().toStdString(),
                                   poolSize(), drawSize())
                  : std::variant<LottoDraw, std::string>(rowsProblem_);
        if (const auto* draw = std::get_if<LottoDraw>(&parsed)) {
            draw_ = *draw;
            hits_ = CountLottoHits(*rows_, *draw_);
            notice << QStringLiteral("die Treffer sind neu gezählt.");
        } else {
            draw_.reset();
            hits_ = {};
            notice << QStringLiteral("die Ziehung ist nicht mehr auszuwerten (%1).")
                          .arg(QString::fromStdString(std::get<std::string>(parsed)));
        }
    }
    if (odds_) {
        notice << (oddsCurrent() ? QStringLiteral("Die Gewinnchancen gelten weiter.")
                                 : QStringLiteral("Die Gewinnchancen gehören zu anderen Reihen "
                                                  "oder Ziehungen: bitte neu berechnen."));
    }
    finishRecount(notice);
}

void TFAuswertung::CountHits() {
    if (!BTreffer->isEnabled() || refused(rows_.has_value())) {
        return;
    }
    const auto parsed = ParseLottoDraw(eZiehung->text().toStdString(),
                                       eZusatz->text().toStdString(), poolSize(), drawSize());
    if (refused(std::get_if<std::string>(&parsed))) {
        return;
    }
    draw_ = std::get<LottoDraw>(parsed);
    hits_ = CountLottoHits(*rows_, *draw_);
    setNotice(QString());
    showHits();
    updateControls();
}

void TFAuswertung::ClearDraw() {
    draw_.reset();
    hits_ = {};
    eZiehung->clear();
    eZusatz->clear();
    setNotice(QString());
    showHits();
    updateControls();
}

void TFAuswertung::showHits() {
    if (!draw_ || !rows_) {
        hitModel_->clear();
        LZusammenfassung->setText(rows_ ? QStringLiteral("Noch keine Ziehung ausgewertet.")
                                        : QString());
        setMarks({}, 0);
        return;
    }
    LZusammenfassung->setText(QString::fromStdString(
        LottoHitSummary(hits_, rows_->rowSize, drawSize(), poolSize(), lowestClass())));
    const NumberSet drawn = SetOf(draw_->numbers);
    const int additional = draw_->additional;
    const LottoRows& rows = *rows_;
    const LottoHits& hits = hits_;
    QStringList header;
    for (const std::string& caption : LottoHitHeader()) {
        header << QString::fromStdString(caption);
    }
    hitModel_->reset(
        static_cast<int>(rows.rows.size()), header,
        [&rows, &hits, drawn, additional](int item, int column) {
            return QString::fromStdString(LottoHitCell(rows, hits, drawn, additional,
                                                       static_cast<std::size_t>(item), column));
        },
        [&rows, &hits](int item, int column) -> long long {
            const auto i = static_cast<std::size_t>(item);
            const long long extra = hits.additional[i] ? 1 : 0;
            switch (column) {
                case kHitsColumn:
                case kHitNumbersColumn:
                    return hits.hits[i] * 2LL + extra;
                case kAdditionalColumn:
                    return extra * 100 + hits.hits[i];
                default:
                    return rows.tableRow[i];
            }
        });
    const QString number = QStringLiteral("88 ");
    FitColumns(gTreffer,
               {QStringLiteral("99.999"), number.repeated(rows.rowSize), QStringLiteral("16"),
                number.repeated(std::min(rows.rowSize, drawSize())), QStringLiteral("ja")});
    setMarks(drawn, additional);
}

bool TFAuswertung::oddsCurrent() const {
    return odds_ && rows_ && odds_->poolSize == poolSize() && odds_->drawSize == drawSize() &&
           odds_->rows == sortedRows();
}

std::vector<NumberSet> TFAuswertung::sortedRows() const {
    if (!rows_) {
        return {};
    }
    std::vector<NumberSet> rows = rows_->rows;
    std::sort(rows.begin(), rows.end(), RowLess);
    return rows;
}

void TFAuswertung::ComputeOdds() {
    if (!BBerechnen->isEnabled() || computing() || refused(rows_.has_value())) {
        return;
    }
    const int d = drawSize();
    if (const std::string problem = DrawSizeProblem(d, poolSize()); !problem.empty()) {
        context_.dialogs->warning(problem);
        return;
    }
    auto result = std::make_shared<OddsResult>();
    result->rows = sortedRows();
    result->rowSize = rows_->rowSize;
    result->poolSize = poolSize();
    result->drawSize = d;
    result->plannedExact = LottoOddsExactFeasible(*rows_, d);
    const std::uint64_t seed = context_.seedSource ? context_.seedSource() : ClockSeed();
    LBasis->setText(result->plannedExact
                        ? QStringLiteral("Wird berechnet: alle %1 möglichen Ziehungen …")
                              .arg(QString::fromStdString(GroupThousands(Binomial(poolSize(), d))))
                        : QStringLiteral("Wird geschätzt: zu viele mögliche Ziehungen für eine "
                                         "genaue Rechnung, daher eine Zufallsstichprobe …"));
    startOdds(
        [rows = *rows_, d, seed, result](EvalControl& control) {
            result->odds = ComputeLottoOdds(rows, d, control, seed);
        },
        [this, result] { odds_ = std::move(*result); },
        [this] {
            return odds_ && !oddsCurrent() ? QStringLiteral(
                                                 "Die Reihen haben sich während der Berechnung "
                                                 "geändert: bitte neu berechnen.")
                                           : QString();
        });
}

void TFAuswertung::showStopping() {
    LBasis->setText(QStringLiteral("Wird angehalten …"));
}

PrintTable TFAuswertung::hitPrintTable() const {
    return draw_ && rows_ ? LottoHitPrintTable(*rows_, hits_, *draw_) : PrintTable();
}

void TFAuswertung::showOdds() {
    if (runner_->running()) {
        return;
    }
    if (!odds_) {
        LBasis->setText(rows_ ? QStringLiteral("Noch nicht berechnet.") : QString());
        FillOddsTable(gChancen, {});
        LKeinGewinn->clear();
        return;
    }
    const OddsSection section =
        LottoOddsSection(odds_->odds, odds_->rowSize, odds_->poolSize, odds_->drawSize,
                         lowestClass(), odds_->plannedExact);
    const bool current = oddsCurrent();
    LBasis->setText((current
                         ? QString()
                         : QStringLiteral("Veraltet, gilt für andere Reihen oder Ziehungen: ")) +
                    QString::fromStdString(section.basis));
    FillOddsTable(gChancen, section.shown, section.estimated);
    gChancen->setEnabled(current);
    LKeinGewinn->setText(QString::fromStdString(section.footer));
}

void TFAuswertung::setMarks(const NumberSet& drawn, int additional) {
    const NumberSet shown = isVisible() ? drawn : NumberSet();
    const int shownAdditional = isVisible() ? additional : 0;
    if (shown == marked_ && shownAdditional == markedAdditional_) {
        return;
    }
    marked_ = shown;
    markedAdditional_ = shownAdditional;
    emit marksChanged();
}

void TFAuswertung::updateControls() {
    const bool rows = rows_.has_value() && !tableRunning_;
    const bool running = runner_->running();
    for (QWidget* control :
         std::initializer_list<QWidget*>{eZiehung, eZusatz, BTreffer, eGezogen}) {
        control->setEnabled(rows);
    }
    BLoeschen->setEnabled(draw_.has_value() || !eZiehung->text().isEmpty() ||
                          !eZusatz->text().isEmpty());
    const int highest = rows_ ? std::min(rows_->rowSize, drawSize()) : 16;
    const bool wasSettingUp = settingUp_;
    settingUp_ = true;
    eKlasse->setMaximum(std::max(1, highest));
    settingUp_ = wasSettingUp;
    eGezogen->setEnabled(rows && !running);
    updateCommonControls(rows, draw_.has_value() || (odds_.has_value() && oddsCurrent()));
}

EvaluationReport TFAuswertung::report() const {
    EvaluationReport report;
    report.title = std::string(kProgramName) + " – Auswertung der Reihen";
    report.facts.emplace_back("Reihen", rowsFact());
    if (draw_) {
        std::string draw;
        for (const int n : draw_->numbers) {
            if (!draw.empty()) {
                draw += ' ';
            }
            draw += std::to_string(n);
        }
        report.facts.emplace_back("Ziehung", draw);
        if (draw_->additional > 0) {
            report.facts.emplace_back("Zusatzzahl", std::to_string(draw_->additional));
        }
        if (rows_) {
            report.summary =
                LottoHitSummary(hits_, rows_->rowSize, drawSize(), poolSize(), lowestClass());
        }
    }
    if (odds_ && oddsCurrent()) {
        report.sections.push_back(LottoOddsSection(odds_->odds, odds_->rowSize, odds_->poolSize,
                                                   odds_->drawSize, lowestClass(),
                                                   odds_->plannedExact));
    }
    return report;
}

void TFAuswertung::saveSettings() {
    EvaluationSettings settings;
    settings.drawSize = drawSize();
    settings.lowestClass = lowestClass();
    WriteEvaluationSettings(ini_, settings);
}

void TFAuswertung::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The marks belong to the open window.
    if (draw_) {
        setMarks(SetOf(draw_->numbers), draw_->additional);
    }
}

void TFAuswertung::closeEvent(QCloseEvent* event) {
    EvaluationWindow::closeEvent(event);
    const bool written = Guarded(*context_.dialogs, [this] { saveSettings(); });
    if (!written) {
        event->ignore();
        return;
    }
    event->accept();
    hide();
    setMarks({}, 0);
}

TFAuswertung* ShowLottoEvaluation(AppContext& context, const LotteryState& state, IniFile& settings,
                                  QWidget* mainWindow) {
    auto* window = mainWindow->findChild<TFAuswertung*>(QStringLiteral("FAuswertung"),
                                                        Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new TFAuswertung(context, state, settings, mainWindow);
        PlaceWindow(window, mainWindow);
    }
    ShowAndRaise(window);
    return window;
}

}  // namespace losfix
