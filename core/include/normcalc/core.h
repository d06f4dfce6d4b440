// normcalc core: the table of the standard normal distribution, its lookup in
// both directions, and the calculator's two commands on a plain form model.
//
// This header is the whole of what the core offers. It knows nothing of any
// window system: a user interface implements FormModel and calls the commands.
#pragma once

#include <array>
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

}  // namespace normcalc
