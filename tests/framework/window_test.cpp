// Windows: implicit instances, construction, property lists, sizes and the
// window's own MouseDown and KeyDown.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <stdexcept>

#include "framework/menu.h"
#include "framework/runtime.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using WindowTest = GuiTest;

std::shared_ptr<fw::MenuBar> SmallMenuBar() {
  auto bar = std::make_shared<fw::MenuBar>();
  bar->SetName("MenuBar1");
  auto file = std::make_shared<fw::MenuItem>();
  file->SetName("FileMenu");
  file->SetValue("&File");
  auto quit = std::make_shared<fw::QuitMenuItem>();
  quit->SetName("FileQuit");
  quit->SetValue("&Quit");
  quit->SetShortcut("Cmd+Q");
  file->AddMenu(quit);
  bar->AddMenu(file);
  return bar;
}

TEST_F(WindowTest, ImplicitInstanceIsOneWindowWhileOpenShownOrHidden) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto first = fw::ImplicitWindow<TestWnd>();
  auto again = fw::ImplicitWindow<TestWnd>();
  EXPECT_EQ(first, again);
  EXPECT_TRUE(first->IsVisible());

  first->Hide();
  EXPECT_FALSE(first->IsVisible());
  EXPECT_EQ(fw::ImplicitWindow<TestWnd>(), first);
  EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd"), first);
  EXPECT_EQ(CountInLog("Layout"), 1);
  EXPECT_EQ(CountInLog("CreateControls"), 1);
}

// Closing by program and by the window's close button both end the instance.
TEST_F(WindowTest, ClosedWindowIsNoLongerTheImplicitInstance) {
  const std::vector<std::pair<const char*, std::function<void(fw::Window&)>>> ways = {
      {"Close()", [](fw::Window& w) { w.Close(); }},
      {"close button", [](fw::Window& w) { w.Widget()->close(); }},
      {"close while hidden", [](fw::Window& w) {
         w.Hide();
         w.Close();
       }}};
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  for (const auto& [how, close] : ways) {
    SCOPED_TRACE(how);
    Log().clear();
    auto window = fw::ImplicitWindow<TestWnd>();
    close(*window);
    EXPECT_EQ(CountInLog("Close"), 1);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd"), nullptr);
    EXPECT_TRUE(fw::OpenWindows().empty());

    auto next = fw::ImplicitWindow<TestWnd>();
    EXPECT_NE(next, window);
    EXPECT_EQ(CountInLog("Layout"), 2);
    next->Close();
    EXPECT_EQ(CountInLog("Close"), 2);
  }
}

// A window manager may ask any window to close; one without a close button
// stays until the program closes it.
TEST_F(WindowTest, WindowWithoutCloseButtonRefusesACloseRequest) {
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetProperties(WindowList(200, 100));
    w.SetProperties({{"HasCloseButton", false}});
  };
  Log().clear();
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_FALSE(window->Widget()->close());
  EXPECT_FALSE(window->IsClosed());
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(CountInLog("Close"), 0);
  EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd"), window);
  window->Close();
  EXPECT_TRUE(window->IsClosed());
  EXPECT_EQ(CountInLog("Close"), 1);
}

TEST_F(WindowTest, ConstructionEventsOnceEachInOrderThenOpenThenShown) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(300, 200)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    auto area = AddControl<fw::TextArea>(w, "area", Bounds(10, 10, 100, 50));
    area->SetOpenHandler([](fw::TextArea& a) {
      auto window = a.GetWindow();
      Log().push_back(std::string("Open shown=") + (window->IsVisible() ? "1" : "0"));
    });
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_EQ(Log(), (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers",
                                             "Open shown=0"}));
  EXPECT_TRUE(window->IsVisible());

  // Showing again builds nothing and opens nothing.
  window->Hide();
  window->Show();
  window->Constructor();
  EXPECT_EQ(Log().size(), 4u);
}

TEST_F(WindowTest, ConstructionEventsOnlyWhereTheClassHandlesThem) {
  PartWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto window = fw::ImplicitWindow<PartWnd>();
  EXPECT_EQ(Log(), std::vector<std::string>{"CreateControls"});
  // Close is not in its table either.
  window->Close();
  EXPECT_EQ(Log(), std::vector<std::string>{"CreateControls"});
}

