#include "framework/picture.h"

#include <QImage>
#include <filesystem>

#include "framework/runtime.h"

namespace fw {
namespace {
int openCount = 0;
}

Picture::Picture(const QImage& image) : image_(std::make_unique<QImage>(image)) {}
Picture::~Picture() = default;

std::shared_ptr<Picture> Picture::OpenFromApp(std::string_view fileName) {
  ++openCount;
  // Only a plain file name: nothing outside the resources folder is opened.
  if (fileName.empty() || fileName.find('/') != std::string_view::npos ||
      fileName.find('\0') != std::string_view::npos || fileName == "." || fileName == "..") {
    return nullptr;
  }
  std::filesystem::path path = std::filesystem::path(ResourceDirectory()) / std::string(fileName);
  QImage image;
  if (!image.load(QString::fromStdString(path.string()))) return nullptr;
  return std::make_shared<Picture>(image);
}

int Picture::OpenCount() {
  return openCount;
}

int Picture::Width() const {
  return image_->width();
}
int Picture::Height() const {
  return image_->height();
}

}  // namespace fw
