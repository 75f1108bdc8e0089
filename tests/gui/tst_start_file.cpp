#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "core/app/StartFile.h"
#include "core/football/TipFiles.h"
#include "gui/app/Startup.h"
#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "gui/football/TFKick.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::ScriptedDialogs;
using losfix::testing::TestContext;

namespace {

// The program as main() starts it with these arguments (after the program's name).
class StartedProgram {
public:
    StartedProgram(TestContext& env, const QStringList& arguments) {
        const StartFile file =
            ReadStartArguments(StartArguments(QStringList{QStringLiteral("losfix")} + arguments),
                               *env.context().files);
        windows_ = StartProgram(env.context(), file);
    }
    ~StartedProgram() {
        delete windows_.start;
        delete windows_.main;
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // "Weiter", then until the start window has gone and what it queued has run.
    bool pressWeiter() {
        if (windows_.start.isNull() || windows_.main.isNull()) {
            return false;
        }
        testing::Press(*windows_.start, "Weiter");
        const bool gone = QTest::qWaitFor([this] { return windows_.start.isNull(); }, 5000);
        QCoreApplication::processEvents();
        return gone && windows_.main->isVisible();
    }

    TFMain& main() { return *windows_.main; }
    TFKick& football() { return *windows_.football; }

private:
    ProgramWindows windows_;
};

std::string DataFile(const char* name) {
    return std::string(LOSFIX_TEST_DATA_DIR) + "/" + name;
}

// A copy of a test file below the test's folder, under the given name.
std::string CopyOf(TestContext& env, const char* source, const std::string& name) {
    const std::string path = env.path(name);
    if (!testing::WriteFileBytes(path, testing::ReadFileBytes(DataFile(source)))) {
        return {};
    }
    return path;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

bool SameBoard(const Board& a, const Board& b) {
    if (a.rowSize() != b.rowSize() || a.poolSize() != b.poolSize()) {
        return false;
    }
    for (int n = 1; n <= 90; ++n) {
        if (a.status(n) != b.status(n)) {
            return false;
        }
    }
    return true;
}

bool SameMessages(const ScriptedDialogs& a, const ScriptedDialogs& b) {
    if (a.messages.size() != b.messages.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.messages.size(); ++i) {
        if (a.messages[i].kind != b.messages[i].kind || a.messages[i].text != b.messages[i].text) {
            return false;
        }
    }
    return true;
}

// What "Reihen öffnen..." does with that file in a main window of its own.
void OpenWithButton(TestContext& env, TFMain& window, const std::string& path, const char* button) {
    env.dialogs.openAnswers.push_back(path);
    testing::Press(window, button);
}

// The real files, except that one of them cannot be read (as a file of another user).
class UnreadableFiles : public FileSystem {
public:
    UnreadableFiles(FileSystem& files, std::string unreadable)
        : files_(files), unreadable_(std::move(unreadable)) {}
    bool exists(const std::string& path) const override { return files_.exists(path); }
    bool isDirectory(const std::string& path) const override { return files_.isDirectory(path); }
    FileResult readAll(const std::string& path, std::string& bytes) const override {
        if (path == unreadable_) {
            return FileResult::failure("Zugriff verweigert");
        }
        return files_.readAll(path, bytes);
    }
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override {
        return files_.writeAtomic(path, bytes);
    }
    FileResult createDirectory(const std::string& path) override {
        return files_.createDirectory(path);
    }

private:
    FileSystem& files_;
    std::string unreadable_;
};

int DataRowsShown(const TFMain& window) {
    int rows = 0;
    for (int r = 1; r < window.table().rowCount(); ++r) {
        rows += window.table().cell(1, r).empty() ? 0 : 1;
    }
    return rows;
}

}  // namespace

class StartFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void withoutArgumentsNothingIsOpened() {
        TestContext env;
        StartedProgram program(env, {});
        QVERIFY(program.pressWeiter());
        QVERIFY(env.dialogs.messages.empty());
        QCOMPARE(DataRowsShown(program.main()), 0);
        QVERIFY(Find<QLabel>(program.main(), "LDatei2")->text().isEmpty());
        QVERIFY(!program.football().isVisible());
    }

    void rowFileOpensAsReihenOeffnenOpensIt() {
        TestContext env;
        const std::string path = CopyOf(env, "rows_6of49.lrei", "Meine Reihen.lrei");
        QVERIFY(!path.empty());
        StartedProgram program(env, {Q(path)});
        // Nothing is loaded behind the start window.
        QCOMPARE(DataRowsShown(program.main()), 0);
        QVERIFY(program.pressWeiter());

        TestContext reference;
        TFMain byButton(reference.context());
        OpenWithButton(reference, byButton, path, "bsSkinSpeedButton3");
        QVERIFY(DataRowsShown(byButton) > 0);
        QVERIFY(program.main().table() == byButton.table());
        QCOMPARE(Find<QLabel>(program.main(), "LDatei2")->text(),
                 QStringLiteral("Meine Reihen.lrei"));
        QVERIFY(env.dialogs.messages.empty());
        // The loaded rows can be sorted, as after the button.
        QCOMPARE(Find<QToolButton>(program.main(), "BSort")->isEnabled(),
                 Find<QToolButton>(byButton, "BSort")->isEnabled());
    }

