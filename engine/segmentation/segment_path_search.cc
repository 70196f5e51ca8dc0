#include "engine/segmentation/segment_path_search.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/rules/pair_scoring.h"
#include "engine/rules/pair_test.h"
#include "engine/rules/punctuation_rule.h"
#include "engine/segmentation/mark_cut.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kHyphen = u'-';
// A hyphen read with this answer key stands beside the letters: the step
// after it counts as the path's second.
constexpr std::uint16_t kStandAsideHyphenKey = 484;
constexpr std::int32_t kPenalty = -50;
constexpr int kOpensOrJoins = 1;
constexpr int kJoinsWords = 4;
constexpr std::int32_t kNoParts[SegmentPath::kPartCount] = {};

// The plain reading (every group's first answer) from the box's start.
struct PlainSums {
  std::int32_t value = 0;
  std::int32_t pair = 0;
  std::int32_t strokes = 0;
};

struct GroupSpan {
  int line = 0;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

bool span_of(const FigureGroup& group, GroupSpan* span) {
  span->line = group_line(group);
  return group.coverage.lowest_bit(&span->first) && group.coverage.highest_bit(&span->last);
}

int step_line(const LetterStep& step) {
  return step.group == nullptr ? -3 : group_line(*step.group);
}

bool has_class(const PathSearchScope& scope, std::uint16_t code, int bit) {
  return (scope.classes.punctuation_class(code) & bit) != 0;
}

bool is_mark_record(std::uint32_t kind) {
  return kind == BoxSegment::kAfterMark || kind == BoxSegment::kWideGap;
}

// The number of candidates of a text line; -1 when there is no such line.
std::int64_t candidate_count(PathSearchScope& scope, int line) {
  if (line < 0) return -1;
  const TextLine* text_line =
      scope.context.text_lines().item_checked(static_cast<std::uint32_t>(line));
  return text_line == nullptr ? -1 : text_line->candidates.size();
}

// Whether the group ends right before the record: at the position before it
// on its line, or at the last candidate of the line before a record at
// position 0. -2 for a line that does not exist.
int ends_before(PathSearchScope& scope, const GroupSpan& span, const BoxSegment& record,
                bool* ends) {
  if (record.position > 0) {
    *ends = span.line == record.line && span.last + 1 == record.position;
    return kOk;
  }
  const std::int64_t count = candidate_count(scope, record.line - 1);
  if (count < 0) return kBadArgument;
  *ends = span.line == record.line - 1 && std::int64_t{span.last} + 1 == count;
  return kOk;
}

// The group that starts at a line and position; null when none does.
FigureGroup* group_at(PathSearchScope& scope, int line, std::uint32_t position) {
  for (FigureGroup* group : scope.groups) {
    GroupSpan span;
    if (group != nullptr && span_of(*group, &span) && span.line == line && span.first == position) {
      return group;
    }
  }
  return nullptr;
}

const BoxSegment* record_at(const WordBox& box, std::int32_t index) {
  return index < 0 ? nullptr : box.records.item_checked(static_cast<std::uint32_t>(index));
}

// The letter path a path step names: null for a step without a link or
// with its own codes; -2 for an index that names nothing.
int letter_path_of(const BoxSegment& record, const SegmentPathStep& step, const LetterPath** path) {
  *path = nullptr;
  if (step.link < 0 || step.letter_path < SegmentPathStep::kFirstLetterPath) return kOk;
  const SegmentLink* link = record.links.item_checked(static_cast<std::uint32_t>(step.link));
  if (link == nullptr) return kBadArgument;
  const auto index = static_cast<std::uint32_t>(step.letter_path < 0 ? 0 : step.letter_path);
  *path = link->paths.item_checked(index);
  return *path == nullptr ? kBadArgument : kOk;
}

// Whether `later` (read with its answer) may follow `earlier`: the pair test
// and the punctuation rule both let it.
int pair_allowed(PathSearchScope& scope, FigureGroup& later, int later_answer, FigureGroup& earlier,
                 int earlier_answer, bool* allowed) {
  int refused = 0;
  if (const int status = test_element_pair_cached(&scope.context, &later, &earlier, &refused);
      status != kOk) {
    return status;
  }
  int flag = 0;
  apply_punctuation_rule_cached(later, earlier, later_answer, earlier_answer, &flag);
  *allowed = refused == 0 && flag == 0;
  return kOk;
}

// ---- The plain reading and the weak marks.

// Whether the plain reading has come to the end of the link's paths with
// this group.
int link_ends_at(PathSearchScope& scope, const WordBox& box, const SegmentLink& link,
                 const GroupSpan& span, bool* ends) {
  if (link.target < 1) {
    *ends = span.line == box.last_line && std::int64_t{span.last} == box.last_position;
    return kOk;
  }
  const BoxSegment* target = record_at(box, link.target);
  if (target == nullptr) return kBadArgument;
  if (target->position > 0 && target->own_group == 0) {
    *ends = false;
    return kOk;
  }
  return ends_before(scope, span, *target, ends);
}

// Hands the sums to every link of the record that ends with the group, and
// judges its first letter path against them.
int close_links(PathSearchScope& scope, const WordBox& box, BoxSegment& record,
                const GroupSpan& span, const PlainSums& sums) {
  for (SegmentLink* link : record.links) {
    if (link == nullptr) return kBadArgument;
    bool ends = false;
    if (const int status = link_ends_at(scope, box, *link, span, &ends); status != kOk) {
      return status;
    }
    if (!ends) continue;
    link->value_sum = sums.value;
    link->pair_sum = sums.pair;
    LetterPath* first = link->paths.front();
    if (first == nullptr) return kBadArgument;
    mark_weak_path(*first, sums.value, sums.pair);
  }
  return kOk;
}

// The plain reading from the box's start through the record's groups: the
// groups before the record are passed over, the group at the record is
// read, and the groups after it only when a group starts at the record.
int read_plain(PathSearchScope& scope, const WordBox& box, BoxSegment& record, PlainSums* sums) {
  FigureGroup* previous = nullptr;
  for (FigureGroup* group : scope.groups) {
    if (group == nullptr) return kBadArgument;
    GroupSpan span;
    if (!span_of(*group, &span)) continue;
    if (span.line < record.line || (span.line == record.line && span.first < record.position)) {
      continue;
    }
    const bool at_record = span.line == record.line && span.first == record.position;
    if (!at_record && record.own_group == 0) break;
    std::int32_t score = 0;
    if (previous != nullptr) {
      const int status = score_element_pair_cached(
          group, previous, 0, 0, scope.context.letter_height(), scope.context.slant_angle(),
          group->index, &score, &scope.context, 0);
      if (status != kOk) return status;
    }
    const std::int32_t strokes = group_strokes(*group);
    if (group->has_answers()) {
      sums->value += group->best_total() * strokes;
      sums->pair += score;
    }
    sums->strokes += strokes;
    if (const int status = close_links(scope, box, record, span, *sums); status != kOk) {
      return status;
    }
    previous = group;
  }
  return kOk;
}

// ---- The penalties of a letter path.

// A path that starts or ends across a line break: 50 for a second letter
// on another line than the first, and 50 for a last letter on another line
// than the one before it unless that one's reading ends with a hyphen.
std::int32_t line_break_penalty(const LetterPath& path) {
  const DynArray<LetterStep>& steps = path.steps;
  const LetterStep* second = &steps[1];
  if (step_character(*second) == kHyphen && steps.size() >= 3 &&
      step_answer_key(*second) == kStandAsideHyphenKey) {
    second = &steps[2];
  }
  std::int32_t penalty = step_line(steps[0]) != step_line(*second) ? kPenalty : 0;
  const LetterStep& last = steps.back();
  const LetterStep& before = steps[steps.size() - 2];
  if (step_line(last) != step_line(before) && step_code(before, 1) != kHyphen) {
    penalty += kPenalty;
  }
  return penalty;
}

// Whether a link to `target` gives no path: a single opening mark before a
// record of its own line, a line that goes on with a single word-joining
// mark, or a path that ends with an opening mark across a line break.
int link_is_passed_over(const PathSearchScope& scope, const BoxSegment& record,
                        const BoxSegment& target, const LetterPath& path, bool* passed) {
  const bool same_line = target.line == record.line;
  const DynArray<LetterStep>& steps = path.steps;
  *passed = false;
  if (steps.size() == 1 && same_line && !path.codes.empty() &&
      has_class(scope, path.codes[0], kOpensOrJoins)) {
    *passed = true;
    return kOk;
  }
  if (same_line && !target.best.steps.empty()) {
    const LetterPath* next = nullptr;
    if (const int status = letter_path_of(target, target.best.steps[0], &next); status != kOk) {
      return status;
    }
    if (next != nullptr && next->steps.size() == 1 && !next->codes.empty() &&
        has_class(scope, next->codes[0], kJoinsWords)) {
      *passed = true;
      return kOk;
    }
  }
  if (steps.size() >= 2 && !same_line) {
    const LetterStep& last = steps.back();
    *passed = has_class(scope, step_character(last), kOpensOrJoins) &&
              step_line(last) != step_line(steps[steps.size() - 2]);
  }
  return kOk;
}

// 50 for each wide gap the path spans: a record between the two (or after
// the record, without a target) whose gap measure is large against the
// record's own (records after a mark or at a wide gap) or against the
// letter height and the box statistics (other records), and again against
// a target after a mark or at a wide gap.
std::int32_t gap_penalty(const PathSearchScope& scope, const WordBox& box, std::uint32_t index,
                         const BoxSegment* target, std::int32_t target_index) {
  const BoxSegment& record = box.records[index];
  const std::int32_t height = scope.context.letter_height();
  const std::int32_t end = target == nullptr ? std::int32_t(box.records.size()) : target_index;
  std::int32_t penalty = 0;
  for (std::int32_t j = std::int32_t(index) + 1; j < end; ++j) {
    const BoxSegment& between = box.records[static_cast<std::uint32_t>(j)];
    if (between.kind == BoxSegment::kLineStart) continue;
    const std::int32_t measure = between.measure;
    if (is_mark_record(record.kind)) {
      if (record.measure < 2 * measure / 3) penalty += kPenalty;
    } else if (measure > 2 * height && measure > 3 * scope.statistics.x_gap_mean &&
               measure > 3 * scope.statistics.least_distance_mean) {
      penalty += kPenalty;
    }
    if (target != nullptr && is_mark_record(target->kind) && target->measure < 2 * measure / 3) {
      penalty += kPenalty;
    }
  }
  return penalty;
}

// ---- The paths of a record.

// The path of one step through link `link` of record `index`, reading its
// letter path with the penalties.
int path_through_link(std::uint32_t index, std::int16_t target, std::int16_t link,
                      const LetterPath& path,
                      const std::int32_t (&penalties)[SegmentPath::kPartCount], SegmentPath* out) {
  out->reset();
  SegmentPathStep step;
  step.record = index;
  step.target = target;
  step.link = link;
  step.weak = path.weak;
  if (out->steps.push_back(step) != kOk) return kOutOfMemory;
  out->add_letter_path(path, penalties);
  return kOk;
}

void keep_if_better(SegmentPath& fresh, SegmentPath& best) {
  if (SegmentPath::replaces(fresh, best)) std::swap(fresh, best);
}

// The first group of the target's best path and the answer it reads.
int first_group_of(PathSearchScope& scope, const BoxSegment& target, FigureGroup** group,
                   int* answer) {
  const SegmentPathStep& head = target.best.steps[0];
  const LetterPath* path = nullptr;
  if (const int status = letter_path_of(target, head, &path); status != kOk) return status;
  if (path != nullptr && !path->steps.empty()) {
    *group = path->steps[0].group;
    *answer = path->steps[0].answer;
  } else if (head.link < 0) {
    *group = group_at(scope, target.line, target.position);
    *answer = 0;
  } else {
    *group = nullptr;
  }
  return *group == nullptr ? kBadArgument : kOk;
}

// The character the target's best path begins with.
int first_character_of(const BoxSegment& target, const FigureGroup& group, std::uint16_t* code) {
  const LetterPath* path = nullptr;
  if (const int status = letter_path_of(target, target.best.steps[0], &path); status != kOk) {
    return status;
  }
  if (path != nullptr && !path->steps.empty()) {
    *code = step_character(path->steps[0]);
  } else {
    *code = static_cast<std::uint16_t>(std::max(candidate_code(group, 0), 0));
  }
  return kOk;
}

// Whether the path may end a word right before the target on its line:
// a word that ends with a mark goes on with a letter only across a wide gap.
int word_may_end_before(const BoxSegment& target, const FigureGroup& next,
                        const LetterStep& last, bool* may_end) {
  *may_end = true;
  if (target.kind == BoxSegment::kWideGap || group_line(next) != group_line(*last.group)) {
    return kOk;
  }
  std::uint16_t next_code = 0;
  if (const int status = first_character_of(target, next, &next_code); status != kOk) {
    return status;
  }
  *may_end = may_cut_without_gap(step_character(last), next_code);
  return kOk;
}

// Joins the path to the target's best path where the pair rules let the
// target's first group follow the path's last and a word may end there:
// the pair score where the two meet on one line counts as the first
// penalty part. *joined is false when the target has no best path or the
// two may not meet.
int join_target(PathSearchScope& scope, const BoxSegment& target, const LetterPath& letters,
                SegmentPath& path, bool* joined) {
  *joined = false;
  if (target.best.steps.empty()) return kOk;
  FigureGroup* next = nullptr;
  int next_answer = 0;
  if (const int status = first_group_of(scope, target, &next, &next_answer); status != kOk) {
    return status;
  }
  const LetterStep& last = letters.steps.back();
  if (last.group == nullptr) return kBadArgument;
  bool may_end = false;
  if (const int status = word_may_end_before(target, *next, last, &may_end);
      status != kOk || !may_end) {
    return status;
  }
  bool allowed = false;
  if (const int status =
          pair_allowed(scope, *next, next_answer, *last.group, last.answer, &allowed);
      status != kOk || !allowed) {
    return status;
  }
  if (group_line(*next) == group_line(*last.group)) {
    std::int32_t score = 0;
    const int status = score_element_pair_cached(
        next, last.group, next_answer, last.answer, scope.context.letter_height(),
        scope.context.slant_angle(), 0, &score, &scope.context, 0);
    if (status != kOk) return status;
    path.parts[0] += score;
  }
  if (const int status = path.append(target.best); status != kOk) return status;
  *joined = true;
  return kOk;
}

// The last record reads its first letter path to the box's end, or its
// plain reading when it has no links and a group starts at it.
int search_last_record(WordBox& box, std::uint32_t index, const PlainSums& sums) {
  BoxSegment& record = box.records[index];
  if (record.links.empty()) {
    if (record.own_group == 0) return kOk;
    return record.best.start(index, -1, -1, sums.value, {sums.pair, 0, 0, 0}, sums.strokes);
  }
  const SegmentLink* link = record.links.front();
  const LetterPath* first = link == nullptr ? nullptr : link->paths.front();
  if (first == nullptr) return kBadArgument;
  if (const int status = path_through_link(index, -1, 0, *first, kNoParts, &record.best);
      status != kOk) {
    return status;
  }
  record.best.weak_count = first->weak != 0 ? 1 : -1;
  return kOk;
}

// The best path through each link of the record.
int search_links(PathSearchScope& scope, WordBox& box, std::uint32_t index) {
  BoxSegment& record = box.records[index];
  const bool on_last_line = record.line == box.last_line;
  SegmentPath path;  // a path that lost keeps its storage for the next
  for (std::uint32_t k = 0; k < record.links.size(); ++k) {
    const SegmentLink* link = record.links[k];
    if (link == nullptr) return kBadArgument;
    const BoxSegment* target = nullptr;
    if (link->target >= 0) {
      target = record_at(box, link->target);
      if (target == nullptr || link->target <= std::int32_t(index)) return kBadArgument;
    }
    const LetterPath* letters = link->paths.front();
    if (letters == nullptr || letters->steps.empty()) return kBadArgument;
    std::int32_t penalties[SegmentPath::kPartCount] = {};
    if (target != nullptr || !on_last_line) {
      const bool across = target == nullptr || target->line != record.line;
      if (across && letters->steps.size() >= 2) penalties[2] = line_break_penalty(*letters);
      if (target != nullptr) {
        bool passed = false;
        if (const int status = link_is_passed_over(scope, record, *target, *letters, &passed);
            status != kOk) {
          return status;
        }
        if (passed) continue;
        if (target->position == 0 && !target->links.empty() &&
            step_code(letters->steps.back(), 1) == kHyphen) {
          penalties[3] = kPenalty;
        }
      }
      penalties[1] = gap_penalty(scope, box, index, target, link->target);
    }
    if (const int status =
            path_through_link(index, target == nullptr ? -1 : link->target,
                              static_cast<std::int16_t>(k), *letters, penalties, &path);
        status != kOk) {
      return status;
    }
    if (target == nullptr) {
      path.weak_count = -1;
    } else {
      bool joined = false;
      if (const int status = join_target(scope, *target, *letters, path, &joined); status != kOk) {
        return status;
      }
      if (!joined) continue;
    }
    keep_if_better(path, record.best);
  }
  return kOk;
}

// Whether a link of the record leads to record j.
bool is_link_target(const BoxSegment& record, std::uint32_t j) {
  for (const SegmentLink* link : record.links) {
    if (link != nullptr && link->target == std::int32_t(j)) return true;
  }
  return false;
}

// A record after a mark holds, read through its first answer, a group that
// ends right before it.
int holds_reading_before(PathSearchScope& scope, const BoxSegment& record, bool* holds) {
  *holds = false;
  for (std::uint32_t k = 0; k < record.groups.size() && !*holds; ++k) {
    const FigureGroup* group = record.groups[k];
    const std::int16_t* answer = record.answers.item_checked(k);
    if (group == nullptr || answer == nullptr) return kBadArgument;
    GroupSpan span;
    if (*answer > 0 || *answer < -1 || !span_of(*group, &span)) continue;
    if (const int status = ends_before(scope, span, record, holds); status != kOk) return status;
  }
  return kOk;
}

// The plain reading from the record up to a later record, joined to that
// record's best path.
int search_later_records(PathSearchScope& scope, WordBox& box, std::uint32_t index,
                         const PlainSums& sums) {
  BoxSegment& record = box.records[index];
  SegmentPath path;  // a path that lost keeps its storage for the next
  for (std::uint32_t j = index + 1; j < box.records.size(); ++j) {
    const BoxSegment& later = box.records[j];
    if (is_link_target(record, j) || later.best.steps.empty() || later.own_group == 0) continue;
    if (later.kind == BoxSegment::kAfterMark) {
      bool holds = false;
      if (const int status = holds_reading_before(scope, later, &holds); status != kOk) {
        return status;
      }
      if (!holds) continue;
    }
    FigureGroup* own = group_at(scope, record.line, record.position);
    FigureGroup* next = group_at(scope, later.line, later.position);
    if (own == nullptr || next == nullptr) return kBadArgument;
    bool allowed = false;
    int status = pair_allowed(scope, *next, 0, *own, 0, &allowed);
    if (status != kOk) return status;
    if (!allowed) continue;
    status = path.start(index, static_cast<std::int16_t>(j), -1, sums.value - later.value_sum,
                        {sums.pair - later.pair_sum, 0, 0, 0}, sums.strokes - later.stroke_sum);
    if (status == kOk) status = path.append(later.best);
    if (status != kOk) return status;
    keep_if_better(path, record.best);
  }
  return kOk;
}

int search_record(PathSearchScope& scope, WordBox& box, std::uint32_t index) {
  BoxSegment& record = box.records[index];
  PlainSums sums;
  if (const int status = read_plain(scope, box, record, &sums); status != kOk) return status;
  record.value_sum = sums.value;
  record.pair_sum = sums.pair;
  record.stroke_sum = sums.strokes;
  record.best.reset();
  if (index + 1 == box.records.size()) return search_last_record(box, index, sums);
  if (const int status = search_links(scope, box, index); status != kOk) return status;
  if (record.own_group == 0) return kOk;
  if (const int status = search_later_records(scope, box, index, sums); status != kOk) {
    return status;
  }
  if (record.best.weak_count != -1) return kOk;
  SegmentPath plain;
  if (const int status = plain.start(index, -1, -1, sums.value, {sums.pair, 0, 0, 0}, sums.strokes);
      status != kOk) {
    return status;
  }
  keep_if_better(plain, record.best);
  return kOk;
}

}  // namespace

