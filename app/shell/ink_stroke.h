// The application's ink: strokes of points in touch units (a quarter of a
// pixel) of the current screen orientation, and the list of them with the
// ink's bounding box.
//
// The list is what the ink capture thread builds and the UI thread reads;
// it has no lock of its own (the ink layer guards it). Its box grows with
// every sample taken, kept as a point or not, and is not recomputed when
// older strokes are removed. Strokes that cannot get memory are not made
// and points that cannot are dropped: nothing here throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/shell/ink_point.h"

namespace ductra {

// The ink's bounding box; an empty one has min 100000 and max -100000.
struct InkBox {
  std::int32_t min_x = 100000;
  std::int32_t min_y = 100000;
  std::int32_t max_x = -100000;
  std::int32_t max_y = -100000;

  bool is_empty() const { return max_x < min_x; }
  void include(InkPoint p);
  // Every side divided by 4, rounding toward zero.
  InkBox in_pixels() const;

  friend bool operator==(const InkBox&, const InkBox&) = default;
};

struct InkStroke {
  std::vector<InkPoint> points;
  std::uint32_t start_tick = 0;  // of the pen-down sample
  std::uint32_t last_tick = 0;   // of the newest sample taken into the stroke

  InkStrokeView view() const { return points; }
};

// Room a new stroke reserves for its points.
inline constexpr std::size_t kStrokeReserve = 100;

class InkStrokeList {
 public:
  std::size_t size() const { return strokes_.size(); }
  bool empty() const { return strokes_.empty(); }
  const InkStroke& operator[](std::size_t i) const { return strokes_[i]; }
  const InkStroke& last() const { return strokes_.back(); }
  const std::vector<InkStroke>& strokes() const { return strokes_; }
  const InkBox& box() const { return box_; }
  std::int32_t min_x() const { return box_.min_x; }
  std::int32_t min_y() const { return box_.min_y; }
  std::int32_t max_x() const { return box_.max_x; }
  std::int32_t max_y() const { return box_.max_y; }

  // Starts a stroke at `tick` and makes it the one being built; false
  // (nothing being built) when there is no memory for it.
  bool begin_stroke(std::uint32_t tick);
  // Whether the newest stroke is still being built.
  bool is_building() const { return building_; }
  // Takes a sample into the stroke being built: the point is kept when the
  // stroke has none yet or it lies 8 touch units or more from the last kept
  // point in x or in y; the stroke's last tick and the box follow every
  // sample. Nothing without a stroke being built.
  void take_sample(InkPoint p, std::uint32_t tick);
  // The stroke being built is finished (at pen up).
  void end_stroke();

  // Removes the oldest `count` strokes (the box stays as it is).
  void remove_oldest(std::size_t count);
  // Removes every stroke and empties the box.
  void clear();

  // A copy with every point and the box divided by 4 (toward zero); empty
  // when there is no memory for it.
  InkStrokeList copy_in_pixels() const;

  // Views of every stroke, for handing the ink to the engine client; none
  // when there is no memory for them.
  std::vector<InkStrokeView> views() const;

 private:
  std::vector<InkStroke> strokes_;
  InkBox box_;
  bool building_ = false;
};

// Whether a point 8 touch units (two pixels) or more away from the last
// kept one in x or in y: nearer samples only extend the box.
bool is_far_enough(InkPoint last_kept, InkPoint p);

}  // namespace ductra
