#include "appplatform/draw/bitmap.h"

#include <cstring>
#include <limits>

namespace ductra::platform {

namespace {

bool valid_side(int side) { return side >= 1 && side <= kMaxBitmapSide; }

int padded_stride(int width, int bits_per_pixel) {
  return ((width * bits_per_pixel + 31) / 32) * 4;
}

int distance_squared(ColorRef a, ColorRef b) {
  const int dr = red_of(a) - red_of(b), dg = green_of(a) - green_of(b), db = blue_of(a) - blue_of(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

Bitmap::Bitmap(PixelFormat format, int width, int height, RowOrder order, int stride_bytes)
    : format_(format), width_(width), height_(height), order_(order), stride_bytes_(stride_bytes) {}

std::shared_ptr<Bitmap> Bitmap::create_rgb565(int width, int height, RowOrder order) {
  if (!valid_side(width) || !valid_side(height)) return nullptr;
  std::shared_ptr<Bitmap> b(new Bitmap(PixelFormat::rgb565, width, height, order, padded_stride(width, 16)));
  b->owned_.assign(static_cast<std::size_t>(b->stride_bytes_) * static_cast<std::size_t>(height), 0);
  b->memory_ = b->owned_;
  return b;
}

std::shared_ptr<Bitmap> Bitmap::create_indexed8(int width, int height,
                                                std::span<const ColorRef> palette) {
  if (!valid_side(width) || !valid_side(height) || palette.size() > 256) return nullptr;
  std::shared_ptr<Bitmap> b(new Bitmap(PixelFormat::indexed8, width, height, RowOrder::top_down,
                                       padded_stride(width, 8)));
  b->owned_.assign(static_cast<std::size_t>(b->stride_bytes_) * static_cast<std::size_t>(height), 0);
  b->memory_ = b->owned_;
  b->palette_.assign(palette.begin(), palette.end());
  b->palette_.resize(256, rgb(0, 0, 0));
  return b;
}

std::shared_ptr<Bitmap> Bitmap::create_mono(int width, int height) {
  if (!valid_side(width) || !valid_side(height)) return nullptr;
  std::shared_ptr<Bitmap> b(new Bitmap(PixelFormat::mono1, width, height, RowOrder::top_down,
                                       padded_stride(width, 1)));
  b->owned_.assign(static_cast<std::size_t>(b->stride_bytes_) * static_cast<std::size_t>(height), 0);
  b->memory_ = b->owned_;
  b->palette_ = {rgb(0, 0, 0), rgb(255, 255, 255)};
  return b;
}

std::shared_ptr<Bitmap> Bitmap::create_on_memory(int width, int height, std::span<std::byte> memory,
                                                 int stride_bytes, RowOrder order) {
  if (!valid_side(width) || !valid_side(height) || stride_bytes < width * 2 || stride_bytes % 2 != 0 ||
      reinterpret_cast<std::uintptr_t>(memory.data()) % 2 != 0) {
    return nullptr;
  }
  const auto needed = static_cast<std::size_t>(stride_bytes) * static_cast<std::size_t>(height - 1) +
                      static_cast<std::size_t>(width) * 2;
  if (memory.size() < needed) return nullptr;
  std::shared_ptr<Bitmap> b(new Bitmap(PixelFormat::rgb565, width, height, order, stride_bytes));
  b->memory_ = {reinterpret_cast<std::uint8_t*>(memory.data()), needed};
  return b;
}

std::shared_ptr<Bitmap> Bitmap::create_dib_section(const DibHeader& header) {
  if (header.bit_count != 16 || !header.bit_fields || header.red_mask != 0xF800 ||
      header.green_mask != 0x07E0 || header.blue_mask != 0x001F || header.height == 0) {
    return nullptr;
  }
  const RowOrder order = header.height > 0 ? RowOrder::bottom_up : RowOrder::top_down;
  return create_rgb565(header.width, header.height > 0 ? header.height : -header.height, order);
}

std::span<const ColorRef> default_palette() {
  static const std::vector<ColorRef> palette = [] {
    std::vector<ColorRef> colours = {
        rgb(0, 0, 0),       rgb(128, 0, 0),     rgb(0, 128, 0),   rgb(128, 128, 0),
        rgb(0, 0, 128),     rgb(128, 0, 128),   rgb(0, 128, 128), rgb(192, 192, 192),
        rgb(70, 110, 170),  rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),
        rgb(255, 255, 0),   rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255)};
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 6; ++g) {
        for (int b = 0; b < 6; ++b) colours.push_back(rgb(r * 51, g * 51, b * 51));
      }
    }
    while (colours.size() < 255) {
      const int level = static_cast<int>(colours.size() - 232) * 10 + 8;
      colours.push_back(rgb(level, level, level));
    }
    colours.push_back(rgb(255, 255, 255));
    return colours;
  }();
  return palette;
}

std::uint8_t* Bitmap::row(int y) const {
  const int stored = order_ == RowOrder::top_down ? y : height_ - 1 - y;
  return memory_.data() + static_cast<std::ptrdiff_t>(stored) * stride_bytes_;
}

std::uint32_t Bitmap::native(int x, int y) const {
  const std::uint8_t* r = row(y);
  switch (format_) {
    case PixelFormat::rgb565: {
      std::uint16_t p;
      std::memcpy(&p, r + x * 2, 2);
      return p;
    }
    case PixelFormat::indexed8:
      return r[x];
    case PixelFormat::mono1:
      return (r[x / 8] >> (7 - x % 8)) & 1u;
  }
  return 0;
}

void Bitmap::set_native(int x, int y, std::uint32_t value) {
  std::uint8_t* r = row(y);
  switch (format_) {
    case PixelFormat::rgb565: {
      const auto p = static_cast<std::uint16_t>(value);
      std::memcpy(r + x * 2, &p, 2);
      return;
    }
    case PixelFormat::indexed8:
      r[x] = static_cast<std::uint8_t>(value);
      return;
    case PixelFormat::mono1: {
      const auto bit = static_cast<std::uint8_t>(0x80u >> (x % 8));
      r[x / 8] = static_cast<std::uint8_t>((value & 1u) ? (r[x / 8] | bit) : (r[x / 8] & ~bit));
      return;
    }
  }
}

std::uint32_t Bitmap::native_of(ColorRef color) const {
  if (format_ == PixelFormat::rgb565) return to_rgb565(color);
  std::uint32_t best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const int d = distance_squared(color, palette_[i]);
    if (d < best_distance) {
      best_distance = d;
      best = static_cast<std::uint32_t>(i);
    }
  }
  return best;
}

ColorRef Bitmap::color_of(std::uint32_t native) const {
  if (format_ == PixelFormat::rgb565) return from_rgb565(static_cast<std::uint16_t>(native));
  return native < palette_.size() ? palette_[native] : rgb(0, 0, 0);
}

}  // namespace ductra::platform
