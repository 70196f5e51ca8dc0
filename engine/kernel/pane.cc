// The pane: stroke intake, rotation and the skew correction.

#include "engine/kernel/pane.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <span>
#include <utility>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/kernel/skew_search.h"
#include "engine/records/request_switches.h"

namespace inkrec {
namespace {

bool is_valid_input(const StrokeInput& input) {
  return input.count == 0 || (input.count > 0 && input.points != nullptr);
}

}  // namespace

int Pane::add_strokes(const StrokeInput* inputs, int n, std::int16_t first, std::int16_t second,
                      bool mirror) {
  if (inputs == nullptr || n < 1) return kBadArgument;
  const std::span<const StrokeInput> strokes(inputs, static_cast<std::size_t>(n));
  if (!std::all_of(strokes.begin(), strokes.end(), is_valid_input)) return kBadArgument;
  for (const StrokeInput& input : strokes) {
    if (const int status = add_stroke(input, first, second, mirror); status != kOk) return status;
  }
  return kOk;
}

// The stroke's buffer is reserved once, with a third of its count spare (at
// least 10 points), and the stroke joins the pane only whole, together with
// its base lines.
int Pane::add_stroke(const StrokeInput& input, std::int16_t first, std::int16_t second,
                     bool mirror) {
  std::unique_ptr<Stroke> stroke = make_nothrow<Stroke>();
  if (!stroke) return kOutOfMemory;
  const auto count = static_cast<std::uint32_t>(input.count);
  const std::uint64_t room = std::uint64_t{count} + std::max<std::uint32_t>(count / 3, 10);
  if (room > Stroke::kMaxCount || stroke->reserve_total(static_cast<std::uint32_t>(room)) != kOk) {
    return kOutOfMemory;
  }
  for (const PackedPoint p : std::span(input.points, count)) {
    const PackedPoint copied = mirror ? PackedPoint{saturate_int16(32767 - p.x), p.y} : p;
    if (const int status = stroke->push_back(copied); status != kOk) return status;
  }
  if (!base_lines_.reserve(1) || !strokes_.reserve(1)) return kOutOfMemory;
  const bool given = first != -1 && second != -1;
  base_lines_.push_back({first, second, static_cast<std::uint8_t>(given)});
  return strokes_.push_back_owned(std::move(stroke));
}

void Pane::clear() {
  strokes_.remove_all();
  base_lines_.clear();
}

int Pane::correct_skew(int* out_angle, const RecognitionParams& params, bool mirrored_order) {
  if (out_angle == nullptr) return kBadArgument;
  *out_angle = 0;
  const RequestSwitches switches(params);
  if (strokes_.empty() || !switches.skew_allowed()) return kOk;
  const SkewSearchOptions options{.one_line = params.mode != 0,
                                  .single_stroke_lines = switches.body_and_link(),
                                  .mirrored_order = mirrored_order};
  SkewEstimate estimate;
  if (const int status = estimate_skew(strokes_, options, &estimate); status != kOk) return status;
  if (!estimate.found || std::abs(estimate.angle) <= 5) return kOk;
  *out_angle = -estimate.angle;
  return rotate_strokes(strokes_, -estimate.angle);
}

int rotate_strokes(StrokeList& strokes, int angle) {
  const std::int64_t s = int_sin(angle);
  const std::int64_t c = int_sin(angle + 90);
  for (Stroke* stroke : strokes) {
    if (stroke == nullptr) return kBadArgument;
    for (PackedPoint& p : *stroke) {
      p = {saturate_int16((p.x * c - p.y * s) / 1000), saturate_int16((p.y * c + p.x * s) / 1000)};
    }
  }
  return kOk;
}

}  // namespace inkrec
