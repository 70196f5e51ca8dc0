#include "engine/segmentation/word_box_search.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/capital_letters.h"
#include "engine/foundation/status.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_fields.h"
#include "engine/records/recognition_context.h"
#include "engine/rules/pair_test.h"
#include "engine/rules/punctuation_rule.h"
#include "engine/segmentation/mark_cut.h"
#include "engine/segmentation/segment_path_search.h"
#include "engine/segmentation/word_box_preparation.h"

namespace inkrec {
namespace {

constexpr int kOpensOrJoins = 1;
constexpr std::uint16_t kApostrophe = 39;
constexpr std::uint16_t kHyphen = u'-';
constexpr std::uint32_t kQuickLimit = 3;
constexpr std::int16_t kNoTarget = -2;
constexpr std::uint32_t kPrefixCodes = WordText::kMaxCodes + LetterStep::kMaxCodes;
constexpr std::int32_t kShortcutMargin = 121;
constexpr int kNoWay = -100;
constexpr std::uint32_t kFirstRememberedStep = 4;

bool excluded(const FigureGroup& group) {
  return (group.flags & FigureGroup::kNotInCovers) != 0 ||
         (group.exclusion_flags & FigureGroup::kExcluded) != 0;
}

bool has_class(const WordSearchScope& scope, std::uint16_t code, int bit) {
  return (scope.classes.punctuation_class(code) & bit) != 0;
}

std::int16_t signed_piece(const FigureRecord& figure) {
  return static_cast<std::int16_t>(piece_number(figure));
}

// Whether the group holds the first piece of every stroke it takes a piece
// of (a whole stroke is its own first piece).
bool starts_its_strokes(const FigureGroup& group) {
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr || signed_piece(*figure) <= 1) continue;
    const bool first_held =
        std::any_of(group.figures.begin(), group.figures.end(), [&](const FigureRecord* other) {
          return other != nullptr && stroke_number(*other) == stroke_number(*figure) &&
                 signed_piece(*other) <= 1;
        });
    if (!first_held) return false;
  }
  return true;
}

// The run of pieces a group holds of the one stroke all its figures come
// from: the stroke, its first piece and the end of its last.
struct StrokePieces {
  std::uint16_t stroke = 0;
  std::int32_t first = 0;
  std::int32_t last = 0;
};

// What the rules for the next group read of the path's last step, the
// same for every group tried after it: whether its group's figures come
// from one stroke (and which pieces), and whether it reads an apostrophe.
struct LastStepPieces {
  bool of_one_stroke = false;
  StrokePieces pieces;
  bool apostrophe = false;
};

bool pieces_of_one_stroke(const FigureGroup& group, StrokePieces* out) {
  if (group.figures.empty() || group.figures[0] == nullptr) return false;
  out->stroke = stroke_number(*group.figures[0]);
  out->first = signed_piece(*group.figures[0]);
  out->last = static_cast<std::int16_t>(end_key(*group.figures[0]));
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr || stroke_number(*figure) != out->stroke) return false;
    out->first = std::min<std::int32_t>(out->first, signed_piece(*figure));
    out->last = std::max<std::int32_t>(out->last, static_cast<std::int16_t>(end_key(*figure)));
  }
  return true;
}

const TextLine* text_line(WordSearchScope& scope, std::uint32_t line) {
  return scope.context.text_lines().item_checked(line);
}

std::uint32_t candidate_count(WordSearchScope& scope, std::uint32_t line) {
  const TextLine* text = text_line(scope, line);
  return text == nullptr ? 0 : text->candidates.size();
}

// The code a word-ending reading must share with a record after a mark:
// the second code of the reading (of the first reading's saved codes for
// -1).
std::uint16_t second_code_of(const FigureGroup& group, std::int16_t answer) {
  if (group.answers == nullptr) return 0;
  const Answer* read =
      group.answers->answers().item_checked(answer < 0 ? 0u : static_cast<std::uint32_t>(answer));
  if (read == nullptr) return 0;
  return answer < 0 ? read->saved_codes[1] : read->codes[1];
}

// Whether the reading carries a lower- and an upper-case form to choose
// between.
bool has_case_forms(const Answer& read, bool saved) {
  const std::uint16_t* codes = saved ? read.saved_codes : read.codes;
  return codes[1] != 0 && codes[2] != 0 && codes[1] != codes[2];
}

// Whether a record after a mark lists the group (with a reading whose
// second code is `code`, unless any reading will do).
bool lists_group(const BoxSegment& record, const FigureGroup& group, bool any_reading,
                 std::uint16_t code) {
  for (std::uint32_t k = 0; k < record.groups.size(); ++k) {
    if (record.groups[k] != &group) continue;
    const std::int16_t* answer = record.answers.item_checked(k);
    if (any_reading || (answer != nullptr && second_code_of(group, *answer) == code)) return true;
  }
  return false;
}

// Whether the two groups take pieces of one stroke.
bool share_a_stroke(const FigureGroup& a, const FigureGroup& b) {
  for (const FigureRecord* x : a.figures) {
    for (const FigureRecord* y : b.figures) {
      if (x != nullptr && y != nullptr && stroke_number(*x) == stroke_number(*y)) return true;
    }
  }
  return false;
}

}  // namespace