TEST_F(WindowTest, ShowBringsTheWindowToTheFront) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  PartWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto first = fw::ImplicitWindow<TestWnd>();
  auto second = fw::ImplicitWindow<PartWnd>();
  for (fw::Window* window :
       {static_cast<fw::Window*>(first.get()), static_cast<fw::Window*>(second.get()),
        static_cast<fw::Window*>(first.get())}) {
    window->Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window->Widget()));
    EXPECT_EQ(QApplication::activeWindow(), window->Widget());
  }
  // Hidden, then shown again: the same window comes back to the front.
  first->Hide();
  EXPECT_FALSE(first->IsVisible());
  first->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(first->Widget()));
}

TEST_F(WindowTest, InvisibleWindowIsBuiltHiddenAndStaysTheInstance) {
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetProperties(WindowList(200, 100, {{"Visible", false}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_FALSE(window->IsVisible());
  EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd"), window);
  window->Show();
  EXPECT_TRUE(window->IsVisible());
}

TEST_F(WindowTest, FailedConstructionLeavesNoWindowAndPassesTheExceptionOn) {
  struct Case {
    const char* where;
    std::function<void(WindowScript&)> arm;
  };
  const std::vector<Case> cases = {
      {"Layout",
       [](WindowScript& s) {
         s.layout = [](fw::Window&) { throw fw::RuntimeException("layout failed"); };
       }},
      {"CreateControls",
       [](WindowScript& s) {
         s.layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
         s.createControls = [](fw::Window&) { throw fw::NilObjectException("controls failed"); };
       }},
      {"property list",
       [](WindowScript& s) {
         s.layout = [](fw::Window& w) { w.SetProperties({{"Width", 200}, {"Colour", 1}}); };
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    TestWnd::Next() = {};
    c.arm(TestWnd::Next());
    EXPECT_THROW(fw::ImplicitWindow<TestWnd>(), fw::RuntimeException);
    EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd"), nullptr);
    EXPECT_TRUE(fw::OpenWindows().empty());
    for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_FALSE(top->isVisible());
  }
  // The next use builds a whole window.
  TestWnd::Next() = {};
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(200, 100)); };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(fw::OpenWindows().size(), 1u);
}

TEST_F(WindowTest, FailureKindReachesTheCallerUnchanged) {
  TestWnd::Next().layout = [](fw::Window&) { throw fw::NilObjectException("no menu bar"); };
  try {
    fw::ImplicitWindow<TestWnd>();
    ADD_FAILURE() << "no exception";
  } catch (const fw::NilObjectException& e) {
    EXPECT_STREQ(e.what(), "no menu bar");
  }
}

std::vector<std::string> Names(const fw::PropertyList& list) {
  std::vector<std::string> names;
  for (const auto& property : list) names.push_back(property.name);
  return names;
}

TEST_F(WindowTest, EveryEntryOfTheApplicationsWindowListsIsAppliedInOrder) {
  const std::vector<std::pair<const char*, fw::PropertyList>> lists = {
      {"calculator", CalculatorWindowList()},
      {"help", HelpWindowList()},
      {"about", AboutWindowList()}};
  for (const auto& [which, list] : lists) {
    SCOPED_TRACE(which);
    ASSERT_EQ(list.size(), 22u);
    fw::Window window;
    window.SetProperties(list);
    EXPECT_EQ(Names(window.AppliedProperties()), Names(list));
    for (std::size_t i = 0; i < list.size(); ++i) {
      EXPECT_TRUE(window.AppliedProperties()[i].value == list[i].value) << list[i].name;
    }
  }
  fw::Window calculator;
  calculator.SetProperties(CalculatorWindowList());
  EXPECT_EQ(calculator.Title(), "Kestrova");
  EXPECT_EQ(calculator.Widget()->windowTitle(), "Kestrova");
  EXPECT_EQ(calculator.Type(), 0);
  EXPECT_FALSE(calculator.Resizeable());
  EXPECT_TRUE(calculator.HasCloseButton());
  EXPECT_TRUE(calculator.HasMinimizeButton());
  EXPECT_FALSE(calculator.HasMaximizeButton());
  EXPECT_EQ(calculator.Width(), 880);
  EXPECT_EQ(calculator.Height(), 700);
}

TEST_F(WindowTest, SizeIsTheClientAreaWithTheMenuBarAboveIt) {
  for (bool withMenuBar : {true, false}) {
    SCOPED_TRACE(withMenuBar ? "with menu bar" : "without menu bar");
    TestWnd::Next().layout = [withMenuBar](fw::Window& w) {
      if (withMenuBar) w.SetMenuBar(SmallMenuBar());
      w.SetProperties(CalculatorWindowList());
    };
    auto window = fw::ImplicitWindow<TestWnd>();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));
    QWidget* content = window->ContentWidget();
    EXPECT_EQ(content->size(), QSize(880, 700));
    EXPECT_EQ(window->Width(), 880);
    EXPECT_EQ(window->Height(), 700);
    auto* bar = window->Widget()->findChild<QMenuBar*>();
    int barHeight = 0;
    if (withMenuBar) {
      ASSERT_NE(bar, nullptr);
      EXPECT_TRUE(bar->isVisible());
      barHeight = bar->height();
      EXPECT_GT(barHeight, 0);
      EXPECT_EQ(bar->geometry().top(), 0);
    } else {
      EXPECT_EQ(bar, nullptr);
    }
    EXPECT_EQ(content->geometry().top(), barHeight);
    EXPECT_EQ(window->Widget()->size(), QSize(880, 700 + barHeight));
    window->Close();
  }
}

TEST_F(WindowTest, TypeSetsTitleBarAndButtons) {
  struct Case {
    const char* what;
    fw::PropertyList list;
    bool frameless, close, minimize, maximize;
  };
  const std::vector<Case> cases = {
      {"calculator", CalculatorWindowList(), false, true, true, false},
      {"help", HelpWindowList(), false, true, true, false},
      {"about", AboutWindowList(), true, false, false, false},
      {"maximisable", WindowList(200, 100, {{"Resizeable", true}, {"HasMaximizeButton", true}}),
       false, true, true, true},
      {"maximise asked but fixed size",
       WindowList(200, 100, {{"Resizeable", false}, {"HasMaximizeButton", true}}), false, true,
       true, false},
      {"no buttons",
       WindowList(200, 100, {{"HasCloseButton", false}, {"HasMinimizeButton", false}}), false,
       false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestWnd::Next().layout = [&c](fw::Window& w) { w.SetProperties(c.list); };
    auto window = fw::ImplicitWindow<TestWnd>();
    Qt::WindowFlags flags = window->Widget()->windowFlags();
    EXPECT_EQ(flags.testFlag(Qt::FramelessWindowHint), c.frameless);
    EXPECT_EQ(flags.testFlag(Qt::WindowTitleHint), !c.frameless);
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), c.close);
    EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), c.minimize);
    EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), c.maximize);
    EXPECT_TRUE(window->IsVisible());
    window->Close();
  }
}

