#include "appplatform/resources/builtin_resources.h"

#include <array>

#include "appplatform/draw/device_context.h"
#include "appplatform/resources/language_bundle.h"

namespace ductra::platform {

extern const char kRussianBundleText[];

namespace {

constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kDeepBlue = rgb(16, 48, 160);
constexpr ColorRef kLightBlue = rgb(96, 144, 232);
constexpr ColorRef kInk = rgb(24, 24, 96);
// The icons' transparent corners are drawn in this colour first.
constexpr ColorRef kClear = rgb(255, 0, 255);

constexpr std::array<int, 5> kIndicatorSides = {22, 30, 42, 54, 84};

// A square with cut corners: a darker frame around a blue face.
void draw_tile(DeviceContext& dc, int side) {
  const int cut = side / 8;
  dc.select_pen({PenStyle::null, 1, kBlack});
  for (int y = 0; y < side; ++y) {
    const int inset = y < cut ? cut - y : y >= side - cut ? y - (side - cut) + 1 : 0;
    dc.fill_rect({inset, y, side - inset, y + 1}, solid_brush(kDeepBlue));
  }
  const int frame = std::max(1, side / 14);
  for (int y = frame; y < side - frame; ++y) {
    const int inset = y < cut ? cut - y + frame : y >= side - cut ? y - (side - cut) + 1 + frame : frame;
    dc.fill_rect({inset, y, side - inset, y + 1}, solid_brush(y < side / 2 ? kLightBlue : rgb(64, 112, 208)));
  }
}

// A pen lying from the upper right to the lower left, with a line of ink.
void draw_pen(DeviceContext& dc, int side, ColorRef ink) {
  const int w = std::max(2, side / 10);
  dc.select_pen(solid_pen(w, ink));
  const Point trail[] = {{side / 6, side * 5 / 6}, {side / 3, side * 2 / 3}, {side / 2, side * 3 / 4}};
  dc.polyline(trail);
  dc.select_pen(solid_pen(w + 1, kWhite));
  dc.move_to(side / 3, side * 2 / 3);
  dc.line_to(side * 5 / 6, side / 6);
}

std::shared_ptr<Bitmap> indicator_background(int side) {
  auto bitmap = Bitmap::create_rgb565(side, side);
  DeviceContext dc(bitmap);
  dc.fill_rect({0, 0, side, side}, solid_brush(kDeepBlue));
  draw_tile(dc, side);
  return bitmap;
}

std::shared_ptr<Bitmap> help_mark() {
  auto bitmap = Bitmap::create_rgb565(20, 20);
  DeviceContext dc(bitmap);
  dc.fill_rect({0, 0, 20, 20}, solid_brush(kBlack));
  dc.select_pen(solid_pen(1, kDeepBlue));
  dc.select_brush(solid_brush(kLightBlue));
  dc.ellipse(1, 1, 19, 19);
  dc.select_pen(solid_pen(2, kWhite));
  const Point hook[] = {{7, 7}, {8, 5}, {12, 5}, {13, 7}, {13, 8}, {10, 10}, {10, 12}};
  dc.polyline(hook);
  dc.fill_rect({9, 14, 12, 17}, solid_brush(kWhite));
  return bitmap;
}

std::shared_ptr<Bitmap> product_picture() {
  auto bitmap = Bitmap::create_rgb565(64, 64);
  DeviceContext dc(bitmap);
  dc.fill_rect({0, 0, 64, 64}, solid_brush(kWhite));
  draw_tile(dc, 64);
  draw_pen(dc, 64, kInk);
  return bitmap;
}

std::shared_ptr<const Icon> indicator_icon(int side) {
  auto image = Bitmap::create_rgb565(side, side);
  DeviceContext dc(image);
  dc.fill_rect({0, 0, side, side}, solid_brush(kClear));
  draw_tile(dc, side);
  draw_pen(dc, side, kInk);
  return Icon::from_image(*image, kClear);
}

}  // namespace

const StringTable& builtin_strings() {
  static const StringTable table = [] {
    auto bundle = LanguageBundle::parse(kRussianBundleText, 1049);
    return bundle ? bundle->strings() : StringTable();
  }();
  return table;
}

std::shared_ptr<Bitmap> load_builtin_bitmap(int id) {
  if (id == kProductPictureBitmap) return product_picture();
  if (id == kHelpBitmap) return help_mark();
  if (id >= kIndicatorBitmapFirst && id <= kIndicatorBitmapLast) {
    return indicator_background(kIndicatorSides[static_cast<std::size_t>(id - kIndicatorBitmapFirst)]);
  }
  return nullptr;
}

std::shared_ptr<const Icon> load_builtin_icon(int id) {
  switch (id) {
    case kIndicatorIconSmall: return indicator_icon(22);
    case kIndicatorIconLarge: return indicator_icon(42);
    case kIndicatorIconHuge: return indicator_icon(84);
    default: return nullptr;
  }
}

std::filesystem::path shipped_bundle_directory() { return DUCTRA_BUNDLE_DIR; }

}  // namespace ductra::platform
