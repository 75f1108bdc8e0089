#pragma once

#include <exception>
#include <new>

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

}  // namespace losfix
