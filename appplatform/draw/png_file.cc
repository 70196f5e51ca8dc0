#include "appplatform/draw/png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace ductra::platform {

bool write_png(const Bitmap& bitmap, const std::string& path) {
  std::vector<unsigned char> rgb_bytes;
  rgb_bytes.reserve(static_cast<std::size_t>(bitmap.width()) * static_cast<std::size_t>(bitmap.height()) * 3);
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const ColorRef c = bitmap.color_at(x, y);
      rgb_bytes.push_back(static_cast<unsigned char>(red_of(c)));
      rgb_bytes.push_back(static_cast<unsigned char>(green_of(c)));
      rgb_bytes.push_back(static_cast<unsigned char>(blue_of(c)));
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.width());
  image.height = static_cast<png_uint_32>(bitmap.height());
  image.format = PNG_FORMAT_RGB;
  const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb_bytes.data(), 0, nullptr) != 0;
  png_image_free(&image);
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace ductra::platform
