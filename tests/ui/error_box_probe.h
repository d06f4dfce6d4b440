// Runs an action that is expected to open the application's error box, records
// what the box showed and closes it with its "OK" button, as a user would.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <functional>

struct ShownErrorBox {
  int count = 0;  // boxes opened during the action
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  Qt::WindowModality modality = Qt::NonModal;
  QRect frame;
  QRect screen;
};

inline ShownErrorBox RunClosingErrorBoxes(const std::function<void()>& action,
                                          const std::function<void()>& whileOpen = {}) {
  ShownErrorBox shown;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    ++shown.count;
    shown.caption = box->windowTitle();
    shown.text = box->text();
    shown.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) shown.buttons.append(button->text());
    shown.modality = box->windowModality();
    shown.frame = box->frameGeometry();
    shown.screen = box->screen()->geometry();
    if (whileOpen) whileOpen();
    box->button(QMessageBox::Ok)->click();
  });
  poll.start();
  action();
  poll.stop();
  return shown;
}
