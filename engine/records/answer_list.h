// Answer: one candidate reading of a figure or group of strokes (up to
// three character codes) with its score components; AnswerList: the
// readings found for one figure or group, best first.
//
// Scores are points, higher is better, 10000 a perfect letter candidate. The
// total of an answer is the sum of its components except the rules'
// penalty, which starts at -1 and collects what the letter and pair rules
// charge; the penalty never changes the order or an exported total. A list
// stays in descending order of total, holds at most one answer per key, and
// prunes as answers are inserted: it grows by appending only up to `limit`
// answers (20, unless it is unlimited).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/values.h"
#include "engine/records/ranked_insertion.h"

namespace inkrec {

struct ActiveSpecPairs;
class FigureGroup;
class PropertyFlags;
struct Symb;

// What the letter search knows of one segment's reading.
struct SegmentReading {
  std::uint16_t key = 0;  // the source variant
  std::uint16_t value = 0;
  std::uint16_t codes[3] = {0, 0, 0};  // first, second and third reading
  std::uint8_t flag = 0;
  std::uint8_t extra = 0;
  std::uint8_t code_count = 1;
  std::uint32_t mask = 0;  // the property word
  std::uint16_t code_list[3] = {0, 0, 0};
};

// What an answer takes of the letter candidate it is made from.
struct CandidateMarks {
  std::uint8_t flag = 0;
  std::uint16_t box[4] = {0, 0, 0, 0};
};

struct Answer {
  static constexpr int kComponentCount = 8;
  static constexpr int kLetterScore = 0;
  static constexpr int kMakerScore = 1;
  static constexpr int kCostAdjustment = 4;  // set by AnswerList::add_cost_where
  static constexpr int kPenaltyComponent = 5;
  static constexpr int kReinsertAdjustment = 7;  // by AnswerList::reinsert_penalized
  static constexpr std::int32_t kPerfectScore = 10000;
  static constexpr std::uint32_t kStateFirst = 1;    // first answer for its code
  static constexpr std::uint32_t kStateAnother = 2;  // another answer for a taken code
  static constexpr std::uint32_t kStateRejected = 3;

  Answer() = default;
  // An answer for a letter candidate: the letter score (clamped to
  // 0..10000) and the maker's score; the codes of the symbol (its code,
  // third and second code); key, code count, code list and property word
  // of the reading; the candidate's flag and box.
  Answer(const CandidateMarks& candidate, const Symb& symbol, const SegmentReading& reading,
         std::int32_t score, std::int32_t maker_score);

  // An answer with every field reset and all three codes `code`.
  static Answer from_code(std::uint16_t code);
  // An answer for a segment: its reading's key, flag (1 when the reading's
  // flag is 1), counts, codes (also as the saved codes), value and property
  // word; the box from four signed bytes of the source.
  static Answer from_segment(const SegmentReading& reading, const std::int8_t (&source)[4]);

  friend bool operator==(const Answer&, const Answer&) = default;

  // The sum of every component but the penalty, saturated to 32 bits: a
  // loop without a branch, which the compiler unrolls (totals are read on
  // every insertion and every step of the word search).
  std::int32_t total() const {
    std::int64_t sum = 0;
    for (const std::int32_t component : components) sum += component;
    return saturate_int32(sum - components[kPenaltyComponent]);
  }

  void set_component(int k, std::int32_t v) { components[k] = v; }
  void add_component(int k, std::int32_t v);
  // Components 0, the penalty -1.
  void reset_scores();

  // The codes to output for the first, second or third reading: one code,
  // or a code list for a reading of several codes (at most three). With
  // `saved` (the second and third forms: and a saved code that is set and
  // differs) the reading before the last rewrite is output instead.
  std::span<const std::uint16_t> output_codes(bool saved) const;
  std::span<const std::uint16_t> output_codes_2(bool saved) const;
  std::span<const std::uint16_t> output_codes_3(bool saved) const;

