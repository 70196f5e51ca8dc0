#include "engine/segmentation/composite_letters.h"

#include <algorithm>
#include <vector>

#include "engine/database/data_records.h"
#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"
#include "engine/segmentation/letter_case.h"
#include "engine/segmentation/pair_merge.h"
#include "engine/segmentation/pair_relations.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kNeverUsedRule = 2;
// A part's reading is tried when it is this good or among the first of its
// list; a reading under it costs the composite the difference.
constexpr std::int32_t kConfidentTotal = 5600;
constexpr std::uint32_t kLeadingReadings = 3;
// A result holding this many readings takes a composite reading only when
// it beats the last of them.
constexpr std::uint32_t kFullList = 10;

bool standing(const Answer& reading) { return reading.state != Answer::kStateRejected; }

bool has_readings(const FigureGroup& result) {
  return result.has_answers() ||
         (result.composites != nullptr && !result.composites->answers().empty());
}

// The best total among the result's standing readings of the rule's first
// part; false when it has none.
bool first_part_total(const FigureGroup& result, const ComplexVariant& rule,
                      std::int32_t* total) {
  bool found = false;
  for (const AnswerList* list : {result.answers, result.composites}) {
    if (list == nullptr) continue;
    for (const Answer& reading : list->answers()) {
      if (!standing(reading) || !reading_is_first_part(rule, reading)) continue;
      *total = found ? std::max(*total, reading.total()) : reading.total();
      found = true;
    }
  }
  return found;
}

// What a chosen part's reading of the second part costs the composite: how
// far it falls short of a confident reading.
std::int32_t part_shortfall(std::int32_t total) { return std::max(0, kConfidentTotal - total); }

bool rule_applies(const ComplexVariant& rule, const RequestSwitches& switches) {
  return rule.kind != kNeverUsedRule && (rule.pass_flag == 0 || switches.pass());
}

// A related result accepted as a second part beside the first, with the
// penalty the merge test gave the pair.
struct Part {
  LetterResult* result;
  std::int32_t value;
};

// The composites of one rule over one first part: the parts collected,
// then every choice of the rule's count of them with disjoint figures,
// depth first in the order collected.
class CompositeSearch {
 public:
  CompositeSearch(FragmentState& state, GroupEvaluations& evaluations, LetterResult& first,
                  const ComplexVariant& rule, std::int32_t first_total)
      : state_(state),
        evaluations_(evaluations),
        first_(first),
        rule_(rule),
        first_total_(first_total) {}

  int run(const BitSet& naming) {
    int status = collect_parts(naming);
    if (status != kOk || parts_.empty()) return status;
    if ((status = chosen_.assign(first_.members)) != kOk) return status;
    box_ = first_.box;
    return choose(0, 0);
  }

 private:
  bool stopped() const { return state_.context.kernel().stop_flag(); }

  int collect_parts(const BitSet& naming) {
    for (BitSetIterator i(naming); !i.at_end(); i.advance()) {
      if (stopped()) return kStopped;
      LetterResult* other = state_.line.letter_results.item_checked(i.value());
      if (other == nullptr) return kBadArgument;
      bool taken = false;
      for (const AnswerList* list : {other->answers, other->composites}) {
        if (list == nullptr || taken) continue;
        if (const int status = test_list(*list, *other, &taken); status != kOk) return status;
      }
    }
    return kOk;
  }

  // The first reading of the list that may be the second part and that the
  // merge test accepts makes the result a part.
  int test_list(const AnswerList& list, LetterResult& other, bool* taken) {
    const DynArray<Answer>& readings = list.answers();
    for (std::uint32_t r = 0; r < readings.size(); ++r) {
      const Answer& reading = readings[r];
      if (!standing(reading) || !reading_is_second_part(rule_, reading)) continue;
      if (reading.total() < kConfidentTotal && r >= kLeadingReadings) continue;
      std::uint8_t merge = 0;
      std::int32_t penalty = 0;
      std::uint32_t kinds = 0;
      if (const int status = test_pair_merge(state_, first_, other, &rule_, &merge, &penalty, &kinds);
          status != kOk) {
        return status;
      }
      if (merge == 0) continue;
      parts_.push_back(Part{&other, penalty});
      *taken = true;
      return kOk;
    }
    return kOk;
  }

  // Every part from `from` on whose figures are not chosen yet, once for
  // each of its readings of the second part.
  int choose(std::size_t from, std::uint32_t depth) {
    for (std::size_t e = from; e < parts_.size(); ++e) {
      if (stopped()) return kStopped;
      const LetterResult& part = *parts_[e].result;
      if (part.members.intersects(chosen_)) continue;
      for (const AnswerList* list : {part.answers, part.composites}) {
        if (list == nullptr) continue;
        const DynArray<Answer>& readings = list->answers();
        for (std::uint32_t r = 0; r < readings.size(); ++r) {
          if (!standing(readings[r]) || !reading_is_second_part(rule_, readings[r])) continue;
          if (const int status = take_part(e, readings[r].total(), depth); status != kOk) {
            return status;
          }
        }
      }
    }
    return kOk;
  }

