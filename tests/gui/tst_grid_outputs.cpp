// What the windows write and show for large tables, compared with what they wrote and showed
// before for the same runs (fixed seeds): files, clipboard texts, the texts the views read and
// pictures of the views, each as its size and hash.
#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include "gui/app/TFMain.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/TFAbbild.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"
#include "support/core/Digest.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Press;
using losfix::testing::TestContext;

namespace {

QString DigestOf(const std::string& bytes) {
    return QString::fromStdString(testing::ToString(testing::Of(bytes)));
}

QString DigestOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::string bytes;
    for (int y = 0; y < rgb.height(); ++y) {
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                     static_cast<std::size_t>(rgb.width()) * 4);
    }
    return DigestOf(bytes);
}

// Every text the view's model hands out, headers included, one per line.
QString DigestOfModel(const QAbstractItemModel& model) {
    QString all;
    for (int c = 0; c < model.columnCount(); ++c) {
        all += model.headerData(c, Qt::Horizontal).toString() + QLatin1Char('\n');
    }
    for (int r = 0; r < model.rowCount(); ++r) {
        all += model.headerData(r, Qt::Vertical).toString() + QLatin1Char('\n');
        for (int c = 0; c < model.columnCount(); ++c) {
            all += model.index(r, c).data().toString() + QLatin1Char('\n');
            all += model.index(r, c).data(Qt::AccessibleTextRole).toString() + QLatin1Char('\n');
        }
    }
    return DigestOf(all.toStdString());
}

// The view's visible rows at the top and at the bottom of the table.
QString DigestOfView(QAbstractItemView& view) {
    view.verticalScrollBar()->setValue(0);
    const QImage top = view.grab().toImage();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    const QImage bottom = view.grab().toImage();
    view.verticalScrollBar()->setValue(0);
    return DigestOf(top) + QLatin1Char(' ') + DigestOf(bottom);
}

}  // namespace

class GridOutputsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void rowTableOf16Numbers() {
        TestContext env;
        TFMain window(env.context());
        window.show();
        Find<RadioGroup>(window, "RG2")->setItemIndex(11);
        Find<RadioGroup>(window, "RG1")->setItemIndex(13);
        Find<QSlider>(window, "Track1")->setValue(15);
        testing::GenerateRows(window, 20000);
        QCOMPARE(window.table().rowCount(), 20001);
        auto* view = Find<QAbstractItemView>(window, "g1");
        QCOMPARE(DigestOfModel(*view->model()), QStringLiteral("{1976434, 0x372d8863b91e831eULL}"));
        QCOMPARE(DigestOfView(*view),
                 QStringLiteral("{217872, 0xaea519d02a7d1971ULL} {217872, 0x2acb87354e2d0cbeULL}"));

        const std::string path = env.folders().rows + "gross.lrei";
        env.dialogs.saveAnswers = {path};
        Press(window, "bsSkinSpeedButton7");
        QCOMPARE(DigestOf(testing::ReadFileBytes(path)),
                 QStringLiteral("{1088183, 0x99ea2a35558951a6ULL}"));
        Press(window, "bsSkinSpeedButton11");
        QCOMPARE(DigestOf(env.clipboard.text()), QStringLiteral("{948185, 0x61aa41bd1af1a262ULL}"));

        Press(window, "BSort");
        QCOMPARE(DigestOfModel(*view->model()), QStringLiteral("{1976434, 0xe83d1e8ef464a8c6ULL}"));
        QCOMPARE(DigestOfView(*view),
                 QStringLiteral("{217872, 0x6567e04c529853d5ULL} {217872, 0x069b19071b17451eULL}"));
        env.dialogs.saveAnswers = {path};
        Press(window, "bsSkinSpeedButton7");
        QCOMPARE(DigestOf(testing::ReadFileBytes(path)),
                 QStringLiteral("{1088183, 0xef05c8ae8cb4eaa6ULL}"));

        // Read back, the file gives the same table again.
        Press(window, "BUnSort");
        env.dialogs.openAnswers = {path};
        Press(window, "bsSkinSpeedButton3");
        QCOMPARE(DigestOfModel(*view->model()), QStringLiteral("{1976434, 0xe83d1e8ef464a8c6ULL}"));
        QVERIFY(env.dialogs.messages.empty());
    }

    void tipTableOf99999Rows() {
        TestContext env;
        ImageSession images;
        TFKick window(env.context(), images);
        window.showAndRaise();
        for (auto* button : window.findChildren<TipButton*>()) {
            emit button->stepRequested(button->slot(), MouseStep::Left);
        }
        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("99999"));
        Press(window, "bsSkinSpeedButton2");
        QCOMPARE(window.state().table.rowCount(), 100000);
        auto* tips = Find<QAbstractItemView>(window, "g1");
        QCOMPARE(DigestOfModel(*tips->model()), QStringLiteral("{5789999, 0x3b11f52383ea8ffcULL}"));
        QCOMPARE(DigestOfModel(*Find<QAbstractItemView>(window, "g2")->model()),
                 QStringLiteral("{542, 0x8ba793997aeb2bebULL}"));
        QCOMPARE(DigestOfView(*tips),
                 QStringLiteral("{456704, 0x2a6413230f578631ULL} {456704, 0x64bf0b746cea7aadULL}"));

        const std::string text = env.folders().rows + "tipps.txt";
        const std::string csv = env.folders().rows + "west.csv";
        env.dialogs.saveAnswers = {text};
        Press(window, "bsSkinSpeedButton7");
        env.dialogs.saveAnswers = {csv};
        Press(window, "bsSkinSpeedButton4");
        QCOMPARE(DigestOf(testing::ReadFileBytes(text)),
                 QStringLiteral("{2699973, 0x3186d6a13b85995fULL}"));
        QCOMPARE(DigestOf(testing::ReadFileBytes(csv)),
                 QStringLiteral("{2699973, 0x60986b33ddbfc2c3ULL}"));
        Press(window, "bsSkinSpeedButton11");
        QCOMPARE(DigestOf(env.clipboard.text()),
                 QStringLiteral("{2699973, 0x3186d6a13b85995fULL}"));

        Press(window, "bsSkinSpeedButton9");
        auto* picture = window.findChild<TFAbbild*>(QStringLiteral("FAbbild1"));
        QVERIFY(picture != nullptr);
        QCOMPARE(DigestOf(picture->picture()), QStringLiteral("{1274520, 0x85d0ad4e165fda2eULL}"));
        picture->close();
        QVERIFY(env.dialogs.messages.empty());
    }
};

QTEST_MAIN(GridOutputsTest)
#include "tst_grid_outputs.moc"
