// The evaluation windows on a real X server (Xvfb, the xcb platform): their sizes with the
// longest texts and the largest tables, and the main window's width with the new button.
// With LOSFIX_SHOTS=<folder> the screen is also saved at every step (ImageMagick's import).
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"
#include "gui/app/TFMain.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/eval/TFKickAuswertung.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::TestContext;

namespace {

void Shot(const char* name) {
    const QByteArray folder = qgetenv("LOSFIX_SHOTS");
    if (folder.isEmpty()) {
        return;
    }
    QTest::qWait(150);
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 QString::fromUtf8(folder) + QLatin1Char('/') +
                                                     QLatin1String(name) + QStringLiteral(".png")});
}

// A row file of `count` rows of `size` numbers from 1..pool, each row different.
std::string RowFileOf(int count, int size, int pool) {
    StringGrid table(kRowTableColumns, count + 1, 1, 1);
    std::uint32_t seed = 12345;
    for (int r = 1; r <= count; ++r) {
        NumberSet row;
        while (row.count() < size) {
            seed = seed * 134775813U + 1U;
            row.add(
                static_cast<int>((std::uint64_t{seed} * static_cast<std::uint32_t>(pool)) >> 32) +
                1);
        }
        table.setCell(0, r, std::to_string(r));
        int column = 1;
        row.forEach([&](int n) { table.setCell(column++, r, std::to_string(n)); });
    }
    return EncodeRowFile(table);
}

void LoadRows(TestContext& env, TFMain& window, const std::string& bytes) {
    const std::string path = env.folders().rows + "viele.lrei";
    QVERIFY(testing::WriteFileBytes(path, bytes));
    env.dialogs.openAnswers.push_back(path);
    testing::Press(window, "bsSkinSpeedButton3");
}

// Clicks an outcome button until the slot has the status.
void SetTip(TFKick& window, int slot, TipStatus status) {
    const QByteArray name = QStringLiteral("but%1").arg(slot).toUtf8();
    for (int step = 0; step < kTipStatusCount && window.state().board.status(slot) != status;
         ++step) {
        QTest::mouseClick(Find<TipButton>(window, name.constData()), Qt::LeftButton);
    }
}

}  // namespace

class X11EvaluationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testing::InitGuiTestEnvironment();
    }

    void lotteryWindowWithManyLongRows() {
        TestContext env;
        TFMain window(env.context());
        window.resize(TFMain::kNormalWidth, TFMain::kDefaultHeight);
        window.setWindowOpacity(1.0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int minimumWidth = window.minimumSizeHint().width();
        QVERIFY(minimumWidth <= TFMain::kNormalWidth);
        QCOMPARE(window.width(), TFMain::kNormalWidth);
        Shot("lotto-0-main");

        LoadRows(env, window, RowFileOf(99'999, 16, 49));
        testing::Press(window, "BAuswerten");
        auto* evaluation = window.findChild<TFAuswertung*>(QStringLiteral("FAuswertung"));
        QVERIFY(evaluation != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(evaluation));
        Find<QLineEdit>(*evaluation, "eZiehung")->setText(QStringLiteral("3 12 19 27 33 41"));
        Find<QLineEdit>(*evaluation, "eZusatz")->setText(QStringLiteral("7"));
        testing::Press(*evaluation, "BTreffer");
        QVERIFY(!Find<QLabel>(*evaluation, "LZusammenfassung")->text().isEmpty());
        Shot("lotto-1-hits");
        // The marks in the main table, with the evaluation aside.
        const QPoint place = evaluation->pos();
        evaluation->move(660, 300);
        Shot("lotto-1-marks");
        evaluation->move(place);

        // 20 of 49 cannot be enumerated for 99,999 rows in time: the sample, stopped halfway.
        Find<QSpinBox>(*evaluation, "eGezogen")->setValue(20);
        testing::Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(evaluation->computing());
        QTest::qWait(1500);
        Shot("lotto-2-running");
        testing::Press(*evaluation, "BStopp");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        Shot("lotto-3-stopped");

        // Draws of 6 for the same rows: 14,892 subsets a row to count before the first draw,
        // most of a minute. The progress moves meanwhile and a stop ends it at once.
        Find<QSpinBox>(*evaluation, "eGezogen")->setValue(6);
        auto* progress = Find<QProgressBar>(*evaluation, "PFortschritt");
        testing::Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(evaluation->computing());
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 60000);
        Shot("lotto-4-tables");
        testing::Press(*evaluation, "BStopp");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 60000);
        const QString stopped = Find<QLabel>(*evaluation, "LBasis")->text();
        QVERIFY2(stopped.startsWith(QStringLiteral("Berechnung gestoppt nach 0 von 13.983.816")),
                 qPrintable(stopped));

        // 99,999 rows of 6 numbers: exact over every draw.
        LoadRows(env, window, RowFileOf(99'999, 6, 49));
        Find<QSpinBox>(*evaluation, "eGezogen")->setValue(6);
        testing::Press(*evaluation, "BTreffer");
        testing::Press(*evaluation, "BBerechnen");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 120000);
        QVERIFY(Find<QLabel>(*evaluation, "LBasis")->text().startsWith(QStringLiteral("Exakt")));
        Shot("lotto-5-exact");

        // The main window keeps its width with the new button and the marks.
        QCOMPARE(window.width(), TFMain::kNormalWidth);
        QCOMPARE(window.minimumSizeHint().width(), minimumWidth);
        // The evaluation window fits a small screen.
        QVERIFY(evaluation->minimumSizeHint().width() <= 1000);
        QVERIFY(evaluation->minimumSizeHint().height() <= 760);

        // The program ends during a long computation: the windows go, and it with them.
        LoadRows(env, window, RowFileOf(99'999, 16, 49));
        testing::Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(evaluation->computing());
    }

    void footballWindowWithManyRows() {
        TestContext env;
        ImageSession images;
        TFKick football(env.context(), images);
        football.showAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(&football));
        const QSize size = football.size();
        for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
            SetTip(football, slot, slot % 3 == 1 ? TipStatus::TipFavIII : TipStatus::TipFavI);
        }
        Find<QLineEdit>(football, "eAnz")->setText(QStringLiteral("99999"));
        testing::Press(football, "bsSkinSpeedButton2");
        QTRY_VERIFY_WITH_TIMEOUT(!football.running(), 120000);
        Shot("kick-0-main");
        testing::Press(football, "BAuswerten");
        auto* evaluation = football.findChild<TFKickAuswertung*>(QStringLiteral("FKickAuswertung"));
        QVERIFY(evaluation != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(evaluation));
        Find<QLineEdit>(*evaluation, "eErgebnisse")
            ->setText(QStringLiteral("1,0,2,1,1,0,2,2,1,0,1,2,0"));
        testing::Press(*evaluation, "BTreffer");
        Shot("kick-1-hits");
        testing::Press(*evaluation, "BBerechnen");
        QTRY_VERIFY(evaluation->computing());
        Shot("kick-2-running");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluation->computing(), 120000);
        Shot("kick-3-odds");
        QCOMPARE(football.size(), size);
        QVERIFY(evaluation->minimumSizeHint().width() <= 1000);
        QVERIFY(evaluation->minimumSizeHint().height() <= 760);
    }
};

QTEST_MAIN(X11EvaluationTest)
#include "tst_x11_evaluation.moc"
