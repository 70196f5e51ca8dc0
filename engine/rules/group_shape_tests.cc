// The group shape tests.

#include "engine/rules/group_shape_tests.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_raster.h"

namespace inkrec {
namespace {

std::int32_t descending_runs_of(PointSpan points) {
  std::int32_t runs = 0;
  std::int64_t descent = 0;
  for (std::int32_t k = 0; k + 1 < points.size(); ++k) {
    const std::int32_t dy = points[k + 1].y - points[k].y;
    if (dy >= 0) {
      descent += dy;
      continue;
    }
    if (descent >= 1) ++runs;
    descent = 0;
  }
  return descent >= 1 ? runs + 1 : runs;
}

bool holds_stroke(const FigureGroup& group, std::int32_t stroke) {
  for (const FigureRecord* figure : group.figures) {
    if (figure != nullptr && stroke_number(*figure) == stroke) return true;
  }
  return false;
}

// The mean over the rows first..last of right(y) - left(y), with the
// rasters' values for empty rows.
std::int64_t mean_row_gap(const ProfileRaster& left, const ProfileRaster& right, int first,
                          int last) {
  std::int64_t sum = 0;
  for (int y = first; y <= last; ++y) sum += std::int64_t{right.row_min(y)} - left.row_max(y);
  return sum / (last - first + 1);
}

// The rows both boxes share: false when they share none.
bool shared_rows(const Box16& a, const Box16& b, int* first, int* last) {
  *first = std::max(a.top, b.top);
  *last = std::min(a.bottom, b.bottom);
  return *last > *first;
}

struct RowWidths {
  std::int64_t first = -1;
  std::int64_t last = -1;
  std::int64_t count = 0;
  std::int64_t sum = 0;
  std::int64_t upper_count = 0;
  std::int64_t upper_sum = 0;
  std::int64_t lower_count = 0;
  std::int64_t lower_sum = 0;
  std::int32_t least_right_row = 0;
  std::int32_t least_right = 32767;
};

RowWidths row_widths(const ProfileRaster& raster, const Box16& box) {
  RowWidths r;
  const std::int32_t middle = box.top + box.height() / 2;
  for (std::int32_t y = box.top; y <= box.bottom; ++y) {
    const std::int16_t left = raster.row_min(y);
    const std::int16_t right = raster.row_max(y);
    if (left > right) continue;  // no ink in the row
    const std::int64_t width = right - left;
    if (r.first < 0) r.first = width;
    r.last = width;
    ++r.count;
    r.sum += width;
    if (y < middle) {
      ++r.upper_count;
      r.upper_sum += width;
    } else {
      ++r.lower_count;
      r.lower_sum += width;
    }
    if (right < r.least_right) {
      r.least_right = right;
      r.least_right_row = y;
    }
  }
  return r;
}

// The narrow-top terms: 0, 400 or 800.
std::int32_t narrow_top_penalty(const RowWidths& r, const Box16& box) {
  const std::int32_t w = box.width();
  const std::int32_t h = box.height();
  if (r.upper_count == 0 || r.lower_count == 0) return 0;
  const bool narrowest_in_middle =
      r.least_right_row >= box.top + h / 4 && r.least_right_row <= box.top + 3 * h / 4;
  if (narrowest_in_middle || 2 * (r.lower_sum / r.lower_count) / 3 <= r.upper_sum / r.upper_count)
    return 0;
  std::int32_t penalty = 0;
  if (r.first < w / 4 && r.first < r.last / 4 && r.first < (r.sum / r.count) / 3) penalty += 400;
  if (r.first < w / 3 && r.first < r.last / 3) penalty += 400;
  return penalty;
}

// The wide-parts terms of a three-figure group: 0, 200 or 650; -2 for a
// null figure.
std::int32_t wide_parts_penalty(const FigureGroup& group, const Box16& box) {
  const std::int32_t w = box.width();
  std::int32_t wider_than_two_thirds = 0;
  std::int32_t wider_than_three_quarters = 0;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    const std::int32_t width = figure->geometry.bounding_box().width();
    if (width > 2 * w / 3) ++wider_than_two_thirds;
    if (width > 3 * w / 4) ++wider_than_three_quarters;
  }
  if (wider_than_two_thirds < 2) return 0;
  return wider_than_three_quarters >= 2 ? 200 + 450 : 200;
}

}  // namespace

int count_descending_runs(const FigureGroup& group, std::int32_t* count) {
  *count = 0;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    *count += descending_runs_of(figure->run.span());
  }
  return kOk;
}

int group_overlap_flag(const FigureGroup& group, const PairTable& stroke_pairs, bool* flag) {
  *flag = group.one_figure_mark == 0;
  if (*flag || group.figures.empty()) return kOk;
  if (group.figures[0] == nullptr) return kBadArgument;
  const int line = static_cast<std::int16_t>(group.figures[0]->line_index);
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    PairMetrics entry;
    int partner = -1;
    if (const int status =
            stroke_pairs.best_partner_entry(line, stroke_number(*figure), &entry, &partner);
        status != kOk) {
      return status;
    }
    if (partner >= 0 && entry.measures[0] < 2 && !holds_stroke(group, partner)) {
      *flag = true;
      return kOk;
    }
  }
  return kOk;
}

bool two_figures_spaced_as_one(FigureGroup& group, const Box16& box, std::int32_t size,
                               bool segment_switch, DynArray<FigureRecord>& line_figures) {
  if (group.figures.size() != 2 || !segment_switch) return true;
  FigureRecord* f1 = group.figures[0];
  FigureRecord* f2 = group.figures[1];
  if (f1 == nullptr || f2 == nullptr || link_flag(*f2)) return true;
  const Box16 b1 = f1->geometry.bounding_box();
  const Box16 b2 = f2->geometry.bounding_box();
  if (b2.left <= b1.left) return true;
  const std::uint16_t next_key = static_cast<std::uint16_t>(end_key(*f2) + 2);
  FigureRecord* next = figure_array_get(line_figures, stroke_number(*f2), next_key, next_key);
  if (next == nullptr) return true;
  int a_first = 0, a_last = 0, b_first = 0, b_last = 0;
  if (!shared_rows(b1, b2, &a_first, &a_last) ||
      !shared_rows(next->geometry.bounding_box(), b2, &b_first, &b_last)) {
    return true;
  }
  const std::int64_t gap = mean_row_gap(f1->glyph_block_a(), f2->glyph_block_a(), a_first, a_last);
  const std::int64_t next_gap =
      mean_row_gap(f2->glyph_block_a(), next->glyph_block_a(), b_first, b_last);
  const std::int64_t limit = std::max(size, box.height()) / 2;
  if (gap >= next_gap && gap >= size / 10) return false;
  return gap <= limit;
}

int add_profile_penalty(FigureGroup& group, const Box16& box, std::int32_t* penalty) {
  const ProfileRaster* raster = element_profile_raster(group);
  if (raster == nullptr) return kBadArgument;
  *penalty += narrow_top_penalty(row_widths(*raster, box), box);
  if (group.figures.size() != 3) return kOk;
  const std::int32_t wide = wide_parts_penalty(group, box);
  if (wide < 0) return wide;
  *penalty += wide;
  return kOk;
}

}  // namespace inkrec
