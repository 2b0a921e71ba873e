// Text controls: the text area's text with its carriage returns, appends,
// bold runs, Open event and scroll bars; the label's line breaks.
#include <QLabel>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTextEdit>
#include <limits>

#include "framework/runtime.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using TextTest = GuiTest;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

std::shared_ptr<TestWnd> AreaWindow() {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(400, 300)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::TextArea>(
        w, "area", Bounds(10, 10, 380, 200, {{"FontName", "Courier"}, {"FontSize", 13.0f}}));
    AddControl<fw::Label>(w, "label", Bounds(10, 220, 380, 60, {{"Multiline", true}}));
  };
  return fw::ImplicitWindow<TestWnd>();
}

// Texts with their line breaks as the application writes them.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = {
      "",
      "a",
      "one\rtwo",
      "\r\rstarts with breaks",
      "ends with a break\r",
      "++--\u00f8\u00f8oo\r++--\u00f8\u00f8oo\r",
      "non-BMP \U0001F600 and \u00f8\r\U0001D11E",
      "tab\there",
      "line feed\nalone",
      "both\r\nkinds",
      "a\n\r\nb\r\r\n",
  };
  return texts;
}

TEST_F(TextTest, AreaTextComesBackCharacterForCharacter) {
  auto window = AreaWindow();
  auto area = Get<fw::TextArea>(*window, "area");
  for (const std::string& text : Texts()) {
    area->SetText(text);
    EXPECT_EQ(area->Text(), text) << "set";
    area->SetProperties({{"Value", text}});
    EXPECT_EQ(area->Text(), text) << "property";
    area->SetText("");
    area->AddText(text);
    EXPECT_EQ(area->Text(), text) << "added";
  }
  // CRs show as line breaks.
  area->SetText("one\rtwo");
  auto* edit = qobject_cast<QTextEdit*>(area->Widget());
  EXPECT_EQ(edit->document()->blockCount(), 2);
}

TEST_F(TextTest, AddTextAppendsEveryPieceInOrder) {
  auto window = AreaWindow();
  auto area = Get<fw::TextArea>(*window, "area");
  area->SetText("head\r");
  std::string expected = "head\r";
  const std::vector<std::string> pieces = {"+", "-", "\u00f8", "o", "\r", "\U0001F600", "\n", ""};
  for (int i = 0; i < 1000; ++i) {
    const std::string& piece = pieces[static_cast<std::size_t>(i) % pieces.size()];
    area->AddText(piece);
    expected += piece;
    // Reading in between must not lose or repeat what was added.
    if (i == 500) {
      EXPECT_EQ(area->Text(), expected);
    }
  }
  EXPECT_EQ(area->Text(), expected);
  QCoreApplication::processEvents();
  EXPECT_EQ(area->Text(), expected);

  // A piece split across appends joins up, also when it is shown in between.
  area->SetText("");
  area->AddText("x\r");
  QCoreApplication::processEvents();
  area->AddText("\ny");
  EXPECT_EQ(area->Text(), "x\r\ny");

  // SetText replaces what was added before it.
  area->AddText("lost");
  area->SetText("kept");
  QCoreApplication::processEvents();
  EXPECT_EQ(area->Text(), "kept");
}

std::vector<std::int64_t> BoldPositions(fw::StyledText& styled, std::int64_t length) {
  std::vector<std::int64_t> bold;
  for (std::int64_t i = -1; i <= length; ++i) {
    if (styled.Bold(i)) bold.push_back(i);
  }
  return bold;
}