void mark_weak_letters(LetterPath& path) {
  const std::int64_t steps = path.steps.size();
  const std::int64_t others = path.non_first;
  if (path.greatest_second >= 800 && 5 * others > 4 * steps && steps != 1 &&
      path.least_value <= 6600) {
    path.weak = 1;
  } else if (steps >= 4 && path.greatest_second >= 701 && path.value_sum > 490 * steps &&
             path.least_value < 6100 && others > 2 * steps / 5) {
    path.weak = 1;
  }
}

namespace {

// The covered positions at and behind `position`, as a mask.
std::uint32_t covered_mask(const BitSet* covered, std::uint32_t position) {
  return covered == nullptr ? 0 : covered->bits_from(position);
}

// Where a group takes the search: the next free place, whether the search
// behind it runs in carry mode, and the record (or the box's end) it
// reaches.
struct Move {
  std::uint32_t line = 0;
  std::uint32_t position = 0;
  bool carry = false;
  bool inside = false;
  std::int16_t target = kNoTarget;
};

// The search from one segment record (search_segmentation): a depth-first
// walk that extends one working path.
class RecordSearch {
 public:
  RecordSearch(WordSearchScope& scope, WordBox& box, std::uint32_t index)
      : scope_(scope), box_(box), index_(index) {}

  int run() {
    const BoxSegment& record = box_.records[index_];
    return search(record.line, record.position, 0, nullptr, false);
  }

 private:
  BoxSegment& record() { return box_.records[index_]; }

  int search(std::uint32_t line, std::uint32_t position, std::uint32_t start,
             const BitSet* covered, bool carry);
  bool settled() const;
  std::uint32_t held_paths() const;
  int consult_memo(const SearchState& state, std::uint32_t start, bool carry, bool* go_on);
  SearchOrigin origin(std::uint32_t start, bool carry) const;
  int try_group(FigureGroup& group, std::uint32_t group_index, std::uint32_t level_start,
                std::uint32_t line, std::uint32_t position, const BitSet* covered,
                const CharSlotMap& letters, const SearchState& here, bool carry_next);
  int try_answer(FigureGroup& group, std::uint32_t a, const Move& move,
                 const CharSlotMap& letters, const SearchState& here, std::uint32_t line,
                 std::uint32_t next_start);
  int try_reading(FigureGroup& group, std::int16_t answer,
                  std::int16_t ordinal, const Move& move, const CharSlotMap& letters,
                  const SearchState& here);
  bool stores_word(const FigureGroup& group, std::int16_t answer, const Move& move,
                   std::uint32_t weight) const;
  int reading_weight(const Answer& read, bool saved, const CharSlotMap& letters,
                     std::uint32_t* weight, std::uint16_t* read_as);
  bool may_follow(const FigureGroup& group, const LastStepPieces& last) const;
  LastStepPieces last_step_pieces() const;
  bool move_of(FigureGroup& group, std::uint32_t line, std::uint32_t position,
               const BitSet* covered, Move* move);
  std::int16_t target_of(const FigureGroup& group, const Move& move, std::uint32_t sum) const;

