// The calculator window driven as a person would: real key presses and mouse
// presses on the offscreen platform, through the runtime's key translation,
// the window's filters and its handlers.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "calculator/calculation.h"
#include "calculator/control_wnd.h"
#include "calculator/ks550.h"
#include "calculator/menu_bar1.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "info/about_wnd.h"
#include "info/help_wnd.h"
#include "tests/support/modal_guard.h"
#include "tests/support/window_test_helpers.h"

namespace kestrova {
namespace {

const std::string kCR = "\r";
const char* const kDivide = "\u00f7";

QLineEdit* LineEdit(const std::shared_ptr<fw::TextField>& field) {
  return qobject_cast<QLineEdit*>(field->Widget());
}

QTextEdit* TextEdit(const std::shared_ptr<fw::TextArea>& area) {
  return qobject_cast<QTextEdit*>(area->Widget());
}

int CountOpen(std::string_view className) {
  auto windows = fw::OpenWindows();
  return static_cast<int>(std::count_if(windows.begin(), windows.end(), [&](const auto& w) {
    return w->ClassName() == className && !w->IsClosed();
  }));
}

// Reads and closes the next modal message box once it is up.
class BoxReader {
 public:
  BoxReader() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      text_ = box->text();
      objectName_ = box->objectName();
      ++seen_;
      box->accept();
    });
    timer_.start();
  }
  QString text() const { return text_; }
  QString objectName() const { return objectName_; }
  int seen() const { return seen_; }

 private:
  testing::ExpectModalBoxes expected_;
  QTimer timer_;
  QString text_;
  QString objectName_;
  int seen_ = 0;
};

class ControlWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No window open and no quit pending from an earlier test.
    fw::testing::ResetRuntime();
    // Registered at start-up in the application: the calculator opens them by name.
    helpWnd::Lookup();
    AboutWnd::Lookup();
    window_ = ControlWnd::Instance();
    ASSERT_TRUE(window_);
    Activate();
  }

  void TearDown() override {
    window_.reset();
    fw::testing::ResetRuntime();
    QTest::qWait(0);
  }

  void Activate() {
    QWidget* top = window_->Widget();
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  }

  // Clicks into the field, empties it with the keyboard, then types text.
  void Type(const std::shared_ptr<fw::TextField>& field, const QString& text) {
    QWidget* widget = field->Widget();
    QTest::mouseClick(widget, Qt::LeftButton);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Backspace);
    QTest::keyClicks(widget, text);
  }

  void TypeInputs(const char* prevalence, const char* sensitivity, const char* specificity) {
    Type(window_->prevFld(), prevalence);
    Type(window_->senFld(), sensitivity);
    Type(window_->specFld(), specificity);
  }

  void Press(const std::shared_ptr<fw::PushButton>& button) {
    QTest::mousePress(button->Widget(), Qt::LeftButton);
    QTest::mouseRelease(button->Widget(), Qt::LeftButton);
  }

  std::vector<std::shared_ptr<fw::RectControl>> ResultControls() {
    return {window_->note(), window_->pppTxt(), window_->pppFld(), window_->ppTxt()};
  }

  void ExpectResultsShown(bool shown) {
    for (const auto& control : ResultControls()) {
      SCOPED_TRACE(control->Name());
      EXPECT_EQ(control->Visible(), shown);
      EXPECT_EQ(control->Widget()->isVisible(), shown);
    }
  }

  std::shared_ptr<ControlWnd> window_;
};

// ---- the window as built ----

TEST_F(ControlWndTest, NewWindowHasItsTitleSizeColourButtonsAndMenuBar) {
  QWidget* top = window_->Widget();
  QWidget* content = window_->ContentWidget();
  EXPECT_TRUE(top->isVisible());
  EXPECT_EQ(top->windowTitle(), "Kestrova");
  EXPECT_EQ(content->size(), QSize(880, 700));
  EXPECT_EQ(window_->Width(), 880);
  EXPECT_EQ(window_->Height(), 700);
  EXPECT_TRUE(content->autoFillBackground());
  EXPECT_EQ(content->palette().color(QPalette::Window), QColor(Qt::white));

  const Qt::WindowFlags flags = top->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);

  // Not resizable: the client area keeps its size whatever the frame does.
  EXPECT_EQ(content->minimumSize(), QSize(880, 700));
  EXPECT_EQ(content->maximumSize(), QSize(880, 700));
  top->resize(1000, 900);
  QTest::qWait(0);
  EXPECT_EQ(content->size(), QSize(880, 700));

  EXPECT_EQ(window_->GetMenuBar(), MenuBar1::Instance());
  auto* bar = top->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  QStringList titles;
  for (QAction* action : bar->actions()) titles << action->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "Window"}));
}

TEST_F(ControlWndTest, ImplicitInstanceBuildsOneWindowAndReturnsItAgain) {
  EXPECT_EQ(CountOpen("ControlWnd.ControlWnd"), 1);
  const auto& trace = fw::RuntimeTrace();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "Window.Constructor ControlWnd.ControlWnd"), 1);

  auto again = ControlWnd::Instance();
  EXPECT_EQ(again, window_);
  EXPECT_EQ(CountOpen("ControlWnd.ControlWnd"), 1);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "Window.Constructor ControlWnd.ControlWnd"), 1);
  EXPECT_EQ(window_->MenuHandlerNames(),
            std::vector<std::string>({"FileQuit", "InfoItem", "AboutItem"}));
  // Still the same one while hidden.
  window_->Hide();
  EXPECT_EQ(ControlWnd::Instance(), window_);
}

