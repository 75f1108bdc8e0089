#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "core/online/Donation.h"
#include "gui/online/Online.h"
#include "gui/online/ProductPanel.h"
#include "gui/online/TFInfo.h"
#include "support/Controls.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using Kind = testing::ScriptedDialogs::Kind;

namespace {

const std::string kDonationUrl = "http://127.0.0.1:1/downloads/wachLfx.txt";

// The scripted network, with a look at the panel while each transfer runs.
class WatchingNetwork : public testing::ScriptedNetwork {
public:
    DownloadResult download(const DownloadRequest& request) override {
        if (during) {
            during();
        }
        return ScriptedNetwork::download(request);
    }
    std::function<void()> during;
};

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();  // the queued handler
}

}  // namespace

class OnlineLinksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void productPicturesOpenTheirPagesThenRefreshTheCounter() {
        testing::TestContext test;
        ProductPanel panel(test.context());
        panel.show();
        QCOMPARE(panel.Label9->text(), QStringLiteral("Hinweis auf zwei meiner Programme:"));
        QCOMPARE(panel.Label12->text(), QStringLiteral("Für weitere Details klicke rechts."));
        for (QToolButton* picture : {panel.Image1, panel.Image2}) {
            QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(!picture->icon().isNull());
            QVERIFY(!picture->accessibleName().isEmpty());
        }

        QSignalSpy fetched(&panel, &ProductPanel::donationCounterFetched);
        WatchingNetwork network;
        test.context().network = &network;
        int watched = 0;
        network.during = [&] {
            ++watched;
            QVERIFY(!panel.Image1->isEnabled());
            QVERIFY(!panel.Image2->isEnabled());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        };
        network.serve(kDonationUrl, "12,50\r\n");
        Click(panel.Image1);
        QCOMPARE(test.shell.openedUrls, std::vector<std::string>{kFirstProduct.url});
        QCOMPARE(fetched.size(), 1);
        QCOMPARE(fetched[0][0].toString(), QStringLiteral("12,50"));
        QCOMPARE(network.requests.back().url, kDonationUrl);
        QCOMPARE(watched, 2);
        QVERIFY(panel.Image1->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // A failed fetch empties the box.
        network.answers.clear();
        network.fail(kDonationUrl, 404);
        Click(panel.Image2);
        QCOMPARE(test.shell.openedUrls.back(), std::string(kSecondProduct.url));
        QCOMPARE(fetched.size(), 2);
        QCOMPARE(fetched[1][0].toString(), QString());

        network.isConnected = false;
        const std::size_t asked = network.requests.size();
        Click(panel.Image1);
        QCOMPARE(test.dialogs.last(Kind::Information),
                 std::string("Für den Aufruf der Produktseite muss eine Verbindung zum Internet "
                             "bestehen."));
        QCOMPARE(test.shell.openedUrls.size(), std::size_t{2});
        QCOMPARE(fetched.size(), 2);
        QCOMPARE(network.requests.size(), asked);
    }

    void payButtonOpensTheDonationPageOnly() {
        testing::TestContext test;
        QWidget header;
        QToolButton* pay = MakePayButton(test.context(), &header);
        QCOMPARE(pay->objectName(), QStringLiteral("BPay"));
        QVERIFY(!pay->toolTip().isEmpty());
        QCOMPARE(pay->accessibleName(), pay->toolTip());
        QVERIFY(!pay->icon().isNull());

        Click(pay);
        QCOMPARE(test.shell.openedUrls, std::vector<std::string>{kDonationPageUrl});
        QVERIFY(std::string(kDonationPageUrl).find("/donate/?hosted_button_id=") !=
                std::string::npos);
        QVERIFY(test.network.requests.empty());

        test.network.isConnected = false;
        Click(pay);
        QCOMPARE(test.dialogs.last(Kind::Information),
                 std::string("Für den Aufruf der PayPal-Seite muss eine Verbindung zum Internet "
                             "bestehen."));
        QCOMPARE(test.shell.openedUrls.size(), std::size_t{1});
    }

    void infoWindow() {
        QWidget mainWindow;
        mainWindow.setGeometry(100, 80, 1000, 700);
        mainWindow.show();
        testing::TestContext test;
        QPointer<TFInfo> window = ShowInfoWindow(test.context(), &mainWindow);
        QCOMPARE(ShowInfoWindow(test.context(), &mainWindow), window.data());
        QCOMPARE(window->objectName(), QStringLiteral("FInfo"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Losfix 2.0     v1.5.0.0"));
        QCOMPARE(window->size(), QSize(400, 300));
        QVERIFY(qAbs(window->geometry().center().x() - mainWindow.geometry().center().x()) <= 1);
        QVERIFY(qAbs(window->geometry().center().y() - mainWindow.geometry().center().y()) <= 1);
        QCOMPARE(Find<QLabel>(*window, "Image1")->geometry(), QRect(0, 0, 400, 300));
        QVERIFY(!Find<QLabel>(*window, "Image1")->pixmap().isNull());
        QCOMPARE(Find<QLabel>(*window, "LVersion")->text(), QStringLiteral("Version 1.5.0.0"));
        QVERIFY(Find<QLabel>(*window, "LVersion")->alignment() & Qt::AlignRight);
        QCOMPARE(Find<QPushButton>(*window, "bsSkinSpeedButton3")->text(),
                 QStringLiteral("Schließen"));

        QCOMPARE(Find<QLabel>(*window, "LMail")->text(), QString::fromUtf8(kMaker.mail));
        QCOMPARE(Find<QLabel>(*window, "LMail")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(Find<QWidget>(*window, "Panel1")->cursor().shape(), Qt::ArrowCursor);

        QTest::mouseClick(Find<QLabel>(*window, "LMail"), Qt::LeftButton);
        QCOMPARE(test.shell.openedUrls,
                 std::vector<std::string>{"mailto:service@losfix.example?subject=Losfix 2.0"});
        Find<QLabel>(*window, "LMail")->setFocus();
        QTest::keyClick(Find<QLabel>(*window, "LMail"), Qt::Key_Space);
        QCOMPARE(test.shell.openedUrls.size(), std::size_t{2});

        QTest::mouseClick(Find<QPushButton>(*window, "bsSkinSpeedButton3"), Qt::LeftButton);
        QVERIFY(window->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        TFInfo* next = ShowInfoWindow(test.context(), &mainWindow);
        QVERIFY(next != nullptr);
        delete next;
    }
};

QTEST_MAIN(OnlineLinksTest)
#include "tst_online_links.moc"
