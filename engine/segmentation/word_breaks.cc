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
#include "engine/segmentation/word_break_rules.h"

namespace inkrec {
namespace {

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
    return full_word_break(m);
  }
  return simple_word_break(m);
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
