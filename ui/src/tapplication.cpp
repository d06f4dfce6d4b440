#include "tapplication.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "event_guard.h"
#include "normcalc/core.h"
#include "terror_box.h"

namespace normcalc {

namespace {

// Embedded by ui/CMakeLists.txt from ui/icons (made by make_icons.sh there).
constexpr const char* kApplicationIcon = ":/icons/normcalc-32.png";

// The screen of the active window, else the primary screen.
QScreen* ActiveScreen() {
  if (QWidget* active = QApplication::activeWindow()) return active->screen();
  return QGuiApplication::primaryScreen();
}

}  // namespace

void HandleEscapedException(std::exception_ptr error, QObject* failing) noexcept {
  TApplication* application = TApplication::Instance();
  // Without a running shell there is nobody to show the failure to, and
  // letting it pass would unwind into Qt.
  if (application == nullptr) std::terminate();
  application->HandleEventError(error, failing);
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), showCommand_(StartupShowCommand()) {
  // The window's caption must stay "Form1": Qt appends an application display
  // name to every caption once one is set, so the title goes into the
  // application name only (see platform_linux.cpp for what that feeds).
  setApplicationName(
      QString::fromStdString(ApplicationTitleFromPath(ExecutableFilePath().toStdString())));
  setWindowIcon(QIcon(kApplicationIcon));
  setDesktopFileName(QStringLiteral(NORMCALC_APP_ID));
  // Only the main form's close ends the program (eventFilter), exactly once.
  setQuitOnLastWindowClosed(false);
  ReadFormatSettings();
}

TApplication::~TApplication() = default;

TApplication* TApplication::Instance() { return qobject_cast<TApplication*>(instance()); }

void TApplication::AdoptForm(std::unique_ptr<QWidget> form) {
  if (!mainForm_) {
    mainForm_ = form.get();
    mainForm_->winId();  // the window exists from here on, still hidden
    mainForm_->installEventFilter(this);
  }
  forms_.push_back(std::move(form));
}

void TApplication::RunEventLoop() {
  if (!mainForm_) return;
  switch (showCommand_) {
    case TShowCommand::Maximized:
      mainForm_->showMaximized();
      break;
    case TShowCommand::Minimized:
      mainForm_->showMinimized();
      break;
    case TShowCommand::Normal:
      mainForm_->show();
      break;
  }
  exec();  // blocks in the window system's wait when there is nothing to do
}

void TApplication::RequestQuit() {
  QMetaObject::invokeMethod(this, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TApplication::HandleEventError(std::exception_ptr error, QObject* /*failing*/) {
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

QString TApplication::ApplicationTitle() const { return applicationName(); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  GuardEvent(receiver, [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

bool TApplication::event(QEvent* event) {
  // The user's regional settings changed: the next number is written with the
  // decimal mark they give now.
  if (event->type() == QEvent::LocaleChange) GuardEvent(this, [] { ReadFormatSettings(); });
  return QApplication::event(event);
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
  // Closing the main form, by EXIT, the close box, Alt+F4 or the window menu,
  // ends the program; nothing asks first.
  if (watched == mainForm_ && event->type() == QEvent::Close) {
    GuardEvent(this, [this] { RequestQuit(); });
  }
  return QApplication::eventFilter(watched, event);
}

}  // namespace normcalc
