// The copybook's hold on the engine's shapes: ShapeCopy receives a shape
// copied out of the engine (crmGetShape) and releases all of it, as the
// engine allocated it, when it goes; ShapeElement keeps one element of such
// a shape in memory of its own, for drawing after the copy is gone.
#pragma once

#include <cstdint>
#include <vector>

#include "inkrec/inkrec.h"

namespace ductra {

// Frees every array of a shape the engine copied out (its elements, their
// strokes and points) and leaves the shape empty. The one way such a copy
// is released.
void release_shape_copy(crShape& shape);

class ShapeCopy {
 public:
  ShapeCopy() = default;
  ~ShapeCopy() { release_shape_copy(shape_); }
  ShapeCopy(const ShapeCopy&) = delete;
  ShapeCopy& operator=(const ShapeCopy&) = delete;

  // Where the engine copies the shape to; empty.
  crShape* receive() {
    release_shape_copy(shape_);
    return &shape_;
  }
  // The first element; null for a shape without elements.
  const crSample* first_element() const;

 private:
  crShape shape_{};
};

// One element's strokes and guides, owned here, with the engine's view of
// them for draw_shape. Moving keeps the view valid.
class ShapeElement {
 public:
  ShapeElement() = default;
  explicit ShapeElement(const crSample& element);
  ShapeElement(ShapeElement&&) = default;
  ShapeElement& operator=(ShapeElement&&) = default;

  const crSample& sample() const { return sample_; }
  bool has_strokes() const { return !points_.empty(); }

 private:
  std::vector<std::vector<crPoint>> points_;
  std::vector<crDynArray> strokes_;
  crSample sample_{};
};

}  // namespace ductra
