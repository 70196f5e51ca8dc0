// The RAF features of one figure group: its figures' runs through the two
// normalising passes, both deslanted by the group's own vertical direction,
// as training computes the features of a sample, so that what is
// recognised and what was trained compare.

#include "engine/analysis/group_rafs.h"

#include "engine/analysis/figure_rafs.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"

namespace inkrec {

int compute_group_rafs(RafContext& context, const FigureGroup& group, const DynArray<Raf>& rafs,
                       bool, int) {
  DynArray<PointRun*> runs;
  if (const int status = group_run_list(group, runs); status != kOk) return status;
  FigureRafOptions options;
  if (group.geometry != nullptr) {
    options.slant = group.geometry->direction.vertical_direction;
    options.angle = options.slant;
  }
  return compute_figure_rafs(context, rafs, runs.span(), options);
}

}  // namespace inkrec
