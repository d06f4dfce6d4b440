// The creation-time scaling of a form description.
//
// A description is made at a number of pixels per inch (the form's dynamic
// property PixelsPerInch) for a form font whose "0" measures TextHeight pixels
// high; FontHeight on the form and on any control with a font of its own gives
// that font's character height in pixels; Left, Top, Width and Height are the
// form's outer geometry.
//
// Pixels here are Qt's device-independent pixels. Qt itself maps them to the
// screen by the desktop's scale factor, so on a scaled screen the pixels per
// inch a widget reports is the part of the screen's density that Qt left over:
// 96 under its usual fractional scaling, something else when the scaling is
// rounded or turned off. Whatever is left over is applied here, so that the
// window has the same size on the screen either way (docs/high-dpi.md).
#pragma once

#include "normcalc/core.h"

class QWidget;

namespace normcalc {

// Sets the pixel sizes of the form's and the controls' fonts for a screen of
// screenPixelsPerInch, measures "0" in the form's font and, when it differs
// from TextHeight, scales every control on clientArea by measured/TextHeight.
// Labels then take the size of their text. Returns the measured height.
int ScaleForm(QWidget& form, QWidget& clientArea, int screenPixelsPerInch);

// The form's outer geometry on a screen of screenPixelsPerInch.
TBounds OuterBounds(const QWidget& form, int screenPixelsPerInch);

}  // namespace normcalc
