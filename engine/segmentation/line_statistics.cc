#include "engine/segmentation/line_statistics.h"

#include <algorithm>
#include <cstdint>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

// The mean of the heights strictly between low and high; `otherwise` when
// none lies there.
std::int64_t mean_between(const DynArray<StrokeRecord>& strokes, std::int64_t low,
                          std::int64_t high, std::int64_t otherwise) {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (const StrokeRecord& stroke : strokes) {
    const std::int64_t h = stroke.geometry.bounding_box().height();
    if (h > low && h < high) {
      sum += h;
      ++count;
    }
  }
  return count == 0 ? otherwise : sum / count;
}

}  // namespace

int measure_height_statistics(RecognitionContext& context) {
  const DynArray<StrokeRecord>& strokes = context.strokes();
  LineMetrics& statistics = context.statistics();
  std::int64_t sum = 0;
  for (std::uint32_t s = 0; s < strokes.size(); ++s) {
    const Box16 box = strokes[s].geometry.bounding_box();
    if (s == 0) {
      statistics.box = box;
    } else {
      statistics.box.unite(box);
    }
    sum += box.height();
  }
  const std::int64_t n = strokes.size();
  const std::int64_t mean = n == 0 ? 0 : sum / n;
  statistics.mean_height = saturate_int16(std::max<std::int64_t>(mean, 11));
  if (n == 0) {
    statistics.small_height = 0;
    statistics.tall_height = 0;
    return kOk;
  }
  constexpr std::int64_t kNoLimit = INT64_MAX;
  const std::int64_t small = std::max<std::int64_t>(mean_between(strokes, mean / 5, mean, mean), 33);
  const std::int64_t tall_mean = mean_between(strokes, mean, kNoLimit, mean);
  const std::int64_t tall = std::max(mean_between(strokes, tall_mean, kNoLimit, tall_mean),
                                     small * 160 / 100);
  statistics.small_height = saturate_int16(small);
  statistics.tall_height = saturate_int16(tall);
  return kOk;
}

int line_mean_metric(RecognitionContext& context) {
  std::int64_t weighted = 0;
  std::int64_t weights = 0;
  for (const StrokeRecord& stroke : context.strokes()) {
    const std::int16_t measure = slant_measure(stroke.geometry);
    if (measure == 0) continue;
    weighted += std::int64_t{measure} * slant_weight(stroke.geometry);
    weights += slant_weight(stroke.geometry);
  }
  context.settings().slant_angle = weights == 0 ? 0 : saturate_int16(weighted / weights);
  return kOk;
}

}  // namespace inkrec
