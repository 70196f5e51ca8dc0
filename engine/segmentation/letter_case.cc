#include "engine/segmentation/letter_case.h"

#include <algorithm>
#include <span>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/segmentation/output_elements.h"

namespace inkrec {
namespace {

// Below this many reference heights a capital way of writing at a word's
// start is a small letter. Chosen on the training writers' written words
// (bench/README.md).
constexpr double kSmallCapitalRatio = 1.5;

std::uint32_t choice_for(std::uint8_t case_kind, double ratio) {
  const bool big = ratio >= 1.7;
  const bool small = ratio <= 0.7;
  switch (case_kind) {
    case 2:
      return kCaseChoiceUpper;
    case 4:
      return small ? kCaseChoiceLower : kCaseChoiceUpper;
    case 3:
    case 5:
      return big ? kCaseChoiceUpper : kCaseChoiceLower;
    default:
      return kCaseChoiceLower;
  }
}

// The height the readings are measured by, taken in their order: h starts
// as the element's box height; a reading whose box reaches a third of the
// body below the baseline sets it to the height from the baseline up to the
// box's top, for itself and the readings after it.
std::int32_t height_after(const FigureGroup& element, const Answer& reading, std::int32_t h) {
  const ReferenceBand& band = baseline_pair(*element.geometry);
  const Box16 box = reading.box_flag != 0 ? element.box : element.geometry->bounding_box();
  if (band.has_bounds() && (box.bottom - band.bottom) * 3 > band.bottom - band.top) {
    return band.bottom - box.top;
  }
  return h;
}

int set_every_choice(AnswerList& readings, std::uint32_t choice) {
  for (std::uint32_t i = 0; i < readings.answers().size(); ++i) {
    if (const int status = readings.set_code_choice(i, choice); status != kOk) return status;
  }
  return kOk;
}

// The lower-case forms of the letters whose two forms share one shape.
constexpr std::uint16_t kSizeCasedLetters[] = {
    99,   111,  115,  117,  118,  119,  120,  122,  1074, 1078, 1079, 1082, 1084, 1085,
    1086, 1087, 1089, 1090, 1093, 1094, 1096, 1097, 1098, 1099, 1100, 1101, 1102, 1103};

// The lower-case forms of the letters whose capitals differ only in where
// they stand on a line.
constexpr std::uint16_t kLineCasedLetters[] = {106, 107, 112, 121};

bool listed(std::span<const std::uint16_t> letters, std::uint16_t code) {
  return std::find(letters.begin(), letters.end(), code) != letters.end();
}

}  // namespace

std::int32_t case_reference_height(RecognitionContext& context, const FigureGroup& element) {
  const std::int16_t letter_height = context.settings().letter_height;
  const TextLine* line = context.text_lines().item_checked(element_line(element));
  return line == nullptr ? std::max<std::int16_t>(letter_height, 1)
                         : line->case_reference_height(letter_height);
}

std::uint8_t case_kind_of(const Answer& reading) {
  const std::uint16_t lower = reading.codes[1];
  const std::uint16_t upper = reading.codes[2];
  if (lower == 0 || upper == 0 || lower == upper) return 0;
  if (listed(kSizeCasedLetters, lower)) return 3;
  return reading.codes[0] == upper ? 2 : 0;
}

std::uint16_t other_form_written_alike(std::uint16_t code, std::uint16_t lower,
                                       std::uint16_t upper) {
  if (lower == 0 || upper == 0 || lower == upper) return 0;
  if (!listed(kSizeCasedLetters, lower) && !listed(kLineCasedLetters, lower)) return 0;
  if (code == lower) return upper;
  return code == upper ? lower : 0;
}

// An element without a baseline pair keeps its box height.
int choose_letter_case(RecognitionContext& context, FigureGroup& element) {
  if (element.geometry == nullptr) return kBadArgument;
  if (element.answers == nullptr) return kOk;
  AnswerList& readings = *element.answers;
  if (RequestSwitches(context.kernel().params()).fixed_case()) {
    return set_every_choice(readings, kCaseChoiceLower);
  }
  const double reference = case_reference_height(context, element);
  std::int32_t h = element.geometry->bounding_box().height();
  for (std::uint32_t i = 0; i < readings.answers().size(); ++i) {
    const Answer& reading = readings.answers()[i];
    h = height_after(element, reading, h);
    if (reading.code_choice != 0) continue;
    const std::uint32_t choice = choice_for(reading.case_kind, h / reference);
    if (const int status = readings.set_code_choice(i, choice); status != kOk) return status;
  }
  return kOk;
}

int lower_small_capital(RecognitionContext& context, FigureGroup& element, std::uint32_t i) {
  if (element.geometry == nullptr || element.answers == nullptr) return kBadArgument;
  const DynArray<Answer>& readings = element.answers->answers();
  if (i >= readings.size()) return kBadArgument;
  if (readings[i].case_kind != 2 || readings[i].code_choice != kCaseChoiceUpper) return kOk;
  std::int32_t h = element.geometry->bounding_box().height();
  for (std::uint32_t k = 0; k <= i; ++k) h = height_after(element, readings[k], h);
  const double reference = case_reference_height(context, element);
  if (h / reference >= kSmallCapitalRatio) return kOk;
  return element.answers->set_code_choice(i, kCaseChoiceLower);
}

int check_all_candidates(RecognitionContext& context, const PtrArray<FigureGroup>& output) {
  for (FigureGroup* element : output) {
    if (element == nullptr) return kBadArgument;
    if (const int status = choose_letter_case(context, *element); status != kOk) return status;
  }
  for (TextLine& line : context.text_lines()) {
    for (LetterResult* result : line.letter_results) {
      if (result == nullptr) return kBadArgument;
      if (const int status = choose_letter_case(context, *result); status != kOk) return status;
    }
  }
  return kOk;
}

}  // namespace inkrec