    void relativePathsAndUpperCaseNamesFromWindows() {
        TestContext env;
        const std::string path = CopyOf(env, "rows_6of49.lrei", "REIHEN.LREI");
        QVERIFY(!path.empty());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(Q(env.path(""))));
        StartedProgram program(env, {QStringLiteral("./REIHEN.LREI")});
        QDir::setCurrent(previous);
        QVERIFY(program.pressWeiter());
        QVERIFY(env.dialogs.messages.empty());
        QVERIFY(DataRowsShown(program.main()) > 0);
        QCOMPARE(Find<QLabel>(program.main(), "LDatei2")->text(), QStringLiteral("REIHEN.LREI"));
    }

    void unreadableRowFileGivesTheButtonsError() {
        TestContext env;
        const std::string path = env.path("gesperrt.lrei");
        QVERIFY(testing::WriteFileBytes(path, "\"   1\",1,2,3,4,5,6\r\n"));
        UnreadableFiles files(env.files, path);
        env.context().files = &files;
        StartedProgram program(env, {Q(path)});
        QVERIFY(program.pressWeiter());

        TestContext reference;
        UnreadableFiles referenceFiles(reference.files, path);
        reference.context().files = &referenceFiles;
        TFMain byButton(reference.context());
        OpenWithButton(reference, byButton, path, "bsSkinSpeedButton3");
        QCOMPARE(reference.dialogs.count(ScriptedDialogs::Kind::Error), 1);
        QCOMPARE(reference.dialogs.last(ScriptedDialogs::Kind::Error),
                 "Datei " + path + " kann nicht geöffnet werden. Zugriff verweigert.");
        QVERIFY(SameMessages(env.dialogs, reference.dialogs));
        QCOMPARE(DataRowsShown(program.main()), 0);
        QVERIFY(Find<QLabel>(program.main(), "LDatei2")->text().isEmpty());
    }

    void selectionFileOpensAsAuswahlOeffnenOpensIt() {
        TestContext env;
        const std::string path = CopyOf(env, "selection_pool35.whl", "auswahl.whl");
        QVERIFY(!path.empty());
        StartedProgram program(env, {Q(path)});
        QVERIFY(program.pressWeiter());

        TestContext reference;
        TFMain byButton(reference.context());
        OpenWithButton(reference, byButton, path, "bsSkinSpeedButton9");
        QCOMPARE(program.main().board().poolSize(), 35);
        QVERIFY(SameBoard(program.main().board(), byButton.board()));
        QVERIFY(env.dialogs.messages.empty());
    }

    void refusedSelectionFileGivesTheButtonsWarning() {
        TestContext env;
        const std::string path = env.path("kaputt.whl");
        std::string lines = "3\r\n5\r\n";
        for (int n = 1; n <= 49; ++n) {
            lines += n == 10 ? "9\r\n" : "0\r\n";
        }
        QVERIFY(testing::WriteFileBytes(path, lines));
        StartedProgram program(env, {Q(path)});
        QVERIFY(program.pressWeiter());

        TestContext reference;
        TFMain byButton(reference.context());
        OpenWithButton(reference, byButton, path, "bsSkinSpeedButton9");
        QCOMPARE(reference.dialogs.count(ScriptedDialogs::Kind::Warning), 1);
        QVERIFY(SameMessages(env.dialogs, reference.dialogs));
        QVERIFY(SameBoard(program.main().board(), byButton.board()));
    }

    void selectionFileWithTextGivesTheButtonsError() {
        TestContext env;
        const std::string path = env.path("text.whl");
        QVERIFY(testing::WriteFileBytes(path, "2\r\n0\r\n1\r\nabc\r\n"));
        StartedProgram program(env, {Q(path)});
        QVERIFY(program.pressWeiter());

        TestContext reference;
        TFMain byButton(reference.context());
        OpenWithButton(reference, byButton, path, "bsSkinSpeedButton9");
        QCOMPARE(reference.dialogs.last(ScriptedDialogs::Kind::Error),
                 std::string("''abc'' ist kein gültiger Integer-Wert."));
        QVERIFY(SameMessages(env.dialogs, reference.dialogs));
        // The lines before the faulty one stay applied, as after the button.
        QCOMPARE(program.main().board().poolSize(), 35);
        QVERIFY(SameBoard(program.main().board(), byButton.board()));
    }

    void quickTipFileOpensTheFootballWindowWithIt() {
        TestContext env;
        TipStatuses statuses{};
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            statuses[i] = static_cast<TipStatus>(i % 4);
        }
        const std::string path = env.path("Tipps vom Samstag.wh13");
        QVERIFY(testing::WriteFileBytes(path, EncodeQuickTips(statuses)));
        StartedProgram program(env, {Q(path)});
        QVERIFY(!program.football().isVisible());
        QVERIFY(program.pressWeiter());
        QVERIFY(program.football().isVisible());
        QVERIFY(program.football().state().board.statuses() == statuses);
        QVERIFY(env.dialogs.messages.empty());

