// Runs under a real X server (Xvfb) with the xcb platform: sizes and fonts there are the ones
// users get, and a label that widens a layout shows only here.
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "gui/app/TFMain.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/RadioGroup.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::TestContext;

namespace {

int FilledRows(const StringGrid& table) {
    int filled = 0;
    for (int r = 1; r < table.rowCount(); ++r) {
        filled += table.cell(1, r).empty() ? 0 : 1;
    }
    return filled;
}

// A run that cannot finish (congruence 3 allows far fewer than 20,000 rows), stopped after a
// moment; returns while the stop notice is still shown.
void StoppedRun(TFMain& window) {
    Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("20000"));
    Find<QSlider>(window, "Track1")->setValue(3);
    QTimer::singleShot(300, &window, [&window] { testing::Press(window, "BStop"); });
    testing::GenerateRows(window);
    QTRY_VERIFY(!window.running());
}

}  // namespace

class X11MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testing::InitGuiTestEnvironment();
    }

    void transientTextsNeverChangeTheWidth() {
        for (const int width : {TFMain::kNormalWidth, TFMain::kWideWidth}) {
            TestContext env;
            TFMain window(env.context());
            window.resize(width, TFMain::kDefaultHeight);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.width(), width);
            const int minimumWidth = window.minimumSizeHint().width();
            QVERIFY(minimumWidth <= TFMain::kNormalWidth);
            StoppedRun(window);
            QVERIFY(Find<ElidedLabel>(window, "LHinweis")->isVisible());
            QVERIFY(Find<ElidedLabel>(window, "LObergrenze")->filled());
            QTest::qWait(50);
            // Not even the smallest width may follow the texts.
            QCOMPARE(window.minimumSizeHint().width(), minimumWidth);
            QCOMPARE(window.width(), width);
            QVERIFY(window.close());
            const std::string ini = testing::ReadFileBytes(env.folders().settingsFile());
            QVERIFY(ini.find("Breite=" + std::to_string(width) + "\r\n") != std::string::npos);
        }
    }

    void statusLinesHaveAStablePlace() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto* table = Find<QWidget>(window, "g1");
        const QRect before = table->geometry();
        auto* progress = Find<ElidedLabel>(window, "LFortschritt");
        Find<QSlider>(window, "Track1")->setValue(1);
        progress->setText(
            QStringLiteral("Reihe 1 von 500, 1.000.000 Kandidaten geprüft – seit "
                           "999.999 Kandidaten keine neue Reihe. Vermutlich sind "
                           "keine weiteren Reihen möglich: mit Stopp beenden."));
        QTest::qWait(20);
        QCOMPARE(table->geometry(), before);
        // What does not fit is cut with an ellipsis; the tooltip has it all.
        QVERIFY(progress->shownLines().size() <= 2);
        QVERIFY(progress->shownLines().last().endsWith(QChar(0x2026)));
        QCOMPARE(progress->toolTip(), progress->text());
    }

    void theHintFollowsTheSettingsAndTheProgressLineTheTable() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        auto* hint = Find<ElidedLabel>(window, "LObergrenze");
        auto* progress = Find<ElidedLabel>(window, "LFortschritt");
        auto* count = Find<QLineEdit>(window, "eAnz");
        QVERIFY(!hint->filled());
        // 6 of 49 with at most one common number: 73 rows at the most.
        Find<QSlider>(window, "Track1")->setValue(1);
        QVERIFY(hint->text().contains(QStringLiteral("höchstens 73 Reihen")));
        count->setText(QStringLiteral("73"));
        QVERIFY(!hint->filled());
        count->setText(QStringLiteral("74"));
        QVERIFY(hint->filled());
        // 35 numbers allow fewer rows, 7 of a row and congruence 15 allow plenty.
        Find<RadioGroup>(window, "RG2")->setItemIndex(0);
        QVERIFY(hint->text().contains(QStringLiteral("höchstens 35 Reihen")));
        Find<QSlider>(window, "Track1")->setValue(15);
        QVERIFY(!hint->filled());
        // Three bankers in every row, but at most two numbers in common: one row.
        Find<QSlider>(window, "Track1")->setValue(2);
        Find<RadioGroup>(window, "RG2")->setItemIndex(5);
        for (int n : {1, 2, 3}) {
            testing::SetStatus(window, n, NumberStatus::Bank);
        }
        QVERIFY(hint->text().contains(QStringLiteral("höchstens 1 Reihe ")));

        testing::SetStatus(window, 1, NumberStatus::Normal);
        testing::SetStatus(window, 2, NumberStatus::Normal);
        testing::SetStatus(window, 3, NumberStatus::Normal);
        Find<QSlider>(window, "Track1")->setValue(15);
        testing::GenerateRows(window, 10);
        QVERIFY(progress->text().startsWith(QStringLiteral("10 von 10 Reihen gebildet")));
        // Saved and loaded again, the table no longer comes from that run.
        env.dialogs.saveAnswers.push_back(env.folders().rows + "zehn.lrei");
        testing::Press(window, "bsSkinSpeedButton7");
        env.dialogs.openAnswers.push_back(env.folders().rows + "zehn.lrei");
        testing::Press(window, "bsSkinSpeedButton3");
        QCOMPARE(FilledRows(window.table()), 10);
        QVERIFY(!progress->filled());
    }

    void anAccessiblePressReturnsBeforeTheRun() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        auto* generate = Find<QToolButton>(window, "bsSkinSpeedButton2");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(generate);
        QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // The press came back before a single row was drawn; the run follows from the event loop.
        QVERIFY(!window.running());
        QCOMPARE(FilledRows(window.table()), 0);
        QTRY_COMPARE(FilledRows(window.table()), 120);
        QVERIFY(!window.running());
    }

    void aNewRunShowsTheTableFromItsStart() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::GenerateRows(window, 200);
        auto* table = Find<QAbstractScrollArea>(window, "g1");
        table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
        testing::GenerateRows(window, 200);
        QCOMPARE(table->horizontalScrollBar()->value(), 0);
        QCOMPARE(table->verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(X11MainWindowTest)
#include "tst_x11_main_window.moc"
