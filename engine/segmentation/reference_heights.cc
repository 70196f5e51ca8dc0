#include "engine/segmentation/reference_heights.h"

#include <algorithm>
#include <cstdint>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

// The mean of the values that reach `limit`; false when none does.
template <typename Value>
bool mean_reaching(const PtrArray<FigureGroup>& results, std::int64_t limit, Value value,
                   std::int64_t* mean) {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (const FigureGroup* result : results) {
    if (!result->has_answers()) continue;
    const std::int64_t v = value(*result);
    if (v < limit) continue;
    sum += v;
    ++count;
  }
  if (count == 0) return false;
  *mean = sum / count;
  return true;
}

std::int64_t body_span(const FigureGroup& result) {
  const ReferenceBand& band = baseline_pair(*result.geometry);
  return std::int64_t{band.bottom} - band.top;
}

std::int64_t rise(const FigureGroup& result) {
  return std::int64_t{baseline_pair(*result.geometry).bottom} -
         result.geometry->bounding_box().top;
}

bool broken(const PtrArray<FigureGroup>& results) {
  for (const FigureGroup* result : results) {
    if (result == nullptr || (result->has_answers() && result->geometry == nullptr)) return true;
  }
  return false;
}

}  // namespace

// A sum of spans that is not positive (upper lines below their baselines)
// measures no body, and the heights stay unmeasured; a body that rounds to
// 0 counts as 1.
int compute_reference_heights(const PtrArray<FigureGroup>& chosen_results, TextLine& line) {
  line.tall_letter_height = 1;
  line.body_height = 1;
  line.set_part_flag(0);
  if (broken(chosen_results)) return kBadArgument;
  std::int64_t span_sum = 0;
  std::int64_t spans = 0;
  for (const FigureGroup* result : chosen_results) {
    if (!result->has_answers()) continue;
    span_sum += body_span(*result);
    ++spans;
  }
  if (spans == 0 || span_sum <= 0) return kOk;
  std::int64_t body = 0;
  if (!mean_reaching(chosen_results, span_sum / spans / 5, body_span, &body)) return kOk;
  line.body_height = std::max<std::int16_t>(saturate_int16(body), 1);
  line.set_part_flag(1);
  line.tall_letter_height = line.body_height;
  std::int64_t tall = 0;
  if (mean_reaching(chosen_results, std::int64_t{line.body_height} * 12 / 10, rise, &tall)) {
    line.tall_letter_height = saturate_int16(tall);
  }
  return kOk;
}

}  // namespace inkrec