  // Part e read with a reading of that total joins the choice; the choice
  // is complete at the rule's count, else grows from the following parts.
  int take_part(std::size_t e, std::int32_t total, std::uint32_t depth) {
    const LetterResult& part = *parts_[e].result;
    BitSet before;
    int status = before.assign(chosen_);
    if (status == kOk) status = chosen_.unite(part.members);
    if (status != kOk) return status;
    const Box16 box = box_;
    shortfall_ += part_shortfall(total);
    penalty_ += parts_[e].value;
    box_.unite(part.box);
    status = depth + 1 >= rule_.cnt ? add_composite_answer() : choose(e + 1, depth + 1);
    shortfall_ -= part_shortfall(total);
    penalty_ -= parts_[e].value;
    box_ = box;
    chosen_.swap(before);
    return status;
  }

  int add_composite_answer() {
    LetterResult* result = nullptr;
    int status = evaluations_.evaluate(chosen_, EvaluationReason::kComposite, true, &result);
    if (status != kOk || result == nullptr) return status;
    const std::int32_t score = letter_score();
    const DynArray<Answer>& held = result->answers->answers();
    if (held.size() >= kFullList && held[held.size() - 1].total() > penalty_ + score + 1) {
      return kOk;
    }
    Answer answer;
    if ((status = composite_answer(score, &answer)) != kOk) return status;
    result->box = box_;
    AnswerList& list = rule_.symbol_id != 0 ? *result->answers : *result->composites;
    if ((status = list.insert(answer)) != kOk) return status;
    return pair_relation_pass(state_, result_id(*result));
  }

  // The first part's reading, less what the chosen parts' readings cost,
  // held to 0..10000.
  std::int32_t letter_score() const {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{first_total_} - shortfall_, 0, 10000));
  }

  int composite_answer(std::int32_t score, Answer* answer) const {
    const DataStore* store = state_.context.kernel().data_store();
    const Symb* symbol = store == nullptr ? nullptr : store->find_symb(rule_.symbol_id);
    if (symbol == nullptr) return kBadArgument;
    *answer = Answer::from_code(symbol->code);
    answer->codes[1] = symbol->third_code == 0 ? symbol->code : symbol->third_code;
    answer->codes[2] = symbol->second_code == 0 ? symbol->code : symbol->second_code;
    answer->set_component(Answer::kLetterScore, score);
    answer->set_component(Answer::kMakerScore, penalty_ + 1);
    answer->key = rule_.id;
    answer->kind = 1;
    answer->state = Answer::kStateFirst;
    answer->box_flag = 1;
    answer->case_kind = case_kind_of(*answer);
    return kOk;
  }

  FragmentState& state_;
  GroupEvaluations& evaluations_;
  LetterResult& first_;
  const ComplexVariant& rule_;
  std::vector<Part> parts_;
  BitSet chosen_;
  const std::int32_t first_total_;
  Box16 box_;
  std::int64_t shortfall_ = 0;
  std::int32_t penalty_ = 0;
};

int compose_for(FragmentState& state, GroupEvaluations& evaluations, std::uint32_t k) {
  LetterResult* first = state.line.letter_results.item_checked(k);
  if (first == nullptr) return kBadArgument;
  if (!has_readings(*first)) return kOk;
  BitSet naming;
  if (const int status = collect_results_naming_group(state, k, naming); status != kOk) {
    return status;
  }
  if (naming.is_empty()) return kOk;
  RunKernel& kernel = state.context.kernel();
  const RequestSwitches switches(kernel.params());
  for (const ComplexVariant* rule : kernel.composite_rules()) {
    if (rule == nullptr) return kBadArgument;
    if (!rule_applies(*rule, switches) || naming.count() < rule->cnt) continue;
    std::int32_t first_total = 0;
    if (!first_part_total(*first, *rule, &first_total)) continue;
    CompositeSearch search(state, evaluations, *first, *rule, first_total);
    if (const int status = search.run(naming); status != kOk) return status;
  }
  return kOk;
}

}  // namespace

int collect_results_naming_group(FragmentState& state, std::uint32_t k, BitSet& out) {
  const PtrArray<LetterResult>& results = state.line.letter_results;
  const LetterResult* named = results.item_checked(k);
  if (named == nullptr) return kBadArgument;
  const auto id = static_cast<std::uint32_t>(result_id(*named));
  for (std::uint32_t i = 0; i < results.size(); ++i) {
    if (state.context.kernel().stop_flag()) return kStopped;
    const LetterResult* result = results[i];
    if (result == nullptr) return kBadArgument;
    const bool names = std::any_of(result->relations.begin(), result->relations.end(),
                                   [id](const PairRelation& r) { return r.other == id; });
    if (names) {
      if (const int status = out.set(i); status != kOk) return status;
    }
  }
  return kOk;
}

// The results this step makes are visited too: a composite reading placed
// on a new figure set may be the first part of a rule over composites (mode
// 1, as a letter with two kinds of mark). Each set is evaluated once and
// holds more figures than the parts it is made of, so the line ends.
int compose_letters(FragmentState& state, GroupEvaluations& evaluations) {
  for (std::uint32_t k = 0; k < state.line.letter_results.size(); ++k) {
    if (state.context.kernel().stop_flag()) return kStopped;
    if (const int status = compose_for(state, evaluations, k); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
