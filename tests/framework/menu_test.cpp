// Menus: the item model, its Qt menu bar on each window that installs it, and
// choices dispatched by item name to the front window or the item's kind.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "framework/menu.h"
#include "framework/runtime.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using MenuTest = GuiTest;

template <class Kind>
std::shared_ptr<Kind> Item(const std::string& name, const std::string& caption,
                           const std::string& shortcut = "") {
  auto item = std::make_shared<Kind>();
  item->Constructor();
  item->SetName(name);
  item->SetAutoEnabled(true);
  item->SetValue(caption);
  item->SetVisible(true);
  if (!shortcut.empty()) item->SetShortcut(shortcut);
  return item;
}

// The application's bar, with one hidden item more.
std::shared_ptr<fw::MenuBar> AppMenuBar() {
  auto bar = std::make_shared<fw::MenuBar>();
  bar->SetName("MenuBar1");
  auto file = Item<fw::MenuItem>("FileMenu", "&File");
  file->AddMenu(Item<fw::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
  file->AddMenu(Item<fw::PrefsMenuItem>("AboutItem", "About Title"));
  auto hidden = Item<fw::MenuItem>("HiddenItem", "Hidden");
  hidden->SetVisible(false);
  file->AddMenu(hidden);
  bar->AddMenu(file);
  auto edit = Item<fw::MenuItem>("EditMenu", "&Edit");
  edit->AddMenu(Item<fw::MenuItem>("EditUndo", "&Undo", "Cmd+Z"));
  edit->AddMenu(Item<fw::MenuItem>("UntitledMenu1", "-"));
  edit->AddMenu(Item<fw::MenuItem>("EditCut", "Cu&t", "Cmd+X"));
  edit->AddMenu(Item<fw::MenuItem>("EditCopy", "&Copy", "Cmd+C"));
  edit->AddMenu(Item<fw::MenuItem>("EditPaste", "&Paste", "Cmd+V"));
  edit->AddMenu(Item<fw::MenuItem>("EditClear", "&Delete"));
  edit->AddMenu(Item<fw::MenuItem>("UntitledMenu0", "-"));
  edit->AddMenu(Item<fw::MenuItem>("EditSelectAll", "Select &All", "Cmd+A"));
  bar->AddMenu(edit);
  auto info = Item<fw::MenuItem>("InfoMenu", "Window");
  info->AddMenu(Item<fw::MenuItem>("ControlItem", "Control"));
  info->AddMenu(Item<fw::MenuItem>("InfoItem", "Info"));
  bar->AddMenu(info);
  return bar;
}

// A window with the bar installed, two fields, and a handler for each entry
// of handlers, answering its value.
std::shared_ptr<TestWnd> MenuWindow(std::shared_ptr<fw::MenuBar> bar,
                                    std::map<std::string, bool> handlers) {
  TestWnd::Next().layout = [bar](fw::Window& w) {
    w.SetMenuBar(bar);
    w.SetProperties(WindowList(300, 200));
  };
  TestWnd::Next().createControls = [](fw::Window& w) {
    AddControl<fw::TextField>(w, "first", Bounds(10, 10, 100, 22, {{"TabStop", true}}));
    AddControl<fw::TextField>(w, "second", Bounds(10, 40, 100, 22, {{"TabStop", true}}));
    AddControl<fw::Label>(w, "label", Bounds(10, 70, 100, 22, {{"Value", "label"}}));
  };
  TestWnd::Next().addMenuHandlers = [handlers](fw::Window& w) {
    auto action = fw::Delegate(static_cast<TestWnd*>(&w), &TestWnd::MenuAction);
    for (const auto& [name, answer] : handlers) {
      w.AddMenuHandler(name,
                       [action, name = name, answer = answer] { return action(name, answer); });
    }
  };
  return fw::ImplicitWindow<TestWnd>();
}

QAction* ActionOf(fw::Window& window, const char* name) {
  auto* bar = window.Widget()->findChild<QMenuBar*>();
  EXPECT_NE(bar, nullptr);
  if (!bar) return nullptr;
  auto* action = bar->findChild<QAction*>(name);
  EXPECT_NE(action, nullptr) << name;
  return action;
}

QMenu* MenuOf(fw::Window& window, const char* name) {
  auto* menu = window.Widget()->findChild<QMenu*>(name);
  EXPECT_NE(menu, nullptr) << name;
  return menu;
}

// Opens a menu of the bar and clicks one of its items, with the mouse.
void ChooseWithMouse(fw::Window& window, const char* menuName, const char* itemName) {
  auto* bar = window.Widget()->findChild<QMenuBar*>();
  QMenu* menu = MenuOf(window, menuName);
  QAction* action = ActionOf(window, itemName);
  ASSERT_TRUE(bar && menu && action);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000));
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
  ASSERT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 5000));
}

