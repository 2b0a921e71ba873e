// The help window with real widgets on the offscreen platform: its shape, the
// text and bold heading, one window while open and a fresh one after closing,
// and its Control item.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>

#include "calculator/control_wnd.h"
#include "calculator/menu_bar1.h"
#include "framework/runtime.h"
#include "framework/window.h"
#include "info/help_wnd.h"
#include "resources/help_text.h"
#include "tests/support/window_test_helpers.h"

namespace kestrova {
namespace {

using testing::Constructions;
using testing::ModalWatch;
using testing::OwnEntries;
using testing::SameEntriesInOrder;
using testing::WaitFor;

// The designed property lists in their order, written out with the value
// types they must arrive with (integers as int64, FontSize single precision,
// the line measures double).
constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr fw::Color kBlack{0x00, 0x00, 0x00, 0x00};

const fw::PropertyList kWindowEntries = {
    {"Width", std::int64_t{550}},
    {"Height", std::int64_t{500}},
    {"MinimumWidth", std::int64_t{64}},
    {"MinimumHeight", std::int64_t{64}},
    {"MaximumWidth", std::int64_t{32000}},
    {"MaximumHeight", std::int64_t{32000}},
    {"Type", std::int64_t{0}},
    {"Title", std::string("Info")},
    {"HasCloseButton", true},
    {"HasMaximizeButton", false},
    {"HasMinimizeButton", true},
    {"HasFullScreenButton", false},
    {"Resizeable", true},
    {"Composite", false},
    {"MacProcID", std::int64_t{0}},
    {"FullScreen", false},
    {"DefaultLocation", std::int64_t{3}},
    {"Visible", true},
    {"HasBackgroundColor", false},
    {"BackgroundColor", kWhite},
    {"MenuBarVisible", true},
    {"LiveResize", false},
};

fw::PropertyList TextAreaEntries() {
  return {
      {"InitialParent", std::string()},
      {"DataField", std::string()},
      {"DataSource", std::string()},
      {"ReadOnly", false},
      {"Underline", false},
      {"Italic", false},
      {"Bold", false},
      {"Visible", true},
      {"Transparent", true},
      {"TextColor", kBlack},
      {"Multiline", true},
      {"LineSpacing", 1.0},
      {"LineHeight", 0.0},
      {"HideSelection", true},
      {"Format", std::string()},
      {"Enabled", true},
      {"TabStop", true},
      {"TabPanelIndex", std::int64_t{0}},
      {"TabIndex", std::int64_t{0}},
      {"LockBottom", false},
      {"LockRight", false},
      {"LockTop", false},
      {"LockLeft", false},
      {"Height", std::int64_t{498}},
      {"Width", std::int64_t{550}},
      {"Top", std::int64_t{-1}},
      {"Left", std::int64_t{-1}},
      {"Index", std::int64_t{-2147483648LL}},
      {"Name", std::string("EditField1")},
      {"AllowAutoDeactivate", true},
      {"BackgroundColor", kWhite},
      {"HasBorder", true},
      {"Tooltip", std::string()},
      {"HasHorizontalScrollbar", false},
      {"HasVerticalScrollbar", true},
      {"AllowStyledText", true},
      {"AllowFocusRing", true},
      {"FontName", std::string("System")},
      {"FontSize", 12.0f},
      {"FontUnit", fw::FontUnit::Default},
      {"Value", std::string(HelpText())},
      {"AllowTabs", false},
      {"TextAlignment", std::int64_t{0}},
      {"AllowSpellChecking", false},
      {"MaximumCharactersAllowed", std::int64_t{0}},
      {"ValidationMask", std::string()},
  };
}

// The first column of the window's grab, counted from its left edge, where
// the text area's viewport draws anything but its background: the leftmost
// ink of the text (the frame and scroll bar lie outside the viewport, and
// rows below the text are blank); -1 if nothing is drawn.
int LeftmostInk(QWidget* window, const QTextEdit& edit) {
  const QImage shot = window->grab().toImage();
  const QWidget* viewport = edit.viewport();
  const QRect view =
      QRect(viewport->mapTo(window, QPoint(0, 0)), viewport->size()).intersected(shot.rect());
  const QColor background = edit.palette().color(QPalette::Base);
  for (int x = view.left(); x <= view.right(); ++x) {
    for (int y = view.top(); y <= view.bottom(); ++y) {
      if (shot.pixelColor(x, y) != background) return x;
    }
  }
  return -1;
}

class HelpWndTest : public ::testing::Test {
 protected:
  void SetUp() override { fw::testing::ResetRuntime(); }
  void TearDown() override {
    EXPECT_EQ(watch_.Seen(), 0) << "an unhandled-exception report was shown";
    fw::testing::ResetRuntime();
  }

