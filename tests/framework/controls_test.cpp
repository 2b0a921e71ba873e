// Controls: placement, visibility, the focus chain, the text field's keys and
// entry mask, the push button's press, the canvas and the timer.
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>

#include "framework/picture.h"
#include "framework/runtime.h"
#include "framework/values.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using ControlsTest = GuiTest;

std::shared_ptr<TestWnd> BuildWindow(std::function<void(fw::Window&)> createControls,
                                     fw::PropertyList windowList = WindowList(400, 300)) {
  TestWnd::Next().layout = [windowList](fw::Window& w) { w.SetProperties(windowList); };
  TestWnd::Next().createControls = std::move(createControls);
  return fw::ImplicitWindow<TestWnd>();
}

QLineEdit* LineEdit(const std::shared_ptr<fw::TextField>& field) {
  return qobject_cast<QLineEdit*>(field->Widget());
}

// A field with the application's input settings: four characters, ".###".
fw::PropertyList MaskedField(std::int64_t left) {
  return Bounds(left, 145, 80, 22,
                {{"TabStop", true}, {"MaximumCharactersAllowed", 4}, {"ValidationMask", ".###"}});
}

TEST_F(ControlsTest, ControlsSitAtWindowCoordinatesAlsoInsideAParent) {
  auto window = BuildWindow(
      [](fw::Window& w) {
        AddControl<fw::TextField>(w, "prevFld", Bounds(36, 145, 80, 22));
        AddControl<fw::Canvas>(w, "Canvas1", Bounds(104, 0, 672, 80));
        // As the application lists it: the parent first, then the window position.
        AddControl<fw::Label>(w, "Label2",
                              {{"InitialParent", "Canvas1"},
                               {"Name", "Label2"},
                               {"Left", 296},
                               {"Top", 60},
                               {"Width", 264},
                               {"Height", 20},
                               {"Value", "credit"}});
        AddControl<fw::PushButton>(w, "calcBtn",
                                   Bounds(30, 640, 80, 40, {{"Caption", "Calculate"}}));
      },
      WindowList(880, 700));
  struct Case {
    const char* name;
    QRect rect;
  };
  for (const Case& c : {Case{"prevFld", {36, 145, 80, 22}}, Case{"Canvas1", {104, 0, 672, 80}},
                        Case{"Label2", {296, 60, 264, 20}}, Case{"calcBtn", {30, 640, 80, 40}}}) {
    SCOPED_TRACE(c.name);
    auto control = Get<fw::RectControl>(*window, c.name);
    QWidget* widget = control->Widget();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(QRect(widget->mapTo(window->ContentWidget(), QPoint(0, 0)), widget->size()), c.rect);
    EXPECT_EQ(QRect(control->Left(), control->Top(), control->Width(), control->Height()), c.rect);
    EXPECT_TRUE(widget->isVisible());
    // Tests and screen readers find a control's widget by its name.
    EXPECT_EQ(widget->objectName().toStdString(), c.name);
    EXPECT_EQ(window->Widget()->findChild<QWidget*>(c.name), widget);
  }
  auto label = Get<fw::Label>(*window, "Label2");
  EXPECT_EQ(label->Widget()->parentWidget(), Get<fw::Canvas>(*window, "Canvas1")->Widget());
  EXPECT_EQ(Get<fw::PushButton>(*window, "calcBtn")->Widget()->accessibleName(), "Calculate");
}

