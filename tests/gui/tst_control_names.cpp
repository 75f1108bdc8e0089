#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "gui/common/ElidedLabel.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/TFAbbild.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/eval/TFKickAuswertung.h"
#include "gui/football/TFKick.h"
#include "gui/lottery/BoardPanel.h"
#include "gui/online/TFInfo.h"
#include "gui/online/TFUpdate.h"
#include "gui/rows/DistributionPanel.h"
#include "gui/rows/RowTableView.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::TestContext;

namespace {

// Every button, field and slider must say what it is to a screen reader: its caption, its
// accessible name or its buddy label.
void CheckSpeaks(QWidget& window) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // A spin box speaks for the field inside it.
        if (widget->window() != &window ||
            qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) != nullptr) {
            continue;
        }
        if (qobject_cast<QAbstractButton*>(widget) == nullptr &&
            qobject_cast<QLineEdit*>(widget) == nullptr &&
            qobject_cast<QSlider*>(widget) == nullptr &&
            qobject_cast<QAbstractSpinBox*>(widget) == nullptr &&
            qobject_cast<QComboBox*>(widget) == nullptr) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible != nullptr, qPrintable(widget->objectName()));
        QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("no accessible name: ") +
                            QString::fromLatin1(widget->metaObject()->className()) + " " +
                            widget->objectName()));
    }
}

}  // namespace

class ControlNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void mainWindowControlsHaveTheirNames() {
        TestContext env;
        TFMain window(env.context());
        for (const char* name : {"bsSkinSpeedButton1",
                                 "BFoto",
                                 "BDel",
                                 "BQuick1",
                                 "BQuick2",
                                 "BQuick3",
                                 "bsSkinSpeedButton4",
                                 "bsSkinSpeedButton5",
                                 "bsSkinSpeedButton6",
                                 "BBreit",
                                 "Bnormal",
                                 "BStop",
                                 "bsSkinSpeedButton15",
                                 "bsSkinSpeedButton16",
                                 "bsSkinSpeedButton9",
                                 "bsSkinSpeedButton10",
                                 "bsSkinSpeedButton2",
                                 "bsSkinSpeedButton3",
                                 "bsSkinSpeedButton7",
                                 "BSort",
                                 "BUnSort",
                                 "BSortN",
                                 "BSortH",
                                 "BAuswerten",
                                 "BDrucken"}) {
            QVERIFY(Find<QToolButton>(window, name) != nullptr);
        }
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6",
                                 "Label7", "Label17", "leur", "Lkon", "LDatei2"}) {
            QVERIFY(Find<QLabel>(window, name) != nullptr);
        }
        for (const char* name : {"RG1", "RG2", "RGPaar"}) {
            QVERIFY(Find<RadioGroup>(window, name) != nullptr);
        }
        for (const char* name : {"LHinweis", "LFortschritt", "LObergrenze"}) {
            QVERIFY(Find<ElidedLabel>(window, name) != nullptr);
        }
        for (const char* name : {"bsSkinSpeedButton8", "bsSkinSpeedButton11", "bsSkinSpeedButton12",
                                 "bsSkinSpeedButton13", "bsSkinSpeedButton14", "BPay"}) {
            QVERIFY(Find<QToolButton>(window, name) != nullptr);
        }
        QVERIFY(Find<QLineEdit>(window, "eAnz") != nullptr);
        QVERIFY(Find<QSlider>(window, "Track1") != nullptr);
        QVERIFY(Find<QTimer>(window, "Timer1") != nullptr);
        QVERIFY(Find<RowTableView>(window, "g1") != nullptr);
        QVERIFY(Find<QFrame>(window, "PPayPal") != nullptr);
        BoardPanel* board = Find<BoardPanel>(window, "P4");
        DistributionPanel* distribution = Find<DistributionPanel>(window, "P3");
        for (int n = 1; n <= 90; ++n) {
            QCOMPARE(board->button(n)->objectName(), QStringLiteral("but%1").arg(n));
            QCOMPARE(distribution->frame(n)->objectName(), QStringLiteral("frs%1").arg(n));
        }
        CheckSpeaks(window);
    }

    void startAndImageWindowControlsHaveTheirNames() {
        TestContext env;
        TFStart start(env.context());
        QVERIFY(Find<QPushButton>(start, "Weiter") != nullptr);
        CheckSpeaks(start);

        ImageSession session;
        QWidget owner;
        TFAbbild image(env.context(), session, &owner);
        for (const char* name : {"BClose", "BSave", "bsSkinSpeedButton1"}) {
            QVERIFY(Find<QToolButton>(image, name) != nullptr);
        }
        for (const char* name : {"bsSkinLabel1", "Label1", "Label2", "Label3", "Image1"}) {
            QVERIFY(Find<QLabel>(image, name) != nullptr);
        }
        QVERIFY(Find<QSlider>(image, "Slider1") != nullptr);
        CheckSpeaks(image);
    }

    void updateAndInfoWindowControlsHaveTheirNames() {
        TestContext env;
        TFUpdate update(env.context(), {});
        for (const char* name : {"BCalc", "BDown", "BSetup", "bsSkinSpeedButton1"}) {
            QVERIFY(Find<QPushButton>(update, name) != nullptr);
        }
        for (const char* name :
             {"Label1", "Label2", "Label3", "Label4", "PiVersion", "PvVersion"}) {
            QVERIFY(Find<QLabel>(update, name) != nullptr);
        }
        for (const char* name : {"bsSkinGroupBox1", "bsSkinGroupBox2", "bsSkinGroupBox3"}) {
            QVERIFY(Find<QGroupBox>(update, name) != nullptr);
        }
        QVERIFY(Find<QProgressBar>(update, "Gauge3") != nullptr);
        CheckSpeaks(update);

        TFInfo info(env.context());
        for (const char* name :
             {"Image1", "LVersion", "LName", "LStrasse", "LPLZOrt", "LMail", "LTelefon", "LFax"}) {
            QVERIFY(Find<QLabel>(info, name) != nullptr);
        }
        QVERIFY(Find<QWidget>(info, "Panel1") != nullptr);
        QVERIFY(Find<QPushButton>(info, "bsSkinSpeedButton3") != nullptr);
        CheckSpeaks(info);
    }

    void evaluationWindowControlsHaveTheirNames() {
        TestContext env;
        TFMain window(env.context());
        const LotteryState state;
        TFAuswertung lotto(env.context(), state, window.settingsFile(), &window);
        for (const char* name : {"BTreffer", "BLoeschen", "BBerechnen", "BStopp", "BKopieren",
                                 "BSpeichern", "BSchliessen"}) {
            QVERIFY(Find<QPushButton>(lotto, name) != nullptr);
        }
        for (const char* name : {"LReihen", "LGezogen", "LZiehung", "LZusatz", "LHinweis",
                                 "LZusammenfassung", "LKlasse", "LBasis", "LKeinGewinn"}) {
            QVERIFY(Find<QLabel>(lotto, name) != nullptr);
        }
        for (const char* name : {"eZiehung", "eZusatz"}) {
            QVERIFY(Find<QLineEdit>(lotto, name) != nullptr);
        }
        for (const char* name : {"eGezogen", "eKlasse"}) {
            QVERIFY(Find<QSpinBox>(lotto, name) != nullptr);
        }
        QVERIFY(Find<QTableView>(lotto, "gTreffer") != nullptr);
        QVERIFY(Find<QTableView>(lotto, "gChancen") != nullptr);
        QVERIFY(Find<QProgressBar>(lotto, "PFortschritt") != nullptr);
        QVERIFY(Find<QToolButton>(lotto, "BDrucken") != nullptr);
        for (const char* name : {"AAuswertungDrucken", "AAuswertungPdf"}) {
            QVERIFY(Find<QAction>(lotto, name) != nullptr);
        }
        CheckSpeaks(lotto);

        ImageSession images;
        TFKick kick(env.context(), images);
        QVERIFY(Find<QToolButton>(kick, "BAuswerten") != nullptr);
        TFKickAuswertung football(env.context(), kick.state(), &kick);
        for (int match = 1; match <= 13; ++match) {
            const QByteArray name = QByteArray("cbSpiel") + QByteArray::number(match);
            QVERIFY(Find<QComboBox>(football, name.constData()) != nullptr);
        }
        for (const char* name : {"BTreffer", "BLoeschen", "BBerechnen", "BStopp", "BKopieren",
                                 "BSpeichern", "BSchliessen"}) {
            QVERIFY(Find<QPushButton>(football, name) != nullptr);
        }
        QVERIFY(Find<QToolButton>(football, "BDrucken") != nullptr);
        for (const char* name :
             {"LReihen", "LErgebnisse", "LHinweis", "LZusammenfassung", "LBasisGleich",
              "LKeinGewinnGleich", "LBasisStatus", "LKeinGewinnStatus"}) {
            QVERIFY(Find<QLabel>(football, name) != nullptr);
        }
        QVERIFY(Find<QLineEdit>(football, "eErgebnisse") != nullptr);
        for (const char* name : {"gTreffer", "gGleich", "gStatus"}) {
            QVERIFY(Find<QTableView>(football, name) != nullptr);
        }
        CheckSpeaks(football);
    }

    void onlyTheWindowsOwnControlsCount() {
        TestContext env;
        TFMain window(env.context());
        QCOMPARE(testing::Matches<QLabel>(window, "BSort").size(), 0);
        // An image window of the main window has a "Label1" of its own; only the main
        // window's counts.
        TFAbbild image(env.context(), window.imageSession(), &window);
        QCOMPARE(window.findChildren<QLabel*>(QStringLiteral("Label1")).size(), 2);
        QCOMPARE(testing::Matches<QLabel>(window, "Label1").size(), 1);
    }
};

QTEST_MAIN(ControlNamesTest)
#include "tst_control_names.moc"
