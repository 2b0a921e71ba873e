#include "framework/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "framework/controls.h"
#include "framework/internal.h"
#include "framework/menu.h"
#include "framework/runtime.h"

namespace fw {
namespace {

// The client area: it holds the controls and has the window's own size.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(Window::Impl* impl) : impl_(impl) {}
  QSize sizeHint() const override { return hint_; }
  void Detach() { impl_ = nullptr; }
  void SetHint(QSize hint) {
    hint_ = hint;
    updateGeometry();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Window::Impl* impl_;
  QSize hint_{100, 100};
};

class TopLevel : public QWidget {
 public:
  explicit TopLevel(Window::Impl* impl) : impl_(impl) {}
  void Detach() { impl_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Window::Impl* impl_;
};

QKeySequence ShortcutKeys(const std::string& shortcut) {
  if (shortcut.empty()) return {};
  std::string keys = shortcut;
  if (keys.starts_with("Cmd+")) keys = "Ctrl+" + keys.substr(4);
  return QKeySequence(QString::fromStdString(keys));
}

}  // namespace

struct Window::Impl {
  Window* self = nullptr;
  QPointer<TopLevel> top;
  ClientArea* content = nullptr;
  QPointer<QMenuBar> qtMenuBar;
  std::shared_ptr<MenuBar> menuModel;
  PropertyList applied;
  std::vector<std::shared_ptr<Control>> controls;
  std::vector<std::pair<std::string, std::function<bool()>>> handlers;

  std::string title;
  std::int64_t width = 100, height = 100;
  std::int64_t minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
  std::int64_t type = 0, defaultLocation = 0;
  std::int64_t left = -1, top_ = -1;
  bool closeButton = true, maximizeButton = false, minimizeButton = true;
  bool resizeable = true, visible = true, hasBackground = false, menuBarVisible = true;
  Color background{255, 255, 255, 0};
  bool constructed = false, closed = false, placed = false, closing = false;
  bool programClose = false;
  QSize clientSize{100, 100};

  std::shared_ptr<Window> Keep() const {
    return std::static_pointer_cast<Window>(self->shared_from_this());
  }

  void UpdateFlags() {
    if (!top) return;
    Qt::WindowFlags flags = Qt::Window;
    if (type == 2) {
      flags |= Qt::FramelessWindowHint;
    } else {
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
      if (closeButton) flags |= Qt::WindowCloseButtonHint;
      if (minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
      if (maximizeButton && resizeable) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (top->windowFlags() == flags) return;
    bool shown = top->isVisible();
    top->setWindowFlags(flags);
    if (shown) top->show();
  }

  void UpdateSize() {
    if (!content) return;
    QSize size(static_cast<int>(width), static_cast<int>(height));
    if (resizeable) {
      content->setMinimumSize(static_cast<int>(minWidth), static_cast<int>(minHeight));
      content->setMaximumSize(static_cast<int>(std::min<std::int64_t>(maxWidth, QWIDGETSIZE_MAX)),
                              static_cast<int>(std::min<std::int64_t>(maxHeight, QWIDGETSIZE_MAX)));
    } else {
      content->setFixedSize(size);
    }
    content->SetHint(size);
    clientSize = size;
    content->resize(size);
    top->layout()->activate();
    int menuHeight =
        (qtMenuBar && qtMenuBar->isVisibleTo(top)) ? qtMenuBar->sizeHint().height() : 0;
    top->resize(size.width(), size.height() + menuHeight);
    UpdateFlags();
  }

  void UpdateBackground() {
    if (!content) return;
    content->setAutoFillBackground(hasBackground);
    QPalette palette = content->palette();
    if (hasBackground) {
      palette.setColor(QPalette::Window, QColor(background.red, background.green, background.blue,
                                                255 - background.alpha));
    } else {
      palette = QApplication::palette(content);
    }
    content->setPalette(palette);
  }

  void Place() {
    if (placed || !top) return;
    placed = true;
    if (left >= 0 && top_ >= 0) {
      top->move(static_cast<int>(left), static_cast<int>(top_));
      return;
    }
    if (defaultLocation == 0) return;
    QScreen* screen = top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    QSize frame = top->frameGeometry().size();
    top->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
  }

  void SetupTabOrder() {
    std::vector<RectControl*> chain;
    for (const auto& control : controls) {
      auto* rect = dynamic_cast<RectControl*>(control.get());
      if (rect && rect->TabStop() && rect->Widget() &&
          rect->Widget()->focusPolicy() & Qt::TabFocus) {
        chain.push_back(rect);
      }
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](RectControl* a, RectControl* b) { return a->TabIndex() < b->TabIndex(); });
    for (size_t i = 1; i < chain.size(); ++i) {
      QWidget::setTabOrder(chain[i - 1]->Widget(), chain[i]->Widget());
    }
    if (!chain.empty() && !top->focusWidget()) chain.front()->Widget()->setFocus();
  }

  void BuildMenuBar() {
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

  bool HasHandler(std::string_view name) const {
    return std::any_of(handlers.begin(), handlers.end(),
                       [&](const auto& entry) { return entry.first == name; });
  }

  static QWidget* FocusedTextWidget(QWidget* top) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != top) return nullptr;
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) return focus;
    if (focus->parentWidget() && qobject_cast<QTextEdit*>(focus->parentWidget())) {
      return focus->parentWidget();
    }
    return nullptr;
  }

