#include "engine/segmentation/group_evaluations.h"

#include <memory>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/line_group.h"

namespace inkrec {

GroupEvaluations::GroupEvaluations(FragmentState& state) : state_(state) {
  for (LetterResult* result : state.line.letter_results) {
    if (result != nullptr) done_.emplace(key_of(result->members), Outcome{result, false});
  }
}

GroupEvaluations::Key GroupEvaluations::key_of(const BitSet& set) {
  return Key(set.words().begin(), set.words().end());
}

LetterResult* GroupEvaluations::find(const BitSet& set) const {
  const auto found = done_.find(key_of(set));
  return found == done_.end() ? nullptr : found->second.result;
}

bool GroupEvaluations::evaluated(const BitSet& set) const {
  return done_.find(key_of(set)) != done_.end();
}

int GroupEvaluations::evaluate(const BitSet& set, EvaluationReason reason, bool composite,
                               LetterResult** out) {
  if (out != nullptr) *out = nullptr;
  const auto found = done_.find(key_of(set));
  const bool judged_again = found != done_.end() && found->second.result == nullptr &&
                            composite && !found->second.composite;
  if (found != done_.end() && !judged_again) {
    if (out != nullptr) *out = found->second.result;
    return kOk;
  }
  return judge(set, reason, composite, out);
}

int GroupEvaluations::judge(const BitSet& set, EvaluationReason reason, bool composite,
                            LetterResult** out) {
  if (state_.context.kernel().stop_flag()) return kStopped;
  LetterResult* result = nullptr;
  int status = evaluate_stroke_group(state_, set, composite, &result);
  if (status == kRejected && set.count() == 1) status = add_unread_figure(set, &result);
  if (status != kOk && status != kRejected) return status;
  ++evaluations_;
  if (result != nullptr) result->reason = static_cast<std::int32_t>(reason);
  done_.insert_or_assign(key_of(set), Outcome{result, composite});
  if (out != nullptr) *out = result;
  return kOk;
}

int GroupEvaluations::add_unread_figure(const BitSet& set, LetterResult** out) {
  std::uint32_t body = 0;
  set.lowest_bit(&body);
  TextLine& line = state_.line;
  FigureRecord* figure = find_figure_by_body_index(line.candidates, static_cast<std::uint16_t>(body));
  if (figure == nullptr) return kBadArgument;
  auto result = std::make_unique<LetterResult>();
  int status = result->figures.push_back(figure);
  if (status == kOk) status = result->geometry->copy(figure->geometry);
  if (status == kOk) status = result->members.assign(set);
  if (status == kOk && figure->position != kNoKey16) status = result->coverage.set(figure->position);
  if (status != kOk) return status;
  result->box = figure->geometry.bounding_box();
  result->own_line = figure->own_line;
  if (link_field_2(*figure) >= 0) result->flags |= FigureGroup::kSecondLinkSet;
  if (link_field_1(*figure) >= 0) result->flags |= FigureGroup::kFirstLinkSet;
  result->index = static_cast<std::int32_t>(line.letter_results.size());
  LetterResult* made = result.get();
  if (line.letter_results.push_back_owned(std::move(result)) != kOk) return kOutOfMemory;
  *out = made;
  const std::uint32_t group = line_group_of(*figure);
  return group == 0xFFFF ? kOk : line_group_add_element(line.word_groups, group, *made);
}

}  // namespace inkrec
