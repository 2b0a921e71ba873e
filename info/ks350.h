#pragma once
// The about window's picture, opened once per process from the resources.

#include <memory>

#include "framework/picture.h"

namespace kestrova {

// The picture "KS350.png", or nil when it cannot be opened. A successful open
// is kept for every later call; a failed one is not, so the next call retries.
std::shared_ptr<fw::Picture> KS350();

// Drops the cached picture (the about window's finaliser; tests).
void ReleaseKS350();

}  // namespace kestrova
