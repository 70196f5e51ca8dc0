// The device's screen as a framebuffer in shared memory, so that every
// process of the device draws on the same pixels: the device creates it
// (and shows it), the application's process opens it and puts it in place
// as its display.
//
// The block "screen" starts with a ScreenHeader followed by the RGB565 rows,
// top-down. A header found in the block comes from another process: its
// sides and stride are checked before any pixel is reached, so a damaged
// block never makes a reader go outside it. The bitmaps handed out keep the
// mapping alive for as long as they live.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "appplatform/draw/bitmap.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/status.h"

namespace ductra::platform {

// The first bytes of the block.
struct ScreenHeader {
  std::uint32_t magic;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t stride_bytes;
};
static_assert(sizeof(ScreenHeader) == 16);
static_assert(offsetof(ScreenHeader, width) == 4);
static_assert(offsetof(ScreenHeader, height) == 8);
static_assert(offsetof(ScreenHeader, stride_bytes) == 12);

inline constexpr std::uint32_t kScreenMagic = 0x35363552;  // "R565"
// The touch samples carry 12 bits of a pixel's quarter, so the screen is at
// most 1023 pixels a side.
inline constexpr int kMaxScreenSide = 1023;

// Creates the device's screen, width x height pixels, all black. Fails with
// already_exists while another device's screen holds the name, and with
// invalid_argument for a side outside 1..kMaxScreenSide.
Status create_shared_screen(const RuntimeDir& dir, int width, int height, std::shared_ptr<Bitmap>* screen);

// Opens the screen the device created: not_found when there is none (and
// nothing is left behind), corrupt when its header cannot be right.
Status open_shared_screen(const RuntimeDir& dir, std::shared_ptr<Bitmap>* screen);

}  // namespace ductra::platform