TEST_F(TextTest, BoldRunsCountCharactersOfTheText) {
  auto window = AreaWindow();
  auto area = Get<fw::TextArea>(*window, "area");
  // 9 characters: a b CR c d CR e f and a non-BMP character.
  const std::string text = "ab\rcd\ref\U0001F600";
  struct Case {
    const char* what;
    std::int64_t start, length;
    std::vector<std::int64_t> bold;
  };
  const std::vector<Case> cases = {
      {"one character", 0, 1, {0}},
      {"run over a CR", 1, 4, {1, 2, 3, 4}},
      {"CR alone", 5, 1, {5}},
      {"non-BMP character", 8, 1, {8}},
      {"whole text", 0, 9, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"runs past the end", 6, 10, {6, 7, 8}},
      {"huge length", 7, kMax, {7, 8}},
      {"starts before the text", -2, 4, {0, 1}},
      {"zero length", 3, 0, {}},
      {"negative length", 3, -2, {}},
      {"after the end", 9, 3, {}},
      {"far after the end", kMax, kMax, {}},
      {"far before the text", std::numeric_limits<std::int64_t>::min(), 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    area->SetText(text);
    auto styled = area->GetStyledText();
    styled->SetBold(c.start, c.length, true);
    EXPECT_EQ(BoldPositions(*styled, 9), c.bold);
    EXPECT_EQ(area->Text(), text);
  }
}

TEST_F(TextTest, BoldRunsCanBeUndoneAndSurviveStyleAndAppends) {
  auto window = AreaWindow();
  auto area = Get<fw::TextArea>(*window, "area");
  area->SetText("abcdef");
  auto styled = area->GetStyledText();
  styled->SetBold(1, 4, true);
  styled->SetBold(2, 2, false);
  EXPECT_EQ(BoldPositions(*styled, 6), (std::vector<std::int64_t>{1, 4}));

  // A style change of the area keeps the runs.
  area->SetProperties({{"TextColor", fw::Color{0x04, 0x3d, 0xbb, 0x00}}, {"FontSize", 14.0f}});
  EXPECT_EQ(BoldPositions(*styled, 6), (std::vector<std::int64_t>{1, 4}));

  // Text added after a bold end is plain; SetText drops the runs.
  styled->SetBold(5, 1, true);
  area->AddText("gh");
  EXPECT_EQ(BoldPositions(*styled, 8), (std::vector<std::int64_t>{1, 4, 5}));
  area->SetText("abcdef");
  EXPECT_TRUE(BoldPositions(*styled, 6).empty());

  // Runs over pending appends see the appended text.
  area->SetText("");
  area->AddText("12");
  area->AddText("\r34");
  styled->SetBold(2, 2, true);
  EXPECT_EQ(BoldPositions(*styled, 5), (std::vector<std::int64_t>{2, 3}));
}

// Undo takes back what the user typed, never what the program wrote.
TEST_F(TextTest, TheProgramsTextIsNotTheUsersToUndo) {
  auto window = AreaWindow();
  auto area = Get<fw::TextArea>(*window, "area");
  auto* edit = qobject_cast<QTextEdit*>(area->Widget());
  area->SetText("Heading\rbody");
  area->AddText(" more");
  area->GetStyledText()->SetBold(0, 7, true);
  EXPECT_EQ(area->Text(), "Heading\rbody more");
  EXPECT_FALSE(edit->document()->isUndoAvailable());

  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClicks(edit, "xy");
  EXPECT_EQ(area->Text(), "Heading\rbody morexy");
  for (int i = 0; i < 10; ++i) QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(area->Text(), "Heading\rbody more");
  EXPECT_TRUE(area->GetStyledText()->Bold(0));
  EXPECT_TRUE(area->GetStyledText()->Bold(6));
  EXPECT_FALSE(area->GetStyledText()->Bold(7));
}

TEST_F(TextTest, StyledTextOfAGoneAreaIsANilObject) {
  std::unique_ptr<fw::StyledText> styled;
  {
    auto window = AreaWindow();
    styled = Get<fw::TextArea>(*window, "area")->GetStyledText();
    window->Close();
  }
  fw::testing::ResetRuntime();
  EXPECT_THROW(styled->SetBold(0, 1, true), fw::NilObjectException);
  EXPECT_THROW(styled->Bold(0), fw::NilObjectException);
}

TEST_F(TextTest, AreaOpenEventComesOnceWhenTheWindowIsBuilt) {
  int opened = 0;
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 200)); };
  TestWnd::Next().createControls = [&opened](fw::Window& w) {
    auto area = AddControl<fw::TextArea>(w, "area", Bounds(0, 0, 200, 200));
    area->SetOpenHandler([&opened](fw::TextArea& a) {
      ++opened;
      // The usual thing to do in Open: fill the area.
      a.SetText("filled\rin Open");
    });
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(Get<fw::TextArea>(*window, "area")->Text(), "filled\rin Open");
  window->Hide();
  window->Show();
  EXPECT_EQ(opened, 1);
}

// The options a scroll bar's paint event hands the style.
QStyleOptionSlider DrawnOption(const QScrollBar* bar) {
  struct Peek : QScrollBar {
    using QScrollBar::initStyleOption;
  };
  QStyleOptionSlider option;
  (bar->*&Peek::initStyleOption)(&option);
  return option;
}