  WordSearchScope& scope_;
  WordBox& box_;
  std::uint32_t index_;
  LetterPath path_;
  LetterPath replay_;  // a copy of path_ taking a continuation; its room is kept
  std::uint32_t places_ = 0;  // the places this search visited
  std::uint32_t band_steps_ = 0;  // the path's steps read in the band
};

// Whether reading a lies in the band of the wider margin: further below
// the group's first reading than the usual margin lets a reading stand.
bool in_band(std::span<const DigestedReading> readings, std::uint32_t a) {
  return a > 0 && readings[0].total - readings[a].total > AnswerList::kReferenceMargin;
}

// The readings of the band a path of `steps` steps may hold.
std::uint32_t band_readings_allowed(std::uint32_t steps) {
  return kBandReadingsPerPath + (steps >= kSecondBandReadingSteps ? 1 : 0);
}

// The letter paths the record holds so far.
std::uint32_t RecordSearch::held_paths() const {
  std::uint32_t held = 0;
  for (const SegmentLink* link : box_.records[index_].links) {
    if (link != nullptr) held += link->paths.size();
  }
  return held;
}

// Whether the search goes no further and keeps what it holds: once it has
// visited its share of places, or, with the quick flag set, once it holds
// more than two paths.
bool RecordSearch::settled() const {
  return places_ >= kRecordPlaceBudget ||
         (scope_.context.kernel().quick_flag() && held_paths() > 2);
}

int RecordSearch::search(std::uint32_t line, std::uint32_t position, std::uint32_t start,
                         const BitSet* covered, bool carry) {
  if (scope_.context.kernel().stop_flag()) return kStopped;
  if (settled()) return kOk;
  ++places_;
  ++scope_.places_searched;
  const SearchState here{position | line << 16, covered_mask(covered, position),
                         path_.codes.span()};
  if (!path_.steps.empty() && path_.steps.size() < kFirstRememberedStep &&
      !scope_.memo.claim_short_search(here, origin(start, carry))) {
    return kOk;
  }
  if (path_.steps.size() >= kFirstRememberedStep) {
    bool go_on = true;
    if (const int status = consult_memo(here, start, carry, &go_on); status != kOk || !go_on) {
      return status;
    }
  }
  const CharSlotMap& letters =
      path_.steps.empty()
          ? scope_.start_letters
          : scope_.allowed.letters_after(scope_.words, path_.codes.span(), path_.weight,
                                         scope_.letter_index, scope_.classes);
  const TextLine* text = text_line(scope_, line);
  if (text == nullptr) return kBadArgument;
  const std::uint32_t bound = carry ? position : position + 1;
  const LastStepPieces last = last_step_pieces();
  bool key_set = false;
  std::uint16_t level_key = 0;
  std::uint32_t tried = 0;
  for (std::uint32_t g = start; g < text->letter_results.size(); ++g) {
    if (scope_.context.kernel().stop_flag()) return kStopped;
    if (settled() || (scope_.context.kernel().quick_flag() && tried >= kQuickLimit)) break;
    FigureGroup* group = text->letter_results[g];
    if (group == nullptr) return kBadArgument;
    std::uint32_t first = 0;
    if (!group->has_answers() || excluded(*group) || !group->coverage.lowest_bit(&first) ||
        first < position || group->figures.empty()) {
      continue;
    }
    if (first > bound) break;
    if (covered != nullptr && group->coverage.intersects(*covered)) continue;
    const std::uint16_t key = figure_key(*group->figures[0]);
    bool carry_next = false;
    if (first == position) {
      key_set = true;
      level_key = key;
    } else if (!key_set || level_key != key) {
      continue;
    } else {
      carry_next = true;
    }
    if (!may_follow(*group, last)) continue;
    if (!path_.steps.empty()) {
      int refused = 0;
      const int status =
          test_element_pair_cached(&scope_.context, group, path_.steps.back().group, &refused);
      if (status != kOk) return status;
      if (refused != 0) continue;
    }
    ++tried;
    const int status =
        try_group(*group, g, start, line, position, covered, letters, here, carry_next);
    if (status != kOk) return status;
    if (scope_.context.kernel().stop_flag()) return kStopped;
  }
  return kOk;
}

SearchOrigin RecordSearch::origin(std::uint32_t start, bool carry) const {
  const LetterStep& last = path_.steps.back();
  return {.last_group = last.group,
          .last_answer = last.answer,
          .carry = carry,
          .start = start,
          .steps = path_.steps.size(),
          .weight = path_.weight,
          .strokes = path_.strokes,
          .weighted_total = path_.weighted_total,
          .extra = path_.extra()};
}

// Step 2 of the search: a path of four steps or more meets its state. A
// path that may search on from it does so only when no path of its origin
// that read its strokes at least as well searched from there before; a path
// that read them worse than the first stops unless its last reading is one
// no path searched from there after.
int RecordSearch::consult_memo(const SearchState& state, std::uint32_t start, bool carry,
                               bool* go_on) {
  const std::int32_t value = path_.value();
  MemoEntry* entry = scope_.memo.find(state);
  if (entry == nullptr) {
    scope_.memo.claim_search(scope_.memo.add(state, value), origin(start, carry));
    return kOk;
  }
  if (entry->value > value) {
    // A path that read its strokes to here worse than the first one can
    // only read worse what a path ending in its last reading found from
    // here; after another reading the groups that may follow and the pair
    // scores differ, and it may find a word none found: it searches on.
    const SearchOrigin from = origin(start, carry);
    if (!scope_.memo.searched_after(*entry, from)) {
      *go_on = scope_.memo.claim_search(*entry, from);
      return kOk;
    }
    *go_on = false;
    if (!entry->closed && entry->continuations.empty()) return kOk;
    close_states(scope_.memo, path_);
    return kOk;
  }
  if (entry->closed) {
    *go_on = scope_.memo.claim_search(*entry, origin(start, carry));
    return kOk;
  }
  // Stored paths add continuations to this entry: replay a copy of each.
  const std::size_t count = entry->continuations.size();
  for (std::size_t c = 0; c < count; ++c) {
    const Continuation known = scope_.memo.find(state)->continuations[c];
    if (replay_.assign(path_) != kOk) return kOutOfMemory;
    int status = kOk;
    for (const LetterStep& step : known.steps) {
      status = extend_path(replay_, step, CharSlotMap::kWordEnds, scope_.context, scope_.classes);
      if (status != kOk) break;
    }
    if (status == kNoWay) continue;
    if (status != kOk) return status;
    status = add_letter_path_to_record(scope_, record(), replay_, known.target,
                                       path_.steps.size());
    if (status != kOk) return status;
  }
  *go_on = scope_.memo.claim_search(*entry, origin(start, carry));
  return kOk;
}

// The rules for a group right after the path's last step: a word does not
// start inside a cursive stroke, and the pieces of one stroke follow in
// their order. A group read from several pieces of a cut stroke holds each
// piece as a figure of its own, so a stroke is judged by the first and
// last piece the group holds of it.
bool RecordSearch::may_follow(const FigureGroup& group, const LastStepPieces& last) const {
  if (path_.steps.empty()) return starts_its_strokes(group);
  StrokePieces pieces;
  if (!last.of_one_stroke || !pieces_of_one_stroke(group, &pieces)) return true;
  if (pieces.stroke == last.pieces.stroke) return pieces.first == last.pieces.last + 2;
  return pieces.first <= 1 || last.apostrophe;
}

LastStepPieces RecordSearch::last_step_pieces() const {
  LastStepPieces last;
  if (path_.steps.empty()) return last;
  const LetterStep& step = path_.steps.back();
  last.of_one_stroke = step.group != nullptr && pieces_of_one_stroke(*step.group, &last.pieces);
  last.apostrophe = step_character(step) == kApostrophe;
  return last;
}

bool RecordSearch::move_of(FigureGroup& group, std::uint32_t line, std::uint32_t position,
                           const BitSet* covered, Move* move) {
  std::uint32_t next = position;
  while (group.coverage.test(next) || (covered != nullptr && covered->test(next))) ++next;
  std::uint32_t highest = position;
  group.coverage.highest_bit(&highest);
  move->carry = highest - position + 1 > group.coverage.count();
  move->line = line;
  move->position = next;
  if (next >= candidate_count(scope_, line)) {
    move->line = line + 1;
    move->position = 0;
  }
  const std::uint32_t sum = record().candidate_index +
                            static_cast<std::uint32_t>(path_.positions) + group.coverage.count();
  if (sum > box_.end_index) return false;
  move->target = target_of(group, *move, sum);
  const auto last_line = static_cast<std::uint32_t>(box_.last_line);
  move->inside = move->line < last_line ||
                 (move->line == last_line &&
                  move->position <= static_cast<std::uint32_t>(box_.last_position));
  return true;
}

std::int16_t RecordSearch::target_of(const FigureGroup& group, const Move& move,
                                     std::uint32_t sum) const {
  if (sum == box_.end_index) return -1;
  for (std::uint32_t r = 0; r < box_.records.size(); ++r) {
    const BoxSegment& target = box_.records[r];
    if (target.line != move.line || target.position != move.position ||
        target.candidate_index != sum) {
      continue;
    }
    if (target.kind == BoxSegment::kAfterMark && !lists_group(target, group, true, 0)) break;
    return static_cast<std::int16_t>(r);
  }
  return kNoTarget;
}

// Behind a group the search goes on with the groups after it on its line
// (in carry mode, a gap left behind, with this level's), and from the first
// group of the next line. A reading of the band is passed over once the
// path holds its share of them; so is a reading whose letter the word list
// refuses here, judged from the group's digest.
int RecordSearch::try_group(FigureGroup& group, std::uint32_t group_index,
                            std::uint32_t level_start, std::uint32_t line, std::uint32_t position,
                            const BitSet* covered, const CharSlotMap& letters,
                            const SearchState& here, bool carry_next) {
  Move move;
  if (!move_of(group, line, position, covered, &move)) return kOk;
  move.carry = move.carry || carry_next;
  const std::uint32_t next_start =
      move.line != line ? 0 : move.carry ? level_start : group_index + 1;
  const ReadableReadings readable = scope_.digests.readable(group, letters);
  const std::uint32_t limit =
      scope_.context.kernel().quick_flag()
          ? std::min(static_cast<std::uint32_t>(readable.readings.size()), kQuickLimit)
          : static_cast<std::uint32_t>(readable.readings.size());
  for (const std::uint32_t a : readable.places) {
    if (a >= limit) break;
    const bool band = in_band(readable.readings, a);
    if (band && band_steps_ >= band_readings_allowed(path_.steps.size())) continue;
    band_steps_ += band ? 1 : 0;
    const int status = try_answer(group, a, move, letters, here, line, next_start);
    band_steps_ -= band ? 1 : 0;
    if (status != kOk) return status;
  }
  return kOk;
}

// One reading of the group (with the first reading's saved codes after
// it, when it has them) and the search behind it.
int RecordSearch::try_answer(FigureGroup& group, std::uint32_t a, const Move& move,
                             const CharSlotMap& letters, const SearchState& here,
                             std::uint32_t line, std::uint32_t next_start) {
  const bool with_saved = a == 0 && group.answers->answers()[0].flag != 0;
  for (const std::int16_t answer : {static_cast<std::int16_t>(a), std::int16_t{-1}}) {
    if (answer < 0 && !with_saved) break;
    const std::uint32_t weight_before = path_.weight;
    int status = try_reading(group, answer, static_cast<std::int16_t>(a), move, letters, here);
    if (status == kNoWay) continue;
    if (status != kOk) return status;
    if (move.inside) {
      const BitSet* behind = move.line == line ? &group.coverage : nullptr;
      status = search(move.line, move.position, next_start, behind, move.carry);
    }
    path_.remove_last_step(weight_before);
    if (status != kOk) return status;
  }
  return kOk;
}

// The weight a reading is read with: the slot of its last code among the
// letters allowed; a reading of several codes is judged after the path's
// codes and its own earlier ones. kNoWay when it may not be read here.
// *read_as is the code the path takes for a one-code reading (its own, or
// the lower-case form inside a word).
int RecordSearch::reading_weight(const Answer& read, bool saved, const CharSlotMap& letters,
                                 std::uint32_t* weight, std::uint16_t* read_as) {
  const std::span<const std::uint16_t> codes = read.output_codes(saved);
  if (codes.empty()) return kNoWay;
  if (codes.size() == 1) {
    *read_as = codes[0];
    *weight = letters.slot_value(codes[0]);
    // A reading with both case forms may stand for its small letter: a word
    // may begin with the capital of a letter words begin with (the case of
    // the text is then chosen by the letter's size, not by the list), and
    // inside a word the text writes the small letter anyway unless the list
    // gives the word that capital. The case of a reading is not chosen yet
    // while the search runs; before, a capital way of writing a letter that
    // read best for it shut the word out.
    if (*weight == CharSlotMap::kEmpty && has_case_forms(read, saved)) {
      const std::uint16_t lower = lower_case_letter(codes[0]);
      *weight = letters.slot_value(lower);
      if (!path_.steps.empty()) *read_as = lower;
    }
    return *weight == CharSlotMap::kEmpty ? kNoWay : kOk;
  }
  std::uint16_t prefix[kPrefixCodes];
  const std::uint32_t kept = std::min<std::uint32_t>(path_.codes.size(), WordText::kMaxCodes);
  std::copy_n(path_.codes.data(), kept, prefix);
  std::copy(codes.begin(), codes.end() - 1, prefix + kept);
  CharSlotMap after;
  after.init(scope_.letter_index);
  allowed_letters_for_prefix(scope_.words, {prefix, kept + codes.size() - 1},
                             CharSlotMap::kLetterContinues, after, scope_.classes);
  *weight = after.slot_value(codes.back());
  return after.is_empty() || *weight == CharSlotMap::kEmpty ? kNoWay : kOk;
}

// Whether a path whose last step reads the answer with `weight` is stored
// where the move takes it: a word may end there, at a record that takes
// the group's reading or at the box's end.
bool RecordSearch::stores_word(const FigureGroup& group, std::int16_t answer, const Move& move,
                               std::uint32_t weight) const {
  if (move.target == kNoTarget || weight != CharSlotMap::kWordEnds) return false;
  if (move.target < 0) return true;
  const BoxSegment& target = box_.records[static_cast<std::uint32_t>(move.target)];
  return target.kind != BoxSegment::kAfterMark ||
         lists_group(target, group, false, second_code_of(group, answer));
}

// Steps 7 and 8: appends the reading to the path (kNoWay when it may not
// follow, or when the search would neither go on behind it nor store it)
// and stores the path where it reaches a record or the box's end
// with a word that may end there.
int RecordSearch::try_reading(FigureGroup& group, std::int16_t answer,
                              std::int16_t ordinal, const Move& move, const CharSlotMap& letters,
                              const SearchState& here) {
  const DynArray<Answer>& answers = group.answers->answers();
  const bool saved = answer < 0;
  const Answer& read = answers[saved ? 0u : static_cast<std::uint32_t>(answer)];
  std::uint32_t weight = 0;
  std::uint16_t read_as = 0;
  if (const int status = reading_weight(read, saved, letters, &weight, &read_as);
      status != kOk) {
    return status;
  }
  // A step the search neither goes on from nor stores a word with is not
  // worth its pair score.
  const bool stored = stores_word(group, answer, move, weight);
  if (!stored && !move.inside) return kNoWay;
  if (!path_.steps.empty()) {
    const LetterStep& last = path_.steps.back();
    const std::uint16_t before = step_character(last);
    const std::uint16_t next = read.output_codes(saved)[0];
    // The strokes matter only beside a mark; most readings are letters.
    const bool one_stroke = (is_mark_code(before) || is_mark_code(next)) &&
                            last.group != nullptr && share_a_stroke(group, *last.group);
    if (!may_stand_in_one_word(before, next, one_stroke)) return kNoWay;
    int refused = 0;
    apply_punctuation_rule_cached(group, *last.group, answer, last.answer, &refused);
    if (refused != 0) return kNoWay;
  }
  LetterStep step;
  step.group = &group;
  step.answer = answer;
  step.ordinal = saved ? std::int16_t{0} : ordinal;
  const std::int32_t rules = read.components[Answer::kPenaltyComponent];
  step.first_value = saved ? read.total() + rules : read.total();
  step.second_value = answers[0].total() - read.total() - rules;
  step.target = move.target;
  const std::span<const std::uint16_t> codes = read.output_codes(saved);
  step.code_count = static_cast<std::uint8_t>(std::min<std::size_t>(codes.size(), 3));
  std::copy_n(codes.begin(), step.code_count, step.codes);
  if (codes.size() == 1) step.codes[0] = read_as;
  step.search_place = here.place;
  step.search_covered = here.covered;
  if (const int status = extend_path(path_, step, weight, scope_.context, scope_.classes);
      status != kOk) {
    return status;
  }
  if (path_.steps.size() == 0 || path_.steps.back().group != &group) return kNoWay;
  if (!stored) return kOk;
  mark_weak_letters(path_);
  const int status =
      add_letter_path_to_record(scope_, record(), path_, move.target, path_.steps.size());
  path_.weak = 0;
  return status;
}

// ---- Storing paths.

std::int32_t code_divisor(std::uint32_t codes) {
  return codes >= 4 ? 1 : std::max<std::int32_t>(5 - static_cast<std::int32_t>(codes), 3);
}

bool same_codes(const LetterPath& a, const LetterPath& b) {
  return std::equal(a.codes.begin(), a.codes.end(), b.codes.begin(), b.codes.end());
}

// Whether two paths read the same letters in another case ("Soon" and
// "soon"): the caller is offered one text for both.
bool same_letters_other_case(const LetterPath& a, const LetterPath& b) {
  const auto same_letter = [](std::uint16_t x, std::uint16_t y) {
    return lower_case_letter(x) == lower_case_letter(y);
  };
  return !same_codes(a, b) &&
         std::equal(a.codes.begin(), a.codes.end(), b.codes.begin(), b.codes.end(), same_letter);
}

// The index of the first path of the list that `same` pairs with the
// fresh one; -1 when none does.
template <typename Same>
std::int32_t twin_of(const PtrArray<LetterPath>& paths, const LetterPath& fresh, Same same) {
  for (std::uint32_t k = 0; k < paths.size(); ++k) {
    if (same(*paths[k], fresh)) return static_cast<std::int32_t>(k);
  }
  return -1;
}

int insert_owned(PtrArray<LetterPath>& paths, std::uint32_t place,
                 std::unique_ptr<LetterPath> path) {
  if (paths.push_back_owned(std::move(path)) != kOk) return kOutOfMemory;
  std::rotate(paths.data() + place, paths.data() + paths.size() - 1, paths.data() + paths.size());
  return kOk;
}

// The record's link towards the target, made when there is none; null when
// memory runs out.
SegmentLink* link_towards(BoxSegment& record, std::int16_t target) {
  for (SegmentLink* link : record.links) {
    if (link != nullptr && link->target == target) return link;
  }
  SegmentLink* link = record.links.add_new();
  if (link != nullptr) link->target = target;
  return link;
}

// ---- The carry from the previous record and the hyphen exchange.

bool adjacent(WordSearchScope& scope, const BoxSegment& before, const BoxSegment& record) {
  if (before.line == record.line) return before.position + 1u == record.position;
  return before.line + 1u == record.line && record.position == 0 &&
         before.position + 1u == candidate_count(scope, before.line);
}

// Whether a reading of the candidate at the record opens a word (an
// opening mark or quote).
bool candidate_opens(WordSearchScope& scope, const BoxSegment& record) {
  const TextLine* text = text_line(scope, record.line);
  const FigureRecord* figure =
      text == nullptr ? nullptr : text->candidates.item_checked(record.position);
  if (figure == nullptr) return false;
  for (const Answer& answer : figure->candidates[0].answers()) {
    if (has_class(scope, answer.codes[0], kOpensOrJoins)) return true;
  }
  return false;
}

// Whether the step's group ends right before the record.
bool ends_right_before(WordSearchScope& scope, const LetterStep& step, const BoxSegment& record) {
  std::uint32_t highest = 0;
  if (step.group == nullptr || !step.group->coverage.highest_bit(&highest)) return false;
  const int line = group_line(*step.group);
  if (record.position > 0) return line == record.line && highest + 1 == record.position;
  return line + 1 == record.line && highest + 1 == candidate_count(scope, record.line - 1u);
}

// The path without its first step; kNoWay when what is left cannot be read
// on its own.
int without_first_step(WordSearchScope& scope, const LetterPath& path, LetterPath* out) {
  for (std::uint32_t s = 1; s < path.steps.size(); ++s) {
    const std::uint32_t weight = s + 1 == path.steps.size() ? path.weight : 1;
    if (const int status = extend_path(*out, path.steps[s], weight, scope.context, scope.classes);
        status != kOk) {
      return status;
    }
  }
  return kOk;
}

// A record right after an opening mark that the record before read as the
// start of its paths takes those paths without the mark.
int carry_from_previous(WordSearchScope& scope, WordBox& box, std::uint32_t i, bool* carried) {
  *carried = false;
  if (i == 0) return kOk;
  const BoxSegment& before = box.records[i - 1];
  if (!adjacent(scope, before, box.records[i]) || !candidate_opens(scope, before)) return kOk;
  *carried = true;
  for (std::uint32_t l = 0; l < box.records[i - 1].links.size(); ++l) {
    const SegmentLink* link = box.records[i - 1].links[l];
    if (link == nullptr) return kBadArgument;
    if (link->target != -1 && link->target <= static_cast<std::int32_t>(i)) continue;
    for (const LetterPath* path : link->paths) {
      if (path == nullptr) return kBadArgument;
      const LetterStep& first = path->steps[0];
      if (path->steps.size() < 2 || first.group == nullptr || first.group->figures.size() >= 2 ||
          !ends_right_before(scope, first, box.records[i]) ||
          !has_class(scope, step_character(first), kOpensOrJoins)) {
        continue;
      }
      LetterPath rest;
      int status = without_first_step(scope, *path, &rest);
      if (status == kNoWay) continue;
      if (status == kOk) {
        status = add_letter_path_to_record(scope, box.records[i], rest, link->target,
                                           rest.steps.size());
      }
      if (status != kOk) return status;
    }
  }
  return kOk;
}

// The characters of a path with a hyphen at a line break left out.
bool reads_like(const LetterPath& shorter, const LetterPath& longer) {
  std::uint32_t j = 0;
  for (std::uint32_t s = 0; s < longer.steps.size(); ++s) {
    const LetterStep& step = longer.steps[s];
    const bool hyphen_at_break = step_character(step) == kHyphen && s + 1 < longer.steps.size() &&
                                 group_line(*longer.steps[s + 1].group) != group_line(*step.group);
    if (hyphen_at_break) continue;
    if (j >= shorter.steps.size() || step_character(shorter.steps[j]) != step_character(step)) {
      return false;
    }
    ++j;
  }
  return j == shorter.steps.size();
}

bool hyphen_before_break(const LetterPath& path) {
  for (std::uint32_t s = 0; s + 1 < path.steps.size(); ++s) {
    const LetterStep& step = path.steps[s];
    if (step_character(step) == kHyphen &&
        group_line(*path.steps[s + 1].group) != group_line(*step.group)) {
      return true;
    }
  }
  return false;
}

// Across a line break a word written with a hyphen ranks before the same
// word read without it.
void prefer_hyphenated_words(WordBox& box, std::uint32_t i) {
  const BoxSegment& record = box.records[i];
  for (SegmentLink* link : record.links) {
    if (link == nullptr || link->paths.size() < 2 || link->target < 0) continue;
    const BoxSegment* target = box.records.item_checked(static_cast<std::uint32_t>(link->target));
    if (target == nullptr || target->line == record.line ||
        (target->position == 0 && record.position == 0 && target->line < record.line + 2)) {
      continue;
    }
    LetterPath* first = link->paths[0];
    LetterPath* second = link->paths[1];
    const std::int64_t difference =
        std::int64_t{second->steps.size()} - std::int64_t{first->steps.size()};
    if (difference < 0 || difference > 1 || !reads_like(*first, *second) ||
        !hyphen_before_break(*second)) {
      continue;
    }
    std::swap(link->paths.data()[0], link->paths.data()[1]);
  }
}

bool is_negative(const WordBox& box) {
  return box.first_line < 0 || box.first_position < 0 || box.last_line < 0 ||
         box.last_position < 0;
}

// Whether a full link's last path reads better than the new one.
bool behind_full_link(const PtrArray<LetterPath>& paths, bool full, const LetterPath& fresh) {
  return full && !paths.empty() && LetterPath::greater_average(*paths[paths.size() - 1], fresh);
}

}  // namespace

