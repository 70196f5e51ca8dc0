// The word and line breaks of estimate_gaps (line_spacing.h).
#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/gap_record.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/segmentation/line_spacing.h"
#include "engine/segmentation/output_elements.h"

namespace inkrec {
namespace {

constexpr std::int32_t kNoGap = GapRecord::kNoProfileGap;

// What the rules read of a pair (a, b) on one line and of the line set.
struct BreakMeasures {
  std::int32_t advance = 0;  // D0
  std::int32_t least = 0;    // lg
  std::int32_t profile = 0;  // pg
  std::int32_t x_gap = 0;
  std::int32_t mean_advance = 0;     // M
  std::int32_t letter_height = 0;    // lh
  std::int32_t letter_distance = 0;  // ld
  std::int32_t mean_profile = 0;     // pgm
  std::int32_t word_gap = 0;
};

// B reaches beyond A in the writing direction by more than the mean raise.
bool reaches_beyond(const FigureGroup& a, const FigureGroup& b, std::int32_t raise,
                    bool right_to_left) {
  const Box16 box_a = element_box(a);
  const Box16 box_b = element_box(b);
  return right_to_left ? box_a.left - raise > box_b.left : box_a.right + raise < box_b.right;
}

// The distance from A's reference x on to B's along the writing direction,
// moved along the slant of the taller element when the two stand at
// different heights yet overlap by half a letter, less the half rises of
// both; at least 0.
std::int32_t advance_between(FigureGroup& a, FigureGroup& b, std::int32_t letter_height,
                             bool right_to_left) {
  std::int32_t advance = element_reference_x(b) - element_reference_x(a);
  if (right_to_left) advance = -advance;
  const Box16 box_a = element_box(a);
  const Box16 box_b = element_box(b);
  const std::int32_t dy = reference_point(*a.geometry).y - reference_point(*b.geometry).y;
  const std::int32_t half = letter_height / 2;
  if (std::abs(dy) > half && box_b.bottom - box_a.top > half && box_a.bottom - box_b.top > half) {
    const FigureGroup& taller = box_a.height() >= box_b.height() ? a : b;
    advance += int_sin(slant_measure(*taller.geometry) + 90) * dy / 1000;
  }
  advance -= raise_share(a, 200) + raise_share(b, 200);
  return std::max(advance, 0);
}

bool simple_rule(const BreakMeasures& m) {
  return m.x_gap > m.word_gap * 107 / 100 && m.least > m.letter_distance * 120 / 100;
}

// The advance and the gaps blended into one gap.
std::int32_t blended_gap(const BreakMeasures& m) {
  const std::int32_t d0 = m.advance;
  const std::int32_t lg = m.least;
  const std::int32_t pg = m.profile;
  if (lg <= 0) return d0;
  if (lg < d0 / 2 && lg < pg / 2 && pg >= 1 && pg < kNoGap) return (d0 + lg + pg) / 3;
  return (d0 + lg) / 2;
}

bool full_rule(const BreakMeasures& m) {
  const std::int32_t g = blended_gap(m);
  const std::int32_t big_m = m.mean_advance;
  const std::int32_t lg = m.least;
  const std::int32_t pg = m.profile;
  const std::int32_t pgm = m.mean_profile;
  const std::int32_t lh = m.letter_height;
  const bool apart = lg > big_m / 2 && big_m >= 3;
  return (apart && g >= big_m * 11 / 10 && g > lh) ||
         (apart && lg > 4 * m.letter_distance && pg > pgm * 14 / 10 && lg > pgm * 3 / 4) ||
         (lg > big_m / 3 && big_m > 3 && lg > 2 * m.letter_distance && pg > pgm * 14 / 10 &&
          m.advance > big_m * 15 / 10) ||
         (apart && pgm * 16 / 10 < pg && pg < kNoGap && pg > lh * 7 / 10) ||
         (m.advance > big_m * 15 / 10 && pg > pgm * 16 / 10 && lg > lh / 4);
}

BreakMeasures measures_of(RecognitionContext& context, FigureGroup& a, FigureGroup& b,
                          const GapRecord& record) {
  const LineMetrics& s = context.settings();
  BreakMeasures m;
  m.advance = advance_between(a, b, s.letter_height, context.kernel().right_to_left());
  m.least = record.least_distance;
  m.profile = record.profile_gap;
  m.x_gap = record.x_gap;
  m.mean_advance = s.mean_advance;
  m.letter_height = s.letter_height;
  m.letter_distance = s.letter_distance;
  m.mean_profile = s.profile_gap;
  m.word_gap = s.word_gap;
  return m;
}

bool word_break_after(RecognitionContext& context, FigureGroup& a, FigureGroup& b,
                      const GapRecord& record, bool gaps_exist) {
  const BreakMeasures m = measures_of(context, a, b, record);
  const std::int32_t raise = std::abs(context.settings().raise_mean);
  if (gaps_exist && reaches_beyond(a, b, raise, context.kernel().right_to_left())) {
    return full_rule(m);
  }
  return simple_rule(m);
}

// A space after the element, and after every letter result of its line
// that ends at the element's last candidate.
void mark_space_after(RecognitionContext& context, FigureGroup& element) {
  element.break_after = FigureGroup::kSpaceAfter;
  std::uint32_t last = 0;
  TextLine* line = context.text_lines().item_checked(element_line(element));
  if (line == nullptr || !element.coverage.highest_bit(&last)) return;
  for (LetterResult* result : line->letter_results) {
    std::uint32_t result_last = 0;
    if (result != nullptr && result->coverage.highest_bit(&result_last) && result_last == last) {
      result->break_after = FigureGroup::kSpaceAfter;
    }
  }
}

}  // namespace

// The first pass counts the pairs on one line, the second decides; a pair
// of one line that shares a stroke is never broken.
int estimate_gaps(RecognitionContext& context, const PtrArray<FigureGroup>& elements) {
  if (elements.size() < 2 || !RequestSwitches(context.kernel().params()).word_breaks()) {
    return kOk;
  }
  if (has_missing_element(elements) || context.gaps().size() + 1 < elements.size()) {
    return kBadArgument;
  }
  std::uint32_t same_line_pairs = 0;
  for (const bool deciding : {false, true}) {
    for (std::uint32_t i = 0; i + 1 < elements.size(); ++i) {
      FigureGroup& a = *elements[i];
      FigureGroup& b = *elements[i + 1];
      if (reads_as_space(a) || reads_as_space(b)) continue;
      if (!on_one_line(a, b)) {
        a.break_after = FigureGroup::kLineBreakAfter;
        continue;
      }
      if (!deciding) {
        ++same_line_pairs;
        continue;
      }
      if (share_a_stroke(a, b)) continue;
      if (word_break_after(context, a, b, context.gaps()[i], same_line_pairs > 0)) {
        mark_space_after(context, a);
      }
    }
  }
  return kOk;
}

}  // namespace inkrec
