#include "terror_box.h"

#include "event_guard.h"

namespace normcalc {

TErrorBox::TErrorBox(const QString& caption, const QString& text, QScreen* screen)
    : QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok), screen_(screen) {
  // A message is shown as it stands, never read as markup.
  setTextFormat(Qt::PlainText);
  setWindowModality(Qt::ApplicationModal);
}

void TErrorBox::showEvent(QShowEvent* event) {
  // The box takes its final size in QMessageBox::showEvent; the platform window
  // is mapped only afterwards, so moving here places it before it appears.
  QMessageBox::showEvent(event);
  GuardEvent(this, [this] {
    if (!screen_) return;
    const QRect area = screen_->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  });
}

}  // namespace normcalc
