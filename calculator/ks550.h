#pragma once
// The calculator's banner picture, opened once per process and shared.

#include <memory>

#include "framework/picture.h"

namespace kestrova {

// The picture "KS550.png" from the resources, or nil when it cannot be opened.
// A successful open is kept for the life of the process; a failed one is not,
// so the next call tries again.
std::shared_ptr<fw::Picture> KS550();

// Drops the kept picture (the process's finaliser).
void ReleaseKS550();

}  // namespace kestrova
