#pragma once

#include <QObject>
#include <exception>
#include <new>
#include <type_traits>
#include <utility>

#include "core/common/Error.h"
#include "platform/Dialogs.h"

namespace losfix {

// Runs a handler; an error it raises ends the handler and appears in the standard error box.
// What the handler did before stays done. Nothing throws through the event loop.
template <typename Handler>
bool Guarded(Dialogs& dialogs, Handler&& handler) {
    try {
        handler();
        return true;
    } catch (const Error& e) {
        dialogs.error(ErrorBoxText(e.what()));
    } catch (const std::bad_alloc&) {
        dialogs.error(ErrorBoxText("Zu wenig Arbeitsspeicher"));
    } catch (const std::exception& e) {
        dialogs.error(ErrorBoxText(e.what()));
    }
    return false;
}

// A slot that runs its handler inside the error guard, with the signal's arguments when the
// handler takes them.
template <typename Handler>
class GuardedSlot {
public:
    GuardedSlot(Dialogs& dialogs, Handler handler)
        : dialogs_(&dialogs), handler_(std::move(handler)) {}

    template <typename... Args>
    void operator()(Args&&... args) {
        Guarded(*dialogs_, [&] {
            if constexpr (std::is_invocable_v<Handler&, Args...>) {
                handler_(std::forward<Args>(args)...);
            } else {
                handler_();
            }
        });
    }

private:
    Dialogs* dialogs_;
    Handler handler_;
};

// Every button, radio group and mouse handler is connected through this, so that no error can
// escape into the event loop. Long work passes Qt::QueuedConnection: the press returns at once
// (a screen reader's press waits for the handler), and the work starts from the event loop.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, QObject* receiver,
                                       Dialogs& dialogs, Handler handler,
                                       Qt::ConnectionType type = Qt::AutoConnection) {
    return QObject::connect(sender, signal, receiver,
                            GuardedSlot<Handler>(dialogs, std::move(handler)), type);
}

}  // namespace losfix
