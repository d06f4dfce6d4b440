// The creation-time scaling of a form description.
//
// A description is made at a number of pixels per inch (the form's dynamic
// property PixelsPerInch) for a form font whose "0" measures TextHeight pixels
// high; FontHeight on the form and on any control with a font of its own gives
// that font's character height in pixels.
#pragma once

class QWidget;

namespace normcalc {

// Sets the pixel sizes of the form's and the controls' fonts for a screen of
// screenPixelsPerInch, measures "0" in the form's font and, when it differs
// from TextHeight, scales every control on clientArea by measured/TextHeight.
// The form's own outer size is never scaled. Labels then take the size of
// their text. Returns the measured height.
int ScaleForm(QWidget& form, QWidget& clientArea, int screenPixelsPerInch);

}  // namespace normcalc
