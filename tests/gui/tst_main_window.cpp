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
#include "gui/BoardPanel.h"
#include "gui/CaptionButton.h"
#include "gui/DistributionPanel.h"
#include "gui/RadioGroup.h"
#include "gui/RowTableView.h"
#include "gui/Style.h"
#include "gui/TFMain.h"
#include "gui/TFStart.h"
#include "support/TestContext.h"

using namespace losfix;
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
        if (FilledRows(window.table()) >= rows && window.BStop->isEnabled()) {
            timer->stop();
            QTest::mouseClick(window.BStop, Qt::LeftButton);
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
        QVERIFY(!start.Weiter->isEnabled());
        TFMain window(context);
        start.setInitializationDone();
        QVERIFY(start.Weiter->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("Losfix 2.0     v1.5.0.0"));

        QCOMPARE(window.RG2->itemText(window.RG2->itemIndex()), QStringLiteral("49"));
        QCOMPARE(window.RG1->itemText(window.RG1->itemIndex()), QStringLiteral("6"));
        QCOMPARE(window.eAnz->text(), QStringLiteral("120"));
        QCOMPARE(window.Track1->value(), 2);
        QCOMPARE(window.Lkon->text(), QStringLiteral("2"));
        QVERIFY(!window.BQuick1->isEnabled());
        QVERIFY(!window.BQuick2->isEnabled());
        QVERIFY(!window.BQuick3->isEnabled());
        QCOMPARE(window.width(), 1078);
        QCOMPARE(window.height(), 674);
        QCOMPARE(window.pos(), QPoint(0, 0));
        QVERIFY(!window.BSort->isEnabled());
        QVERIFY(!window.BUnSort->isEnabled());
        QVERIFY(!window.BStop->isEnabled());

        // The board shows 49 buttons on 7 x 7, the table its header and 54 empty rows.
        window.show();
        int visible = 0;
        for (int n = 1; n <= 90; ++n) {
            visible += window.P4->button(n)->isVisible() ? 1 : 0;
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
        TestContext env;
        QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(),
                                        "[Position]\r\nFMain-left=-30000\r\nFMain-top=20000\r\n"));
        TFMain window(env.context());
        QVERIFY(QGuiApplication::screenAt(window.pos() + QPoint(40, 10)) != nullptr);
    }

    void mouseButtonsStepStatuses() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        TBZahl* seven = window.P4->button(7);
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
        window.eAnz->setText(QStringLiteral("120"));
        window.Track1->setValue(15);
        QCOMPARE(window.Lkon->text(), QStringLiteral("egal"));
        QTest::mouseClick(window.bsSkinSpeedButton2, Qt::LeftButton);

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
        QVERIFY(window.BSort->isEnabled());
        QVERIFY(!window.BUnSort->isEnabled());
        QVERIFY(window.BSortH->isEnabled());
        QVERIFY(!window.BStop->isEnabled());
        QVERIFY(window.bsSkinSpeedButton2->isEnabled());
        QCOMPARE(window.sortKeySize(), 6);
        // The distribution shows the counts.
        QCOMPARE(window.P3->frame(1)->countText(), QString::number(window.drawCounts()[0]));
        // The model shows what the table holds.
        QCOMPARE(window.g1->model()->rowCount(), 120);
        QCOMPARE(window.g1->model()->index(0, 0).data().toString(),
                 QString::fromStdString(table.cell(1, 1)));
    }

    void stopLeavesExactlyTheAcceptedRows() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        // Three bankers and congruence 2 admit a single row; the run goes on until stopped.
        for (int n : {3, 17, 40}) {
            QTest::mouseClick(window.P4->button(n), Qt::RightButton);
        }
        window.Track1->setValue(2);
        window.eAnz->setText(QStringLiteral("30"));
        StopAfterRows(window, 1);
        window.GenerateRows();

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
        QVERIFY(window.LHinweis->isVisibleTo(&window));
        QCOMPARE(window.LHinweis->text(), QStringLiteral("Prozess gestoppt"));
        QVERIFY(window.Timer1->isActive());
        QCOMPARE(window.Timer1->interval(), 5000);
        QVERIFY(!window.BStop->isEnabled());
        QVERIFY(window.BSort->isEnabled());
        // The hint said beforehand that no more than one row can exist.
        QVERIFY(window.LObergrenze->isVisibleTo(&window));
        QVERIFY(window.LObergrenze->text().contains(QStringLiteral("höchstens 1 Reihe")));
        // When the timer fires the notice goes away and the timer stops.
        window.Timer1->setInterval(1);
        QTRY_VERIFY(!window.LHinweis->isVisibleTo(&window));
        QVERIFY(!window.Timer1->isActive());
    }

    void aStalledRunSaysSoInTheProgressLine() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        for (int n : {1, 2, 3}) {
            window.SetStatus(n, NumberStatus::Bank);
        }
        window.eAnz->setText(QStringLiteral("5"));
        QElapsedTimer clock;
        clock.start();
        auto* watcher = new QTimer(&window);
        watcher->setInterval(5);
        connect(watcher, &QTimer::timeout, &window, [&window, &clock, watcher] {
            // The hint comes after a long stretch without a new row; give up after a minute.
            if (window.LFortschritt->text().contains(QStringLiteral("keine neue Reihe")) ||
                clock.elapsed() > 60000) {
                watcher->stop();
                window.RequestStop();
            }
        });
        watcher->start();
        window.GenerateRows();
        QVERIFY(clock.elapsed() <= 60000);
        QCOMPARE(window.table().cell(4, 2), std::string());
        QVERIFY(!window.table().cell(4, 1).empty());
    }

    void refusalsAndBadCountsAreReported() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        window.eAnz->setText(QStringLiteral("0"));
        window.GenerateRows();
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Information), 1);
        QCOMPARE(window.table().rowCount(), 55);

        window.eAnz->setText(QString());
        window.GenerateRows();
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("'''' ist kein gültiger Integer-Wert."));
        QCOMPARE(window.table().rowCount(), 55);

        // Six bankers with row size 6 can never give a row.
        window.eAnz->setText(QStringLiteral("5"));
        for (int n = 1; n <= 6; ++n) {
            QTest::mouseClick(window.P4->button(n), Qt::RightButton);
        }
        window.GenerateRows();
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Information), 2);
        QVERIFY(!window.running());

        // The count field takes digits only, five at most.
        window.eAnz->clear();
        QTest::keyClicks(window.eAnz, QStringLiteral("12a-3x4567"));
        QCOMPARE(window.eAnz->text(), QStringLiteral("12345"));
    }

    void statusChangeRecoloursCells() {
        TestContext env;
        TFMain window(env.context());
        window.resize(1227, 674);
        window.show();
        window.eAnz->setText(QStringLiteral("40"));
        window.GenerateRows();
        // Find a cell that shows 7 or take the number of the first cell.
        const int number = std::stoi(window.table().cell(1, 1));
        QAbstractItemModel* model = window.g1->model();
        const QRect cell = window.g1->visualRect(model->index(0, 0));
        const QPoint probe = cell.topLeft() + QPoint(2, cell.height() - 3);

        QImage before = window.g1->viewport()->grab().toImage();
        QCOMPARE(before.pixelColor(probe), ToQColor(StatusColour(NumberStatus::Normal)));
        // An empty cell is white.
        const QRect empty = window.g1->visualRect(model->index(0, 10));
        QCOMPARE(before.pixelColor(empty.topLeft() + QPoint(2, empty.height() - 3)),
                 QColor(Qt::white));

        window.SetStatus(number, NumberStatus::Bank);
        QImage after = window.g1->viewport()->grab().toImage();
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
            window.RG2->setItemIndex(11);
            window.RG1->setItemIndex(13);
            window.Track1->setValue(7);
            window.eAnz->setText(QStringLiteral("333"));
            window.SetWideWidth();
            window.move(40, 60);
            window.SavePosition();
            window.move(300, 300);
            QVERIFY(window.close());
        }
        {
            TFMain window(env.context());
            QCOMPARE(window.RG2->itemText(window.RG2->itemIndex()), QStringLiteral("90"));
            QCOMPARE(window.board().poolSize(), 90);
            QCOMPARE(window.RG1->itemText(window.RG1->itemIndex()), QStringLiteral("16"));
            QCOMPARE(window.Track1->value(), 7);
            QCOMPARE(window.Lkon->text(), QStringLiteral("7"));
            QCOMPARE(window.eAnz->text(), QStringLiteral("333"));
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
        QCOMPARE(window.eAnz->text(), QStringLiteral("12"));
        QCOMPARE(window.Track1->value(), 15);
        QCOMPARE(window.Lkon->text(), QStringLiteral("egal"));
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
        QVERIFY(window.P4->button(90)->isVisible());
        QCOMPARE(window.P4->button(90)->geometry(), QRect(5 * 40 + 3, 12 * 18 + 2 + 6, 39, 18));
        QCOMPARE(window.P4->button(1)->font().pixelSize(), PointsToPixels(8));
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
        QVERIFY(window.BBreit->isVisible());
        QVERIFY(!window.Bnormal->isVisible());
        QTest::mouseClick(window.BBreit, Qt::LeftButton);
        QCOMPARE(window.width(), 1227);
        QVERIFY(!window.BBreit->isVisible());
        QVERIFY(window.Bnormal->isVisible());
        QTest::mouseClick(window.Bnormal, Qt::LeftButton);
        QCOMPARE(window.width(), 1078);
        QVERIFY(window.BBreit->isVisible());
        QVERIFY(window.maximumWidth() <= 1240);
        QVERIFY(window.maximumHeight() <= 725);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void closingDuringARunEndsTheRunFirst() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QSignalSpy closed(&window, &TFMain::closed);
        // Congruence 1 with 6 of 49 admits at most 73 rows; 500 are never reached.
        window.Track1->setValue(1);
        window.eAnz->setText(QStringLiteral("500"));
        QTimer::singleShot(50, &window, [&window] { window.close(); });
        window.GenerateRows();
        QVERIFY(!window.running());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
        QVERIFY(QFile::exists(QString::fromStdString(env.folders().settingsFile())));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
