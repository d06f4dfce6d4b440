// normcalc: the calculator window for the standard normal distribution.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <exception>

#include "normcalc/core.h"
#include "tapplication.h"
#include "tform1.h"
#include "wide_text.h"

namespace {

// The form the application shows; lives from CreateMainForm to the end.
normcalc::TForm1* Form1 = nullptr;

}  // namespace

// The command line is not used.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // No floating-point control word is loaded here: every computation of the
  // calculator goes through the software Extended type, which always rounds
  // to 64 significant bits, to nearest, ties to even, and raises on invalid
  // operation, zero divide and overflow only; the hardware's own state plays
  // no part in it.
  normcalc::ReadFormatSettings();
  // Loads the version 6 controls the manifest asks for.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    normcalc::TApplication application(instance);
    // A failure while the main form is created or shown is reported in the
    // error box and ends the program; the exit code is 0 in every case.
    try {
      application.CreateMainForm(Form1);
      application.RunEventLoop();
    } catch (...) {
      application.ReportError(normcalc::ReportableException(std::current_exception()));
    }
  } catch (...) {
    // The application window itself could not be made: the same box, owned
    // by no window.
    const std::wstring text = normcalc::Widen(
        normcalc::ErrorBoxText(normcalc::ReportableException(std::current_exception()).Message()));
    const std::wstring title = normcalc::ApplicationTitleOfModule(instance);
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
  return 0;
}
