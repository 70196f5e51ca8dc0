// A bitmap: the pixels a device context draws on or copies from.
//
// Three kinds: RGB565 (the screen, memory bitmaps, DIB sections), 8-bit
// palette indices and 1-bit monochrome (0 black, 1 white; icon masks). Rows
// are padded to 4 bytes and lie top-down or bottom-up in memory, as the
// creator asks; pixel coordinates always count rows from the top.
//
// An RGB565 bitmap may draw on memory its creator owns (the screen's
// framebuffer in shared memory): the creator keeps that memory alive for as
// long as the bitmap lives. A bitmap is not locked: the threads that draw on
// one bitmap take turns.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "appplatform/draw/color.h"

namespace ductra::platform {

enum class PixelFormat { rgb565, indexed8, mono1 };
enum class RowOrder { top_down, bottom_up };

// The header of a device-independent section as the caller describes it: a
// positive height lays the rows bottom-up, a negative one top-down.
struct DibHeader {
  int width = 0;
  int height = 0;
  int bit_count = 16;
  bool bit_fields = true;
  std::uint32_t red_mask = 0xF800;
  std::uint32_t green_mask = 0x07E0;
  std::uint32_t blue_mask = 0x001F;
};

// The largest side of a bitmap, in pixels.
inline constexpr int kMaxBitmapSide = 16384;

// The 256 colours an 8-bit bitmap gets when its creator gives none: the
// sixteen basic colours (index 8 a steel blue), a 6 x 6 x 6 colour cube,
// greys, and white at 255.
std::span<const ColorRef> default_palette();

class Bitmap {
 public:
  // Each gives null for a side below 1 or above kMaxBitmapSide. Pixels start 0
  // (black; palette index 0).
  static std::shared_ptr<Bitmap> create_rgb565(int width, int height,
                                               RowOrder order = RowOrder::top_down);
  // Up to 256 palette colours; missing entries are black.
  static std::shared_ptr<Bitmap> create_indexed8(int width, int height,
                                                 std::span<const ColorRef> palette);
  static std::shared_ptr<Bitmap> create_mono(int width, int height);
  // An RGB565 section: null unless the header asks for 16 bits with the bit
  // fields 0xF800, 0x07E0 and 0x001F.
  static std::shared_ptr<Bitmap> create_dib_section(const DibHeader& header);
  // RGB565 pixels in the caller's memory (two-byte aligned), rows
  // `stride_bytes` apart (even, at least twice the width); null when the
  // memory cannot hold every row.
  static std::shared_ptr<Bitmap> create_on_memory(int width, int height, std::span<std::byte> memory,
                                                  int stride_bytes, RowOrder order = RowOrder::top_down);

  PixelFormat format() const { return format_; }
  int width() const { return width_; }
  int height() const { return height_; }
  RowOrder row_order() const { return order_; }
  // The pixel memory in its row order; rows are stride_bytes() apart.
  std::span<std::uint8_t> bits() { return memory_; }
  std::span<const std::uint8_t> bits() const { return memory_; }
  int stride_bytes() const { return stride_bytes_; }
  std::span<const ColorRef> palette() const { return palette_; }

  // The stored value of a pixel (RGB565 word, palette index or bit). The
  // caller keeps x and y inside the bitmap.
  std::uint32_t native(int x, int y) const;
  void set_native(int x, int y, std::uint32_t value);
  ColorRef color_at(int x, int y) const { return color_of(native(x, y)); }
  void set_color(int x, int y, ColorRef color) { set_native(x, y, native_of(color)); }

  // A colour as this bitmap stores it: RGB565, the nearest palette entry, or
  // for monochrome 1 when the colour is nearer white than black.
  std::uint32_t native_of(ColorRef color) const;
  ColorRef color_of(std::uint32_t native) const;

 private:
  Bitmap(PixelFormat format, int width, int height, RowOrder order, int stride_bytes);
  std::uint8_t* row(int y) const;

  PixelFormat format_;
  int width_;
  int height_;
  RowOrder order_;
  int stride_bytes_;
  std::vector<std::uint8_t> owned_;
  std::span<std::uint8_t> memory_;
  std::vector<ColorRef> palette_;
};

}  // namespace ductra::platform
