// The main routine: create the main form, run the event loop, end with 0.
#pragma once

#include <exception>

#include "normcalc/core.h"
#include "tapplication.h"

namespace normcalc {

// A failure while the main form is created or shown is reported in the error
// box and ends the program; the result is 0 in every case.
template <class FormClass>
int RunMainRoutine(TApplication& application) {
  try {
    application.CreateMainForm<FormClass>();
    application.RunEventLoop();
  } catch (...) {
    application.ReportError(ReportableException(std::current_exception()));
  }
  return 0;
}

}  // namespace normcalc