TEST_F(ControlWndTest, AClosedWindowIsReplacedByANewOne) {
  window_->Close();
  EXPECT_TRUE(window_->IsClosed());
  // Closed is gone: the implicit instance no longer finds it.
  EXPECT_EQ(fw::GetImplicitWindow("ControlWnd.ControlWnd"), nullptr);
  fw::testing::ResetRuntime();
  auto fresh = ControlWnd::Instance();
  EXPECT_NE(fresh, window_);
  EXPECT_FALSE(fresh->IsClosed());
  EXPECT_EQ(fresh->GetMenuBar(), window_->GetMenuBar());
}

TEST_F(ControlWndTest, ClassAnswersForItsFourEvents) {
  EXPECT_EQ(window_->ClassName(), "ControlWnd.ControlWnd");
  EXPECT_EQ(ControlWnd::Lookup().base, "Window");
  for (const char* event : {"Layout", "CreateControls", "AddMenuHandlers", "Close"}) {
    EXPECT_TRUE(window_->IsEventImplemented(event)) << event;
  }
  for (const char* event : {"Open", "KeyDown", "MouseDown", "Activate", "Resized", "Paint"}) {
    EXPECT_FALSE(window_->IsEventImplemented(event)) << event;
  }
}

struct Placement {
  const char* name;
  int left, top, width, height;
  bool visible;
  bool tabStop;
};

// Window coordinates, the credit line included although it sits in the banner.
const Placement kPlacements[] = {
    {"prevFld", 36, 145, 80, 22, true, true},    {"RxxText", 30, 127, 108, 20, true, false},
    {"clearBtn", 400, 640, 80, 40, true, false}, {"helpBtn", 770, 640, 80, 40, true, false},
    {"calcBtn", 30, 640, 80, 40, true, false},   {"RxxText1", 170, 127, 80, 20, true, false},
    {"senFld", 170, 145, 80, 22, true, true},    {"Canvas1", 104, 0, 672, 80, true, true},
    {"Label2", 296, 60, 264, 20, true, false},   {"specTxt", 308, 127, 80, 20, true, false},
    {"specFld", 308, 145, 80, 22, true, true},   {"pppTxt", 508, 137, 276, 39, false, false},
    {"pppFld", 772, 145, 70, 22, false, false},  {"ddFld", 30, 196, 812, 400, true, false},
    {"note", 30, 597, 812, 20, false, false},    {"ppTxt", 742, 127, 100, 20, false, false},
};

TEST_F(ControlWndTest, SixteenControlsInOrderTwelveShownFourHidden) {
  const auto& controls = window_->Controls();
  ASSERT_EQ(controls.size(), std::size(kPlacements));
  int shown = 0;
  for (std::size_t i = 0; i < std::size(kPlacements); ++i) {
    const Placement& p = kPlacements[i];
    SCOPED_TRACE(p.name);
    auto control = std::dynamic_pointer_cast<fw::RectControl>(controls[i]);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->Name(), p.name);
    EXPECT_EQ(control->Index(), -2147483648LL);
    QWidget* widget = control->Widget();
    EXPECT_EQ(widget->objectName(), p.name);
    const QPoint at = widget->mapTo(window_->ContentWidget(), QPoint(0, 0));
    EXPECT_EQ(QRect(at, widget->size()), QRect(p.left, p.top, p.width, p.height));
    EXPECT_EQ(widget->isVisible(), p.visible);
    EXPECT_EQ(control->TabStop(), p.tabStop);
    shown += widget->isVisible();
  }
  EXPECT_EQ(shown, 12);
  EXPECT_EQ(window_->Label2()->Widget()->parentWidget(), window_->Canvas1()->Widget());
}

