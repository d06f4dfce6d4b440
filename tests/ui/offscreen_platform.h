// The window's test programs run on Qt's offscreen platform unless the
// environment names another one (QT_QPA_PLATFORM=xcb under Xvfb), so that
// they also run where there is no display.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace normcalc::testing {

// Before the application is made, which is when Qt picks its platform.
inline void UseOffscreenPlatformUnlessNamed() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  }
}

}  // namespace normcalc::testing
