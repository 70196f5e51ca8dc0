#include "engine/rules/pair_scoring.h"

#include <algorithm>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/record_access.h"
#include "engine/rules/pair_extents.h"
#include "engine/rules/pair_rules.h"
#include "engine/rules/pair_score_scene.h"

namespace inkrec {
namespace {

enum Slot {
  kKinds = 0,
  kRules,
  kPunctuation,
  kStacking,
  kAlignment,
  kTopsOfA,
  kTopsOfB,
  kHeights,
  kExtents,
  kSpacing,
  kContinuation,
};

// Pairs are judged on one text line between results with ink: 0 with
// *judged, or -2 at a null figure.
int pair_is_judged(const FigureGroup& later, const FigureGroup& earlier, bool* judged) {
  *judged = false;
  if (first_line_number(later) != first_line_number(earlier)) return kOk;
  bool later_ink = false;
  bool earlier_ink = false;
  if (check_group_ink(later, &later_ink) != kOk || check_group_ink(earlier, &earlier_ink) != kOk) {
    return kBadArgument;
  }
  *judged = later_ink && earlier_ink;
  return kOk;
}

// Brings the layout to the stage where it tells whether the pair is
// judged: 0, or pair_is_judged's status (the layout then unchanged).
int know_judged(const FigureGroup& later, const FigureGroup& earlier, PairLayout& layout) {
  if (layout.stage >= PairLayout::kJudgedKnown) return kOk;
  bool judged = false;
  if (const int status = pair_is_judged(later, earlier, &judged); status != kOk) return status;
  layout.judged = judged ? 1 : 0;
  layout.stage = PairLayout::kJudgedKnown;
  return kOk;
}

// Brings a judged pair's layout to the stage where all of it is measured:
// 0, or the measure's status (the layout then unchanged).
int know_measures(FigureGroup& later, FigureGroup& earlier, RecognitionContext& context,
                  PairLayout& layout) {
  if (layout.stage >= PairLayout::kMeasured) return kOk;
  PairLayout measured = layout;
  if (const int status = measure_pair_layout(later, earlier, context, measured); status != kOk) {
    return status;
  }
  measured.stage = PairLayout::kMeasured;
  layout = measured;
  return kOk;
}

// Reading i of a result (the first for -1); null when there is none.
const Answer* reading_at(const FigureGroup& group, int i) {
  if (group.answers == nullptr || i < -1) return nullptr;
  return group.answers->answers().item_checked(i == -1 ? 0u : static_cast<std::uint32_t>(i));
}

// Sums the term groups into the accumulator and the breakdown's record.
class ScoreSum {
 public:
  ScoreSum(PairScoreScene& scene, std::int32_t* accumulator, PairScoreRecord* record)
      : scene_(scene), accumulator_(accumulator), record_(record) {}

  template <typename Terms>
  void slot(Slot k, Terms terms) {
    scene_.slot = 0;
    terms();
    *accumulator_ += scene_.slot;
    if (record_ != nullptr) record_->slots[k] += scene_.slot;
  }
  template <typename Terms>
  void outside(Terms terms) {
    scene_.slot = 0;
    terms();
    *accumulator_ += scene_.slot;
  }
  std::int32_t* accumulator() { return accumulator_; }