TEST_F(ControlWndTest, ControlsShowTheirTextsFontsAndColours) {
  auto label = [&](const std::shared_ptr<fw::Label>& l) {
    return qobject_cast<QLabel*>(l->Widget());
  };
  EXPECT_EQ(label(window_->RxxText())->text(), "Prevalence Rate");
  EXPECT_EQ(label(window_->RxxText1())->text(), "Sensitivity");
  EXPECT_EQ(label(window_->specTxt())->text(), "Specifity");
  EXPECT_TRUE(label(window_->specTxt())->font().bold());
  EXPECT_EQ(window_->RxxText()->Tooltip(), ">0 & <1");
  EXPECT_EQ(window_->pppTxt()->Text(), "Of those who test positive, the" + kCR +
                                           "proportion that actually have the condition:");
  EXPECT_EQ(label(window_->pppTxt())->text(),
            "Of those who test positive, the\nproportion that actually have the condition:");
  EXPECT_EQ(window_->note()->Text(),
            "True positives (+), False negatives (-), False positives (\u00f8), and True "
            "negatives (o)");
  EXPECT_NE(window_->Label2()->Text().find("the Kestrova authors"), std::string::npos);
  EXPECT_EQ(label(window_->Label2())->palette().color(QPalette::WindowText),
            QColor(0x02, 0x3f, 0xa8));
  EXPECT_EQ(label(window_->ppTxt())->palette().color(QPalette::WindowText),
            QColor(0x04, 0x52, 0xc9));
  EXPECT_TRUE(label(window_->ppTxt())->alignment() & Qt::AlignRight);
  EXPECT_EQ(LineEdit(window_->pppFld())->palette().color(QPalette::Text), QColor(0x04, 0x3d, 0xbb));
  EXPECT_TRUE(LineEdit(window_->pppFld())->font().bold());

  auto button = [&](const std::shared_ptr<fw::PushButton>& b) {
    return qobject_cast<QPushButton*>(b->Widget());
  };
  EXPECT_EQ(button(window_->calcBtn())->text(), "Calculate");
  EXPECT_EQ(button(window_->clearBtn())->text(), "Clear");
  EXPECT_EQ(button(window_->helpBtn())->text(), "?");
  EXPECT_TRUE(button(window_->helpBtn())->font().bold());
  EXPECT_EQ(button(window_->helpBtn())->font().pixelSize(), 16);
  for (const auto& b : {window_->calcBtn(), window_->clearBtn(), window_->helpBtn()}) {
    EXPECT_TRUE(b->Default());
  }

  QTextEdit* display = TextEdit(window_->ddFld());
  EXPECT_TRUE(QFontInfo(display->font()).fixedPitch());
  EXPECT_EQ(display->font().pixelSize(), 13);
  EXPECT_FALSE(display->isReadOnly());
  EXPECT_EQ(display->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(display->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  for (const auto& field :
       {window_->prevFld(), window_->senFld(), window_->specFld(), window_->pppFld()}) {
    SCOPED_TRACE(field->Name());
    EXPECT_EQ(field->Text(), "");
    EXPECT_EQ(field->MaximumCharactersAllowed(), 4);
    EXPECT_EQ(field->ValidationMask(), ".###");
    EXPECT_FALSE(field->ReadOnly());
    EXPECT_TRUE(LineEdit(field)->alignment() & Qt::AlignHCenter);
  }
  EXPECT_EQ(window_->ppTxt()->Text(), "");
  EXPECT_EQ(window_->ddFld()->Text(), "");
}

// Every control's list, after the name the window gives it on registration,
// follows its class's order; a dropped or swapped entry shows here.
TEST_F(ControlWndTest, PropertyListsFollowTheirClassOrder) {
  const std::vector<std::string> field = {"InitialParent",
                                          "Name",
                                          "Index",
                                          "Left",
                                          "Top",
                                          "Width",
                                          "Height",
                                          "LockLeft",
                                          "LockTop",
                                          "LockRight",
                                          "LockBottom",
                                          "TabIndex",
                                          "TabPanelIndex",
                                          "TabStop",
                                          "AllowAutoDeactivate",
                                          "BackgroundColor",
                                          "HasBorder",
                                          "Enabled",
                                          "Format",
                                          "Tooltip",
                                          "Password",
                                          "TextColor",
                                          "Transparent",
                                          "AllowFocusRing",
                                          "Visible",
                                          "FontName",
                                          "FontSize",
                                          "FontUnit",
                                          "Bold",
                                          "Italic",
                                          "Underline",
                                          "Hint",
                                          "Value",
                                          "AllowTabs",
                                          "TextAlignment",
                                          "AllowSpellChecking",
                                          "MaximumCharactersAllowed",
                                          "ValidationMask",
                                          "ReadOnly",
                                          "DataSource",
                                          "DataField"};
  const std::vector<std::string> label = {
      "InitialParent", "Name",        "Index",         "Left",       "Top",
      "Width",         "Height",      "LockLeft",      "LockTop",    "LockRight",
      "LockBottom",    "TabIndex",    "TabPanelIndex", "TabStop",    "AllowAutoDeactivate",
      "Enabled",       "Tooltip",     "Multiline",     "Selectable", "TextAlignment",
      "TextColor",     "Transparent", "Value",         "Visible",    "Bold",
      "Italic",        "FontName",    "Underline",     "FontSize",   "FontUnit",
      "DataSource",    "DataField"};
  const std::vector<std::string> button = {
      "InitialParent",  "Name",        "Index",         "Left",     "Top",
      "Width",          "Height",      "LockLeft",      "LockTop",  "LockRight",
      "LockBottom",     "TabIndex",    "TabPanelIndex", "TabStop",  "AllowAutoDeactivate",
      "MacButtonStyle", "Cancel",      "Caption",       "Default",  "Enabled",
      "Tooltip",        "Transparent", "Visible",       "FontName", "FontSize",
      "FontUnit",       "Bold",        "Italic",        "Underline"};
  const std::vector<std::string> canvas = {
      "InitialParent", "Name",        "Index",          "Left",    "Top",
      "Width",         "Height",      "LockLeft",       "LockTop", "LockRight",
      "LockBottom",    "TabIndex",    "TabPanelIndex",  "TabStop", "AllowAutoDeactivate",
      "Enabled",       "Tooltip",     "AllowFocusRing", "Visible", "AllowFocus",
      "AllowTabs",     "Transparent", "DoubleBuffer"};
  const std::vector<std::string> area = {"InitialParent",
                                         "Name",
                                         "Index",
                                         "Left",
                                         "Top",
                                         "Width",
                                         "Height",
                                         "LockLeft",
                                         "LockTop",
                                         "LockRight",
                                         "LockBottom",
                                         "TabIndex",
                                         "TabPanelIndex",
                                         "TabStop",
                                         "AllowAutoDeactivate",
                                         "BackgroundColor",
                                         "HasBorder",
                                         "Enabled",
                                         "Format",
                                         "Tooltip",
                                         "HideSelection",
                                         "LineHeight",
                                         "LineSpacing",
                                         "Multiline",
                                         "HasHorizontalScrollbar",
                                         "HasVerticalScrollbar",
                                         "AllowStyledText",
                                         "TextColor",
                                         "Transparent",
                                         "AllowFocusRing",
                                         "Visible",
                                         "Bold",
                                         "Italic",
                                         "FontName",
                                         "FontSize",
                                         "FontUnit",
                                         "Underline",
                                         "Value",
                                         "AllowTabs",
                                         "TextAlignment",
                                         "AllowSpellChecking",
                                         "MaximumCharactersAllowed",
                                         "ValidationMask",
                                         "ReadOnly",
                                         "DataSource",
                                         "DataField"};
  for (const auto& control : window_->Controls()) {
    SCOPED_TRACE(control->Name());
    std::vector<std::string> names;
    for (const auto& property : control->AppliedProperties()) names.push_back(property.name);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Name");
    names.erase(names.begin());
    const std::string_view kind = control->ClassName();
    const auto& expected = kind == "TextField"    ? field
                           : kind == "Label"      ? label
                           : kind == "PushButton" ? button
                           : kind == "Canvas"     ? canvas
                                                  : area;
    EXPECT_EQ(names, expected);
  }
  // The window's own list: 22 entries in their order.
  std::vector<std::string> names;
  for (const auto& property : window_->AppliedProperties()) names.push_back(property.name);
  EXPECT_EQ(names, std::vector<std::string>({"Width",
                                             "Height",
                                             "MinimumWidth",
                                             "MinimumHeight",
                                             "MaximumWidth",
                                             "MaximumHeight",
                                             "Type",
                                             "Title",
                                             "HasCloseButton",
                                             "HasMaximizeButton",
                                             "HasMinimizeButton",
                                             "HasFullScreenButton",
                                             "Resizeable",
                                             "Composite",
                                             "MacProcID",
                                             "FullScreen",
                                             "DefaultLocation",
                                             "Visible",
                                             "HasBackgroundColor",
                                             "BackgroundColor",
                                             "MenuBarVisible",
                                             "LiveResize"}));
}

TEST_F(ControlWndTest, AccessorsReturnTheSameRegisteredControl) {
  EXPECT_EQ(window_->prevFld(), window_->prevFld());
  EXPECT_EQ(window_->ddFld(), window_->ControlByName("ddFld"));
  EXPECT_EQ(window_->Canvas1(), window_->ControlByName("Canvas1"));
}

TEST_F(ControlWndTest, TabMovesAmongTheThreeInputsOnly) {
  QTest::mouseClick(window_->prevFld()->Widget(), Qt::LeftButton);
  ASSERT_TRUE(window_->prevFld()->HasFocus());
  const int beeps = fw::testing::BeepCount();
  for (const auto& next : {window_->senFld(), window_->specFld(), window_->prevFld()}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(next->HasFocus()) << next->Name();
  }
  EXPECT_EQ(fw::testing::BeepCount(), beeps);
  // The display takes no tabs: from it, Tab moves the focus on, as Qt moves it
  // from any widget of the window, and types nothing into it. (Where nothing
  // else can take the focus, the text area itself keeps such a Tab out; the
  // help window checks that.)
  QTest::mouseClick(TextEdit(window_->ddFld())->viewport(), Qt::LeftButton);
  ASSERT_TRUE(window_->ddFld()->HasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_FALSE(window_->ddFld()->HasFocus());
  EXPECT_EQ(window_->ddFld()->Text(), "");
}

// ---- Calculate ----

struct Worked {
  const char* prevalence;
  const char* sensitivity;
  const char* specificity;
  const char* ppv;
  std::string fraction;
  std::size_t length;
};

// A failing row names its inputs.
void PrintTo(const Worked& w, std::ostream* out) {
  *out << w.prevalence << " / " << w.sensitivity << " / " << w.specificity;
}

class CalculateTest : public ControlWndTest, public ::testing::WithParamInterface<Worked> {};

TEST_P(CalculateTest, PressFillsTheDisplayBoldRunAndResults) {
  const Worked& w = GetParam();
  TypeInputs(w.prevalence, w.sensitivity, w.specificity);
  EXPECT_EQ(window_->prevFld()->Text(), w.prevalence);
  EXPECT_EQ(window_->senFld()->Text(), w.sensitivity);
  EXPECT_EQ(window_->specFld()->Text(), w.specificity);

  const Outcome outcome = Calculate(w.prevalence, w.sensitivity, w.specificity);
  ASSERT_TRUE(std::holds_alternative<CalculationResult>(outcome));
  const auto& expected = std::get<CalculationResult>(outcome);

  // The work is done on the press, before the button is released.
  QTest::mousePress(window_->calcBtn()->Widget(), Qt::LeftButton);
  const std::string display = window_->ddFld()->Text();
  QTest::mouseRelease(window_->calcBtn()->Widget(), Qt::LeftButton);

  EXPECT_EQ(display, expected.display);
  // Characters, not bytes: "\u00f8" takes two.
  const auto characters = QString::fromStdString(display).toUcs4().size();
  EXPECT_EQ(static_cast<std::size_t>(characters), w.length);
  // What the widget shows is the same text, its CRs drawn as line breaks.
  EXPECT_EQ(TextEdit(window_->ddFld())->toPlainText(),
            QString::fromStdString(expected.display).replace(QLatin1Char('\r'), QLatin1Char('\n')));

  auto styled = window_->ddFld()->GetStyledText();
  const std::int64_t start = expected.bold.start;
  const std::int64_t end = start + expected.bold.length;
  for (std::int64_t i = 0; i < static_cast<std::int64_t>(characters); ++i) {
    ASSERT_EQ(styled->Bold(i), i >= start && i < end) << "character " << i;
  }

  EXPECT_EQ(window_->pppFld()->Text(), w.ppv);
  EXPECT_EQ(window_->ppTxt()->Text(), w.fraction);
  EXPECT_EQ(qobject_cast<QLabel*>(window_->ppTxt()->Widget())->text().toStdString(), w.fraction);
  ExpectResultsShown(true);

  // Drawn as 20 lines, whichever row the ")" ends: a row that does not fit
  // the area's width would wrap and push every row below it down.
  QTextEdit* edit = TextEdit(window_->ddFld());
  QTextDocument* document = edit->document();
  int lines = 0;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    document->documentLayout()->blockBoundingRect(block);  // lays the block out
    if (!block.text().isEmpty()) lines += block.layout()->lineCount();
  }
  EXPECT_EQ(lines, 20);
  // And as drawn, on a grab of the window, also where a person's desktop
  // hints fonts fully or draws with another style: 20 lines, each row's last
  // character whole, short of the viewport's edge.
  testing::ExpectTheRunsStyleAndHinting(edit->font());
  const testing::DrawnLines drawn =
      testing::DrawnLinesOf(window_->Widget(), *edit, 0, edit->viewport()->height() - 1);
  EXPECT_EQ(drawn.lines, 20);
  EXPECT_LT(drawn.rightmostInk, drawn.viewportWidth - 1) << "a row's last character is cut";

  if (const char* shot = std::getenv("KESTROVA_SCREENSHOT");
      shot && std::string(w.prevalence) == ".015") {
    QTest::qWait(50);
    window_->Widget()->grab().save(shot);
  }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedInputs, CalculateTest,
    ::testing::Values(
        Worked{".1", ".9", ".9", ".500", std::string("90 ") + kDivide + " (90 + 90)", 2021},
        Worked{".015", ".67", ".91", ".101", std::string("10 ") + kDivide + " (10 + 89)", 2021},
        Worked{".01", ".90", ".91", ".092", std::string("9 ") + kDivide + " (9 + 89)", 2021},
        Worked{".045", ".7", ".8", ".140", std::string("31 ") + kDivide + " (31 + 191)", 2021},
        Worked{".05", ".5", ".5", ".050", std::string("25 ") + kDivide + " (25 + 475)", 2021},
        Worked{".005", ".95", ".95", ".091", std::string("5 ") + kDivide + " (5 + 50)", 2022},
        // ")" closes row 1 with FN = 0: the widest row, 102 characters.
        Worked{".05", ".999", ".999", ".980", std::string("50 ") + kDivide + " (50 + 1)", 2022},
        // ")" closes row 2 with FN = 0 (and with FN = 10, the first case).
        Worked{".1", ".999", ".9", ".526", std::string("100 ") + kDivide + " (100 + 90)", 2022},
        Worked{".999", ".999", ".999", "1.000", std::string("998 ") + kDivide + " (998 + 0)", 2021},
        // TP = 49.5 and 0.5 round up: FN = 0 again, 102 characters in row 1.
        Worked{".05", ".99", ".5", ".095", std::string("50 ") + kDivide + " (50 + 475)", 2022},
        Worked{".001", ".5", ".5", ".002", std::string("1 ") + kDivide + " (1 + 499)", 2022},
        // ")" closes row 2 with FN = 0 and one false positive.
        Worked{".1", ".999", ".999", ".990", std::string("100 ") + kDivide + " (100 + 1)", 2022}));

TEST_F(ControlWndTest, FirstRowOfTheBowelScreeningExample) {
  TypeInputs(".015", ".67", ".91");
  Press(window_->calcBtn());
  std::string row = "(";
  for (int i = 0; i < 10; ++i) row += "+ ";
  for (int i = 0; i < 4; ++i) row += "- ";
  row += "-)";
  for (int i = 0; i < 35; ++i) row += "\u00f8 ";
  row += kCR;
  const std::string display = window_->ddFld()->Text();
  EXPECT_EQ(display.substr(0, row.size()), row);
  // Characters 1 to 28 bold: the ten "+ " and the first four "- ".
  auto styled = window_->ddFld()->GetStyledText();
  EXPECT_FALSE(styled->Bold(0));
  EXPECT_TRUE(styled->Bold(1));
  EXPECT_TRUE(styled->Bold(28));
  EXPECT_FALSE(styled->Bold(29));
}

TEST_F(ControlWndTest, ASecondCalculationReplacesTheFirst) {
  TypeInputs(".1", ".9", ".9");
  Press(window_->calcBtn());
  TypeInputs(".015", ".67", ".91");
  Press(window_->calcBtn());
  const Outcome outcome = Calculate(".015", ".67", ".91");
  EXPECT_EQ(window_->ddFld()->Text(), std::get<CalculationResult>(outcome).display);
  // Nothing of the first run's longer bold stretch is left.
  auto styled = window_->ddFld()->GetStyledText();
  EXPECT_FALSE(styled->Bold(29));
  EXPECT_FALSE(styled->Bold(150));
  EXPECT_EQ(window_->pppFld()->Text(), ".101");
}

// ---- refusals ----

struct Refused {
  const char* prevalence;
  const char* sensitivity;
  const char* specificity;
  InputField field;
};

class RefusalTest : public ControlWndTest, public ::testing::WithParamInterface<Refused> {
 protected:
  std::shared_ptr<fw::TextField> Field(InputField field) {
    switch (field) {
      case InputField::Prevalence:
        return window_->prevFld();
      case InputField::Sensitivity:
        return window_->senFld();
      case InputField::Specificity:
        break;
    }
    return window_->specFld();
  }

  // Presses Calculate on the refused inputs; checks the box, the focus and
  // that the texts of every field and the display stay as they were.
  void ExpectRefused(const Refused& r) {
    TypeInputs(r.prevalence, r.sensitivity, r.specificity);
    // Away from the fields, so that the focus has to move to the refused one.
    QTest::mouseClick(TextEdit(window_->ddFld())->viewport(), Qt::LeftButton);
    ASSERT_FALSE(Field(r.field)->HasFocus());
    const std::string display = window_->ddFld()->Text();
    const std::string ppv = window_->pppFld()->Text();
    const std::string fraction = window_->ppTxt()->Text();

    BoxReader reader;
    Press(window_->calcBtn());
    EXPECT_EQ(reader.seen(), 1);
    EXPECT_EQ(reader.objectName(), "MsgBox");
    // The message ends in a CR, which the box shows as a line break.
    std::string message = RefusalMessage(r.field);
    ASSERT_EQ(message.back(), '\r');
    message.back() = '\n';
    EXPECT_EQ(reader.text().toStdString(), message);
    EXPECT_TRUE(Field(r.field)->HasFocus());
    EXPECT_EQ(window_->prevFld()->Text(), r.prevalence);
    EXPECT_EQ(window_->senFld()->Text(), r.sensitivity);
    EXPECT_EQ(window_->specFld()->Text(), r.specificity);
    EXPECT_EQ(window_->ddFld()->Text(), display);
    EXPECT_EQ(window_->pppFld()->Text(), ppv);
    EXPECT_EQ(window_->ppTxt()->Text(), fraction);
  }
};

TEST_P(RefusalTest, OnAFreshWindowNothingIsShown) {
  ExpectRefused(GetParam());
  EXPECT_EQ(window_->ddFld()->Text(), "");
  ExpectResultsShown(false);
}

TEST_P(RefusalTest, AfterACalculationItsResultStays) {
  TypeInputs(".1", ".9", ".9");
  Press(window_->calcBtn());
  ExpectRefused(GetParam());
  const Outcome earlier = Calculate(".1", ".9", ".9");
  EXPECT_EQ(window_->ddFld()->Text(), std::get<CalculationResult>(earlier).display);
  EXPECT_TRUE(window_->ddFld()->GetStyledText()->Bold(1));
  EXPECT_EQ(window_->pppFld()->Text(), ".500");
  ExpectResultsShown(true);
}

// The release of a press that opened the refusal's box goes to the box, not to
// the button: the button must not stay drawn down.
TEST_F(ControlWndTest, ARefusalLeavesCalculateUp) {
  auto* button = qobject_cast<QPushButton*>(window_->calcBtn()->Widget());
  BoxReader reader;
  QTest::mousePress(button, Qt::LeftButton);
  EXPECT_EQ(reader.seen(), 1);
  EXPECT_FALSE(button->isDown());
}

INSTANTIATE_TEST_SUITE_P(Inputs, RefusalTest,
                         ::testing::Values(Refused{"", ".5", ".5", InputField::Prevalence},
                                           Refused{"", "", "", InputField::Prevalence},
                                           Refused{"0", "1", ".", InputField::Prevalence},
                                           Refused{"1", ".9", ".9", InputField::Prevalence},
                                           Refused{".5", ".000", ".5", InputField::Sensitivity},
                                           Refused{".5", "1", "", InputField::Sensitivity},
                                           Refused{".5", "", ".5", InputField::Sensitivity},
                                           Refused{".5", ".5", "", InputField::Specificity},
                                           Refused{".5", ".5", "1.0", InputField::Specificity},
                                           Refused{".5", ".5", ".", InputField::Specificity}));

// ---- the key filter of the three inputs ----

struct KeyCase {
  const char* label;
  Qt::Key key;
  QString text;
};

std::vector<KeyCase> RefusedKeys() {
  return {
      {"minus", Qt::Key_Minus, "-"},  {"plus", Qt::Key_Plus, "+"},
      {"comma", Qt::Key_Comma, ","},  {"e", Qt::Key_E, "e"},
      {"space", Qt::Key_Space, " "},  {"o-slash", Qt::Key_Ooblique, QString::fromUtf8("\u00f8")},
      {"x then 5", Qt::Key_X, "x5"},  {"Return", Qt::Key_Return, "\r"},
      {"Enter", Qt::Key_Enter, "\r"}, {"Escape", Qt::Key_Escape, QString(QChar(27))},
      {"Up", Qt::Key_Up, ""},         {"Down", Qt::Key_Down, ""},
      {"Home", Qt::Key_Home, ""},     {"End", Qt::Key_End, ""},
      {"PageUp", Qt::Key_PageUp, ""}, {"PageDown", Qt::Key_PageDown, ""},
  };
}

TEST_F(ControlWndTest, RefusedKeysBeepOnceAndChangeNothing) {
  for (const auto& field : {window_->prevFld(), window_->senFld(), window_->specFld()}) {
    QLineEdit* edit = LineEdit(field);
    Type(field, "1.2");
    // Caret at 1 with "." selected, so that Home, End and the rest would show.
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_EQ(edit->selectedText(), ".");
    for (const KeyCase& k : RefusedKeys()) {
      SCOPED_TRACE(field->Name() + " " + k.label);
      const int beeps = fw::testing::BeepCount();
      QTest::sendKeyEvent(QTest::Press, edit, k.key, k.text, Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, edit, k.key, k.text, Qt::NoModifier);
      EXPECT_EQ(fw::testing::BeepCount(), beeps + 1);
      EXPECT_EQ(edit->text(), "1.2");
      EXPECT_EQ(edit->cursorPosition(), 1);
      EXPECT_EQ(edit->selectionStart(), 1);
      EXPECT_EQ(edit->selectedText(), ".");
      EXPECT_TRUE(field->HasFocus());
    }
  }
}

TEST_F(ControlWndTest, DigitsPointAndEditingKeysReachTheField) {
  for (const auto& field : {window_->prevFld(), window_->senFld(), window_->specFld()}) {
    SCOPED_TRACE(field->Name());
    QLineEdit* edit = LineEdit(field);
    QTest::mouseClick(edit, Qt::LeftButton);
    const int beeps = fw::testing::BeepCount();
    QTest::keyClicks(edit, "0.9");
    EXPECT_EQ(edit->text(), "0.9");
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "09");
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "0");
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClick(edit, Qt::Key_Right);
    EXPECT_EQ(edit->cursorPosition(), 1);
    // A key string is judged by its first character.
    QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_5, "5x", Qt::NoModifier);
    EXPECT_EQ(fw::testing::BeepCount(), beeps);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(field->HasFocus());
    EXPECT_EQ(fw::testing::BeepCount(), beeps);
    field->SetText("");
  }
}

