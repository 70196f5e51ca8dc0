#include "engine/rules/pair_extents.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_raster.h"

namespace inkrec {
namespace {

// What the measurement reads of one result.
struct ExtentSide {
  Box16 box;
  const ProfileRaster* raster = nullptr;
  PackedPoint first;  // first and last point of its first figure
  PackedPoint last;
  bool single_figure = false;
};

bool has_first_points(const FigureGroup& group) {
  const FigureRecord* figure = group.figures.front();
  return figure != nullptr && !figure->run.empty() && group.geometry != nullptr;
}

int read_side(FigureGroup& group, ExtentSide* side) {
  const FigureRecord* figure = group.figures.front();
  side->raster = element_profile_raster(group);
  if (side->raster == nullptr) return kBadArgument;
  const PointSpan points = figure->run.span();
  side->first = points[0];
  side->last = points[points.size() - 1];
  side->box = group.geometry->bounding_box();
  side->single_figure = group.figures.size() == 1;
  return kOk;
}

// Whether a result's chord (the line joining its first figure's ends)
// closes it on the side facing the other: one figure whose ends lie more
// than a third of the size apart, and not much taller than the other or
// the size.
bool chord_used(const ExtentSide& self, const ExtentSide& facing, std::int32_t size) {
  const std::int32_t length =
      octagonal_length(self.last.x - self.first.x, self.last.y - self.first.y);
  const std::int32_t tallest = std::max<std::int32_t>(facing.box.height(), size);
  return self.single_figure && length > size / 3 && self.box.height() < tallest * 4 / 3;
}

// The chord's x at row y when y lies strictly between its ends' rows.
bool chord_x_at(const ExtentSide& side, std::int32_t y, std::int32_t* x) {
  const std::int32_t low = std::min(side.first.y, side.last.y);
  const std::int32_t high = std::max(side.first.y, side.last.y);
  if (y <= low || y >= high) return false;
  *x = ClampedRamp(side.first.y, side.first.x, false, side.last.y, side.last.x, false).value_at(y);
  return true;
}

// The edges of a row; an unset edge keeps the previous row's.
struct RowEdges {
  std::int32_t left;
  std::int32_t right;
};

RowEdges row_edges(const ProfileRaster& raster, std::int32_t y, RowEdges previous) {
  const std::int32_t least = raster.row_min(y);
  const std::int32_t greatest = raster.row_max(y);
  return RowEdges{least == kEmptyMin ? previous.left : least,
                  greatest == kEmptyMax ? previous.right : greatest};
}

void measure(const ExtentSide& owner, const ExtentSide& other, std::int32_t size, PairExtents& e) {
  const bool owner_chord = chord_used(owner, other, size);
  const bool other_chord = chord_used(other, owner, size);
  const std::int32_t lo = std::max(owner.box.top, other.box.top);
  const std::int32_t hi = std::min(owner.box.bottom, other.box.bottom);
  e = PairExtents{};
  e.first_overlap_row = lo;
  e.first_near_row = lo;
  e.owner_right_at_overlap = owner.box.left;
  e.last_near_row = hi;
  bool overlap_seen = false;
  bool near_seen = false;
  std::int64_t sums[4] = {0, 0, 0, 0};
  RowEdges o{owner.box.left, owner.box.right};
  RowEdges t{other.box.left, other.box.right};
  for (std::int32_t y = lo; y < hi; ++y) {
    o = row_edges(*owner.raster, y, o);
    t = row_edges(*other.raster, y, t);
    std::int32_t chord = 0;
    if (owner_chord && chord_x_at(owner, y, &chord)) o.right = std::max(o.right, chord);
    if (other_chord && chord_x_at(other, y, &chord)) t.left = std::min(t.left, chord);
    sums[0] += t.left - o.left;
    sums[1] += t.right - o.right;
    sums[2] += t.right - o.left;
    sums[3] += t.left - o.right;
    if (t.left < o.right) {
      ++e.overlap_rows;
      if (!overlap_seen) e.first_overlap_row = y, e.owner_right_at_overlap = o.right;
      overlap_seen = true;
    }
    if (t.left < o.right + size / 10) {
      if (!near_seen) e.first_near_row = y;
      e.last_near_row = y;
      near_seen = true;
    }
  }
  // The rows read are lo..hi - 1, the divisor counts hi as well.
  if (hi - lo > 0) {
    const std::int64_t rows = std::int64_t{hi} - lo + 1;
    e.mean_left_offset = static_cast<std::int32_t>(sums[0] / rows);
    e.mean_right_offset = static_cast<std::int32_t>(sums[1] / rows);
    e.mean_span = static_cast<std::int32_t>(sums[2] / rows);
    e.mean_gap = static_cast<std::int32_t>(sums[3] / rows);
  }
  e.computed = 1;
}

}  // namespace

PairExtents* find_or_append_extents(DynArray<PairExtentsEntry>& cache, std::uint32_t key) {
  for (PairExtentsEntry& entry : cache) {
    if (entry.other == key) return &entry.extents;
  }
  PairExtentsEntry* added = cache.push_back_ptr(PairExtentsEntry{key, PairExtents{}});
  return added == nullptr ? nullptr : &added->extents;
}

int score_pair_extents_cached(FigureGroup& owner, FigureGroup& other, std::int32_t size,
                              const PairExtents** out) {
  if (!has_first_points(owner) || !has_first_points(other)) return kBadArgument;
  PairExtents* extents =
      find_or_append_extents(owner.extents_cache, static_cast<std::uint32_t>(result_id(other)));
  if (extents == nullptr) return kOutOfMemory;
  if (extents->computed == 0) {
    ExtentSide o;
    ExtentSide t;
    if (const int status = read_side(owner, &o); status != kOk) return status;
    if (const int status = read_side(other, &t); status != kOk) return status;
    measure(o, t, size, *extents);
  }
  *out = extents;
  return kOk;
}

}  // namespace inkrec
