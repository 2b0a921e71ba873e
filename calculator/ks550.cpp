#include "calculator/ks550.h"

#include "framework/no_destructor.h"

namespace kestrova {

namespace {
fw::NoDestructor<std::shared_ptr<fw::Picture>> pic;
}  // namespace

std::shared_ptr<fw::Picture> KS550() {
  if (!*pic) *pic = fw::Picture::OpenFromApp("KS550.png");
  return *pic;
}

void ReleaseKS550() {
  pic->reset();
}

}  // namespace kestrova
