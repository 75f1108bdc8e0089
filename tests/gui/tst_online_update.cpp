#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "core/online/Donation.h"
#include "core/online/Download.h"
#include "core/online/UpdateScript.h"
#include "core/online/VersionInfo.h"
#include "gui/app/TFStart.h"
#include "gui/common/ScopeExit.h"
#include "gui/online/Online.h"
#include "gui/online/TFUpdate.h"
#include "platform/QtNetwork.h"
#include "support/Controls.h"
#include "support/RawHttpServer.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using Kind = testing::ScriptedDialogs::Kind;

namespace {

const std::string kVersionUrl = "http://127.0.0.1:1/downloads/verinfos.lfx";
const std::string kInstallerUrl = "http://127.0.0.1:1/downloads/lfxupdate.exe";
const std::string kDonationUrl = "http://127.0.0.1:1/downloads/wachLfx.txt";

const char* const kCheckFailed = "Die Prüfung hat leider nicht geklappt.\r";
const char* const kDownloadFailed =
    "Der Download ist gescheitert. Versuchen Sie es bitte später noch einmal.";

// The scripted network, with a look at the window while each transfer runs.
class WatchedNetwork : public testing::ScriptedNetwork {
public:
    DownloadResult download(const DownloadRequest& request) override {
        if (duringTransfer) {
            duringTransfer();
        }
        return ScriptedNetwork::download(request);
    }
    void answer(const std::string& url, const std::string& body) {
        answers.erase(url);
        serve(url, body);
    }
    void refuse(const std::string& url, int status = 0) {
        answers.erase(url);
        fail(url, status);
    }
    std::function<void()> duringTransfer;
};

// The program's network, over the loopback whatever the machine's interfaces say.
class LoopbackNetwork : public Network {
public:
    bool connected() override { return true; }
    DownloadResult download(const DownloadRequest& request) override {
        return real.download(request);
    }
    QtNetwork real;
};

std::string Answer(const std::string& body) {
    return testing::HttpAnswer(
        "HTTP/1.1 200 OK",
        "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close", body);
}

// An update window over a test context, with the main window's side recorded.
struct Fixture {
    Fixture() {
        test.context().network = &network;
        UpdateWindowHooks hooks;
        hooks.showDonationCounter = [this](const QString& text) { donations << text; };
        hooks.endProgram = [this] { ++endings; };
        hooks.programFile = QString::fromStdString(test.path("Programm Ordner/los fix"));
        window = ShowUpdateWindow(test.context(), nullptr, hooks);
    }
    ~Fixture() { delete window.data(); }

    void click(QPushButton* button) {
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();  // the queued handler
    }
    static UpdateWindowState shown(const TFUpdate& w) {
        return {Find<QLabel>(w, "PvVersion")->text().toStdString(),
                Find<QPushButton>(w, "BDown")->isEnabled(),
                Find<QPushButton>(w, "BSetup")->isEnabled()};
    }
    UpdateWindowState shown() const { return shown(*window); }
    std::string lastMessage() const {
        return test.dialogs.messages.empty() ? "" : test.dialogs.messages.back().text;
    }

    testing::TestContext test;
    WatchedNetwork network;
    QStringList donations;
    int endings = 0;
    QPointer<TFUpdate> window;
};

}  // namespace

class OnlineUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void createdWindowAndOneAtATime() {
        QWidget mainWindow;
        mainWindow.setGeometry(150, 120, 900, 640);
        mainWindow.show();
        testing::TestContext test;
        QPointer<TFUpdate> window = ShowUpdateWindow(test.context(), &mainWindow);
        QCOMPARE(window->objectName(), QStringLiteral("FUpdate"));
        QCOMPARE(window->size(), QSize(311, 289));
        QCOMPARE(window->windowTitle(), QStringLiteral("Losfix 2.0"));
        QVERIFY(qAbs(window->geometry().center().x() - mainWindow.geometry().center().x()) <= 1);
        QVERIFY(qAbs(window->geometry().center().y() - mainWindow.geometry().center().y()) <= 1);
        QCOMPARE(Find<QLabel>(*window, "PiVersion")->text(), QStringLiteral("1.5.0.0"));
        QCOMPARE(Find<QPushButton>(*window, "bsSkinSpeedButton1")->text(),
                 QStringLiteral("Sch&ließen"));
        QCOMPARE(Find<QProgressBar>(*window, "Gauge3")->value(), 0);
        QCOMPARE(Fixture::shown(*window), UpdateWindowState{});
        QVERIFY(Find<QPushButton>(*window, "BCalc")->isEnabled());
        window->showMinimized();
        QCOMPARE(ShowUpdateWindow(test.context(), &mainWindow), window.data());
        QVERIFY(!window->isMinimized());

