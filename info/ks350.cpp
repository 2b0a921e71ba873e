#include "info/ks350.h"

#include "framework/no_destructor.h"

namespace kestrova {

namespace {

struct PictureCache {
  bool initialised = false;
  std::shared_ptr<fw::Picture> picture;
};

PictureCache& Cache() {
  static fw::NoDestructor<PictureCache> cache;
  return *cache;
}

}  // namespace

std::shared_ptr<fw::Picture> KS350() {
  PictureCache& cache = Cache();
  if (!cache.initialised) {
    cache.initialised = true;
    cache.picture.reset();
  }
  if (!cache.picture) cache.picture = fw::Picture::OpenFromApp("KS350.png");
  return cache.picture;
}

void ReleaseKS350() {
  PictureCache& cache = Cache();
  cache.picture.reset();
  cache.initialised = false;
}

}  // namespace kestrova
