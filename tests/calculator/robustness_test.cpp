// Any keystroke or paste, in any order: a seeded random person types, pastes,
// moves the caret, calculates and clears in the calculator window. Whatever
// happens, the input fields hold only what their entry rules allow, nothing
// crashes, and every accepted Calculate shows exactly what the calculation
// gives for the fields' texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "calculator/calculation.h"
#include "calculator/control_wnd.h"
#include "framework/controls.h"
#include "framework/runtime.h"
#include "tests/support/window_test_helpers.h"

namespace kestrova {
namespace {

// Whether text could have been typed under the ".###" mask, four characters.
bool FitsMask(const std::string& text) {
  if (text.size() > 4) return false;
  int points = 0, decimals = 0;
  for (char c : text) {
    if (c == '.') {
      ++points;
    } else if (c >= '0' && c <= '9') {
      decimals += points > 0;
    } else {
      return false;
    }
  }
  return points <= 1 && decimals <= 3;
}

const std::vector<Qt::Key> kKeys = {
    Qt::Key_0,      Qt::Key_1,     Qt::Key_5,      Qt::Key_9,         Qt::Key_Period,
    Qt::Key_Period, Qt::Key_Minus, Qt::Key_Plus,   Qt::Key_Comma,     Qt::Key_E,
    Qt::Key_A,      Qt::Key_Space, Qt::Key_Left,   Qt::Key_Right,     Qt::Key_Up,
    Qt::Key_Down,   Qt::Key_Home,  Qt::Key_End,    Qt::Key_Backspace, Qt::Key_Delete,
    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab,       Qt::Key_PageUp};

const std::vector<QString> kPastes = {"abc", "-0.5", "0.5",    ".25",   "1e3", "12345",
                                      "..1", " .5",  "\u00f8", ".9999", "",    "7"};

TEST(CalculatorRobustness, RandomKeysPastesAndPressesKeepTheFieldsAndDisplaySound) {
  fw::testing::ResetRuntime();
  testing::ModalWatch watch;
  auto window = ControlWnd::Instance();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));
  window->Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window->Widget()));

  const std::vector<std::shared_ptr<fw::TextField>> fields = {window->prevFld(), window->senFld(),
                                                              window->specFld()};
  std::mt19937 random(20261207);
  int calculations = 0;
  for (int step = 0; step < 1500; ++step) {
    const auto& field = fields[random() % fields.size()];
    switch (random() % 10) {
      case 0: {
        QApplication::clipboard()->setText(kPastes[random() % kPastes.size()]);
        QTest::keyClick(field->Widget(), Qt::Key_V, Qt::ControlModifier);
        break;
      }
      case 1: {
        int refusals = watch.Seen();
        QTest::mouseClick(window->calcBtn()->Widget(), Qt::LeftButton);
        Outcome expected = Calculate(fields[0]->Text(), fields[1]->Text(), fields[2]->Text());
        if (const auto* result = std::get_if<CalculationResult>(&expected)) {
          ++calculations;
          EXPECT_EQ(window->ddFld()->Text(), result->display);
          EXPECT_EQ(window->pppFld()->Text(), result->ppvText);
          EXPECT_EQ(window->ppTxt()->Text(), result->fractionText);
          EXPECT_EQ(watch.Seen(), refusals);
        } else {
          EXPECT_EQ(watch.Seen(), refusals + 1) << "a refusal shows one message box";
        }
        break;
      }
      case 2:
      case 3: {
        // Select all and type a proportion, so that some presses are accepted.
        QTest::keyClick(field->Widget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field->Widget(), QString(".%1").arg(random() % 1000, 3, 10, QChar('0')));
        break;
      }
      case 4:
        if (random() % 4 == 0) QTest::mouseClick(window->clearBtn()->Widget(), Qt::LeftButton);
        break;
      default:
        QTest::keyClick(field->Widget(), kKeys[random() % kKeys.size()]);
        break;
    }
    for (const auto& f : fields) {
      ASSERT_TRUE(FitsMask(f->Text())) << "step " << step << ": \"" << f->Text() << "\"";
    }
  }
  EXPECT_GT(calculations, 10) << "the walk should reach some accepted calculations";
  fw::testing::ResetRuntime();
}

}  // namespace
}  // namespace kestrova