void mark_weak_path(LetterPath& path, std::int32_t value_sum, std::int32_t pair_sum) {
  const std::int64_t steps = path.steps.size();
  const std::int64_t others = path.non_first;
  const std::int64_t strokes = path.strokes;
  const std::int64_t plain = value_sum + strokes * pair_sum;
  const auto exceeds = [&](std::int64_t margin) {
    return plain > path.weighted_total + (path.extra() + margin) * strokes;
  };
  bool weak = path.weak != 0;
  if (others > 0 && steps > 4) {
    if (others > 2 * steps / 7 && exceeds(726)) weak = true;
    if (others > 3 * steps / 7 && exceeds(585)) weak = true;
  }
  if (static_cast<std::uint32_t>(path.least_value) < 6650 && path.greatest_second >= 270 &&
      steps >= 2 && steps <= 4 && static_cast<std::uint64_t>(steps - others) < 2 && exceeds(560)) {
    weak = true;
  }
  if (weak && steps > 4 * others) weak = false;
  path.weak = weak ? 1 : 0;
}

int search_paths(PathSearchScope& scope, WordBox& box, std::uint32_t index) {
  if (index >= box.records.size() || box.last_position < 0) return kBadArgument;
  for (std::uint32_t i = index + 1; i-- > 0;) {
    if (const int status = search_record(scope, box, i); status != kOk) return status;
  }
  return box.result.assign(box.records[0].best);
}

}  // namespace inkrec
