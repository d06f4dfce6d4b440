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

}  // namespace

int ScaleForm(QWidget& form, QWidget& clientArea, int screenPixelsPerInch) {
  const int designedPixelsPerInch = IntProperty(form, "PixelsPerInch");
  const int designedTextHeight = IntProperty(form, "TextHeight");

  TFormDescription description{};
  description.fontHeight = IntProperty(form, "FontHeight");
  description.pixelsPerInch = designedPixelsPerInch;
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

}  // namespace normcalc