void close_states(ContinuationMemo& memo, const LetterPath& path) {
  for (std::uint32_t s = kFirstRememberedStep; s < path.steps.size(); ++s) {
    memo.close(state_before_step(path, s));
  }
}

int insert_letter_path(WordSearchScope& scope, SegmentLink& link, const LetterPath& path,
                       std::uint32_t step_limit, std::int32_t* placed) {
  if (placed != nullptr) *placed = -1;
  // Judged in the scope's path, whose room is kept: most paths are
  // refused, and only a path the link keeps is copied into one of its own.
  LetterPath& fresh = scope.offered;
  if (fresh.assign(path) != kOk) return kOutOfMemory;
  const std::int32_t d = code_divisor(path.codes.size());
  // The base of a word no list knows is the highest a word can get: a
  // path that ranks behind a full link's last even with it is refused
  // before its word is looked up.
  fresh.base = 110 / d;
  PtrArray<LetterPath>& paths = link.paths;
  const bool full = paths.size() >= link.max_paths;
  if (behind_full_link(paths, full, fresh)) {
    close_states(scope.memo, fresh);
    return kOk;
  }
  std::int32_t twin = twin_of(paths, fresh, same_codes);
  if (twin >= 0) {
    fresh.base = paths[static_cast<std::uint32_t>(twin)]->base;
    if (LetterPath::greater_average(*paths[static_cast<std::uint32_t>(twin)], fresh)) {
      close_states(scope.memo, fresh);
      return kOk;
    }
  }
  std::int32_t level = -1;
  bool as_written = false;
  bool small_first_listed = false;
  word_level(scope.words, path.codes.span(), scope.classes, &level, &as_written,
             &small_first_listed);
  fresh.capitals_listed = !as_written          ? LetterPath::kCapitalsNotListed
                          : small_first_listed ? LetterPath::kCapitalsListedBothWays
                                               : LetterPath::kCapitalsListed;
  if (level >= 0) {
    level = std::min(level, 18);
    fresh.base = 11 * (level - 8) / (level > 8 ? d : 1);
  }
  // The same letters in another case hold one place between them: the
  // path that reads them better, each with its own word's base.
  if (twin < 0) {
    twin = twin_of(paths, fresh, same_letters_other_case);
    if (twin >= 0 &&
        LetterPath::greater_average(*paths[static_cast<std::uint32_t>(twin)], fresh)) {
      close_states(scope.memo, fresh);
      return kOk;
    }
  }
  // Judged again with its word's own base: a word the list ranks low must
  // not push a better path out of a full link.
  if (twin < 0 && behind_full_link(paths, full, fresh)) {
    close_states(scope.memo, fresh);
    return kOk;
  }
  std::uint32_t place = 0;
  while (place < paths.size() && !LetterPath::greater_average(fresh, *paths[place])) ++place;
  if (twin >= 0 && static_cast<std::uint32_t>(twin) < place) return kOk;
  if (twin >= 0 || full) {
    const std::uint32_t dropped = twin >= 0 ? static_cast<std::uint32_t>(twin) : paths.size() - 1;
    close_states(scope.memo, *paths[dropped]);
    paths.remove_at(dropped);
    place = std::min(place, paths.size());
  }
  auto owned = std::make_unique<LetterPath>();
  if (owned->assign(fresh) != kOk) return kOutOfMemory;
  const LetterPath& kept = *owned;
  if (insert_owned(paths, place, std::move(owned)) != kOk) return kOutOfMemory;
  for (std::uint32_t s = kFirstRememberedStep; s < std::min(step_limit, kept.steps.size()); ++s) {
    scope.memo.add_continuation(state_before_step(kept, s), kept, s, link.target);
  }
  if (placed != nullptr) *placed = static_cast<std::int32_t>(place);
  return kOk;
}

