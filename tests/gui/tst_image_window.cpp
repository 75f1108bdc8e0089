#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/app/Program.h"
#include "gui/common/TFAbbild.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using Kind = testing::ScriptedDialogs::Kind;

namespace {

const QColor kPanelColour(0xF7, 0xF8, 0xFA);
const QColor kMarkColour(0xC0, 0x30, 0x30);

// A panel of the board's size with a red block in its top-left corner.
std::unique_ptr<QFrame> MakePanel(int width, int height) {
    auto panel = std::make_unique<QFrame>();
    panel->setFixedSize(width, height);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, kPanelColour);
    panel->setPalette(pal);
    auto* mark = new QLabel(panel.get());
    mark->setGeometry(10, 10, 40, 30);
    mark->setAutoFillBackground(true);
    pal.setColor(QPalette::Window, kMarkColour);
    mark->setPalette(pal);
    return panel;
}

// The picture a capture must give apart from the watermark: the panel, then its background.
QImage Expected(QWidget& panel, int height) {
    QImage image(panel.width(), height, QImage::Format_RGB32);
    image.fill(kPanelColour);
    const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(height, shown.height()); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            image.setPixel(x, y, shown.pixel(x, y));
        }
    }
    return image;
}

// The smallest rectangle holding every pixel in which the two pictures differ.
QRect DifferingArea(const QImage& a, const QImage& b) {
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                area = area.united(QRect(x, y, 1, 1));
            }
        }
    }
    return area;
}

QByteArray ReadFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// The image window saves into the shots folder; make sure the test context has it.
std::string ShotsFolder(const testing::TestContext& test) {
    std::filesystem::create_directories(test.folders().shots);
    return test.folders().shots;
}

}  // namespace

class ImageWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void newWindowHasItsControls() {
        testing::TestContext test;
        ImageSession session;
        TFAbbild window(test.context(), session);
        QCOMPARE(window.windowTitle(), QString::fromStdString(WindowCaption()));
        QCOMPARE(window.windowTitle(), QStringLiteral("Losfix 2.0     v1.5.0.0"));
        QVERIFY(window.isWindow());
        QVERIFY(!window.hasPicture());
        const QStringList names = {"BClose", "bsSkinLabel1", "BSave",  "Label1",
                                   "Label2", "Slider1",      "Label3", "bsSkinSpeedButton1",
                                   "Image1"};
        for (const QString& name : names) {
            QVERIFY2(window.findChild<QWidget*>(name) != nullptr, qPrintable(name));
        }
        QCOMPARE(testing::Find<QLabel>(window, "bsSkinLabel1")->text(),
                 QStringLiteral("Screenshot"));
        QCOMPARE(testing::Find<QToolButton>(window, "BSave")->text(),
                 QStringLiteral("Abbild speichern..."));
        QCOMPARE(testing::Find<QLabel>(window, "Label1")->text(), QStringLiteral("Bild-Qualität"));
        QCOMPARE(testing::Find<QLabel>(window, "Label2")->text(), QStringLiteral("-"));
        QCOMPARE(testing::Find<QLabel>(window, "Label3")->text(), QStringLiteral("+"));
        QCOMPARE(testing::Find<QToolButton>(window, "BClose")->text(), QString());
        QCOMPARE(testing::Find<QToolButton>(window, "BClose")->toolTip(),
                 QStringLiteral("Schließen"));
        QCOMPARE(testing::Find<QToolButton>(window, "BClose")->accessibleName(),
                 QStringLiteral("Schließen"));
        QCOMPARE(testing::Find<QToolButton>(window, "bsSkinSpeedButton1")->toolTip(),
                 QStringLiteral("In Zwischenablage kopieren"));
        QCOMPARE(testing::Find<QToolButton>(window, "bsSkinSpeedButton1")->accessibleName(),
                 QStringLiteral("In Zwischenablage kopieren"));

