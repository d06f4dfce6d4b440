#include "empty_title.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace normcalc {

void ShowEmptyTitle(QWidget& window) {
  // The interface exists on every platform of a Qt built for X11; only on
  // X11 itself does it hold a connection.
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
  if (connection == nullptr) return;
  constexpr const char* kName = "_NET_WM_NAME";
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(kName)), kName),
          nullptr),
      &std::free);
  // With only_if_exists set, no atom means no window has the property.
  if (!atom || atom->atom == XCB_ATOM_NONE) return;
  xcb_delete_property(connection, static_cast<xcb_window_t>(window.winId()), atom->atom);
  xcb_flush(connection);
}

}  // namespace normcalc
