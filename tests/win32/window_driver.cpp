// Drives the real normcalc.exe from outside, as a user would: finds the window
// "Form1", types into its edit boxes, presses its buttons with keystrokes and
// mouse clicks, reads the boxes back with WM_GETTEXT, finds the error box and
// reads its caption and text, and checks how the program ends.
//   window_driver.exe C:\path\to\normcalc.exe C:\scratch\folder [group...]
// with groups from resources, table, keyboard, closing, show, layout, title, mark (all
// by default), and dpi120 (only by name, with the screen at 120 pixels per inch).
// Prints one line per check; the exit code is the number of failed checks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "calculator_check_values.h"

namespace {

constexpr DWORD kPatience = 10000;       // ms: a bound for a hung program, not a speed goal
constexpr DWORD kStartPatience = 30000;  // wine's first start of a program is slow
constexpr DWORD kPoll = 20;

int failures = 0;

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
  return result;
}

void Report(bool ok, const std::wstring& what) {
  if (!ok) ++failures;
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", Utf8(what).c_str());
  std::fflush(stdout);
}

std::wstring Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kPatience, &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kPatience, &copied);
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool WaitFor(const std::function<bool()>& condition, DWORD patience = kPatience) {
  const ULONGLONG end = GetTickCount64() + patience;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(kPoll);
  }
}

// ---------------------------------------------------------------------------
// Input, as the user's keyboard and mouse give it.

void SendKeys(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// Presses key with the modifiers held down (VK_SHIFT, VK_CONTROL, VK_MENU).
void Press(WORD key, std::vector<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
    inputs.push_back(KeyInput(*it, true));
  }
  SendKeys(inputs);
}

void Type(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendKeys(inputs);
}

void Click(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int x = (rect.left + rect.right) / 2;
  const int y = (rect.top + rect.bottom) / 2;
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  // The pointer first, and the press only once the system sees it there: a
  // press that overtakes the move lands where the pointer was.
  SendInput(1, inputs, sizeof(INPUT));
  WaitFor([&] {
    POINT at{};
    GetCursorPos(&at);
    return at.x == x && at.y == y;
  });
  SendInput(2, inputs + 1, sizeof(INPUT));
}

// ---------------------------------------------------------------------------
// One run of the program.

struct TFound {
  DWORD process;
  std::wstring className, title;
  HWND window = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM found) {
  auto* wanted = reinterpret_cast<TFound*>(found);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != wanted->process || ClassOf(window) != wanted->className) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (!wanted->title.empty() && wanted->title != title) return TRUE;
  wanted->window = window;
  return FALSE;
}