TEST_F(WindowTest, FixedSizeWindowCannotBeResized) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(CalculatorWindowList()); };
  auto window = fw::ImplicitWindow<TestWnd>();
  QWidget* top = window->Widget();
  EXPECT_EQ(top->minimumSize(), top->maximumSize());
  top->resize(1000, 900);
  QCoreApplication::processEvents();
  EXPECT_EQ(window->ContentWidget()->size(), QSize(880, 700));
  top->resize(300, 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(window->ContentWidget()->size(), QSize(880, 700));
}

TEST_F(WindowTest, ResizableWindowKeepsWithinItsMinimumAndMaximum) {
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetProperties(WindowList(400, 300,
                               {{"Resizeable", true},
                                {"MinimumWidth", 200},
                                {"MinimumHeight", 150},
                                {"MaximumWidth", 600},
                                {"MaximumHeight", 500}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  QWidget* top = window->Widget();
  QWidget* content = window->ContentWidget();
  EXPECT_EQ(content->size(), QSize(400, 300));
  const std::vector<std::pair<QSize, QSize>> cases = {
      {{500, 400}, {500, 400}}, {{1000, 1000}, {600, 500}}, {{10, 10}, {200, 150}}};
  for (const auto& [asked, expected] : cases) {
    top->resize(asked);
    QCoreApplication::processEvents();
    EXPECT_EQ(content->size(), expected) << asked.width() << "x" << asked.height();
  }
}

TEST_F(WindowTest, UnknownPropertyNameOrWrongValueTypeIsAnError) {
  struct Case {
    const char* what;
    fw::PropertyList list;
    const char* named;  // the message names the entry
  };
  const std::vector<Case> cases = {
      {"unknown name", {{"Width", 300}, {"Widht", 200}}, "Widht"},
      {"lower case name", {{"width", 300}}, "width"},
      {"string for integer", {{"Width", "300"}}, "Width"},
      {"integer for string", {{"Title", 5}}, "Title"},
      {"integer for boolean", {{"Resizeable", 1}}, "Resizeable"},
      {"double for integer", {{"Height", 1.5}}, "Height"},
      {"integer for colour", {{"BackgroundColor", 0xffffff}}, "BackgroundColor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fw::Window window;
    try {
      window.SetProperties(c.list);
      ADD_FAILURE() << "accepted";
    } catch (const fw::RuntimeException& e) {
      EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
    // What came before the bad entry was applied; the bad entry was not.
    EXPECT_EQ(window.AppliedProperties().size(), c.list.size() - 1);
  }
}

TEST_F(WindowTest, BackgroundColourBytesAreRedGreenBlueThenTransparency) {
  const std::vector<std::pair<fw::Color, QColor>> cases = {
      {{0x02, 0x3f, 0xa8, 0x00}, QColor(0x02, 0x3f, 0xa8)},
      {{0xff, 0xff, 0xff, 0x00}, QColor(0xff, 0xff, 0xff)},
      {{0xc0, 0x10, 0x20, 0x00}, QColor(0xc0, 0x10, 0x20)}};
  for (const auto& [colour, expected] : cases) {
    // A copy: clang before 16 cannot capture a structured binding.
    TestWnd::Next().layout = [color = colour](fw::Window& w) {
      w.SetProperties(
          WindowList(120, 80, {{"HasBackgroundColor", true}, {"BackgroundColor", color}}));
    };
    auto window = fw::ImplicitWindow<TestWnd>();
    EXPECT_EQ(PixelOf(window->ContentWidget(), 60, 40), expected) << expected.name().toStdString();
    window->Close();
  }
}

TEST_F(WindowTest, DefaultLocationThreeCentresTheWindowOnTheScreen) {
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetProperties(WindowList(300, 200, {{"Type", 2}, {"DefaultLocation", 3}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  QRect screen = window->Widget()->screen()->availableGeometry();
  QPoint centre = window->Widget()->frameGeometry().center();
  EXPECT_LE(std::abs(centre.x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(centre.y() - screen.center().y()), 1);
}

TEST_F(WindowTest, LockedEdgesFollowTheWindowAndUnlockedControlsStay) {
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetProperties(WindowList(400, 300, {{"Resizeable", true}}));
  };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::Label>(w, "corner",
                          Bounds(300, 250, 60, 20, {{"LockRight", true}, {"LockBottom", true}}));
    AddControl<fw::Label>(w, "stretch",
                          Bounds(10, 10, 380, 20, {{"LockLeft", true}, {"LockRight", true}}));
    AddControl<fw::TextArea>(
        w, "fill",
        Bounds(10, 40, 200, 100,
               {{"LockLeft", true}, {"LockTop", true}, {"LockRight", true}, {"LockBottom", true}}));
    AddControl<fw::Label>(w, "still", Bounds(20, 200, 50, 20));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  window->Widget()->resize(500, 350);
  QCoreApplication::processEvents();
  ASSERT_EQ(window->ContentWidget()->size(), QSize(500, 350));
  struct Expect {
    const char* name;
    QRect rect;
  };
  for (const Expect& e :
       {Expect{"corner", {400, 300, 60, 20}}, Expect{"stretch", {10, 10, 480, 20}},
        Expect{"fill", {10, 40, 300, 150}}, Expect{"still", {20, 200, 50, 20}}}) {
    auto control = Get<fw::RectControl>(*window, e.name);
    EXPECT_EQ(control->Widget()->geometry(), e.rect) << e.name;
    EXPECT_EQ(QRect(control->Left(), control->Top(), control->Width(), control->Height()), e.rect)
        << e.name;
  }
}

TEST_F(WindowTest, PressOnLabelCanvasOrBareWindowRaisesTheWindowsMouseDown) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(400, 300)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::Canvas>(w, "canvas", Bounds(100, 0, 200, 80));
    AddControl<fw::Label>(w, "inner",
                          {{"InitialParent", "canvas"},
                           {"Left", 150},
                           {"Top", 40},
                           {"Width", 100},
                           {"Height", 20},
                           {"Value", "credit"}});
    AddControl<fw::Label>(w, "label", Bounds(10, 100, 80, 20, {{"Value", "caption"}}));
    AddControl<fw::TextArea>(w, "area", Bounds(200, 150, 150, 100, {{"HasBorder", true}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  // A press in a text area lands on its viewport, inside the frame.
  QWidget* viewport =
      qobject_cast<QTextEdit*>(Get<fw::TextArea>(*window, "area")->Widget())->viewport();
  const QPoint inArea = viewport->mapTo(window->ContentWidget(), QPoint(5, 6));
  const std::string areaPress =
      "MouseDown " + std::to_string(inArea.x()) + "," + std::to_string(inArea.y());
  EXPECT_GE(inArea.x(), 205);
  struct Case {
    const char* where;
    QWidget* widget;
    QPoint at;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"label", Get<fw::Label>(*window, "label")->Widget(), {5, 6}, "MouseDown 15,106"},
      {"canvas", Get<fw::Canvas>(*window, "canvas")->Widget(), {7, 8}, "MouseDown 107,8"},
      {"label in canvas", Get<fw::Label>(*window, "inner")->Widget(), {3, 4}, "MouseDown 153,44"},
      {"bare window", window->ContentWidget(), {350, 270}, "MouseDown 350,270"},
      {"text area", viewport, {5, 6}, areaPress.c_str()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    Log().clear();
    QTest::mousePress(c.widget, Qt::LeftButton, {}, c.at);
    EXPECT_EQ(Log(), std::vector<std::string>{c.expected});
    QTest::mouseRelease(c.widget, Qt::LeftButton, {}, c.at);
    EXPECT_EQ(Log().size(), 1u) << "the release raises nothing";
  }
}

TEST_F(WindowTest, WindowMouseDownAnsweringTrueEndsThePressOnAControl) {
  bool consume = false;
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(300, 200)); };
  TestWnd::Next().mouseDown = [&consume](std::int64_t, std::int64_t) { return consume; };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::PushButton>(w, "button", Bounds(20, 20, 80, 30, {{"Caption", "Go"}}));
    AddControl<fw::TextField>(w, "field", Bounds(20, 100, 80, 22, {{"TabStop", false}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  ASSERT_TRUE(Activate(*window));
  auto* button = qobject_cast<QPushButton*>(Get<fw::PushButton>(*window, "button")->Widget());
  auto* field = qobject_cast<QLineEdit*>(Get<fw::TextField>(*window, "field")->Widget());
  QSignalSpy clicked(button, &QPushButton::clicked);

  for (bool answer : {true, false}) {
    SCOPED_TRACE(answer ? "window consumes" : "window passes");
    consume = answer;
    Log().clear();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(Log(), std::vector<std::string>{"MouseDown 30,25"});
    EXPECT_EQ(clicked.count(), answer ? 0 : 1);

    // A consumed press does not place the caret.
    field->setText("0.25");
    field->setCursorPosition(4);
    Log().clear();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(1, 4));
    EXPECT_EQ(Log(), std::vector<std::string>{"MouseDown 21,104"});
    EXPECT_EQ(field->cursorPosition(), answer ? 4 : 0);
  }
}

TEST_F(WindowTest, KeyWithNoFocusOrOnALabelRaisesTheWindowsKeyDown) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(300, 200)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::Label>(w, "label", Bounds(10, 10, 80, 20, {{"Value", "caption"}}));
    AddControl<fw::Canvas>(w, "canvas", Bounds(10, 40, 80, 40));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  ASSERT_TRUE(Activate(*window));
  EXPECT_EQ(QApplication::focusWidget(), nullptr);
  QWidget* label = Get<fw::Label>(*window, "label")->Widget();
  QWidget* canvas = Get<fw::Canvas>(*window, "canvas")->Widget();
  for (int round = 0; round < 2; ++round) {
    Log().clear();
    QTest::keyClick(window->Widget(), Qt::Key_A);
    QTest::keyClick(window->Widget(), Qt::Key_Escape);
    QTest::keyClick(label, Qt::Key_B);
    QTest::keyClick(canvas, Qt::Key_Right);
    QTest::keyClick(window->Widget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"KeyDown a", "KeyDown \x1b", "KeyDown b", "KeyDown \x1d"}));
  }
}

TEST_F(WindowTest, KeyInAFieldGoesToTheFieldThenOnceToTheWindow) {
  bool windowConsumes = false;
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(300, 200)); };
  TestWnd::Next().keyDown = [&windowConsumes](const std::string&) { return windowConsumes; };
  TestWnd::Next().createControls = [](fw::Window& w) {
    auto field =
        AddControl<fw::TextField>(w, "field", Bounds(10, 10, 100, 22, {{"TabStop", true}}));
    field->SetKeyDownHandler([](fw::TextField&, const std::string& key) {
      Log().push_back("field " + key);
      return false;
    });
    AddControl<fw::TextArea>(w, "area", Bounds(10, 40, 200, 80, {{"TabStop", true}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  ASSERT_TRUE(Activate(*window));
  auto field = Get<fw::TextField>(*window, "field");
  auto area = Get<fw::TextArea>(*window, "area");
  ASSERT_TRUE(field->HasFocus());

  // Keys the widget uses and keys it lets pass both reach the window once,
  // and before the widget: a key the window consumes is not typed.
  struct Row {
    std::shared_ptr<fw::RectControl> control;
    std::function<std::string()> text;
    std::vector<std::string> log;
    std::string typed;
  };
  const std::vector<Row> rows = {
      {field,
       [&] { return field->Text(); },
       {"field x", "KeyDown x", "field \x1b", "KeyDown \x1b", "field \r", "KeyDown \r",
        "field \x0b", "KeyDown \x0b", "field y", "KeyDown y"},
       "xy"},
      // An editable area has no KeyDown of its own: the window's comes first.
      // Page Up takes the cursor back to the start.
      {area,
       [&] { return area->Text(); },
       {"KeyDown x", "KeyDown \x1b", "KeyDown \r", "KeyDown \x0b", "KeyDown y"},
       "yx\r"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control->Name());
    QWidget* widget = row.control->Widget();
    widget->setFocus();
    ASSERT_TRUE(row.control->HasFocus());
    windowConsumes = false;
    Log().clear();
    for (Qt::Key key : {Qt::Key_X, Qt::Key_Escape, Qt::Key_Return, Qt::Key_PageUp, Qt::Key_Y}) {
      QTest::keyClick(widget, key);
    }
    EXPECT_EQ(Log(), row.log);
    EXPECT_EQ(row.text(), row.typed);

    windowConsumes = true;
    QTest::keyClick(widget, Qt::Key_Z);
    EXPECT_EQ(row.text(), row.typed);
  }

  // Once the field has let go of the focus, a key still reaches the window.
  windowConsumes = false;
  field->Widget()->setFocus();
  field->Widget()->clearFocus();
  Log().clear();
  QTest::keyClick(window->Widget(), Qt::Key_A);
  QTest::keyClick(window->Widget(), Qt::Key_B);
  EXPECT_EQ(Log(), (std::vector<std::string>{"KeyDown a", "KeyDown b"}));
}

}  // namespace
}  // namespace fwtest
