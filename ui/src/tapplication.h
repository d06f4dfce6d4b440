// TApplication: the application shell. It creates the main form, runs the
// event loop until the main form closes, and turns every exception that
// escapes an event handler into the one error box.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <exception>
#include <memory>
#include <stdexcept>

#include "normcalc/numtext.h"

namespace normcalc {

class TApplication final : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // The running application; nullptr before it is constructed.
  static TApplication* Instance();

  // Constructs the main form; its window exists from here on, still hidden.
  // When the construction throws, there is no main form and the exception
  // propagates. A program has one main form.
  template <class FormClass>
  FormClass& CreateMainForm() {
    if (mainForm_) throw std::logic_error("the main form exists already");
    auto form = std::make_unique<FormClass>();
    FormClass& created = *form;
    AdoptMainForm(std::move(form));
    return created;
  }

  // Shows the main form and dispatches events until RequestQuit; returns at
  // once when there is no main form.
  void RunEventLoop();
  // Posts the request that ends the event loop; nothing registered objects.
  void RequestQuit();

  // EAbort ends the event silently; every other exception goes to ReportError.
  void HandleEventError(std::exception_ptr error);
  // The error box: the message with the period rule, caption ApplicationTitle.
  void ReportError(const Exception& error);

  // The title rule's result for this executable; it may be empty.
  const QString& ApplicationTitle() const { return applicationTitle_; }
  QWidget* MainForm() const { return mainForm_.get(); }

  // The last net under the per-handler guards: an exception thrown by Qt's own
  // dispatching, outside any handler of ours, still reaches HandleEventError.
  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AdoptMainForm(std::unique_ptr<QWidget> form);

  // Kept apart from Qt's application name, which falls back to the file name
  // when it is set empty.
  const QString applicationTitle_;
  std::unique_ptr<QWidget> mainForm_;
};

}  // namespace normcalc
