// Shared main of the GUI test executables: the runtime on Qt's offscreen
// platform, a guard against modal boxes that no test expects, then every test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "framework/runtime.h"
#include "tests/support/modal_guard.h"

namespace {

std::string BoxText(const QWidget& window) {
  QString text = window.objectName() + " \"";
  if (const auto* box = qobject_cast<const QMessageBox*>(&window)) {
    text += box->text();
    if (!box->informativeText().isEmpty()) text += "\n" + box->informativeText();
  } else {
    text += window.windowTitle();
  }
  return (text + "\"").toStdString();
}

// Sees every window shown; an unexpected modal one fails the running test and
// is closed from the loop that exec() enters right after showing it.
class UnexpectedModalCloser : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow() || !window->isModal() || kestrova::testing::ExpectModalBoxes::Any())
      return false;
    ADD_FAILURE() << "a modal box that no test expected: " << BoxText(*window);
    QTimer::singleShot(0, window, [window] {
      if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
      } else {
        window->close();
      }
    });
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  fw::RuntimeInit(argc, argv);
  fw::RunFrameworkInitialization([] {});
  UnexpectedModalCloser guard;
  QCoreApplication::instance()->installEventFilter(&guard);
  const int status = RUN_ALL_TESTS();
  // A run whose filter matches no test has checked nothing.
  if (::testing::UnitTest::GetInstance()->test_to_run_count() == 0) return 1;
  return status;
}
