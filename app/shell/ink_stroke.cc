#include "app/shell/ink_stroke.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace ductra {
namespace {

// A distance counts once rounded down to a multiple of 4.
std::int64_t rounded_distance(std::int32_t a, std::int32_t b) {
  return std::llabs(static_cast<std::int64_t>(a) - b) & ~std::int64_t{3};
}

constexpr std::int64_t kDecimation = 4;

InkPoint in_pixels(InkPoint p) { return {p.x / 4, p.y / 4}; }

}  // namespace

void InkBox::include(InkPoint p) {
  min_x = std::min(min_x, p.x);
  min_y = std::min(min_y, p.y);
  max_x = std::max(max_x, p.x);
  max_y = std::max(max_y, p.y);
}

InkBox InkBox::in_pixels() const { return {min_x / 4, min_y / 4, max_x / 4, max_y / 4}; }

bool is_far_enough(InkPoint last_kept, InkPoint p) {
  return rounded_distance(last_kept.x, p.x) > kDecimation || rounded_distance(last_kept.y, p.y) > kDecimation;
}

bool InkStrokeList::begin_stroke(std::uint32_t tick) {
  building_ = false;
  try {
    InkStroke stroke{{}, tick, tick};
    stroke.points.reserve(kStrokeReserve);
    strokes_.push_back(std::move(stroke));
  } catch (const std::bad_alloc&) {
    return false;
  }
  building_ = true;
  return true;
}

void InkStrokeList::take_sample(InkPoint p, std::uint32_t tick) {
  if (!building_) return;
  InkStroke& stroke = strokes_.back();
  if (stroke.points.empty() || is_far_enough(stroke.points.back(), p)) {
    try {
      stroke.points.push_back(p);
    } catch (const std::bad_alloc&) {
      // The point is lost; the stroke goes on with the next one.
    }
  }
  stroke.last_tick = tick;
  box_.include(p);
}

void InkStrokeList::end_stroke() { building_ = false; }

void InkStrokeList::remove_oldest(std::size_t count) {
  if (count >= strokes_.size()) {
    strokes_.clear();
    building_ = false;
    return;
  }
  strokes_.erase(strokes_.begin(), strokes_.begin() + static_cast<std::ptrdiff_t>(count));
}

void InkStrokeList::clear() {
  strokes_.clear();
  box_ = {};
  building_ = false;
}

InkStrokeList InkStrokeList::copy_in_pixels() const {
  InkStrokeList copy;
  try {
    copy.strokes_.reserve(strokes_.size());
    for (const InkStroke& stroke : strokes_) {
      InkStroke& scaled = copy.strokes_.emplace_back(InkStroke{{}, stroke.start_tick, stroke.last_tick});
      scaled.points.reserve(stroke.points.size());
      for (const InkPoint p : stroke.points) scaled.points.push_back(in_pixels(p));
    }
  } catch (const std::bad_alloc&) {
    return {};
  }
  copy.box_ = box_.in_pixels();
  copy.building_ = building_;
  return copy;
}

std::vector<InkStrokeView> InkStrokeList::views() const {
  std::vector<InkStrokeView> views;
  try {
    views.reserve(strokes_.size());
  } catch (const std::bad_alloc&) {
    return {};
  }
  for (const InkStroke& stroke : strokes_) views.push_back(stroke.view());
  return views;
}

}  // namespace ductra