 private:
  PairScoreScene& scene_;
  std::int32_t* accumulator_;
  PairScoreRecord* record_;
};

int score_character_pair_rules(PairScoreScene& s, ScoreSum& sum, RecognitionContext& context) {
  int status = kOk;
  sum.slot(kRules, [&] {
    status = evaluate_pair_rules(s.A(), s.B(), static_cast<std::uint32_t>(s.answer_a),
                                 static_cast<std::uint32_t>(s.answer_b), s.size, s.position,
                                 &s.slot, context);
  });
  return status;
}

// The pair's extents' row height: the mean of the two baseline spans,
// at least the lesser height and at most the letter size.
std::int32_t extents_height(const PairScoreScene& s) {
  const std::int32_t mean = (baseline_span(s.A()) + baseline_span(s.B())) / 2;
  return std::min(std::max(mean, s.min_h()), s.size);
}

// The extents of B against A: the layout's copy, else read from B's
// extents cache (measured there with the row height h on the pair's first
// request) and copied into the layout.
int know_extents(PairScoreScene& s, PairLayout& layout, std::int32_t h) {
  if (layout.extents_known != 0) return kOk;
  const PairExtents* extents = nullptr;
  if (const int status = score_pair_extents_cached(s.B(), s.A(), h, &extents); status != kOk) {
    return status;
  }
  layout.extents = *extents;
  layout.extents_known = 1;
  return kOk;
}

int score_extents_and_spacing(PairScoreScene& s, PairLayout& layout, ScoreSum& sum,
                              RecognitionContext& context) {
  if (s.hebrew || s.greek || !s.part) return kOk;
  const std::int32_t h = extents_height(s);
  if (const int status = know_extents(s, layout, h); status != kOk) return status;
  const PairExtents& e = layout.extents;
  sum.slot(kExtents, [&] { score_extents(s, e, h); });
  sum.slot(kSpacing, [&] { score_spacing(s, context, e, h); });
  return kOk;
}

// Slots 3 to 10 (and the Hebrew stacking terms before them).
int score_placement(PairScoreScene& s, PairLayout& layout, ScoreSum& sum,
                    RecognitionContext& context) {
  if (const int status = score_hebrew_stacking(s, sum.accumulator()); status != kOk) {
    return status;
  }
  if (is_inline_mark(s.ca1) || is_inline_mark(s.cb1)) return kOk;
  s.b_class_19 = !s.marked_b && s.b19();
  if (!is_punctuation_code(s.ca1) && !is_punctuation_code(s.cb1)) {
    sum.slot(kStacking, [&] { score_stacking(s); });
    sum.slot(kAlignment, [&] { score_slant_alignment(s); });
  }
  if (!tops_and_bottoms_skipped(s)) {
    sum.slot(kTopsOfA, [&] { score_tops_and_bottoms_of_a(s); });
    sum.slot(kTopsOfB, [&] { score_tops_and_bottoms_of_b(s); });
    sum.slot(kHeights, [&] { score_relative_heights(s); });
  }
  if (const int status = score_extents_and_spacing(s, layout, sum, context); status != kOk) {
    return status;
  }
  sum.slot(kContinuation, [&] { score_continuation(s, context); });
  return kOk;
}

// The score of the pair as score_element_pair gives it, what does not
// depend on the readings read from `layout` and measured into it as far as
// the score needs it.
int score_through_layout(FigureGroup& later, FigureGroup& earlier, PairLayout& layout,
                         int later_answer, int earlier_answer, std::int32_t size,
                         std::int32_t slant, int position, std::int32_t* accumulator,
                         RecognitionContext& context, PairScoreRecord* record, int flag) {
  *accumulator = 0;
  if (const int status = know_judged(later, earlier, layout); status != kOk || layout.judged == 0) {
    return status;
  }
  PairScoreScene s;
  s.reading_a = reading_at(later, later_answer);
  s.reading_b = reading_at(earlier, earlier_answer);
  if (s.reading_a == nullptr || s.reading_b == nullptr) return kOk;
  if (const int status = know_measures(later, earlier, context, layout); status != kOk) return status;
  s.pair.a_group = &later;
  s.pair.b_group = &earlier;
  s.answer_a = later_answer;
  s.answer_b = earlier_answer;
  s.size = size;
  s.slant = slant;
  s.position = position;
  s.flag = flag != 0;
  if (const int status = prepare_pair_score_scene(s, layout, context); status != kOk) {
    return status;
  }
  ScoreSum sum(s, accumulator, record);
  sum.slot(kKinds, [&] { score_reading_kinds(s, context); });
  if (const int status = score_character_pair_rules(s, sum, context); status != kOk) return status;
  sum.slot(kPunctuation, [&] { score_punctuation(s); });
  if (const int status = score_placement(s, layout, sum, context); status != kOk) return status;
  sum.outside([&] { score_final_terms(s, context); });
  return kOk;
}

}  // namespace

int score_element_pair(FigureGroup& later, FigureGroup& earlier, int later_answer,
                       int earlier_answer, std::int32_t size, std::int32_t slant, int position,
                       std::int32_t* accumulator, RecognitionContext& context,
                       PairScoreBreakdown* breakdown, int flag) {
  if (accumulator == nullptr) return kBadArgument;
  *accumulator = 0;
  PairScoreRecord* record = nullptr;
  if (breakdown != nullptr && (record = breakdown->records.push_default()) == nullptr) {
    return kOutOfMemory;
  }
  PairLayout layout;
  return score_through_layout(later, earlier, layout, later_answer, earlier_answer, size, slant,
                              position, accumulator, context, record, flag);
}

int score_element_pair(FigureGroup& later, FigureGroup& earlier, int later_answer,
                       int earlier_answer, std::int32_t size, std::int32_t slant, int position,
                       std::int32_t* accumulator, RecognitionContext& context,
                       PairScoreBreakdown* breakdown) {
  return score_element_pair(later, earlier, later_answer, earlier_answer, size, slant, position,
                            accumulator, context, breakdown, 0);
}

namespace {

// The flag and the later result's place in its chain, as the score cache
// keys them. The score tells the first places of a chain from the rest
// (places 0 and 1 alike, then 2, then 3 and on), so one pair asked at two
// places of the chains through it has a score for each.
std::uint32_t score_key_flag(int flag, int position) {
  const auto place = static_cast<std::uint32_t>(std::clamp(position, 1, 3));
  return (flag != 0 ? 1u : 0u) | place << 1;
}

}  // namespace

int score_element_pair_cached(FigureGroup* later, FigureGroup* earlier, int later_answer,
                              int earlier_answer, std::int16_t size, std::int16_t slant,
                              int position, std::int32_t* cost, RecognitionContext* context,
                              int flag) {
  if (later == nullptr || earlier == nullptr || cost == nullptr) return kBadArgument;
  if (context == nullptr) {
    // Without a run there is nothing to measure a judged pair against.
    bool judged = false;
    const int status = pair_is_judged(*later, *earlier, &judged);
    *cost = 0;
    return status != kOk || judged ? kBadArgument : kOk;
  }
  const auto i = static_cast<std::uint32_t>(later_answer);
  const auto j = static_cast<std::uint32_t>(earlier_answer);
  const std::uint32_t key_flag = score_key_flag(flag, position);
  auto* stored = register_figure_key(earlier->pair_cache, *later, i, j, key_flag);
  if (stored == nullptr) return kOutOfMemory;
  if ((*stored)[0] != 0) {
    *cost = static_cast<std::int32_t>((*stored)[1]);
    return kOk;
  }
  PairLayout* layout = earlier->layout_cache.find_or_add(group_index(*later), 0);
  if (layout == nullptr) return kOutOfMemory;
  const std::uint32_t scores_before = earlier->pair_cache.size();
  const int status = score_through_layout(*later, *earlier, *layout, later_answer, earlier_answer,
                                          size, slant, position, cost, *context, nullptr, flag);
  if (status != kOk) return status;
  // The entry stays where it is unless the scoring added scores to the
  // earlier result's cache (it adds none today).
  auto* entry = earlier->pair_cache.size() == scores_before
                    ? stored
                    : register_figure_key(earlier->pair_cache, *later, i, j, key_flag);
  if (entry == nullptr) return kOutOfMemory;
  (*entry)[0] = 1;
  (*entry)[1] = static_cast<std::uint32_t>(*cost);
  return kOk;
}

}  // namespace inkrec