TEST_F(ControlsTest, UnknownParentOrPropertyIsAnError) {
  auto window = BuildWindow([](fw::Window&) {});
  struct Case {
    const char* what;
    fw::PropertyList list;
  };
  const std::vector<Case> cases = {
      {"no such parent", {{"InitialParent", "nowhere"}}},
      {"unknown name", {{"Lefft", 3}}},
      {"integer font size", {{"FontSize", 12}}},
      {"double font size", {{"FontSize", 12.0}}},
      {"string for boolean", {{"Visible", "true"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto label = window->New<fw::Label>();
    label->Constructor();
    EXPECT_THROW(label->SetProperties(c.list), fw::RuntimeException);
  }
  auto timer = window->New<fw::Timer>();
  EXPECT_THROW(timer->SetProperties({{"Left", 3}}), fw::RuntimeException);
}

TEST_F(ControlsTest, StylePropertiesReachTheWidgets) {
  const fw::Color darkBlue{0x02, 0x3f, 0xa8, 0x00};
  const fw::Color paleRed{0xff, 0xe0, 0xe0, 0x00};
  auto window = BuildWindow([&](fw::Window& w) {
    AddControl<fw::Label>(w, "left",
                          Bounds(10, 10, 100, 20, {{"TextColor", darkBlue}, {"TextAlignment", 0}}));
    AddControl<fw::Label>(w, "centre",
                          Bounds(10, 40, 100, 20, {{"TextAlignment", 2}, {"FontSize", 0.0f}}));
    AddControl<fw::Label>(w, "right",
                          Bounds(10, 70, 100, 20, {{"TextAlignment", 3}, {"FontSize", 12.0f}}));
    AddControl<fw::TextField>(w, "field",
                              Bounds(150, 10, 80, 22,
                                     {{"TextColor", darkBlue},
                                      {"BackgroundColor", paleRed},
                                      {"TextAlignment", 2},
                                      {"Tooltip", ">0 & <1"}}));
    AddControl<fw::TextField>(w, "fixed",
                              Bounds(150, 40, 80, 22, {{"TextAlignment", 3}, {"ReadOnly", true}}));
    AddControl<fw::TextArea>(w, "area",
                             Bounds(10, 100, 300, 100,
                                    {{"FontName", "Courier"},
                                     {"FontSize", 13.0f},
                                     {"TextColor", darkBlue},
                                     {"BackgroundColor", paleRed}}));
  });
  const QColor blue(0x02, 0x3f, 0xa8), red(0xff, 0xe0, 0xe0);
  auto widget = [&](const char* name) { return Get<fw::RectControl>(*window, name)->Widget(); };
  auto* left = qobject_cast<QLabel*>(widget("left"));
  auto* centre = qobject_cast<QLabel*>(widget("centre"));
  auto* right = qobject_cast<QLabel*>(widget("right"));
  auto* field = qobject_cast<QLineEdit*>(widget("field"));
  auto* fixed = qobject_cast<QLineEdit*>(widget("fixed"));
  auto* area = qobject_cast<QTextEdit*>(widget("area"));
  ASSERT_TRUE(left && centre && right && field && fixed && area);

  EXPECT_EQ(left->palette().color(QPalette::WindowText), blue);
  EXPECT_EQ(field->palette().color(QPalette::Text), blue);
  EXPECT_EQ(field->palette().color(QPalette::Base), red);
  EXPECT_EQ(area->palette().color(QPalette::Text), blue);
  EXPECT_EQ(area->palette().color(QPalette::Base), red);

  EXPECT_EQ(left->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_EQ(centre->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(right->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(fixed->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

  // Size 0 is the default size; other sizes are in window units.
  EXPECT_EQ(QFontInfo(centre->font()).pixelSize(), QFontInfo(QApplication::font()).pixelSize());
  EXPECT_EQ(right->font().pixelSize(), 12);
  EXPECT_EQ(area->font().pixelSize(), 13);
  // "Courier" is a monospace font that has the symbol characters.
  if (QFontDatabase::families(QFontDatabase::Any).isEmpty()) GTEST_SKIP() << "no fonts installed";
  EXPECT_TRUE(QFontInfo(area->font()).fixedPitch())
      << QFontInfo(area->font()).family().toStdString();
  EXPECT_TRUE(QFontMetrics(area->font()).inFontUcs4(0xF8));
  EXPECT_EQ(QFontMetrics(area->font()).horizontalAdvance("o"),
            QFontMetrics(area->font()).horizontalAdvance("\u00f8"));

  // The tooltip is shown as written.
  QTextDocument tip;
  tip.setHtml(field->toolTip());
  EXPECT_EQ(tip.toPlainText(), ">0 & <1");
  EXPECT_EQ(Get<fw::RectControl>(*window, "field")->Tooltip(), ">0 & <1");

  // A read-only field takes no typing.
  ASSERT_TRUE(Activate(*window));
  Get<fw::TextField>(*window, "fixed")->SetText("0.5");
  fixed->setFocus();
  QTest::keyClicks(fixed, "7");
  QTest::keyClick(fixed, Qt::Key_Backspace);
  EXPECT_EQ(Get<fw::TextField>(*window, "fixed")->Text(), "0.5");
}

TEST_F(ControlsTest, VisibleAndEnabledFollowPropertiesAndSetters) {
  int presses = 0;
  auto window = BuildWindow([&presses](fw::Window& w) {
    AddControl<fw::Label>(w, "hidden", Bounds(10, 10, 80, 20, {{"Visible", false}}));
    auto button = AddControl<fw::PushButton>(
        w, "off", Bounds(10, 40, 80, 30, {{"Caption", "Off"}, {"Enabled", false}}));
    button->SetMouseDownHandler([&presses](fw::PushButton&, std::int64_t, std::int64_t) {
      ++presses;
      return false;
    });
  });
  auto hidden = Get<fw::Label>(*window, "hidden");
  auto off = Get<fw::PushButton>(*window, "off");
  EXPECT_FALSE(hidden->Widget()->isVisible());
  EXPECT_FALSE(hidden->Visible());
  EXPECT_FALSE(off->Widget()->isEnabled());

  QTest::mouseClick(off->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(presses, 0);

  hidden->SetVisible(true);
  off->SetEnabled(true);
  EXPECT_TRUE(hidden->Widget()->isVisible());
  EXPECT_TRUE(off->Widget()->isEnabled());
  QTest::mouseClick(off->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(presses, 1);
  hidden->SetVisible(false);
  EXPECT_FALSE(hidden->Widget()->isVisible());
}

// Each list is applied once before the control's constructor makes its
// widget and once to a control whose widget is already shown; the widget
// shows it all the same.
TEST_F(ControlsTest, PropertiesGivenBeforeOrAfterTheWidgetReachIt) {
  using Make = std::function<std::shared_ptr<fw::RectControl>(fw::Window&)>;
  using Read = std::function<std::string(QWidget*)>;
  const Make label = [](fw::Window& w) { return w.New<fw::Label>(); };
  const Make button = [](fw::Window& w) { return w.New<fw::PushButton>(); };
  const Make field = [](fw::Window& w) { return w.New<fw::TextField>(); };
  const Make area = [](fw::Window& w) { return w.New<fw::TextArea>(); };
  const Read labelText = [](QWidget* w) { return qobject_cast<QLabel*>(w)->text().toStdString(); };
  const Read buttonText = [](QWidget* w) {
    return qobject_cast<QPushButton*>(w)->text().toStdString();
  };
  // Qt draws the default button apart from the others.
  const Read buttonDefault = [](QWidget* w) {
    return qobject_cast<QPushButton*>(w)->isDefault() ? "default" : "plain";
  };
  const Read enabled = [](QWidget* w) { return w->isEnabled() ? "enabled" : "disabled"; };
  const Read fieldText = [](QWidget* w) {
    return qobject_cast<QLineEdit*>(w)->text().toStdString();
  };
  const Read fieldHint = [](QWidget* w) {
    return qobject_cast<QLineEdit*>(w)->placeholderText().toStdString();
  };
  const Read areaText = [](QWidget* w) {
    return qobject_cast<QTextEdit*>(w)->toPlainText().toStdString();
  };
  const Read readOnly = [](QWidget* w) {
    auto* edit = qobject_cast<QLineEdit*>(w);
    bool on = edit ? edit->isReadOnly() : qobject_cast<QTextEdit*>(w)->isReadOnly();
    return on ? "read-only" : "editable";
  };
  // What a Tab typed in the area does: goes into the text, or moves the focus on.
  const Read areaTab = [](QWidget* w) {
    auto* edit = qobject_cast<QTextEdit*>(w);
    edit->setFocus();
    if (!edit->hasFocus()) return std::string("no focus");
    QTest::keyClick(edit, Qt::Key_Tab);
    const bool typed = edit->toPlainText().contains(QLatin1Char('\t'));
    return std::string(typed ? "typed" : "") + (edit->hasFocus() ? "" : "moved on");
  };
  const Read areaMargin = [](QWidget* w) {
    const QTextFrameFormat format =
        qobject_cast<QTextEdit*>(w)->document()->rootFrame()->frameFormat();
    return QString::number(format.leftMargin()).toStdString();
  };
  // The margin, and whether the font falls back on the fixed-pitch faces.
  const Read areaPitch = [areaMargin](QWidget* w) {
    const bool fixed = w->font().families().contains(QStringLiteral("monospace"));
    return areaMargin(w) + (fixed ? " fixed" : " prose");
  };
  const Read firstFamily = [](QWidget* w) { return w->font().families().value(0).toStdString(); };
  const Read parent = [](QWidget* w) { return w->parentWidget()->objectName().toStdString(); };
  struct Case {
    const char* what;
    Make make;
    fw::PropertyList list;
    Read read;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"label text", label, {{"Value", "early"}}, labelText, "early"},
      {"label disabled", label, {{"Enabled", false}}, enabled, "disabled"},
      {"label inside a parent", label, {{"InitialParent", "box"}}, parent, "box"},
      {"button caption", button, {{"Caption", "Go"}}, buttonText, "Go"},
      {"button disabled", button, {{"Enabled", false}}, enabled, "disabled"},
      {"button default", button, {{"Default", true}}, buttonDefault, "default"},
      {"field text", field, {{"Text", "0.5"}}, fieldText, "0.5"},
      {"field read-only", field, {{"ReadOnly", true}}, readOnly, "read-only"},
      {"field hint", field, {{"Hint", "0 to 1"}}, fieldHint, "0 to 1"},
      {"area text", area, {{"Value", "one\rtwo"}}, areaText, "one\ntwo"},
      {"area read-only", area, {{"ReadOnly", true}}, readOnly, "read-only"},
      {"area tabs", area, {{"TabStop", true}, {"AllowTabs", true}}, areaTab, "typed"},
      {"area without tabs",
       area,
       {{"TabStop", true}, {"AllowTabs", true}, {"AllowTabs", false}},
       areaTab,
       "moved on"},
      {"area in Courier", area, {{"FontName", "Courier"}}, areaPitch, "0 fixed"},
      {"area in Courier New", area, {{"FontName", "Courier New"}}, areaPitch, "0 fixed"},
      {"area in Courier 10 Pitch", area, {{"FontName", "Courier 10 Pitch"}}, areaPitch, "0 fixed"},
      {"area in Courier-New", area, {{"FontName", "Courier-New"}}, areaPitch, "0 fixed"},
      {"area in COURIER", area, {{"FontName", "COURIER"}}, areaPitch, "0 fixed"},
      {"area in Consolas", area, {{"FontName", "Consolas"}}, areaPitch, "0 fixed"},
      {"area in a mono family", area, {{"FontName", "DejaVu Sans Mono"}}, areaPitch, "0 fixed"},
      {"area in FreeMono", area, {{"FontName", "FreeMono"}}, areaPitch, "0 fixed"},
      {"area in Nimbus Mono PS", area, {{"FontName", "Nimbus Mono PS"}}, areaPitch, "0 fixed"},
      // The family asked for comes before the fallbacks.
      {"area in a mono family, first",
       area,
       {{"FontName", "DejaVu Sans Mono"}},
       firstFamily,
       "DejaVu Sans Mono"},
      {"area in Monotype Corsiva", area, {{"FontName", "Monotype Corsiva"}}, areaPitch, "3 prose"},
      {"area in Courier, then prose",
       area,
       {{"FontName", "Courier"}, {"FontName", "Helvetica"}},
       areaPitch,
       "3 prose"},
  };
  auto name = [](std::size_t i, bool early) {
    return (early ? "early" : "late") + std::to_string(i);
  };
  auto window = BuildWindow([&](fw::Window& w) {
    AddControl<fw::Canvas>(w, "box", Bounds(0, 0, 400, 300));
    for (std::size_t i = 0; i < cases.size(); ++i) {
      for (bool early : {true, false}) {
        auto control = cases[i].make(w);
        control->SetProperties(Bounds(10, 10, 80, 40, early ? cases[i].list : fw::PropertyList{}));
        control->Constructor();
        w.AddControl(name(i, early), control);
      }
    }
  });
  ASSERT_TRUE(Activate(*window));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Get<fw::RectControl>(*window, name(i, false))->SetProperties(cases[i].list);
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    for (bool early : {true, false}) {
      SCOPED_TRACE(std::string(cases[i].what) + (early ? ", given before" : ", given after"));
      QWidget* widget = Get<fw::RectControl>(*window, name(i, early))->Widget();
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(cases[i].read(widget), cases[i].shown);
    }
  }
}

TEST_F(ControlsTest, TabMovesAlongTabIndexAmongTabStops) {
  auto window = BuildWindow([](fw::Window& w) {
    // Created out of tab order; "skip" has no tab stop, the area neither.
    const std::vector<std::pair<const char*, std::int64_t>> fields = {
        {"specFld", 2}, {"prevFld", 0}, {"skip", 1}, {"senFld", 1}};
    std::int64_t left = 10;
    for (const auto& [name, index] : fields) {
      auto field = AddControl<fw::TextField>(
          w, name,
          Bounds(left, 10, 60, 22,
                 {{"TabIndex", index}, {"TabStop", std::string(name) != "skip"}}));
      left += 70;
      field->SetKeyDownHandler([name = std::string(name)](fw::TextField&, const std::string& key) {
        Log().push_back(name + " " + (key == "\t" ? "tab" : key));
        return false;
      });
    }
    AddControl<fw::TextArea>(w, "area", Bounds(10, 50, 200, 80, {{"TabStop", false}}));
    AddControl<fw::PushButton>(w, "button", Bounds(10, 150, 80, 30, {{"TabStop", true}}));
  });
  ASSERT_TRUE(Activate(*window));
  auto focused = [] {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string("(none)");
  };
  EXPECT_EQ(focused(), "prevFld");
  Log().clear();
  std::vector<std::string> visited;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"senFld", "specFld", "prevFld", "senFld"}));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focused(), "prevFld");

  // Each Tab was a key of the field it left; the next key is the new field's.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
  EXPECT_EQ(LogWithout("KeyDown"),
            (std::vector<std::string>{"prevFld tab", "senFld tab", "specFld tab", "prevFld tab",
                                      "senFld tab", "prevFld 5"}));
  EXPECT_EQ(Get<fw::TextField>(*window, "prevFld")->Text(), "5");

  Get<fw::TextField>(*window, "specFld")->SetFocus();
  EXPECT_EQ(focused(), "specFld");
  EXPECT_TRUE(Get<fw::TextField>(*window, "specFld")->HasFocus());
  EXPECT_FALSE(Get<fw::TextField>(*window, "prevFld")->HasFocus());
}

TEST_F(ControlsTest, KeysReachKeyDownAsTheirStrings) {
  auto window = BuildWindow([](fw::Window& w) {
    auto field = AddControl<fw::TextField>(w, "field", Bounds(10, 10, 100, 22));
    field->SetKeyDownHandler([](fw::TextField&, const std::string& key) {
      Log().push_back("field " + key);
      return false;
    });
  });
  ASSERT_TRUE(Activate(*window));
  QWidget* field = Get<fw::TextField>(*window, "field")->Widget();
  struct Case {
    Qt::Key key;
    char text;  // sent as typed text where not 0
    Qt::KeyboardModifiers modifiers;
    std::string expected;  // empty: no KeyDown
  };
  const std::vector<Case> cases = {
      {Qt::Key_Left, 0, {}, fw::Chr(28)},
      {Qt::Key_Right, 0, {}, fw::Chr(29)},
      {Qt::Key_Up, 0, {}, fw::Chr(30)},
      {Qt::Key_Down, 0, {}, fw::Chr(31)},
      {Qt::Key_Backspace, 0, {}, fw::Chr(8)},
      {Qt::Key_Delete, 0, {}, fw::Chr(127)},
      {Qt::Key_Tab, 0, {}, fw::Chr(9)},
      {Qt::Key_Backtab, 0, Qt::ShiftModifier, fw::Chr(9)},
      {Qt::Key_Return, 0, {}, fw::Chr(13)},
      {Qt::Key_Enter, 0, Qt::KeypadModifier, fw::Chr(3)},
      {Qt::Key_Escape, 0, {}, fw::Chr(27)},
      {Qt::Key_Home, 0, {}, fw::Chr(1)},
      {Qt::Key_End, 0, {}, fw::Chr(4)},
      {Qt::Key_PageUp, 0, {}, fw::Chr(11)},
      {Qt::Key_PageDown, 0, {}, fw::Chr(12)},
      {Qt::Key_A, 'a', {}, "a"},
      {Qt::Key_A, 'A', Qt::ShiftModifier, "A"},
      {Qt::Key_5, '5', {}, "5"},
      {Qt::Key_5, '5', Qt::KeypadModifier, "5"},
      {Qt::Key_Period, '.', {}, "."},
      {Qt::Key_Space, ' ', {}, " "},
      {Qt::Key_A, 'a', Qt::ControlModifier, ""},
      {Qt::Key_V, 'v', Qt::ControlModifier, ""},
      {Qt::Key_X, 'x', Qt::AltModifier, ""},
      {Qt::Key_Left, 0, Qt::ControlModifier, ""},
      {Qt::Key_Shift, 0, Qt::ShiftModifier, ""},
      {Qt::Key_Control, 0, Qt::ControlModifier, ""},
      {Qt::Key_CapsLock, 0, {}, ""},
      // Keys without text are still key presses: function keys, Insert.
      {Qt::Key_F5, 0, {}, fw::Chr(16)},
      {Qt::Key_F1, 0, {}, fw::Chr(16)},
      {Qt::Key_Insert, 0, {}, fw::Chr(5)},
  };
  for (const Case& c : cases) {
    Log().clear();
    field->setFocus();
    if (c.text != 0) {
      QTest::keyClick(field, c.text, c.modifiers);
    } else {
      QTest::keyClick(field, c.key, c.modifiers);
    }
    // The field's KeyDown first, then the window's, with the same string.
    std::vector<std::string> expected;
    if (!c.expected.empty()) expected = {"field " + c.expected, "KeyDown " + c.expected};
    EXPECT_EQ(Log(), expected) << "key " << QTest::toString(c.key) << " modifiers "
                               << c.modifiers.toInt();
  }
  Log().clear();
  QTest::keyClicks(field, QString::fromUtf8("\u00f8"));
  EXPECT_EQ(Log(), (std::vector<std::string>{"field \u00f8", "KeyDown \u00f8"}));
}

TEST_F(ControlsTest, ConsumedKeyLeavesTextSelectionAndCaret) {
  auto window = BuildWindow([](fw::Window& w) {
    auto field =
        AddControl<fw::TextField>(w, "field", Bounds(10, 10, 100, 22, {{"TabStop", true}}));
    AddControl<fw::TextField>(w, "other", Bounds(10, 40, 100, 22, {{"TabStop", true}}));
    field->SetKeyDownHandler([](fw::TextField&, const std::string& key) {
      Log().push_back(key);
      return true;
    });
  });
  ASSERT_TRUE(Activate(*window));
  auto field = Get<fw::TextField>(*window, "field");
  QLineEdit* edit = LineEdit(field);
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
      {Qt::Key_7, {}},      {Qt::Key_Backspace, {}},
      {Qt::Key_Delete, {}}, {Qt::Key_Left, {}},
      {Qt::Key_Right, {}},  {Qt::Key_Home, {}},
      {Qt::Key_End, {}},    {Qt::Key_Return, {}},
      {Qt::Key_Tab, {}},    {Qt::Key_A, Qt::ShiftModifier}};
  for (bool selection : {false, true}) {
    field->SetText("0.25");
    field->SetFocus();
    if (selection) {
      edit->setSelection(1, 2);
    } else {
      edit->setCursorPosition(2);
    }
    for (const auto& [key, modifiers] : keys) {
      Log().clear();
      QTest::keyClick(edit, key, modifiers);
      EXPECT_EQ(Log().size(), 1u) << QTest::toString(key);
      EXPECT_EQ(field->Text(), "0.25") << QTest::toString(key);
      EXPECT_EQ(edit->selectedText(), selection ? ".2" : "") << QTest::toString(key);
      EXPECT_EQ(edit->cursorPosition(), selection ? 3 : 2) << QTest::toString(key);
      EXPECT_TRUE(field->HasFocus()) << QTest::toString(key);
    }
  }
}

// Keys as a terminal sends them: a control character is Ctrl and its letter
// (\x01 Ctrl+A, select all; \x1a Ctrl+Z, undo), except \b, Backspace.
void TypeKeys(QWidget* widget, const std::string& keys) {
  for (const QChar c : QString::fromStdString(keys)) {
    if (c == QLatin1Char('\b')) {
      QTest::keyClick(widget, Qt::Key_Backspace);
    } else if (c.unicode() >= 1 && c.unicode() <= 26) {
      QTest::keyClick(widget, Qt::Key(Qt::Key_A + c.unicode() - 1), Qt::ControlModifier);
    } else {
      QTest::keyClicks(widget, QString(c));
    }
  }
}

TEST_F(ControlsTest, MaskAndLengthHoldForTyping) {
  auto window = BuildWindow([](fw::Window& w) {
    AddControl<fw::TextField>(w, "f", MaskedField(10));
    AddControl<fw::TextField>(w, "four",
                              Bounds(100, 145, 80, 22, {{"MaximumCharactersAllowed", 4}}));
  });
  ASSERT_TRUE(Activate(*window));
  const std::string all = "\x01", undo = "\x1a";
  struct Case {
    std::string before;  // set by the program
    std::string typed;
    std::string after;
    const char* field = "f";
  };
  const std::vector<Case> cases = {
      {"", "0.25", "0.25"},
      {"", ".123", ".123"},
      {"", "12345", "1234"},
      {"", "0.5.", "0.5"},
      {"", ".5.5", ".55"},
      {"", ".1234", ".123"},
      {"", "1.234", "1.23"},
      {"", "a1b", "1"},
      {"", "-0.5", "0.5"},
      {"", "..", "."},
      {"", "1e5", "15"},
      {"", " 1", "1"},
      {"", "0,5", "05"},
      {"", "", ""},
      // The program's text, which the rules refuse, takes no more of them.
      {"1.000", "abc-9", "1.000"},
      {"1.000", "x\b", "1.00"},               // Backspace takes its last character
      {"1.000", "x\b0", "1.00"},              // typed back to it, it is refused
      {"1.000", "\b" + undo + "x", "1.000"},  // undone back to it, it holds
      {"n/a", "5", "n/a"},
      {"n/a", all + "abc.5", ".5"},  // refused keys leave it selected
      // The limit counts characters, not bytes.
      {"", "\u00f8\u00f8\u00f8\u00f8\u00f8", "\u00f8\u00f8\u00f8\u00f8", "four"},
  };
  for (const Case& c : cases) {
    auto field = Get<fw::TextField>(*window, c.field);
    field->SetText(c.before);
    field->SetFocus();
    TypeKeys(field->Widget(), c.typed);
    EXPECT_EQ(field->Text(), c.after)
        << "typed " << testing::PrintToString(c.typed) << " after " << c.before;
  }
}

TEST_F(ControlsTest, MaskAndLengthHoldForPaste) {
  auto window =
      BuildWindow([](fw::Window& w) { AddControl<fw::TextField>(w, "f", MaskedField(10)); });
  ASSERT_TRUE(Activate(*window));
  auto field = Get<fw::TextField>(*window, "f");
  QLineEdit* edit = LineEdit(field);
  struct Case {
    const char* before;
    const char* clipboard;
    const char* after;
    bool all = false;  // pasted over the whole text selected
  };
  const std::vector<Case> cases = {
      {"", "abc", ""},
      {"", "-0.5", ""},
      {"", "0.5", "0.5"},
      {"", ".125", ".125"},
      {"", "12345", ""},
      {"", ".1234", ""},
      {"", "1.2.3", ""},
      {"0.", "5", "0.5"},
      {"0.5", "5", "0.55"},
      {"0.55", "5", "0.55"},
      {"", "0,5", ""},
      {"", "\u00f8", ""},
      // The program's text, which the rules refuse, takes no more of them.
      {"1.000", "5", "1.000"},
      {"n/a", ".5", "n/a"},
      {"1.000", "abc", "1.000", true},
  };
  for (const Case& c : cases) {
    // Pasted with the keys, and by the field's own paste.
    for (bool keys : {true, false}) {
      SCOPED_TRACE(std::string("pasted ") + c.clipboard + " after " + c.before +
                   (keys ? " with Ctrl+V" : " by paste()"));
      field->SetText(c.before);
      field->SetFocus();
      if (c.all) {
        edit->selectAll();
      } else {
        edit->end(false);
      }
      const int cursor = edit->cursorPosition();
      const QString selected = edit->selectedText();
      QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
      if (keys) {
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
      } else {
        edit->paste();
      }
      EXPECT_EQ(field->Text(), c.after);
      // A refused paste leaves the caret and the selection where they were.
      if (std::string(c.before) == c.after) {
        EXPECT_EQ(edit->cursorPosition(), cursor);
        EXPECT_EQ(edit->selectedText(), selected);
      }
    }
  }
}

TEST_F(ControlsTest, ProgramTextIsNeitherCutNorMasked) {
  auto window =
      BuildWindow([](fw::Window& w) { AddControl<fw::TextField>(w, "f", MaskedField(10)); });
  auto field = Get<fw::TextField>(*window, "f");
  for (const char* text : {"1.000", "12345678", "abc", "-0.5", "0.5\u00f8"}) {
    field->SetText(text);
    EXPECT_EQ(field->Text(), text);
  }
  // The same holds for the text given in the property list.
  field->SetProperties({{"Value", "1.000"}});
  EXPECT_EQ(field->Text(), "1.000");
  EXPECT_EQ(LineEdit(field)->text(), "1.000");
}

TEST_F(ControlsTest, ButtonMouseDownComesWithThePressNotTheKeyboard) {
  bool consume = false;
  auto window = BuildWindow([&consume](fw::Window& w) {
    auto button = AddControl<fw::PushButton>(w, "calcBtn",
                                             Bounds(30, 200, 80, 40, {{"Caption", "Calculate"}}));
    button->SetMouseDownHandler([&consume](fw::PushButton& b, std::int64_t x, std::int64_t y) {
      Log().push_back(b.Name() + " " + std::to_string(x) + "," + std::to_string(y));
      return consume;
    });
  });
  ASSERT_TRUE(Activate(*window));
  auto* button = qobject_cast<QPushButton*>(Get<fw::PushButton>(*window, "calcBtn")->Widget());
  QSignalSpy clicked(button, &QPushButton::clicked);

  for (bool answer : {false, true}) {
    SCOPED_TRACE(answer ? "handler consumes" : "handler passes");
    consume = answer;
    Log().clear();
    clicked.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(12, 7));
    // Raised on the press, before any release.
    std::vector<std::string> expected = {"calcBtn 12,7"};
    if (!answer) expected.push_back("MouseDown 42,207");
    EXPECT_EQ(Log(), expected);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 7));
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(clicked.count(), answer ? 0 : 1);
    EXPECT_FALSE(button->isDown());
  }

  // The keyboard clicks the button but raises no MouseDown.
  Log().clear();
  clicked.clear();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(CountInLog("calcBtn 12,7"), 0);
  for (const std::string& entry : Log()) EXPECT_EQ(entry.rfind("MouseDown", 0), std::string::npos);

  // The right button raises nothing of the button's.
  Log().clear();
  QTest::mouseClick(button, Qt::RightButton, {}, QPoint(3, 3));
  for (const std::string& entry : Log()) EXPECT_EQ(entry.rfind("calcBtn", 0), std::string::npos);
}