TEST_F(ControlWndTest, TheMaskKeepsPastesAndAFifthCharacterOut) {
  QLineEdit* edit = LineEdit(window_->prevFld());
  QTest::mouseClick(edit, Qt::LeftButton);
  const int beeps = fw::testing::BeepCount();
  for (const char* refused : {"abc", "-0.5", "1e-3", ".1234", "12345"}) {
    SCOPED_TRACE(refused);
    QGuiApplication::clipboard()->setText(refused);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
  }
  // A paste that fits the mask goes in: the refusals above are the mask's.
  QGuiApplication::clipboard()->setText(".25");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), ".25");
  EXPECT_EQ(fw::testing::BeepCount(), beeps);

  Type(window_->senFld(), "0.12");
  QTest::keyClick(window_->senFld()->Widget(), Qt::Key_3);
  EXPECT_EQ(window_->senFld()->Text(), "0.12");
  Type(window_->specFld(), ".123");
  QTest::keyClick(window_->specFld()->Widget(), Qt::Key_4);
  EXPECT_EQ(window_->specFld()->Text(), ".123");
  Type(window_->specFld(), "1.2");
  QTest::keyClick(window_->specFld()->Widget(), Qt::Key_Period);
  EXPECT_EQ(window_->specFld()->Text(), "1.2");
  EXPECT_EQ(fw::testing::BeepCount(), beeps);
}

