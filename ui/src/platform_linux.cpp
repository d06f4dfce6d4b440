// The platform seam on Linux.
//
// The Windows start-up mechanisms map here as follows:
//  - the hidden application window that carries the taskbar button: none. The
//    window manager gives the calculator window its own taskbar entry; the
//    application's title becomes Qt's application name (the WM_CLASS class
//    that taskbars group and label by) and its icon Qt's application icon
//    (_NET_WM_ICON on every window), set by TApplication.
//  - the show command of the process start-up information: X11 desktops hand
//    no start-up window state to a program, so the start is always normal;
//    the window manager may still map the window maximized or minimized
//    under its own rules.
//  - Close on the taskbar button: the taskbar sends WM_DELETE_WINDOW to the
//    calculator window, the same close request as the close box.
#include <QCoreApplication>

#include "platform.h"

namespace normcalc {

TShowCommand StartupShowCommand() { return TShowCommand::Normal; }

QString ExecutableFilePath() {
  // /proc/self/exe: the file that was started, a copy under another name
  // included.
  return QCoreApplication::applicationFilePath();
}

}  // namespace normcalc
