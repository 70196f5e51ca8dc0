#include "engine/records/stroke_point_values.h"

#include <memory>

#include "engine/foundation/status.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

int fill_table(LineWork& work) {
  for (const DynArray<PointRecord>* run : work.point_runs) {
    auto values = std::make_unique<DynArray<std::uint32_t>>();
    if (run != nullptr) {
      if (!values->reserve(run->size())) return kOutOfMemory;
      for (const PointRecord& p : *run) values->push_back(point_value(p.point));
    }
    if (work.point_values.push_back_owned(std::move(values)) != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace

const PtrArray<DynArray<std::uint32_t>>* stroke_point_values(LineWork& work) {
  if (work.point_values.size() == work.point_runs.size()) return &work.point_values;
  work.point_values.clear();
  if (fill_table(work) == kOk) return &work.point_values;
  work.point_values.clear();
  return nullptr;
}

}  // namespace inkrec