TEST_F(ControlsTest, CanvasDrawsItsBackdropFromTheTopLeftAtItsOwnSize) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string saved = fw::ResourceDirectory();
  WritePng(dir.path(), "red.png", QSize(20, 10), Qt::red);
  fw::SetResourceDirectory(dir.path().toStdString());
  auto picture = fw::Picture::OpenFromApp("red.png");
  fw::SetResourceDirectory(saved);
  ASSERT_NE(picture, nullptr);

  auto window = BuildWindow(
      [picture](fw::Window& w) {
        // As the application does it: the backdrop before the property list.
        w.AddNewControl<fw::Canvas>("withPicture", Bounds(10, 10, 40, 30),
                                    [picture](fw::Canvas& c) { c.SetBackdrop(picture); });
        AddControl<fw::Canvas>(w, "empty", Bounds(60, 10, 40, 30));
      },
      WindowList(200, 100,
                 {{"HasBackgroundColor", true}, {"BackgroundColor", fw::Color{0, 0, 255, 0}}}));
  QWidget* with = Get<fw::Canvas>(*window, "withPicture")->Widget();
  QWidget* empty = Get<fw::Canvas>(*window, "empty")->Widget();
  EXPECT_EQ(Get<fw::Canvas>(*window, "withPicture")->Backdrop(), picture);
  EXPECT_EQ(PixelOf(with, 0, 0), QColor(Qt::red));
  EXPECT_EQ(PixelOf(with, 19, 9), QColor(Qt::red));
  EXPECT_NE(PixelOf(with, 25, 5), QColor(Qt::red));
  EXPECT_NE(PixelOf(with, 5, 20), QColor(Qt::red));
  // Where there is no picture the window shows through.
  EXPECT_EQ(PixelOf(window->ContentWidget(), 80, 20), QColor(Qt::blue));

  Get<fw::Canvas>(*window, "withPicture")->SetBackdrop(nullptr);
  EXPECT_EQ(PixelOf(window->ContentWidget(), 15, 15), QColor(Qt::blue));
  EXPECT_EQ(Get<fw::Canvas>(*window, "empty")->Backdrop(), nullptr);
  (void)empty;
}