TEST_F(MenuTest, ChildFindsDirectChildrenAndLookupAnyDepth) {
  auto bar = AppMenuBar();
  EXPECT_EQ(bar->Child("FileMenu"), bar->Children()[0]);
  EXPECT_EQ(bar->Child("FileQuit"), nullptr);
  auto quit = bar->Lookup("FileQuit");
  ASSERT_NE(quit, nullptr);
  EXPECT_EQ(quit->ClassName(), "QuitMenuItem");
  EXPECT_EQ(bar->Child("FileMenu")->Child("FileQuit"), quit);
  EXPECT_EQ(bar->Lookup("EditSelectAll")->Value(), "Select &All");
  EXPECT_EQ(bar->Lookup("AboutItem")->ClassName(), "PrefsMenuItem");
  EXPECT_EQ(bar->Lookup("InfoMenu"), bar->Child("InfoMenu"));
  EXPECT_EQ(bar->Lookup("NoSuchItem"), nullptr);
  EXPECT_EQ(bar->Lookup(""), nullptr);
  EXPECT_EQ(quit->Lookup("FileQuit"), nullptr);
  // Children keep the order they were added in.
  std::vector<std::string> edit;
  for (const auto& item : bar->Child("EditMenu")->Children()) edit.push_back(item->Name());
  EXPECT_EQ(edit,
            (std::vector<std::string>{"EditUndo", "UntitledMenu1", "EditCut", "EditCopy",
                                      "EditPaste", "EditClear", "UntitledMenu0", "EditSelectAll"}));
  EXPECT_THROW(bar->AddMenu(nullptr), fw::NilObjectException);
}

TEST_F(MenuTest, WindowDrawsTheModelAsAQtMenuBar) {
  auto window = MenuWindow(AppMenuBar(), {});
  auto* bar = window->Widget()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->objectName(), "MenuBar1");
  EXPECT_TRUE(bar->isVisible());
  std::vector<std::string> titles;
  for (QAction* menu : bar->actions()) titles.push_back(menu->text().toStdString());
  EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "Window"}));

  QMenu* edit = MenuOf(*window, "EditMenu");
  ASSERT_NE(edit, nullptr);
  std::vector<std::string> items;
  for (QAction* action : edit->actions()) {
    items.push_back(action->isSeparator() ? "-" : action->objectName().toStdString());
  }
  EXPECT_EQ(items, (std::vector<std::string>{"EditUndo", "-", "EditCut", "EditCopy", "EditPaste",
                                             "EditClear", "-", "EditSelectAll"}));

  struct Case {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
  };
  for (const Case& c : {Case{"FileQuit", "&Quit", QKeySequence("Ctrl+Q")},
                        Case{"EditSelectAll", "Select &All", QKeySequence("Ctrl+A")},
                        Case{"EditCopy", "&Copy", QKeySequence("Ctrl+C")},
                        Case{"AboutItem", "About Title", QKeySequence()},
                        Case{"InfoItem", "Info", QKeySequence()}}) {
    QAction* action = ActionOf(*window, c.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().toStdString(), c.caption);
    EXPECT_EQ(action->shortcut(), c.shortcut) << c.name;
    EXPECT_TRUE(action->isVisible());
  }
  EXPECT_FALSE(ActionOf(*window, "HiddenItem")->isVisible());
}

