#include "framework/menu.h"

#include <array>

#include "framework/runtime.h"

namespace fw {

void MenuItem::SetName(std::string name) {
  name_ = std::move(name);
  assigned_.emplace_back("Name");
}

void MenuItem::SetAutoEnabled(bool on) {
  autoEnabled_ = on;
  assigned_.emplace_back("AutoEnabled");
}

void MenuItem::SetValue(std::string caption) {
  value_ = std::move(caption);
  assigned_.emplace_back("Value");
}

void MenuItem::SetVisible(bool on) {
  visible_ = on;
  assigned_.emplace_back("Visible");
}

void MenuItem::SetShortcut(std::string shortcut) {
  shortcut_ = std::move(shortcut);
  assigned_.emplace_back("Shortcut");
}

void MenuItem::AddMenu(std::shared_ptr<MenuItem> item) {
  testing::MaybeFail("MenuItem.AddMenu");
  if (!item) throw NilObjectException("AddMenu was given a nil item");
  children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
  }
  return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Lookup(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
    if (auto found = child->Lookup(name)) return found;
  }
  return nullptr;
}

bool QuitMenuItem::KindAction() {
  Quit(0);
  return true;
}

bool IsEditItem(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kNames = {
      "EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"};
  for (std::string_view known : kNames) {
    if (known == name) return true;
  }
  return false;
}

}  // namespace fw
