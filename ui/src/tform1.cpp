#include "tform1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMargins>
#include <QWindow>

#include "event_guard.h"
#include "form_fonts.h"
#include "form_scaling.h"

namespace normcalc {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The new text shows from its start, as when the window system replaces an
// edit box's text: a result longer than the box shows its leading digits.
void ReplaceText(QLineEdit& edit, std::string_view text) {
  edit.setText(FromUtf8(text));
  edit.setCursorPosition(0);
}

// Enter held with Shift, Ctrl or Alt is not a plain Enter and clicks nothing.
// The keypad's Enter is an Enter; the keypad flag it carries is no modifier.
bool IsEnterWithAModifier(const QEvent& event) {
  if (event.type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(event);
  constexpr Qt::KeyboardModifiers kModifiers =
      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & kModifiers) != Qt::NoModifier;
}

// The form is a scroll area only so that it scrolls when made too small; to a
// screen reader it is the application's window, announced by its caption.
QAccessibleInterface* AccessibleForm(const QString& className, QObject* object) {
  if (className != QLatin1String(TForm1::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QScrollArea(parent) {
  QAccessible::installFactory(AccessibleForm);  // once: the same factory is not added twice
  setupUi(this);
  // Before anything is measured, so that the scaling measures the face drawn.
  SubstituteDescribedFace(font().family());

  // logicalDpiY is what Qt's own scaling of the screen left over: 96 under
  // the usual fractional scaling, so that it normally changes nothing here.
  measuredTextHeight_ = ScaleForm(*this, *ClientArea, logicalDpiY());
  outerBounds_ = OuterBounds(*this, logicalDpiY());
  // The form scrolls once the window is too small for the controls.
  ClientArea->setMinimumSize(ClientArea->childrenRect().bottomRight().x() + 1,
                             ClientArea->childrenRect().bottomRight().y() + 1);
  // Only the controls take the focus, never the scrolling frame around them
  // (a scroll area takes it by default, which would put it in the Tab cycle).
  setFocusPolicy(Qt::NoFocus);

  // The outer geometry of the description; the frame is added by the window
  // manager, so the inner size is corrected once the frame is known.
  move(outerBounds_.left, outerBounds_.top);
  resize(outerBounds_.width, outerBounds_.height);

  // A push button clicks on any Enter; only a plain one may click here.
  Button1->installEventFilter(this);
  Button2->installEventFilter(this);
  connect(Button1, &QPushButton::clicked, this, Guarded(this, &TForm1::Button1Click));
  connect(Button2, &QPushButton::clicked, this, Guarded(this, &TForm1::Button2Click));
  focusConnection_ =
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        GuardEvent([this, now] { ShowFocusedButtonAsDefault(now); });
      });
  Button1->setFocus();
}

// The focus moves while the controls are destroyed, after this class's part of
// the object is gone.
TForm1::~TForm1() { disconnect(focusConnection_); }

int TForm1::ItemIndex() const { return RadioGroup1->ItemIndex(); }
std::string TForm1::Edit1Text() const { return Edit1->text().toStdString(); }
std::string TForm1::Edit2Text() const { return Edit2->text().toStdString(); }
void TForm1::SetEdit1Text(std::string_view text) { ReplaceText(*Edit1, text); }
void TForm1::SetEdit2Text(std::string_view text) { ReplaceText(*Edit2, text); }
void TForm1::Close() { close(); }

void TForm1::Button1Click() { normcalc::Button1Click(*this); }
void TForm1::Button2Click() { normcalc::Button2Click(*this); }

// The focused push button is the active one: drawn as the default button, and
// the one Enter clicks. With the focus anywhere else no button is active.
void TForm1::ShowFocusedButtonAsDefault(QWidget* focused) {
  Button1->setDefault(focused == Button1);
  Button2->setDefault(focused == Button2);
}

bool TForm1::event(QEvent* event) {
  const bool handled = QScrollArea::event(event);
  if (!outerSizeFitted_ &&
      (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)) {
    GuardEvent([this] { FitOuterSize(); });
  }
  return handled;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  bool consumed = false;
  GuardEvent([&] { consumed = IsEnterWithAModifier(*event); });
  return consumed || QScrollArea::eventFilter(watched, event);
}

// The description's Width and Height are the outer size, frame and caption bar
// included. The frame exists only once the window manager has taken the
// window, so the inner size is corrected when the margins are first known.
void TForm1::FitOuterSize() {
  const QWindow* window = windowHandle();
  if (window == nullptr) return;
  const QMargins frame = window->frameMargins();
  if (frame.isNull()) return;
  outerSizeFitted_ = true;
  resize(outerBounds_.width - frame.left() - frame.right(),
         outerBounds_.height - frame.top() - frame.bottom());
}

}  // namespace normcalc