// The style caches drawn pieces of scroll bars under the palette's cache key:
// a new window's text area in the same colours as an earlier one must draw its
// scroll bars with the same key, or each window adds pieces to the cache.
TEST_F(TextTest, ScrollBarsInTheSameColoursDrawWithOnePalette) {
  auto drawnWith = [](const fw::PropertyList& extra) {
    TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(400, 300)); };
    TestWnd::Next().createControls = [extra](fw::Window& w) {
      AddControl<fw::TextArea>(w, "area", Bounds(10, 10, 380, 200, extra));
    };
    auto window = fw::ImplicitWindow<TestWnd>();
    auto* edit = qobject_cast<QTextEdit*>(Get<fw::TextArea>(*window, "area")->Widget());
    const QScrollBar* bar = edit->verticalScrollBar();
    QStyleOptionSlider option = DrawnOption(bar);
    // In the scroll bar's own colours and colour group all the same.
    EXPECT_EQ(option.palette, bar->palette());
    EXPECT_EQ(option.palette.currentColorGroup(), bar->palette().currentColorGroup());
    window->Close();
    return option.palette;
  };
  // As the help window's text: colours of its own, equal to the last window's.
  const fw::PropertyList white = {{"TextColor", fw::Color{0x00, 0x00, 0x00, 0x00}},
                                  {"BackgroundColor", fw::Color{0xff, 0xff, 0xff, 0x00}},
                                  {"HideSelection", true}};
  const QPalette first = drawnWith(white);
  const QPalette again = drawnWith(white);
  const QPalette red = drawnWith({{"BackgroundColor", fw::Color{0xff, 0xe0, 0xe0, 0x00}}});
  EXPECT_EQ(again.cacheKey(), first.cacheKey());
  EXPECT_NE(red.cacheKey(), first.cacheKey());
  EXPECT_EQ(red.color(QPalette::Base), QColor(0xff, 0xe0, 0xe0));
}

// Beside its text an area takes the width the windows were laid out for, a
// 14-pixel scroll bar and, with a border, a 1-pixel frame a side, whatever
// the style's (the Windows run): the scroll bar stands against the frame and
// the text, with a border or without, also after the border comes or goes.
TEST_F(TextTest, AreaLeavesItsTextTheLaidOutWidthBesideTheScrollBar) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(400, 300)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::TextArea>(w, "bordered", Bounds(10, 10, 380, 100));
    AddControl<fw::TextArea>(w, "plain", Bounds(10, 150, 380, 100, {{"HasBorder", false}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  auto expectWidths = [&window](const char* name, bool border) {
    SCOPED_TRACE(std::string(name) + (border ? " with a border" : " without"));
    auto* edit = qobject_cast<QTextEdit*>(Get<fw::TextArea>(*window, name)->Widget());
    const QWidget* viewport = edit->viewport();
    const QScrollBar* bar = edit->verticalScrollBar();
    EXPECT_EQ(viewport->width(), 380 - (border ? 2 : 0) - 14);
    EXPECT_EQ(bar->mapTo(edit, QPoint(0, 0)).x(), viewport->geometry().right() + 1);
    EXPECT_EQ(bar->mapTo(edit, QPoint(bar->width(), 0)).x(), 380 - edit->frameWidth());
  };
  expectWidths("bordered", true);
  expectWidths("plain", false);
  Get<fw::TextArea>(*window, "bordered")->SetProperties({{"HasBorder", false}});
  Get<fw::TextArea>(*window, "plain")->SetProperties({{"HasBorder", true}});
  QTest::qWait(0);
  expectWidths("bordered", false);
  expectWidths("plain", true);
}

TEST_F(TextTest, LabelBreaksLinesAtCarriageReturns) {
  auto window = AreaWindow();
  auto label = Get<fw::Label>(*window, "label");
  label->SetText("Of those who test positive, the\rproportion that actually have it:");
  EXPECT_EQ(label->Text(), "Of those who test positive, the\rproportion that actually have it:");
  auto* qlabel = qobject_cast<QLabel*>(label->Widget());
  EXPECT_EQ(qlabel->text(), "Of those who test positive, the\nproportion that actually have it:");
  // Plain text: markup is shown as it is written.
  label->SetText("<b>x</b>");
  EXPECT_EQ(qlabel->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->Text(), "<b>x</b>");
}

}  // namespace
}  // namespace fwtest
