#pragma once
// Whether windows can be shown, asked before Qt, which aborts the process when
// its platform has no display to use. Runtime-internal.

#include <string>

namespace fw::internal {

// Checks the display that Qt's platform will use. An X connection made for the
// check stays open while this lives: a server that resets when its last
// client leaves drops connections that arrive meanwhile, so it lives until Qt
// has its own.
class DisplayCheck {
 public:
  DisplayCheck();
  ~DisplayCheck();
  DisplayCheck(const DisplayCheck&) = delete;
  DisplayCheck& operator=(const DisplayCheck&) = delete;

  // Why no window can be shown; empty when they can.
  const std::string& Missing() const { return missing_; }

 private:
  void* connection_ = nullptr;
  std::string missing_;
};

}  // namespace fw::internal
