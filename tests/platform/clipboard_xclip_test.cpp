// Runs under a real X server (xvfb-run): this process owns the clipboard while another program,
// xclip, pastes from it.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <string>

#include "core/export/ClipboardText.h"
#include "core/lottery/RowTable.h"
#include "platform/Clipboard.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

// What another program receives when it pastes, read while the event loop serves it.
std::string PastedByXclip() {
    QProcess xclip;
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&xclip, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    loop.exec();
    EXPECT_EQ(xclip.state(), QProcess::NotRunning);
    EXPECT_EQ(xclip.exitCode(), 0) << xclip.readAllStandardError().toStdString();
    return xclip.readAllStandardOutput().toStdString();
}

TEST(ClipboardXclipTest, AnotherProgramPastesTheRowsByteForByte) {
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty()) {
        GTEST_SKIP() << "xclip is not installed";
    }
    // 16 numbers a row, a row from a foreign file, and empty rows below the data.
    StringGrid table = MakeRowTable(testing::FixedMeasure);
    table.setRowCount(105);
    for (int r = 1; r <= 100; ++r) {
        table.setCell(0, r, RowLabel(r, testing::FixedMeasure));
        for (int c = 1; c <= 16; ++c) {
            table.setCell(c, r, std::to_string((r + c * 5) % 90 + 1));
        }
    }
    table.setRowCells(101, {"", " ", "Größe", "a,b"});

    QtClipboard clipboard;
    const std::string text = ClipboardText(table);
    clipboard.setText(text);
    const std::string pasted = PastedByXclip();
    EXPECT_EQ(pasted.size(), text.size());
    EXPECT_EQ(pasted, text);
    EXPECT_EQ(pasted.substr(0, 50), "7,12,17,22,27,32,37,42,47,52,57,62,67,72,77,82\r\n8,");
    const std::string empty = std::string(15, ',') + "\r\n";
    const std::string tail =
        "\" \",Größe,\"a,b\"" + std::string(13, ',') + "\r\n" + empty + empty + empty;
    ASSERT_GE(pasted.size(), tail.size());
    EXPECT_EQ(pasted.substr(pasted.size() - tail.size()), tail);
}

}  // namespace
}  // namespace losfix

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
