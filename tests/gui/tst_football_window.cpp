#include <QAbstractItemView>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <set>

#include "core/app/Program.h"
#include "core/common/IniFile.h"
#include "core/football/FootballLayout.h"
#include "core/football/TipTable.h"
#include "gui/app/TFMain.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"
#include "gui/football/TFKick.h"
#include "gui/football/TableMeasure.h"
#include "gui/football/TipButton.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Press;
using losfix::testing::TestContext;
using Kind = losfix::testing::ScriptedDialogs::Kind;

namespace {

TipButton* Button(TFKick& window, int slot) {
    return Find<TipButton>(window, QStringLiteral("but%1").arg(slot).toUtf8().constData());
}

// Clicks the outcome button with the left mouse button until the slot has the status.
void SetTip(TFKick& window, int slot, TipStatus status) {
    for (int step = 0; step < kTipStatusCount && window.state().board.status(slot) != status;
         ++step) {
        QTest::mouseClick(Button(window, slot), Qt::LeftButton);
    }
    QCOMPARE(window.state().board.status(slot), status);
}

// Match 1 two-way, all others bankers: exactly two different rows exist.
void MarkTwoRowBoard(TFKick& window) {
    SetTip(window, 1, TipStatus::TipFavI);
    SetTip(window, 2, TipStatus::TipFavII);
    for (int match = 2; match <= kMatchCount; ++match) {
        SetTip(window, OutcomeSlot(match, (match - 1) % 3 + 1), TipStatus::TipFavIII);
    }
}

void SetCount(TFKick& window, const QString& text) {
    Find<QLineEdit>(window, "eAnz")->setText(text);
}

QString Cell(TFKick& window, const char* grid, int row, int column) {
    const QAbstractItemModel* model = Find<QAbstractItemView>(window, grid)->model();
    return model->index(row - 1, column - 1).data().toString();
}

// Calls the action as soon as a run is going on, from inside the run's event processing.
void WhileRunning(TFKick& window, std::function<bool()> action) {
    auto* timer = new QTimer(&window);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, timer, action] {
        if (window.running() && action()) {
            timer->stop();
        }
    });
    timer->start();
}

std::string Ini(TestContext& env, const char* section, const char* key) {
    IniFile ini(env.files, env.folders().settingsFile());
    return ini.readString(section, key, "<none>");
}

}  // namespace

class FootballWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void createdHiddenWithControlsAndDefaults() {
        TestContext env;
        ImageSession images;
        {
            TFKick window(env.context(), images);
            QVERIFY(!window.isVisible());
            QCOMPARE(window.objectName(), QStringLiteral("FKick"));
            QCOMPARE(window.windowTitle(), QStringLiteral("Losfix 2.0     v1.5.0.0"));
            QCOMPARE(window.size(), QSize(645, 534));
            QCOMPARE(window.maximumSize(), QSize(664, 578));
            QCOMPARE(window.pos(), QPoint(0, 0));
            QCOMPARE(Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("120"));
            QVERIFY(!Find<QToolButton>(window, "BQOpen13")->isEnabled());
            QVERIFY(!Find<QToolButton>(window, "BStop")->isEnabled());
            QCOMPARE(Find<QToolButton>(window, "BClose")->text(), QStringLiteral("Sch&ließen"));
            QCOMPARE(Find<QLabel>(window, "bsSkinLabel1")->text(),
                     QStringLiteral("Fußball ist auch Losfix"));
            for (const char* name : {"LKombis", "LZW", "LDW", "LBaenke"}) {
                QCOMPARE(Find<QLabel>(window, name)->text(), QStringLiteral("0"));
            }
            QCOMPARE(Find<QLabel>(window, "Panel6")->text(), QStringLiteral("Fav I I"));

            // The buttons stand where the board puts them, the match numbers level with them.
            window.show();
            QWidget* panel = Find<QWidget>(window, "Panel1");
            for (int slot : {1, 2, 38, 39}) {
                const PixelRect r = OutcomeButtonRect(slot);
                QCOMPARE(Button(window, slot)->parentWidget(), panel);
                QCOMPARE(Button(window, slot)->geometry(), QRect(r.left, r.top, 39, 26));
                QCOMPARE(Button(window, slot)->text(), QString::fromStdString(OutcomeText(slot)));
            }
            QLabel* number13 = Find<QLabel>(window, "PNr13");
            QCOMPARE(number13->mapTo(panel, number13->rect().center()).y(),
                     Button(window, 37)->geometry().center().y());
            QCOMPARE(Find<QWidget>(window, "PFoto")->size(), QSize(645, 494));
            QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->rowCount(), 24);
            QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->columnCount(), 13);
            QCOMPARE(Find<QAbstractItemView>(window, "g2")->model()->rowCount(), 3);

            // Every icon-only button says what it does; every control has a name.
            for (auto* button : window.findChildren<QAbstractButton*>()) {
                if (qobject_cast<QAbstractItemView*>(button->parentWidget()) != nullptr) {
                    continue;  // the grids' corners
                }
                QVERIFY(!button->objectName().isEmpty());
                if (button->text().isEmpty()) {
                    QVERIFY2(!button->toolTip().isEmpty() && !button->accessibleName().isEmpty(),
                             qPrintable(button->objectName()));
                }
            }
            for (auto* label : window.findChildren<QLabel*>()) {
                QVERIFY2(!label->objectName().isEmpty(), qPrintable(label->text()));
            }

            // Digits only, at most five.
            QLineEdit* count = Find<QLineEdit>(window, "eAnz");
            count->clear();
            QTest::keyClicks(count, QStringLiteral("1a2-34567"));
            QCOMPARE(count->text(), QStringLiteral("12345"));
        }
        // Destroying the window writes nothing.
        QVERIFY(!env.files.exists(env.folders().settingsFile()));

        // A settings file without the keys: "72" at left 0, top 70; with them, their values.
        QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(), "[Losfix]\r\n"));
        {
            TFKick window(env.context(), images);
            QCOMPARE(Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("72"));
            QCOMPARE(window.pos(), QPoint(0, 70));
        }
        QVERIFY(testing::WriteFileBytes(
            env.folders().settingsFile(),
            "[Losfix]\r\nFReihen=300\r\n[Position]\r\nFKick-left=12\r\nFKick-top=34\r\n"));
        TFKick window(env.context(), images);
        QCOMPARE(Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("300"));
        QCOMPARE(window.pos(), QPoint(12, 34));
        window.move(40, 50);
        Press(window, "bsSkinSpeedButton16");
        QCOMPARE(Ini(env, "Position", "FKick-left"), std::string("40"));
        QCOMPARE(Ini(env, "Position", "FKick-top"), std::string("50"));
        QCOMPARE(Ini(env, "Losfix", "FReihen"), std::string("300"));
    }

    // Row labels are measured by shape; every label of a full table must come out as the font
    // measures it.
    void tableMeasureMatchesTheFont() {
        const TextMeasure measure = TableTextMeasure();
        const QFontMetrics metrics(TableFont());
        for (int label = 1; label <= 99999; label += (label < 1000 ? 1 : 7)) {
            const std::string text = std::to_string(label);
            QCOMPARE(measure(text), metrics.horizontalAdvance(QString::fromStdString(text)));
        }
        for (const char* text : {" ", "Reihe", "1 0 2", "  12"}) {
            QCOMPARE(measure(text), metrics.horizontalAdvance(QString::fromUtf8(text)));
        }
    }

    void runFillsBothGridsConsistently() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        // Match 1 three-way, match 2 a banker, the others "1" and "2" but never "0".
        for (int slot = 1; slot <= 3; ++slot) {
            SetTip(window, slot, TipStatus::TipFavI);
        }
        SetTip(window, 4, TipStatus::TipFavIII);
        for (int match = 3; match <= kMatchCount; ++match) {
            SetTip(window, OutcomeSlot(match, 1), TipStatus::TipFavI);
            SetTip(window, OutcomeSlot(match, 3), TipStatus::TipFavII);
        }
        QCOMPARE(Find<QLabel>(window, "LKombis")->text(), QStringLiteral("6.144"));
        QCOMPARE(Find<QLabel>(window, "LZW")->text(), QStringLiteral("11"));
        QCOMPARE(Find<QLabel>(window, "LDW")->text(), QStringLiteral("1"));
        QCOMPARE(Find<QLabel>(window, "LBaenke")->text(), QStringLiteral("1"));

        SetCount(window, QString());  // an empty field asks for 72 rows
        Press(window, "bsSkinSpeedButton2");
        QVERIFY(!window.running());
        QCOMPARE(Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("72"));
        QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->rowCount(), 72);
        QVERIFY(Find<ElidedLabel>(window, "LFortschritt")
                    ->text()
                    .startsWith(QStringLiteral("72 von 72 Reihen gebildet, ")));
        std::set<QString> rows;
        std::array<std::array<int, 3>, kMatchCount> tally{};
        for (int row = 1; row <= 72; ++row) {
            QString text;
            for (int match = 1; match <= kMatchCount; ++match) {
                const QString symbol = Cell(window, "g1", row, match);
                text += symbol;
                ++tally[match - 1][MatrixRowOfValue(symbol.toInt()) - 1];
            }
            rows.insert(text);
        }
        QCOMPARE(rows.size(), std::size_t{72});
        QCOMPARE(Find<QAbstractItemView>(window, "g1")
                     ->model()
                     ->headerData(71, Qt::Vertical)
                     .toString()
                     .trimmed(),
                 QStringLiteral("72"));

        // The matrix counts the table; out outcomes stay empty; colours follow the statuses.
        auto* g2 = Find<QAbstractItemView>(window, "g2");
        const auto colourAt = [&](int match, int row) {
            const QRect cell = g2->visualRect(g2->model()->index(row - 1, match - 1));
            return g2->viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(1, 1));
        };
        for (int match = 1; match <= kMatchCount; ++match) {
            int sum = 0;
            for (int row = 1; row <= 3; ++row) {
                const int count = tally[match - 1][row - 1];
                sum += count;
                QCOMPARE(Cell(window, "g2", row, match),
                         count == 0 ? QString() : QString::number(count));
                const TipStatus status = window.state().board.status(OutcomeSlot(match, row));
                if (status == TipStatus::TipOut) {
                    QCOMPARE(count, 0);
                }
                QCOMPARE(colourAt(match, row), ToQColor(TipStatusColour(status)));
            }
            QCOMPARE(sum, 72);
        }
        QCOMPARE(Cell(window, "g2", 1, 2), QStringLiteral("72"));
        // A status change repaints the matrix at once; the counts stay those of the run.
        QTest::mouseClick(Button(window, OutcomeSlot(5, 2)), Qt::RightButton);
        QCOMPARE(colourAt(5, 2), ToQColor(TipStatusColour(TipStatus::TipFavIII)));
        QCOMPARE(Cell(window, "g2", 2, 5), QString());

        // A board with an empty match is refused before anything changes.
        Press(window, "bsSkinSpeedButton3");
        SetTip(window, 1, TipStatus::TipFavI);
        Press(window, "bsSkinSpeedButton2");
        QCOMPARE(env.dialogs.last(Kind::Information),
                 std::string("Sie müssen für Spiel 2 eine Auswahl treffen.\r\rIch breche erst "
                             "einmal ab."));
        QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->rowCount(), 72);
    }

    void stopEndsARunThatCannotEnd() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        MarkTwoRowBoard(window);
        SetCount(window, QStringLiteral("5"));
        int checks = 0;
        bool generateDisabled = false;
        WhileRunning(window, [&] {
            ++checks;
            generateDisabled = !Find<QToolButton>(window, "bsSkinSpeedButton2")->isEnabled();
            if (!Find<ElidedLabel>(window, "LFortschritt")
                     ->text()
                     .endsWith(QStringLiteral("Bitte mit der Stopp-Taste beenden."))) {
                return false;
            }
            Press(window, "BStop");
            return true;
        });
        Press(window, "bsSkinSpeedButton2");
        QVERIFY(!window.running());
        QVERIFY(checks > 1);  // the window answered while the run went on
        QVERIFY(generateDisabled);
        QVERIFY(Find<ElidedLabel>(window, "LTippHinweis")
                    ->text()
                    .startsWith(QStringLiteral("Mit dieser Auswahl gibt es nur 2 verschiedene "
                                               "Reihen, gewünscht sind 5.")));
        QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->rowCount(), 2);
        QCOMPARE(Cell(window, "g2", 1, 1), QStringLiteral("1"));
        QCOMPARE(Cell(window, "g2", 2, 1), QStringLiteral("1"));
        QVERIFY(Find<QLabel>(window, "LHinweis")->isVisible());
        QCOMPARE(Find<QLabel>(window, "LHinweis")->text(), QStringLiteral("Prozess gestoppt"));
        QTimer* timer = Find<QTimer>(window, "Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 5000);
        QVERIFY(!Find<QToolButton>(window, "BStop")->isEnabled());
        QVERIFY(Find<QToolButton>(window, "bsSkinSpeedButton2")->isEnabled());
        timer->setInterval(1);
        QTRY_VERIFY(!Find<QLabel>(window, "LHinweis")->isVisible());
        QVERIFY(!timer->isActive());

        // A pasted count that is no number ends the run before it starts.
        SetCount(window, QStringLiteral("1x"));
        Press(window, "bsSkinSpeedButton2");
        QCOMPARE(env.dialogs.last(Kind::Error),
                 std::string("''1x'' ist kein gültiger Integer-Wert."));

        // The program ending stops a run quietly and writes nothing.
        SetCount(window, QStringLiteral("5"));
        WhileRunning(window, [&] {
            window.endRun();
            return true;
        });
        Press(window, "bsSkinSpeedButton2");
        QVERIFY(!window.running());
        QVERIFY(!Find<QLabel>(window, "LHinweis")->isVisible());
        QVERIFY(!env.files.exists(env.folders().settingsFile()));
    }

    void closeDuringARunStopsItAndReopeningKeepsEverything() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        MarkTwoRowBoard(window);
        SetCount(window, QStringLiteral("9"));
        WhileRunning(window, [&] {
            window.close();
            return true;
        });
        Press(window, "bsSkinSpeedButton2");
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!window.running());
        QCOMPARE(Ini(env, "Losfix", "FReihen"), std::string("9"));

        window.showAndRaise();
        QVERIFY(window.isVisible());
        QCOMPARE(Find<QAbstractItemView>(window, "g1")->model()->rowCount(), 2);
        QCOMPARE(Cell(window, "g2", 2, 2), QStringLiteral("2"));
        QCOMPARE(Find<QLabel>(window, "LKombis")->text(), QStringLiteral("2"));
        QCOMPARE(Button(window, 2)->status(), NumberStatus::FavII);

        SetCount(window, QStringLiteral("33"));
        Press(window, "BClose");
        QVERIFY(!window.isVisible());
        QCOMPARE(Ini(env, "Losfix", "FReihen"), std::string("33"));
    }

    void filesClipboardAndPicture() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        const std::string text = env.folders().rows + "tipps1.txt";
        const std::string csv = env.folders().rows + "west.csv";

        // Before any run: 24 empty rows.
        env.dialogs.saveAnswers = {text};
        Press(window, "bsSkinSpeedButton7");
        std::string empty;
        for (int i = 0; i < 24; ++i) {
            empty += ",,,,,,,,,,,,\r\n";
        }
        QCOMPARE(testing::ReadFileBytes(text), empty);
        const FileDialogRequest& request = env.dialogs.saveRequests.at(0);
        QCOMPARE(request.title, std::string("Tippreihen-Datei speichern"));
        QCOMPARE(request.filterName, std::string("Tippeihen-Datei"));
        QCOMPARE(request.filterPattern, std::string("*.txt"));
        QCOMPARE(request.defaultExtension, std::string("txt"));
        QCOMPARE(request.folder, env.folders().rows);
        QVERIFY(!request.confirmOverwrite);

        // 13 bankers give exactly one row.
        for (int match = 1; match <= kMatchCount; ++match) {
            SetTip(window, OutcomeSlot(match, (match - 1) % 3 + 1), TipStatus::TipFavI);
        }
        SetCount(window, QStringLiteral("1"));
        Press(window, "bsSkinSpeedButton2");
        const std::string row = "1,0,2,1,0,2,1,0,2,1,0,2,1\r\n";
        env.dialogs.saveAnswers = {csv};
        Press(window, "bsSkinSpeedButton4");
        QCOMPARE(testing::ReadFileBytes(csv), std::string("1;0;2;1;0;2;1;0;2;1;0;2;1\r\n"));
        QCOMPARE(env.dialogs.saveRequests.at(1).title, std::string("WestLotto-Datei speichern"));
        QCOMPARE(env.dialogs.saveRequests.at(1).filterName, std::string("WestLotto-Datei"));
        QCOMPARE(env.dialogs.saveRequests.at(1).filterPattern, std::string("*.csv"));
        QCOMPARE(env.dialogs.saveRequests.at(1).defaultExtension, std::string("csv"));
        QCOMPARE(Find<ElidedLabel>(window, "LDatei2")->text(), QStringLiteral("west.csv"));
        env.dialogs.saveAnswers = {text};
        Press(window, "bsSkinSpeedButton7");
        QCOMPARE(testing::ReadFileBytes(text), row);
        QCOMPARE(Find<ElidedLabel>(window, "LDatei2")->text(), QStringLiteral("tipps1.txt"));
        // A cancelled dialog and a failed write change nothing.
        Press(window, "bsSkinSpeedButton4");
        env.dialogs.saveAnswers = {env.folders().rows + "gone/x.csv"};
        Press(window, "bsSkinSpeedButton4");
        QVERIFY(env.dialogs.last(Kind::Error).find("kann nicht erstellt werden") !=
                std::string::npos);
        QCOMPARE(Find<ElidedLabel>(window, "LDatei2")->text(), QStringLiteral("tipps1.txt"));

        Press(window, "bsSkinSpeedButton11");
        QCOMPARE(env.clipboard.text(), row);

        Press(window, "bsSkinSpeedButton9");
        auto* picture = window.findChild<TFAbbild*>(QStringLiteral("FAbbild1"));
        QVERIFY(picture != nullptr);
        QCOMPARE(picture->windowTitle(), QStringLiteral("tipps1"));
        QCOMPARE(picture->picture().size(), QSize(645, 494));
        QCOMPARE(picture->size(), QSize(645, 574));
        picture->close();
    }

    void quickSelectionFile() {
        TestContext env;
        ImageSession images;
        const std::string quick = env.folders().settings + "Quick.wh13";
        TFKick window(env.context(), images);
        window.showAndRaise();
        SetTip(window, 2, TipStatus::TipFavII);
        SetTip(window, 39, TipStatus::TipFavIII);
        Press(window, "bsSkinSpeedButton1");
        std::string expected = "0\r\n2\r\n";
        for (int slot = 3; slot <= 38; ++slot) {
            expected += "0\r\n";
        }
        QCOMPARE(testing::ReadFileBytes(quick), expected + "3\r\n");
        QVERIFY(Find<QToolButton>(window, "BQOpen13")->isEnabled());

        Press(window, "bsSkinSpeedButton3");
        QCOMPARE(Button(window, 39)->status(), NumberStatus::Normal);
        QCOMPARE(Find<QLabel>(window, "LKombis")->text(), QStringLiteral("0"));
        Press(window, "BQOpen13");
        QCOMPARE(window.state().board.status(2), TipStatus::TipFavII);
        QCOMPARE(Button(window, 39)->status(), NumberStatus::FavIII);
        QCOMPARE(Find<QLabel>(window, "LBaenke")->text(), QStringLiteral("2"));

        // A code the board does not know is refused as a whole.
        QVERIFY(testing::WriteFileBytes(quick, "1\r\n7\r\n"));
        Press(window, "BQOpen13");
        QVERIFY(!env.dialogs.last(Kind::Warning).empty());
        QCOMPARE(window.state().board.status(1), TipStatus::TipOut);
        QCOMPARE(Button(window, 1)->status(), NumberStatus::Normal);

        // A window created while the file exists offers it; a failed write enables nothing.
        TFKick second(env.context(), images);
        QVERIFY(Find<QToolButton>(second, "BQOpen13")->isEnabled());
        QVERIFY(QDir(QString::fromStdString(env.folders().settings)).removeRecursively());
        TFKick third(env.context(), images);
        QVERIFY(!Find<QToolButton>(third, "BQOpen13")->isEnabled());
        Press(third, "bsSkinSpeedButton1");
        QVERIFY(env.dialogs.last(Kind::Error).find("Quick.wh13") != std::string::npos);
        QVERIFY(!Find<QToolButton>(third, "BQOpen13")->isEnabled());
    }

    void theMainWindowOpensItAndEndsItsRun() {
        TestContext env;
        TFMain main(env.context());
        TFKick window(env.context(), main.imageSession(), &main);
        main.setFootballWindow(&window);
        main.show();
        QVERIFY(!window.isVisible());
        Press(main, "bsSkinSpeedButton12");
        QVERIFY(window.isVisible());
        Press(main, "bsSkinSpeedButton12");
        QCOMPARE(main.findChildren<TFKick*>().size(), 1);

        // Two rows exist, ten are asked for: the run ends only when the program does.
        MarkTwoRowBoard(window);
        SetCount(window, QStringLiteral("10"));
        QTimer::singleShot(100, &main, [&main] { main.close(); });
        Press(window, "bsSkinSpeedButton2");
        QTRY_VERIFY(!window.running());
        QVERIFY(!main.isVisible());
        const std::string ini = testing::ReadFileBytes(env.folders().settingsFile());
        QVERIFY(ini.find("Breite=") != std::string::npos);
        QVERIFY(ini.find("FReihen") == std::string::npos);
    }
};

QTEST_MAIN(FootballWindowTest)
#include "tst_football_window.moc"