class TRunning {
 public:
  // Starts the program; showCommand < 0 gives no show command at all.
  TRunning(const std::wstring& program, int showCommand = -1) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
      Report(false, L"start " + program);
      return;
    }
    WaitForInputIdle(process_.hProcess, kPatience);
    // The window exists a moment before its controls do.
    WaitFor([&] { return FindControls() && IsWindowEnabled(form); }, kStartPatience);
  }

  bool FindControls() {
    form = TopLevel(L"TForm1", L"Form1");
    if (form == nullptr) return false;
    application = GetWindow(form, GW_OWNER);
    exitButton = FindWindowExW(form, nullptr, L"Button", L"EXIT");
    executeButton = FindWindowExW(form, nullptr, L"Button", L"EXECUTE");
    xToP = FindWindowExW(form, nullptr, L"Button", L"X\u2192P");
    pToX = FindWindowExW(form, nullptr, L"Button", L"P\u2192X");
    edit1 = FindWindowExW(form, nullptr, L"Edit", nullptr);
    edit2 = edit1 != nullptr ? FindWindowExW(form, edit1, L"Edit", nullptr) : nullptr;
    return Started();
  }

  ~TRunning() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, kPatience);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool Started() const {
    return form && application && exitButton && executeButton && xToP && pToX && edit1 && edit2;
  }

  HWND TopLevel(const std::wstring& className, const std::wstring& title = L"") const {
    TFound found{process_.dwProcessId, className, title};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.window;
  }

  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
    return info.hwndFocus;
  }
  HWND Active() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
    return info.hwndActive;
  }

  // Brings the window to the front so that keystrokes reach it.
  bool Activate() const {
    SetForegroundWindow(form);
    return WaitFor([&] { return GetForegroundWindow() == form && Active() == form; });
  }

  // Where the keyboard goes, for reports: the focused control's class and text.
  std::wstring FocusName() const {
    const HWND focus = Focus();
    if (focus == nullptr) return L"nothing";
    return ClassOf(focus) + L" \"" + Text(focus) + L"\"";
  }

  bool WaitForFocus(HWND control) const {
    return WaitFor([&] { return Focus() == control; });
  }

  // Clicks into the box, selects what it holds and types over it.
  bool TypeInto(HWND edit, const std::wstring& text) const {
    Click(edit);
    if (!WaitForFocus(edit)) return false;
    // The old text is selected from the keyboard, queued behind the click: an
    // EM_SETSEL sent now can be handled before the click's button messages,
    // which then put the caret where the pointer is, and the typing would
    // join the old text instead of replacing it.
    Press(VK_HOME);
    Press(VK_END, {VK_SHIFT});
    if (text.empty()) {
      Press(VK_DELETE);
    } else {
      Type(text);
    }
    return WaitFor([&] { return Text(edit) == text; });
  }

  bool Checked(HWND radio) const { return SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }

  bool SelectMode(HWND radio) const {
    Click(radio);
    return WaitFor([&] { return Checked(radio); });
  }

  // The exit code once the process has ended; STILL_ACTIVE when it does not.
  DWORD ExitCode() const {
    WaitForSingleObject(process_.hProcess, kPatience);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  HWND form = nullptr, application = nullptr;
  HWND exitButton = nullptr, executeButton = nullptr, xToP = nullptr, pToX = nullptr;
  HWND edit1 = nullptr, edit2 = nullptr;

 private:
  PROCESS_INFORMATION process_{};
};

// What a message box shows.
struct TErrorBox {
  HWND window = nullptr;
  std::wstring caption, text;
  std::vector<std::wstring> buttons;
  bool icon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM box) {
  auto* shown = reinterpret_cast<TErrorBox*>(box);
  const std::wstring className = ClassOf(child);
  if (!IsWindowVisible(child)) return TRUE;
  if (className == L"Button") {
    shown->buttons.push_back(Text(child));
  } else if (className == L"Static") {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      shown->icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (!Text(child).empty()) {
      shown->text = Text(child);
    }
  }
  return TRUE;
}

TErrorBox WaitForErrorBox(const TRunning& run) {
  TErrorBox box;
  WaitFor([&] {
    box.window = run.TopLevel(L"#32770");
    return box.window != nullptr && IsWindowVisible(box.window);
  });
  if (box.window == nullptr) return box;
  box.caption = Text(box.window);
  EnumChildWindows(box.window, ReadBoxChild, reinterpret_cast<LPARAM>(&box));
  return box;
}

