#pragma once

#include <QString>
#include <functional>

#include "core/online/Download.h"
#include "gui/common/AppContext.h"

class QToolButton;
class QWidget;

namespace losfix {

// The downloads' view of the context, with the server address resolved.
OnlineAccess AccessOf(AppContext& context);

// Shows the hourglass and marks its owner busy for as long as it lives, and undoes both on every
// way out, an error included.
class BusyScope {
public:
    explicit BusyScope(std::function<void(bool)> setBusy);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    std::function<void(bool)> setBusy_;
};

// The donation status fetched fresh from the server; "" without a connection or on failure.
QString FetchDonationCounter(AppContext& context);

// BPay: opens the donation page in the browser when there is a connection, otherwise says why not.
// The donation status is not fetched here.
void BPayClick(AppContext& context);
// The donation button "BPay" for the header; a press runs BPayClick.
QToolButton* MakePayButton(AppContext& context, QWidget* parent);

// The open window of that name (the windows looked at from the last to the first), or nullptr.
QWidget* FindWindowNamed(const QString& name);
// Places the window in the middle of the owner (or of the screen without one).
void CentreOn(QWidget* window, const QWidget* owner);
// Shows the window restored from minimised, in front.
void ShowAndRaise(QWidget* window);

}  // namespace losfix
