// The evaluation windows offscreen: how they open and follow their tables, what they count, the
// messages for bad input, the settings, copying and saving.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <memory>
#include <set>

#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"
#include "gui/app/TFMain.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/Style.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/eval/TFKickAuswertung.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "gui/rows/RowTableView.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Press;
using losfix::testing::ScriptedDialogs;
using losfix::testing::TestContext;

namespace {

using Rows = std::vector<std::vector<int>>;

// The rows of the main table as the user sees them.
Rows TableRows(const StringGrid& table) {
    Rows rows;
    for (int r = 1; r < table.rowCount(); ++r) {
        std::vector<int> row;
        for (int c = 1; c < table.columnCount(); ++c) {
            const std::string& cell = table.cell(c, r);
            if (cell.find_first_not_of(' ') != std::string::npos) {
                row.push_back(std::stoi(cell));
            }
        }
        if (!row.empty()) {
            rows.push_back(row);
        }
    }
    return rows;
}

int Hits(const std::vector<int>& row, const std::set<int>& draw) {
    int hits = 0;
    for (const int n : row) {
        hits += draw.count(n) > 0 ? 1 : 0;
    }
    return hits;
}

std::string RowFile(const Rows& rows) {
    StringGrid table(kRowTableColumns, static_cast<int>(rows.size()) + 1, 1, 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        table.setCell(0, row, std::to_string(row));
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            table.setCell(static_cast<int>(c) + 1, row, std::to_string(rows[r][c]));
        }
    }
    return EncodeRowFile(table);
}

void LoadRows(TestContext& env, TFMain& window, const Rows& rows) {
    const std::string path = env.folders().rows + "test.lrei";
    QVERIFY(testing::WriteFileBytes(path, RowFile(rows)));
    env.dialogs.openAnswers.push_back(path);
    Press(window, "bsSkinSpeedButton3");
}

TFAuswertung* Evaluation(TFMain& window) {
    Press(window, "BAuswerten");
    return window.findChild<TFAuswertung*>(QStringLiteral("FAuswertung"));
}

void EnterDraw(TFAuswertung& evaluation, const QString& numbers, const QString& additional = {}) {
    Find<QLineEdit>(evaluation, "eZiehung")->setText(numbers);
    Find<QLineEdit>(evaluation, "eZusatz")->setText(additional);
    Press(evaluation, "BTreffer");
}

QString Cell(QAbstractItemModel* model, int line, int column) {
    return model->data(model->index(line, column)).toString();
}

// The "Ziehungen" column (best row) of the odds table by number of hits.
std::map<int, QString> BestRowDraws(QTableWidget* table) {
    std::map<int, QString> counts;
    for (int r = 0; r < table->rowCount(); ++r) {
        counts[table->item(r, 0)->text().toInt()] = table->item(r, 2)->text();
    }
    return counts;
}

void SetTip(TFKick& window, int slot, TipStatus status) {
    const QByteArray name = QStringLiteral("but%1").arg(slot).toUtf8();
    for (int step = 0; step < kTipStatusCount && window.state().board.status(slot) != status;
         ++step) {
        QTest::mouseClick(Find<TipButton>(window, name.constData()), Qt::LeftButton);
    }
    QCOMPARE(window.state().board.status(slot), status);
}

// A banker in every match: the one row "1,1,...,1" exists.
void OneRowBoard(TFKick& window) {
    for (int match = 1; match <= kMatchCount; ++match) {
        SetTip(window, OutcomeSlot(match, 1), TipStatus::TipFavI);
    }
}

void GenerateTips(TFKick& window, int rows) {
    Find<QLineEdit>(window, "eAnz")->setText(QString::number(rows));
    Press(window, "bsSkinSpeedButton2");
    QTRY_VERIFY(!window.running());
}

