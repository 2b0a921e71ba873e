#pragma once
// The help window: the fixed help text in one editable text area, with its
// heading in bold, and the Window menu's Control item leading back to the
// calculator window. Closing it ends only this window; the next use builds a
// fresh one with the unedited text.

#include <memory>
#include <string_view>

#include "calculator/menu_bar1.h"
#include "framework/controls.h"
#include "framework/menu.h"
#include "framework/object.h"
#include "framework/window.h"

namespace kestrova {

class helpWnd : public fw::Window, public MenuBar1Items<helpWnd> {
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

  void AddMenuHandlers() override;
  virtual bool ControlItem_Action();
};

}  // namespace kestrova
