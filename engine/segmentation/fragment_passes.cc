#include "engine/segmentation/fragment_passes.h"

#include "engine/foundation/status.h"
#include "engine/records/reading_order.h"
#include "engine/records/request_switches.h"
#include "engine/rules/letter_rules.h"
#include "engine/segmentation/group_cover.h"
#include "engine/segmentation/hypothesis_graph.h"
#include "engine/segmentation/reference_heights.h"
#include "engine/segmentation/reference_lines.h"

namespace inkrec {
namespace {

// The line's results in the group order: by least position, then the
// better reading first.
int sort_line_results(TextLine& line) {
  PtrArray<LetterResult>& results = line.letter_results;
  const auto count = static_cast<std::int32_t>(results.size());
  if (reading_order_detail::check(results.data(), count) != kOk) return kBadArgument;
  sort_pointer_array(results.data(), count, [](const LetterResult* x, const LetterResult* y) {
    return group_comes_after(*x, *y);
  });
  return kOk;
}

// The first sweep's passes: the line's letter results and their rules.
int build_letter_results(FragmentState& state) {
  int status = kOk;
  if ((status = estimate_fragment_sizes(state)) != kOk) return status;
  if ((status = order_fragment_candidates(state)) != kOk) return status;
  if ((status = build_hypothesis_graph(state)) != kOk) return status;
  if ((status = sort_line_results(state.line)) != kOk) return status;
  return apply_letter_rules_to_all(state);
}

}  // namespace

int run_fragment_passes(FragmentState& state, bool build) {
  const RunKernel& kernel = state.context.kernel();
  if (kernel.stop_flag()) return kStopped;
  if (state.line.candidates.empty()) return kOk;
  int status = kOk;
  if (build && (status = build_letter_results(state)) != kOk) return status;
  if (kernel.stop_flag()) return kStopped;
  if ((status = collect_fragment_results(state)) != kOk) return status;
  if (kernel.stop_flag()) return kStopped;
  if (!RequestSwitches(kernel.params()).skip_reference_lines() &&
      (status = estimate_reference_lines(state)) != kOk) {
    return status;
  }
  if (kernel.stop_flag()) return kStopped;
  status = compute_reference_heights(state.chosen_results, state.line);
  return kernel.stop_flag() ? kStopped : status;
}

}  // namespace inkrec