  std::int32_t components[kComponentCount] = {0, 0, 0, 0, 0, -1, 0, 0};
  std::uint8_t kind = 0;        // 1 made from a letter candidate, 0 from a segment
  std::uint8_t flag = 0;        // from the source record
  std::uint8_t code_count = 0;  // codes of the reading
  std::uint16_t code_list[3] = {0, 0, 0};
  std::uint16_t saved_list[3] = {0, 0, 0};
  std::uint16_t key = 0;  // the source variant; one answer per key in a list
  std::uint16_t source_word = 0;
  std::uint32_t rule_word = 0;
  std::uint32_t state = kStateRejected;
  std::uint16_t source_box[4] = {0, 0, 0, 0};
  std::uint32_t code_choice = 0;  // the case choice: 0 none, 1 upper, 2 lower case
  // How the case choice treats the reading (segmentation/letter_case.h),
  // and whether it measures the reading's element by the element's own box
  // rather than its geometry's.
  std::uint8_t case_kind = 0;
  std::uint8_t box_flag = 0;
  std::uint32_t source_dword = 0;
  std::uint32_t mask = 0;                    // the property word
  std::uint16_t codes[3] = {0, 0, 0};        // the reading, its second and third code
  std::uint16_t saved_codes[3] = {0, 0, 0};  // the reading before the last rewrite
  std::uint8_t saved_count = 0;
};

class AnswerList {
 public:
  static constexpr std::uint32_t kDefaultLimit = 20;
  static constexpr std::uint32_t kUnlimited = 0x7fffffff;
  static constexpr std::int32_t kDefaultClassifyLimit = 5800;
  // How far below the reference an answer may score and still stand
  // (unless the keep rules keep it).
  static constexpr std::int32_t kReferenceMargin = 500;
  // The same for the readings of a set of figures that the word search may
  // join into words. Inside a written word the joins bend a letter's ink,
  // so the letter the writer meant often reads well below the set's best
  // way of writing; the word list, not the set alone, tells them apart
  // there, and a reading rejected here never reaches it. Chosen on the
  // training writers' written words (bench/README.md).
  static constexpr std::int32_t kWordLetterMargin = 1000;
  // The margin and the score limit (in place of kDefaultClassifyLimit) for
  // the readings the word search may join when the set holds a piece that
  // the split of joined writing cut out of a longer stroke: the letter
  // meant there reads further below the set's best and often below the
  // usual limit. Sets of whole strokes, such as a lone letter's, keep the
  // others: their letters are not bent by joins, and wider lists would let
  // the word search read one letter as two. Chosen on the trial writers'
  // written words (bench/README.md).
  static constexpr std::int32_t kJoinedLetterMargin = 1300;
  static constexpr std::int32_t kJoinedLetterLimit = 5000;

  // An empty list holding at most 20 answers, or any number when unlimited.
  explicit AnswerList(bool unlimited = false)
      : limit_(unlimited ? kUnlimited : kDefaultLimit), unlimited_(unlimited ? 1 : 0) {}

  // Becomes a copy of other (answers, limit, unlimited flag and the shared
  // table of seen codes): 0, or -1 with this list unchanged.
  int assign(const AnswerList& other);

  // Puts the answer in its place by total, after answers of equal total. It
  // is refused (0, nothing changed) when an answer with its key is not
  // worse, when the list holds more than 10 answers and the new one is more
  // than 1100 below the best or below 5000 without beating the last, or
  // when it would be appended to a full list. An answer that goes before
  // worse ones displaces every later answer with its key. 0, or -1 when the
  // list cannot grow.
  int insert(const Answer& answer);
  // The same outcome as insert() for a list in descending order of total
  // (one that only insert() and insert_into_sorted() have grown), found in
  // fewer steps: the place is found by halving, not by reading every total
  // before it, and with kKnownAbsent no key is read.
  int insert_into_sorted(const Answer& answer, KeyCheck keys = KeyCheck::kLook);
  // Removes answers i..i + n - 1: 0, or -2 when the range passes the end.
  int erase(std::uint32_t i, std::uint32_t n);
  // Puts the answer before answer i (i = size() appends), ignoring the
  // order and the limit: 0, -2 for i past the end, -1 when it cannot grow.
  int insert_at(std::uint32_t i, const Answer& answer);

