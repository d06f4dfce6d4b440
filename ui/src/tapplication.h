// TApplication: the application shell. It creates the main form, runs the
// event loop until the main form closes, and turns every exception that
// escapes an event handler into the one error box.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <memory>
#include <vector>

#include "normcalc/numtext.h"
#include "platform.h"

namespace normcalc {

class TApplication final : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // The running application; nullptr before it is constructed.
  static TApplication* Instance();

  // Constructs the form, stores it in form and, when there is no main form
  // yet, makes it the main form with its window created and hidden. When the
  // construction throws, form stays nullptr and the exception propagates.
  template <class FormClass>
  void CreateMainForm(FormClass*& form) {
    form = nullptr;
    auto created = std::make_unique<FormClass>();
    form = created.get();
    AdoptForm(std::move(created));
  }

  // Shows the main form as the show command says and dispatches events until
  // RequestQuit; returns at once when there is no main form.
  void RunEventLoop();
  // Posts the request that ends the event loop; nothing registered objects.
  void RequestQuit();

  // EAbort ends the event silently; every other exception goes to ReportError.
  void HandleEventError(std::exception_ptr error, QObject* failing);
  // The error box: the message with the period rule, caption ApplicationTitle.
  void ReportError(const Exception& error);

  QString ApplicationTitle() const;
  QWidget* MainForm() const { return mainForm_; }

  // The last net under the per-handler guards: an exception thrown by Qt's own
  // dispatching, outside any handler of ours, still reaches HandleEventError.
  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AdoptForm(std::unique_ptr<QWidget> form);

  TShowCommand showCommand_;
  std::vector<std::unique_ptr<QWidget>> forms_;
  QPointer<QWidget> mainForm_;
};

}  // namespace normcalc
