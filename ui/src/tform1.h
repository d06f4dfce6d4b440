// TForm1: the calculator window. The controls and their places come from the
// form description tform1.ui; this class adapts them to the core's form model,
// so that EXIT and EXECUTE run the very commands the core's tests exercise.
#pragma once

#include <QScrollArea>
#include <string>
#include <string_view>

#include "normcalc/core.h"
#include "ui_tform1.h"

namespace normcalc {

// The controls are the fields of Ui::TForm1 (Button1, RadioGroup1, Edit1,
// Edit2, Label1 ... Label4, Button2), laid on ClientArea, which the form
// scrolls when the window is too small to show them all.
class TForm1 final : public QScrollArea, public FormModel, public Ui::TForm1 {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  int ItemIndex() const override;
  std::string Edit1Text() const override;
  std::string Edit2Text() const override;
  void SetEdit1Text(std::string_view text) override;
  void SetEdit2Text(std::string_view text) override;
  void Close() override;

  // The measured height of "0" in the form's font that the controls were
  // scaled for (12 means unscaled).
  int MeasuredTextHeight() const { return measuredTextHeight_; }

 public slots:
  void Button1Click();  // EXIT
  void Button2Click();  // EXECUTE

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowFocusedButtonAsDefault(QWidget* focused);
  void FitOuterSize();

  QMetaObject::Connection focusConnection_;
  int measuredTextHeight_ = 0;
  TBounds outerBounds_{};
  bool outerSizeFitted_ = false;
};

}  // namespace normcalc
