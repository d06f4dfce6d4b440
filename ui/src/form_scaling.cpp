#include "form_scaling.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QVariant>
#include <QWidget>
#include <cstdint>

namespace normcalc {

namespace {

int IntProperty(const QWidget& widget, const char* name) { return widget.property(name).toInt(); }

bool HasOwnFontHeight(const QWidget& widget) { return widget.property("FontHeight").isValid(); }

// A control's edges move with the scale, so that neighbours that touched at
// design time still touch: the width is scaled(left + width) - scaled(left).
QRect ScaledGeometry(const QRect& designed, int measured, int designedTextHeight) {
  const int left = MulDiv(designed.left(), measured, designedTextHeight);
  const int top = MulDiv(designed.top(), measured, designedTextHeight);
  const int right = MulDiv(designed.left() + designed.width(), measured, designedTextHeight);
  const int bottom = MulDiv(designed.top() + designed.height(), measured, designedTextHeight);
  return {left, top, right - left, bottom - top};
}

void SetFontHeight(QWidget& widget, int pixels) {
  QFont font = widget.font();
  font.setPixelSize(pixels);
  widget.setFont(font);
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -std::int64_t{denominator} : denominator;
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  return static_cast<int>(negative ? -rounded : rounded);
}

int ScaleForm(QWidget& form, QWidget& clientArea, int screenPixelsPerInch) {
  const int designedPixelsPerInch = IntProperty(form, "PixelsPerInch");
  const int designedTextHeight = IntProperty(form, "TextHeight");

  int formFontHeight = IntProperty(form, "FontHeight");
  if (screenPixelsPerInch != designedPixelsPerInch) {
    formFontHeight = MulDiv(formFontHeight, screenPixelsPerInch, designedPixelsPerInch);
  }
  SetFontHeight(form, formFontHeight);

  const int measured = QFontMetrics(form.font()).size(Qt::TextSingleLine, "0").height();
  const bool scaled = measured != designedTextHeight;

  const auto controls = clientArea.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* control : controls) {
    if (HasOwnFontHeight(*control)) {
      const int designed = IntProperty(*control, "FontHeight");
      SetFontHeight(*control, scaled ? MulDiv(designed, measured, designedTextHeight) : designed);
    }
    if (scaled)
      control->setGeometry(ScaledGeometry(control->geometry(), measured, designedTextHeight));
  }
  // Labels size themselves to their text, in whichever face and size they got.
  for (QWidget* control : controls) {
    if (auto* label = qobject_cast<QLabel*>(control)) label->adjustSize();
  }
  return measured;
}

}  // namespace normcalc
