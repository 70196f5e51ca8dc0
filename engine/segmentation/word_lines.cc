#include "engine/segmentation/word_lines.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/foundation/capital_letters.h"
#include "engine/records/figure_group.h"
#include "engine/segmentation/letter_case.h"

namespace inkrec {
namespace {

// The letters measured: at most this many after the first.
constexpr std::uint32_t kMeasuredLetters = 31;

enum class LetterHeight { kOther, kSmall, kTall, kDescending };

// The letters of each height, in lower case.
constexpr std::u16string_view kSmallLetters = u"acemnorsuvwxz";
constexpr std::u16string_view kTallLetters = u"bdhkl";
constexpr std::u16string_view kDescendingLetters = u"gjpqy";
// The letters whose small form rises above the small letters.
constexpr std::u16string_view kAscendingLetters = u"bdhklt";

LetterHeight letter_height(std::uint16_t code) {
  const char16_t letter = static_cast<char16_t>(lower_case_letter(code));
  if (kSmallLetters.find(letter) != std::u16string_view::npos) return LetterHeight::kSmall;
  if (kTallLetters.find(letter) != std::u16string_view::npos) return LetterHeight::kTall;
  if (kDescendingLetters.find(letter) != std::u16string_view::npos) {
    return LetterHeight::kDescending;
  }
  return LetterHeight::kOther;
}

// The median of the first n values (the upper one of an even count).
std::int32_t median(std::array<std::int32_t, kMeasuredLetters>& values, std::uint32_t n) {
  auto middle = values.begin() + n / 2;
  std::nth_element(values.begin(), middle, values.begin() + n);
  return *middle;
}

// The reading the path took at its first step, or null when it took it
// through the saved codes of the group's first answer.
const Answer* first_reading(const LetterPath& path) {
  const LetterStep& step = path.steps[0];
  if (step.answer < 0 || step.group == nullptr || !step.group->has_answers()) return nullptr;
  return step.group->answers->answers().item_checked(static_cast<std::uint32_t>(step.answer));
}

// How far the tallest b, d, h, k, l or t after the first letter rises above
// the base line; 0 when none follows.
std::int64_t tallest_rise_after_first(const LetterPath& path, const WordLines& lines) {
  std::int64_t tallest = 0;
  const std::uint32_t last = std::min<std::uint32_t>(path.steps.size(), kMeasuredLetters + 1);
  for (std::uint32_t s = 1; s < last; ++s) {
    const LetterStep& step = path.steps[s];
    if (step.group == nullptr || step.group->geometry == nullptr) continue;
    const char16_t letter = static_cast<char16_t>(lower_case_letter(step.codes[0]));
    if (kAscendingLetters.find(letter) == std::u16string_view::npos) continue;
    const std::int64_t top = step.group->geometry->bounding_box().top;
    tallest = std::max(tallest, std::int64_t{lines.base} - top);
  }
  return tallest;
}

// The box height of the tallest letter after the first; 0 when none has a
// geometry.
std::int64_t tallest_letter_after_first(const LetterPath& path) {
  std::int64_t tallest = 0;
  const std::uint32_t last = std::min<std::uint32_t>(path.steps.size(), kMeasuredLetters + 1);
  for (std::uint32_t s = 1; s < last; ++s) {
    const LetterStep& step = path.steps[s];
    if (step.group == nullptr || step.group->geometry == nullptr) continue;
    tallest = std::max<std::int64_t>(tallest, step.group->geometry->bounding_box().height());
  }
  return tallest;
}

// Whether a first letter a, e, m, n or r read by a capital way of writing
// stands as a small letter (see first_letter_stands_small).
bool small_letter_stands_small(const LetterPath& path, const Box16& box, const WordLines& lines) {
  if (!lines.measured) {
    return 10 * std::int64_t{box.height()} < 7 * tallest_letter_after_first(path);
  }
  const std::int64_t rise = std::int64_t{lines.base} - box.top;
  return 10 * rise < 12 * std::int64_t{lines.x_height()};
}

// Whether a first letter g, j, p, q or y (`small`, its small form) read by
// a capital way of writing stands as a small letter on the measured lines
// (see first_letter_stands_small).
bool descending_letter_stands_small(std::uint16_t small, const Box16& box,
                                    const WordLines& lines) {
  const std::int64_t rise = std::int64_t{lines.base} - box.top;
  const std::int64_t depth = std::int64_t{box.bottom} - lines.base;
  const std::int64_t x_height = lines.x_height();
  if (5 * depth >= 2 * x_height && 10 * rise < 16 * x_height) return true;
  return small == u'p' && 10 * depth >= 7 * x_height && 10 * rise < 25 * x_height;
}

}  // namespace

WordLines measure_word_lines(const LetterPath& path) {
  std::array<std::int32_t, kMeasuredLetters> bottoms{};
  std::array<std::int32_t, kMeasuredLetters> small_tops{};
  std::uint32_t standing = 0;
  std::uint32_t small = 0;
  const std::uint32_t last = std::min<std::uint32_t>(path.steps.size(), kMeasuredLetters + 1);
  for (std::uint32_t s = 1; s < last; ++s) {
    const LetterStep& step = path.steps[s];
    if (step.group == nullptr || step.group->geometry == nullptr) continue;
    const LetterHeight height = letter_height(step.codes[0]);
    if (height != LetterHeight::kSmall && height != LetterHeight::kTall) continue;
    const Box16 box = step.group->geometry->bounding_box();
    bottoms[standing++] = box.bottom;
    if (height == LetterHeight::kSmall) small_tops[small++] = box.top;
  }
  WordLines lines;
  if (small == 0) return lines;
  lines.base = median(bottoms, standing);
  lines.small_top = median(small_tops, small);
  lines.measured = lines.x_height() > 0;
  return lines;
}

bool first_letter_stands_small(const LetterPath& path) {
  if (path.steps.size() < 2) return false;
  const Answer* reading = first_reading(path);
  if (reading == nullptr || reading->code_choice != kCaseChoiceUpper ||
      reading->case_kind != 2 || path.steps[0].group->geometry == nullptr) {
    return false;
  }
  const Box16 box = path.steps[0].group->geometry->bounding_box();
  const WordLines lines = measure_word_lines(path);
  switch (letter_height(reading->codes[1])) {
    case LetterHeight::kSmall:
      return small_letter_stands_small(path, box, lines);
    case LetterHeight::kDescending:
      return lines.measured && descending_letter_stands_small(reading->codes[1], box, lines);
    default:
      return false;
  }
}

FirstLetterStand shared_shape_first_letter(const LetterPath& path, std::int32_t reference) {
  if (path.steps.size() < 2) return FirstLetterStand::kUnmeasured;
  const Answer* reading = first_reading(path);
  if (reading == nullptr || reading->case_kind != 3 || path.steps[0].group->geometry == nullptr) {
    return FirstLetterStand::kUnmeasured;
  }
  const WordLines lines = measure_word_lines(path);
  if (!lines.measured) return FirstLetterStand::kUnmeasured;
  const Box16 box = path.steps[0].group->geometry->bounding_box();
  const std::int64_t rise = std::int64_t{lines.base} - box.top;
  const bool above_small_letters = 10 * rise >= 17 * std::int64_t{lines.x_height()};
  const bool as_high_as_tall_letters = 100 * rise >= 95 * tallest_rise_after_first(path, lines);
  const bool tall_on_its_line = 10 * std::int64_t{box.height()} >= 15 * std::int64_t{reference};
  return above_small_letters && as_high_as_tall_letters && tall_on_its_line
             ? FirstLetterStand::kCapital
             : FirstLetterStand::kSmall;
}

}  // namespace inkrec
