// Owners for GDI handles, so that every font is deleted exactly once.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace normcalc {

struct TGdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

using TFontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, TGdiObjectDeleter>;

// Selects an object into a device context for the lifetime of the guard.
class TSelection {
 public:
  TSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~TSelection() { SelectObject(dc_, previous_); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The screen's device context, released at the end of the scope.
class TScreenDC {
 public:
  TScreenDC() : dc_(GetDC(nullptr)) {}
  ~TScreenDC() { ReleaseDC(nullptr, dc_); }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace normcalc
