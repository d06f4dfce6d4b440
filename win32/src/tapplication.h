// TApplication: the application shell on Windows. It owns the hidden
// application window that carries the taskbar button, creates the main form,
// runs the message loop until the main form closes, and turns every exception
// that escapes a message handler into the one error box.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "normcalc/numtext.h"

namespace normcalc {

// What the shell needs of a form.
class TForm {
 public:
  virtual ~TForm() = default;
  virtual HWND Handle() const = 0;
  // Offers a queued keyboard message to the form before it is translated;
  // true when the form has handled it.
  virtual bool PreTranslateMessage(MSG& message) = 0;
};

class TApplication final {
 public:
  explicit TApplication(HINSTANCE instance);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The running application; nullptr before it is constructed.
  static TApplication* Instance();

  // Constructs the form with its window created and hidden, owned by the
  // application window, and makes it the main form. When the construction
  // throws, form stays nullptr and the exception propagates.
  template <class FormClass>
  void CreateMainForm(FormClass*& form) {
    form = nullptr;
    auto created = std::make_unique<FormClass>(*this);
    form = created.get();
    mainForm_ = std::move(created);
  }

  // Shows the main form as the show command says and dispatches messages until
  // RequestQuit; returns at once when there is no main form.
  void RunEventLoop();
  // Ends the message loop; nothing registered objects.
  void RequestQuit();

  // EAbort ends the event silently; every other exception goes to ReportError.
  void HandleEventError(std::exception_ptr error);
  // The error box: the message with the period rule, caption ApplicationTitle,
  // the stop icon and one OK, modal for every window of the program.
  void ReportError(const Exception& error);

  // Minimizing any form minimizes the whole application to its taskbar
  // button; restoring shows the main form again.
  void Minimize();
  void Restore();

  std::wstring ApplicationTitle() const;
  HWND Handle() const { return handle_; }
  HICON Icon() const { return icon_; }
  HINSTANCE ModuleInstance() const { return instance_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ShowApplicationWindow(bool visible);

  HINSTANCE instance_;
  HICON icon_ = nullptr;
  HWND handle_ = nullptr;
  int showCommand_;
  UINT taskbarCreated_;
  std::unique_ptr<TForm> mainForm_;
};

// The show command the process was started with: wShowWindow of the start-up
// information when its flags say so, else SW_SHOWDEFAULT.
int StartupShowCommand();

// The title of a program at this path: the file name up to its first ".",
// lower case after the first character.
std::wstring ApplicationTitleOfModule(HINSTANCE instance);

}  // namespace normcalc