  std::shared_ptr<helpWnd> OpenHelp() {
    auto help = helpWnd::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(help->Widget()));
    return help;
  }

  static QTextEdit* Editor(const helpWnd& help) {
    auto area = help.EditField1();
    return area ? qobject_cast<QTextEdit*>(area->Widget()) : nullptr;
  }

  static void ExpectBoldHeadingOnly(const helpWnd& help) {
    auto area = help.EditField1();
    ASSERT_NE(area, nullptr);
    auto styled = area->GetStyledText();
    ASSERT_NE(styled, nullptr);
    for (std::int64_t i = 0; i < kHelpHeadingLength; ++i) EXPECT_TRUE(styled->Bold(i)) << i;
    // The line break after the heading, the blank line and the body are plain.
    for (std::int64_t i = kHelpHeadingLength; i < kHelpHeadingLength + 40; ++i) {
      EXPECT_FALSE(styled->Bold(i)) << i;
    }
  }

  ModalWatch watch_;
};

TEST_F(HelpWndTest, IsTheResizableInfoWindowWithTheMenuBar) {
  auto help = OpenHelp();
  EXPECT_EQ(help->ClassName(), "helpWnd.helpWnd");
  EXPECT_TRUE(help->IsVisible());
  EXPECT_EQ(help->Title(), "Info");
  EXPECT_EQ(help->Widget()->windowTitle(), "Info");
  EXPECT_EQ(help->Type(), 0);
  EXPECT_TRUE(help->HasCloseButton());
  EXPECT_TRUE(help->HasMinimizeButton());
  EXPECT_FALSE(help->HasMaximizeButton());
  EXPECT_TRUE(help->Resizeable());
  EXPECT_EQ(help->Width(), 550);
  EXPECT_EQ(help->Height(), 500);
  EXPECT_EQ(help->GetMenuBar(), MenuBar1::Instance());
  EXPECT_NE(help->Widget()->findChild<QMenuBar*>(), nullptr);
  EXPECT_EQ(help->AppliedProperties().size(), 22u);
  EXPECT_EQ(help->MenuHandlerNames(), std::vector<std::string>{"ControlItem"});
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), nullptr);
}

TEST_F(HelpWndTest, AppliesEveryWindowAndTextAreaEntryInOrderWithItsType) {
  auto help = OpenHelp();
  EXPECT_TRUE(SameEntriesInOrder(help->AppliedProperties(), kWindowEntries));
  auto area = help->EditField1();
  ASSERT_NE(area, nullptr);
  EXPECT_TRUE(SameEntriesInOrder(OwnEntries(*area), TextAreaEntries()));
}

TEST_F(HelpWndTest, ResizesWithin64And32000) {
  auto help = OpenHelp();
  QWidget* content = help->ContentWidget();
  EXPECT_EQ(content->minimumSize(), QSize(64, 64));
  EXPECT_EQ(content->maximumSize(), QSize(32000, 32000));

  // A real resize of the window: the client area follows within its limits.
  help->Widget()->resize(900, 800);
  ASSERT_TRUE(WaitFor([&] { return content->width() > 550; }, 2000));
  EXPECT_GT(content->height(), 500);
  help->Widget()->resize(20, 20);
  QTest::qWait(50);
  EXPECT_GE(content->width(), 64);
  EXPECT_GE(content->height(), 64);
}