  // The first answer with that key and kind; -1 when none.
  int find(std::uint16_t key, std::uint8_t kind) const;
  // The first code / the total of the best answer; 0 for an empty list.
  std::uint16_t best_code() const;
  std::int32_t best_total() const;

  // Stores the case choice of answer i; choice 1 makes its first code the
  // third, choice 2 the second, unless that code is 0 (a reading without
  // that case form keeps its code). 0, or -2 for a bad index.
  int set_code_choice(std::uint32_t i, std::uint32_t choice);

  // Rewrites answer i's reading as (code1, code2, code3) with `count`
  // codes, keeping the old one as the saved reading; the penalty is added
  // to the rules' component and a word other than 0xFFFFFFFF becomes the
  // rule word; a given list's first two codes become the saved list. 0 (also
  // for an empty list), or -2 for a bad index.
  int rewrite_entry(std::uint32_t i, std::uint16_t code1, std::uint16_t code3, std::uint16_t code2,
                    std::uint32_t word, std::int32_t penalty, std::uint8_t count,
                    const std::uint16_t* list);
  // The same checks, word and penalty, but (code1, code2, code3) and count
  // become the saved reading, and the reading stays.
  int rewrite_entry_alt(std::uint32_t i, std::uint16_t code1, std::uint16_t code3,
                        std::uint16_t code2, std::uint32_t word, std::int32_t penalty,
                        std::uint8_t count, const std::uint16_t* list);

  // Moves the total of every answer that the filter selects (all answers
  // for an empty filter, an answer made from a letter candidate, or one
  // whose property word shares a bit with the filter) by delta, held to
  // 10 - i .. 10000 - i for the answer at position i. With an empty filter
  // the answers change in place; otherwise each changed answer is taken out
  // and inserted again (and may be refused). Every answer is considered
  // exactly once. 0, or the first error.
  int add_cost_where(std::int32_t delta, const PropertyFlags& filter);
  // Adds delta to answer i's reinsertion component, sets its rule word and
  // inserts it again: -2 for a bad index, else the result of insert().
  int reinsert_penalized(std::uint32_t i, std::int32_t delta, std::uint32_t word);

  // Sets the state of every answer against the reference (the given one,
  // else the first): 1 for the first accepted answer of its second code, 2
  // for a later one, 3 for a rejected one. An answer that the keep rules
  // (a SpecPairs selection by the kinds of reference and answer, and the
  // group's shape for some pairs) keep is never rejected; otherwise an
  // answer after the first is rejected below `score_limit` (5800 when 0 is
  // given), more than `margin` below the reference, or below 6200 once more
  // than seven answers were accepted. Uses and clears the table of seen
  // codes.
  void classify(const ActiveSpecPairs* rules, const Answer* reference, const FigureGroup* group,
                std::int32_t score_limit, std::int32_t margin = kReferenceMargin);

  // For the answers in order with state 1, up to n of them: the first code,
  // and where the outputs are given the key, the position in the list and
  // the total. The number written, or -2 for a null codes output.
  int export_entries(std::uint16_t* codes, std::uint16_t* keys, std::int32_t* indices,
                     std::int32_t* totals, std::int32_t n) const;

  DynArray<Answer>& answers() { return answers_; }
  const DynArray<Answer>& answers() const { return answers_; }
  std::uint32_t limit() const { return limit_; }
  bool unlimited() const { return unlimited_ != 0; }
  // Bytes indexed by 16-bit code, owned by the kernel; null until set.
  DynArray<std::uint8_t>* seen_codes() const { return seen_codes_; }
  void set_seen_codes(DynArray<std::uint8_t>* table) { seen_codes_ = table; }

 private:
  bool code_seen(std::uint16_t code) const;
  void mark_code(std::uint16_t code);

  DynArray<Answer> answers_;
  std::uint32_t limit_;
  std::uint32_t unlimited_;
  DynArray<std::uint8_t>* seen_codes_ = nullptr;
};

// Whether the keep rules keep answer b against the reference a for the
// group (null rules or group allowed).
bool answer_kept(const ActiveSpecPairs* rules, const Answer& a, const Answer& b,
                 const FigureGroup* group);

}  // namespace inkrec
