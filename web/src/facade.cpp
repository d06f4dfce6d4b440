// The page's one way into the calculator: each call runs a command on a form
// model that holds what the page's controls hold, and hands back the boxes'
// texts and, when the command failed, the error box's text. No C++ exception
// leaves this file: the module's glue would turn one into a bare number, so
// the message is caught here and given to the page to show.
#include <emscripten/bind.h>

#include <string>

#include "normcalc/core.h"

namespace normcalc {
namespace {

struct TFormState {
  int itemIndex = 0;
  std::string edit1;
  std::string edit2;
  std::string error;  // the error box's text; empty when the command succeeded
  bool failed = false;
  bool closeRequested = false;
};

TFormState Run(void (*command)(FormModel&), const TFormState& in) {
  MemoryForm form;
  form.itemIndex = in.itemIndex;
  form.edit1 = in.edit1;
  form.edit2 = in.edit2;
  TFormState out = in;
  out.error.clear();
  out.failed = false;
  try {
    command(form);
  } catch (const EAbort&) {
    // Ends the command without a box, as in the desktop shell.
  } catch (const Exception& failure) {
    // The boundary to the page: the page shows the box. What the command had
    // written before it failed stays written, as in the desktop window.
    out.failed = true;
    out.error = ErrorBoxText(failure.Message());
  }
  out.edit1 = form.edit1;
  out.edit2 = form.edit2;
  out.closeRequested = form.closeRequested;
  return out;
}

TFormState Execute(const TFormState& in) { return Run(Button2Click, in); }
TFormState Exit(const TFormState& in) { return Run(Button1Click, in); }

// The browser's decimal separator for the user's language, as text; one
// character of one byte is used, anything else gives ".".
void SetDecimalMarkFromText(const std::string& separator) {
  SetLocaleDecimalMark(separator.size() == 1 ? separator[0] : '.');
}

std::string DecimalMark() { return std::string(1, LocaleDecimalMark()); }

// The creation-time scaling, so that the page lays itself out by the same
// arithmetic as the desktop windows.
TBounds ScaleBounds(const TBounds& designed, int measured, int textHeight) {
  return ScaledBounds(designed, measured, textHeight);
}

}  // namespace
}  // namespace normcalc

EMSCRIPTEN_BINDINGS(normcalc) {
  using namespace normcalc;
  emscripten::value_object<TFormState>("FormState")
      .field("itemIndex", &TFormState::itemIndex)
      .field("edit1", &TFormState::edit1)
      .field("edit2", &TFormState::edit2)
      .field("error", &TFormState::error)
      .field("failed", &TFormState::failed)
      .field("closeRequested", &TFormState::closeRequested);
  emscripten::value_object<TBounds>("Bounds")
      .field("left", &TBounds::left)
      .field("top", &TBounds::top)
      .field("width", &TBounds::width)
      .field("height", &TBounds::height);
  emscripten::function("execute", &Execute);
  emscripten::function("exit", &Exit);
  emscripten::function("setDecimalMarkFromText", &SetDecimalMarkFromText);
  emscripten::function("decimalMark", &DecimalMark);
  emscripten::function("scaledBounds", &ScaleBounds);
  emscripten::function("scaledFontHeight", &ScaledFontHeight);
  emscripten::function("radioItemBounds", &RadioItemBounds);
}