struct TimerCase {
  const char* what;
  std::int64_t runMode;
};

TEST_F(ControlsTest, TimerRunModes) {
  auto window = BuildWindow([](fw::Window&) {});
  int fired = 0;
  auto make = [&](std::int64_t mode) {
    auto timer = window->New<fw::Timer>();
    timer->SetActionHandler([&fired](fw::Timer&) { ++fired; });
    timer->SetProperties({{"Period", 20}, {"RunMode", mode}});
    return timer;
  };

  // Once: fires one time, then is off.
  fired = 0;
  auto single = make(fw::Timer::Single);
  EXPECT_TRUE(single->IsActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return fired == 1; }, 5000));
  QTest::qWait(100);
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(single->IsActive());
  EXPECT_EQ(single->FireCount(), 1);

  // Repeating: fires again and again until it is switched off.
  fired = 0;
  auto repeating = make(fw::Timer::Multiple);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fired >= 3; }, 5000));
  repeating->SetRunMode(fw::Timer::Off);
  EXPECT_FALSE(repeating->IsActive());
  int stoppedAt = fired;
  QTest::qWait(100);
  EXPECT_EQ(fired, stoppedAt);

  // Off from the start: never fires.
  fired = 0;
  auto off = make(fw::Timer::Off);
  EXPECT_FALSE(off->IsActive());
  QTest::qWait(100);
  EXPECT_EQ(fired, 0);

  // Switched on later, once.
  off->SetRunMode(fw::Timer::Single);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fired == 1; }, 5000));
}

TEST_F(ControlsTest, TimerActionBoundToItsWindowReachesIt) {
  TestWnd::Next().layout = [](fw::Window& w) { w.SetProperties(WindowList(100, 100)); };
  TestWnd::Next().createControls = [](fw::Window& w) {
    auto timer = w.New<fw::Timer>();
    w.AddControl("Timer1", timer);
    auto* self = static_cast<TestWnd*>(&w);
    auto action = fw::Delegate(self, &TestWnd::MenuAction);
    timer->SetActionHandler([action](fw::Timer&) { action("Timer1", true); });
    timer->SetProperties({{"Period", 20}, {"RunMode", 1}});
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  EXPECT_TRUE(QTest::qWaitFor([] { return CountInLog("Menu Timer1") == 1; }, 5000));
  EXPECT_EQ(Get<fw::Timer>(*window, "Timer1")->RunMode(), fw::Timer::Off);
}

}  // namespace
}  // namespace fwtest
