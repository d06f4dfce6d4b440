#include "tapplication.h"

#include <vector>

#include "normcalc/core.h"
#include "wide_text.h"

namespace normcalc {

namespace {

constexpr wchar_t kWindowClass[] = L"TApplication";
// The resource name the icon is linked under (normcalc.rc).
constexpr wchar_t kIconName[] = L"MAINICON";

TApplication* runningApplication = nullptr;

// The windows an error box disables: every visible, enabled top-level window
// of this thread.
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  }
  return TRUE;
}

}  // namespace

int StartupShowCommand() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

std::wstring ApplicationTitleOfModule(HINSTANCE instance) {
  // Paths may be longer than MAX_PATH; grow the buffer until the name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) RaiseLastOSError();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Widen(ApplicationTitleFromPath(Narrow(path)));
}

TApplication::TApplication(HINSTANCE instance)
    : instance_(instance),
      showCommand_(StartupShowCommand()),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  icon_ = LoadIconW(instance_, kIconName);
  if (icon_ == nullptr) icon_ = LoadIconW(nullptr, IDI_APPLICATION);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = icon_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0) RaiseLastOSError();

  // A captioned pop-up of no size in the middle of the screen: never seen
  // itself, it is the owner of every form and so the one taskbar button.
  const int centreX = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int centreY = GetSystemMetrics(SM_CYSCREEN) / 2;
  const std::wstring title = ApplicationTitleOfModule(instance_);
  CreateWindowExW(0, kWindowClass, title.c_str(),
                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, centreX,
                  centreY, 0, 0, nullptr, nullptr, instance_, this);
  if (handle_ == nullptr) RaiseLastOSError();
  SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  // The application window is never sized, maximized or moved by the user.
  HMENU systemMenu = GetSystemMenu(handle_, FALSE);
  DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(systemMenu, SC_MOVE, MF_BYCOMMAND);
  runningApplication = this;
}

TApplication::~TApplication() {
  runningApplication = nullptr;
  mainForm_.reset();
  if (handle_ != nullptr) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, 0);
    DestroyWindow(handle_);
  }
  UnregisterClassW(kWindowClass, instance_);
}

TApplication* TApplication::Instance() { return runningApplication; }

void TApplication::RunEventLoop() {
  if (!mainForm_) return;
  const HWND form = mainForm_->Handle();
  switch (showCommand_) {
    case SW_SHOWMINNOACTIVE:
      // A shortcut set to run minimized: only the taskbar button appears;
      // restoring it shows the form in its normal state.
      ShowWindow(handle_, SW_SHOWMINNOACTIVE);
      break;
    case SW_SHOWMAXIMIZED:
      ShowApplicationWindow(true);
      ShowWindow(form, SW_SHOWMAXIMIZED);
      break;
    default:
      ShowApplicationWindow(true);
      ShowWindow(form, SW_SHOWNORMAL);
      break;
  }
  UpdateWindow(form);

  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;  // WM_QUIT
    if (got == -1) RaiseLastOSError();
    try {
      const bool keyboard = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
      if (keyboard && mainForm_ && mainForm_->PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } catch (...) {
      HandleEventError(std::current_exception());
    }
  }
}

void TApplication::RequestQuit() { PostQuitMessage(0); }

void TApplication::HandleEventError(std::exception_ptr error) {
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  const Exception failure = ReportableException(error);
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
    return;
  } catch (...) {
  }
  ReportError(failure);
}

void TApplication::ReportError(const Exception& error) {
  const std::wstring text = Widen(ErrorBoxText(error.Message()));
  const std::wstring title = ApplicationTitle();
  const HWND previouslyActive = GetActiveWindow();

  // A message box opens centred on its owner's monitor: bring the owner to the
  // monitor the user is looking at for as long as the box is open.
  RECT home{};
  GetWindowRect(handle_, &home);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HWND anchor = previouslyActive != nullptr ? previouslyActive : handle_;
  if (GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    const RECT& work = monitor.rcWork;
    SetWindowPos(handle_, nullptr, (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Task-modal: no window of the program takes a click while the box is open.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow,
                    reinterpret_cast<LPARAM>(&disabled));
  for (HWND window : disabled) EnableWindow(window, FALSE);

  MessageBoxW(handle_, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);

  for (HWND window : disabled) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  SetWindowPos(handle_, nullptr, home.left, home.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (previouslyActive != nullptr && IsWindow(previouslyActive)) {
    SetActiveWindow(previouslyActive);
  }
}

void TApplication::Minimize() {
  if (mainForm_) ShowWindow(mainForm_->Handle(), SW_HIDE);
  ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
  ShowWindow(handle_, SW_RESTORE);
  if (mainForm_) {
    const HWND form = mainForm_->Handle();
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
  }
}

std::wstring TApplication::ApplicationTitle() const {
  std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  title.resize(static_cast<std::size_t>(
      GetWindowTextW(handle_, title.data(), static_cast<int>(title.size()))));
  return title;
}

void TApplication::ShowApplicationWindow(bool visible) {
  // Shown without activation and without a show command: the process's
  // start-up show command belongs to the form.
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<TApplication*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // Nothing unwinds through the system's dispatching.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    self->HandleEventError(std::current_exception());
    return 0;
  }
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE || message == taskbarCreated_) {
    // The user may have changed the decimal mark in the regional settings.
    SetThreadLocale(LOCALE_USER_DEFAULT);
    ReadFormatSettings();
    return DefWindowProcW(handle_, message, wParam, lParam);
  }
  switch (message) {
    case WM_CLOSE:  // Close on the taskbar button closes the main form
      if (mainForm_) PostMessageW(mainForm_->Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
      }
      break;
    case WM_ACTIVATE:
      // The taskbar button activates this window; the user means the form.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(handle_) && mainForm_ &&
          IsWindowVisible(mainForm_->Handle())) {
        SetActiveWindow(mainForm_->Handle());
        return 0;
      }
      break;
    case WM_ENDSESSION:
      if (wParam != 0) RequestQuit();
      return 0;
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

}  // namespace normcalc
