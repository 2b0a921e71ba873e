#pragma once
// Helpers for the application's window tests: counting window builds in the
// runtime's trace, waiting on the event loop, and a watch that closes any
// unhandled-exception report so that a fault fails a test instead of hanging it.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "framework/runtime.h"

namespace kestrova::testing {

// How many windows of that registered class were built since the last reset.
inline int Constructions(std::string_view registeredName) {
  const std::string line = "Window.Constructor " + std::string(registeredName);
  const auto& trace = fw::RuntimeTrace();
  return static_cast<int>(std::count(trace.begin(), trace.end(), line));
}

// Runs the event loop until condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    if (condition()) return true;
    QTest::qWait(10);
  }
  return condition();
}

// Closes and counts every modal dialog that opens while it lives.
class ModalWatch {
 public:
  ModalWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++seen_;
        dialog->reject();
      }
    });
    timer_.start(20);
  }
  int Seen() const { return seen_; }

 private:
  QTimer timer_;
  int seen_ = 0;
};

}  // namespace kestrova::testing