        QCOMPARE(testing::Find<QSlider>(window, "Slider1")->orientation(), Qt::Horizontal);
        QCOMPARE(testing::Find<QSlider>(window, "Slider1")->minimum(), 36);
        QCOMPARE(testing::Find<QSlider>(window, "Slider1")->maximum(), 100);
        QCOMPARE(testing::Find<QSlider>(window, "Slider1")->singleStep(), 1);
        QCOMPARE(window.quality(), 100);
        testing::Find<QSlider>(window, "Slider1")->setValue(20);
        QCOMPARE(window.quality(), 36);
        testing::Find<QSlider>(window, "Slider1")->setValue(250);
        QCOMPARE(window.quality(), 100);
    }

    void captureOpensNumberedWindows() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(287, 249);

        TFAbbild* first = CaptureImage(test.context(), session, panel.get(),
                                       QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        QVERIFY(first != nullptr);
        QCOMPARE(first->objectName(), QStringLiteral("FAbbild1"));
        QCOMPARE(first->windowTitle(), QStringLiteral("Manipulation"));
        QVERIFY(first->isVisible());
        QVERIFY(first->isWindow());
        QCOMPARE(first->parentWidget(), &owner);
        QCOMPARE(first->picture().size(), QSize(287, 259));
        QCOMPARE(first->size(), QSize(287, 259 + 80));
        QCOMPARE(first->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());

        TFAbbild* second = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Verteilung"), 20, 0, 14, 0, &owner);
        QCOMPARE(second->objectName(), QStringLiteral("FAbbild2"));
        QCOMPARE(second->windowTitle(), QStringLiteral("Verteilung"));
        QCOMPARE(second->picture().size(), QSize(287, 229));
        QCOMPARE(second->size(), QSize(287, 229 + 80));
        QCOMPARE(session.windowCount, 2);
        QCOMPARE(owner.findChildren<TFAbbild*>().size(), 2);

        // The picture stands at its natural size below the two 40-pixel bars.
        QTRY_VERIFY(second->isVisible());
        QCOMPARE(testing::Find<QLabel>(*second, "Image1")->geometry(), QRect(0, 80, 287, 229));
        const QImage shown = second->grab().toImage();
        QCOMPARE(shown.pixelColor(20, 80 + 20), kMarkColour);
        QCOMPARE(shown.pixelColor(5, 80 + 5), second->picture().pixelColor(5, 5));
    }

    void watermarkStandsWhereTheOffsetsSay() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;

        // The board: 10 pixels taller, watermark 60 from the right and 14 from the bottom.
        auto board = MakePanel(287, 249);
        TFAbbild* window = CaptureImage(test.context(), session, board.get(),
                                        QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        const QImage picture = window->picture().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(287, 259));
        QCOMPARE(DifferingArea(picture, Expected(*board, 259)), QRect(227, 245, 60, 14));
        // The strip below the panel is its background; the panel's content is there.
        QCOMPARE(picture.pixelColor(100, 255), kPanelColour);
        QCOMPARE(picture.pixelColor(30, 20), kMarkColour);
        // The stamp is dark blue with light writing.
        const QColor body = picture.pixelColor(228, 252);
        QVERIFY(body.blue() > body.red() + 60);
        int light = 0;
        for (int x = 227; x < 287; ++x) {
            for (int y = 245; y < 259; ++y) {
                light += picture.pixelColor(x, y).lightness() > 200 ? 1 : 0;
            }
        }
        QVERIFY(light > 20);

        // The panel grew for the capture only.
        QCOMPARE(board->size(), QSize(287, 249));
        QCOMPARE(board->minimumSize(), QSize(287, 249));
        QCOMPARE(board->maximumSize(), QSize(287, 249));

        // The football window's content: 210 from the right, 406 from the bottom.
        auto tip = MakePanel(645, 494);
        window = CaptureImage(test.context(), session, tip.get(), QStringLiteral("tipps1"), 0, 210,
                              406, 0, &owner);
        QCOMPARE(DifferingArea(window->picture().convertToFormat(QImage::Format_RGB32),
                               Expected(*tip, 494)),
                 QRect(375, 88, 60, 14));

        // A cut leaves the bottom of the panel off.
        window = CaptureImage(test.context(), session, tip.get(), QStringLiteral("cut"), 100, 0, 14,
                              0, &owner);
        QCOMPARE(DifferingArea(window->picture().convertToFormat(QImage::Format_RGB32),
                               Expected(*tip, 394)),
                 QRect(585, 380, 60, 14));
    }

    void extraStripLiesInsideThePanelsFrame() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto board = MakePanel(287, 249);
        board->setFrameStyle(QFrame::Box | QFrame::Plain);
        board->setLineWidth(1);
        QPalette pal = board->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        board->setPalette(pal);
        TFAbbild* window = CaptureImage(test.context(), session, board.get(),
                                        QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        const QImage picture = window->picture();
        QCOMPARE(picture.pixelColor(0, 254), QColor(Qt::black));
        QCOMPARE(picture.pixelColor(286, 240), QColor(Qt::black));
        QCOMPARE(picture.pixelColor(100, 258), QColor(Qt::black));
        QCOMPARE(picture.pixelColor(100, 248), kPanelColour);
        QCOMPARE(board->size(), QSize(287, 249));

        // A shown panel in a layout keeps its place.
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* shown = MakePanel(287, 249).release();
        layout->addWidget(shown);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QRect before = shown->geometry();
        window = CaptureImage(test.context(), session, shown, QStringLiteral("Manipulation"), 0, 0,
                              14, 10, &owner);
        QCOMPARE(window->picture().size(), QSize(287, 259));
        QCoreApplication::processEvents();
        QCOMPARE(shown->geometry(), before);
    }

    void savesProgressiveJpegsAndRemembersTheFolder() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(287, 249);
        TFAbbild* window = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        const std::string shots = ShotsFolder(test);

        test.dialogs.saveAnswers.push_back(shots + "bild.png");
        testing::Press(*window, "BSave");
        QCOMPARE(test.dialogs.saveRequests.size(), std::size_t(1));
        const FileDialogRequest& request = test.dialogs.saveRequests[0];
        QCOMPARE(request.title, std::string("Abbildung speichern"));
        QCOMPARE(request.filterName, std::string("Abbildungen"));
        QCOMPARE(request.filterPattern, std::string("*.jpg"));
        QCOMPARE(request.defaultExtension, std::string("jpg"));
        QCOMPARE(request.folder, shots);
        QCOMPARE(request.proposedName, std::string("Manipulation"));
        QVERIFY(request.confirmOverwrite);
        QVERIFY(test.dialogs.messages.empty());
        QVERIFY(!Exists(shots + "bild.png"));
        const QByteArray jpeg = ReadFile(shots + "bild.jpg");
        QVERIFY(jpeg.startsWith("\xFF\xD8"));
        QVERIFY(jpeg.contains("\xFF\xC2"));
        QImage decoded;
        QVERIFY(decoded.loadFromData(jpeg, "JPG"));
        QCOMPARE(decoded.size(), QSize(287, 259));
        QCOMPARE(session.rememberedFolder, shots);

        // The next save, from another window, starts where the last one went.
        const std::string other = test.path("andere.ordner/");
        std::filesystem::create_directory(other);
        TFAbbild* second = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Verteilung"), 0, 0, 14, 0, &owner);
        test.dialogs.saveAnswers.push_back(other + "tipps1");
        testing::Press(*second, "BSave");
        QCOMPARE(test.dialogs.saveRequests.back().folder, shots);
        QCOMPARE(test.dialogs.saveRequests.back().proposedName, std::string("Verteilung"));
        QVERIFY(ReadFile(other + "tipps1.jpg").startsWith("\xFF\xD8"));
        QCOMPARE(session.rememberedFolder, other);

        test.dialogs.saveAnswers.push_back(std::nullopt);
        testing::Press(*window, "BSave");
        QCOMPARE(test.dialogs.saveRequests.back().folder, other);
        QCOMPARE(session.rememberedFolder, other);
        QVERIFY(test.dialogs.messages.empty());
    }

    void anExistingJpegBehindAnotherNameIsNotReplacedUnasked() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(120, 80);
        TFAbbild* window = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Verteilung"), 0, 0, 14, 0, &owner);
        const std::string shots = ShotsFolder(test);
        QVERIFY(testing::WriteFileBytes(shots + "bild.jpg", "altes Bild"));

        test.dialogs.saveAnswers.push_back(shots + "bild.png");
        test.dialogs.questionAnswers.push_back(false);
        testing::Press(*window, "BSave");
        QCOMPARE(test.dialogs.count(testing::ScriptedDialogs::Kind::Question), 1);
        QVERIFY(test.dialogs.last(testing::ScriptedDialogs::Kind::Question).find("bild.jpg") !=
                std::string::npos);
        QCOMPARE(testing::ReadFileBytes(shots + "bild.jpg"), std::string("altes Bild"));
        QVERIFY(session.rememberedFolder.empty());

        test.dialogs.saveAnswers.push_back(shots + "bild.png");
        test.dialogs.questionAnswers.push_back(true);
        testing::Press(*window, "BSave");
        QVERIFY(ReadFile(shots + "bild.jpg").startsWith("\xFF\xD8"));
    }

    void lowerQualityGivesASmallerFile() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(428, 306);
        for (int i = 0; i < 40; ++i) {
            auto* label = new QLabel(QStringLiteral("%1:").arg(i), panel.get());
            label->setGeometry(5 + (i % 7) * 60, 5 + (i / 7) * 40, 58, 20);
        }
        TFAbbild* window = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Verteilung"), 0, 0, 14, 0, &owner);
        const std::string shots = ShotsFolder(test);
        testing::Find<QSlider>(*window, "Slider1")->setValue(36);
        test.dialogs.saveAnswers.push_back(shots + "low.jpg");
        testing::Press(*window, "BSave");
        testing::Find<QSlider>(*window, "Slider1")->setValue(100);
        test.dialogs.saveAnswers.push_back(shots + "high.jpg");
        testing::Press(*window, "BSave");
        const QByteArray low = ReadFile(shots + "low.jpg");
        const QByteArray high = ReadFile(shots + "high.jpg");
        QVERIFY(low.contains("\xFF\xC2"));
        QVERIFY(high.contains("\xFF\xC2"));
        QVERIFY2(low.size() < high.size(),
                 qPrintable(QStringLiteral("%1 vs %2").arg(low.size()).arg(high.size())));
    }

    void savingWithoutPictureWarns() {
        testing::TestContext test;
        ImageSession session;
        TFAbbild window(test.context(), session);
        const std::string shots = ShotsFolder(test);
        test.dialogs.saveAnswers.push_back(shots + "leer.jpg");
        testing::Press(window, "BSave");
        QCOMPARE(test.dialogs.last(Kind::Warning), std::string("Kein Bild im Speicher"));
        QCOMPARE(test.dialogs.messages.size(), std::size_t(1));
        QVERIFY(test.dialogs.saveRequests.empty());
        QVERIFY(std::filesystem::is_empty(shots));
        QVERIFY(session.rememberedFolder.empty());
    }

    void unwritableTargetShowsTheErrorBox() {
        testing::TestContext test;
        ImageSession session;
        session.rememberedFolder = test.folders().shots;
        QWidget owner;
        auto panel = MakePanel(287, 249);
        TFAbbild* window = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        const std::string target = test.path("fehlt/bild.jpg");
        test.dialogs.saveAnswers.push_back(target);
        testing::Press(*window, "BSave");
        QCOMPARE(test.dialogs.count(Kind::Error), 1);
        const std::string text = test.dialogs.last(Kind::Error);
        QVERIFY2(text.rfind("Datei \"" + target + "\"", 0) == 0, text.c_str());
        QVERIFY2(text.find("kann nicht erstellt werden") != std::string::npos, text.c_str());
        QVERIFY(!Exists(target));
        QCOMPARE(session.rememberedFolder, test.folders().shots);
        QVERIFY(window->isVisible());
    }

    void jpegFileNameReplacesOnlyTheExtension() {
        QCOMPARE(JpegFileName("bild.png"), std::string("bild.jpg"));
        QCOMPARE(JpegFileName("tipps1"), std::string("tipps1.jpg"));
        QCOMPARE(JpegFileName("/home/a.b/tipps1"), std::string("/home/a.b/tipps1.jpg"));
        QCOMPARE(JpegFileName("C:\\Bilder.alt\\tipps1"), std::string("C:\\Bilder.alt\\tipps1.jpg"));
        QCOMPARE(JpegFileName("/x/runde.2.png"), std::string("/x/runde.2.jpg"));
        QCOMPARE(JpegFileName("/x/bild.jpg"), std::string("/x/bild.jpg"));
        QCOMPARE(JpegFileName("/x/bild."), std::string("/x/bild.jpg"));
    }

    void copyPutsThePictureOnTheClipboard() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(287, 249);
        TFAbbild* window = CaptureImage(test.context(), session, panel.get(),
                                        QStringLiteral("Manipulation"), 0, 0, 14, 10, &owner);
        testing::Press(*window, "bsSkinSpeedButton1");
        const QImage copied = test.clipboard.image();
        QCOMPARE(copied.size(), QSize(287, 259));
        QCOMPARE(copied.pixelColor(30, 20), kMarkColour);
        QVERIFY(test.dialogs.messages.empty());
    }

    void closingOnlyHides() {
        testing::TestContext test;
        ImageSession session;
        QWidget owner;
        auto panel = MakePanel(287, 249);
        QPointer<TFAbbild> first = CaptureImage(test.context(), session, panel.get(),
                                                QStringLiteral("eins"), 0, 0, 14, 0, &owner);
        QPointer<TFAbbild> second = CaptureImage(test.context(), session, panel.get(),
                                                 QStringLiteral("zwei"), 0, 0, 14, 0, &owner);
        QVERIFY(first->close());
        testing::Press(*second, "BClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(!first.isNull());
        QVERIFY(!second.isNull());
        QVERIFY(!first->isVisible());
        QVERIFY(!second->isVisible());
        QVERIFY(first->hasPicture());

        // A third capture after closing goes on counting.
        TFAbbild* third = CaptureImage(test.context(), session, panel.get(), QStringLiteral("drei"),
                                       0, 0, 14, 0, &owner);
        QCOMPARE(third->objectName(), QStringLiteral("FAbbild3"));
        QVERIFY(third->isVisible());
    }
};

QTEST_MAIN(ImageWindowTest)
#include "tst_image_window.moc"
