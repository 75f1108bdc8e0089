#include "gui/online/Online.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

#include "core/online/Donation.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"

namespace losfix {

namespace {
const char* const kNoConnectionForPayPal =
    "Für den Aufruf der PayPal-Seite muss eine Verbindung zum Internet bestehen.";
}  // namespace

OnlineAccess AccessOf(AppContext& context) {
    return OnlineAccess{*context.network, *context.files, context.tempProbeFile,
                        ServerUrl(context.serverUrl)};
}

BusyScope::BusyScope(std::function<void(bool)> setBusy) : setBusy_(std::move(setBusy)) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (setBusy_) {
        setBusy_(true);
    }
}

BusyScope::~BusyScope() {
    if (setBusy_) {
        setBusy_(false);
    }
    QApplication::restoreOverrideCursor();
}

QString FetchDonationCounter(AppContext& context) {
    return QString::fromStdString(FetchDonationCounter(AccessOf(context)));
}

void BPayClick(AppContext& context) {
    if (context.network->connected()) {
        // Whether a browser opened is not reported, as with any web link.
        context.shell->openUrl(kDonationPageUrl);
    } else {
        context.dialogs->information(kNoConnectionForPayPal);
    }
}

QToolButton* MakePayButton(AppContext& context, QWidget* parent) {
    QToolButton* button =
        MakeIconButton(QStringLiteral("BPay"), QIcon(QStringLiteral(":/online-donate.svg")),
                       QStringLiteral("Spenden über PayPal"), parent, 40);
    button->setAutoRaise(true);
    // From a queued call, so that the press returns at once.
    ConnectGuarded(
        button, &QToolButton::clicked, button, *context.dialogs, [&context] { BPayClick(context); },
        Qt::QueuedConnection);
    return button;
}

QWidget* FindWindowNamed(const QString& name) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if ((*it)->objectName() == name) {
            return *it;
        }
    }
    return nullptr;
}

void CentreOn(QWidget* window, const QWidget* owner) {
    QRect area;
    if (owner != nullptr && owner->isVisible()) {
        area = owner->geometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    // The client area, so that the frame the window system adds does not shift it.
    window->setGeometry(
        QRect(area.center() - QPoint(window->width() / 2, window->height() / 2), window->size()));
}

void ShowAndRaise(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace losfix