        QTest::mouseClick(Find<QPushButton>(*window, "bsSkinSpeedButton1"), Qt::LeftButton);
        QVERIFY(window->isHidden());
        // A closed window is on its way out: the next opening makes a new one.
        TFUpdate* second = ShowUpdateWindow(test.context(), &mainWindow);
        QVERIFY(second != window.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        delete second;
    }

    void statesAfterEachCheck() {
        Fixture f;
        f.network.isConnected = false;
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.lastMessage(),
                 std::string("Für die Aktualisierung muss eine Verbindung zum Internet bestehen."));
        QVERIFY(f.network.requests.empty());
        QVERIFY(f.donations.isEmpty());

        // Refused: the check fails, the donation status is refreshed all the same.
        f.network.isConnected = true;
        f.network.answer(kDonationUrl, "1.234,56\r\nDanke\r\n");
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.lastMessage(), std::string(kCheckFailed));
        QCOMPARE(f.donations, QStringList{"1.234,56"});
        QCOMPARE(f.shown(), UpdateWindowState{});

        f.network.answer(kVersionUrl, testing::VersionRecord("1.4.9.0"));
        const std::size_t messages = f.test.dialogs.messages.size();
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.4.9.0", true, false}));
        QCOMPARE(f.test.dialogs.messages.size(), messages);
        QVERIFY(f.network.requests.back().noCache);

        f.network.answer(kVersionUrl, testing::VersionRecord("1.5.0.0"));
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.5.0.0", false, false}));

        // An error page, and a file too short for a record, leave the window as it was.
        f.network.refuse(kVersionUrl, 404);
        f.network.refuse(kDonationUrl, 500);
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.lastMessage(), std::string(kCheckFailed));
        QCOMPARE(f.donations.last(), QString());
        f.network.answer(kVersionUrl, "1.6.0.0 and more");
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.lastMessage(), std::string(kCheckFailed));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.5.0.0", false, false}));
        QCOMPARE(f.test.dialogs.count(Kind::Error), 0);
    }

    void statesAfterEachDownload() {
        Fixture f;
        f.network.answer(kVersionUrl, testing::VersionRecord("1.6.0.0"));
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QVERIFY(Find<QPushButton>(*f.window, "BDown")->isEnabled());

        f.network.isConnected = false;
        f.click(Find<QPushButton>(*f.window, "BDown"));
        QCOMPARE(f.lastMessage(),
                 std::string("Für den Download der Installations-Datei muss eine "
                             "Verbindung zum Internet bestehen.\r\rIch breche ab."));
        f.network.isConnected = true;

        f.network.refuse(kInstallerUrl, 404);
        f.click(Find<QPushButton>(*f.window, "BDown"));
        QCOMPARE(f.lastMessage(), std::string(kDownloadFailed));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.6.0.0", true, false}));
        const std::string installer = f.test.folders().base + "Update.exe";
        QVERIFY(!QFile::exists(QString::fromStdString(installer)));

        f.network.answer(kInstallerUrl, "MZ the installer");
        f.click(Find<QPushButton>(*f.window, "BDown"));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.6.0.0", true, true}));
        QCOMPARE(testing::ReadFileBytes(installer), std::string("MZ the installer"));
        QVERIFY(!f.network.requests.back().noCache);
        QCOMPARE(f.network.requests.back().sizeLimit, kInstallerLimit);

        f.network.refuse(kInstallerUrl);
        f.click(Find<QPushButton>(*f.window, "BDown"));
        QCOMPARE(f.lastMessage(), std::string(kDownloadFailed));
        QCOMPARE(f.shown(), (UpdateWindowState{"1.6.0.0", true, true}));
        QCOMPARE(testing::ReadFileBytes(installer), std::string("MZ the installer"));

        // A target that cannot be written is an error the user sees, not a silent end.
        QFile::remove(QString::fromStdString(installer));
        QVERIFY(QDir().mkpath(QString::fromStdString(installer)));
        f.network.answer(kInstallerUrl, "MZ the installer");
        const std::size_t messages = f.test.dialogs.messages.size();
        f.click(Find<QPushButton>(*f.window, "BDown"));
        QCOMPARE(f.test.dialogs.count(Kind::Error), 1);
        QCOMPARE(f.test.dialogs.messages.size(), messages + 1);
        QVERIFY(Find<QPushButton>(*f.window, "BDown")->isEnabled());
    }

    void onlyWholeFilesFromTheServerCount() {
        using Ending = testing::RawHttpServer::Ending;
        using testing::HttpAnswer;
        const std::string installer = "MZ" + std::string(4998, 'i');
        const struct {
            const char* name;
            std::string answer;
            Ending ending;
            bool whole;
        } cases[] = {
            {"closed", HttpAnswer("HTTP/1.1 200 OK", "Connection: close", installer), Ending::Close,
             false},
            {"HTTP/1.0", HttpAnswer("HTTP/1.0 200 OK", "", installer), Ending::Close, false},
            {"reset", HttpAnswer("HTTP/1.1 200 OK", "", installer), Ending::Reset, false},
            {"whole", Answer(installer), Ending::Close, true},
        };
        for (const auto& c : cases) {
            Fixture f;
            testing::RawHttpServer server;
            LoopbackNetwork network;
            f.test.context().network = &network;
            f.test.context().serverUrl = server.url();
            server.answer(kVersionInfoPath, Answer(testing::VersionRecord("1.6.0.0")));
            server.answer(kDonationPath, Answer("<b>12</b>\r\n"));
            f.click(Find<QPushButton>(*f.window, "BCalc"));
            QCOMPARE(f.shown(), (UpdateWindowState{"1.6.0.0", true, false}));
            QCOMPARE(f.donations, QStringList{"<b>12</b>"});

            server.answer(kInstallerPath, c.answer, c.ending);
            const std::size_t messages = f.test.dialogs.messages.size();
            f.click(Find<QPushButton>(*f.window, "BDown"));
            const std::string target = f.test.folders().base + kInstallerFile;
            QVERIFY2(f.shown() == (UpdateWindowState{"1.6.0.0", true, c.whole}), c.name);
            if (c.whole) {
                QCOMPARE(testing::ReadFileBytes(target), installer);
                QCOMPARE(f.test.dialogs.messages.size(), messages);
            } else {
                QCOMPARE(f.lastMessage(), std::string(kDownloadFailed));
                QVERIFY2(!QFile::exists(QString::fromStdString(target)), c.name);
            }
            QCOMPARE(f.test.dialogs.count(Kind::Error), 0);
        }

        // A version file or donation status that may be cut off is not trusted either.
        Fixture f;
        testing::RawHttpServer server;
        LoopbackNetwork network;
        f.test.context().network = &network;
        f.test.context().serverUrl = server.url();
        server.answer(kVersionInfoPath, HttpAnswer("HTTP/1.0 200 OK", "",
                                                   testing::VersionRecord("1.6.0.0") +
                                                       testing::VersionRecord("1.5.9.0")));
        server.answer(kDonationPath, HttpAnswer("HTTP/1.0 200 OK", "", "12,50\r\n"));
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(f.lastMessage(), std::string(kCheckFailed));
        QCOMPARE(f.shown(), UpdateWindowState{});
        QCOMPARE(f.donations, QStringList{QString()});
    }

    void temporaryFilesStayOutOfTheSharedFolder() {
        testing::TestContext test;
        std::vector<std::pair<const char*, std::optional<QByteArray>>> before;
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"}) {
            before.emplace_back(name, qEnvironmentVariableIsSet(name)
                                          ? std::optional<QByteArray>(qgetenv(name))
                                          : std::nullopt);
        }
        const ScopeExit restore([&] {
            for (const auto& [name, value] : before) {
                value ? qputenv(name, *value) : qunsetenv(name);
            }
        });
        // Another user of the machine left a "tmp.tmp" and a "wachLfx.txt" in the shared folder
        // that nobody else can replace.
        const std::string shared = test.path("tmp");
        QVERIFY(QDir().mkpath(QString::fromStdString(shared + "/tmp.tmp")));
        QVERIFY(QDir().mkpath(QString::fromStdString(shared + "/wachLfx.txt")));
        QCOMPARE(::chmod(shared.c_str(), 01777), 0);
        const std::string runtime = test.path("run");
        QVERIFY(QDir().mkpath(QString::fromStdString(runtime)));
        const std::string cache = test.path("cache");
        qputenv("TMPDIR", shared.c_str());
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
        qputenv("XDG_CACHE_HOME", cache.c_str());
        const auto closedToOthers = [](const std::string& folder) {
            return (QFile::permissions(QString::fromStdString(folder)) & 0x0077) == 0;
        };

        const std::string probe = SystemTempProbeFile();
        QCOMPARE(probe, runtime + "/losfix/tmp.tmp");
        QVERIFY(closedToOthers(runtime + "/losfix"));
        test.network.serve(kDonationUrl, "12,50\r\n");
        test.context().tempProbeFile = shared + "/tmp.tmp";
        QCOMPARE(FetchDonationCounter(test.context()), QString());  // where it was before
        test.context().tempProbeFile = probe;
        QCOMPARE(FetchDonationCounter(test.context()), QStringLiteral("12,50"));
        QCOMPARE(testing::ReadFileBytes(runtime + "/losfix/wachLfx.txt"), std::string("12,50\r\n"));
        QCOMPARE(testing::ReadFileBytes(probe), std::string("12,50\r\n"));

        // A folder open to others is passed over, and left as it is.
        QCOMPARE(::chmod((runtime + "/losfix").c_str(), 0755), 0);
        QCOMPARE(SystemTempProbeFile(), cache + "/losfix/tmp.tmp");
        QVERIFY(closedToOthers(cache + "/losfix"));
        QVERIFY(!closedToOthers(runtime + "/losfix"));
        // Without a runtime folder and with a cache folder that cannot be made: a folder of the
        // user's own in the shared one.
        qunsetenv("XDG_RUNTIME_DIR");
        QVERIFY(testing::WriteFileBytes(test.path("Datei"), "x"));
        qputenv("XDG_CACHE_HOME", test.path("Datei/cache").c_str());
        const std::string own = shared + "/losfix-" + std::to_string(::geteuid());
        QCOMPARE(SystemTempProbeFile(), own + "/tmp.tmp");
        QVERIFY(closedToOthers(own));

        // When another user made that one first, there is none; the check says why and fetches
        // nothing.
        if (::geteuid() == 0) {
            QCOMPARE(::chown(own.c_str(), 65534, 65534), 0);
            QCOMPARE(SystemTempProbeFile(), std::string());
            Fixture f;
            f.test.context().tempProbeFile.clear();
            f.network.answer(kVersionUrl, testing::VersionRecord("1.6.0.0"));
            f.click(Find<QPushButton>(*f.window, "BCalc"));
            QCOMPARE(f.lastMessage(), std::string(kNoPrivateTemporaryFolder));
            QVERIFY(f.network.requests.empty());
        }
    }

    void busyWhileTransferring() {
        Fixture f;
        int watched = 0;
        f.network.duringTransfer = [&] {
            ++watched;
            QVERIFY(QApplication::overrideCursor() != nullptr);
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(!Find<QPushButton>(*f.window, "BCalc")->isEnabled());
            QVERIFY(!Find<QPushButton>(*f.window, "BDown")->isEnabled());
            QVERIFY(!Find<QPushButton>(*f.window, "BSetup")->isEnabled());
            f.window->close();  // waits for the transfer
            QVERIFY(f.window->isVisible());
        };
        f.network.answer(kVersionUrl, testing::VersionRecord("1.6.0.0"));
        f.network.answer(kDonationUrl, "0,00");
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        QCOMPARE(watched, 4);  // two fetches each of the version file and the donation status
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(f.shown(), (UpdateWindowState{"1.6.0.0", true, false}));
        QTRY_VERIFY(f.window.isNull());  // closed and freed once the transfer ended

        // The hourglass also goes when the probe file cannot be written.
        Fixture g;
        QVERIFY(QDir().mkpath(QString::fromStdString(g.test.context().tempProbeFile)));
        g.click(Find<QPushButton>(*g.window, "BCalc"));
        QCOMPARE(g.lastMessage(), std::string(kCheckFailed));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(Find<QPushButton>(*g.window, "BCalc")->isEnabled());
    }

    void installationHandOver() {
        Fixture f;
        f.network.answer(kVersionUrl, testing::VersionRecord("1.6.0.0"));
        f.click(Find<QPushButton>(*f.window, "BCalc"));
        f.network.answer(kInstallerUrl, "#!/bin/sh\nexit 0\n");
        f.click(Find<QPushButton>(*f.window, "BDown"));
        const std::string base = f.test.folders().base;
        const std::string installer = base + "Update.exe";

        f.test.dialogs.questionAnswers = {false};
        f.click(Find<QPushButton>(*f.window, "BSetup"));
        QCOMPARE(f.test.dialogs.last(Kind::Question), InstallConfirmationText(base));
        QCOMPARE(f.lastMessage(), InstallDeclinedText(base));
        QVERIFY(f.test.shell.started.empty());

        f.test.shell.answer = false;
        f.test.dialogs.questionAnswers = {true};
        f.click(Find<QPushButton>(*f.window, "BSetup"));
        QCOMPARE(f.lastMessage(), InstallerNotStartedText(base));
        QCOMPARE(f.test.shell.started.size(), std::size_t{1});
        QCOMPARE(f.endings, 0);

        f.test.shell.answer = true;
        f.test.shell.started.clear();
        f.test.dialogs.questionAnswers = {true};
        f.click(Find<QPushButton>(*f.window, "BSetup"));
        QCOMPARE(f.endings, 1);
        QCOMPARE(f.test.shell.started.size(), std::size_t{2});
        QCOMPARE(f.test.shell.started[0].program, installer);
        QVERIFY(f.test.shell.started[0].arguments.empty());
        QVERIFY(QFileInfo(QString::fromStdString(installer)).isExecutable());
        QCOMPARE(f.test.shell.started[1].program, std::string("/bin/sh"));
        QCOMPARE(f.test.shell.started[1].arguments.size(), std::size_t{1});
        const std::string script = f.test.shell.started[1].arguments[0];
        QCOMPARE(QFileInfo(QString::fromStdString(script)).absolutePath() + "/",
                 QString::fromStdString(FolderOf(f.test.context().tempProbeFile)));
        QCOMPARE(testing::ReadFileBytes(script),
                 LinuxUpdateScript(f.test.path("Programm Ordner/los fix"), script));
        QCOMPARE(f.test.dialogs.count(Kind::Error), 0);
    }

    void linuxScriptRemovesProgramFolderAndItself() {
        testing::TestContext test;
        const QString folder = QString::fromStdString(test.path("Lösfix 2.0 'neu'"));
        const QString program = folder + "/los fix";
        const QString script = QString::fromStdString(test.path("uis ä.sh"));
        const auto run = [&] {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(testing::WriteFileBytes(program.toStdString(), "dummy"));
            QVERIFY(testing::WriteFileBytes(
                script.toStdString(),
                LinuxUpdateScript(program.toStdString(), script.toStdString())));
            QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"), {script}), 0);
            QVERIFY(!QFile::exists(program));
            QVERIFY(!QFile::exists(script));
        };
        run();
        QVERIFY(!QDir(folder).exists());
        // A folder with other files in it stays.
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(testing::WriteFileBytes((folder + "/andere.txt").toStdString(), "x"));
        run();
        QVERIFY(QFile::exists(folder + "/andere.txt"));
    }
};

QTEST_MAIN(OnlineUpdateTest)
#include "tst_online_update.moc"
