// The boundary of every handler the system binds to an event.
//
// Debian's Qt libraries are built without exception tables, so an exception
// that unwinds into a Qt frame ends the process. Every slot, event override and
// callback of ours therefore runs through GuardEvent, which hands whatever
// escapes to the application shell (TApplication::HandleEventError) before
// control returns to Qt.
#pragma once

#include <exception>
#include <utility>

namespace normcalc {

// Passes an exception that escaped the handling of an event to the running
// application's HandleEventError.
void HandleEscapedException(std::exception_ptr error) noexcept;

template <class Handler>
void GuardEvent(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    HandleEscapedException(std::current_exception());
  }
}

// A slot for QObject::connect that runs receiver->handler() inside GuardEvent.
template <class Receiver>
auto Guarded(Receiver* receiver, void (Receiver::*handler)()) {
  return [receiver, handler] { GuardEvent([&] { (receiver->*handler)(); }); };
}

}  // namespace normcalc