TEST_F(MenuTest, ChoiceGoesToTheWindowsHandlerElseToTheItemsKind) {
  struct Case {
    const char* what;
    const char* item;
    std::map<std::string, bool> handlers;
    std::vector<std::string> log;
    bool quits;
  };
  const std::vector<Case> cases = {
      {"handler", "InfoItem", {{"InfoItem", true}}, {"Menu InfoItem"}, false},
      {"quit handled", "FileQuit", {{"FileQuit", true}}, {"Menu FileQuit"}, false},
      {"quit handler answers false", "FileQuit", {{"FileQuit", false}}, {"Menu FileQuit"}, true},
      {"quit without handler", "FileQuit", {{"InfoItem", true}}, {}, true},
      {"other item's handler only", "AboutItem", {{"InfoItem", true}}, {}, false},
      {"prefs item handled", "AboutItem", {{"AboutItem", true}}, {"Menu AboutItem"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto window = MenuWindow(AppMenuBar(), c.handlers);
    Log().clear();
    ActionOf(*window, c.item)->trigger();
    EXPECT_EQ(Log(), c.log);
    EXPECT_EQ(fw::Quitting(), c.quits);
    fw::testing::ResetRuntime();
  }
}

TEST_F(MenuTest, ShortcutReachesTheActiveWindowsHandler) {
  for (bool handled : {true, false}) {
    SCOPED_TRACE(handled ? "handled" : "not handled");
    auto window = MenuWindow(AppMenuBar(), {{"FileQuit", handled}});
    ASSERT_TRUE(Activate(*window));
    Log().clear();
    QTest::keyClick(window->Widget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(Log(), std::vector<std::string>{"Menu FileQuit"});
    EXPECT_EQ(fw::Quitting(), !handled);
    fw::testing::ResetRuntime();
  }
}

TEST_F(MenuTest, ChoiceInOneWindowGoesToThatWindowOnly) {
  auto bar = AppMenuBar();
  auto first = MenuWindow(bar, {{"InfoItem", true}});
  first->Hide();
  // A second window of another class with the same bar.
  auto second = fw::ImplicitWindow<PartWnd>();
  second->SetMenuBar(bar);
  first->Show();
  ASSERT_NE(second->Widget()->findChild<QMenuBar*>(), first->Widget()->findChild<QMenuBar*>());
  // The second window handles nothing: its choice of InfoItem reaches no one.
  Log().clear();
  ActionOf(*second, "InfoItem")->trigger();
  EXPECT_TRUE(Log().empty());
  ActionOf(*first, "InfoItem")->trigger();
  EXPECT_EQ(Log(), std::vector<std::string>{"Menu InfoItem"});
}

TEST_F(MenuTest, AutoEnabledItemsFollowHandlersKindsAndTextFocus) {
  auto window = MenuWindow(AppMenuBar(), {{"InfoItem", true}});
  ASSERT_TRUE(Activate(*window));
  auto enabledAfterOpening = [&](const char* menu, const char* item) {
    emit MenuOf(*window, menu)->aboutToShow();
    return ActionOf(*window, item)->isEnabled();
  };
  Get<fw::TextField>(*window, "first")->SetFocus();
  EXPECT_TRUE(enabledAfterOpening("InfoMenu", "InfoItem"));
  EXPECT_FALSE(enabledAfterOpening("InfoMenu", "ControlItem"));
  EXPECT_TRUE(enabledAfterOpening("FileMenu", "FileQuit"));
  EXPECT_FALSE(enabledAfterOpening("FileMenu", "AboutItem"));
  EXPECT_TRUE(enabledAfterOpening("EditMenu", "EditCopy"));
  EXPECT_TRUE(enabledAfterOpening("EditMenu", "EditSelectAll"));

  window->ContentWidget()->setFocus();
  ASSERT_FALSE(Get<fw::TextField>(*window, "first")->HasFocus());
  EXPECT_FALSE(enabledAfterOpening("EditMenu", "EditCopy"));
  EXPECT_FALSE(enabledAfterOpening("EditMenu", "EditPaste"));
}

TEST_F(MenuTest, EditItemsActOnTheFocusedTextField) {
  auto window = MenuWindow(AppMenuBar(), {});
  ASSERT_TRUE(Activate(*window));
  auto first = Get<fw::TextField>(*window, "first");
  auto second = Get<fw::TextField>(*window, "second");
  auto* firstEdit = qobject_cast<QLineEdit*>(first->Widget());
  first->SetText("0.25");
  second->SetText("");
  QApplication::clipboard()->clear();

  first->SetFocus();
  firstEdit->setCursorPosition(0);
  ChooseWithMouse(*window, "EditMenu", "EditSelectAll");
  EXPECT_EQ(firstEdit->selectedText(), "0.25");
  ChooseWithMouse(*window, "EditMenu", "EditCopy");
  EXPECT_EQ(QApplication::clipboard()->text(), "0.25");

  second->SetFocus();
  ChooseWithMouse(*window, "EditMenu", "EditPaste");
  EXPECT_EQ(second->Text(), "0.25");
  EXPECT_EQ(first->Text(), "0.25");

  first->SetFocus();
  ChooseWithMouse(*window, "EditMenu", "EditSelectAll");
  ChooseWithMouse(*window, "EditMenu", "EditCut");
  EXPECT_EQ(first->Text(), "");
  ChooseWithMouse(*window, "EditMenu", "EditUndo");
  EXPECT_EQ(first->Text(), "0.25");
  ChooseWithMouse(*window, "EditMenu", "EditSelectAll");
  ChooseWithMouse(*window, "EditMenu", "EditClear");
  EXPECT_EQ(first->Text(), "");
}

TEST_F(MenuTest, MenuBarVisibleFalseHidesTheBar) {
  auto bar = AppMenuBar();
  TestWnd::Next().layout = [bar](fw::Window& w) {
    w.SetMenuBar(bar);
    w.SetProperties(WindowList(300, 200, {{"MenuBarVisible", false}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  auto* qtBar = window->Widget()->findChild<QMenuBar*>();
  ASSERT_NE(qtBar, nullptr);
  EXPECT_FALSE(qtBar->isVisible());
  EXPECT_EQ(window->ContentWidget()->geometry(), QRect(0, 0, 300, 200));
}

}  // namespace
}  // namespace fwtest