TEST_F(ControlWndTest, EveryKeyReachesTheResultField) {
  TypeInputs(".015", ".67", ".91");
  Press(window_->calcBtn());
  QLineEdit* edit = LineEdit(window_->pppFld());
  ASSERT_TRUE(edit->isVisible());
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_End);
  const int beeps = fw::testing::BeepCount();
  QTest::keyClick(edit, Qt::Key_Home);
  EXPECT_EQ(edit->cursorPosition(), 0);
  QTest::keyClick(edit, Qt::Key_End);
  EXPECT_EQ(edit->cursorPosition(), 4);
  for (Qt::Key key : {Qt::Key_Minus, Qt::Key_E, Qt::Key_Space, Qt::Key_Return, Qt::Key_Up}) {
    QTest::keyClick(edit, key);
  }
  // A fifth character does not fit; a deletion does.
  QTest::keyClick(edit, Qt::Key_5);
  EXPECT_EQ(edit->text(), ".101");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), ".10");
  QTest::keyClick(edit, Qt::Key_7);
  EXPECT_EQ(edit->text(), ".107");
  EXPECT_EQ(fw::testing::BeepCount(), beeps);
}

// ---- Clear ----

TEST_F(ControlWndTest, ClearBeforeAnyCalculation) {
  Type(window_->senFld(), ".5");
  Press(window_->clearBtn());
  for (const auto& field : {window_->prevFld(), window_->senFld(), window_->specFld()}) {
    EXPECT_EQ(field->Text(), "");
  }
  EXPECT_EQ(window_->ddFld()->Text(), "");
  ExpectResultsShown(false);
  EXPECT_TRUE(window_->prevFld()->HasFocus());
}

