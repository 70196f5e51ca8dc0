#include "engine/segmentation/segment_readings.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/foundation/capital_letters.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/letter_case.h"
#include "engine/segmentation/path_text.h"
#include "engine/segmentation/word_lines.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kKeepRuleWord = 0xFFFFFFFF;

// Moves the reading to the head of the group's list: one point above the
// reading that heads it.
int put_first(FigureGroup& group, std::uint32_t chosen) {
  AnswerList& answers = *group.answers;
  const Answer* reading = answers.answers().item_checked(chosen);
  if (reading == nullptr) return kBadArgument;
  const std::uint16_t key = reading->key;
  const std::uint8_t kind = reading->kind;
  if (answers.answers()[0].total() == Answer::kPerfectScore) {
    const Answer& head = answers.answers()[0];
    if (const int status = answers.reinsert_penalized(0, -1, head.rule_word); status != kOk) {
      return status;
    }
  }
  const int at = answers.find(key, kind);
  if (at <= 0) return at < 0 ? kBadArgument : kOk;
  const Answer& moved = answers.answers()[static_cast<std::uint32_t>(at)];
  const std::int32_t raise = answers.answers()[0].total() - moved.total() + 1;
  return answers.reinsert_penalized(static_cast<std::uint32_t>(at), raise, moved.rule_word);
}

// The first reading's saved codes become its codes again.
int read_saved_codes(FigureGroup& group) {
  const Answer& first = group.answers->answers()[0];
  const std::uint16_t* list = first.saved_count > 1 ? first.saved_list : nullptr;
  return rewrite_answer_entry(group, 0, first.saved_codes[0], first.saved_codes[2],
                              first.saved_codes[1], kKeepRuleWord, 0, first.saved_count, list);
}

// A capital of a word the list holds with its capitals stays one: the
// group's first reading takes the case form the path read, and the group
// keeps it in the text.
int keep_listed_capital(FigureGroup& group, std::uint16_t code) {
  if (lower_case_letter(code) == code) return kOk;
  const Answer& first = group.answers->answers()[0];
  const std::uint32_t choice = first.codes[2] == code ? 1 : first.codes[1] == code ? 2 : 0;
  if (choice == 0) return kOk;
  group.word_case = 1;
  return group.answers->set_code_choice(0, choice);
}

// The index of the reading a step took (its first reading for one taken
// through the saved codes).
std::uint32_t read_index(const LetterStep& step) {
  return step.answer < 0 ? 0u : static_cast<std::uint32_t>(step.answer);
}

// Whether a letter of two case forms was written as its capital: read by a
// capital way of writing chosen upper case, or read by its small way of
// writing while the group reads the same letter at least as well by a
// capital way of writing (the word list, holding the word in small letters,
// led the word search to the small reading).
bool read_as_capital(const FigureGroup& group, const Answer& reading) {
  if (reading.case_kind == 2) return reading.code_choice == kCaseChoiceUpper;
  if (reading.case_kind != 0) return false;
  for (const Answer& other : group.answers->answers()) {
    if (other.total() < reading.total()) return false;
    if (other.case_kind == 2 && other.codes[2] == reading.codes[2]) return true;
  }
  return false;
}

// Whether the path reads a word written in capitals: every letter of it
// that has two case forms was written as its capital (read_as_capital) or
// read by a letter whose two forms share one shape, at least one as a
// capital, and each stands at least three fifths as tall as the tallest of
// them. A capital followed by small letters of shared shape ("To", "Now")
// is not one, nor a big first letter of shared shape before small letters
// (a "saw" begun with a tall s), nor a letter whose dot was read as a
// letter of its own.
bool written_in_capitals(const LetterPath& path) {
  bool any_capital = false;
  std::int32_t tallest = 0;
  std::int32_t least = INT32_MAX;
  for (const LetterStep& step : path.steps) {
    const Answer* reading = step.group->answers->answers().item_checked(read_index(step));
    if (reading == nullptr || step.group->geometry == nullptr) return false;
    if (reading->codes[1] == 0 || reading->codes[1] == reading->codes[2]) continue;
    const bool capital = read_as_capital(*step.group, *reading);
    if (!capital && reading->case_kind != 3) return false;
    any_capital = any_capital || capital;
    const std::int32_t height = step.group->geometry->bounding_box().height();
    tallest = std::max(tallest, height);
    least = std::min(least, height);
  }
  return any_capital && 5 * std::int64_t{least} >= 3 * std::int64_t{tallest};
}

