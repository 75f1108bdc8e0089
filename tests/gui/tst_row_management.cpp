#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "core/lottery/RowTable.h"
#include "gui/app/TFMain.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/TFAbbild.h"
#include "gui/lottery/BoardPanel.h"
#include "gui/rows/DistributionPanel.h"
#include "gui/rows/RowTableView.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::ScriptedDialogs;
using losfix::testing::TestContext;

namespace {

void Generate(TFMain& window, int rows) {
    testing::Find<QLineEdit>(window, "eAnz")->setText(QString::number(rows));
    testing::Press(window, "bsSkinSpeedButton2");
}

}  // namespace

class RowManagementTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void saveLoadSaveOfAGeneratedTable() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Generate(window, 120);
        const StringGrid generated = window.table();

        const std::string first = env.folders().rows + "reihen";
        env.dialogs.saveAnswers.push_back(first);
        testing::Press(window, "bsSkinSpeedButton7");
        QCOMPARE(env.dialogs.saveRequests.back().title, std::string("Reihen-Datei speichern"));
        QCOMPARE(env.dialogs.saveRequests.back().folder, env.folders().rows);
        QCOMPARE(env.dialogs.saveRequests.back().filterPattern, std::string("*.lrei"));
        QCOMPARE(testing::Find<QLabel>(window, "LDatei2")->text(), QStringLiteral("reihen.lrei"));
        const std::string firstBytes = testing::ReadFileBytes(first + ".lrei");
        QCOMPARE(std::count(firstBytes.begin(), firstBytes.end(), '\n'), 120L);
        // Each line: the quoted label, six numbers, ten commas for the empty columns.
        const std::string firstLine = firstBytes.substr(0, firstBytes.find("\r\n"));
        QCOMPARE(firstLine.substr(firstLine.size() - 10), std::string(10, ','));
        QCOMPARE(firstLine.front(), '"');

        // Loading replaces the table; cells that were empty now hold a single space.
        Generate(window, 5);
        env.dialogs.openAnswers.push_back(first + ".lrei");
        testing::Press(window, "bsSkinSpeedButton3");
        QCOMPARE(env.dialogs.openRequests.back().title, std::string("Reihen-Datei öffnen"));
        QCOMPARE(window.table().rowCount(), 121);
        for (int r = 1; r <= 120; ++r) {
            for (int c = 0; c <= 6; ++c) {
                QCOMPARE(window.table().cell(c, r), generated.cell(c, r));
            }
            QCOMPARE(window.table().cell(7, r), std::string(" "));
        }
        QCOMPARE(testing::Find<RowTableView>(window, "g1")->model()->rowCount(), 120);

        const std::string second = env.folders().rows + "wieder.lrei";
        env.dialogs.saveAnswers.push_back(second);
        testing::Press(window, "bsSkinSpeedButton7");
        const std::string secondBytes = testing::ReadFileBytes(second);
        const std::string secondLine = secondBytes.substr(0, secondBytes.find("\r\n"));
        QCOMPARE(
            secondLine, firstLine.substr(0, firstLine.size() - 10) + [] {
                std::string tail;
                for (int i = 0; i < 10; ++i) {
                    tail += ",\" \"";
                }
                return tail;
            }());
    }

    void rowFileErrorsKeepTheTable() {
        TestContext env;
        TFMain window(env.context());
        Generate(window, 3);
        const StringGrid before = window.table();
        const std::string missing = env.folders().rows + "fehlt.lrei";
        env.dialogs.openAnswers.push_back(missing);
        testing::Press(window, "bsSkinSpeedButton3");
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Error)
                    .rfind("Datei " + missing + " kann nicht geöffnet werden. ", 0) == 0);
        QVERIFY(window.table() == before);
        QCOMPARE(testing::Find<QLabel>(window, "LDatei2")->text(), QString());

        // A save into a missing folder fails and leaves an existing file as it was.
        env.dialogs.saveAnswers.push_back(env.path("nirgends/reihen.lrei"));
        testing::Press(window, "bsSkinSpeedButton7");
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Error)
                    .rfind("Datei \"" + env.path("nirgends/reihen.lrei") +
                               "\" kann nicht erstellt werden. ",
                           0) == 0);
        QCOMPARE(testing::Find<QLabel>(window, "LDatei2")->text(), QString());
    }

    void sortAndUndoRestoreEveryCell() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Generate(window, 60);
        const StringGrid before = window.table();
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        testing::Press(window, "BSort");
        QVERIFY(!testing::Find<QToolButton>(window, "BSort")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "BUnSort")->isEnabled());
        const StringGrid& sorted = window.table();
        for (int r = 1; r <= 60; ++r) {
            QCOMPARE(QString::fromStdString(sorted.cell(0, r)).trimmed(), QString::number(r));
        }
        for (int r = 1; r < 60; ++r) {
            std::vector<int> upper;
            std::vector<int> lower;
            for (int c = 1; c <= 6; ++c) {
                upper.push_back(std::stoi(sorted.cell(c, r)));
                lower.push_back(std::stoi(sorted.cell(c, r + 1)));
            }
            QVERIFY(upper <= lower);
        }
        testing::Press(window, "BUnSort");
        QVERIFY(window.table() == before);
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BUnSort")->isEnabled());
    }

    void sortFailsOnLoadedShorterRows() {
        TestContext env;
        TFMain window(env.context());
        Generate(window, 4);
        const std::string file = env.folders().rows + "kurz.lrei";
        // Equal up to the blank cells, so the comparison reaches a cell holding a single space.
        QVERIFY(testing::WriteFileBytes(file, "\"   1\",1,2,3,,,\r\n\"   2\",1,2,3,,,\r\n"));
        env.dialogs.openAnswers.push_back(file);
        testing::Press(window, "bsSkinSpeedButton3");
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        testing::Press(window, "BSort");
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("Werte entsprechen nicht dem Typ Zahl."));
        QVERIFY(testing::Find<QToolButton>(window, "BSort")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BUnSort")->isEnabled());
    }

    void distributionButtonsFollowTheirStates() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QVERIFY(!testing::Find<QToolButton>(window, "BSortH")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BSortN")->isEnabled());
        Generate(window, 50);
        QVERIFY(testing::Find<QToolButton>(window, "BSortH")->isEnabled());
        testing::Press(window, "BSortH");
        QVERIFY(testing::Find<DistributionPanel>(window, "P3")->frequencyOrder());
        QVERIFY(!testing::Find<QToolButton>(window, "BSortH")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "BSortN")->isEnabled());
        // A new run puts the frames back into numeric order first.
        Generate(window, 10);
        QVERIFY(!testing::Find<DistributionPanel>(window, "P3")->frequencyOrder());
        QVERIFY(!testing::Find<QToolButton>(window, "BSortN")->isEnabled());
        QVERIFY(testing::Find<QToolButton>(window, "BSortH")->isEnabled());
        int total = 0;
        for (int n = 1; n <= 49; ++n) {
            total += testing::Find<DistributionPanel>(window, "P3")->frame(n)->countText().toInt();
        }
        QCOMPARE(total, 60);
    }

    void quickSlotsSaveAndOpenSelections() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        QVERIFY(!testing::Find<QToolButton>(window, "BQuick2")->isEnabled());
        // Pool 90, row size 16, some statuses.
        testing::Find<RadioGroup>(window, "RG2")->setItemIndex(11);
        testing::Find<RadioGroup>(window, "RG1")->setItemIndex(13);
        testing::SetStatus(window, 5, NumberStatus::FavIII);
        testing::SetStatus(window, 70, NumberStatus::Out);
        testing::SetStatus(window, 90, NumberStatus::Bank);
        testing::Press(window, "bsSkinSpeedButton5");
        QVERIFY(testing::Find<QToolButton>(window, "BQuick2")->isEnabled());
        QVERIFY(!testing::Find<QToolButton>(window, "BQuick1")->isEnabled());
        const std::string slot2 = testing::ReadFileBytes(env.folders().settings + "Quick2.whl");
        QCOMPARE(std::count(slot2.begin(), slot2.end(), '\n'), 92L);
        QCOMPARE(slot2.substr(0, 8), std::string("13\r\n11\r\n"));

        // Pool 35 into slot 1.
        testing::Press(window, "BDel");
        testing::Find<RadioGroup>(window, "RG2")->setItemIndex(0);
        testing::Find<RadioGroup>(window, "RG1")->setItemIndex(0);
        testing::SetStatus(window, 3, NumberStatus::FavII);
        testing::Press(window, "bsSkinSpeedButton6");
        QVERIFY(testing::Find<QToolButton>(window, "BQuick1")->isEnabled());

        // Opening slot 2 switches back to pool 90 and restores every status.
        testing::Press(window, "BQuick2");
        QCOMPARE(window.board().poolSize(), 90);
        QCOMPARE(window.board().rowSize(), 16);
        QVERIFY(testing::Find<BoardPanel>(window, "P4")->button(90)->isVisibleTo(&window));
        QCOMPARE(window.board().status(3), NumberStatus::Normal);
        QCOMPARE(window.board().status(5), NumberStatus::FavIII);
        QCOMPARE(window.board().status(70), NumberStatus::Out);
        QCOMPARE(window.board().status(90), NumberStatus::Bank);
        QCOMPARE(testing::Find<BoardPanel>(window, "P4")->button(90)->status(), NumberStatus::Bank);

        // Slot 1 switches to pool 35; 36 to 90 are Normal again.
        testing::Press(window, "BQuick1");
        QCOMPARE(window.board().poolSize(), 35);
        QCOMPARE(window.board().rowSize(), 3);
        QCOMPARE(window.board().status(3), NumberStatus::FavII);
        QCOMPARE(window.board().status(90), NumberStatus::Normal);
        QVERIFY(!testing::Find<BoardPanel>(window, "P4")->button(36)->isVisibleTo(&window));
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 0);
    }

    void selectionDialogsAndBrokenFiles() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        // Saved through the dialog under the name of slot 3 enables that slot too.
        env.dialogs.saveAnswers.push_back(env.folders().settings + "Quick3");
        testing::Press(window, "bsSkinSpeedButton10");
        QCOMPARE(env.dialogs.saveRequests.back().title, std::string("Auswahl speichern"));
        QCOMPARE(env.dialogs.saveRequests.back().folder, env.folders().base);
        QVERIFY(testing::Find<QToolButton>(window, "BQuick3")->isEnabled());

        // Out-of-range values are refused before the board changes.
        testing::SetStatus(window, 8, NumberStatus::FavI);
        const std::string bad = env.folders().base + "kaputt.whl";
        std::string lines = "3\r\n5\r\n";
        for (int n = 1; n <= 49; ++n) {
            lines += n == 10 ? "9\r\n" : "0\r\n";
        }
        QVERIFY(testing::WriteFileBytes(bad, lines));
        env.dialogs.openAnswers.push_back(bad);
        testing::Press(window, "bsSkinSpeedButton9");
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Warning), 1);
        QCOMPARE(window.board().status(8), NumberStatus::FavI);

        // A line that is no integer: the runtime's message, earlier lines applied.
        const std::string text = env.folders().base + "text.whl";
        QVERIFY(testing::WriteFileBytes(text, "2\r\n0\r\n1\r\nabc\r\n"));
        env.dialogs.openAnswers.push_back(text);
        testing::Press(window, "bsSkinSpeedButton9");
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("''abc'' ist kein gültiger Integer-Wert."));
        QCOMPARE(window.board().rowSize(), 5);
        QCOMPARE(window.board().poolSize(), 35);
        QCOMPARE(window.board().status(1), NumberStatus::Out);
        QCOMPARE(window.board().status(8), NumberStatus::Normal);

        // A name typed in the open dialog for a file that does not exist: the board is reset
        // first, then the program's own message names the file.
        testing::SetStatus(window, 6, NumberStatus::FavIII);
        const std::string absent = env.folders().base + "fehlt.whl";
        env.dialogs.openAnswers.push_back(absent);
        testing::Press(window, "bsSkinSpeedButton9");
        QCOMPARE(env.dialogs.openRequests.back().title, std::string("Auswahl öffnen"));
        QCOMPARE(window.board().status(6), NumberStatus::Normal);
        QCOMPARE(window.board().status(1), NumberStatus::Normal);
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Error)
                    .rfind("Datei " + absent + " kann nicht geöffnet werden. ", 0) == 0);

        // A missing slot file resets the board, then reports.
        testing::SetStatus(window, 4, NumberStatus::Bank);
        QVERIFY(QFile::remove(QString::fromStdString(env.folders().settings + "Quick3.whl")));
        testing::Press(window, "BQuick3");
        QCOMPARE(window.board().status(4), NumberStatus::Normal);
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Error).find("Quick3.whl") !=
                std::string::npos);

        // The trash can resets every status, hidden ones included.
        testing::Find<RadioGroup>(window, "RG2")->setItemIndex(11);
        testing::SetStatus(window, 80, NumberStatus::FavII);
        testing::Find<RadioGroup>(window, "RG2")->setItemIndex(5);
        testing::Press(window, "BDel");
        QCOMPARE(window.board().status(80), NumberStatus::Normal);
    }

    void exportsToTheWorkbookAndTheClipboard() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Press(window, "bsSkinSpeedButton8");
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("Eine leere Tabelle exportiere ich nicht."));
        testing::Press(window, "bsSkinSpeedButton11");
        // 54 empty rows: an empty line each.
        std::string empty;
        for (int r = 0; r < 54; ++r) {
            empty += "\r\n";
        }
        QCOMPARE(env.clipboard.text(), empty);

        testing::GenerateRows(window, 3);
        env.shell.hasSpreadsheet = false;
        testing::Press(window, "bsSkinSpeedButton8");
        QCOMPARE(env.dialogs.last(ScriptedDialogs::Kind::Information),
                 std::string("Excel ist nicht auf Ihrem Rechner installiert, der Export daher "
                             "nicht möglich.\r\rIch breche ab."));
        QVERIFY(env.shell.openedFiles.empty());
        env.shell.hasSpreadsheet = true;
        testing::Press(window, "bsSkinSpeedButton8");
        QCOMPARE(env.shell.openedFiles.size(), std::size_t{1});
        const QString workbook = QString::fromStdString(env.shell.openedFiles.front());
        QVERIFY(workbook.startsWith(QString::fromStdString(env.folders().base) +
                                    QStringLiteral("Losfixreihen ")));
        QVERIFY(workbook.endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFile::exists(workbook));

        // No program for workbooks on the desktop, but a spreadsheet program: it opens the
        // workbook. When nothing starts, the user learns where the workbook was saved.
        env.shell.opensFiles = false;
        env.shell.unassociatedProgram = "/usr/bin/soffice";
        testing::Press(window, "bsSkinSpeedButton8");
        QCOMPARE(env.shell.started.size(), std::size_t{1});
        QCOMPARE(env.shell.started.back().program, std::string("/usr/bin/soffice"));
        QCOMPARE(env.shell.started.back().arguments.size(), std::size_t{1});
        const std::string second = env.shell.started.back().arguments.front();
        QVERIFY(second != workbook.toStdString() && QFile::exists(QString::fromStdString(second)));
        env.shell.answer = false;
        testing::Press(window, "bsSkinSpeedButton8");
        const std::string notice = env.dialogs.last(ScriptedDialogs::Kind::Information);
        QCOMPARE(env.shell.started.size(), std::size_t{2});
        const std::string third = env.shell.started.back().arguments.front();
        QVERIFY(notice.find("\r" + third + "\r") != std::string::npos);
        QVERIFY(notice.find("gespeichert") != std::string::npos);
        QVERIFY(QFile::exists(QString::fromStdString(third)));
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 1);
        env.shell.answer = true;
        env.shell.opensFiles = true;
        env.shell.unassociatedProgram.clear();

        // Written beside the window; its failure still reaches the error box, and the window
        // comes back as it was.
        env.context().folders.base = env.path("fehlt/");
        testing::Press(window, "bsSkinSpeedButton8");
        QVERIFY(env.dialogs.last(ScriptedDialogs::Kind::Error).find("kann nicht erstellt werden") !=
                std::string::npos);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(testing::Find<QToolButton>(window, "bsSkinSpeedButton8")->isEnabled());

        testing::Press(window, "bsSkinSpeedButton11");
        std::string rows;
        for (int r = 1; r <= 3; ++r) {
            for (int c = 1; c <= 6; ++c) {
                rows += window.table().cell(c, r) + (c < 6 ? "," : "\r\n");
            }
        }
        QCOMPARE(env.clipboard.text(), rows);
        QCOMPARE(env.dialogs.count(ScriptedDialogs::Kind::Error), 2);
    }

    void boardAndDistributionPictures() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        testing::Press(window, "BFoto");
        auto* first = window.findChild<TFAbbild*>(QStringLiteral("FAbbild1"));
        QVERIFY(first != nullptr);
        QCOMPARE(first->windowTitle(), QStringLiteral("Manipulation"));
        QCOMPARE(first->picture().size(), QSize(287, 259));
        QCOMPARE(first->size(), QSize(287, 259 + 80));
        QVERIFY(first->isVisible());

        testing::Press(window, "bsSkinSpeedButton15");
        auto* second = window.findChild<TFAbbild*>(QStringLiteral("FAbbild2"));
        QVERIFY(second != nullptr);
        QCOMPARE(second->windowTitle(), QStringLiteral("Verteilung"));
        QCOMPARE(second->picture().size(), QSize(428, 306));
        first->close();
        QVERIFY(!first->isVisible());
        QVERIFY(second->isVisible());
    }
};

QTEST_MAIN(RowManagementTest)
#include "tst_row_management.moc"
