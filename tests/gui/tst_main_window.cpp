#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <set>

#include "core/app/DataFolders.h"
#include "core/lottery/RowTable.h"
#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/Style.h"
#include "gui/lottery/BoardPanel.h"
#include "gui/online/Online.h"
#include "gui/rows/DistributionPanel.h"
#include "gui/rows/RowTableView.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::ScriptedDialogs;
using losfix::testing::TestContext;

namespace {

// The numbers of data row r of the table.
std::vector<int> RowNumbers(const StringGrid& table, int row) {
    std::vector<int> numbers;
    for (int c = 1; c < table.columnCount(); ++c) {
        if (!table.cell(c, row).empty()) {
            numbers.push_back(std::stoi(table.cell(c, row)));
        }
    }
    return numbers;
}

int FilledRows(const StringGrid& table) {
    int filled = 0;
    for (int r = 1; r < table.rowCount(); ++r) {
        filled += table.cell(1, r).empty() ? 0 : 1;
    }
    return filled;
}

// Presses the stop button as soon as the run has accepted `rows` rows (checked while it yields).
void StopAfterRows(TFMain& window, int rows) {
    auto* timer = new QTimer(&window);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, timer, rows] {
        if (FilledRows(window.table()) >= rows &&
            testing::Find<QToolButton>(window, "BStop")->isEnabled()) {
            timer->stop();
            testing::Press(window, "BStop");
        }
    });
    timer->start();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void firstStartCreatesFoldersAndShowsFormDefaults() {
        TestContext env;
        AppContext context = env.context();
        QVERIFY(QDir().mkpath(QString::fromStdString(env.path("fresh"))));
        context.folders = MakeDataFolders(env.path("fresh"), env.path("home"));
        TFStart start(context);
        for (const auto* folder : {&context.folders.base, &context.folders.settings,
                                   &context.folders.rows, &context.folders.shots}) {
            QVERIFY2(QDir(QString::fromStdString(*folder)).exists(), folder->c_str());
        }
        QVERIFY(!testing::Find<QPushButton>(start, "Weiter")->isEnabled());
        TFMain window(context);
        start.setInitializationDone();
        QVERIFY(testing::Find<QPushButton>(start, "Weiter")->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("Losfix 2.0     v1.5.0.0"));

        QCOMPARE(testing::Find<RadioGroup>(window, "RG2")
                     ->itemText(testing::Find<RadioGroup>(window, "RG2")->itemIndex()),
                 QStringLiteral("49"));
        QCOMPARE(testing::Find<RadioGroup>(window, "RG1")
                     ->itemText(testing::Find<RadioGroup>(window, "RG1")->itemIndex()),
                 QStringLiteral("6"));
        QCOMPARE(testing::Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("120"));
        QCOMPARE(testing::Find<QSlider>(window, "Track1")->value(), 2);
        QCOMPARE(testing::Find<QLabel>(window, "Lkon")->text(), QStringLiteral("2"));
        QVERIFY(!testing::Find<QToolButton>(window, "BQuick1")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BQuick2")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BQuick3")->isEnabled());
        QCOMPARE(window.width(), 1078);
        QCOMPARE(window.height(), 674);
        QCOMPARE(window.pos(), QPoint(0, 0));
        QVERIFY(!testing::Find<QToolButton>(window, "BSort")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BUnSort")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BStop")->isEnabled());

        // The board shows 49 buttons on 7 x 7, the table its header and 54 empty rows.
        window.show();
        int visible = 0;
        for (int n = 1; n <= 90; ++n) {
            visible += testing::Find<BoardPanel>(window, "P4")->button(n)->isVisible() ? 1 : 0;
        }
        QCOMPARE(visible, 49);
        QCOMPARE(window.table().rowCount(), 55);
        QCOMPARE(QString::fromStdString(window.table().cell(0, 0)).trimmed(),
                 QStringLiteral("Reihe"));
        QCOMPARE(QString::fromStdString(window.table().cell(16, 0)).trimmed(),
                 QStringLiteral("16"));
    }

    void closingTheStartWindowFadesTheMainWindowIn() {
        TestContext env;
        TFStart* start = new TFStart(env.context());
        start->setAttribute(Qt::WA_DeleteOnClose);
        start->show();
        TFMain window(env.context());
        QCOMPARE(window.windowOpacity(), 0.0);
        start->setMainWindow(&window);
        start->setInitializationDone();
        QSignalSpy faded(start, &TFStart::fadeFinished);
        // The system close command does what "Weiter" does.
        QVERIFY(start->close());
        QCOMPARE(faded.count(), 1);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void aPositionOffEveryScreenIsBroughtBack() {
        // Far off, and at the edge of the integer range, where adding to it would overflow.
        for (const char* position : {"FMain-left=-30000\r\nFMain-top=20000",
                                     "FMain-left=2147483608\r\nFMain-top=2147483647",
                                     "FMain-left=-2147483648\r\nFMain-top=-2147483648"}) {
            TestContext env;
            QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(),
                                            std::string("[Position]\r\n") + position + "\r\n"));
            TFMain window(env.context());
            QVERIFY2(QGuiApplication::screenAt(window.pos() + QPoint(40, 10)) != nullptr, position);
        }
    }

    void aFailingHandlerLeavesTheWindowUsable() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        env.dialogs.openAnswers.push_back(env.folders().rows + "fehlt.lrei");
        testing::Press(window, "bsSkinSpeedButton3");
        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("x1"));
        testing::GenerateRows(window);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 2);
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("''x1'' ist kein gültiger Integer-Wert."));
        // No hourglass left behind, every control as before, and the next run works.
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(Find<QToolButton>(window, "bsSkinSpeedButton2")->isEnabled());
        QVERIFY(Find<QToolButton>(window, "bsSkinSpeedButton3")->isEnabled());
        QVERIFY(!Find<QToolButton>(window, "BStop")->isEnabled());
        testing::GenerateRows(window, 10);
        QCOMPARE(FilledRows(window.table()), 10);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 2);
    }

    void mouseButtonsStepStatuses() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        TBZahl* seven = testing::Find<BoardPanel>(window, "P4")->button(7);
        QTest::mouseClick(seven, Qt::RightButton);
        QCOMPARE(window.board().status(7), NumberStatus::Bank);
        QCOMPARE(seven->status(), NumberStatus::Bank);
        QTest::mouseClick(seven, Qt::LeftButton);
        QCOMPARE(window.board().status(7), NumberStatus::Normal);
        QTest::mouseClick(seven, Qt::LeftButton);
        QTest::mouseClick(seven, Qt::LeftButton);
        QCOMPARE(window.board().status(7), NumberStatus::FavI);
        QTest::mouseClick(seven, Qt::MiddleButton);
        QCOMPARE(window.board().status(7), NumberStatus::FavI);
        QTest::mouseClick(seven, Qt::RightButton);
        QCOMPARE(window.board().status(7), NumberStatus::Out);
    }

    void runFillsTableWithDistinctRows() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("120"));
        testing::Find<QSlider>(window, "Track1")->setValue(15);
        QCOMPARE(testing::Find<QLabel>(window, "Lkon")->text(), QStringLiteral("egal"));
        testing::Press(window, "bsSkinSpeedButton2");

        const StringGrid& table = window.table();
        QCOMPARE(table.rowCount(), 121);
        std::set<std::vector<int>> rows;
        int total = 0;
        for (int r = 1; r <= 120; ++r) {
            const auto numbers = RowNumbers(table, r);
            QCOMPARE(numbers.size(), std::size_t{6});
            QVERIFY(std::is_sorted(numbers.begin(), numbers.end()));
            QVERIFY(numbers.front() >= 1 && numbers.back() <= 49);
            rows.insert(numbers);
            QCOMPARE(QString::fromStdString(table.cell(0, r)).trimmed(), QString::number(r));
        }
        QCOMPARE(rows.size(), std::size_t{120});
        for (int count : window.drawCounts()) {
            total += count;
        }
        QCOMPARE(total, 720);
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BUnSort")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "BSortH")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BStop")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "bsSkinSpeedButton2")->isEnabled());
        QCOMPARE(window.sortKeySize(), 6);
        // The distribution shows the counts.
        QCOMPARE(testing::Find<DistributionPanel>(window, "P3")->frame(1)->countText(),
                 QString::number(window.drawCounts()[0]));
        // The model shows what the table holds.
        QCOMPARE(testing::Find<RowTableView>(window, "g1")->model()->rowCount(), 120);
        QCOMPARE(testing::Find<RowTableView>(window, "g1")->model()->index(0, 0).data().toString(),
                 QString::fromStdString(table.cell(1, 1)));
    }

    void stopLeavesExactlyTheAcceptedRows() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        // Three bankers and congruence 2 admit a single row; the run goes on until stopped.
        for (int n : {3, 17, 40}) {
            QTest::mouseClick(testing::Find<BoardPanel>(window, "P4")->button(n), Qt::RightButton);
        }
        testing::Find<QSlider>(window, "Track1")->setValue(2);
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("30"));
        StopAfterRows(window, 1);
        testing::GenerateRows(window);

        QVERIFY(!window.running());
        QCOMPARE(window.table().rowCount(), 31);
        QCOMPARE(FilledRows(window.table()), 1);
        const auto first = RowNumbers(window.table(), 1);
        for (int banker : {3, 17, 40}) {
            QVERIFY(std::find(first.begin(), first.end(), banker) != first.end());
        }
        int total = 0;
        for (int count : window.drawCounts()) {
            total += count;
        }
        QCOMPARE(total, 6);
        QVERIFY(testing::Find<ElidedLabel>(window, "LHinweis")->isVisibleTo(&window));
        QCOMPARE(testing::Find<ElidedLabel>(window, "LHinweis")->text(),
                 QStringLiteral("Prozess gestoppt"));
        QVERIFY(testing::Find<QTimer>(window, "Timer1")->isActive());
        QCOMPARE(testing::Find<QTimer>(window, "Timer1")->interval(), 5000);
        QVERIFY(!testing::Find<QToolButton>(window, "BStop")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        // The hint said beforehand that no more than one row can exist.
        QVERIFY(testing::Find<ElidedLabel>(window, "LObergrenze")->isVisibleTo(&window));
        QVERIFY(testing::Find<ElidedLabel>(window, "LObergrenze")
                    ->text()
                    .contains(QStringLiteral("höchstens 1 Reihe")));
        // When the timer fires the notice goes away and the timer stops.
        testing::Find<QTimer>(window, "Timer1")->setInterval(1);
        QTRY_VERIFY(!testing::Find<ElidedLabel>(window, "LHinweis")->isVisibleTo(&window));
        QVERIFY(!testing::Find<QTimer>(window, "Timer1")->isActive());
    }

    void aStoppedRunKeepsTheWindowWidth() {
        // The same under X11 in tst_x11_main_window; offscreen fonts differ, so both run.
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Find<QSlider>(window, "Track1")->setValue(3);
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("20000"));
        QTimer::singleShot(200, &window, [&window] { testing::Press(window, "BStop"); });
        testing::GenerateRows(window);
        QTRY_VERIFY(!window.running());
        QVERIFY(testing::Find<ElidedLabel>(window, "LHinweis")->isVisible());
        QVERIFY(window.minimumSizeHint().width() <= TFMain::kNormalWidth);
        QCOMPARE(window.width(), TFMain::kNormalWidth);
    }

    void aStalledRunSaysSo() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        // 16 of 35 without two neighbours: hardly a candidate passes, though no ceiling says so.
        testing::Find<RadioGroup>(window, "RG2")->setItemIndex(0);
        testing::Find<RadioGroup>(window, "RG1")->setItemIndex(13);
        testing::Find<RadioGroup>(window, "RGPaar")->setItemIndex(5);
        testing::Find<QSlider>(window, "Track1")->setValue(15);
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("5"));
        auto* hint = testing::Find<ElidedLabel>(window, "LObergrenze");
        QVERIFY(!hint->filled());
        QElapsedTimer clock;
        clock.start();
        auto* watcher = new QTimer(&window);
        watcher->setInterval(5);
        connect(watcher, &QTimer::timeout, &window, [&window, &clock, hint, watcher] {
            // The hint comes after a long stretch without a new row; give up after a minute.
            if (hint->text().contains(QStringLiteral("keine neue Reihe")) ||
                clock.elapsed() > 60000) {
                watcher->stop();
                testing::Press(window, "BStop");
            }
        });
        watcher->start();
        testing::GenerateRows(window);
        QVERIFY(clock.elapsed() <= 60000);
        // The run is over: the hint speaks of the settings again.
        QVERIFY(!hint->filled());
    }

    void refusalsAndBadCountsAreReported() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("0"));
        testing::GenerateRows(window);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Information), 1);
        QCOMPARE(window.table().rowCount(), 55);

        testing::Find<QLineEdit>(window, "eAnz")->setText(QString());
        testing::GenerateRows(window);
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("'''' ist kein gültiger Integer-Wert."));
        QCOMPARE(window.table().rowCount(), 55);

        // Six bankers with row size 6 can never give a row.
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("5"));
        for (int n = 1; n <= 6; ++n) {
            QTest::mouseClick(testing::Find<BoardPanel>(window, "P4")->button(n), Qt::RightButton);
        }
        testing::GenerateRows(window);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Information), 2);
        QVERIFY(!window.running());

        // The count field takes digits only, five at most.
        testing::Find<QLineEdit>(window, "eAnz")->clear();
        QTest::keyClicks(testing::Find<QLineEdit>(window, "eAnz"), QStringLiteral("12a-3x4567"));
        QCOMPARE(testing::Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("12345"));
    }

    void statusChangeRecoloursCells() {
        TestContext env;
        TFMain window(env.context());
        window.resize(1227, 674);
        window.show();
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("40"));
        testing::GenerateRows(window);
        // Find a cell that shows 7 or take the number of the first cell.
        const int number = std::stoi(window.table().cell(1, 1));
        QAbstractItemModel* model = testing::Find<RowTableView>(window, "g1")->model();
        const QRect cell =
            testing::Find<RowTableView>(window, "g1")->visualRect(model->index(0, 0));
        const QPoint probe = cell.topLeft() + QPoint(2, cell.height() - 3);

        QImage before = testing::Find<RowTableView>(window, "g1")->viewport()->grab().toImage();
        QCOMPARE(before.pixelColor(probe), ToQColor(StatusColour(NumberStatus::Normal)));
        // An empty cell is white.
        const QRect empty =
            testing::Find<RowTableView>(window, "g1")->visualRect(model->index(0, 10));
        QCOMPARE(before.pixelColor(empty.topLeft() + QPoint(2, empty.height() - 3)),
                 QColor(Qt::white));

        testing::SetStatus(window, number, NumberStatus::Bank);
        QImage after = testing::Find<RowTableView>(window, "g1")->viewport()->grab().toImage();
        QCOMPARE(after.pixelColor(probe), QColor(0xB6, 0xD0, 0xFF));
    }

    void settingsRoundTripWritesTheExactFile() {
        TestContext env;
        const std::string ini = env.folders().settingsFile();
        {
            TFMain window(env.context());
            window.show();
            QVERIFY(window.close());
        }
        QCOMPARE(testing::ReadFileBytes(ini),
                 std::string("[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n[Losfix]\r\nZahlen=3\r\n"
                             "Menge=5\r\nKongruenz=2\r\nReihen=120\r\n[Wach]\r\nStand=0\r\n"));
        {
            TFMain window(env.context());
            window.show();
            testing::Find<RadioGroup>(window, "RG2")->setItemIndex(11);
            testing::Find<RadioGroup>(window, "RG1")->setItemIndex(13);
            testing::Find<QSlider>(window, "Track1")->setValue(7);
            testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("333"));
            testing::Press(window, "BBreit");
            window.move(40, 60);
            testing::Press(window, "bsSkinSpeedButton16");
            window.move(300, 300);
            QVERIFY(window.close());
        }
        {
            TFMain window(env.context());
            QCOMPARE(testing::Find<RadioGroup>(window, "RG2")
                         ->itemText(testing::Find<RadioGroup>(window, "RG2")->itemIndex()),
                     QStringLiteral("90"));
            QCOMPARE(window.board().poolSize(), 90);
            QCOMPARE(testing::Find<RadioGroup>(window, "RG1")
                         ->itemText(testing::Find<RadioGroup>(window, "RG1")->itemIndex()),
                     QStringLiteral("16"));
            QCOMPARE(testing::Find<QSlider>(window, "Track1")->value(), 7);
            QCOMPARE(testing::Find<QLabel>(window, "Lkon")->text(), QStringLiteral("7"));
            QCOMPARE(testing::Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("333"));
            QCOMPARE(window.width(), 1227);
            // The position of the button press, not of the close.
            QCOMPARE(window.pos(), QPoint(40, 60));
        }
    }

    void settingsWithOnlyAPositionUseTheReadDefaults() {
        TestContext env;
        QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(),
                                        "[Position]\r\nFMain-left=12\r\nFMain-top=34\r\n"));
        TFMain window(env.context());
        QCOMPARE(testing::Find<QLineEdit>(window, "eAnz")->text(), QStringLiteral("12"));
        QCOMPARE(testing::Find<QSlider>(window, "Track1")->value(), 15);
        QCOMPARE(testing::Find<QLabel>(window, "Lkon")->text(), QStringLiteral("egal"));
        QCOMPARE(window.board().poolSize(), 49);
        QCOMPARE(window.board().rowSize(), 6);
        QCOMPARE(window.pos(), QPoint(12, 34));
    }

    void poolNinetyFromSettingsIsLaidOutOnce() {
        TestContext env;
        QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(), "[Losfix]\r\nMenge=11\r\n"));
        TFMain window(env.context());
        window.show();
        QVERIFY(window.boardLaidOut());
        QVERIFY(testing::Find<BoardPanel>(window, "P4")->button(90)->isVisible());
        QCOMPARE(testing::Find<BoardPanel>(window, "P4")->button(90)->geometry(),
                 QRect(5 * 40 + 3, 12 * 18 + 2 + 6, 39, 18));
        QCOMPARE(testing::Find<BoardPanel>(window, "P4")->button(1)->font().pixelSize(),
                 PointsToPixels(8));
    }

    void refusedSettingsWriteKeepsTheWindowOpen() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        // A folder where the settings file should be makes every write fail.
        QVERIFY(QDir().mkpath(QString::fromStdString(env.folders().settingsFile())));
        QSignalSpy closed(&window, &TFMain::closed);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(closed.count(), 0);
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 "In " + env.folders().settingsFile() + " kann nicht geschrieben werden.");
    }

    void wideAndNormalWidth() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QVERIFY(testing::Find<QToolButton>(window, "BBreit")->isVisible());
        QVERIFY(!testing::Find<QToolButton>(window, "Bnormal")->isVisible());
        testing::Press(window, "BBreit");
        QCOMPARE(window.width(), 1227);
        QVERIFY(!testing::Find<QToolButton>(window, "BBreit")->isVisible());
        QVERIFY(testing::Find<QToolButton>(window, "Bnormal")->isVisible());
        testing::Press(window, "Bnormal");
        QCOMPARE(window.width(), 1078);
        QVERIFY(testing::Find<QToolButton>(window, "BBreit")->isVisible());
        QVERIFY(window.maximumWidth() <= 1240);
        QVERIFY(window.maximumHeight() <= 725);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void headerButtonsOpenTheOnlineWindowsAndPages() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Press(window, "bsSkinSpeedButton13");
        QWidget* update = FindWindowNamed(QStringLiteral("FUpdate"));
        QVERIFY(update != nullptr && update->isVisible());
        testing::Press(window, "bsSkinSpeedButton14");
        QWidget* info = FindWindowNamed(QStringLiteral("FInfo"));
        QVERIFY(info != nullptr && info->isVisible());
        update->close();
        info->close();
        testing::Press(window, "BPay");
        testing::Press(window, "Image1");
        QCOMPARE(env.shell.openedUrls.size(), std::size_t{2});
        // Nothing was fetched for the button; the picture brought the donation status.
        QCOMPARE(env.network.requests.size(), std::size_t{1});
        QCOMPARE(env.dialogs.messages.size(), std::size_t{0});
    }

    void closingDuringARunEndsTheRunFirst() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QSignalSpy closed(&window, &TFMain::closed);
        // Congruence 1 with 6 of 49 admits at most 73 rows; 500 are never reached.
        testing::Find<QSlider>(window, "Track1")->setValue(1);
        testing::Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("500"));
        QTimer::singleShot(50, &window, [&window] { window.close(); });
        testing::GenerateRows(window);
        QVERIFY(!window.running());
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
        QVERIFY(QFile::exists(QString::fromStdString(env.folders().settingsFile())));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
