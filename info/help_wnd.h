#pragma once
// The help window: the fixed help text in one editable text area, with its
// heading in bold, and the Window menu's Control item leading back to the
// calculator window. Closing it ends only this window; the next use builds a
// fresh one with the unedited text.

#include <memory>
#include <string_view>

#include "framework/controls.h"
#include "framework/menu.h"
#include "framework/object.h"
#include "framework/window.h"

namespace kestrova {

class helpWnd : public fw::Window {
 public:
  static const fw::ClassInfo& Lookup();
  // The open help window; built on first use and after it was closed.
  static std::shared_ptr<helpWnd> Instance() { return fw::ImplicitWindow<helpWnd>(); }

  std::string_view ClassName() const override { return Lookup().name; }
  bool IsEventImplemented(std::string_view event) const override;

  void Layout() override;
  void CreateControls() override;
  virtual void CreateControls0();
  virtual std::shared_ptr<fw::TextArea> EditField1() const;
  virtual void EditField1_Open(fw::TextArea& area);

  // The items of the window's menu bar, by name.
  virtual std::shared_ptr<fw::MenuItem> InfoMenu() const;
  virtual std::shared_ptr<fw::MenuItem> InfoItem() const;
  virtual std::shared_ptr<fw::MenuItem> ControlItem() const;
  virtual std::shared_ptr<fw::MenuItem> EditMenu() const;
  virtual std::shared_ptr<fw::MenuItem> EditSelectAll() const;
  virtual std::shared_ptr<fw::MenuItem> UntitledMenu0() const;
  virtual std::shared_ptr<fw::MenuItem> EditClear() const;
  virtual std::shared_ptr<fw::MenuItem> EditPaste() const;
  virtual std::shared_ptr<fw::MenuItem> EditCopy() const;
  virtual std::shared_ptr<fw::MenuItem> EditCut() const;
  virtual std::shared_ptr<fw::MenuItem> UntitledMenu1() const;
  virtual std::shared_ptr<fw::MenuItem> EditUndo() const;
  virtual std::shared_ptr<fw::MenuItem> FileMenu() const;
  virtual std::shared_ptr<fw::PrefsMenuItem> AboutItem() const;
  virtual std::shared_ptr<fw::QuitMenuItem> FileQuit() const;

  void AddMenuHandlers() override;
  virtual bool ControlItem_Action();

 private:
  template <class M>
  std::shared_ptr<M> MenuItemNamed(std::string_view name) const;
};

}  // namespace kestrova
