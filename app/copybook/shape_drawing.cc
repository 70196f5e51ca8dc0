#include "app/copybook/shape_drawing.h"

#include <algorithm>

#include "appplatform/clock.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

constexpr int kGuideLines = 2;
constexpr int kStrokeDrop = 10;  // pixels at 96 dots per inch
constexpr int kStandardDots = 96;
constexpr std::size_t kShortStroke = 21;
constexpr std::uint32_t kShortStrokePauseMs = 50;
constexpr std::uint32_t kStrokeMs = 500;

std::span<const crPoint> points_of(const crDynArray& stroke) {
  return {static_cast<const crPoint*>(stroke.data), stroke.data != nullptr ? stroke.count : 0u};
}

std::span<const crDynArray> strokes_of(const crSample& element) {
  return {static_cast<const crDynArray*>(element.strokes.data),
          element.strokes.data != nullptr ? element.strokes.count : 0u};
}

const crSample* first_element(const crDynArray* list) {
  return list != nullptr && list->data != nullptr && list->count > 0 ? static_cast<const crSample*>(list->data)
                                                                     : nullptr;
}

DrawnShape scale_strokes(const crSample& element, const ShapeScale& scale) {
  DrawnShape drawn;
  for (const crDynArray& stroke : strokes_of(element)) drawn.push_back(scale_stroke(points_of(stroke), scale));
  return drawn;
}

// The second part in screen points: the first element's strokes, or a dash
// of a quarter of the cell's width (in shape units) from the origin.
DrawnShape scale_second_part(const SecondPart& second, const ShapeCell& cell, const ShapeScale& scale) {
  if (const crSample* element = first_element(second.elements)) return scale_strokes(*element, scale);
  const crPoint dash[] = {{0, 0}, {static_cast<std::int16_t>(cell.rect.width() / 4), 0}};
  return {scale_stroke(dash, scale)};
}

void draw_second_part(platform::DeviceContext& dc, const DrawnShape& first, const SecondPart& second,
                      const ShapeCell& cell, const ShapeScale& scale, bool animate) {
  const DrawnBounds b1 = points_bounds(first);
  const DrawnShape part = scale_second_part(second, cell, scale);
  const DrawnBounds b2 = points_bounds(part);
  const int left = cell.rect.left;
  const int step = cell.rect.width() / (second.count + 1);
  const int cx = (b2.min_x + b2.max_x) / 2;
  const int cy = (b2.min_y + b2.max_y) / 2;
  if (second.layout & kCopiesAbove) {
    draw_shifted_copies(dc, part, {cx - left, b2.max_y - b1.min_y + kCopyGap}, second.count, {step, 0}, animate);
  }
  if (second.layout & kCopiesBelow) {
    draw_shifted_copies(dc, part, {cx - left, b2.min_y - b1.max_y - kCopyGap}, second.count, {step, 0}, animate);
  }
  if (second.layout & kCopiesLeft) {
    draw_shifted_copies(dc, part, {b2.max_x - b1.min_x + kCopyGap, cy - scale.y0}, second.count, {0, step}, animate);
  }
  if (second.layout & kCopiesRight) {
    draw_shifted_copies(dc, part, {b2.min_x - b1.max_x - kCopyGap, cy - scale.y0}, second.count, {0, step}, animate);
  }
}

}  // namespace

void draw_shape(platform::DeviceContext& dc, const platform::Pen& stroke_pen, const platform::Pen& guide_pen,
                bool animate, const crSample& element, const ShapeCell& cell, const SecondPart& second) {
  if (cell.reference_width < 1) return;
  const platform::Rect& r = cell.rect;
  const ShapeScale scale{static_cast<double>(r.width()) / cell.reference_width, r.left,
                         r.top + kStrokeDrop * (dc.device_caps(platform::LOGPIXELSX) / kStandardDots)};
  const platform::Pen previous = dc.select_pen(guide_pen);
  const std::int16_t guides[kGuideLines] = {element.first_guide, element.second_guide};
  for (const std::int16_t h : guides) {
    const int y = static_cast<int>(h * scale.scale + r.top);
    dc.move_to(r.left, y);
    dc.line_to(r.right, y);
  }
  dc.select_pen(stroke_pen);
  DrawnShape first;
  for (const crDynArray& stroke : strokes_of(element)) {
    first.push_back(scale_stroke(points_of(stroke), scale));
    draw_polyline(dc, first.back(), animate);
  }
  if (second.count > 0) draw_second_part(dc, first, second, cell, scale, animate);
  dc.select_pen(previous);
}

DrawnStroke scale_stroke(std::span<const crPoint> stroke, const ShapeScale& scale) {
  DrawnStroke drawn;
  drawn.reserve(stroke.size());
  for (const crPoint& p : stroke) {
    drawn.push_back({static_cast<int>(p.x * scale.scale + scale.x0), static_cast<int>(p.y * scale.scale + scale.y0)});
  }
  return drawn;
}

DrawnBounds points_bounds(const DrawnShape& shape) {
  DrawnBounds bounds;
  for (const DrawnStroke& stroke : shape) {
    for (const platform::Point& p : stroke) {
      bounds.min_x = std::min(bounds.min_x, p.x);
      bounds.min_y = std::min(bounds.min_y, p.y);
      bounds.max_x = std::max(bounds.max_x, p.x);
      bounds.max_y = std::max(bounds.max_y, p.y);
    }
  }
  return bounds;
}

void draw_polyline(platform::DeviceContext& dc, const DrawnStroke& stroke, bool animate) {
  if (stroke.empty()) return;
  if (stroke.size() == 1) {
    // A line to the next pixel: a line to the point itself would leave out
    // its only pixel.
    dc.move_to(stroke[0].x, stroke[0].y);
    dc.line_to(stroke[0].x + 1, stroke[0].y);
    return;
  }
  if (!animate) {
    dc.polyline(stroke);
    return;
  }
  const std::uint32_t pause =
      stroke.size() < kShortStroke ? kShortStrokePauseMs : kStrokeMs / static_cast<std::uint32_t>(stroke.size());
  dc.move_to(stroke[0].x, stroke[0].y);
  for (std::size_t i = 1; i < stroke.size(); ++i) {
    dc.line_to(stroke[i].x, stroke[i].y);
    platform::sleep_for(pause);
  }
}

void draw_shifted_copies(platform::DeviceContext& dc, DrawnShape shape, platform::Point translation, int count,
                         platform::Point step, bool animate) {
  for (DrawnStroke& stroke : shape) {
    for (platform::Point& p : stroke) p = {p.x - translation.x, p.y - translation.y};
  }
  for (int k = 0; k < count; ++k) {
    for (DrawnStroke& stroke : shape) {
      for (platform::Point& p : stroke) p = {p.x + step.x, p.y + step.y};
      draw_polyline(dc, stroke, animate);
    }
  }
}

}  // namespace ductra
