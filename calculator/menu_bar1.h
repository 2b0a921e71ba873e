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

// The items of MenuBar1 as a window that installs the bar reaches them: each
// accessor looks its item up by name in the window's menu bar.
template <class W>
class MenuBar1Items {
 public:
  std::shared_ptr<fw::MenuItem> InfoMenu() const { return Item<fw::MenuItem>("InfoMenu"); }
  std::shared_ptr<fw::MenuItem> InfoItem() const { return Item<fw::MenuItem>("InfoItem"); }
  std::shared_ptr<fw::MenuItem> ControlItem() const { return Item<fw::MenuItem>("ControlItem"); }
  std::shared_ptr<fw::MenuItem> EditMenu() const { return Item<fw::MenuItem>("EditMenu"); }
  std::shared_ptr<fw::MenuItem> EditSelectAll() const {
    return Item<fw::MenuItem>("EditSelectAll");
  }
  std::shared_ptr<fw::MenuItem> UntitledMenu0() const {
    return Item<fw::MenuItem>("UntitledMenu0");
  }
  std::shared_ptr<fw::MenuItem> EditClear() const { return Item<fw::MenuItem>("EditClear"); }
  std::shared_ptr<fw::MenuItem> EditPaste() const { return Item<fw::MenuItem>("EditPaste"); }
  std::shared_ptr<fw::MenuItem> EditCopy() const { return Item<fw::MenuItem>("EditCopy"); }
  std::shared_ptr<fw::MenuItem> EditCut() const { return Item<fw::MenuItem>("EditCut"); }
  std::shared_ptr<fw::MenuItem> UntitledMenu1() const {
    return Item<fw::MenuItem>("UntitledMenu1");
  }
  std::shared_ptr<fw::MenuItem> EditUndo() const { return Item<fw::MenuItem>("EditUndo"); }
  std::shared_ptr<fw::MenuItem> FileMenu() const { return Item<fw::MenuItem>("FileMenu"); }
  std::shared_ptr<fw::PrefsMenuItem> AboutItem() const {
    return Item<fw::PrefsMenuItem>("AboutItem");
  }
  std::shared_ptr<fw::QuitMenuItem> FileQuit() const { return Item<fw::QuitMenuItem>("FileQuit"); }

 private:
  template <class M>
  std::shared_ptr<M> Item(std::string_view name) const {
    auto bar = static_cast<const W*>(this)->GetMenuBar();
    if (!bar) throw fw::NilObjectException("the window has no menu bar");
    return fw::RuntimeCheckCast<M>(bar->Lookup(name));
  }
};

}  // namespace kestrova
