#pragma once

#include <QString>
#include <new>
#include <utility>

#include "conversions/runtime_error.h"
#include "ui/notifier.h"
#include "ui/user_message.h"

namespace tarvex {

// The one place where a run-time error is caught: a handler stops at the failing step, the
// error is shown in a modal box, and the program goes on with the fields as the handler left
// them. Every handler bound to an event runs through this. An allocation that fails (a file or a
// picture too large for the memory left) stops the handler the same way.
template <typename Handler>
void RunHandler(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const RuntimeError& error) {
        CurrentNotifier().ShowError(QString::fromStdString(UserMessage(error)));
    } catch (const std::bad_alloc&) {
        CurrentNotifier().ShowError(QString::fromStdString(OutOfMemoryMessage()));
    }
}

}  // namespace tarvex
