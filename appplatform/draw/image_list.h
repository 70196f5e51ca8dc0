// An image list: images of one size, each with its mask, drawn by index.
#pragma once

#include <memory>
#include <vector>

#include "appplatform/draw/icon.h"

namespace ductra::platform {

class ImageList {
 public:
  // Null for a side below 1 or above kMaxBitmapSide.
  static std::unique_ptr<ImageList> create(int width, int height);

  int image_width() const { return width_; }
  int image_height() const { return height_; }
  int count() const { return static_cast<int>(images_.size()); }

  // Each cuts the bitmap into images of the list's width, left to right, and
  // returns the index of the first, or -1 when the bitmap is lower than the
  // images or narrower than one image. With a mask colour, pixels of that
  // colour are transparent.
  int add(const Bitmap& image, const Bitmap* mask);
  int add_masked(const Bitmap& image, ColorRef mask_colour);
  // -1 when the icon's size differs from the list's.
  int add_icon(std::shared_ptr<const Icon> icon);

  // False for an index outside the list.
  bool draw(int index, DeviceContext& dc, int x, int y) const;

 private:
  ImageList(int width, int height) : width_(width), height_(height) {}
  int add_cut(const Bitmap& image, const Bitmap* mask, const ColorRef* mask_colour);

  int width_;
  int height_;
  std::vector<std::shared_ptr<const Icon>> images_;
};

}  // namespace ductra::platform
