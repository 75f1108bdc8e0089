// What a sighted user reads in each window, a screen reader must reach: every window filled as
// after real use, then walked through QAccessible as AT-SPI walks it.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "core/football/TipFiles.h"
#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/TFAbbild.h"
#include "gui/football/TFKick.h"
#include "gui/online/TFInfo.h"
#include "gui/online/TFUpdate.h"
#include "support/AccessibleTexts.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Press;
using losfix::testing::TestContext;
using losfix::testing::UnreachableTexts;

namespace {

void ShowWindow(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

#define VERIFY_REACHABLE(window)                                    \
    do {                                                            \
        const QStringList faults = UnreachableTexts(window);        \
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n'))); \
    } while (false)

// Presses the stop button as soon as the run goes on, from inside the run's event processing.
void StopWhenRunning(QWidget& window, std::function<bool()> running) {
    auto* timer = new QTimer(&window);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, timer, running] {
        if (running()) {
            timer->stop();
            Press(window, "BStop");
        }
    });
    timer->start();
}

// A label that reaches the tree as a frame carrying its text.
class FrameLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
};

QAccessibleInterface* FrameLabelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(FrameLabel::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Border);
    }
    return nullptr;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        testing::InitGuiTestEnvironment();
        QAccessible::installFactory(FrameLabelFactory);
    }

    void theCheckFindsWhatAReaderMisses() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto add = [&](QWidget* widget, const char* name) {
            widget->setObjectName(QString::fromLatin1(name));
            layout->addWidget(widget);
        };
        auto* caption = new QLabel(QStringLiteral("Kombinationen:"));
        auto* hidden = new QLabel(QStringLiteral("8.192"));
        hidden->setAccessibleName(caption->text());
        caption->setBuddy(hidden);
        add(caption, "caption");
        add(hidden, "valueHiddenByItsName");
        auto* framed = new FrameLabel(QStringLiteral("Prozess gestoppt"));
        framed->setAccessibleName(framed->text());
        add(framed, "textAsAFrame");
        auto* named = new QLabel(QStringLiteral("13"));
        named->setAccessibleName(QStringLiteral("ZW: 13"));
        add(named, "valueInItsName");
        add(new QLabel(QStringLiteral("<b>12</b> €")), "richText");
        add(new CaptionButton(QStringLiteral("broken"),
                              QStringLiteral("Reihen aufstei- gend "
                                             "sortieren"),
                              QIcon()),
            "brokenCaption");
        auto* elided = new ElidedLabel(QStringLiteral("elided"));
        elided->setText(QStringLiteral("Reihe 1 von 120, 5 Kandidaten geprüft"));
        add(elided, "elided");
        auto* model = new QStandardItemModel(2, 2, &window);
        model->setHorizontalHeaderLabels({QStringLiteral("Spiel 1"), QStringLiteral("Spiel 2")});
        auto* table = new QTableView;
        table->setModel(model);
        add(table, "table");
        // Widgets inside a view's cells are not children of the view's accessible object.
        auto* inCell = new QLabel(QStringLiteral("im Feld"));
        inCell->setObjectName(QStringLiteral("labelInACell"));
        table->setIndexWidget(model->index(0, 0), inCell);
        ShowWindow(window);

        const QStringList faults = UnreachableTexts(window);
        QStringList faulty;
        for (const QString& fault : faults) {
            faulty << fault.section(u' ', 1, 1).chopped(1);
        }
        faulty.sort();
        QCOMPARE(faulty,
                 (QStringList{QStringLiteral("labelInACell"), QStringLiteral("textAsAFrame"),
                              QStringLiteral("valueHiddenByItsName")}));
        QVERIFY(faults.join(u'\n').contains(QStringLiteral("role Border")));

        // A header section that tells a screen reader something else than it shows.
        model->setHeaderData(1, Qt::Horizontal, QStringLiteral("anders"), Qt::AccessibleTextRole);
        const QStringList withHeader = UnreachableTexts(window);
        QCOMPARE(withHeader.size(), faults.size() + 1);
        QVERIFY(withHeader.join(u'\n').contains(QStringLiteral("header \"Spiel 2\"")));
    }

    void wholeWordsCount() {
        QVERIFY(testing::CarriesText(QStringLiteral("Zahl 1: Normal"), QStringLiteral("1")));
        QVERIFY(!testing::CarriesText(QStringLiteral("Zahl 10: Normal"), QStringLiteral("1")));
        QVERIFY(!testing::CarriesText(QStringLiteral("Kombinationen:"), QStringLiteral("8.192")));
        QVERIFY(
            testing::CarriesText(QStringLiteral("Kombinationen: 8.192"), QStringLiteral("8.192")));
        QVERIFY(testing::CarriesText(QStringLiteral("Sch&ließen"), QStringLiteral("Schließen")));
        QVERIFY(
            testing::CarriesText(QStringLiteral("Excel-Export"), QStringLiteral("Excel- Export")));
        QVERIFY(testing::CarriesText(QStringLiteral("1:"), QStringLiteral("1:")));
        QVERIFY(!testing::CarriesText(QStringLiteral("11:"), QStringLiteral("1:")));
        QVERIFY(testing::CarriesText(QString(), QStringLiteral("  ")));
    }

    // The events a screen reader hears are checked through AT-SPI (tests/atspi): offscreen, Qt
    // sends none.
    void statusLinesSpeakAsText() {
        QWidget window;
        auto* line = new ElidedLabel(QStringLiteral("LFortschritt"), 1, &window);
        line->setGeometry(0, 0, 60, line->height());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(line);
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->role(), QAccessible::StaticText);
        line->setAccessibleRole(QAccessible::StatusBar);
        QCOMPARE(accessible->role(), QAccessible::StatusBar);
        QCOMPARE(accessible->text(QAccessible::Name), QString());

        // Far longer than the 60 pixels: the painted line is cut, the spoken one is whole.
        const QString text =
            QStringLiteral("Reihe 1.000 von 20.000, 123.456.789 Kandidaten geprüft");
        line->setText(text);
        QVERIFY(line->shownLines().constFirst().endsWith(QChar(0x2026)));
        QCOMPARE(accessible->text(QAccessible::Name), text);
        QCOMPARE(accessible->text(QAccessible::Value), text);
        QCOMPARE(accessible->text(QAccessible::Description), QString());
        QAccessibleTextInterface* spoken = accessible->textInterface();
        QVERIFY(spoken != nullptr);
        QCOMPARE(spoken->characterCount(), text.size());
        QCOMPARE(spoken->text(0, spoken->characterCount()), text);
        QCOMPARE(spoken->text(6, 11), QStringLiteral("1.000"));
        QCOMPARE(spoken->text(50, 500), text.mid(50));
        QCOMPARE(spoken->text(0, -1), text);
        QCOMPARE(spoken->text(-3, 5), QStringLiteral("Reihe"));
        int start = -1;
        int end = -1;
        QCOMPARE(spoken->attributes(3, &start, &end), QString());
        QCOMPARE(std::pair(start, end), std::pair(0, static_cast<int>(text.size())));
        QCOMPARE(spoken->selectionCount(), 0);
        line->clear();
        QCOMPARE(accessible->text(QAccessible::Name), QString());
        QCOMPARE(spoken->characterCount(), 0);
    }

    void captionsAreReadWithoutTheirBreaks() {
        const QList<QPair<QString, QString>> cases = {
            {QStringLiteral("Reihen aufstei- gend sortieren"),
             QStringLiteral("Reihen aufsteigend sortieren")},
            {QStringLiteral("Sortieren rück- gängig machen"),
             QStringLiteral("Sortieren rückgängig machen")},
            {QStringLiteral("In Zwischen- ablage"), QStringLiteral("In Zwischenablage")},
            {QStringLiteral("Excel- Export"), QStringLiteral("Excel-Export")},
            {QStringLiteral("Reihen speichern..."), QStringLiteral("Reihen speichern...")},
            {QStringLiteral("1 - 2"), QStringLiteral("1 - 2")},
        };
        for (const auto& [caption, spoken] : cases) {
            QCOMPARE(SpokenCaption(caption), spoken);
            CaptionButton button(QStringLiteral("b"), caption, QIcon());
            QCOMPARE(QAccessible::queryAccessibleInterface(&button)->text(QAccessible::Name),
                     spoken);
            QCOMPARE(button.text(), caption);
        }
    }

    void mainWindowAfterRunsAndASave() {
        TestContext env;
        TFMain window(env.context());
        ShowWindow(window);
        VERIFY_REACHABLE(window);
        testing::GenerateRows(window, 40);
        env.dialogs.saveAnswers = {env.path("reihen.lrei")};
        Press(window, "bsSkinSpeedButton7");
        QVERIFY(!Find<QLabel>(window, "LDatei2")->text().isEmpty());
        VERIFY_REACHABLE(window);

        // Congruence 3 allows far fewer rows: the stop notice and the hint show.
        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("20000"));
        Find<QSlider>(window, "Track1")->setValue(3);
        StopWhenRunning(window, [&window] { return window.running(); });
        testing::GenerateRows(window);
        QVERIFY(Find<ElidedLabel>(window, "LHinweis")->isVisible());
        QVERIFY(Find<ElidedLabel>(window, "LObergrenze")->filled());
        VERIFY_REACHABLE(window);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(Find<ElidedLabel>(window, "LHinweis"))->role(),
            QAccessible::StatusBar);
        QCOMPARE(QAccessible::queryAccessibleInterface(Find<QWidget>(window, "g1"))
                     ->text(QAccessible::Name),
                 QStringLiteral("Reihe"));
    }

    void footballWindowAfterAQuickSelectionARunAndASave() {
        TestContext env;
        // Matches 1 and 2 of every game chosen: 8.192 combinations.
        std::string quick;
        for (int match = 0; match < 13; ++match) {
            quick += "1\r\n1\r\n0\r\n";
        }
        QVERIFY(testing::WriteFileBytes(QuickTipFilePath(env.folders().settings), quick));
        ImageSession images;
        TFKick window(env.context(), images);
        ShowWindow(window);
        VERIFY_REACHABLE(window);
        Press(window, "BQOpen13");
        QCOMPARE(Find<QLabel>(window, "LKombis")->text(), QStringLiteral("8.192"));
        QAccessibleInterface* count =
            QAccessible::queryAccessibleInterface(Find<QLabel>(window, "LKombis"));
        QCOMPARE(count->text(QAccessible::Name), QStringLiteral("8.192"));
        const auto labels = count->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.constFirst().first->text(QAccessible::Name),
                 QStringLiteral("Kombinationen:"));

        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("30"));
        Press(window, "bsSkinSpeedButton2");
        QVERIFY(!window.running());
        env.dialogs.saveAnswers = {env.path("tipps1.txt")};
        Press(window, "bsSkinSpeedButton7");
        QCOMPARE(Find<ElidedLabel>(window, "LDatei2")->text(), QStringLiteral("tipps1.txt"));
        VERIFY_REACHABLE(window);

        Find<QLineEdit>(window, "eAnz")->setText(QStringLiteral("99999"));
        StopWhenRunning(window, [&window] { return window.running(); });
        Press(window, "bsSkinSpeedButton2");
        QVERIFY(Find<QLabel>(window, "LHinweis")->isVisible());
        VERIFY_REACHABLE(window);
    }

    void imageWindowWithAPicture() {
        TestContext env;
        ImageSession session;
        TFAbbild window(env.context(), session);
        QImage picture(200, 120, QImage::Format_RGB32);
        picture.fill(Qt::white);
        window.setPicture(picture);
        ShowWindow(window);
        VERIFY_REACHABLE(window);
    }

    void updateWindowWithAnAvailableVersion() {
        TestContext env;
        std::string record(8, '\0');
        record += '\x07';
        record += "1.6.0.0";
        record.resize(24, '\0');
        env.network.serve("http://127.0.0.1:1/downloads/verinfos.lfx", record);
        TFUpdate* window = ShowUpdateWindow(env.context(), nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(Find<QPushButton>(*window, "BCalc"), Qt::LeftButton);
        QTRY_COMPARE(Find<QLabel>(*window, "PvVersion")->text(), QStringLiteral("1.6.0.0"));
        VERIFY_REACHABLE(*window);
        QAccessibleInterface* available =
            QAccessible::queryAccessibleInterface(Find<QLabel>(*window, "PvVersion"));
        QStringList captions;
        for (const auto& [label, relation] : available->relations(QAccessible::Label)) {
            captions << label->text(QAccessible::Name);
        }
        QVERIFY2(captions.contains(QStringLiteral("Verfügbare Version")),
                 qPrintable(captions.join(u',')));
        delete window;
    }

    void infoAndStartWindows() {
        TestContext env;
        QWidget owner;
        TFInfo* info = ShowInfoWindow(env.context(), &owner);
        QVERIFY(QTest::qWaitForWindowExposed(info));
        VERIFY_REACHABLE(*info);
        QVERIFY(QAccessible::queryAccessibleInterface(Find<QLabel>(*info, "Image1"))
                    ->text(QAccessible::Name)
                    .contains(QStringLiteral("Zufallsreihen für Lotto und Toto")));
        delete info;

        TFStart start(env.context());
        ShowWindow(start);
        VERIFY_REACHABLE(start);
        QCOMPARE(QAccessible::queryAccessibleInterface(&start)->text(QAccessible::Description),
                 QStringLiteral("Zufallsreihen für Lotto und Toto"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