        // The same as its quick selection button with that file as Quick.wh13.
        TestContext reference;
        QVERIFY(testing::WriteFileBytes(QuickTipFilePath(reference.folders().settings),
                                        EncodeQuickTips(statuses)));
        ImageSession images;
        TFKick byButton(reference.context(), images, nullptr);
        testing::Press(byButton, "BQOpen13");
        QVERIFY(byButton.state().board.statuses() == statuses);
        QCOMPARE(Find<QLabel>(program.football(), "LKombis")->text(),
                 Find<QLabel>(byButton, "LKombis")->text());
        // The program's own quick selection file is left alone.
        QVERIFY(!env.files.exists(QuickTipFilePath(env.folders().settings)));
    }

    void argumentsThatCannotBeUsedGetANoticeAndTheProgramStarts_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString startsWithout = QStringLiteral("\rDas Programm startet ohne Datei.");
        const QString whatOpens = QStringLiteral(
            "\rBeim Start öffnet Losfix eine Reihen-Datei (*.lrei), eine Auswahl-Datei (*.whl) "
            "oder eine Fußball-Schnellauswahl (*.wh13).");
        QTest::newRow("option") << QStringList{QStringLiteral("--foo")}
                                << QStringLiteral("Unbekannte Angabe \"--foo\".") + whatOpens +
                                       startsWithout;
        QTest::newRow("two files")
            << QStringList{QStringLiteral("a.lrei"), QStringLiteral("b.lrei")}
            << QStringLiteral(
                   "Losfix kann beim Start nur eine Datei öffnen, "
                   "angegeben waren 2.") +
                   startsWithout;
        QTest::newRow("missing") << QStringList{QStringLiteral("@/fehlt.lrei")}
                                 << QStringLiteral("Die Datei \"@/fehlt.lrei\" gibt es nicht.") +
                                        startsWithout;
        QTest::newRow("folder") << QStringList{QStringLiteral("@/Reihen.lrei")}
                                << QStringLiteral(
                                       "\"@/Reihen.lrei\" ist ein Ordner, keine Datei.") +
                                       startsWithout;
        QTest::newRow("other type")
            << QStringList{QStringLiteral("@/notiz.txt")}
            << QStringLiteral("Die Datei \"@/notiz.txt\" kann Losfix nicht öffnen.") + whatOpens +
                   startsWithout;
    }

    void argumentsThatCannotBeUsedGetANoticeAndTheProgramStarts() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        TestContext env;
        // "@" stands for the test's folder.
        const QString folder = Q(env.path("")).chopped(1);
        for (QString& argument : arguments) {
            argument.replace(QLatin1Char('@'), folder);
        }
        expected.replace(QLatin1Char('@'), folder);
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Reihen.lrei")));
        QVERIFY(testing::WriteFileBytes(env.path("notiz.txt"), "1,2,3\r\n"));

        StartedProgram program(env, arguments);
        // The notice waits for the main window.
        QVERIFY(env.dialogs.messages.empty());
        QVERIFY(program.pressWeiter());
        QCOMPARE(env.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(env.dialogs.messages.front().kind, ScriptedDialogs::Kind::Warning);
        QCOMPARE(Q(env.dialogs.messages.front().text), expected);
        QCOMPARE(DataRowsShown(program.main()), 0);
        QVERIFY(Find<QLabel>(program.main(), "LDatei2")->text().isEmpty());
        QVERIFY(!program.football().isVisible());
        // The program goes on as usual.
        testing::Press(program.main(), "bsSkinSpeedButton2");
        QCOMPARE(DataRowsShown(program.main()), 120);
    }

    void argumentsBecomeAbsolutePathsOptionsStayAsTyped() {
        const QString current = QDir::currentPath();
        const std::vector<std::string> arguments =
            StartArguments({QStringLiteral("/usr/bin/losfix"), QStringLiteral("reihen/../a.lrei"),
                            QStringLiteral("-x"), QString(), QStringLiteral("/tmp//b.whl")});
        QCOMPARE(arguments.size(), std::size_t{4});
        QCOMPARE(Q(arguments[0]), current + QStringLiteral("/a.lrei"));
        QCOMPARE(arguments[1], std::string("-x"));
        QCOMPARE(arguments[2], std::string());
        QCOMPARE(arguments[3], std::string("/tmp/b.whl"));
        QVERIFY(StartArguments({QStringLiteral("losfix")}).empty());
    }

    void messageBoxesShowQuotedNamesAsTheyAre() {
        // A file name is no markup: "<b>" is read as it stands.
        QtDialogs dialogs;
        QString shownText;
        Qt::TextFormat shownFormat = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownText = box->text();
                shownFormat = box->textFormat();
                box->accept();
            }
        });
        dialogs.warning("Die Datei \"<b>fett</b>.txt\" gibt es nicht.\rZweite Zeile");
        QCOMPARE(shownFormat, Qt::PlainText);
        QCOMPARE(shownText,
                 QStringLiteral("Die Datei \"<b>fett</b>.txt\" gibt es nicht.\nZweite Zeile"));
    }
};

QTEST_MAIN(StartFileTest)
#include "tst_start_file.moc"