TEST_F(ControlWndTest, ClearAfterACalculationThenCalculateAgain) {
  TypeInputs(".1", ".9", ".9");
  Press(window_->calcBtn());
  ExpectResultsShown(true);
  QTest::mouseClick(window_->specFld()->Widget(), Qt::LeftButton);

  Press(window_->clearBtn());
  for (const auto& field : {window_->prevFld(), window_->senFld(), window_->specFld()}) {
    EXPECT_EQ(field->Text(), "");
  }
  EXPECT_EQ(window_->ddFld()->Text(), "");
  ExpectResultsShown(false);
  EXPECT_TRUE(window_->prevFld()->HasFocus());
  // The hidden result controls keep their last texts.
  EXPECT_EQ(window_->pppFld()->Text(), ".500");
  EXPECT_EQ(window_->ppTxt()->Text(), std::string("90 ") + kDivide + " (90 + 90)");

  TypeInputs(".015", ".67", ".91");
  Press(window_->calcBtn());
  ExpectResultsShown(true);
  EXPECT_EQ(window_->pppFld()->Text(), ".101");
  EXPECT_EQ(window_->ppTxt()->Text(), std::string("10 ") + kDivide + " (10 + 89)");
}

// ---- help, about and quitting ----

TEST_F(ControlWndTest, HelpButtonAndInfoItemShowOneHelpWindow) {
  Press(window_->helpBtn());
  auto help = fw::GetImplicitWindow("helpWnd.helpWnd");
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->IsVisible());
  Press(window_->helpBtn());
  EXPECT_EQ(fw::GetImplicitWindow("helpWnd.helpWnd"), help);
  EXPECT_TRUE(window_->ChooseMenuItem("InfoItem"));
  EXPECT_EQ(fw::GetImplicitWindow("helpWnd.helpWnd"), help);
  EXPECT_EQ(CountOpen("helpWnd.helpWnd"), 1);
  EXPECT_TRUE(help->IsVisible());
  EXPECT_TRUE(window_->InfoItem_Action());
  EXPECT_EQ(CountOpen("helpWnd.helpWnd"), 1);
  EXPECT_FALSE(fw::Quitting());
}

