#include "tform1.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "normcalc/core.h"
#include "wide_text.h"

namespace normcalc {

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
// Control identifiers: the description's controls from kFirstControlId in
// creation order, the radio items from kFirstRadioItemId. Both stay clear of
// IDOK and IDCANCEL, which the dialog keyboard sends on its own.
constexpr int kFirstControlId = 100;
constexpr int kFirstRadioItemId = 200;
// One step of a scroll bar's arrow, in pixels at 96 pixels per inch.
constexpr int kScrollLine = 8;
constexpr int kDesignPixelsPerInch = 96;

struct TField {
  std::string_view name;
  HWND TForm1::*member;
};

bool KeyIsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

TFontHandle MakeFont(const TFormDescription& form, int characterHeight, bool bold, bool italic) {
  const std::wstring face = Widen(form.fontFace);
  LOGFONTW font{};
  // A negative height asks for the character height, without internal leading.
  font.lfHeight = -characterHeight;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic ? TRUE : FALSE;
  // Asking for the face together with its character set lets Windows pick a
  // Japanese face of its own where this one is not installed.
  font.lfCharSet = static_cast<BYTE>(form.fontCharSet);
  font.lfQuality = DEFAULT_QUALITY;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  TFontHandle handle(CreateFontIndirectW(&font));
  if (!handle) RaiseLastOSError();
  return handle;
}

SIZE TextExtent(HFONT font, std::wstring_view text) {
  TScreenDC screen;
  TSelection selection(screen.Get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace

TForm1::TForm1(TApplication& application) : application_(application) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = application_.ModuleInstance();
  windowClass.hIcon = application_.Icon();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    RaiseLastOSError();
  }

  const TFormDescription& form = Form1Description;
  const std::wstring caption = Widen(form.caption);
  const int pixelsPerInch = GetDeviceCaps(TScreenDC().Get(), LOGPIXELSY);
  // The whole window grows with a denser screen, place and outer size too, so
  // that it covers the same part of the screen as at 96 pixels per inch and
  // the grown controls fit in it without scroll bars.
  const TBounds bounds = ScaledFormBounds(form, pixelsPerInch);
  // Owned by the application window: the form has no taskbar button of its own.
  CreateWindowExW(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL,
                  bounds.left, bounds.top, bounds.width, bounds.height, application_.Handle(),
                  nullptr, application_.ModuleInstance(), this);
  if (handle_ == nullptr) RaiseLastOSError();
  SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(application_.Icon()));
  SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(application_.Icon()));
  CreateControls();
  LayOut(pixelsPerInch);
}

TForm1::~TForm1() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

