// The menu bar's tree, its one instance, and a build that fails part way.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calculator/menu_bar1.h"
#include "framework/menu.h"
#include "framework/runtime.h"

namespace kestrova {
namespace {

enum class Kind { Plain, Quit, Prefs };

struct Row {
  const char* parent;  // nullptr: a menu on the bar
  const char* name;
  Kind kind;
  const char* caption;
  std::optional<std::string> shortcut;  // nullopt: never assigned
};

const std::vector<Row> kTree = {
    {nullptr, "FileMenu", Kind::Plain, "&File", ""},
    {"FileMenu", "FileQuit", Kind::Quit, "&Quit", "Cmd+Q"},
    {"FileMenu", "AboutItem", Kind::Prefs, "About Title", ""},
    {nullptr, "EditMenu", Kind::Plain, "&Edit", ""},
    {"EditMenu", "EditUndo", Kind::Plain, "&Undo", "Cmd+Z"},
    {"EditMenu", "UntitledMenu1", Kind::Plain, "-", std::nullopt},
    {"EditMenu", "EditCut", Kind::Plain, "Cu&t", "Cmd+X"},
    {"EditMenu", "EditCopy", Kind::Plain, "&Copy", "Cmd+C"},
    {"EditMenu", "EditPaste", Kind::Plain, "&Paste", "Cmd+V"},
    {"EditMenu", "EditClear", Kind::Plain, "&Delete", ""},
    {"EditMenu", "UntitledMenu0", Kind::Plain, "-", std::nullopt},
    {"EditMenu", "EditSelectAll", Kind::Plain, "Select &All", "Cmd+A"},
    {nullptr, "InfoMenu", Kind::Plain, "Window", ""},
    {"InfoMenu", "ControlItem", Kind::Plain, "Control", ""},
    {"InfoMenu", "InfoItem", Kind::Plain, "Info", ""},
};

// The tree flattened menu by menu, each menu followed by its items: the order
// in which the builders create them.
std::vector<std::pair<const fw::MenuItem*, std::string>> Flatten(const fw::MenuItem& bar) {
  std::vector<std::pair<const fw::MenuItem*, std::string>> out;
  for (const auto& menu : bar.Children()) {
    out.emplace_back(menu.get(), "");
    for (const auto& item : menu->Children()) out.emplace_back(item.get(), menu->Name());
  }
  return out;
}

Kind KindOf(const fw::MenuItem& item) {
  if (dynamic_cast<const fw::QuitMenuItem*>(&item)) return Kind::Quit;
  if (dynamic_cast<const fw::PrefsMenuItem*>(&item)) return Kind::Prefs;
  return Kind::Plain;
}

void ExpectTreeAsBuilt(const MenuBar1& bar) {
  auto flat = Flatten(bar);
  ASSERT_EQ(flat.size(), kTree.size());
  for (std::size_t i = 0; i < kTree.size(); ++i) {
    const Row& row = kTree[i];
    const fw::MenuItem& item = *flat[i].first;
    SCOPED_TRACE(row.name);
    EXPECT_EQ(item.Name(), row.name);
    EXPECT_EQ(flat[i].second, row.parent ? row.parent : "");
    EXPECT_EQ(KindOf(item), row.kind);
    EXPECT_EQ(item.Value(), row.caption);
    EXPECT_TRUE(item.AutoEnabled());
    EXPECT_TRUE(item.Visible());
    std::vector<std::string> expected = {"Name", "AutoEnabled", "Value", "Visible"};
    if (row.shortcut) {
      expected.push_back("Shortcut");
      EXPECT_EQ(item.Shortcut(), *row.shortcut);
    } else {
      EXPECT_TRUE(item.IsSeparator());
    }
    EXPECT_EQ(item.AssignedProperties(), expected);
  }
}

TEST(MenuBar1Test, TreeMatchesTheTableInOrderKindAndProperties) {
  auto bar = MenuBar1::Instance();
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->ClassName(), "MenuBar1.MenuBar1");
  EXPECT_TRUE(std::dynamic_pointer_cast<fw::MenuBar>(bar));
  ExpectTreeAsBuilt(*bar);
  ASSERT_EQ(bar->Children().size(), 3u);
  EXPECT_EQ(bar->Children()[0]->Children().size(), 2u);
  EXPECT_EQ(bar->Children()[1]->Children().size(), 8u);
  EXPECT_EQ(bar->Children()[2]->Children().size(), 2u);
  // The bar itself carries no properties of its own.
  EXPECT_TRUE(bar->AssignedProperties().empty());
}

TEST(MenuBar1Test, ItemsAreFoundByName) {
  auto bar = MenuBar1::Instance();
  auto quit = std::dynamic_pointer_cast<fw::QuitMenuItem>(bar->Lookup("FileQuit"));
  ASSERT_TRUE(quit);
  EXPECT_EQ(quit->Shortcut(), "Cmd+Q");
  auto about = std::dynamic_pointer_cast<fw::PrefsMenuItem>(bar->Lookup("AboutItem"));
  ASSERT_TRUE(about);
  EXPECT_EQ(about->Value(), "About Title");
  EXPECT_EQ(bar->Child("InfoMenu")->Value(), "Window");
  // Items hang below their menus, not on the bar.
  EXPECT_EQ(bar->Child("FileQuit"), nullptr);
}

TEST(MenuBar1Test, TwoCallsGiveOneObjectAndBuildNothingMore) {
  auto first = MenuBar1::Instance();
  const auto* fileQuit = first->Lookup("FileQuit").get();
  auto second = MenuBar1::Instance();
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->Lookup("FileQuit").get(), fileQuit);
  EXPECT_EQ(Flatten(*second).size(), kTree.size());
}

