// A window's menu bar: the plain menu model drawn as a Qt menu bar, the
// enabling of its items, and where a choice goes.
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "framework/internal.h"
#include "framework/menu.h"
#include "framework/runtime.h"
#include "framework/window_p.h"

namespace fw {
namespace {

QKeySequence ShortcutKeys(const std::string& shortcut) {
  if (shortcut.empty()) return {};
  std::string keys = shortcut;
  if (keys.starts_with("Cmd+")) keys = "Ctrl+" + keys.substr(4);
  return QKeySequence(QString::fromStdString(keys));
}

QWidget* FocusedTextWidget(QWidget* top) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus->window() != top) return nullptr;
  if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) return focus;
  if (focus->parentWidget() && qobject_cast<QTextEdit*>(focus->parentWidget())) {
    return focus->parentWidget();
  }
  return nullptr;
}

}  // namespace

void Window::Impl::BuildMenuBar() {
  if (qtMenuBar) {
    delete qtMenuBar;
    qtMenuBar = nullptr;
  }
  if (!menuModel || !top) return;
  auto* bar = new QMenuBar(top);
  bar->setObjectName(QString::fromStdString(menuModel->Name()));
  bar->setNativeMenuBar(false);
  for (const auto& menuItem : menuModel->Children()) {
    QMenu* menu = bar->addMenu(internal::ToQt(menuItem->Value()));
    menu->setObjectName(QString::fromStdString(menuItem->Name()));
    menu->menuAction()->setVisible(menuItem->Visible());
    for (const auto& item : menuItem->Children()) {
      QAction* action = item->IsSeparator() ? menu->addSeparator()
                                            : menu->addAction(internal::ToQt(item->Value()));
      action->setObjectName(QString::fromStdString(item->Name()));
      action->setVisible(item->Visible());
      if (item->IsSeparator()) continue;
      action->setShortcut(ShortcutKeys(item->Shortcut()));
      action->setShortcutContext(Qt::WindowShortcut);
      std::string name = item->Name();
      QObject::connect(action, &QAction::triggered, top, [this, name] {
        auto keep = Keep();
        self->ChooseMenuItem(name);
      });
    }
    QObject::connect(menu, &QMenu::aboutToShow, top, [this] { UpdateMenuEnabling(); });
  }
  static_cast<QVBoxLayout*>(top->layout())->setMenuBar(bar);
  bar->setVisible(menuBarVisible);
  qtMenuBar = bar;
  UpdateMenuEnabling();
}

bool Window::Impl::HasHandler(std::string_view name) const {
  return std::any_of(handlers.begin(), handlers.end(),
                     [&](const auto& entry) { return entry.first == name; });
}

void Window::Impl::UpdateMenuEnabling() {
  if (!qtMenuBar || !menuModel) return;
  bool textFocus = FocusedTextWidget(top) != nullptr;
  for (QAction* action : qtMenuBar->findChildren<QAction*>()) {
    std::string name = action->objectName().toStdString();
    auto item = menuModel->Lookup(name);
    if (!item || !item->AutoEnabled() || !item->Children().empty()) continue;
    action->setEnabled(HasHandler(name) || item->HasKindAction() ||
                       (IsEditItem(name) && textFocus));
  }
}

bool Window::Impl::EditCommand(std::string_view name) {
  QWidget* widget = FocusedTextWidget(top);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (name == "EditUndo") line->undo();
    if (name == "EditCut") line->cut();
    if (name == "EditCopy") line->copy();
    if (name == "EditPaste") line->paste();
    if (name == "EditClear" && line->hasSelectedText()) line->del();
    if (name == "EditSelectAll") line->selectAll();
    return true;
  }
  if (auto* text = qobject_cast<QTextEdit*>(widget)) {
    if (name == "EditUndo") text->undo();
    if (name == "EditCut") text->cut();
    if (name == "EditCopy") text->copy();
    if (name == "EditPaste") text->paste();
    if (name == "EditClear") text->textCursor().removeSelectedText();
    if (name == "EditSelectAll") text->selectAll();
    return true;
  }
  return false;
}

void Window::AddMenuHandler(std::string itemName, std::function<bool()> handler) {
  d_->handlers.emplace_back(std::move(itemName), std::move(handler));
  d_->UpdateMenuEnabling();
}

std::vector<std::string> Window::MenuHandlerNames() const {
  std::vector<std::string> names;
  for (const auto& entry : d_->handlers) names.push_back(entry.first);
  return names;
}

bool Window::ChooseMenuItem(std::string_view itemName) {
  auto keep = d_->Keep();
  for (const auto& [name, handler] : d_->handlers) {
    if (name == itemName && DispatchBool(handler)) return true;
  }
  std::shared_ptr<MenuItem> item = d_->menuModel ? d_->menuModel->Lookup(itemName) : nullptr;
  if (!item) {
    if (auto app = RuntimeAppObject(); app && app->GetMenuBar()) {
      item = app->GetMenuBar()->Lookup(itemName);
    }
  }
  if (item && item->HasKindAction()) return DispatchBool([&] { return item->KindAction(); });
  if (IsEditItem(itemName)) return d_->EditCommand(itemName);
  return false;
}

}  // namespace fw