TEST_F(HelpWndTest, HandlesOnlyItsThreeConstructionEvents) {
  auto help = OpenHelp();
  for (const char* event : {"Layout", "CreateControls", "AddMenuHandlers"}) {
    EXPECT_TRUE(help->IsEventImplemented(event)) << event;
  }
  for (const char* event : {"Open", "Close", "CancelClose", "KeyDown", "MouseDown", "Resized"}) {
    EXPECT_FALSE(help->IsEventImplemented(event)) << event;
  }
}

TEST_F(HelpWndTest, ShowsTheHelpTextCharacterForCharacterWithItsHeadingBold) {
  auto help = OpenHelp();
  auto area = help->EditField1();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(help->Controls().size(), 1u);
  EXPECT_EQ(area->Text(), HelpText());
  EXPECT_EQ(area->Text().find('\n'), std::string::npos);
  EXPECT_EQ(area->Left(), -1);
  EXPECT_EQ(area->Top(), -1);
  EXPECT_EQ(area->Width(), 550);
  EXPECT_EQ(area->Height(), 498);
  EXPECT_EQ(area->Index(), -2147483648LL);
  ASSERT_NE(Editor(*help), nullptr);
  EXPECT_FALSE(Editor(*help)->isReadOnly());
  EXPECT_NE(Editor(*help)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  ExpectBoldHeadingOnly(*help);
  // The prose stands inside the window, not against its left edge.
  const int ink = LeftmostInk(help->Widget(), *Editor(*help));
  EXPECT_GE(ink, 3);
  EXPECT_LE(ink, 8) << "a few pixels, not an indent";
}

// At the window's own size each row of the example display is one line on
// screen: 20 rows of 50, not a row broken in two, also where a person's
// desktop draws with another style (a run of its own).
TEST_F(HelpWndTest, ExampleDisplayRowsEachFitOnOneLine) {
  auto help = OpenHelp();
  auto* edit = qobject_cast<QTextEdit*>(help->EditField1()->Widget());
  ASSERT_NE(edit, nullptr);
  QTextDocument* document = edit->document();
  document->setTextWidth(edit->viewport()->width());
  int rows = 0;
  QRectF example;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    if (!text.startsWith("(+") && !text.startsWith(QString::fromUtf8("\u00f8 ")) &&
        !text.startsWith("o o")) {
      continue;
    }
    ++rows;
    example |= document->documentLayout()->blockBoundingRect(block);  // lays the block out
    EXPECT_EQ(block.layout()->lineCount(), 1) << "row " << rows << ": " << text.toStdString();
  }
  EXPECT_EQ(rows, 20);

  // And as drawn, on a grab of the window with the example scrolled to the
  // top: 20 lines, each row's last character whole.
  testing::ExpectTheRunsStyleAndHinting(edit->font());
  edit->verticalScrollBar()->setValue(static_cast<int>(example.top()));
  const int top = static_cast<int>(example.top()) - edit->verticalScrollBar()->value();
  ASSERT_LE(top + example.height(), edit->viewport()->height()) << "the example is in view";
  const testing::DrawnLines drawn = testing::DrawnLinesOf(
      help->Widget(), *edit, top, top + static_cast<int>(example.height()) - 1);
  EXPECT_EQ(drawn.lines, 20);
  EXPECT_LT(drawn.rightmostInk, drawn.viewportWidth - 1) << "a row's last character is cut";
}

TEST_F(HelpWndTest, OneWindowWhileOpenWithTheUsersEditsKept) {
  auto help = OpenHelp();
  QTextEdit* editor = Editor(*help);
  ASSERT_NE(editor, nullptr);
  QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, {5, 5});
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClicks(editor, "Note: ");
  const std::string edited = help->EditField1()->Text();
  ASSERT_NE(edited, HelpText());
  EXPECT_NE(edited.find("Note: "), std::string::npos);
  // The help takes no tabs, and its window has nothing else for Tab to move
  // the focus to: Tab types nothing.
  QTest::keyClick(editor, Qt::Key_Tab);
  EXPECT_EQ(help->EditField1()->Text(), edited);

  auto again = helpWnd::Instance();
  again->Show();
  EXPECT_EQ(again, help);
  EXPECT_EQ(again->EditField1()->Text(), edited);
  EXPECT_EQ(Constructions(helpWnd::Lookup().name), 1);
}

