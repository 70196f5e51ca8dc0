#include "engine/segmentation/reference_lines.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"
#include "engine/records/line_fit.h"

namespace inkrec {
namespace {

constexpr std::int32_t kConfidentReading = 5600;
constexpr std::int32_t kOffsetLimit = 120;  // usable offsets lie strictly inside +-120

bool offsets_usable(const Answer& reading) {
  return std::abs(upper_reference_offset(reading)) < kOffsetLimit &&
         std::abs(lower_reference_offset(reading)) < kOffsetLimit;
}

// Marks and quotes stand apart from the lines: they give no fit point.
bool stands_off_the_lines(std::uint16_t code) {
  switch (code) {
    case u'\'':
    case u'"':
    case u'.':
    case u',':
    case u'~':
    case u'-':
      return true;
    default:
      return false;
  }
}

bool band_is_set(const ReferenceBand& band) { return band.top != -1 || band.bottom != -1; }

std::int32_t centre_x(const FigureGroup& result) {
  const Box16 box = result.geometry->bounding_box();
  return (std::int32_t{box.left} + box.right) / 2;
}

ReferenceBand unflagged_band(std::int64_t upper, std::int64_t lower) {
  ReferenceBand band;
  band.top = saturate_int16(upper);
  band.bottom = saturate_int16(lower);
  band.is_set = 0;
  return band;
}

int check_results(const PtrArray<FigureGroup>& results) {
  for (const FigureGroup* result : results) {
    if (result == nullptr || result->geometry == nullptr) return kBadArgument;
  }
  return kOk;
}

// Each confident first reading places the lines by its own offsets.
void place_by_offsets(const PtrArray<FigureGroup>& results) {
  for (FigureGroup* result : results) {
    if (!result->has_answers()) continue;
    const Answer& reading = result->answers->answers()[0];
    if (reading_confidence(reading) < kConfidentReading || reference_skip(reading) != 0 ||
        !offsets_usable(reading)) {
      continue;
    }
    std::int32_t upper = 0;
    std::int32_t lower = 0;
    reference_lines_from_offsets(upper_reference_offset(reading), lower_reference_offset(reading),
                                 result->geometry->bounding_box(), &upper, &lower);
    element_set_baseline_pair(*result, unflagged_band(upper, lower));
  }
}

// The letters' lines as fit points, weighed by their readings' confidence.
int add_fit_points(const PtrArray<FigureGroup>& results, LineFit& upper, LineFit& base) {
  for (const FigureGroup* result : results) {
    if (!result->has_answers()) continue;
    const Answer& reading = result->answers->answers()[0];
    const ReferenceBand& band = baseline_pair(*result->geometry);
    if (!band_is_set(band) || reference_skip(reading) != 0 || stands_off_the_lines(reading.codes[0])) {
      continue;
    }
    const std::int32_t x = centre_x(*result);
    const std::int32_t weight = reading_confidence(reading);
    if (const int status = upper.add_point(x, band.top, weight); status != kOk) return status;
    if (const int status = base.add_point(x, band.bottom, weight); status != kOk) return status;
  }
  return kOk;
}

FigureRecord* candidate_with_body_index(const PtrArray<FigureRecord>& candidates,
                                        std::uint32_t index) {
  for (FigureRecord* figure : candidates) {
    if (figure != nullptr && body_index(*figure) == index) return figure;
  }
  return nullptr;
}

// The result's pair goes to each of its figures.
int hand_band_to_figures(const FigureGroup& result, const PtrArray<FigureRecord>& candidates) {
  const ReferenceBand& band = baseline_pair(*result.geometry);
  for (std::uint32_t m = 0; result.members.next_bit(&m); ++m) {
    FigureRecord* figure = candidate_with_body_index(candidates, m);
    if (figure == nullptr) return kBadArgument;
    figure->geometry.set_baseline_pair(band);
  }
  return kOk;
}

}  // namespace

void reference_lines_from_offsets(std::int32_t upper_offset, std::int32_t lower_offset,
                                  const Box16& box, std::int32_t* upper, std::int32_t* lower) {
  const std::int64_t h = std::max(box.height(), 20);
  *upper = static_cast<std::int32_t>(box.top - std::int64_t{upper_offset} * h / 100);
  *lower = static_cast<std::int32_t>(box.bottom - std::int64_t{lower_offset} * h / 100);
}

int estimate_reference_lines(FragmentState& state) {
  const PtrArray<FigureGroup>& results = state.chosen_results;
  if (const int status = check_results(results); status != kOk) return status;
  place_by_offsets(results);
  LineFit upper;
  LineFit base;
  if (const int status = add_fit_points(results, upper, base); status != kOk) return status;
  if (upper.is_empty() || base.is_empty()) return kOk;
  for (FigureGroup* result : results) {
    const std::int32_t x = centre_x(*result);
    element_set_baseline_pair(*result, unflagged_band(upper.y_at(x), base.y_at(x)));
  }
  for (const FigureGroup* result : results) {
    if (const int status = hand_band_to_figures(*result, state.line.candidates); status != kOk) {
      return status;
    }
  }
  state.line.fits[0] = upper;
  state.line.fits[2] = base;
  return kOk;
}

}  // namespace inkrec