// Checks the box, closes it with Enter and checks that the window works again.
void CheckErrorBox(const TRunning& run, const std::wstring& what, const std::wstring& caption,
                   const std::wstring& text) {
  const TErrorBox box = WaitForErrorBox(run);
  Report(box.window != nullptr, what + L": an error box opens");
  if (box.window == nullptr) return;
  Report(box.caption == caption, what + L": caption \"" + box.caption + L"\"");
  Report(box.text == text, what + L": text \"" + box.text + L"\"");
  Report(box.buttons == std::vector<std::wstring>{L"OK"} && box.icon,
         what + L": one OK button and the stop icon");
  Report(!IsWindowEnabled(run.form), what + L": the calculator window takes no input meanwhile");
  // The window manager may still be placing the box when it is first seen.
  const auto centred = [&] {
    RECT shown{};
    GetWindowRect(box.window, &shown);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(run.form, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    return std::abs((shown.left + shown.right) - (work.left + work.right)) <= 2 &&
           std::abs((shown.top + shown.bottom) - (work.top + work.bottom)) <= 2;
  };
  const bool isCentred = WaitFor(centred);
  RECT shown{};
  GetWindowRect(box.window, &shown);
  Report(isCentred, what + L": the box is centred on the window's monitor (it lies at " +
                        std::to_wstring(shown.left) + L"," + std::to_wstring(shown.top) +
                        L"\u2013" + std::to_wstring(shown.right) + L"," +
                        std::to_wstring(shown.bottom) + L")");
  WaitFor([&] { return run.Active() == box.window; });
  Press(VK_RETURN);
  Report(WaitFor([&] { return !IsWindow(box.window); }), what + L": Enter closes the box");
  Report(WaitFor([&] {
           return IsWindowEnabled(run.form) && run.Active() == run.form &&
                  GetForegroundWindow() == run.form;
         }),
         what + L": the calculator window is active again");
}

// ---------------------------------------------------------------------------
// The cases.

// The check values are ASCII, so each char widens to the same character.
std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

void ExecuteTable(const std::wstring& program) {
  TRunning run(program);
  Report(run.Started(), L"the table: Form1 opens with its controls");
  if (!run.Started() || !run.Activate()) return;
  // The conversions through the window, under a locale whose mark is ".".
  for (const normcalc::test::CheckValue& c : normcalc::test::kCalculatorCheckValues) {
    const bool pToX = c.itemIndex == normcalc::test::kPToXIndex;
    const std::wstring typed = Wide(c.typed);
    const std::wstring expected = Wide(c.written);
    const HWND typedInto = pToX ? run.edit2 : run.edit1;
    const HWND written = pToX ? run.edit1 : run.edit2;
    const std::wstring what =
        std::wstring(pToX ? L"P\u2192X" : L"X\u2192P") + L" \"" + typed + L"\"";
    // A mark in the box to be written, so that an old answer cannot pass.
    SendMessageW(written, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"));
    const bool ready = run.SelectMode(pToX ? run.pToX : run.xToP) && run.TypeInto(typedInto, typed);
    if (!ready) {
      Report(false, what + L": the mode or the text did not take; the box shows \"" +
                        Text(typedInto) + L"\", the focus is on " + run.FocusName());
    }
    Click(run.executeButton);
    WaitFor([&] { return Text(written) != L"-"; });
    Report(ready && Text(written) == expected,
           what + L" writes \"" + Text(written) + L"\", expected \"" + expected + L"\"");
    Report(Text(typedInto) == typed, what + L": the box typed into keeps its text");
  }

  // The two failures: the box to be written keeps its text, the error box
  // says why, and the window goes on working.
  run.SelectMode(run.xToP);
  run.TypeInto(run.edit1, L"1");
  Click(run.executeButton);
  WaitFor([&] { return Text(run.edit2) == L"0.341344279839592"; });
  struct TFailure {
    bool pToX;
    std::wstring typed, message;
  };
  const TFailure failures[] = {
      {false, L"2e4932", L"浮動小数点数のオーバーフロー."},
      {false, L"+NAN", L"不正な浮動小数点数演算命令."},
      {true, L"2e4932", L"浮動小数点数のオーバーフロー."},
      {true, L"-NAN", L"不正な浮動小数点数演算命令."},
  };
  for (const TFailure& f : failures) {
    const HWND typedInto = f.pToX ? run.edit2 : run.edit1;
    const HWND written = f.pToX ? run.edit1 : run.edit2;
    const std::wstring what =
        std::wstring(f.pToX ? L"P\u2192X" : L"X\u2192P") + L" \"" + f.typed + L"\"";
    const bool selected = run.SelectMode(f.pToX ? run.pToX : run.xToP);
    const std::wstring before = Text(written);
    const bool typed = selected && run.TypeInto(typedInto, f.typed);
    Report(typed, what + L": typed into its box, which shows \"" + Text(typedInto) + L"\"" +
                      (typed ? L"" : L"; the focus is on " + run.FocusName()));
    Click(run.executeButton);
    CheckErrorBox(run, what, L"normcalc", f.message);
    Report(Text(written) == before, what + L": the other box keeps \"" + before + L"\"");
    // A second click repeats the handler from its first step.
    Click(run.executeButton);
    CheckErrorBox(run, what + L" again", L"normcalc", f.message);
  }
  run.SelectMode(run.xToP);
  run.TypeInto(run.edit1, L"0.5");
  // The last box opened with the focus on EXECUTE. An activation that comes
  // again, late, once the user has clicked into a box leaves the focus there.
  SendMessageW(run.form, WM_ACTIVATE, WA_ACTIVE, 0);
  Report(run.Focus() == run.edit1,
         L"a repeated activation leaves the focus in the box clicked into (it is on " +
             run.FocusName() + L")");
  Click(run.executeButton);
  Report(
      WaitFor([&] { return Text(run.edit2) == L"0.191461995503053"; }),
      L"after the error boxes EXECUTE works: X\u2192P \"0.5\" writes \"" + Text(run.edit2) + L"\"");
  Click(run.exitButton);
  Report(run.ExitCode() == 0, L"EXIT clicked: exit code 0");
}

void Keyboard(const std::wstring& program) {
  TRunning run(program);
  Report(run.Started(), L"keyboard: Form1 opens");
  if (!run.Started() || !run.Activate()) return;
  Report(run.WaitForFocus(run.exitButton), L"at start EXIT has the focus");
  Report(run.Checked(run.xToP) && !run.Checked(run.pToX), L"at start X\u2192P is selected");
  Report(Text(run.edit1).empty() && Text(run.edit2).empty(), L"at start both boxes are empty");

  const HWND cycle[] = {run.xToP, run.edit1, run.edit2, run.executeButton, run.exitButton};
  const wchar_t* names[] = {L"the MODE group", L"Edit1", L"Edit2", L"EXECUTE", L"EXIT"};
  for (int i = 0; i < 5; ++i) {
    Press(VK_TAB);
    Report(run.WaitForFocus(cycle[i]), std::wstring(L"Tab moves the focus to ") + names[i]);
  }
  Press(VK_TAB, {VK_SHIFT});
  Report(run.WaitForFocus(run.executeButton), L"Shift+Tab moves the focus back to EXECUTE");

  // Enter and Esc where they must do nothing. Input is handled in order, so
  // once a later Tab has moved the focus the keys before it have been handled.
  run.TypeInto(run.edit1, L"1");
  SendMessageW(run.edit2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"));
  Press(VK_RETURN);
  Press(VK_TAB);
  run.WaitForFocus(run.edit2);
  Report(Text(run.edit2) == L"-" && Text(run.edit1) == L"1" && run.Running(),
         L"Enter in an edit box does nothing");
  Press(VK_TAB);
  run.WaitForFocus(run.executeButton);
  Press(VK_RETURN, {VK_SHIFT});
  Press(VK_RETURN, {VK_CONTROL});
  Press(VK_RETURN, {VK_MENU});
  Press(VK_ESCAPE);
  Press(VK_TAB);
  run.WaitForFocus(run.exitButton);
  Report(Text(run.edit2) == L"-" && run.Running(),
         L"Shift+Enter, Ctrl+Enter, Alt+Enter and Esc on EXECUTE click nothing");
  Press(VK_ESCAPE);
  Press(VK_TAB);
  run.WaitForFocus(run.xToP);
  Report(run.Running(), L"Esc on EXIT clicks nothing");
  Press(VK_RETURN);
  Press(VK_TAB);
  run.WaitForFocus(run.edit1);
  Report(Text(run.edit2) == L"-" && run.Running(), L"Enter on the MODE group does nothing");

  Press(VK_TAB, {VK_SHIFT});
  run.WaitForFocus(run.xToP);
  Press(VK_DOWN);
  Report(WaitFor([&] { return run.Checked(run.pToX) && run.Focus() == run.pToX; }),
         L"Down in the MODE group selects P\u2192X");
  Report(Text(run.edit1) == L"1" && Text(run.edit2) == L"-",
         L"selecting a mode changes neither box");
  Press(VK_UP);
  WaitFor([&] { return run.Checked(run.xToP); });

  // EXECUTE from the keyboard: Enter on it, then Space, each repeating it.
  for (int i = 0; i < 3; ++i) Press(VK_TAB);
  Report(run.WaitForFocus(run.executeButton), L"the focus is on EXECUTE after three Tabs");
  Press(VK_RETURN);
  Report(WaitFor([&] { return Text(run.edit2) == L"0.341344279839592"; }),
         L"Enter on EXECUTE executes");
  SendMessageW(run.edit2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"));
  Press(VK_RETURN);
  Report(WaitFor([&] { return Text(run.edit2) == L"0.341344279839592"; }),
         L"Enter again repeats Execute");
  SendMessageW(run.edit2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"));
  Press(VK_SPACE);
  Report(WaitFor([&] { return Text(run.edit2) == L"0.341344279839592"; }),
         L"Space on EXECUTE executes");

  Press(VK_F4, {VK_MENU});
  Report(run.ExitCode() == 0, L"Alt+F4: exit code 0");
}

void Closing(const std::wstring& program) {
  {
    TRunning run(program);
    if (run.Started() && run.Activate()) Press(VK_RETURN);
    Report(run.Started() && run.ExitCode() == 0, L"Enter right after start: exit code 0");
  }
  {
    TRunning run(program);
    // What a click on the close box makes of it.
    if (run.Started()) PostMessageW(run.form, WM_SYSCOMMAND, SC_CLOSE, 0);
    Report(run.Started() && run.ExitCode() == 0, L"the close box: exit code 0");
  }
  {
    TRunning run(program);
    if (run.Started() && run.Activate()) {
      Press(VK_SPACE, {VK_MENU});
      WaitFor([&] {
        const HWND menu = run.TopLevel(L"#32768");
        return menu != nullptr && IsWindowVisible(menu);
      });
      Press('C');
    }
    Report(run.Started() && run.ExitCode() == 0, L"the system menu's Close: exit code 0");
  }
  {
    TRunning run(program);
    if (run.Started()) PostMessageW(run.application, WM_CLOSE, 0, 0);
    Report(run.Started() && run.ExitCode() == 0, L"Close on the taskbar button: exit code 0");
  }
  {
    TRunning run(program);
    DWORD_PTR mayEnd = 0;
    if (run.Started()) {
      SendMessageTimeoutW(run.form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, kPatience, &mayEnd);
      PostMessageW(run.application, WM_ENDSESSION, TRUE, 0);
    }
    Report(run.Started() && mayEnd != 0 && run.ExitCode() == 0,
           L"Windows ending the session: the window agrees, exit code 0");
  }
}

// The decimal mark comes from the user's regional settings. (Wine keeps the
// settings a process has read for its lifetime, so the change while the
// program runs, on WM_SETTINGCHANGE, cannot be shown here; see docs/windows.md.)
void DecimalMark(const std::wstring& program) {
  auto setMark = [](const wchar_t* mark) {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, mark);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"),
                        SMTO_ABORTIFHUNG, kPatience, &ignored);
  };
  struct TMarkCase {
    const wchar_t* mark;
    std::wstring written;
  };
  const TMarkCase cases[] = {{L",", L"0,341344279839592"}, {L".", L"0.341344279839592"}};
  for (const TMarkCase& c : cases) {
    setMark(c.mark);
    TRunning run(program);
    if (!run.Started() || !run.Activate()) {
      Report(false, L"decimal mark: Form1 opens");
      continue;
    }
    run.TypeInto(run.edit1, L"1");
    Click(run.executeButton);
    WaitFor([&] { return Text(run.edit2) == c.written; });
    Report(Text(run.edit2) == c.written, std::wstring(L"with the decimal mark \"") + c.mark +
                                             L"\" X\u2192P \"1\" writes \"" + Text(run.edit2) +
                                             L"\"");
    Click(run.exitButton);
    run.ExitCode();
  }
  setMark(L".");
}

// The icon and the version the program carries, as Explorer reads them.
void Resources(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return Report(false, L"the program's resources can be read");
  HRSRC group = FindResourceW(module, L"MAINICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  bool icon = false;
  if (group != nullptr) {
    // The icon directory: a 6-byte header, then 14-byte entries of width,
    // height, colour count, reserved, planes, bits per pixel, ...
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    const int count = directory[4] | directory[5] << 8;
    const BYTE* entry = directory + 6;
    icon = count == 1 && entry[0] == 32 && entry[1] == 32 && entry[2] == 16 && entry[6] == 4;
  }
  Report(icon, L"the icon MAINICON is one 32 x 32 image with 16 colours");
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  std::wstring version;
  if (!info.empty() &&
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) {
    wchar_t* text = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                       reinterpret_cast<void**>(&text), &length)) {
      version.assign(text, length > 0 ? length - 1 : 0);
    }
  }
  Report(version == NORMCALC_VERSION, L"the version resource reads \"" + version + L"\"");
}

void ShowCommands(const std::wstring& program) {
  {
    TRunning run(program, SW_SHOWMAXIMIZED);
    Report(
        run.Started() && WaitFor([&] { return IsWindowVisible(run.form) && IsZoomed(run.form); }),
        L"started maximized, the window opens maximized");
    if (run.Started()) PostMessageW(run.form, WM_CLOSE, 0, 0);
    Report(run.ExitCode() == 0, L"started maximized: exit code 0");
  }
  {
    TRunning run(program, SW_SHOWMINNOACTIVE);
    Report(run.Started() && WaitFor([&] { return IsIconic(run.application); }) &&
               !IsWindowVisible(run.form),
           L"started minimized, only the taskbar button is there");
    if (!run.Started()) return;
    PostMessageW(run.application, WM_SYSCOMMAND, SC_RESTORE, 0);
    Report(WaitFor([&] { return IsWindowVisible(run.form) && !IsIconic(run.application); }) &&
               !IsZoomed(run.form) && !IsIconic(run.form),
           L"restoring it shows the window in its normal state");
    PostMessageW(run.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Report(WaitFor([&] { return IsIconic(run.application) && !IsWindowVisible(run.form); }),
           L"minimizing the window minimizes the application");
    PostMessageW(run.application, WM_SYSCOMMAND, SC_RESTORE, 0);
    Report(WaitFor([&] { return IsWindowVisible(run.form); }), L"restoring brings it back");
    PostMessageW(run.form, WM_CLOSE, 0, 0);
    Report(run.ExitCode() == 0, L"started minimized: exit code 0");
  }
}

void Layout(const std::wstring& program) {
  TRunning run(program);
  if (!run.Started()) return Report(false, L"layout: Form1 opens");
  RECT frame{};
  GetWindowRect(run.form, &frame);
  Report(frame.left == 218 && frame.top == 192 && frame.right - frame.left == 397 &&
             frame.bottom - frame.top == 231,
         L"the window is at 218,192 with outer size 397 x 231: " + std::to_wstring(frame.left) +
             L"," + std::to_wstring(frame.top) + L" " + std::to_wstring(frame.right - frame.left) +
             L" x " + std::to_wstring(frame.bottom - frame.top));
  auto clientOrigin = [&](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    POINT origin{rect.left, rect.top};
    ScreenToClient(run.form, &origin);
    return origin;
  };
  const POINT before = clientOrigin(run.executeButton);
  SetWindowPos(run.form, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  WaitFor([&] {
    RECT rect{};
    GetWindowRect(run.form, &rect);
    return rect.right - rect.left == 700;
  });
  const POINT after = clientOrigin(run.executeButton);
  Report(before.x == after.x && before.y == after.y,
         L"resizing the window leaves the controls where they were");
  SetWindowPos(run.form, nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Report(WaitFor([&] {
           const LONG style = GetWindowLongW(run.form, GWL_STYLE);
           return (style & WS_HSCROLL) != 0 && (style & WS_VSCROLL) != 0;
         }),
         L"a window too small for its controls shows scroll bars");
  // Each bar's requests move the controls along that bar alone; both bars
  // take the same codes (a line, a page, an end). Another process cannot read
  // the bars' positions, so the controls' place tells them.
  struct TScrollBarCase {
    UINT message;
    bool horizontal;
    const wchar_t* name;
  };
  for (const TScrollBarCase& c : {TScrollBarCase{WM_HSCROLL, true, L"horizontal"},
                                  TScrollBarCase{WM_VSCROLL, false, L"vertical"}}) {
    RECT client{};
    GetClientRect(run.form, &client);
    const LONG page = c.horizontal ? client.right : client.bottom;
    LONG across = 0;
    // How far the controls stand scrolled along the bar after the request.
    auto request = [&](WORD code) {
      SendMessageW(run.form, c.message, MAKEWPARAM(code, 0), 0);
      const POINT now = clientOrigin(run.executeButton);
      across = c.horizontal ? before.y - now.y : before.x - now.x;
      return c.horizontal ? before.x - now.x : before.y - now.y;
    };
    const std::wstring name = c.name;
    const LONG atEnd = request(SB_BOTTOM);
    Report(atEnd > 0 && across == 0,
           name + L" bar: its far end moves the controls along it alone: " +
               std::to_wstring(atEnd) + L" and " + std::to_wstring(across));
    const LONG lineBack = request(SB_LINEUP);
    const LONG lineForward = request(SB_LINEDOWN);
    // A line is 8 pixels at 96 pixels per inch.
    const LONG line = MulDiv(8, static_cast<int>(GetDpiForWindow(run.form)), 96);
    Report(lineBack == std::max(0L, atEnd - line) && lineForward == atEnd,
           name + L" bar: a line of " + std::to_wstring(line) + L" back and forward: " +
               std::to_wstring(lineBack) + L", " + std::to_wstring(lineForward));
    const LONG atStart = request(SB_TOP);
    const LONG pageForward = request(SB_PAGEDOWN);
    const LONG pageBack = request(SB_PAGEUP);
    Report(atStart == 0 && pageForward == std::min(atEnd, page) && pageBack == 0,
           name + L" bar: the near end, a page of " + std::to_wstring(page) +
               L" forward and back: " + std::to_wstring(atStart) + L", " +
               std::to_wstring(pageForward) + L", " + std::to_wstring(pageBack));
  }
  SetWindowPos(run.form, nullptr, 0, 0, 397, 231, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Report(WaitFor([&] {
           const LONG style = GetWindowLongW(run.form, GWL_STYLE);
           return (style & (WS_HSCROLL | WS_VSCROLL)) == 0;
         }),
         L"at its own size again the scroll bars go");
  Report(clientOrigin(run.executeButton).x == before.x, L"and the controls are back in place");
  PostMessageW(run.form, WM_CLOSE, 0, 0);
  run.ExitCode();
}

// Asked for by name only, on a screen the caller has set to 120 pixels per
// inch: the whole window is the 96-dpi one scaled by 120 / 96, worked out by
// hand (218,192 and 397 x 231 become 273,240 and 496 x 289), and its grown
// controls fit in it, so no scroll bar shows.
void HighDensity(const std::wstring& program) {
  TRunning run(program);
  if (!run.Started()) return Report(false, L"120 dpi: Form1 opens");
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  Report(dpi == 120, L"120 dpi: the screen has " + std::to_wstring(dpi) + L" pixels per inch");
  RECT frame{};
  GetWindowRect(run.form, &frame);
  Report(frame.left == 273 && frame.top == 240 && frame.right - frame.left == 496 &&
             frame.bottom - frame.top == 289,
         L"120 dpi: the window is at 273,240 with outer size 496 x 289: " +
             std::to_wstring(frame.left) + L"," + std::to_wstring(frame.top) + L" " +
             std::to_wstring(frame.right - frame.left) + L" x " +
             std::to_wstring(frame.bottom - frame.top));
  Report((GetWindowLongW(run.form, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) == 0,
         L"120 dpi: no scroll bar shows");
  RECT client{};
  GetClientRect(run.form, &client);
  for (HWND control = GetWindow(run.form, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, run.form, reinterpret_cast<POINT*>(&rect), 2);
    Report(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right &&
               rect.bottom <= client.bottom,
           L"120 dpi: \"" + Text(control) + L"\" lies within the " + std::to_wstring(client.right) +
               L" x " + std::to_wstring(client.bottom) + L" client area: " +
               std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L" to " +
               std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom));
  }
  PostMessageW(run.form, WM_CLOSE, 0, 0);
  Report(run.ExitCode() == 0, L"120 dpi: exit code 0");
}

void Title(const std::wstring& program, const std::wstring& scratch) {
  struct TTitleCase {
    std::wstring file, title;
  };
  const TTitleCase cases[] = {{L"CALC.EXE", L"Calc"}, {L"calc.v2.exe", L"calc"}};
  for (const TTitleCase& c : cases) {
    const std::wstring copy = scratch + L"\\" + c.file;
    if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) {
      Report(false, L"copy the program to " + copy);
      continue;
    }
    {
      TRunning run(copy);
      if (!run.Started() || !run.Activate()) {
        Report(false, c.file + L": Form1 opens");
        continue;
      }
      Report(Text(run.application) == c.title,
             c.file + L": the application title is \"" + Text(run.application) + L"\"");
      Report(Text(run.form) == L"Form1", c.file + L": the window's caption stays \"Form1\"");
      run.TypeInto(run.edit1, L"+NAN");
      Click(run.executeButton);
      CheckErrorBox(run, c.file + L" \"+NAN\"", c.title, L"不正な浮動小数点数演算命令.");
      Click(run.exitButton);
      Report(run.ExitCode() == 0, c.file + L": exit code 0");
    }
    DeleteFileW(copy.c_str());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_driver normcalc.exe scratch-folder [group...]\n");
    return 2;
  }
  const std::wstring program = argv[1];
  const std::wstring scratch = argv[2];
  const std::vector<std::wstring> chosen(argv + 3, argv + argc);
  auto named = [&](const wchar_t* group) {
    return std::find(chosen.begin(), chosen.end(), group) != chosen.end();
  };
  auto run = [&](const wchar_t* group, const std::function<void()>& cases) {
    if (chosen.empty() || named(group)) cases();
  };
  // Windows' coordinates as the program itself has them, whatever the
  // screen's density.
  SetProcessDPIAware();
  // The expected texts are written with ".": undo what an interrupted run of
  // the decimal-mark cases may have left in the user's settings.
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L".");
  run(L"resources", [&] { Resources(program); });
  run(L"table", [&] { ExecuteTable(program); });
  run(L"keyboard", [&] { Keyboard(program); });
  run(L"closing", [&] { Closing(program); });
  run(L"show", [&] { ShowCommands(program); });
  run(L"layout", [&] { Layout(program); });
  run(L"title", [&] { Title(program, scratch); });
  run(L"mark", [&] { DecimalMark(program); });
  // Needs the screen at 120 pixels per inch, so never among the defaults.
  if (named(L"dpi120")) HighDensity(program);
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