  void UpdateMenuEnabling() {
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

  bool EditCommand(std::string_view name) {
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

  // The Close event, then the window is gone.
  void DoClose() {
    if (closed || closing) return;
    closing = true;
    auto keep = Keep();
    if (self->IsEventImplemented("Close")) Dispatch([this] { self->Event_Close(); });
    closed = true;
    closing = false;
    auto& list = internal::OpenWindowList();
    list.erase(std::remove(list.begin(), list.end(), keep), list.end());
    RuntimeTraceAdd("Window closed " + std::string(self->ClassName()));
  }

  bool RaiseKeyDown(const std::string& key) {
    if (key.empty() || !self->IsEventImplemented("KeyDown")) return false;
    auto keep = Keep();
    return DispatchBool([&] { return self->Event_KeyDown(key); });
  }

  bool RaiseMouseDown(QPoint position) {
    if (!self->IsEventImplemented("MouseDown")) return false;
    auto keep = Keep();
    return DispatchBool([&] { return self->Event_MouseDown(position.x(), position.y()); });
  }

  using Setter = void (*)(Impl&, const PropertyValue&);
};

namespace {

template <class T>
const T& As(const PropertyValue& value, const char* name) {
  if (const T* typed = std::get_if<T>(&value)) return *typed;
  throw RuntimeException(std::string("window property ") + name + " does not take a " +
                         TypeName(value));
}

using Impl = Window::Impl;

struct WindowSetter {
  const char* name;
  void (*apply)(Impl&, const PropertyValue&, const char*);
};

#define FW_INT(field) \
  [](Impl& d, const PropertyValue& v, const char* n) { d.field = As<std::int64_t>(v, n); }
#define FW_BOOL(field) \
  [](Impl& d, const PropertyValue& v, const char* n) { d.field = As<bool>(v, n); }
#define FW_KEEP(type) [](Impl&, const PropertyValue& v, const char* n) { (void)As<type>(v, n); }

const WindowSetter kWindowSetters[] = {
    {"Width", FW_INT(width)},
    {"Height", FW_INT(height)},
    {"MinimumWidth", FW_INT(minWidth)},
    {"MinimumHeight", FW_INT(minHeight)},
    {"MaximumWidth", FW_INT(maxWidth)},
    {"MaximumHeight", FW_INT(maxHeight)},
    {"Left", FW_INT(left)},
    {"Top", FW_INT(top_)},
    {"Type", FW_INT(type)},
    {"Title",
     [](Impl& d, const PropertyValue& v, const char* n) { d.title = As<std::string>(v, n); }},
    {"HasCloseButton", FW_BOOL(closeButton)},
    {"HasMaximizeButton", FW_BOOL(maximizeButton)},
    {"HasMinimizeButton", FW_BOOL(minimizeButton)},
    {"HasFullScreenButton", FW_KEEP(bool)},
    {"Resizeable", FW_BOOL(resizeable)},
    {"Composite", FW_KEEP(bool)},
    {"MacProcID", FW_KEEP(std::int64_t)},
    {"FullScreen", FW_KEEP(bool)},
    {"DefaultLocation", FW_INT(defaultLocation)},
    {"Visible", FW_BOOL(visible)},
    {"HasBackgroundColor", FW_BOOL(hasBackground)},
    {"BackgroundColor",
     [](Impl& d, const PropertyValue& v, const char* n) { d.background = As<Color>(v, n); }},
    {"MenuBarVisible", FW_BOOL(menuBarVisible)},
    {"LiveResize", FW_KEEP(bool)},
};

#undef FW_INT
#undef FW_BOOL
#undef FW_KEEP

void ClientArea::mousePressEvent(QMouseEvent* event) {
  // Presses that no control took (labels, canvases, the bare window).
  if (impl_ && impl_->RaiseMouseDown(event->position().toPoint())) {
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!impl_) return;
  QSize now = event->size();
  int dx = now.width() - impl_->clientSize.width();
  int dy = now.height() - impl_->clientSize.height();
  impl_->clientSize = now;
  if (dx == 0 && dy == 0) return;
  for (const auto& control : impl_->controls) {
    if (auto* rect = dynamic_cast<RectControl*>(control.get())) rect->FollowResize(dx, dy);
  }
}

void TopLevel::closeEvent(QCloseEvent* event) {
  // A window without a close button is not the user's to close (a window
  // manager may still ask); the program and the wind-down close it.
  if (impl_ && !impl_->closeButton && !impl_->programClose) {
    event->ignore();
    return;
  }
  if (impl_) impl_->DoClose();
  event->accept();
}

// Keys that no control offered: none focused, or a label's or canvas's.
void TopLevel::keyPressEvent(QKeyEvent* event) {
  if (impl_ && impl_->RaiseKeyDown(internal::KeyString(*event))) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace

Window::Window() : d_(std::make_unique<Impl>()) {
  d_->self = this;
  d_->top = new TopLevel(d_.get());
  auto* layout = new QVBoxLayout(d_->top);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
  d_->content = new ClientArea(d_.get());
  d_->content->setObjectName("content");
  layout->addWidget(d_->content);
  d_->UpdateSize();
}

Window::~Window() {
  if (d_->top) {
    d_->top->Detach();
    d_->content->Detach();
    d_->top->hide();
    d_->top->deleteLater();
  }
}

void Window::Constructor() {
  if (d_->constructed) return;
  RuntimeTraceAdd("Window.Constructor " + std::string(ClassName()));
  auto keep = d_->Keep();
  auto& list = internal::OpenWindowList();
  list.push_back(keep);
  try {
    if (IsEventImplemented("Layout")) Layout();
    if (IsEventImplemented("CreateControls")) CreateControls();
    if (IsEventImplemented("AddMenuHandlers")) AddMenuHandlers();
    d_->constructed = true;
    d_->UpdateMenuEnabling();
    d_->SetupTabOrder();
    for (const auto& control : std::vector(d_->controls)) control->RaiseOpen();
    if (d_->visible) Show();
  } catch (...) {
    d_->closed = true;
    list.erase(std::remove(list.begin(), list.end(), keep), list.end());
    if (d_->top) d_->top->hide();
    throw;
  }
}

void Window::Show() {
  if (d_->closed || !d_->top) return;
  d_->UpdateFlags();
  d_->Place();
  d_->top->show();
  d_->top->raise();
  d_->top->activateWindow();
}

void Window::Hide() {
  if (d_->top) d_->top->hide();
}

void Window::Close() {
  if (d_->closed) return;
  d_->programClose = true;
  if (d_->top && d_->top->isVisible()) {
    d_->top->close();
  }
  d_->DoClose();
  if (d_->top) d_->top->hide();
}

bool Window::IsVisible() const {
  return d_->top && !d_->closed && d_->top->isVisible();
}

bool Window::IsClosed() const {
  return d_->closed;
}

void Window::SetMenuBar(std::shared_ptr<MenuBar> bar) {
  RuntimeTraceAdd("Window.MenuBar " + std::string(ClassName()));
  d_->menuModel = std::move(bar);
  d_->BuildMenuBar();
  d_->UpdateSize();
}

std::shared_ptr<MenuBar> Window::GetMenuBar() const {
  return d_->menuModel;
}

void Window::SetProperties(const PropertyList& list) {
  for (const Property& property : list) {
    const WindowSetter* setter = nullptr;
    for (const WindowSetter& candidate : kWindowSetters) {
      if (property.name == candidate.name) setter = &candidate;
    }
    if (!setter) {
      throw RuntimeException("a window has no property named " + property.name);
    }
    setter->apply(*d_, property.value, setter->name);
    d_->applied.push_back(property);
  }
  if (d_->top) d_->top->setWindowTitle(internal::ToQt(d_->title));
  d_->UpdateBackground();
  if (d_->qtMenuBar) d_->qtMenuBar->setVisible(d_->menuBarVisible);
  d_->UpdateSize();
}

const PropertyList& Window::AppliedProperties() const {
  return d_->applied;
}

void Window::AddControl(const std::string& name, std::shared_ptr<Control> control) {
  if (!control) throw NilObjectException("AddControl was given a nil control for " + name);
  // The name is the control's own: set it as its first property.
  control->SetProperties({{"Name", name}});
  d_->controls.push_back(std::move(control));
}

std::shared_ptr<Control> Window::ControlByName(std::string_view name) const {
  for (const auto& control : d_->controls) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

const std::vector<std::shared_ptr<Control>>& Window::Controls() const {
  return d_->controls;
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

bool Window::IsEventImplemented(std::string_view) const {
  return false;
}

bool Window::Event_MouseDown(std::int64_t, std::int64_t) {
  return false;
}

bool Window::Event_KeyDown(const std::string&) {
  return false;
}

std::string Window::Title() const {
  return d_->title;
}
std::int64_t Window::Width() const {
  return d_->content ? d_->content->width() : d_->width;
}
std::int64_t Window::Height() const {
  return d_->content ? d_->content->height() : d_->height;
}
std::int64_t Window::Type() const {
  return d_->type;
}
bool Window::Resizeable() const {
  return d_->resizeable;
}
bool Window::HasCloseButton() const {
  return d_->closeButton;
}
bool Window::HasMinimizeButton() const {
  return d_->minimizeButton;
}
bool Window::HasMaximizeButton() const {
  return d_->maximizeButton;
}
bool Window::MenuBarVisible() const {
  return d_->menuBarVisible;
}

QWidget* Window::Widget() const {
  return d_->top;
}
QWidget* Window::ContentWidget() const {
  return d_->content;
}

std::shared_ptr<Window> GetImplicitWindow(std::string_view registeredName) {
  const auto& list = internal::OpenWindowList();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!(*it)->IsClosed() && (*it)->ClassName() == registeredName) return *it;
  }
  return nullptr;
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  return internal::OpenWindowList();
}

namespace internal {

std::vector<std::shared_ptr<Window>>& OpenWindowList() {
  static std::vector<std::shared_ptr<Window>> windows;
  return windows;
}

void CloseAllWindows() {
  std::vector<std::shared_ptr<Window>> windows = OpenWindowList();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->Close();
  OpenWindowList().clear();
}

std::shared_ptr<Window> WindowOf(const QWidget* widget) {
  if (!widget) return nullptr;
  for (const auto& window : OpenWindowList()) {
    if (window->Widget() == widget->window()) return window;
  }
  return nullptr;
}

bool RaiseWindowKeyDown(const QWidget* widget, const std::string& key) {
  auto window = WindowOf(widget);
  if (!window) return false;
  return window->impl().RaiseKeyDown(key);
}

bool RaiseWindowMouseDown(const QWidget* widget, QPoint windowPosition) {
  auto window = WindowOf(widget);
  if (!window) return false;
  return window->impl().RaiseMouseDown(windowPosition);
}

}  // namespace internal
}  // namespace fw