TEST(MenuBar1Test, ClassIsRegisteredOnceUnderItsName) {
  const fw::ClassInfo& info = MenuBar1::Lookup();
  EXPECT_EQ(&info, &MenuBar1::Lookup());
  EXPECT_EQ(info.name, "MenuBar1.MenuBar1");
  EXPECT_EQ(info.base, "MenuBar");
  EXPECT_TRUE(info.events.empty());
  EXPECT_EQ(fw::LookupClass("MenuBar1.MenuBar1"), &info);
}

// A failure while attaching stops the build there, keeps nothing, and the
// next call builds a whole new bar.
TEST(MenuBar1Test, FailedBuildStopsLeavesNoInstanceAndRethrows) {
  auto before = MenuBar1::Instance();
  MenuBar1::ReleaseInstance();
  fw::testing::FailNext("MenuItem.AddMenu");
  fw::testing::FailNext("MenuItem.AddMenu");
  EXPECT_THROW(MenuBar1::Instance(), fw::RuntimeException);

  // The build made no further AddMenu after the failed one: the second
  // failure is still armed.
  auto probe = std::make_shared<fw::MenuItem>();
  EXPECT_THROW(probe->AddMenu(std::make_shared<fw::MenuItem>()), fw::RuntimeException);
  probe->AddMenu(std::make_shared<fw::MenuItem>());

  auto rebuilt = MenuBar1::Instance();
  ASSERT_TRUE(rebuilt);
  EXPECT_NE(rebuilt, before);
  ExpectTreeAsBuilt(*rebuilt);
  EXPECT_EQ(MenuBar1::Instance(), rebuilt);
}

TEST(MenuBar1Test, FailedAllocationKeepsNothing) {
  MenuBar1::ReleaseInstance();
  fw::testing::FailNext("RuntimeNewObject");
  EXPECT_THROW(MenuBar1::Instance(), fw::RuntimeException);
  auto bar = MenuBar1::Instance();
  ASSERT_TRUE(bar);
  ExpectTreeAsBuilt(*bar);
}

}  // namespace
}  // namespace kestrova