TEST_F(ControlWndTest, AboutItemShowsTheSameAboutWindowAgain) {
  // As after start-up: the splash exists and has given way (hidden).
  auto about = AboutWnd::Instance();
  about->Hide();
  ASSERT_FALSE(about->IsVisible());
  EXPECT_TRUE(window_->ChooseMenuItem("AboutItem"));
  EXPECT_EQ(AboutWnd::Instance(), about);
  EXPECT_TRUE(about->IsVisible());
  EXPECT_EQ(CountOpen("AboutWnd.AboutWnd"), 1);
  EXPECT_TRUE(window_->AboutItem_Action());
  EXPECT_EQ(CountOpen("AboutWnd.AboutWnd"), 1);
}

TEST_F(ControlWndTest, FileQuitQuitsWithZeroOnceAndAnswersTrue) {
  EXPECT_FALSE(fw::Quitting());
  EXPECT_TRUE(window_->FileQuit_Action());
  EXPECT_TRUE(fw::Quitting());
  const int windDowns = fw::testing::WindDownCount();
  QTest::qWait(20);
  // The wind-down closes the window, whose Close event asks again: still one.
  EXPECT_EQ(fw::testing::WindDownCount(), windDowns + 1);
  EXPECT_TRUE(window_->IsClosed());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(ControlWndTest, CtrlQChoosesFileQuit) {
  QTest::keyClick(window_->Widget(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(fw::Quitting());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(ControlWndTest, ClosingTheWindowQuitsWithZero) {
  const int windDowns = fw::testing::WindDownCount();
  window_->Widget()->close();
  EXPECT_TRUE(window_->IsClosed());
  EXPECT_TRUE(fw::Quitting());
  QTest::qWait(20);
  EXPECT_EQ(fw::testing::WindDownCount(), windDowns + 1);
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

// ---- the banner picture ----

TEST_F(ControlWndTest, BannerPictureIsOpenedOnceAndShared) {
  ASSERT_TRUE(window_->Canvas1()->Backdrop()) << "KS550.png in " << fw::ResourceDirectory();
  const int opens = fw::Picture::OpenCount();
  auto picture = KS550();
  EXPECT_EQ(picture, window_->Canvas1()->Backdrop());
  EXPECT_EQ(picture->Width(), 672);
  EXPECT_EQ(picture->Height(), 80);
  // A second window takes the kept picture without reading the file.
  window_->Close();
  fw::testing::ResetRuntime();
  auto second = ControlWnd::Instance();
  EXPECT_NE(second, window_);
  EXPECT_EQ(second->Canvas1()->Backdrop(), picture);
  EXPECT_EQ(fw::Picture::OpenCount(), opens);
}

TEST_F(ControlWndTest, WithoutThePictureTheWindowOpensWithAnEmptyBanner) {
  window_->Close();
  fw::testing::ResetRuntime();
  ReleaseKS550();
  const QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  fw::SetResourceDirectory(empty.path().toStdString());
  const int opens = fw::Picture::OpenCount();

  auto bare = ControlWnd::Instance();
  EXPECT_TRUE(bare->IsVisible());
  EXPECT_EQ(bare->Canvas1()->Backdrop(), nullptr);
  EXPECT_TRUE(bare->Canvas1()->Widget()->isVisible());
  EXPECT_TRUE(bare->Label2()->Widget()->isVisible());
  EXPECT_NE(bare->Label2()->Text(), "");
  // A failed open is not kept: each call tries again.
  EXPECT_EQ(KS550(), nullptr);
  EXPECT_EQ(fw::Picture::OpenCount(), opens + 2);

  fw::SetResourceDirectory("");
  auto found = KS550();
  EXPECT_NE(found, nullptr);
  EXPECT_EQ(KS550(), found);
  EXPECT_EQ(fw::Picture::OpenCount(), opens + 3);
}

}  // namespace
}  // namespace kestrova
