#include "engine/segmentation/pair_relations.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"
#include "engine/records/letter_result.h"
#include "engine/records/run_kernel.h"
#include "engine/segmentation/pair_merge.h"
#include "engine/segmentation/pair_merge_geometry.h"

namespace inkrec {
namespace {

constexpr std::int32_t kNoMeasure = 32767;

bool stopped(const FragmentState& state) { return state.context.kernel().stop_flag(); }

// Whether a figure of one result is cut from a stroke a figure of the
// other is: 0 with *shared, 4034 at the stop flag, -2 at a null figure.
int share_a_stroke(const FragmentState& state, const FigureGroup& a, const FigureGroup& b,
                   bool* shared) {
  *shared = false;
  for (const FigureRecord* fa : a.figures) {
    if (fa == nullptr) return kBadArgument;
    for (const FigureRecord* fb : b.figures) {
      if (stopped(state)) return kStopped;
      if (fb == nullptr) return kBadArgument;
      if (fa->stroke_index == fb->stroke_index) {
        *shared = true;
        return kOk;
      }
    }
  }
  return kOk;
}

bool has_readings(const FigureGroup& group) {
  return group.has_answers() ||
         (group.composites != nullptr && !group.composites->answers().empty());
}

PairRelation* relation_with(FigureGroup& result, std::uint32_t other) {
  for (PairRelation& relation : result.relations) {
    if (relation.other == other) return &relation;
  }
  return nullptr;
}

// The line's result with that id, searched from the end.
FigureGroup* last_result_with_id(TextLine& line, std::int32_t id) {
  for (std::uint32_t k = line.letter_results.size(); k > 0; --k) {
    LetterResult* result = line.letter_results[k - 1];
    if (result != nullptr && result_id(*result) == id) return result;
  }
  return nullptr;
}

struct Bounds {
  std::int32_t low = 32767;
  std::int32_t high = 0;
  void take(std::int32_t measure) {
    low = std::min(low, measure);
    high = std::max(high, measure);
  }
};

int relate_to_all(FragmentState& state, FigureGroup& result, Bounds& bounds) {
  for (LetterResult* other : state.line.letter_results) {
    if (stopped(state)) return kStopped;
    if (other == nullptr) return kBadArgument;
    if (other == &result) continue;
    std::int32_t measure = kNoMeasure;
    std::uint8_t found = 0;
    std::uint32_t kinds = 0;
    if (const int status = record_pair_relation(state, result, *other, &measure, &found, &kinds);
        status != kOk) {
      return status;
    }
    if (found != 0 && (kinds & kStacked) != 0) bounds.take(measure);
  }
  return kOk;
}

int relate_to_one(FragmentState& state, FigureGroup& result, std::int32_t index, Bounds& bounds) {
  FigureGroup* other = last_result_with_id(state.line, index);
  if (other == nullptr) return kBadArgument;
  std::int32_t measure = kNoMeasure;
  std::uint8_t found = 0;
  std::uint32_t kinds = 0;
  if (const int status = record_pair_relation(state, result, *other, &measure, &found, &kinds);
      status != kOk) {
    return status;
  }
  if (found != 0 && (kinds & kStacked) != 0) bounds.low = bounds.high = measure;
  return kOk;
}

// The stacked relations appended from `first_new` on pay for lying
// farther than the best of the line.
void charge_new_relations(FigureGroup& result, std::uint32_t first_new, std::int32_t index,
                          const Bounds& bounds) {
  const std::int32_t top = std::max<std::int32_t>(result.relation_high, 30);
  for (std::uint32_t k = first_new; k < result.relations.size(); ++k) {
    PairRelation& relation = result.relations[k];
    if ((relation.kinds & kStacked) == 0) continue;
    if (index == -1) {
      relation.penalty -= ClampedRamp(bounds.low, 0, true, top, 900, true).value_at(relation.measure);
      result.relation_low = static_cast<std::int16_t>(bounds.low);
      result.relation_high = static_cast<std::int16_t>(bounds.high);
    } else {
      relation.penalty -=
          ClampedRamp(result.relation_low, 0, true, top, 900, false).value_at(relation.measure);
    }
  }
}

}  // namespace

int pair_relation_pass(FragmentState& state, std::int32_t index) {
  for (LetterResult* result : state.line.letter_results) {
    if (stopped(state)) return kStopped;
    if (result == nullptr) return kBadArgument;
    if (!has_readings(*result)) continue;
    if (const int status = update_pair_relations(state, *result, index); status != kOk) {
      return status;
    }
  }
  return kOk;
}

int update_pair_relations(FragmentState& state, FigureGroup& result, std::int32_t index) {
  const std::uint32_t first_new = result.relations.size();
  Bounds bounds;
  const int status = index == -1 ? relate_to_all(state, result, bounds)
                                 : relate_to_one(state, result, index, bounds);
  if (status != kOk) return status;
  charge_new_relations(result, first_new, index, bounds);
  return kOk;
}

int record_pair_relation(FragmentState& state, FigureGroup& result, FigureGroup& other,
                         std::int32_t* measure, std::uint8_t* found, std::uint32_t* kinds) {
  if (measure == nullptr || found == nullptr || kinds == nullptr) return kBadArgument;
  *found = 0;
  *kinds = 0;
  *measure = kNoMeasure;
  bool shared = false;
  if (const int status = share_a_stroke(state, result, other, &shared); status != kOk || shared) {
    return status;
  }
  std::int32_t penalty = 0;
  if (const int status = test_pair_merge(state, other, result, nullptr, found, &penalty, kinds);
      status != kOk || *found == 0) {
    return status;
  }
  const auto id = static_cast<std::uint32_t>(result_id(other));
  PairRelation* relation = relation_with(result, id);
  if (relation == nullptr) {
    std::int32_t angle = kNoMeasure;
    if ((*kinds & kStacked) != 0) {
      if (const int status = bottom_link_angle(state, result, other, &angle); status != kOk) {
        return status;
      }
    }
    if (result.relations.push_back(PairRelation{id, 0, 0, angle}) != kOk) return kOutOfMemory;
    relation = &result.relations[result.relations.size() - 1];
  }
  relation->kinds |= *kinds;
  *measure = relation->measure;
  return kOk;
}

}  // namespace inkrec
