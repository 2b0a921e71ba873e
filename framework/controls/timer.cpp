#include "framework/controls/timer.h"

#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/runtime.h"

namespace fw {

Timer::Timer() : timer_(std::make_unique<QTimer>()) {
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::SetPeriod(std::int64_t milliseconds) {
  period_ = std::max<std::int64_t>(milliseconds, 0);
  if (runMode_ != Off) Restart();
}

void Timer::SetRunMode(std::int64_t mode) {
  runMode_ = mode;
  Restart();
}

bool Timer::IsActive() const {
  return timer_->isActive();
}

void Timer::Restart() {
  timer_->stop();
  if (runMode_ == Off) return;
  timer_->setSingleShot(runMode_ == Single);
  timer_->start(static_cast<int>(std::min<std::int64_t>(period_, INT32_MAX)));
}

void Timer::Fire() {
  ++fired_;
  if (runMode_ == Single) runMode_ = Off;
  if (!action_) return;
  auto keep = shared_from_this();
  Dispatch([this] { action_(*this); });
}

bool Timer::ApplyProperty(const Property& property) {
  static constexpr std::array<PropertySetter<Timer>, 2> kSetters = {{
      {"Period",
       [](Timer& t, const Property& p) { t.SetPeriod(PropertyAs<std::int64_t>(p, "Timer")); }},
      {"RunMode",
       [](Timer& t, const Property& p) { t.SetRunMode(PropertyAs<std::int64_t>(p, "Timer")); }},
  }};
  return ApplyFromTable<Timer>(kSetters, "Timer", *this, property) ||
         Control::ApplyProperty(property);
}

}  // namespace fw
