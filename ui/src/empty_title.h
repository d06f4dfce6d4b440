// Empty window titles on X11.
#pragma once

class QWidget;

namespace normcalc {

// Makes the window manager show window's empty title as empty. Qt puts the
// application name (or, when that is empty, the executable's name) on a
// window whose title is empty; on X11 that name goes into _NET_WM_NAME, which
// window managers prefer to WM_NAME. Removing it leaves WM_NAME, which holds
// the title as given. Call once the window exists; elsewhere than X11 it does
// nothing.
void ShowEmptyTitle(QWidget& window);

}  // namespace normcalc
