#include "calculator/menu_bar1.h"

#include <optional>
#include <string>
#include <utility>

#include "framework/application.h"

namespace kestrova {

namespace {

// Empty until the first build succeeds; a half-built bar is never kept here.
std::shared_ptr<MenuBar1> implicitInstance;

// A new item of Kind with its properties set in the order the items expect.
// Separators get no shortcut at all, not even an empty one.
template <class Kind>
std::shared_ptr<Kind> Build(std::string name, std::string caption,
                            std::optional<std::string> shortcut) {
  auto item = std::make_shared<Kind>();
  item->Constructor();
  item->SetName(std::move(name));
  item->SetAutoEnabled(true);
  item->SetValue(std::move(caption));
  item->SetVisible(true);
  if (shortcut) item->SetShortcut(std::move(*shortcut));
  return item;
}

const std::optional<std::string> kSeparator = std::nullopt;

}  // namespace

const fw::ClassInfo& MenuBar1::Lookup() {
  static const fw::ClassInfo& info = fw::RegisterClass({"MenuBar1.MenuBar1", "MenuBar", {}});
  return info;
}

std::shared_ptr<MenuBar1> MenuBar1::Instance() {
  if (implicitInstance) return implicitInstance;
  auto bar = fw::RuntimeNewObject<MenuBar1>();
  bar->Constructor();
  implicitInstance = bar;
  return bar;
}

void MenuBar1::ReleaseInstance() {
  implicitInstance.reset();
}

void MenuBar1::Constructor() {
  Untitled0();
  Untitled1();
  Untitled2();
}

void MenuBar1::AddToMenu(std::string_view menuName, std::shared_ptr<fw::MenuItem> item) {
  auto menu = Child(menuName);
  fw::NotNil(menu, "menu " + std::string(menuName))->AddMenu(std::move(item));
}

void MenuBar1::Untitled0() {
  AddMenu(Build<fw::MenuItem>("FileMenu", "&File", ""));
  AddToMenu("FileMenu", Build<fw::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
  AddToMenu("FileMenu", Build<fw::PrefsMenuItem>("AboutItem", "About Title", ""));
}

void MenuBar1::Untitled1() {
  AddMenu(Build<fw::MenuItem>("EditMenu", "&Edit", ""));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditUndo", "&Undo", "Cmd+Z"));
  AddToMenu("EditMenu", Build<fw::MenuItem>("UntitledMenu1", "-", kSeparator));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditCut", "Cu&t", "Cmd+X"));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditCopy", "&Copy", "Cmd+C"));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditPaste", "&Paste", "Cmd+V"));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditClear", "&Delete", ""));
  AddToMenu("EditMenu", Build<fw::MenuItem>("UntitledMenu0", "-", kSeparator));
  AddToMenu("EditMenu", Build<fw::MenuItem>("EditSelectAll", "Select &All", "Cmd+A"));
}

void MenuBar1::Untitled2() {
  AddMenu(Build<fw::MenuItem>("InfoMenu", "Window", ""));
  AddToMenu("InfoMenu", Build<fw::MenuItem>("ControlItem", "Control", ""));
  AddToMenu("InfoMenu", Build<fw::MenuItem>("InfoItem", "Info", ""));
}

}  // namespace kestrova
