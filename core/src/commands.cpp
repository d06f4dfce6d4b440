#include "normcalc/core.h"

namespace normcalc {

// Execute. Each branch reads one box and writes the other, and the write is the
// last step: when ReadNumber overflows or the lookup meets a NaN, the exception
// leaves before anything is written, so the target box keeps its old text and
// the caller reports the failure. The box that was read is never written, not
// even with its own text, so whatever the user typed stays exactly as typed.
void Button2Click(FormModel& form) {
  if (form.ItemIndex() == 0) {
    const double p = XToP(ReadNumber(form.Edit1Text()));
    form.SetEdit2Text(WriteNumber(p));
  } else {
    // Any index but 0 selects P->X, including -1 when no button is selected.
    const double x = PToX(ReadNumber(form.Edit2Text()));
    form.SetEdit1Text(WriteNumber(x));
  }
}

// Exit.
void Button1Click(FormModel& form) { form.Close(); }

}  // namespace normcalc