// Whether the list holds the word of a path of one letter or more with the
// capital it begins with and not with a small first letter: a name
// ("Canada").
bool capital_only_listed(const LetterPath& path) {
  const std::uint16_t first = path.steps[0].codes[0];
  return path.capitals_listed == LetterPath::kCapitalsListed && lower_case_letter(first) != first;
}

// Whether the list's case decides the case of the path's first letter: not
// for a letter of shared shape starting a word of two letters or more that
// the list holds both ways ("Will" and "will"), whose case its size decides
// as in a word the list does not hold (choose_letter_case).
bool list_decides_first_letter(const LetterPath& path) {
  if (path.capitals_listed != LetterPath::kCapitalsListedBothWays || path.steps.size() < 2) {
    return true;
  }
  const LetterStep& first = path.steps[0];
  const Answer* reading = first.group->answers->answers().item_checked(read_index(first));
  return reading == nullptr || reading->case_kind != 3;
}

// A letter of a word written in capitals is output in its capital form.
int keep_capital(FigureGroup& group) {
  const Answer& first = group.answers->answers()[0];
  if (first.codes[1] == 0 || first.codes[1] == first.codes[2]) return kOk;
  group.word_case = 1;
  return group.answers->set_code_choice(0, kCaseChoiceUpper);
}

