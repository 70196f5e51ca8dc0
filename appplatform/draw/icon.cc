#include "appplatform/draw/icon.h"

namespace ductra::platform {

std::shared_ptr<const Icon> Icon::create(std::shared_ptr<Bitmap> mask, std::shared_ptr<Bitmap> image) {
  if (!mask || !image || mask->format() != PixelFormat::mono1 || mask->width() != image->width() ||
      mask->height() != image->height()) {
    return nullptr;
  }
  return std::shared_ptr<const Icon>(new Icon(std::move(mask), std::move(image)));
}

std::shared_ptr<const Icon> Icon::from_image(const Bitmap& image, ColorRef transparent) {
  auto mask = Bitmap::create_mono(image.width(), image.height());
  auto copy = Bitmap::create_rgb565(image.width(), image.height());
  if (!mask || !copy) return nullptr;
  const std::uint32_t skip = image.native_of(transparent);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool clear = image.native(x, y) == skip;
      mask->set_native(x, y, clear ? 1 : 0);
      copy->set_color(x, y, clear ? rgb(0, 0, 0) : image.color_at(x, y));
    }
  }
  return create(std::move(mask), std::move(copy));
}

void Icon::draw(DeviceContext& dc, int x, int y) const {
  const ColorRef text = dc.set_text_color(rgb(0, 0, 0));
  const ColorRef background = dc.set_bk_color(rgb(255, 255, 255));
  dc.bit_blt(x, y, width(), height(), DeviceContext(mask_), 0, 0, RasterOp::and_);
  dc.bit_blt(x, y, width(), height(), DeviceContext(image_), 0, 0, RasterOp::xor_);
  dc.set_text_color(text);
  dc.set_bk_color(background);
}

}  // namespace ductra::platform