// 2,000 rows of 16 from 90 and draws of 20: ten million sampled draws, several seconds of work.
TFAuswertung* SixteenOfNinety(TestContext& env, TFMain& window) {
    Find<RadioGroup>(window, "RG2")->setItemIndex(11);  // 90 numbers
    Rows rows;
    for (int r = 0; r < 2000; ++r) {
        std::vector<int> row;
        for (int k = 0; k < 16; ++k) {
            row.push_back((r * 7 + k * 5) % 90 + 1);
        }
        std::sort(row.begin(), row.end());
        row.erase(std::unique(row.begin(), row.end()), row.end());
        if (row.size() == 16) {
            rows.push_back(row);
        }
    }
    LoadRows(env, window, rows);
    TFAuswertung* evaluation = Evaluation(window);
    Find<QSpinBox>(*evaluation, "eGezogen")->setValue(20);
    return evaluation;
}

}  // namespace

class EvaluationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void buttonNeedsRowsAndNoRun() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        auto* button = Find<QToolButton>(window, "BAuswerten");
        QVERIFY(!button->isEnabled());
        // A press of the disabled button and a direct call open nothing.
        window.OpenEvaluation();
        QVERIFY(window.findChild<TFAuswertung*>() == nullptr);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 1);

        bool enabledDuringRun = true;
        QTimer::singleShot(0, &window, [&] { enabledDuringRun = button->isEnabled(); });
        testing::GenerateRows(window, 120);
        QVERIFY(!enabledDuringRun);
        QVERIFY(button->isEnabled());

        // One window, not modal, found again by the second press.
        TFAuswertung* first = Evaluation(window);
        QVERIFY(first != nullptr);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowModality(), Qt::NonModal);
        QVERIFY(first->isWindow());
        first->close();
        QCOMPARE(Evaluation(window), first);
        QCOMPARE(window.findChildren<TFAuswertung*>().size(), 1);
        QVERIFY(first->isVisible());
    }

    void hitsOfADrawAndTheMarksInTheTable() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 120);
        const Rows rows = TableRows(window.table());
        TFAuswertung* evaluation = Evaluation(window);
        QVERIFY(evaluation != nullptr);
        QCOMPARE(Find<QSpinBox>(*evaluation, "eGezogen")->value(), 6);

        // The first row drawn, its smallest number as the additional one of another draw.
        std::set<int> draw(rows[0].begin(), rows[0].end());
        // Blanks, commas and semicolons all separate.
        const QStringList separators = {QStringLiteral(", "), QStringLiteral(" "),
                                        QStringLiteral(";"), QStringLiteral("  "),
                                        QStringLiteral(",")};
        QString text;
        int k = 0;
        for (const int n : draw) {
            text += QString::number(n) + separators.value(k++);
        }
        int additional = 1;
        while (draw.count(additional) > 0) {
            ++additional;
        }
        EnterDraw(*evaluation, text, QString::number(additional));
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 0);

        auto* view = Find<QTableView>(*evaluation, "gTreffer");
        QAbstractItemModel* model = view->model();
        QCOMPARE(model->rowCount(), 120);
        std::array<int, 7> perClass{};
        for (int line = 0; line < 120; ++line) {
            const auto& row = rows[static_cast<std::size_t>(line)];
            const int hits = Hits(row, draw);
            ++perClass[static_cast<std::size_t>(hits)];
            QCOMPARE(Cell(model, line, 0), QString::number(line + 1));
            QCOMPARE(Cell(model, line, 2), QString::number(hits));
            const bool hasAdditional = std::count(row.begin(), row.end(), additional) > 0;
            QCOMPARE(Cell(model, line, 4), hasAdditional ? QStringLiteral("ja") : QString());
        }
        QCOMPARE(perClass[6], 1);
        const QString summary = Find<QLabel>(*evaluation, "LZusammenfassung")->text();
        QVERIFY2(summary.startsWith(QStringLiteral("6 Richtige: 1 Reihe")), qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("3 Richtige: %1 Reihe").arg(perClass[3])));

        // Sorted by hits, most first: the drawn row leads.
        view->sortByColumn(2, Qt::DescendingOrder);
        QCOMPARE(Cell(model, 0, 2), QStringLiteral("6"));
        QCOMPARE(Cell(model, 0, 0), QStringLiteral("1"));
        QCOMPARE(Cell(model, 119, 2), QString::number([&] {
                     for (int h = 0; h <= 6; ++h) {
                         if (perClass[static_cast<std::size_t>(h)] > 0) {
                             return h;
                         }
                     }
                     return -1;
                 }()));

        // The main table marks the drawn numbers in a frame and keeps the status colours.
        auto* table = Find<RowTableView>(window, "g1");
        NumberSet drawn;
        for (const int n : draw) {
            drawn.add(n);
        }
        QCOMPARE(table->cellDelegate().drawn(), drawn);
        QCOMPARE(table->cellDelegate().additional(), additional);
        const QImage picture = table->viewport()->grab().toImage();
        const QRect first = table->visualRect(table->model()->index(0, 0));
        const QColor frame(0x00, 0x40, 0x80);
        QVERIFY(picture.pixelColor(first.left() + 1, first.center().y()) == frame ||
                picture.pixelColor(first.left() + 2, first.center().y()) == frame);
        QCOMPARE(picture.pixelColor(first.left() + 4, first.top() + 4),
                 ToQColor(StatusColour(NumberStatus::Normal)));

        // Closing the window takes the marks away; opening it brings them back; clearing the
        // draw ends them.
        evaluation->close();
        QVERIFY(table->cellDelegate().drawn().empty());
        QCOMPARE(Evaluation(window), evaluation);
        QCOMPARE(table->cellDelegate().drawn(), drawn);
        Press(*evaluation, "BLoeschen");
        QVERIFY(table->cellDelegate().drawn().empty());
        QCOMPARE(table->cellDelegate().additional(), 0);
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(Find<QLineEdit>(*evaluation, "eZiehung")->text().isEmpty());
    }

    void badDrawsGetAMessageAndChangeNothing() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 20);
        TFAuswertung* evaluation = Evaluation(window);
        EnterDraw(*evaluation, QStringLiteral("1 2 3 4 5 6"));
        const QString summary = Find<QLabel>(*evaluation, "LZusammenfassung")->text();
        const NumberSet marked = evaluation->markedNumbers();
        const auto tryDraw = [&](const QString& numbers, const QString& additional,
                                 const char* named) {
            env.dialogs.clear();
            EnterDraw(*evaluation, numbers, additional);
            QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 1);
            const std::string message = env.dialogs.last(ScriptedDialogs::Kind::Warning);
            QVERIFY2(message.find(named) != std::string::npos, message.c_str());
            QCOMPARE(Find<QLabel>(*evaluation, "LZusammenfassung")->text(), summary);
            QCOMPARE(evaluation->markedNumbers(), marked);
        };
        tryDraw(QStringLiteral("1 2 3 4 5 50"), {}, "Zahl 50 ");
        tryDraw(QStringLiteral("1 2 3 3 5 6"), {}, "Zahl 3 ist zweimal");
        tryDraw(QStringLiteral("1 2 x 4 5 6"), {}, "\"x\"");
        tryDraw(QStringLiteral("1 2 3 4 5"), {}, "gezogen werden 6");
        tryDraw(QStringLiteral("1 2 3 4 5 6"), QStringLiteral("6"), "Zusatzzahl 6 ");
        tryDraw(QStringLiteral("1 2 3 4 5 6"), QStringLiteral("77"), "Zusatzzahl 77 ");

        // No more numbers than the pool or 20 can be drawn.
        auto* size = Find<QSpinBox>(*evaluation, "eGezogen");
        QCOMPARE(size->maximum(), 20);
        size->setValue(50);
        QCOMPARE(size->value(), 20);
        // The entered draw no longer fits: it is no longer counted, and the window says why.
        QVERIFY(evaluation->markedNumbers().empty());
        QVERIFY(!Find<QLabel>(*evaluation, "LHinweis")->text().isEmpty());
    }

    void rowsThatCannotBeEvaluated() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        LoadRows(env, window, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11}});
        QVERIFY(Find<QToolButton>(window, "BAuswerten")->isEnabled());
        Press(window, "BAuswerten");
        QVERIFY(window.findChild<TFAuswertung*>() == nullptr);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 1);
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Warning).find("Reihe 2 ") !=
                std::string::npos);

        // An open window says it instead of counting, and offers nothing to compute.
        LoadRows(env, window, {{1, 2, 3}, {4, 5, 6}});
        TFAuswertung* evaluation = Evaluation(window);
        QVERIFY(evaluation != nullptr);
        QCOMPARE(Find<QSpinBox>(*evaluation, "eGezogen")->value(), 3);
        LoadRows(env, window, {{1, 2, 3}, {4, 55, 6}});
        QVERIFY(Find<QLabel>(*evaluation, "LReihen")
                    ->text()
                    .startsWith(QStringLiteral("Keine Auswertung möglich: ")));
        QVERIFY(!Find<QPushButton>(*evaluation, "BTreffer")->isEnabled());
        QVERIFY(!Find<QPushButton>(*evaluation, "BBerechnen")->isEnabled());
    }

    void oddsAgainstEveryDrawAndTheirRefresh() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Find<RadioGroup>(window, "RG2")->setItemIndex(0);  // 35 numbers
        const Rows rows = {{1, 2, 3}, {2, 3, 4}, {10, 20, 30}};
        LoadRows(env, window, rows);
        TFAuswertung* evaluation = Evaluation(window);
        QCOMPARE(Find<QSpinBox>(*evaluation, "eGezogen")->value(), 3);
        Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(!evaluation->computing());

        // Every draw of 3 from 35 against every row, here.
        std::map<int, int> best;
        for (int a = 1; a <= 35; ++a) {
            for (int b = a + 1; b <= 35; ++b) {
                for (int c = b + 1; c <= 35; ++c) {
                    const std::set<int> draw = {a, b, c};
                    int most = 0;
                    for (const auto& row : rows) {
                        most = std::max(most, Hits(row, draw));
                    }
                    ++best[most];
                }
            }
        }
        auto* odds = Find<QTableWidget>(*evaluation, "gChancen");
        const std::map<int, QString> shown = BestRowDraws(odds);
        QCOMPARE(shown.size(), std::size_t{4});
        for (const auto& [hits, draws] : best) {
            QCOMPARE(shown.at(hits),
                     QString::fromStdString(GroupThousands(static_cast<std::uint64_t>(draws))));
        }
        QCOMPARE(Find<QLabel>(*evaluation, "LBasis")->text(),
                 QStringLiteral("Exakt über alle 6.545 möglichen Ziehungen (3 aus 35)."));
        QVERIFY(Find<QLabel>(*evaluation, "LKeinGewinn")
                    ->text()
                    .contains(QStringLiteral("3 Richtige")));
        QVERIFY(odds->isEnabled());

        // The same rows in another order keep the odds.
        LoadRows(env, window, {rows[2], rows[0], rows[1]});
        QVERIFY(Find<QLabel>(*evaluation, "LHinweis")
                    ->text()
                    .contains(QStringLiteral("gelten weiter")));
        QVERIFY(odds->isEnabled());
        // New rows put them out of date, visibly.
        testing::GenerateRows(window, 30);
        QVERIFY2(Find<QLabel>(*evaluation, "LHinweis")
                     ->text()
                     .contains(QStringLiteral("bitte neu berechnen")),
                 qPrintable(Find<QLabel>(*evaluation, "LHinweis")->text()));
        QVERIFY(Find<QLabel>(*evaluation, "LBasis")->text().startsWith(QStringLiteral("Veraltet")));
        QVERIFY(!odds->isEnabled());
        QCOMPARE(Find<QLabel>(*evaluation, "LReihen")->text(),
                 QStringLiteral("30 Reihen mit je 6 Zahlen aus der Zahlenmenge 35"));
        // Out-of-date odds are neither copied nor saved.
        QVERIFY(evaluation->report().sections.empty());

        // A pool change is said too.
        Find<RadioGroup>(window, "RG2")->setItemIndex(11);
        QVERIFY(Find<QLabel>(*evaluation, "LHinweis")->text().contains(QStringLiteral("90")));
    }

    void copyAndSaveTheReport() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Find<RadioGroup>(window, "RG2")->setItemIndex(0);
        LoadRows(env, window, {{1, 2, 3}, {2, 3, 4}});
        TFAuswertung* evaluation = Evaluation(window);
        QVERIFY(!Find<QPushButton>(*evaluation, "BKopieren")->isEnabled());
        Find<QSpinBox>(*evaluation, "eKlasse")->setValue(2);
        EnterDraw(*evaluation, QStringLiteral("2;3;9"));
        Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(!evaluation->computing());
        Press(*evaluation, "BKopieren");
        const std::string text = env.clipboard.text();
        QCOMPARE(text, EvaluationClipboardText(evaluation->report()));
        QVERIFY(text.find("Ziehung: 2 3 9\r\n") != std::string::npos);
        QVERIFY(text.find("3 Richtige: 0 Reihen · 2 Richtige: 2 Reihen") != std::string::npos);
        QVERIFY(text.find("\r\n3\t") != std::string::npos);

        const std::string path = env.folders().rows + "auswertung";
        env.dialogs.saveAnswers.push_back(path + ".csv");
        Press(*evaluation, "BSpeichern");
        const FileDialogRequest& request = env.dialogs.saveRequests.back();
        QCOMPARE(request.filterPattern, std::string("*.csv"));
        QCOMPARE(request.folder, env.folders().rows);
        QVERIFY(request.confirmOverwrite);
        const std::string bytes = testing::ReadFileBytes(path + ".csv");
        QCOMPARE(bytes, EvaluationCsv(evaluation->report()));
        QVERIFY(bytes.find("Treffer;3 Richtige: 0 Reihen \xB7 2 Richtige: 2 Reihen\r\n") !=
                std::string::npos);
        QVERIFY(Find<QLabel>(*evaluation, "LHinweis")
                    ->text()
                    .contains(QStringLiteral("auswertung.csv")));

        // A file that cannot be written gives the program's error box; nothing else changes.
        env.dialogs.saveAnswers.push_back(env.path("fehlt/nicht/da.csv"));
        Press(*evaluation, "BSpeichern");
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 1);
    }

    void drawSizeAndClassAreKeptInTheirOwnSection() {
        TestContext env;
        {
            TFMain window(env.context());
            window.show();
            testing::GenerateRows(window, 10);
            TFAuswertung* evaluation = Evaluation(window);
            Find<QSpinBox>(*evaluation, "eGezogen")->setValue(7);
            Find<QSpinBox>(*evaluation, "eKlasse")->setValue(2);
            QVERIFY(window.close());
        }
        const std::string ini = testing::ReadFileBytes(env.folders().settingsFile());
        QVERIFY2(ini.find("[Auswertung]\r\nGezogen=7\r\nKlasse=2\r\n") != std::string::npos,
                 ini.c_str());
        QVERIFY(ini.find("[Losfix]\r\nZahlen=3\r\n") != std::string::npos);
        TFMain again(env.context());
        again.show();
        testing::GenerateRows(again, 10);
        TFAuswertung* evaluation = Evaluation(again);
        QCOMPARE(Find<QSpinBox>(*evaluation, "eGezogen")->value(), 7);
        QCOMPARE(Find<QSpinBox>(*evaluation, "eKlasse")->value(), 2);
    }

    void aLongComputationCanBeStopped() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        TFAuswertung* evaluation = SixteenOfNinety(env, window);
        Press(*evaluation, "BBerechnen");
        QVERIFY(evaluation->computing());
        QVERIFY(Find<QProgressBar>(*evaluation, "PFortschritt")->isVisible());
        QVERIFY(!Find<QPushButton>(*evaluation, "BBerechnen")->isEnabled());
        // The window answers meanwhile: a draw is counted while the odds are computed.
        EnterDraw(*evaluation,
                  QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"));
        QVERIFY(!evaluation->markedNumbers().empty());
        QTest::qWait(100);
        Press(*evaluation, "BStopp");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        QVERIFY2(Find<QLabel>(*evaluation, "LBasis")->text().startsWith(QStringLiteral("Gestoppt")),
                 qPrintable(Find<QLabel>(*evaluation, "LBasis")->text()));
        QVERIFY(!Find<QProgressBar>(*evaluation, "PFortschritt")->isVisible());
        QVERIFY(Find<QPushButton>(*evaluation, "BBerechnen")->isEnabled());
    }

    void closingTheWindowOrTheProgramStopsTheComputation() {
        TestContext env;
        auto window = std::make_unique<TFMain>(env.context());
        window->show();
        TFAuswertung* evaluation = SixteenOfNinety(env, *window);
        auto* basis = Find<QLabel>(*evaluation, "LBasis");
        Press(*evaluation, "BBerechnen");
        QVERIFY(evaluation->computing());
        evaluation->close();
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        QVERIFY2(basis->text().startsWith(QStringLiteral("Gestoppt")), qPrintable(basis->text()));

        // The main window closes during a computation: the evaluation stops with it.
        QCOMPARE(Evaluation(*window), evaluation);
        Press(*evaluation, "BBerechnen");
        QVERIFY(evaluation->computing());
        QVERIFY(window->close());
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        QVERIFY2(basis->text().startsWith(QStringLiteral("Gestoppt")), qPrintable(basis->text()));

        // The program ends during a computation: the window goes, and the computation with it.
        window->show();
        QCOMPARE(Evaluation(*window), evaluation);
        Press(*evaluation, "BBerechnen");
        QVERIFY(evaluation->computing());
        window.reset();
    }

    void footballHitsOddsAndTheirRefresh() {
        TestContext env;
        ImageSession images;
        TFKick kick(env.context(), images);
        kick.showAndRaise();
        QVERIFY(!Find<QToolButton>(kick, "BAuswerten")->isEnabled());
        OneRowBoard(kick);
        GenerateTips(kick, 1);
        QVERIFY(Find<QToolButton>(kick, "BAuswerten")->isEnabled());
        Press(kick, "BAuswerten");
        auto* evaluation = kick.findChild<TFKickAuswertung*>(QStringLiteral("FKickAuswertung"));
        QVERIFY(evaluation != nullptr);
        QCOMPARE(evaluation->windowModality(), Qt::NonModal);
        QCOMPARE(Find<QLabel>(*evaluation, "LReihen")->text(),
                 QStringLiteral("1 Tippreihe mit je 13 Spielen"));

        // The text and the 13 choices follow each other.
        auto* text = Find<QLineEdit>(*evaluation, "eErgebnisse");
        QTest::keyClicks(text, QStringLiteral("1,1,0,1,1,1,1,1,1,1,1,2"));
        QCOMPARE(Find<QComboBox>(*evaluation, "cbSpiel3")->currentText(), QStringLiteral("0"));
        QCOMPARE(Find<QComboBox>(*evaluation, "cbSpiel13")->currentIndex(), 0);
        // Twelve results: the message names the thirteenth match, nothing is counted.
        Press(*evaluation, "BTreffer");
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Warning).find("Spiel 13 ") !=
                std::string::npos);
        QCOMPARE(Find<QTableView>(*evaluation, "gTreffer")->model()->rowCount(), 0);
        auto* last = Find<QComboBox>(*evaluation, "cbSpiel13");
        last->setCurrentIndex(2);  // "0"
        emit last->activated(2);
        QCOMPARE(text->text(), QStringLiteral("1,1,0,1,1,1,1,1,1,1,1,2,0"));
        Press(*evaluation, "BTreffer");
        QAbstractItemModel* model = Find<QTableView>(*evaluation, "gTreffer")->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(Cell(model, 0, 1), QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
        QCOMPARE(Cell(model, 0, 2), QStringLiteral("3, 12, 13"));
        QCOMPARE(Cell(model, 0, 3), QStringLiteral("10"));
        QVERIFY(Find<QLabel>(*evaluation, "LZusammenfassung")
                    ->text()
                    .contains(QStringLiteral("10 Richtige: 1 Reihe")));
        env.dialogs.clear();
        text->setText(QStringLiteral("1,1,3,1,1,1,1,1,1,1,1,1,1"));
        Press(*evaluation, "BTreffer");
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Warning).find("Spiel 3:") !=
                std::string::npos);
        QCOMPARE(Cell(model, 0, 3), QStringLiteral("10"));

        // One row over all results: 1 with 13 correct, 26 with 12, 312 with 11, 2,288 with 10.
        Press(*evaluation, "BBerechnen");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        const std::map<int, QString> uniform =
            BestRowDraws(Find<QTableWidget>(*evaluation, "gGleich"));
        QCOMPARE(uniform.at(13), QStringLiteral("1"));
        QCOMPARE(uniform.at(12), QStringLiteral("26"));
        QCOMPARE(uniform.at(11), QStringLiteral("312"));
        QCOMPARE(uniform.at(10), QStringLiteral("2.288"));
        // By the statuses only the tipped result can come out.
        auto* weighted = Find<QTableWidget>(*evaluation, "gStatus");
        QCOMPARE(weighted->item(0, 0)->text(), QStringLiteral("13"));
        QCOMPARE(weighted->item(0, 1)->text(), QStringLiteral("100 %"));
        QVERIFY(weighted->isEnabled());

        // Another status: the weighted view is out of date, the uniform one is not.
        SetTip(kick, OutcomeSlot(1, 2), TipStatus::TipFavII);
        QVERIFY(!weighted->isEnabled());
        QVERIFY(Find<QTableWidget>(*evaluation, "gGleich")->isEnabled());
        QVERIFY(Find<QLabel>(*evaluation, "LBasisStatus")
                    ->text()
                    .startsWith(QStringLiteral("Veraltet")));
        QCOMPARE(evaluation->report().sections.size(), std::size_t{1});

        // A new run: counted again, the odds out of date.
        GenerateTips(kick, 2);
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(
            Find<QLabel>(*evaluation, "LHinweis")->text().contains(QStringLiteral("neu gezählt")));
        QVERIFY(!Find<QTableWidget>(*evaluation, "gGleich")->isEnabled());
    }

    void footballTableWithAnEmptyRow() {
        TestContext env;
        ImageSession images;
        TFKick kick(env.context(), images);
        kick.showAndRaise();
        OneRowBoard(kick);
        SetTip(kick, OutcomeSlot(1, 2), TipStatus::TipFavI);
        GenerateTips(kick, 2);
        // A row with a gap, as a damaged table would have it.
        const_cast<FootballState&>(kick.state()).table.setCell(5, 2, "");
        Press(kick, "BAuswerten");
        QVERIFY(kick.findChild<TFKickAuswertung*>() == nullptr);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 1);
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Warning).find("Reihe 2") !=
                std::string::npos);
    }
};

QTEST_MAIN(EvaluationTest)
#include "tst_evaluation.moc"
