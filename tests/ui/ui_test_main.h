// The main() of a Qt Test program of the window: the real application shell,
// on the offscreen platform unless the environment names another one.
#pragma once

#include <QtTest>

#include "offscreen_platform.h"
#include "tapplication.h"

#define NORMCALC_UI_TEST_MAIN(TestClass)                  \
  int main(int argc, char** argv) {                       \
    normcalc::testing::UseOffscreenPlatformUnlessNamed(); \
    normcalc::TApplication application(argc, argv);       \
    TestClass test;                                       \
    return QTest::qExec(&test, argc, argv);               \
  }