void TForm1::CreateControls() {
  static constexpr TField kFields[] = {
      {"Button1", &TForm1::Button1}, {"RadioGroup1", &TForm1::RadioGroup1},
      {"Edit1", &TForm1::Edit1},     {"Edit2", &TForm1::Edit2},
      {"Label1", &TForm1::Label1},   {"Button2", &TForm1::Button2},
      {"Label2", &TForm1::Label2},   {"Label3", &TForm1::Label3},
      {"Label4", &TForm1::Label4},
  };
  const HINSTANCE instance = application_.ModuleInstance();
  const auto controls = Form1Description.controls;
  // The dialog keyboard moves the focus in the order of the windows, so the
  // controls that take the focus are created in tab order.
  std::vector<const TControlDescription*> order;
  for (const TControlDescription& control : controls) order.push_back(&control);
  std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    return (a->tabOrder < 0 ? 0 : 1) < (b->tabOrder < 0 ? 0 : 1) ||
           (a->tabOrder >= 0 && b->tabOrder >= 0 && a->tabOrder < b->tabOrder);
  });

  for (const TControlDescription* control : order) {
    const auto field = std::find_if(std::begin(kFields), std::end(kFields),
                                    [&](const TField& f) { return f.name == control->name; });
    if (field == std::end(kFields)) {
      throw Exception("TForm1 has no field " + std::string(control->name));
    }
    const std::wstring text = Widen(control->text);
    const auto id = reinterpret_cast<HMENU>(
        static_cast<INT_PTR>(kFirstControlId + (control - controls.data())));
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD extendedStyle = 0;
    switch (control->kind) {
      case TControlKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case TControlKind::PushButton:
        // No BS_NOTIFY: with it a quick second click becomes a double-click
        // notification instead of a click.
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
        break;
      case TControlKind::RadioGroup:
        windowClass = L"BUTTON";
        style |= BS_GROUPBOX | WS_GROUP;
        break;
      case TControlKind::Edit:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
        extendedStyle = WS_EX_CLIENTEDGE;
        break;
    }
    HWND window = CreateWindowExW(extendedStyle, windowClass, text.c_str(), style, 0, 0, 0, 0,
                                  handle_, id, instance, nullptr);
    if (window == nullptr) RaiseLastOSError();
    this->*(field->member) = window;

    if (control->kind == TControlKind::Edit) SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
    if (control->kind == TControlKind::PushButton) {
      SetWindowSubclass(window, PushButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    if (control->kind == TControlKind::RadioGroup) {
      for (std::size_t i = 0; i < control->items.size(); ++i) {
        const std::wstring item = Widen(control->items[i]);
        const bool selected = static_cast<int>(i) == control->itemIndex;
        // The first item opens the group that the arrow keys move in; only the
        // selected item is a tab stop, so Tab enters the group at it.
        const DWORD itemStyle = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON |
                                (i == 0 ? WS_GROUP : 0) | (selected ? WS_TABSTOP : 0);
        HWND radio =
            CreateWindowExW(0, L"BUTTON", item.c_str(), itemStyle, 0, 0, 0, 0, handle_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstRadioItemId + i)),
                            instance, nullptr);
        if (radio == nullptr) RaiseLastOSError();
        if (selected) Button_SetCheck(radio, BST_CHECKED);
        radioItems_.push_back(radio);
      }
    }
  }
  for (const TField& field : kFields) {
    if (this->*(field.member) == nullptr) {
      throw Exception("the form description has no control " + std::string(field.name));
    }
  }
}

