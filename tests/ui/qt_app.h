#pragma once

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

#include "ui/fuentes.h"

namespace xamu::testing {

// The one application object of the windows' tests, on the offscreen platform.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* a = new QApplication(argc, argv);
    QApplication::setApplicationDisplayName("Xamu Launcher");
    ui::InstalarSustitucionesDeFuentes();
    return a;
  }();
  return *app;
}

// Saves the widget as NAME.png in the suite's screenshot folder (XAMU_SCREENSHOT_DIR).
inline void SaveScreenshot(QWidget& w, const std::string& name) {
  w.grab().save(QString::fromStdString(std::string(XAMU_SCREENSHOT_DIR) + "/" + name + ".png"));
}

// Answers the next modal window as soon as it is open: `answer` gets it, on the event loop.
inline void WhenModalOpens(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start();
}

// WhenModalOpens for one scope: a modal window that opens while it lives is answered, and
// a watch that saw none ends with the scope instead of answering a later test's window.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QWidget*)> answer) : timer_(new QTimer) {
    timer_->setInterval(5);
    QObject::connect(timer_, &QTimer::timeout, [this, answer = std::move(answer)] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        timer_->stop();
        answered_ = true;
        answer(modal);
      }
    });
    timer_->start();
  }
  ~ModalAnswer() { delete timer_; }
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

  bool Answered() const { return answered_; }

 private:
  QTimer* timer_;
  bool answered_ = false;
};

}  // namespace xamu::testing
