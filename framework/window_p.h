#pragma once
// The Qt side of a window, shared by window.cpp and window_menu.cpp.

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/window.h"

class QMenuBar;

namespace fw {
namespace internal {

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

}  // namespace internal

struct Window::Impl {
  Window* self = nullptr;
  QPointer<internal::TopLevel> top;
  internal::ClientArea* content = nullptr;
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

  // window.cpp
  void UpdateFlags();
  void UpdateSize();
  void UpdateBackground();
  void Place();
  void SetupTabOrder();
  void DoClose();
  bool RaiseKeyDown(const std::string& key);
  bool RaiseMouseDown(QPoint position);

  // window_menu.cpp
  void BuildMenuBar();
  bool HasHandler(std::string_view name) const;
  void UpdateMenuEnabling();
  bool EditCommand(std::string_view name);
};

}  // namespace fw
