// The main() of a Qt Test program of the window: the real application shell,
// on the offscreen platform unless the environment names another one (so that
// the tests also run where there is no display).
#pragma once

#include <QByteArray>
#include <QtTest>

#include "tapplication.h"

#define NORMCALC_UI_TEST_MAIN(TestClass)                          \
  int main(int argc, char** argv) {                               \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {         \
      qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen")); \
    }                                                             \
    normcalc::TApplication application(argc, argv);               \
    TestClass test;                                               \
    return QTest::qExec(&test, argc, argv);                       \
  }
