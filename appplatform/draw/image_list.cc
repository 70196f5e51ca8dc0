#include "appplatform/draw/image_list.h"

namespace ductra::platform {

std::unique_ptr<ImageList> ImageList::create(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide) return nullptr;
  return std::unique_ptr<ImageList>(new ImageList(width, height));
}

int ImageList::add(const Bitmap& image, const Bitmap* mask) { return add_cut(image, mask, nullptr); }

int ImageList::add_masked(const Bitmap& image, ColorRef mask_colour) {
  return add_cut(image, nullptr, &mask_colour);
}

int ImageList::add_icon(std::shared_ptr<const Icon> icon) {
  if (!icon || icon->width() != width_ || icon->height() != height_) return -1;
  images_.push_back(std::move(icon));
  return count() - 1;
}

int ImageList::add_cut(const Bitmap& image, const Bitmap* mask, const ColorRef* mask_colour) {
  if (image.width() < width_ || image.height() < height_) return -1;
  const int first = count();
  const std::uint32_t skip = mask_colour ? image.native_of(*mask_colour) : 0;
  for (int left = 0; left + width_ <= image.width(); left += width_) {
    auto cell_mask = Bitmap::create_mono(width_, height_);
    auto cell_image = Bitmap::create_rgb565(width_, height_);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        bool clear = false;
        if (mask_colour) clear = image.native(left + x, y) == skip;
        else if (mask && left + x < mask->width() && y < mask->height()) clear = mask->color_at(left + x, y) != rgb(0, 0, 0);
        cell_mask->set_native(x, y, clear ? 1 : 0);
        cell_image->set_color(x, y, clear ? rgb(0, 0, 0) : image.color_at(left + x, y));
      }
    }
    images_.push_back(Icon::create(std::move(cell_mask), std::move(cell_image)));
  }
  return first;
}

bool ImageList::draw(int index, DeviceContext& dc, int x, int y) const {
  if (index < 0 || index >= count()) return false;
  images_[static_cast<std::size_t>(index)]->draw(dc, x, y);
  return true;
}

}  // namespace ductra::platform
