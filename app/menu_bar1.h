#pragma once
// The application's one menu bar: File, Edit and Window menus. It only defines
// the items; windows register handlers under the item names.

#include <memory>
#include <string_view>

#include "framework/menu.h"
#include "framework/object.h"

namespace kestrova {

class MenuBar1 : public fw::MenuBar {
 public:
  static const fw::ClassInfo& Lookup();
  // The class lookup above would hide the item lookup by name.
  using fw::MenuBar::Lookup;
  std::string_view ClassName() const override { return Lookup().name; }

  // The bar's implicit instance, built on first use and kept for the life of
  // the process. A build that fails keeps nothing and rethrows.
  static std::shared_ptr<MenuBar1> Instance();
  // Lets go of the kept instance (the process's finaliser).
  static void ReleaseInstance();

  void Constructor() override;

  virtual void Untitled0();  // File
  virtual void Untitled1();  // Edit
  virtual void Untitled2();  // Window

 private:
  // Appends item to the menu of that name, looked up on the bar anew.
  void AddToMenu(std::string_view menuName, std::shared_ptr<fw::MenuItem> item);
};

}  // namespace kestrova
