// TErrorBox: the one error box of the application: the text alone, one "OK"
// button, the stop icon, modal to the whole application, its frame opened
// centred on a given screen.
#pragma once

#include <QMargins>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

namespace normcalc {

class TErrorBox final : public QMessageBox {
  Q_OBJECT

 public:
  TErrorBox(const QString& caption, const QString& text, QScreen* screen);

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void CentreFrame(QMargins frame);

  QPointer<QScreen> screen_;
  QMargins expectedFrame_;
  bool frameKnown_ = false;
};

}  // namespace normcalc
