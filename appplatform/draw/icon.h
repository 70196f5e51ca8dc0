// Icons: a monochrome mask and a colour image of one size. Drawing keeps the
// screen where the mask is 1 and clears it where it is 0, then adds the
// image by exclusive-or; so a mask of 0 with an image shows the image, and a
// mask of 1 with a black image leaves the screen as it was.
#pragma once

#include <memory>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/device_context.h"

namespace ductra::platform {

class Icon {
 public:
  // Null unless the mask is monochrome and both have one size.
  static std::shared_ptr<const Icon> create(std::shared_ptr<Bitmap> mask, std::shared_ptr<Bitmap> image);
  // An icon showing every pixel of `image` except those of `transparent`.
  static std::shared_ptr<const Icon> from_image(const Bitmap& image, ColorRef transparent);

  int width() const { return image_->width(); }
  int height() const { return image_->height(); }
  const Bitmap& mask() const { return *mask_; }
  const Bitmap& image() const { return *image_; }

  void draw(DeviceContext& dc, int x, int y) const;

 private:
  Icon(std::shared_ptr<Bitmap> mask, std::shared_ptr<Bitmap> image)
      : mask_(std::move(mask)), image_(std::move(image)) {}

  std::shared_ptr<Bitmap> mask_;
  std::shared_ptr<Bitmap> image_;
};

}  // namespace ductra::platform
