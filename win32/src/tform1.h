// TForm1: the calculator window, made of standard Windows controls laid out by
// the core's description of the form, and the form model the commands see.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "gdi_object.h"
#include "normcalc/core.h"
#include "tapplication.h"

namespace normcalc {

class TForm1 final : public TForm, public FormModel {
 public:
  // Creates the window, hidden, owned by the application's window.
  explicit TForm1(TApplication& application);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  HWND Handle() const override { return handle_; }
  bool PreTranslateMessage(MSG& message) override;

  // FormModel
  int ItemIndex() const override;
  std::string Edit1Text() const override;
  std::string Edit2Text() const override;
  void SetEdit1Text(std::string_view text) override;
  void SetEdit2Text(std::string_view text) override;
  void Close() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR form);

  void OnCommand(HWND window, int id, HWND control, UINT code);
  void OnClose(HWND window);
  void OnActivate(HWND window, UINT state, HWND other, BOOL minimized);
  void OnSize(HWND window, UINT state, int width, int height);
  void OnHScroll(HWND window, HWND control, UINT code, int position);
  void OnVScroll(HWND window, HWND control, UINT code, int position);
  HBRUSH OnCtlColorStatic(HWND window, HDC dc, HWND control, int type);
  void OnDpiChanged(int dpi, const RECT& suggested);

  void CreateControls();
  // Fonts, positions and sizes of every control for the screen's pixels per
  // inch and the form font's measured height of "0".
  void LayOut(int pixelsPerInch);
  void UpdateScrollBars();
  // A request from the scroll bar `bar` (SB_HORZ or SB_VERT): a line, a page,
  // an end, or the thumb's position.
  void Scroll(int bar, UINT code);
  void ScrollTo(int bar, int position);
  void MarkDefaultButton(HWND button, bool isDefault);
  static void SetText(HWND control, std::string_view text);
  static std::string Text(HWND control);

  TApplication& application_;
  HWND handle_ = nullptr;

  // The form's fields, in the order the form class declares them.
  HWND Button1 = nullptr;
  HWND RadioGroup1 = nullptr;
  HWND Edit1 = nullptr;
  HWND Edit2 = nullptr;
  HWND Label1 = nullptr;
  HWND Button2 = nullptr;
  HWND Label2 = nullptr;
  HWND Label3 = nullptr;
  HWND Label4 = nullptr;
  // RadioGroup1's items: radio buttons laid over the group box.
  std::vector<HWND> radioItems_;

  TFontHandle formFont_;
  std::vector<TFontHandle> labelFonts_;  // one per label, in creation order
  HWND focused_ = nullptr;               // the control that had the focus last
  SIZE extent_{};                        // the controls' bounding box, scrolled area
  POINT scrolled_{};                     // how far the client area is scrolled
};

}  // namespace normcalc
