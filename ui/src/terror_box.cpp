#include "terror_box.h"

#include <QApplication>
#include <QWindow>

#include "empty_title.h"
#include "event_guard.h"

namespace normcalc {

namespace {

// The window manager frames the box only once it is mapped; until then the
// frame of the active window, framed by the same window manager, is the best
// guess of the box's.
QMargins FrameOfTheActiveWindow() {
  const QWidget* active = QApplication::activeWindow();
  if (active == nullptr || active->windowHandle() == nullptr) return {};
  return active->windowHandle()->frameMargins();
}

}  // namespace

TErrorBox::TErrorBox(const QString& caption, const QString& text, QScreen* screen)
    : QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok),
      screen_(screen),
      expectedFrame_(FrameOfTheActiveWindow()) {
  // A message is shown as it stands, never read as markup.
  setTextFormat(Qt::PlainText);
  setWindowModality(Qt::ApplicationModal);
}

void TErrorBox::showEvent(QShowEvent* event) {
  // The box takes its final size in QMessageBox::showEvent; the platform window
  // is mapped only afterwards, so placing it here does so before it appears.
  QMessageBox::showEvent(event);
  GuardEvent([this] {
    if (windowTitle().isEmpty()) ShowEmptyTitle(*this);
    CentreFrame(expectedFrame_);
  });
}

bool TErrorBox::event(QEvent* event) {
  const bool handled = QMessageBox::event(event);
  // Once framed, the box is centred again should its frame differ from the
  // guess (a window manager that decorates dialogs otherwise).
  if (!frameKnown_ && event->type() == QEvent::WindowActivate) {
    GuardEvent([this] {
      const QMargins frame = windowHandle()->frameMargins();
      frameKnown_ = true;
      if (frame != expectedFrame_) CentreFrame(frame);
    });
  }
  return handled;
}

// The frame is what is centred, but the box is placed by its own rectangle
// inside it. A frame position (move()) has to be turned into the box's own
// from the frame known at that moment, and while the window manager is still
// framing the box that can be none: now and then the box then lands a title
// bar too high, and stays there. The box's own rectangle needs no turning.
void TErrorBox::CentreFrame(QMargins frame) {
  if (!screen_) return;
  const QRect area = screen_->geometry();
  const QSize outer = size().grownBy(frame);
  const QPoint corner(area.left() + (area.width() - outer.width()) / 2 + frame.left(),
                      area.top() + (area.height() - outer.height()) / 2 + frame.top());
  setGeometry(QRect(corner, size()));
}

}  // namespace normcalc
