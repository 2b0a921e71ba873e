#pragma once
// A timer that sits on a window as one of its controls.

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/controls/control.h"

class QTimer;

namespace fw {

class Timer : public Control {
 public:
  using ActionHandler = std::function<void(Timer&)>;
  enum RunModes : std::int64_t { Off = 0, Single = 1, Multiple = 2 };
  Timer();
  ~Timer() override;
  std::string_view ClassName() const override { return "Timer"; }

  std::int64_t Period() const { return period_; }
  void SetPeriod(std::int64_t milliseconds);
  std::int64_t RunMode() const { return runMode_; }
  // Setting a mode other than Off (re)starts the timer.
  void SetRunMode(std::int64_t mode);
  bool IsActive() const;
  int FireCount() const { return fired_; }

  void SetActionHandler(ActionHandler handler) { action_ = std::move(handler); }

 protected:
  bool ApplyProperty(const Property& property) override;

 private:
  void Restart();
  void Fire();
  std::unique_ptr<QTimer> timer_;
  ActionHandler action_;
  std::int64_t period_ = 1000;
  std::int64_t runMode_ = Off;
  int fired_ = 0;
};

}  // namespace fw
