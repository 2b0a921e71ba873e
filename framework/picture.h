#pragma once
// Pictures read from the application's resources folder.

#include <memory>
#include <string>
#include <string_view>

#include "framework/object.h"

class QImage;

namespace fw {

class Picture : public Object {
 public:
  explicit Picture(const QImage& image);
  ~Picture() override;
  std::string_view ClassName() const override { return "Picture"; }

  // The picture of that file name in the resources folder; nil when it is
  // missing or unreadable.
  static std::shared_ptr<Picture> OpenFromApp(std::string_view fileName);
  // How many times OpenFromApp read a file (tests).
  static int OpenCount();

  int Width() const;
  int Height() const;
  const QImage& Image() const { return *image_; }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace fw
