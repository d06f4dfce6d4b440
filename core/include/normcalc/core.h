// normcalc core: the table of the standard normal distribution, its lookup in
// both directions, and the calculator's two commands on a plain form model.
//
// This header is the whole of what the core offers. It knows nothing of any
// window system: a user interface implements FormModel and calls the commands.
#pragma once

#include <array>
#include <exception>
#include <span>
#include <string>
#include <string_view>

#include "normcalc/numtext.h"

namespace normcalc {

// ---------------------------------------------------------------------------
// The table. Row r (1-based in the lookup's terms) is NormalTable[r - 1];
// column 1 is X, column 2 is P = the area under the density from 0 to X.
// Both columns rise strictly from row to row.

using TableRow = std::array<double, 2>;
inline constexpr int kNormalTableRows = 3989;
extern const std::array<TableRow, kNormalTableRows> NormalTable;

// The lookup. keyColumn is 1 (X) or 2 (P); the other column is the value.
// A NaN raises EInvalidOp at its first comparison; infinities clamp.
double XToP(double x);
double PToX(double p);
double TableInterpolate(double value, std::span<const TableRow> table, int keyColumn);
int TableNearestRow(double value, std::span<const TableRow> table, int keyColumn);  // 1-based

// ---------------------------------------------------------------------------
// The form model: the state of the calculator window that the commands see,
// and the one seam between the core and any user interface.

class FormModel {
 public:
  virtual ~FormModel() = default;

  // RadioGroup1's ItemIndex: 0 selects X->P, any other value (1, or -1 for no
  // selection) selects P->X.
  virtual int ItemIndex() const = 0;
  virtual std::string Edit1Text() const = 0;  // X, as 8-bit (UTF-8) text
  virtual std::string Edit2Text() const = 0;  // P
  virtual void SetEdit1Text(std::string_view text) = 0;
  virtual void SetEdit2Text(std::string_view text) = 0;
  // Asks the form to close, exactly as the window's own close button does.
  virtual void Close() = 0;
};

// A form model with no window behind it, for tests and the command-line tool.
class MemoryForm final : public FormModel {
 public:
  int itemIndex = 0;
  std::string edit1;
  std::string edit2;
  bool closeRequested = false;

  int ItemIndex() const override { return itemIndex; }
  std::string Edit1Text() const override { return edit1; }
  std::string Edit2Text() const override { return edit2; }
  void SetEdit1Text(std::string_view text) override { edit1 = text; }
  void SetEdit2Text(std::string_view text) override { edit2 = text; }
  void Close() override { closeRequested = true; }
};

// Execute: converts the box selected by the mode into the other box. On
// EOverflow or EInvalidOp nothing is written and the exception propagates.
void Button2Click(FormModel& form);
// Exit: asks the form to close.
void Button1Click(FormModel& form);

// The text the error box shows for a message: "." is appended when the last
// character sorts after "." (any multi-byte character does); empty stays empty.
std::string ErrorBoxText(std::string_view message);

// The failure as the error box reports it: an exception of the system's family
// as it is, anything else as an Exception with an empty message.
Exception ReportableException(std::exception_ptr error);

// ---------------------------------------------------------------------------
// What every window of the calculator shares that is not toolkit code.

// The application's title from its executable's path (UTF-8, "/" or "\\"
// between folders): the file name cut at its first ".", every letter after the
// first character in lower case, as the ANSI lower-casing of a Japanese
// system does it (A-Z only; other characters stay). "C:\\apps\\CALC.EXE"
// gives "Calc", "calc.v2.exe" gives "calc", ".hidden" gives "".
std::string ApplicationTitleFromPath(std::string_view executablePath);

// The window's description: one table, made at build time from the form
// description file core/form/tform1.ui, that every front end lays itself out
// by. Positions and sizes are pixels at pixelsPerInch for a form font whose
// "0" measures textHeight pixels; texts are UTF-8.
enum class TControlKind { Label, PushButton, RadioGroup, Edit };

struct TControlDescription {
  std::string_view name;  // the form's field: "Button1"
  TControlKind kind;
  int left, top, width, height;  // in the form's client area
  std::string_view text;         // a label's or button's text, a group's caption
  int fontHeight;                // a label's own character height; 0 = the form's font
  bool bold, italic;
  int tabOrder;                             // -1 for a control that takes no focus
  std::span<const std::string_view> items;  // a radio group's items
  int itemIndex;                            // a radio group's selected item
};

struct TFormDescription {
  std::string_view name, className, caption;
  int left, top, width, height;  // outer geometry on the screen
  std::string_view fontFace;
  int fontHeight;
  int fontCharSet;  // as Windows numbers character sets: 128 is Shift-JIS
  int pixelsPerInch, textHeight;
  std::span<const TControlDescription> controls;  // in creation order
};

extern const TFormDescription Form1Description;

// The scaling of a description when the form is created. MulDiv is
// number * numerator / denominator rounded half away from zero, in 64 bits.
int MulDiv(int number, int numerator, int denominator);

// The form font's character height on a screen of screenPixelsPerInch.
int ScaledFormFontHeight(const TFormDescription& form, int screenPixelsPerInch);

struct TBounds {
  int left, top, width, height;
};

// The form's outer bounds (position, and size with frame and caption bar) on a
// screen of screenPixelsPerInch: the described ones scaled by the screen's
// pixels per inch against the description's, so that the window covers the
// same part of the screen at any density and the controls, grown with the
// font, still fit. The measured height of "0" plays no part here.
TBounds ScaledFormBounds(const TFormDescription& form, int screenPixelsPerInch);

// A control's bounds when "0" measures `measured` pixels in the form's font
// instead of the description's textHeight. The edges move, so neighbours that
// touched at design time still touch: the width is scaled(left + width) -
// scaled(left). Identity when measured equals textHeight.
TBounds ScaledBounds(TBounds designed, int measured, int textHeight);

// A label's character height for the same measurement.
int ScaledFontHeight(int designedHeight, int measured, int textHeight);

// Where a radio group of the given size places item `index` of `count`, in the
// group's own coordinates, when a line of its font is captionHeight pixels
// high: one column, below the caption's line, the height left shared out in
// equal whole rows with the remainder split above and below them.
TBounds RadioItemBounds(int groupWidth, int groupHeight, int captionHeight, int count, int index);

}  // namespace normcalc
