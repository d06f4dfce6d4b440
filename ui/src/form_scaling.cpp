#include "form_scaling.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QVariant>
#include <QWidget>

#include "normcalc/core.h"

namespace normcalc {

namespace {

int IntProperty(const QWidget& widget, const char* name) { return widget.property(name).toInt(); }

bool HasOwnFontHeight(const QWidget& widget) { return widget.property("FontHeight").isValid(); }

void SetFontHeight(QWidget& widget, int pixels) {
  QFont font = widget.font();
  font.setPixelSize(pixels);
  widget.setFont(font);
}

// The form's own properties as the description gives them (no controls).
TFormDescription DescribedForm(const QWidget& form) {
  TFormDescription description{};
  description.left = IntProperty(form, "Left");
  description.top = IntProperty(form, "Top");
  description.width = IntProperty(form, "Width");
  description.height = IntProperty(form, "Height");
  description.fontHeight = IntProperty(form, "FontHeight");
  description.pixelsPerInch = IntProperty(form, "PixelsPerInch");
  description.textHeight = IntProperty(form, "TextHeight");
  return description;
}

}  // namespace

int ScaleForm(QWidget& form, QWidget& clientArea, int screenPixelsPerInch) {
  const TFormDescription description = DescribedForm(form);
  const int designedTextHeight = description.textHeight;
  SetFontHeight(form, ScaledFormFontHeight(description, screenPixelsPerInch));

  const int measured = QFontMetrics(form.font()).size(Qt::TextSingleLine, "0").height();
  const bool scaled = measured != designedTextHeight;

  const auto controls = clientArea.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* control : controls) {
    if (HasOwnFontHeight(*control)) {
      const int designed = IntProperty(*control, "FontHeight");
      SetFontHeight(*control, ScaledFontHeight(designed, measured, designedTextHeight));
    }
    if (scaled) {
      const QRect designed = control->geometry();
      const TBounds bounds =
          ScaledBounds({designed.left(), designed.top(), designed.width(), designed.height()},
                       measured, designedTextHeight);
      control->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    }
  }
  // Labels size themselves to their text, in whichever face and size they got.
  for (QWidget* control : controls) {
    if (auto* label = qobject_cast<QLabel*>(control)) label->adjustSize();
  }
  return measured;
}

TBounds OuterBounds(const QWidget& form, int screenPixelsPerInch) {
  return ScaledFormBounds(DescribedForm(form), screenPixelsPerInch);
}

}  // namespace normcalc