void TForm1::LayOut(int pixelsPerInch) {
  const TFormDescription& form = Form1Description;
  TFontHandle formFont = MakeFont(form, ScaledFormFontHeight(form, pixelsPerInch), false, false);
  // The description was made for a font whose "0" is textHeight pixels high;
  // a substitute face or another pixels per inch measures otherwise, and the
  // controls follow.
  const int measured = TextExtent(formFont.get(), L"0").cy;
  std::vector<TFontHandle> labelFonts;
  extent_ = {};

  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const TControlDescription& control = form.controls[i];
    HWND window = GetDlgItem(handle_, kFirstControlId + static_cast<int>(i));
    TBounds bounds = ScaledBounds({control.left, control.top, control.width, control.height},
                                  measured, form.textHeight);
    HFONT font = formFont.get();
    if (control.kind == TControlKind::Label) {
      labelFonts.push_back(MakeFont(form,
                                    ScaledFontHeight(control.fontHeight, measured, form.textHeight),
                                    control.bold, control.italic));
      font = labelFonts.back().get();
      // Labels size themselves to their text.
      const SIZE size = TextExtent(font, Widen(control.text));
      bounds.width = size.cx;
      bounds.height = size.cy;
    }
    SetWindowFont(window, font, FALSE);
    SetWindowPos(window, nullptr, bounds.left - scrolled_.x, bounds.top - scrolled_.y, bounds.width,
                 bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
    extent_.cx = std::max<LONG>(extent_.cx, bounds.left + bounds.width);
    extent_.cy = std::max<LONG>(extent_.cy, bounds.top + bounds.height);

    if (control.kind == TControlKind::RadioGroup) {
      const int count = static_cast<int>(radioItems_.size());
      for (int item = 0; item < count; ++item) {
        const TBounds cell = RadioItemBounds(bounds.width, bounds.height, measured, count, item);
        SetWindowFont(radioItems_[item], font, FALSE);
        SetWindowPos(radioItems_[item], nullptr, bounds.left + cell.left - scrolled_.x,
                     bounds.top + cell.top - scrolled_.y, cell.width, cell.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  // The controls hold the new fonts before the old ones are deleted.
  formFont_ = std::move(formFont);
  labelFonts_ = std::move(labelFonts);
  UpdateScrollBars();
  InvalidateRect(handle_, nullptr, TRUE);
}

void TForm1::UpdateScrollBars() {
  RECT client{};
  GetClientRect(handle_, &client);
  const LONG size[] = {client.right, client.bottom};
  const LONG extent[] = {extent_.cx, extent_.cy};
  const int bars[] = {SB_HORZ, SB_VERT};
  for (int i = 0; i < 2; ++i) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = static_cast<int>(extent[i]) - 1;
    info.nPage = static_cast<UINT>(size[i]);
    // A page as large as the range hides the bar: the controls all fit.
    SetScrollInfo(handle_, bars[i], &info, TRUE);
  }
  // Growing the window may leave the controls scrolled further than needed.
  ScrollTo(SB_HORZ, scrolled_.x);
  ScrollTo(SB_VERT, scrolled_.y);
}

void TForm1::ScrollTo(int bar, int position) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(handle_, bar, &info);
  const int last = std::max(0, info.nMax - info.nMin + 1 - static_cast<int>(info.nPage));
  position = std::clamp(position, 0, last);
  LONG& current = bar == SB_HORZ ? scrolled_.x : scrolled_.y;
  const int delta = static_cast<int>(current) - position;
  if (delta == 0) return;
  current = position;
  ScrollWindowEx(handle_, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr, nullptr,
                 nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  SetScrollPos(handle_, bar, position, TRUE);
}

bool TForm1::PreTranslateMessage(MSG& message) {
  if (message.hwnd != handle_ && !IsChild(handle_, message.hwnd)) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    switch (message.wParam) {
      case VK_RETURN:
        // Enter alone clicks the focused push button; on any other control,
        // or with Shift, Ctrl or Alt held, it does nothing.
        if (message.message == WM_KEYDOWN && !KeyIsDown(VK_SHIFT) && !KeyIsDown(VK_CONTROL) &&
            !KeyIsDown(VK_MENU)) {
          const HWND focus = GetFocus();
          if (focus == Button1 || focus == Button2) {
            SendMessageW(handle_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                         reinterpret_cast<LPARAM>(focus));
          }
        }
        return true;
      case VK_ESCAPE:  // the form has no cancel button
        return true;
    }
  }
  // Tab, Shift+Tab, the arrow keys in the radio group and Space on a button.
  return IsDialogMessageW(handle_, &message) != FALSE;
}

int TForm1::ItemIndex() const {
  for (std::size_t i = 0; i < radioItems_.size(); ++i) {
    if (Button_GetCheck(radioItems_[i]) == BST_CHECKED) return static_cast<int>(i);
  }
  return -1;
}

std::string TForm1::Edit1Text() const { return Text(Edit1); }
std::string TForm1::Edit2Text() const { return Text(Edit2); }
void TForm1::SetEdit1Text(std::string_view text) { SetText(Edit1, text); }
void TForm1::SetEdit2Text(std::string_view text) { SetText(Edit2, text); }

void TForm1::Close() { SendMessageW(handle_, WM_CLOSE, 0, 0); }

std::string TForm1::Text(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void TForm1::SetText(HWND control, std::string_view text) {
  if (!SetWindowTextW(control, Widen(text).c_str())) RaiseLastOSError();
}

void TForm1::MarkDefaultButton(HWND button, bool isDefault) {
  SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // Nothing unwinds through the system's dispatching: a failing handler ends
  // here, in the error box, and the window goes on.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    self->application_.HandleEventError(std::current_exception());
    return 0;
  }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(handle_, WM_COMMAND, OnCommand);
    HANDLE_MSG(handle_, WM_CLOSE, OnClose);
    HANDLE_MSG(handle_, WM_ACTIVATE, OnActivate);
    HANDLE_MSG(handle_, WM_SIZE, OnSize);
    HANDLE_MSG(handle_, WM_HSCROLL, OnHScroll);
    HANDLE_MSG(handle_, WM_VSCROLL, OnVScroll);
    HANDLE_MSG(handle_, WM_CTLCOLORSTATIC, OnCtlColorStatic);
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        application_.Minimize();
        return 0;
      }
      break;
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

void TForm1::OnCommand(HWND, int, HWND control, UINT code) {
  switch (code) {
    case BN_CLICKED:
      if (control == Button1) {
        Button1Click(*this);
      } else if (control == Button2) {
        Button2Click(*this);
      } else if (std::find(radioItems_.begin(), radioItems_.end(), control) != radioItems_.end()) {
        // Tab enters the group at the selected item.
        for (HWND item : radioItems_) {
          const LONG_PTR style = GetWindowLongPtrW(item, GWL_STYLE);
          SetWindowLongPtrW(item, GWL_STYLE,
                            item == control ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        }
      }
      break;
  }
}

LRESULT CALLBACK TForm1::PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR form) {
  // The focused push button is the default one: drawn so, and the one Enter
  // clicks.
  switch (message) {
    case WM_SETFOCUS:
      reinterpret_cast<TForm1*>(form)->MarkDefaultButton(button, true);
      break;
    case WM_KILLFOCUS:
      reinterpret_cast<TForm1*>(form)->MarkDefaultButton(button, false);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(button, PushButtonProc, 0);
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

void TForm1::OnClose(HWND) {
  // Nothing objects to closing, and the form is the main form: closing it
  // ends the application.
  application_.RequestQuit();
}

void TForm1::OnActivate(HWND, UINT state, HWND, BOOL minimized) {
  const HWND focus = GetFocus();
  const bool onControl = focus != nullptr && IsChild(handle_, focus);
  if (state == WA_INACTIVE) {
    if (onControl) focused_ = focus;
    return;
  }
  // An activation that finds the focus already on a control leaves it there:
  // under some window managers the activation that follows an error box
  // arrives again, late, after the user has clicked into another control.
  if (minimized || onControl) return;
  // The first activation gives the focus to the first control in tab order
  // that can take it; later ones give it back to where it was.
  HWND target = focused_ != nullptr && IsWindow(focused_)
                    ? focused_
                    : GetNextDlgTabItem(handle_, nullptr, FALSE);
  if (target != nullptr) SetFocus(target);
}

void TForm1::OnSize(HWND, UINT state, int, int) {
  if (state != SIZE_MINIMIZED) UpdateScrollBars();
}

void TForm1::OnHScroll(HWND, HWND, UINT code, int) { Scroll(SB_HORZ, code); }

void TForm1::OnVScroll(HWND, HWND, UINT code, int) { Scroll(SB_VERT, code); }

// The horizontal bar's requests carry the same codes as the vertical bar's:
// left is up, right is down.
static_assert(SB_LINELEFT == SB_LINEUP && SB_LINERIGHT == SB_LINEDOWN && SB_PAGELEFT == SB_PAGEUP &&
              SB_PAGERIGHT == SB_PAGEDOWN && SB_LEFT == SB_TOP && SB_RIGHT == SB_BOTTOM);

void TForm1::Scroll(int bar, UINT code) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(handle_, bar, &info);
  const int line = MulDiv(kScrollLine, GetDpiForWindow(handle_), kDesignPixelsPerInch);
  switch (code) {
    case SB_LINEUP:
      ScrollTo(bar, info.nPos - line);
      break;
    case SB_LINEDOWN:
      ScrollTo(bar, info.nPos + line);
      break;
    case SB_PAGEUP:
      ScrollTo(bar, info.nPos - static_cast<int>(info.nPage));
      break;
    case SB_PAGEDOWN:
      ScrollTo(bar, info.nPos + static_cast<int>(info.nPage));
      break;
    case SB_TOP:
      ScrollTo(bar, 0);
      break;
    case SB_BOTTOM:
      ScrollTo(bar, info.nMax);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      ScrollTo(bar, info.nTrackPos);
      break;
  }
}

HBRUSH TForm1::OnCtlColorStatic(HWND, HDC dc, HWND, int) {
  // Labels and radio items on the form's button-face background.
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
  // Moved to a monitor of other pixels per inch: lay the controls out for it
  // and take the size the system proposes, which keeps the window's size on
  // the screen.
  LayOut(dpi);
  SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace normcalc