TEST_F(HelpWndTest, ClosingNeverQuitsAndTheNextOneIsFresh) {
  auto help = OpenHelp();
  QTextEdit* editor = Editor(*help);
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "gone");
  ASSERT_EQ(help->EditField1()->Text(), "gone");

  // As the close button does it.
  help->Widget()->close();
  EXPECT_TRUE(help->IsClosed());
  QTest::qWait(50);
  EXPECT_FALSE(fw::Quitting());
  EXPECT_EQ(fw::testing::WindDownCount(), 0);
  EXPECT_EQ(fw::GetImplicitWindow(helpWnd::Lookup().name), nullptr);

  auto fresh = OpenHelp();
  EXPECT_NE(fresh, help);
  EXPECT_EQ(fresh->EditField1()->Text(), HelpText());
  ExpectBoldHeadingOnly(*fresh);
  EXPECT_EQ(Constructions(helpWnd::Lookup().name), 2);
}

TEST_F(HelpWndTest, ControlItemShowsTheOneCalculatorWindowAndIsHandled) {
  auto help = OpenHelp();
  EXPECT_TRUE(help->ChooseMenuItem("ControlItem"));
  auto calculator = fw::GetImplicitWindow(ControlWnd::Lookup().name);
  ASSERT_NE(calculator, nullptr);
  EXPECT_TRUE(calculator->IsVisible());
  EXPECT_TRUE(help->IsVisible()) << "the help window stays open";

  calculator->Hide();
  EXPECT_TRUE(help->ChooseMenuItem("ControlItem"));
  EXPECT_TRUE(calculator->IsVisible());
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), calculator);
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
}

TEST_F(HelpWndTest, ControlItemFromTheWindowsMenu) {
  auto help = OpenHelp();
  auto* action = help->Widget()->findChild<QAction*>("ControlItem");
  ASSERT_NE(action, nullptr);
  action->trigger();
  auto calculator = fw::GetImplicitWindow(ControlWnd::Lookup().name);
  ASSERT_NE(calculator, nullptr);
  EXPECT_TRUE(calculator->IsVisible());
}

TEST_F(HelpWndTest, MenuItemAccessorsFindTheBarsItems) {
  auto help = OpenHelp();
  using Accessor = std::function<std::shared_ptr<fw::MenuItem>(const helpWnd&)>;
  const std::pair<const char*, Accessor> kItems[] = {
      {"InfoMenu", &helpWnd::InfoMenu},           {"InfoItem", &helpWnd::InfoItem},
      {"ControlItem", &helpWnd::ControlItem},     {"EditMenu", &helpWnd::EditMenu},
      {"EditSelectAll", &helpWnd::EditSelectAll}, {"UntitledMenu0", &helpWnd::UntitledMenu0},
      {"EditClear", &helpWnd::EditClear},         {"EditPaste", &helpWnd::EditPaste},
      {"EditCopy", &helpWnd::EditCopy},           {"EditCut", &helpWnd::EditCut},
      {"UntitledMenu1", &helpWnd::UntitledMenu1}, {"EditUndo", &helpWnd::EditUndo},
      {"FileMenu", &helpWnd::FileMenu},
  };
  for (const auto& [name, accessor] : kItems) {
    auto item = accessor(*help);
    ASSERT_NE(item, nullptr) << name;
    EXPECT_EQ(item->Name(), name);
  }
  ASSERT_NE(help->AboutItem(), nullptr);
  EXPECT_EQ(help->AboutItem()->Name(), "AboutItem");
  ASSERT_NE(help->FileQuit(), nullptr);
  EXPECT_EQ(help->FileQuit()->Name(), "FileQuit");
}

}  // namespace
}  // namespace kestrova
