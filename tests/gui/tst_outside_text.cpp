#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include "gui/app/TFMain.h"
#include "gui/common/ElidedLabel.h"
#include "gui/online/Online.h"
#include "gui/online/TFUpdate.h"
#include "platform/Dialogs.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;

namespace {

const std::string kVersionUrl = "http://127.0.0.1:1/downloads/verinfos.lfx";
const std::string kDonationUrl = "http://127.0.0.1:1/downloads/wachLfx.txt";

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// The label shows the text character for character, and a screen reader reads it so too; as
// markup its name would be the text without the tags.
void ExpectShownAsItStands(QLabel* label, const QString& text) {
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(AccessibleName(label), text);
}

}  // namespace

class OutsideTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void donationStatusAndAvailableVersion() {
        testing::TestContext env;
        // A picture the label would load if it took the text as markup.
        const std::string picture = env.path("bild.png");
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(QString::fromStdString(picture)));
        const QString stored = QStringLiteral("<img src=\"%1\">").arg(picture.c_str());
        QVERIFY(testing::WriteFileBytes(env.folders().settingsFile(),
                                        "[Wach]\r\nStand=" + stored.toStdString() + "\r\n"));
        TFMain window(env.context());
        window.show();
        QLabel* leur = Find<QLabel>(window, "leur");
        ExpectShownAsItStands(leur, stored);

        env.network.serve(kVersionUrl, testing::VersionRecord("<b>1.6.0.0</b>"));
        env.network.serve(kDonationUrl, "<b>12</b>\r\n");
        testing::Press(window, "bsSkinSpeedButton13");
        auto* update = qobject_cast<TFUpdate*>(FindWindowNamed(QStringLiteral("FUpdate")));
        QVERIFY(update != nullptr);
        QTest::mouseClick(Find<QPushButton>(*update, "BCalc"), Qt::LeftButton);
        QCoreApplication::processEvents();  // the queued check
        ExpectShownAsItStands(Find<QLabel>(*update, "PvVersion"), QStringLiteral("<b>1.6.0.0</b>"));
        ExpectShownAsItStands(leur, QStringLiteral("<b>12</b>"));
        delete update;
    }

    void rowFileName() {
        testing::TestContext env;
        const QString name = QStringLiteral("<img src=bild.png><b>Reihen.lrei");
        const std::string path = env.folders().rows + name.toStdString();
        QVERIFY(testing::WriteFileBytes(path, "\"     1\",3,11,17,28,40,49,,,,,,,,,,\r\n"));
        TFMain window(env.context());
        window.show();
        env.dialogs.openAnswers.push_back(path);
        testing::Press(window, "bsSkinSpeedButton3");
        QCOMPARE(env.dialogs.messages.size(), std::size_t{0});
        ExpectShownAsItStands(Find<QLabel>(window, "LDatei2"), name);
    }

    void statusLineTooltip() {
        ElidedLabel label(QStringLiteral("LDatei2"));
        label.resize(60, label.height());
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        const auto hover = [&] {
            QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&label, &help);
            return QToolTip::text();
        };
        label.setText(QStringLiteral("west tipps.csv"));
        QCOMPARE(hover(), QStringLiteral("west tipps.csv"));

        // Drawn as rich text, the tooltip shows the characters typed, not bold type or a picture.
        const QString name = QStringLiteral("<b>west</b> <img src=bild.png> & tipps.csv");
        label.setText(name);
        const QString shown = hover();
        QVERIFY(Qt::mightBeRichText(shown));
        QCOMPARE(QTextDocumentFragment::fromHtml(shown).toPlainText(), name);
        QCOMPARE(label.toolTip(), name);
        QToolTip::hideText();
    }

    void messages() {
        QtDialogs dialogs;
        const std::string text = "Datei <b>/home/a/x.lrei</b> kann nicht geöffnet werden.\r<i>";
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                shown = box->text();
                format = box->textFormat();
                box->accept();
            }
        });
        dialogs.information(text);
        QCOMPARE(shown,
                 QStringLiteral("Datei <b>/home/a/x.lrei</b> kann nicht geöffnet werden.\n<i>"));
        QCOMPARE(format, Qt::PlainText);

        format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                format = box->textFormat();
                box->button(QMessageBox::No)->click();
            }
        });
        QVERIFY(!dialogs.question("Soll <b>x</b> ersetzt werden?"));
        QCOMPARE(format, Qt::PlainText);
    }
};

QTEST_MAIN(OutsideTextTest)
#include "tst_outside_text.moc"
