#include "framework/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "framework/internal.h"
#include "framework/menu.h"
#include "framework/no_destructor.h"
#include "framework/runtime.h"
#include "framework/window_p.h"

namespace fw {

using internal::ClientArea;
using internal::TopLevel;

void Window::Impl::UpdateFlags() {
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

void Window::Impl::UpdateSize() {
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
  int menuHeight = (qtMenuBar && qtMenuBar->isVisibleTo(top)) ? qtMenuBar->sizeHint().height() : 0;
  top->resize(size.width(), size.height() + menuHeight);
  UpdateFlags();
}

void Window::Impl::UpdateBackground() {
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

void Window::Impl::Place() {
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

void Window::Impl::SetupTabOrder() {
  std::vector<const Control*> chain;
  for (const auto& control : controls) {
    if (control->TabChainWidget()) chain.push_back(control.get());
  }
  std::stable_sort(chain.begin(), chain.end(), [](const Control* a, const Control* b) {
    return a->TabIndex() < b->TabIndex();
  });
  for (size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(chain[i - 1]->TabChainWidget(), chain[i]->TabChainWidget());
  }
  if (!chain.empty() && !top->focusWidget()) chain.front()->TabChainWidget()->setFocus();
}

void Window::Impl::DoClose() {
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

bool Window::Impl::RaiseKeyDown(const std::string& key) {
  if (closed || key.empty() || !self->IsEventImplemented("KeyDown")) return false;
  auto keep = Keep();
  return DispatchBool([&] { return self->Event_KeyDown(key); });
}

bool Window::Impl::RaiseMouseDown(QPoint position) {
  if (closed || !self->IsEventImplemented("MouseDown")) return false;
  auto keep = Keep();
  return DispatchBool([&] { return self->Event_MouseDown(position.x(), position.y()); });
}

namespace {

using Impl = Window::Impl;

const std::array<PropertySetter<Impl>, 19> kWindowSetters = {{
    {"Width", [](Impl& d, const Property& p) { Assign(d.width, p, "Window"); }},
    {"Height", [](Impl& d, const Property& p) { Assign(d.height, p, "Window"); }},
    {"MinimumWidth", [](Impl& d, const Property& p) { Assign(d.minWidth, p, "Window"); }},
    {"MinimumHeight", [](Impl& d, const Property& p) { Assign(d.minHeight, p, "Window"); }},
    {"MaximumWidth", [](Impl& d, const Property& p) { Assign(d.maxWidth, p, "Window"); }},
    {"MaximumHeight", [](Impl& d, const Property& p) { Assign(d.maxHeight, p, "Window"); }},
    {"Left", [](Impl& d, const Property& p) { Assign(d.left, p, "Window"); }},
    {"Top", [](Impl& d, const Property& p) { Assign(d.top_, p, "Window"); }},
    {"Type", [](Impl& d, const Property& p) { Assign(d.type, p, "Window"); }},
    {"Title", [](Impl& d, const Property& p) { Assign(d.title, p, "Window"); }},
    {"HasCloseButton", [](Impl& d, const Property& p) { Assign(d.closeButton, p, "Window"); }},
    {"HasMaximizeButton",
     [](Impl& d, const Property& p) { Assign(d.maximizeButton, p, "Window"); }},
    {"HasMinimizeButton",
     [](Impl& d, const Property& p) { Assign(d.minimizeButton, p, "Window"); }},
    {"Resizeable", [](Impl& d, const Property& p) { Assign(d.resizeable, p, "Window"); }},
    {"DefaultLocation", [](Impl& d, const Property& p) { Assign(d.defaultLocation, p, "Window"); }},
    {"Visible", [](Impl& d, const Property& p) { Assign(d.visible, p, "Window"); }},
    {"HasBackgroundColor",
     [](Impl& d, const Property& p) { Assign(d.hasBackground, p, "Window"); }},
    {"BackgroundColor", [](Impl& d, const Property& p) { Assign(d.background, p, "Window"); }},
    {"MenuBarVisible", [](Impl& d, const Property& p) { Assign(d.menuBarVisible, p, "Window"); }},
}};

}  // namespace

namespace internal {

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
  for (const auto& control : impl_->controls) control->FollowResize(dx, dy);
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

}  // namespace internal

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
  internal::SetWindowCloser(&internal::CloseAllWindows);
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
    if (!ApplyFromTable<Impl>(kWindowSetters, "Window", *d_, property)) {
      throw RuntimeException("a window has no property named " + property.name);
    }
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

bool Window::RaiseKeyDown(const std::string& key) {
  return d_->RaiseKeyDown(key);
}

bool Window::RaiseMouseDown(std::int64_t x, std::int64_t y) {
  return d_->RaiseMouseDown(QPoint(static_cast<int>(x), static_cast<int>(y)));
}

std::shared_ptr<Window> GetImplicitWindow(std::string_view registeredName) {
  const auto& list = internal::OpenWindowList();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!(*it)->IsClosed() && (*it)->ClassName() == registeredName) return *it;
  }
  return nullptr;
}

std::shared_ptr<Window> ImplicitWindowNamed(std::string_view registeredName) {
  if (auto window = GetImplicitWindow(registeredName)) return window;
  const ClassInfo* info = LookupClass(registeredName);
  if (!info || !info->make) {
    throw RuntimeException("no window class registered as " + std::string(registeredName));
  }
  auto window = RuntimeCheckCast<Window>(info->make());
  if (!window) throw NilObjectException("the window " + std::string(registeredName) + " is nil");
  window->Constructor();
  return window;
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  return internal::OpenWindowList();
}

namespace internal {

std::vector<std::shared_ptr<Window>>& OpenWindowList() {
  static NoDestructor<std::vector<std::shared_ptr<Window>>> windows;
  return *windows;
}

void CloseAllWindows() {
  std::vector<std::shared_ptr<Window>> windows = OpenWindowList();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->Close();
  OpenWindowList().clear();
}

}  // namespace internal
}  // namespace fw