// The groups of a letter path, each with the reading the path took at the
// head of its list. A word's first letter that the list does not hold with
// a capital, read by a capital way of writing no taller than a small
// letter, is output in lower case (lower_small_capital): judged before its
// reading moves, as the height it was measured by depends on the readings
// before it. Unless the list holds the word with its capital only (a name),
// a first letter that stands as a small letter among the word's own letters
// (first_letter_stands_small, shared_shape_first_letter) is output in lower
// case too, and one of shared shape that stands as a capital among them in
// upper case. The letters of a word written in capitals keep their capitals;
// the others keep the case the list holds the word with, but for a first
// letter whose case the list does not decide (list_decides_first_letter).
int add_letter_path(RecognitionContext& context, const LetterPath& path,
                    PtrArray<FigureGroup>& out) {
  for (const LetterStep& step : path.steps) {
    if (step.group == nullptr || !step.group->has_answers()) return kBadArgument;
  }
  const bool capitals = path.steps.size() > 1 && written_in_capitals(path);
  const bool judged_by_size = !capitals && !capital_only_listed(path);
  const FirstLetterStand shared =
      judged_by_size ? shared_shape_first_letter(
                           path, case_reference_height(context, *path.steps[0].group))
                     : FirstLetterStand::kUnmeasured;
  const bool small_first =
      judged_by_size && (shared == FirstLetterStand::kSmall || first_letter_stands_small(path));
  const bool capital_first = shared == FirstLetterStand::kCapital;
  const bool listed_first = list_decides_first_letter(path);
  for (std::uint32_t s = 0; s < path.steps.size(); ++s) {
    const LetterStep& step = path.steps[s];
    FigureGroup* group = step.group;
    int status = kOk;
    if (s == 0 && path.steps.size() > 1 && path.capitals_listed == LetterPath::kCapitalsNotListed &&
        !capitals) {
      status = lower_small_capital(context, *group, read_index(step));
    }
    if (status == kOk && step.answer > 0) {
      status = put_first(*group, static_cast<std::uint32_t>(step.answer));
    } else if (status == kOk && step.answer == -1) {
      status = read_saved_codes(*group);
    }
    if (status == kOk && s == 0 && (small_first || capital_first)) {
      const std::uint32_t choice = small_first ? kCaseChoiceLower : kCaseChoiceUpper;
      status = group->answers->set_code_choice(0, choice);
    } else if (status == kOk && capitals) {
      status = keep_capital(*group);
    } else if (status == kOk && path.capitals_listed != LetterPath::kCapitalsNotListed &&
               (s > 0 || listed_first)) {
      status = keep_listed_capital(*group, step.codes[0]);
    }
    if (status != kOk) return status;
    group->end_flag = s + 1 == path.steps.size() ? 1 : 0;
    if (out.push_back(group) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int add_own_codes(const WordBox& box, const SegmentPathStep& step, PtrArray<FigureGroup>& out,
                  PtrArray<LetterResult>& made) {
  if (std::uint64_t{step.own_first} + step.own_count > box.own_codes.size()) return kBadArgument;
  for (std::uint32_t k = 0; k < step.own_count; ++k) {
    LetterResult* group = made.add_new();
    if (group == nullptr) return kOutOfMemory;
    if (group->answers->insert(Answer::from_code(box.own_codes[step.own_first + k])) != kOk) {
      return kOutOfMemory;
    }
    group->end_flag = k + 1 == step.own_count ? 1 : 0;
    if (out.push_back(group) != kOk) return kOutOfMemory;
  }
  return kOk;
}

// The stretch of a plain step: from its record to the candidate before its
// target (the last of the line before a target at a line's start), or to
// the box's end.
int plain_span(RecognitionContext& context, const WordBox& box, const BoxSegment& record,
               const SegmentPathStep& step, LineSpan* span) {
  span->first_line = record.line;
  span->first_position = record.position;
  span->last_line = box.last_line;
  span->last_position = box.last_position;
  if (step.target < 0) return kOk;
  const BoxSegment* target = box.records.item_checked(static_cast<std::uint32_t>(step.target));
  if (target == nullptr) return kBadArgument;
  if (target->position > 0) {
    span->last_line = target->line;
    span->last_position = target->position - 1;
    return kOk;
  }
  if (target->line == 0) return kNothingToApply;
  const TextLine* before = context.text_lines().item_checked(target->line - 1u);
  if (before == nullptr) return kBadArgument;
  span->last_line = target->line - 1;
  span->last_position = static_cast<std::int32_t>(before->candidates.size()) - 1;
  return kOk;
}

int apply_step(RecognitionContext& context, const WordBox& box, const SegmentPathStep& step,
               const PtrArray<FigureGroup>& plain, PtrArray<FigureGroup>& out,
               PtrArray<LetterResult>& made) {
  if (step.letter_path == SegmentPathStep::kPassOver) return kOk;
  const BoxSegment* record = box.records.item_checked(step.record);
  if (record == nullptr) return kBadArgument;
  if (step.letter_path < SegmentPathStep::kFirstLetterPath) {
    return add_own_codes(box, step, out, made);
  }
  const bool weak_first = step.weak != 0 && step.letter_path == SegmentPathStep::kFirstLetterPath;
  if (step.link >= 0 && !weak_first) {
    const SegmentLink* link = record->links.item_checked(static_cast<std::uint32_t>(step.link));
    const LetterPath* path =
        link == nullptr ? nullptr
                        : link->paths.item_checked(static_cast<std::uint32_t>(
                              step.letter_path < 0 ? 0 : step.letter_path));
    if (path == nullptr) return kBadArgument;
    return add_letter_path(context, *path, out);
  }
  LineSpan span;
  if (const int status = plain_span(context, box, *record, step, &span); status != kOk) {
    return status;
  }
  return collect_element_variants(plain, span, out);
}

}  // namespace

int recognize_segments(RecognitionContext& context, WordBoxList& list,
                       PtrArray<FigureGroup>& output, PtrArray<LetterResult>& made) {
  if (list.boxes.empty()) return kOk;
  PtrArray<FigureGroup> readings{16, false};
  for (const WordBox& box : list.boxes) {
    for (const SegmentPathStep& step : box.result.steps) {
      if (const int status = apply_step(context, box, step, output, readings, made);
          status != kOk) {
        return status;
      }
    }
  }
  output.swap(readings);
  return kOk;
}

}  // namespace inkrec
