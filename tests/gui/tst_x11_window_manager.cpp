// Runs under Xvfb with a window manager (openbox): a window's frame, and the title a window
// manager reads from a window's properties, exist only there. The properties are read back with
// the X11 tools users have (xprop, xwininfo), not through Qt.
#include <QMargins>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "core/football/FootballLayout.h"
#include "gui/app/TFMain.h"
#include "gui/common/TFAbbild.h"
#include "gui/football/TFKick.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::TestContext;

namespace {

// A window manager on a loaded machine may take its time to frame a window.
constexpr int kExposeMs = 30000;

// The standard output of a short X11 tool; "" when it cannot run.
QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Properties(WId id, const QStringList& names) {
    return Run(QStringLiteral("xprop"),
               QStringList{QStringLiteral("-id"), QString::number(id)} + names);
}

// The numbers after the first match of the pattern's groups, or nothing.
QList<int> Numbers(const QString& text, const QString& pattern) {
    QList<int> numbers;
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
    for (int i = 1; i <= match.lastCapturedIndex(); ++i) {
        numbers << match.captured(i).toInt();
    }
    return numbers;
}

// The frame the window manager put around the window (_NET_FRAME_EXTENTS: left, right, top,
// bottom); empty while it has not framed the window.
QMargins FrameExtents(WId id) {
    const QList<int> n = Numbers(Properties(id, {QStringLiteral("_NET_FRAME_EXTENTS")}),
                                 QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    return n.size() == 4 ? QMargins(n[0], n[2], n[1], n[3]) : QMargins();
}

// The size of the window's client area as the X server has it.
QSize ClientSize(WId id) {
    const QString info =
        Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)});
    const QList<int> width = Numbers(info, QStringLiteral("Width: (\\d+)"));
    const QList<int> height = Numbers(info, QStringLiteral("Height: (\\d+)"));
    return width.size() == 1 && height.size() == 1 ? QSize(width[0], height[0]) : QSize();
}

QSize Outer(QSize client, const QMargins& frame) {
    return client.grownBy(frame);
}

// Asked for more, from outside (as a window manager's resize) and from inside, the window with
// its frame grows to the largest size and no further.
void ExpectLargestOuterSize(QWidget& window, QSize largest) {
    QVERIFY(QTest::qWaitForWindowExposed(&window, kExposeMs));
    const WId id = window.winId();
    QMargins frame;
    QTRY_VERIFY((frame = FrameExtents(id)) != QMargins());
    // What the window manager enforces when the user drags the frame.
    const auto hinted = [id] {
        const QList<int> n = Numbers(Properties(id, {QStringLiteral("WM_NORMAL_HINTS")}),
                                     QStringLiteral("maximum size: (\\d+) by (\\d+)"));
        return n.size() == 2 ? QSize(n[0], n[1]) : QSize();
    };
    QTRY_COMPARE(Outer(hinted(), frame), largest);

    Run(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), QString::number(id),
                                    QStringLiteral("2000"), QStringLiteral("2000")});
    QTest::qWait(300);
    QVERIFY(Outer(ClientSize(id), frame).width() <= largest.width());
    QVERIFY(Outer(ClientSize(id), frame).height() <= largest.height());
    window.resize(2000, 2000);
    QTRY_COMPARE(Outer(ClientSize(id), frame), largest);
    QCOMPARE(window.frameGeometry().size(), largest);
}

}  // namespace

class X11WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testing::InitGuiTestEnvironment();
        for (const char* tool : {"openbox", "xprop", "xwininfo", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                QSKIP(qPrintable(QStringLiteral("%1 fehlt (scripts/install-deps)").arg(tool)));
            }
        }
        manager_.setStandardOutputFile(QProcess::nullDevice());
        manager_.setStandardErrorFile(QProcess::nullDevice());
        manager_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QVERIFY(manager_.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            Run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id")),
            15000);
    }

    void cleanupTestCase() {
        if (manager_.state() != QProcess::NotRunning) {
            manager_.terminate();
            manager_.waitForFinished(5000);
        }
    }

    void largestSizesAreOuterSizesAndAnEmptyCaptionStaysEmpty() {
        TestContext env;
        TFMain main(env.context());
        main.show();
        ExpectLargestOuterSize(main, QSize(TFMain::kMaxWidth, TFMain::kMaxHeight));
        if (QTest::currentTestFailed()) {
            return;
        }
        main.close();

        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        ExpectLargestOuterSize(window, QSize(kFootballMaxWidth, kFootballMaxHeight));
        if (QTest::currentTestFailed()) {
            return;
        }
        // The tip image is the content below the top bar, so it cannot outgrow the window.
        testing::Press(window, "bsSkinSpeedButton9");
        auto* image = window.findChild<TFAbbild*>(QStringLiteral("FAbbild1"));
        QVERIFY(image != nullptr);
        QCOMPARE(image->picture().width(), window.width());
        QCOMPARE(image->picture().height(),
                 window.height() - (kFootballClientHeight - 494));  // the top bar

        // No tip file saved yet: the image window's caption is empty, for the window manager too.
        QCOMPARE(image->windowTitle(), QString());
        QVERIFY(QTest::qWaitForWindowExposed(image, kExposeMs));
        const QStringList names = {QStringLiteral("WM_NAME"), QStringLiteral("_NET_WM_NAME")};
        const QString empty = QStringLiteral("WM_NAME(STRING) = \n_NET_WM_NAME(UTF8_STRING) = \n");
        QTRY_COMPARE(Properties(image->winId(), names), empty);
        // A title shows as it is, and an empty one empty again.
        image->setWindowTitle(QStringLiteral("tipps1"));
        QTRY_VERIFY(Properties(image->winId(), {QStringLiteral("_NET_WM_NAME")})
                        .contains(QStringLiteral("\"tipps1\"")));
        image->setWindowTitle(QString());
        QTRY_COMPARE(Properties(image->winId(), names), empty);
    }

private:
    QProcess manager_;
};

QTEST_MAIN(X11WindowManagerTest)
#include "tst_x11_window_manager.moc"
