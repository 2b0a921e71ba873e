#pragma once
// Menus as plain objects: a tree of items with names, captions and shortcuts,
// built before the Qt application exists and drawn as a Qt menu bar by each
// window that installs one. A choice goes to the handler that the front window
// registered under the item's name; otherwise the item kind's own action runs.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/object.h"

namespace fw {

class MenuItem : public Object {
 public:
  std::string_view ClassName() const override { return "MenuItem"; }

  // A fresh item with no children.
  virtual void Constructor() {}

  void SetName(std::string name);
  const std::string& Name() const { return name_; }
  void SetAutoEnabled(bool on);
  bool AutoEnabled() const { return autoEnabled_; }
  // The caption; "&" marks the mnemonic, "-" makes a separator.
  void SetValue(std::string caption);
  const std::string& Value() const { return value_; }
  void SetVisible(bool on);
  bool Visible() const { return visible_; }
  // "Cmd+" and a letter: the platform's command key (Ctrl here); "" for none.
  void SetShortcut(std::string shortcut);
  const std::string& Shortcut() const { return shortcut_; }

  bool IsSeparator() const { return value_ == "-"; }

  // Appends item as the last child.
  void AddMenu(std::shared_ptr<MenuItem> item);
  // The direct child of that name, or nil.
  std::shared_ptr<MenuItem> Child(std::string_view name) const;
  // The item of that name at any depth below this one, or nil.
  std::shared_ptr<MenuItem> Lookup(std::string_view name) const;
  const std::vector<std::shared_ptr<MenuItem>>& Children() const { return children_; }

  // The names of the properties set on this item, in the order they were set.
  const std::vector<std::string>& AssignedProperties() const { return assigned_; }

  // The kind's own action when no window handles a choice; false when the
  // kind has none.
  virtual bool KindAction() { return false; }
  virtual bool HasKindAction() const { return false; }

 private:
  std::string name_;
  bool autoEnabled_ = false;
  std::string value_;
  bool visible_ = true;
  std::string shortcut_;
  std::vector<std::shared_ptr<MenuItem>> children_;
  std::vector<std::string> assigned_;
};

// Quits with status 0 when no window handles it.
class QuitMenuItem : public MenuItem {
 public:
  std::string_view ClassName() const override { return "QuitMenuItem"; }
  bool KindAction() override;
  bool HasKindAction() const override { return true; }
};

// The application's about/preferences command; it has no action of its own here.
class PrefsMenuItem : public MenuItem {
 public:
  std::string_view ClassName() const override { return "PrefsMenuItem"; }
};

class MenuBar : public MenuItem {
 public:
  std::string_view ClassName() const override { return "MenuBar"; }
};

// The standard editing commands, recognised by item name ("EditCut" ...), that
// act on the focused text control.
bool IsEditItem(std::string_view name);

}  // namespace fw
