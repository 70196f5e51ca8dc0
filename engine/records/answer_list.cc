// Answers and AnswerList: construction, insertion with pruning, rewriting,
// cost changes, classification with the keep rules, and output.

#include "engine/records/answer_list.h"

#include <algorithm>

#include "engine/database/active_tables.h"
#include "engine/database/data_records.h"
#include "engine/database/property_flags.h"
#include "engine/database/spec_pairs.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"

namespace inkrec {

namespace {

// A code count as a length within the three-code lists.
std::size_t list_length(std::uint8_t count) { return std::min<std::size_t>(count, 3); }

}  // namespace

Answer::Answer(const CandidateMarks& candidate, const Symb& symbol, const SegmentReading& reading,
               std::int32_t score, std::int32_t maker_score)
    : kind(1),
      flag(candidate.flag),
      code_count(reading.code_count),
      key(reading.key),
      mask(reading.mask) {
  components[kLetterScore] = std::clamp(score, 0, kPerfectScore);
  components[kMakerScore] = maker_score;
  std::copy(std::begin(reading.code_list), std::end(reading.code_list), code_list);
  std::copy(std::begin(candidate.box), std::end(candidate.box), source_box);
  codes[0] = symbol.code;
  codes[1] = symbol.third_code;
  codes[2] = symbol.second_code;
}

Answer Answer::from_code(std::uint16_t code) {
  Answer answer;
  std::fill(std::begin(answer.codes), std::end(answer.codes), code);
  return answer;
}

Answer Answer::from_segment(const SegmentReading& reading, const std::int8_t (&source)[4]) {
  Answer answer;
  answer.kind = 0;
  answer.key = reading.key;
  answer.flag = reading.flag == 1 ? 1 : 0;
  answer.code_count = reading.code_count;
  std::copy(std::begin(reading.code_list), std::end(reading.code_list), answer.code_list);
  answer.source_word = reading.value;
  answer.mask = reading.mask;
  std::copy(std::begin(reading.codes), std::end(reading.codes), answer.codes);
  std::copy(std::begin(reading.codes), std::end(reading.codes), answer.saved_codes);
  for (int k = 0; k < 4; ++k) answer.source_box[k] = static_cast<std::uint16_t>(source[k]);
  return answer;
}

void Answer::add_component(int k, std::int32_t v) {
  components[k] = saturate_int32(std::int64_t{components[k]} + v);
}

void Answer::reset_scores() {
  std::fill(std::begin(components), std::end(components), 0);
  components[kPenaltyComponent] = -1;
}

std::span<const std::uint16_t> Answer::output_codes(bool saved) const {
  if (code_count < 2) return {saved ? &saved_codes[0] : &codes[0], 1};
  if (!saved) return {code_list, list_length(code_count)};
  if (saved_count > 1) return {code_list, list_length(saved_count)};
  return {&saved_codes[0], 1};
}

namespace {

// The second (k = 1) or third (k = 2) output of an answer.
std::span<const std::uint16_t> later_output(const Answer& a, int k, bool saved) {
  const bool use_saved = saved && a.saved_codes[k] != 0 && a.saved_codes[k] != a.codes[k];
  if (a.code_count > 1 && !use_saved) return {a.code_list, list_length(a.code_count)};
  if (use_saved && a.saved_count > 1) return {a.saved_list, list_length(a.saved_count)};
  return {use_saved ? &a.saved_codes[k] : &a.codes[k], 1};
}

}  // namespace

std::span<const std::uint16_t> Answer::output_codes_2(bool saved) const {
  return later_output(*this, 1, saved);
}

std::span<const std::uint16_t> Answer::output_codes_3(bool saved) const {
  return later_output(*this, 2, saved);
}

int AnswerList::assign(const AnswerList& other) {
  if (answers_.assign(other.answers_) != kOk) return kOutOfMemory;
  limit_ = other.limit_;
  unlimited_ = other.unlimited_;
  seen_codes_ = other.seen_codes_;
  return kOk;
}

int AnswerList::insert(const Answer& answer) {
  const std::int64_t t = answer.total();
  if (refused_as_weak(answers_, t)) return kOk;
  const std::uint32_t n = answers_.size();
  std::uint32_t p = 0;
  for (; p < n && answers_[p].total() >= t; ++p) {
    if (answers_[p].key == answer.key) return kOk;
  }
  return place_ranked(answers_, p, answer, limit_, KeyCheck::kLook);
}

int AnswerList::insert_into_sorted(const Answer& answer, KeyCheck keys) {
  return insert_ranked(answers_, answer, limit_, keys);
}

int AnswerList::erase(std::uint32_t i, std::uint32_t n) { return answers_.erase(i, n); }

int AnswerList::insert_at(std::uint32_t i, const Answer& answer) {
  return inkrec::insert_at(answers_, i, answer);
}

int AnswerList::find(std::uint16_t key, std::uint8_t kind) const {
  for (std::uint32_t i = 0; i < answers_.size(); ++i) {
    if (answers_[i].key == key && answers_[i].kind == kind) return static_cast<int>(i);
  }
  return -1;
}

std::uint16_t AnswerList::best_code() const { return answers_.empty() ? 0 : answers_[0].codes[0]; }

std::int32_t AnswerList::best_total() const { return answers_.empty() ? 0 : answers_[0].total(); }

int AnswerList::set_code_choice(std::uint32_t i, std::uint32_t choice) {
  Answer* answer = answers_.item_checked(i);
  if (answer == nullptr) return kBadArgument;
  answer->code_choice = choice;
  if (choice == 1 && answer->codes[2] != 0) answer->codes[0] = answer->codes[2];
  if (choice == 2 && answer->codes[1] != 0) answer->codes[0] = answer->codes[1];
  return kOk;
}

namespace {

constexpr std::uint32_t kKeepRuleWord = 0xFFFFFFFF;

void take_saved_list(Answer& answer, const std::uint16_t* list) {
  if (list == nullptr) return;
  answer.saved_list[0] = list[0];
  answer.saved_list[1] = list[1];
}

}  // namespace

int AnswerList::rewrite_entry(std::uint32_t i, std::uint16_t code1, std::uint16_t code3,
                              std::uint16_t code2, std::uint32_t word, std::int32_t penalty,
                              std::uint8_t count, const std::uint16_t* list) {
  if (answers_.empty()) return kOk;
  Answer* answer = answers_.item_checked(i);
  if (answer == nullptr) return kBadArgument;
  if (word != kKeepRuleWord) answer->rule_word = word;
  std::copy(std::begin(answer->codes), std::end(answer->codes), answer->saved_codes);
  answer->saved_count = answer->code_count;
  if (answer->code_count > 1) {
    std::copy(std::begin(answer->code_list), std::end(answer->code_list), answer->saved_list);
  }
  answer->add_component(Answer::kPenaltyComponent, penalty);
  answer->codes[0] = code1;
  answer->codes[1] = code2;
  answer->codes[2] = code3;
  answer->code_count = count;
  take_saved_list(*answer, list);
  return kOk;
}

int AnswerList::rewrite_entry_alt(std::uint32_t i, std::uint16_t code1, std::uint16_t code3,
                                  std::uint16_t code2, std::uint32_t word, std::int32_t penalty,
                                  std::uint8_t count, const std::uint16_t* list) {
  if (answers_.empty()) return kOk;
  Answer* answer = answers_.item_checked(i);
  if (answer == nullptr) return kBadArgument;
  if (word != kKeepRuleWord) answer->rule_word = word;
  answer->add_component(Answer::kPenaltyComponent, penalty);
  answer->saved_codes[0] = code1;
  answer->saved_codes[1] = code2;
  answer->saved_codes[2] = code3;
  answer->saved_count = count;
  take_saved_list(*answer, list);
  return kOk;
}

namespace {

// Sets the cost component so that the total moves by delta, held to
// 10 - i .. 10000 - i.
void move_total(Answer& answer, std::int32_t delta, std::uint32_t i) {
  std::int64_t t = std::int64_t{answer.total()} + delta;
  if (t < 10) t = 10 - std::int64_t{i};
  if (t > 9990) t = Answer::kPerfectScore - std::int64_t{i};
  const std::int64_t others =
      std::int64_t{answer.total()} - answer.components[Answer::kCostAdjustment];
  answer.components[Answer::kCostAdjustment] = saturate_int32(t - others);
}

}  // namespace

int AnswerList::add_cost_where(std::int32_t delta, const PropertyFlags& filter) {
  if (filter.is_empty()) {
    for (std::uint32_t i = 0; i < answers_.size(); ++i) move_total(answers_[i], delta, i);
    return kOk;
  }
  // The walk goes over the answers as they were, so that an answer that
  // moves on reinsertion is neither changed twice nor passed over.
  DynArray<Answer> before;
  if (before.assign(answers_) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < before.size(); ++i) {
    const Answer& original = before[i];
    if (original.kind == 0 && !filter.any(original.mask)) continue;
    const auto live = std::find_if(answers_.begin(), answers_.end(),
                                   [&](const Answer& a) { return a == original; });
    if (live == answers_.end()) continue;  // displaced by an earlier reinsertion
    Answer changed = original;
    move_total(changed, delta, i);
    if (const int status = erase(static_cast<std::uint32_t>(live - answers_.begin()), 1);
        status != kOk) {
      return status;
    }
    if (const int status = insert(changed); status != kOk) return status;
  }
  return kOk;
}

int AnswerList::reinsert_penalized(std::uint32_t i, std::int32_t delta, std::uint32_t word) {
  const Answer* answer = answers_.item_checked(i);
  if (answer == nullptr) return kBadArgument;
  Answer changed = *answer;
  changed.add_component(Answer::kReinsertAdjustment, delta);
  changed.rule_word = word;
  answers_.erase(i, 1);
  return insert(changed);
}

namespace {

// Conditions on the group that some pairs of segment answers need.
enum class GroupCondition {
  kPiecePositive,
  kPieceNonZero,
  kOneFigurePiecePositive,
  kOneFigurePieceNonZero,
  kOneFigurePieceZero,
  kNotSingle,
  kStartsAfterFirstPoint,
  kBandAboveLowerQuarter,
};

struct KeepCondition {
  std::uint16_t reference_key;
  std::uint16_t answer_key;
  GroupCondition condition;
};

using enum GroupCondition;

constexpr KeepCondition kKeepConditions[] = {
    {252, 11055, kPiecePositive},
    {254, 61, kOneFigurePieceNonZero},
    {254, 63, kOneFigurePieceNonZero},
    {254, 67, kOneFigurePieceNonZero},
    {254, 166, kOneFigurePieceNonZero},
    {254, 167, kOneFigurePieceNonZero},
    {254, 170, kOneFigurePieceNonZero},
    {254, 325, kOneFigurePieceNonZero},
    {254, 5495, kOneFigurePieceNonZero},
    {323, 157, kPiecePositive},
    {323, 251, kPiecePositive},
    {325, 170, kPiecePositive},
    {361, 65, kPiecePositive},
    {388, 249, kPieceNonZero},
    {561, 595, kOneFigurePiecePositive},
    {563, 718, kNotSingle},
    {566, 592, kStartsAfterFirstPoint},
    {568, 718, kNotSingle},
    {675, 627, kOneFigurePiecePositive},
    {675, 778, kOneFigurePiecePositive},
    {1035, 763, kOneFigurePieceNonZero},
    {1048, 252, kPiecePositive},
    {5491, 183, kPiecePositive},
    {5495, 166, kPieceNonZero},
    {11184, 849, kOneFigurePieceNonZero},
    {11184, 763, kOneFigurePieceNonZero},
    {67, 170, kOneFigurePieceNonZero},
    {96, 167, kPieceNonZero},
    {96, 501, kBandAboveLowerQuarter},
    {100, 166, kPieceNonZero},
    {101, 61, kPiecePositive},
    {130, 183, kPiecePositive},
    {134, 183, kPiecePositive},
    {137, 183, kPiecePositive},
    {138, 183, kPiecePositive},
    {139, 183, kPiecePositive},
    {170, 183, kPiecePositive},
    {175, 130, kOneFigurePieceZero},
    {175, 131, kOneFigurePieceZero},
    {175, 133, kOneFigurePieceZero},
    {175, 139, kOneFigurePieceZero},
    {183, 1571, kOneFigurePieceNonZero},
    {183, 5517, kOneFigurePieceNonZero},
    {194, 183, kOneFigurePieceNonZero},
    {248, 65, kPiecePositive},
    {248, 170, kPiecePositive},
    {250, 325, kOneFigurePieceNonZero},
    {251, 166, kOneFigurePieceNonZero},
    {251, 170, kOneFigurePieceNonZero},
    {251, 324, kOneFigurePieceNonZero},
    {251, 5495, kOneFigurePieceNonZero},
};

bool group_meets(const FigureGroup* group, GroupCondition condition) {
  if (group == nullptr) return false;
  if (condition == kNotSingle) return group->single == 0;
  if (condition == kBandAboveLowerQuarter) {
    if (group->geometry == nullptr) return false;
    const Box16 box = group->geometry->bounding_box();
    const int band_bottom = group->geometry->reference_band().bottom;
    return band_bottom < box.bottom - (box.bottom - box.top) / 4;
  }
  const FigureRecord* first = group->figures.front();
  if (first == nullptr) return false;
  const auto piece = static_cast<std::int16_t>(first->piece);
  const bool one_figure = group->figures.size() == 1;
  switch (condition) {
    case kPiecePositive:
      return piece > 0;
    case kPieceNonZero:
      return piece != 0;
    case kOneFigurePiecePositive:
      return one_figure && piece > 0;
    case kOneFigurePieceNonZero:
      return one_figure && piece != 0;
    case kOneFigurePieceZero:
      return one_figure && piece == 0;
    case kStartsAfterFirstPoint:
      return static_cast<std::int16_t>(first->first_point) >= 1;
    default:
      return false;
  }
}

// The rule entry for answer key b under reference key a in the selection.
const SpecPair* find_keep_rule(const PtrArray<const SpecPairsEntry>& selection, std::uint16_t a,
                               std::uint16_t b) {
  for (const SpecPairsEntry* table : selection) {
    if (table == nullptr) continue;
    const SpecPairGroup* group = lower_bound_by_id(table->groups, a);
    if (group == nullptr) continue;
    for (const SpecPair& pair : group->pairs) {
      if (pair.variant2 == b) return &pair;
    }
  }
  return nullptr;
}

}  // namespace

bool answer_kept(const ActiveSpecPairs* rules, const Answer& a, const Answer& b,
                 const FigureGroup* group) {
  if (rules == nullptr) return false;
  const PtrArray<const SpecPairsEntry>* selections[] = {&rules->ss, &rules->sc, &rules->cs,
                                                        &rules->cc};
  const int selection = (a.kind != 0 ? 1 : 0) + (b.kind != 0 ? 2 : 0);
  const SpecPair* rule = find_keep_rule(*selections[selection], a.key, b.key);
  if (rule == nullptr) return false;
  const std::int64_t ta = a.total();
  const std::int64_t tb = b.total();
  const std::int16_t margin = rule->max_delta;
  const std::int16_t threshold = rule->min_measure;
  if (margin >= 0 && ta - tb >= margin) return false;
  if (threshold >= 0 && !(threshold >= 1 && tb > threshold)) return false;
  if (a.kind != 0 || b.kind != 0) return true;
  for (const KeepCondition& keep : kKeepConditions) {
    if (keep.reference_key == a.key && keep.answer_key == b.key) {
      return group_meets(group, keep.condition);
    }
  }
  return true;
}

bool AnswerList::code_seen(std::uint16_t code) const {
  return seen_codes_ != nullptr && code < seen_codes_->size() && (*seen_codes_)[code] != 0;
}

void AnswerList::mark_code(std::uint16_t code) {
  if (seen_codes_ != nullptr && code < seen_codes_->size()) (*seen_codes_)[code] = 1;
}

void AnswerList::classify(const ActiveSpecPairs* rules, const Answer* reference,
                          const FigureGroup* group, std::int32_t score_limit,
                          std::int32_t margin) {
  if (answers_.empty()) return;
  if (seen_codes_ != nullptr) std::fill(seen_codes_->begin(), seen_codes_->end(), 0);
  if (score_limit == 0) score_limit = kDefaultClassifyLimit;
  // The reference may be one of this list's answers; classifying changes
  // states only, so its total stays.
  const Answer& ref = reference != nullptr ? *reference : answers_[0];
  const std::int64_t ref_total = ref.total();
  std::uint32_t accepted = 0;
  for (std::uint32_t i = 0; i < answers_.size(); ++i) {
    Answer& answer = answers_[i];
    answer.state = code_seen(answer.codes[1]) ? Answer::kStateAnother : Answer::kStateFirst;
    if (!answer_kept(rules, ref, answer, group)) {
      const std::int64_t total = answer.total();
      if (i > 0 && total < score_limit) {
        answer.state = Answer::kStateRejected;
        continue;
      }
      if (total < ref_total - margin || (accepted > 7 && total < 6200)) {
        answer.state = Answer::kStateRejected;
      }
      if (answer.state == Answer::kStateFirst) ++accepted;
    }
    if (answer.state != Answer::kStateRejected) mark_code(answer.codes[1]);
  }
}

int AnswerList::export_entries(std::uint16_t* codes, std::uint16_t* keys, std::int32_t* indices,
                               std::int32_t* totals, std::int32_t n) const {
  if (codes == nullptr) return kBadArgument;
  std::int32_t written = 0;
  for (std::uint32_t i = 0; i < answers_.size() && written < n; ++i) {
    const Answer& answer = answers_[i];
    if (answer.state != Answer::kStateFirst) continue;
    codes[written] = answer.codes[0];
    if (keys != nullptr) keys[written] = answer.key;
    if (indices != nullptr) indices[written] = static_cast<std::int32_t>(i);
    if (totals != nullptr) totals[written] = answer.total();
    ++written;
  }
  return written;
}

}  // namespace inkrec
