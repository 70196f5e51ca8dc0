#include "engine/segmentation/letter_path.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/records/record_access.h"
#include "engine/rules/pair_scoring.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kHyphen = u'-';
constexpr int kJoinsWords = 4;
constexpr int kNoWay = -100;

// The answer a step reads and whether through its saved codes; null for an
// answer outside the list.
const Answer* step_answer(const LetterStep& step, bool* saved) {
  *saved = step.answer < 0;
  if (step.group == nullptr || step.group->answers == nullptr) return nullptr;
  const DynArray<Answer>& answers = step.group->answers->answers();
  return answers.item_checked(step.answer < 0 ? 0u : static_cast<std::uint32_t>(step.answer));
}

bool same_line(const FigureGroup& a, const FigureGroup& b) {
  return group_line(a) == group_line(b);
}

// The pair score of the step's group after the path's last one, when both
// lie on one line; 0 otherwise.
int pair_score_with_last(const LetterPath& path, const LetterStep& step,
                         RecognitionContext& context, std::int32_t* score) {
  *score = 0;
  if (path.steps.empty() || !same_line(*path.steps.back().group, *step.group)) return kOk;
  const LetterStep& last = path.steps.back();
  return score_element_pair_cached(step.group, last.group, step.answer, last.answer,
                                   context.letter_height(), context.slant_angle(),
                                   static_cast<int>(path.steps.size()), score, &context, 1);
}

void count_step(LetterPath& path, LetterStep& step) {
  const std::int32_t strokes = group_strokes(*step.group);
  path.value_sum += step.second_value;
  path.least_value = std::min(path.least_value, step.first_value);
  path.greatest_second = std::max(path.greatest_second, step.second_value);
  path.greatest_ordinal = std::max<std::int32_t>(path.greatest_ordinal, step.ordinal);
  if (step.answer > 0) ++path.non_first;
  path.ordinal_sum += step.ordinal;
  path.strokes += strokes;
  path.positions += strokes;
  path.weighted_total += step.first_value * strokes;
  path.pair_sum += step.pair_score;
  step.least_value_so_far = path.least_value;
  step.greatest_second_so_far = path.greatest_second;
  step.greatest_ordinal_so_far = static_cast<std::int16_t>(path.greatest_ordinal);
}

}  // namespace

std::uint16_t step_code(const LetterStep& step, int k) {
  bool saved = false;
  const Answer* answer = step_answer(step, &saved);
  if (answer == nullptr) return 0;
  return saved ? answer->saved_codes[k] : answer->codes[k];
}

std::uint16_t step_character(const LetterStep& step) { return step_code(step, 0); }

std::uint16_t step_answer_key(const LetterStep& step) {
  bool saved = false;
  const Answer* answer = step_answer(step, &saved);
  return answer == nullptr ? 0 : answer->key;
}

int group_line(const FigureGroup& group) { return first_line_number(group); }

std::int32_t group_strokes(const FigureGroup& group) {
  return static_cast<std::int32_t>(group.figures.size());
}

bool LetterPath::greater_average(const LetterPath& a, const LetterPath& b) {
  if (a.strokes == 0) return false;
  if (b.strokes == 0) return true;
  const std::int64_t a_sum = std::int64_t{a.weighted_total} + std::int64_t{a.strokes} * a.extra();
  const std::int64_t b_sum = std::int64_t{b.weighted_total} + std::int64_t{b.strokes} * b.extra();
  return a_sum * b.strokes > b_sum * a.strokes;
}

int LetterPath::assign(const LetterPath& other) {
  if (this == &other) return kOk;
  if (steps.reserve_total(other.steps.size()) != kOk ||
      codes.reserve_total(other.codes.size()) != kOk) {
    return kOutOfMemory;
  }
  // With the room made, appending cannot fail.
  steps.clear();
  steps.append(other.steps.span());
  codes.clear();
  codes.append(other.codes.span());
  weight = other.weight;
  value_sum = other.value_sum;
  least_value = other.least_value;
  greatest_second = other.greatest_second;
  ordinal_sum = other.ordinal_sum;
  greatest_ordinal = other.greatest_ordinal;
  non_first = other.non_first;
  strokes = other.strokes;
  positions = other.positions;
  weighted_total = other.weighted_total;
  pair_sum = other.pair_sum;
  base = other.base;
  weak = other.weak;
  capitals_listed = other.capitals_listed;
  return kOk;
}

void LetterPath::remove_last_step(std::uint32_t weight_before) {
  if (steps.empty()) return;
  const LetterStep last = steps.back();
  steps.pop_back();
  codes.resize(codes.size() >= last.code_count ? codes.size() - last.code_count : 0);
  const std::int32_t strokes_of_last = group_strokes(*last.group);
  value_sum -= last.second_value;
  if (last.answer > 0) --non_first;
  ordinal_sum -= last.ordinal;
  strokes -= strokes_of_last;
  positions -= strokes_of_last;
  weighted_total -= last.first_value * strokes_of_last;
  pair_sum -= last.pair_score;
  weight = weight_before;
  if (steps.empty()) {
    least_value = kNoLeastValue;
    greatest_second = 0;
    greatest_ordinal = 0;
    return;
  }
  const LetterStep& before = steps.back();
  least_value = before.least_value_so_far;
  greatest_second = before.greatest_second_so_far;
  greatest_ordinal = before.greatest_ordinal_so_far;
}

int extend_path(LetterPath& path, const LetterStep& step, std::uint32_t weight,
                RecognitionContext& context, const CharClassTables& classes) {
  if (step.group == nullptr || !step.group->has_answers()) return kOk;
  if (path.steps.size() >= 2 && step_character(path.steps.back()) == kHyphen &&
      same_line(*path.steps.back().group, *step.group) &&
      (classes.punctuation_class(step_character(step)) & kJoinsWords) == 0) {
    return kNoWay;
  }
  std::int32_t score = 0;
  if (const int status = pair_score_with_last(path, step, context, &score); status != kOk) {
    return status;
  }
  const std::uint32_t code_count = path.codes.size();
  if (path.codes.append(step.code_span()) != kOk) return kOutOfMemory;
  LetterStep* kept = path.steps.push_back_ptr(step);
  if (kept == nullptr) {
    path.codes.resize(code_count);
    return kBadArgument;
  }
  kept->pair_score = saturate_int16(score);
  path.weight = weight;
  count_step(path, *kept);
  return kOk;
}

}  // namespace inkrec
