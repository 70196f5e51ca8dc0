#include "app/copybook/shape_copy.h"

#include <new>
#include <span>

namespace ductra {
namespace {

template <typename T>
std::span<T> elements_of(const crDynArray& array) {
  return {static_cast<T*>(array.data), array.data != nullptr ? array.count : 0u};
}

void release(crDynArray& array) {
  ::operator delete(array.data);
  array = {};
}

}  // namespace

void release_shape_copy(crShape& shape) {
  for (crSample& element : elements_of<crSample>(shape.samples)) {
    for (crDynArray& stroke : elements_of<crDynArray>(element.strokes)) release(stroke);
    release(element.strokes);
  }
  release(shape.samples);
}

const crSample* ShapeCopy::first_element() const {
  const std::span<const crSample> elements = elements_of<const crSample>(shape_.samples);
  return elements.empty() ? nullptr : &elements.front();
}

ShapeElement::ShapeElement(const crSample& element) {
  for (const crDynArray& stroke : elements_of<const crDynArray>(element.strokes)) {
    const std::span<const crPoint> points = elements_of<const crPoint>(stroke);
    points_.emplace_back(points.begin(), points.end());
  }
  for (std::vector<crPoint>& points : points_) {
    strokes_.push_back({0, static_cast<std::uint32_t>(points.size()), static_cast<std::uint32_t>(points.size()),
                        points.empty() ? nullptr : points.data()});
  }
  sample_ = element;
  sample_.strokes = {0, static_cast<std::uint32_t>(strokes_.size()), static_cast<std::uint32_t>(strokes_.size()),
                     strokes_.empty() ? nullptr : strokes_.data()};
}

}  // namespace ductra
