// Draws ink by stamping a small anti-aliased round pen tip into the screen.
//
// Every drawing reads the screen pixels it touches into a 16-bit RGB565
// scratch bitmap, blends the tip's coverage mask into them in the ink
// colour and writes them back, so the ink is a translucent colour mixed
// into whatever lay there; stamps that overlap darken it. A dot is one tip
// centred on a pixel; a polyline walks the tip pixel by pixel along its
// segments (not stamping its start point), reading and writing the screen
// once for the whole run. Tips of 8 pixels or more are stamped only at
// every fourth step.
//
// The renderer keeps one tip bitmap and one memory context: one drawing at
// a time. Callers on several threads serialise their drawings (the ink
// layer draws under its lock). A scratch bitmap that cannot be made leaves
// the screen as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "appplatform/draw/device_context.h"

namespace ductra {

class StampRenderer {
 public:
  // A pen `width` pixels wide (below 1 counts as 1) in `colour`.
  StampRenderer(int width, platform::ColorRef colour);

  // One tip centred on the pixel (x, y) of `target`.
  void dot(platform::DeviceContext& target, int x, int y);

  // The tip walked along the segments between consecutive points (pixels).
  void polyline(platform::DeviceContext& target, std::span<const platform::Point> points);

  // The side of the square tip and its coverage, row by row (0 none, 255
  // full); the colour as the screen stores it.
  int tip_size() const { return size_; }
  std::span<const std::uint8_t> mask() const { return mask_; }
  std::uint16_t colour565() const { return colour565_; }

 private:
  // Blends the mask into `pixels` with its top left corner at (x, y).
  void stamp(platform::Bitmap& pixels, int x, int y) const;
  void walk_segment(platform::Bitmap& scratch, platform::Point from, platform::Point to);

  const int size_;
  const int half_;
  std::vector<std::uint8_t> mask_;
  const std::uint16_t colour565_;
  std::shared_ptr<platform::Bitmap> tip_;
  platform::DeviceContext tip_context_;
  std::uint32_t steps_ = 0;
};

// The coverage mask of a round tip `width` pixels wide: one full pixel for
// width 1, a fixed 3 x 3 tip for width 2, otherwise a disc whose coverage
// falls from below 140 at the middle to 0 at its rim.
std::vector<std::uint8_t> tip_mask(int width);

// `pixel` moved toward `colour` by coverage/256 (RGB565, 6-bit steps);
// coverage 255 gives the colour itself.
std::uint16_t blend565(std::uint16_t pixel, std::uint16_t colour, std::uint8_t coverage);

}  // namespace ductra
