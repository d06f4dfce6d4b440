// On Linux the shell's parts map to the desktop as follows:
//  - the application's title becomes Qt's application name, the WM_CLASS class
//    by which taskbars group and label the window, and the caption of every
//    error box; its icon becomes Qt's application icon (_NET_WM_ICON on every
//    window). The calculator window has its own taskbar entry: X11 desktops
//    have no hidden owner window that could carry it.
//  - the desktop hands a program no start-up window state, so the main form
//    is simply shown; the window manager may still map it maximized or
//    minimized under its own rules.
//  - Close on a taskbar entry reaches the calculator window as the same close
//    request as its close box.
#include "tapplication.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QScreen>

#include "event_guard.h"
#include "normcalc/core.h"
#include "terror_box.h"

namespace normcalc {

namespace {

// Embedded by ui/CMakeLists.txt from ui/icons (made by make_icons.sh there).
constexpr const char* kApplicationIcon = ":/icons/normcalc-32.png";

QString TitleOfThisExecutable() {
  // /proc/self/exe: the file that was started, a copy under another name
  // included.
  const QString path = QCoreApplication::applicationFilePath();
  return QString::fromStdString(ApplicationTitleFromPath(path.toStdString()));
}

// The screen of the active window, else the primary screen.
QScreen* ActiveScreen() {
  if (QWidget* active = QApplication::activeWindow()) return active->screen();
  return QGuiApplication::primaryScreen();
}

}  // namespace

void HandleEscapedException(std::exception_ptr error) noexcept {
  TApplication* application = TApplication::Instance();
  // Without a running shell there is nobody to show the failure to, and
  // letting it pass would unwind into Qt.
  if (application == nullptr) std::terminate();
  application->HandleEventError(error);
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), applicationTitle_(TitleOfThisExecutable()) {
  // The window's caption must stay "Form1": Qt appends an application display
  // name to every caption once one is set, so none is set.
  setApplicationName(applicationTitle_);
  setWindowIcon(QIcon(kApplicationIcon));
  setDesktopFileName(QStringLiteral(NORMCALC_APP_ID));
  // Only the main form's close ends the program (eventFilter), exactly once.
  setQuitOnLastWindowClosed(false);
  ReadFormatSettings();
}

TApplication::~TApplication() = default;

TApplication* TApplication::Instance() { return qobject_cast<TApplication*>(instance()); }

void TApplication::AdoptMainForm(std::unique_ptr<QWidget> form) {
  form->winId();  // the window exists from here on, still hidden
  form->installEventFilter(this);
  mainForm_ = std::move(form);
}

void TApplication::RunEventLoop() {
  if (!mainForm_) return;
  mainForm_->show();
  exec();  // blocks in the window system's wait when there is nothing to do
}

void TApplication::RequestQuit() {
  QMetaObject::invokeMethod(this, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TApplication::HandleEventError(std::exception_ptr error) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
    return;
  } catch (...) {
    // Reported below, outside the handler, so that the box's event loop does
    // not run with the exception still being handled.
  }
  ReportError(ReportableException(error));
}

void TApplication::ReportError(const Exception& error) {
  const QPointer<QWidget> previouslyActive = activeWindow();
  TErrorBox box(ApplicationTitle(), QString::fromStdString(ErrorBoxText(error.Message())),
                ActiveScreen());
  box.exec();
  if (previouslyActive) previouslyActive->activateWindow();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  GuardEvent([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

bool TApplication::event(QEvent* event) {
  // The user's regional settings changed: the next number is written with the
  // decimal mark they give now.
  if (event->type() == QEvent::LocaleChange) GuardEvent([] { ReadFormatSettings(); });
  return QApplication::event(event);
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
  // Closing the main form, by EXIT, the close box, Alt+F4 or the window menu,
  // ends the program; nothing asks first.
  if (watched == mainForm_.get() && event->type() == QEvent::Close) {
    GuardEvent([this] { RequestQuit(); });
  }
  return QApplication::eventFilter(watched, event);
}

}  // namespace normcalc
