// The shape limits of a writing variant against a stroke group.

#include "engine/segmentation/shape_limits.h"

#include <algorithm>

#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

constexpr std::int32_t kEmptySpacePenalty = 850;
constexpr std::int32_t kPerTurningPoint = 400;
constexpr std::int32_t kPerSegment = 400;
constexpr std::int32_t kMaskBits = 8;

// One axis of the empty-space test: the empty total against the extent
// scaled by the factor, both in hundredths.
ShapeVerdict empty_axis(std::int32_t extent, std::int8_t factor, std::int32_t empty_total) {
  const std::int64_t allowed = std::int64_t{extent} * factor;
  const std::int64_t empty = std::int64_t{empty_total} * 100;
  if (allowed >= empty) return {};
  if (empty > 2 * allowed) return {true, 0};
  return {false, kEmptySpacePenalty};
}

ShapeVerdict combine(ShapeVerdict a, ShapeVerdict b) {
  return {a.ruled_out || b.ruled_out, a.penalty + b.penalty};
}

// One count against its limit.
ShapeVerdict turning_limit(std::int32_t count, std::int8_t limit, std::int32_t figures) {
  if (limit <= 0 || count <= limit) return {};
  const std::int32_t excess = count - limit;
  if (figures <= 1 && excess != 1) return {true, 0};
  return {false, kPerTurningPoint * excess};
}

// The codes of one side of the comparison.
struct SegmentRow {
  const std::uint8_t (&masks)[2];
  std::int32_t count;

  std::uint8_t at(std::int32_t i) const { return segment_code(masks, i); }
  // The code at position k once segments m and m + 1 are taken as one
  // (for the last m, the last segment drops out).
  std::uint8_t merged_at(std::int32_t k, std::int32_t m) const {
    if (k < m) return at(k);
    if (k == m && m + 1 < count) return merged_segment_code(at(m), at(m + 1));
    return at(k + 1);
  }
};

std::int32_t direct_disagreements(const SegmentRow& shape, const SegmentRow& group) {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i < shape.count; ++i) {
    if (segment_codes_disagree(shape.at(i), group.at(i))) ++count;
  }
  return count;
}

// The least count of disagreements over every merge of the longer row,
// whose first `shorter` merged codes are compared.
std::int32_t merged_disagreements(const SegmentRow& longer, const SegmentRow& shorter,
                                  bool longer_is_shape) {
  std::int32_t least = shorter.count + 1;
  for (std::int32_t m = 0; m < longer.count; ++m) {
    std::int32_t count = 0;
    for (std::int32_t k = 0; k < shorter.count; ++k) {
      const std::uint8_t merged = longer.merged_at(k, m);
      const std::uint8_t other = shorter.at(k);
      const bool disagree = longer_is_shape ? segment_codes_disagree(merged, other)
                                            : segment_codes_disagree(other, merged);
      if (disagree) ++count;
    }
    least = std::min(least, count);
  }
  return least;
}

ShapeVerdict disagreement_verdict(std::int32_t count, std::int32_t penalty) {
  if (count >= 2) return {true, 0};
  return {false, penalty + (count == 1 ? kPerSegment : 0)};
}

}  // namespace

std::uint8_t segment_code(const std::uint8_t (&masks)[2], std::int32_t i) {
  if (i < 0 || i >= kMaskBits) return 0;
  const std::uint8_t first = (masks[0] >> i) & 1;
  const std::uint8_t second = (masks[1] >> i) & 1;
  return static_cast<std::uint8_t>(first << 1 | second);
}

bool segment_codes_disagree(std::uint8_t shape_code, std::uint8_t group_code) {
  if (shape_code == 0) return group_code == 3;
  return (group_code & ~shape_code & 3) != 0;
}

std::uint8_t merged_segment_code(std::uint8_t x, std::uint8_t y) {
  if (x == 3) return y;
  if (x == 0) return y == 3 ? 3 : 0;
  return y == 0 ? 0 : static_cast<std::uint8_t>(x | y);
}

ShapeVerdict empty_space_verdict(const GroupShapeFacts& group, const ShapeInfo& shape) {
  return combine(empty_axis(group.width, shape.width_factor, group.empty_columns),
                 empty_axis(group.height, shape.height_factor, group.empty_rows));
}

ShapeVerdict turning_point_verdict(const GroupShapeFacts& group, const ShapeInfo& shape) {
  ShapeVerdict verdict = turning_limit(group.minima, shape.minima_limit, group.figure_count);
  verdict = combine(verdict, turning_limit(group.maxima, shape.maxima_limit, group.figure_count));
  return combine(verdict,
                 turning_limit(group.turning_count, shape.count_limit, group.figure_count));
}

ShapeVerdict segment_verdict(const GroupShapeFacts& group, const ShapeInfo& shape,
                             bool segment_switch) {
  const std::int32_t c = shape.segment_count;
  const std::int32_t n = group.segment_count;
  if (c < 1 || c > n + 1) return {};
  const SegmentRow shape_row{shape.segment_masks, c};
  const SegmentRow group_row{group.segment_masks, n};
  if (n == c) {
    return disagreement_verdict(segment_switch ? direct_disagreements(shape_row, group_row) : 0, 0);
  }
  if (c == n + 1) {
    return disagreement_verdict(
        segment_switch ? merged_disagreements(shape_row, group_row, true) : 0, 0);
  }
  if (n == c + 1) {
    return disagreement_verdict(
        segment_switch ? merged_disagreements(group_row, shape_row, false) : 0, kPerSegment);
  }
  if (n == c + 2 && group.figure_count >= 2) return {false, 2 * kPerSegment};
  return {true, 0};
}

std::int32_t height_ramp_penalty(const ShapeInfo& shape, std::int32_t height, std::int32_t size) {
  const std::int32_t a = shape_ramp_top(shape);
  const std::int32_t b = shape_ramp_bottom(shape);
  const std::int32_t spanned = (b - std::max(a, 0) + 100) * size / 3;
  return std::max(ClampedRamp(0, 3000, true, spanned, 0, true).value_at(height * 100), 0);
}

}  // namespace inkrec
