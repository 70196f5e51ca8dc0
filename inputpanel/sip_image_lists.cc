#include "inputpanel/sip_image_lists.h"

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/color.h"

namespace ductra::quillpad {
namespace {

constexpr int kDotsPerScale = 96;
constexpr platform::ColorRef kMaskColour = platform::rgb(0xC0, 0xC0, 0xC0);
constexpr platform::ColorRef kFrameColour = platform::rgb(0, 0, 0);
constexpr platform::ColorRef kTileColour = platform::rgb(0xFF, 0xFF, 0xFF);

void draw_state(platform::Bitmap& strip, int state, int width, int height) {
  const int left = state * width;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      strip.set_color(left + x, y, frame ? kFrameColour : kTileColour);
    }
  }
  const int bar_height = height / 8 > 0 ? height / 8 : 1;
  for (int bar = 0; bar <= state; ++bar) {
    const int top = height / 4 + 2 * bar * bar_height;
    for (int y = top; y < top + bar_height && y < height - 1; ++y) {
      for (int x = 2; x < width - 2; ++x) strip.set_color(left + x, y, kFrameColour);
    }
  }
}

std::unique_ptr<platform::ImageList> make_list(int width, int height) {
  std::unique_ptr<platform::ImageList> list = platform::ImageList::create(width, height);
  const std::shared_ptr<platform::Bitmap> strip = platform::Bitmap::create_rgb565(width * kSipImageCount, height);
  if (!list || !strip) return nullptr;
  for (int state = 0; state < kSipImageCount; ++state) draw_state(*strip, state, width, height);
  if (list->add_masked(*strip, kMaskColour) != 0) return nullptr;
  return list;
}

}  // namespace

std::unique_ptr<SipImageLists> SipImageLists::create(int dots_per_inch) {
  const int side = dots_per_inch / kDotsPerScale >= 2 ? 32 : 16;
  std::unique_ptr<platform::ImageList> narrow = make_list(side, side);
  std::unique_ptr<platform::ImageList> wide = make_list(2 * side, side);
  if (!narrow || !wide) return nullptr;
  return std::make_unique<SipImageLists>(std::move(narrow), std::move(wide));
}

}  // namespace ductra::quillpad
