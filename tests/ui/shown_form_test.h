// The base of the Qt Test classes that drive the calculator window: each test
// function meets a window made afresh, shown and active, as the program opens
// it, and the window is gone again before the next one.
#pragma once

#include <QObject>
#include <QtTest>
#include <memory>

#include "tform1.h"

class ShownFormTest : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<normcalc::TForm1> form_;

 private slots:
  // Qt Test runs these around every test function of the derived class.
  void init() {
    form_ = std::make_unique<normcalc::TForm1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }
  void cleanup() { form_.reset(); }
};
