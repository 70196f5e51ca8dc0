// GroupEvaluations: the evaluations of a text line's figure sets made for
// one build of the line's letter results, each set evaluated at most once.
//
// Every set asked for is remembered with what its evaluation gave: the
// letter result, or nothing when the set was refused; a set asked for
// again gives the same answer without a second evaluation (and keeps the
// reason it was first evaluated for), except that a set refused without
// the composite flag is judged once more when the composite-letter search
// asks with it (the flag lets skipped figures pass). A set of one figure
// always leaves a
// result: when the figure is refused as a letter it gets a result with no
// readings, so every figure of a line can be covered. Results belong to
// the line (TextLine::letter_results); the object only looks them up. It
// lives on the caller's stack while the line's results are built.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "engine/foundation/bit_set.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/stroke_group_evaluation.h"

namespace inkrec {

class GroupEvaluations {
 public:
  // The state must outlive the object. Results already in the line count
  // as evaluated.
  explicit GroupEvaluations(FragmentState& state);
  GroupEvaluations(const GroupEvaluations&) = delete;
  GroupEvaluations& operator=(const GroupEvaluations&) = delete;

  // Evaluates the set unless it was evaluated before; a new result takes
  // the reason. kOk also for a refused set (*out then null); else the
  // evaluation's status (4034, 1003, -2, ...), the set being remembered
  // only when it was judged. *out (when given) is the set's result.
  int evaluate(const BitSet& set, EvaluationReason reason, bool composite = false,
               LetterResult** out = nullptr);

  // The result of an evaluated set; null when the set was refused or never
  // evaluated.
  LetterResult* find(const BitSet& set) const;
  bool evaluated(const BitSet& set) const;
  // How many sets were evaluated (each once).
  std::uint32_t evaluations() const { return evaluations_; }

 private:
  using Key = std::vector<std::uint32_t>;
  struct Outcome {
    LetterResult* result = nullptr;  // null: refused
    bool composite = false;          // judged with the composite flag
  };
  static Key key_of(const BitSet& set);
  int judge(const BitSet& set, EvaluationReason reason, bool composite, LetterResult** out);

  // A result with no readings for a figure refused as a letter.
  int add_unread_figure(const BitSet& set, LetterResult** out);

  FragmentState& state_;
  std::map<Key, Outcome> done_;
  std::uint32_t evaluations_ = 0;
};

}  // namespace inkrec