int add_letter_path_to_record(WordSearchScope& scope, BoxSegment& record, const LetterPath& path,
                              std::int16_t target, std::uint32_t step_limit,
                              std::int32_t* placed) {
  SegmentLink* link = link_towards(record, target);
  if (link == nullptr) return kOutOfMemory;
  return insert_letter_path(scope, *link, path, step_limit, placed);
}

int recognize_word_box(WordSearchScope& scope, WordBox& box) {
  scope.digests.clear();
  scope.allowed.clear();
  for (std::uint32_t i = 0; i < box.records.size(); ++i) {
    scope.memo.clear();
    if (is_negative(box)) return kBadArgument;
    bool carried = false;
    int status = carry_from_previous(scope, box, i, &carried);
    if (status == kOk && !carried) status = RecordSearch(scope, box, i).run();
    if (status != kOk) return status;
    prefer_hyphenated_words(box, i);
  }
  scope.memo.clear();
  scope.digests.clear();
  scope.allowed.clear();
  if (box.records.empty()) return kOk;
  PathSearchScope paths{scope.context, scope.groups, scope.list.statistics, scope.classes};
  return search_paths(paths, box, box.records.size() - 1);
}

int take_single_group_shortcut(WordSearchScope& scope) {
  if (scope.groups.size() != 1 || scope.list.boxes.size() != 1) return kOk;
  WordBox& box = scope.list.boxes[0];
  FigureGroup* group = scope.groups[0];
  if (group == nullptr) return kBadArgument;
  if (box.result.steps.size() > 2 || !group->has_answers() || box.records.empty()) return kOk;
  const Answer& first = group->answers->answers()[0];
  const std::int64_t total = first.total();
  if (total - box.result.average() < kShortcutMargin) return kOk;
  LetterStep step;
  step.group = group;
  step.answer = first.flag != 0 ? std::int16_t{-1} : std::int16_t{0};
  step.first_value = first.total();
  const std::span<const std::uint16_t> codes = first.output_codes(first.flag != 0);
  step.code_count = static_cast<std::uint8_t>(std::min<std::size_t>(codes.size(), 3));
  std::copy_n(codes.begin(), step.code_count, step.codes);
  LetterPath path;
  const int status =
      extend_path(path, step, CharSlotMap::kWordEnds, scope.context, scope.classes);
  if (status == kNoWay) return kNoShortcut;
  if (status != kOk) return status;
  std::int16_t link = -1;
  for (std::uint32_t k = 0; k < box.records[0].links.size() && link < 0; ++k) {
    const SegmentLink* candidate = box.records[0].links[k];
    if (candidate != nullptr && candidate->target == -1) link = static_cast<std::int16_t>(k);
  }
  if (link < 0) link = static_cast<std::int16_t>(box.records[0].links.size());
  std::int32_t placed = -1;
  if (const int stored = add_letter_path_to_record(scope, box.records[0], path, -1, 0, &placed);
      stored != kOk) {
    return stored;
  }
  if (placed < 0) return kOk;
  if (box.result.steps.size() != 1) {
    box.result.reset();
    if (box.result.steps.push_default() == nullptr) return kOutOfMemory;
  }
  SegmentPathStep& only = box.result.steps[0];
  only.record = 0;
  only.target = -1;
  only.link = link;
  only.letter_path = static_cast<std::int16_t>(placed);
  only.weak = 0;
  return kOk;
}

int recognize_word_boxes(WordSearchScope& scope) {
  scope.context.release_line_objects();
  if (const int status = prepare_segmentation(scope.context, scope.groups, scope.classes, scope.list);
      status != kOk) {
    return status;
  }
  if (scope.list.boxes.empty()) return kOk;
  allowed_letters_for_prefix(scope.words, {}, 0, scope.start_letters, scope.classes);
  for (WordBox& box : scope.list.boxes) {
    if (is_negative(box)) return kBadArgument;
    if (const int status = recognize_word_box(scope, box); status != kOk) return status;
  }
  const int status = take_single_group_shortcut(scope);
  return status == kNoShortcut ? kOk : status;
}

}  // namespace inkrec
