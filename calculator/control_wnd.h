#pragma once
// The calculator window: three proportions in, 1,000 cases out. The arithmetic
// and the display text come from calculator/calculation.h; this class reads the
// fields and carries the outcome out on its controls. Controls are reached by
// name on every use, never kept.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "calculator/calculation.h"
#include "calculator/menu_bar1.h"
#include "framework/controls.h"
#include "framework/window.h"

namespace kestrova {

class ControlWnd : public fw::Window, public MenuBar1Items<ControlWnd> {
 public:
  static const fw::ClassInfo& Lookup();
  std::string_view ClassName() const override { return Lookup().name; }

  // The open calculator window, or a new one (built and shown).
  static std::shared_ptr<ControlWnd> Instance();

  bool IsEventImplemented(std::string_view event) const override;

  void Layout() override;
  void CreateControls() override;
  virtual void CreateControls0();

  // Control accessors, in creation order. Each asks the window by name; a
  // missing control raises NilObjectException.
  virtual std::shared_ptr<fw::TextField> prevFld() const;
  virtual std::shared_ptr<fw::Label> RxxText() const;
  virtual std::shared_ptr<fw::PushButton> clearBtn() const;
  virtual std::shared_ptr<fw::PushButton> helpBtn() const;
  virtual std::shared_ptr<fw::PushButton> calcBtn() const;
  virtual std::shared_ptr<fw::Label> RxxText1() const;
  virtual std::shared_ptr<fw::TextField> senFld() const;
  virtual std::shared_ptr<fw::Canvas> Canvas1() const;
  virtual std::shared_ptr<fw::Label> Label2() const;
  virtual std::shared_ptr<fw::Label> specTxt() const;
  virtual std::shared_ptr<fw::TextField> specFld() const;
  virtual std::shared_ptr<fw::Label> pppTxt() const;
  virtual std::shared_ptr<fw::TextField> pppFld() const;
  virtual std::shared_ptr<fw::TextArea> ddFld() const;
  virtual std::shared_ptr<fw::Label> note() const;
  virtual std::shared_ptr<fw::Label> ppTxt() const;

  // Control events; true ends the event.
  virtual bool prevFld_KeyDown(fw::TextField& field, const std::string& key);
  virtual bool clearBtn_MouseDown(fw::PushButton& button, std::int64_t x, std::int64_t y);
  virtual bool helpBtn_MouseDown(fw::PushButton& button, std::int64_t x, std::int64_t y);
  virtual bool calcBtn_MouseDown(fw::PushButton& button, std::int64_t x, std::int64_t y);
  virtual bool senFld_KeyDown(fw::TextField& field, const std::string& key);
  virtual bool specFld_KeyDown(fw::TextField& field, const std::string& key);
  virtual bool pppFld_KeyDown(fw::TextField& field, const std::string& key);

  void AddMenuHandlers() override;
  void Event_Close() override;

  // Menu actions; true: the command was carried out.
  virtual bool FileQuit_Action();
  virtual bool InfoItem_Action();
  virtual bool AboutItem_Action();

 private:
  template <class C>
  std::shared_ptr<C> Named(std::string_view name) const;
  std::shared_ptr<fw::TextField> FieldFor(InputField field) const;
  // The input fields' filter: digits, the decimal point and the editing keys pass.
  static bool RefuseKey(const std::string& key);
};

}  // namespace kestrova
