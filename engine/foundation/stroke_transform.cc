// Scaling, shearing and cleaning of stroke points.

#include "engine/foundation/stroke_transform.h"

#include <cstdint>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

int scale_point(const PointScale& scale, PackedPoint* p) {
  if (scale.dx == 0) return kZeroScaleX;
  if (scale.dy == 0) return kZeroScaleY;
  p->x = saturate_int16((std::int64_t{p->x} - scale.ox) * scale.mx / scale.dx);
  p->y = saturate_int16((std::int64_t{p->y} - scale.oy) * scale.my / scale.dy);
  return kOk;
}

int scale_strokes(StrokeList& strokes, const PointScale& scale) {
  for (Stroke* stroke : strokes) {
    if (stroke == nullptr) return kBadArgument;
    for (PackedPoint& p : *stroke) {
      if (const int status = scale_point(scale, &p); status != kOk) return status;
    }
  }
  return kOk;
}

void shear_point(PackedPoint* p, int k, int y0) {
  p->x = saturate_int16(p->x + (((std::int64_t{p->y} - y0) * k) >> 8));
}

int shear_strokes(StrokeList& strokes, int k, int y0) {
  for (Stroke* stroke : strokes) {
    if (stroke == nullptr) return kBadArgument;
    for (PackedPoint& p : *stroke) shear_point(&p, k, y0);
  }
  return kOk;
}

int remove_repeated_points(DynArray<StrokeView>& views, StrokeList& strokes) {
  if (strokes.size() < views.size()) return kBadArgument;
  for (std::uint32_t s = 0; s < views.size(); ++s) {
    Stroke* stroke = strokes[s];
    if (stroke == nullptr) return kBadArgument;
    std::uint32_t i = 1;
    while (i < stroke->size()) {
      const PackedPoint kept = (*stroke)[i - 1];
      if ((*stroke)[i] != kept) {
        ++i;
        continue;
      }
      std::uint32_t end = i + 1;
      while (end < stroke->size() && (*stroke)[end] == kept) ++end;
      if (end == stroke->size()) break;
      if (const int status = stroke->erase(i, end - i); status != kOk) return status;
      views[s].count -= static_cast<std::int32_t>(end - i);
    }
  }
  return kOk;
}

}  // namespace inkrec
