// CompositionTables: for every charset id 0 to 42, the patterns and the
// compositions that the intelligent mode compares the engine's figure codes
// against, with the matcher that advances them stroke by stroke.
//
// The constructor builds all 43 pairs of slots at once from the constants:
// the steps of table_fills.h in order, the slots filled before the prefixing
// step each followed by a copy of every one of their patterns with {0x342}
// put in front. Building succeeds whole or not at all: when memory runs out
// ok() is false and every slot is empty. After construction the slots never
// change, so pointers into them (the active slots, the candidates) stay
// valid for the object's life. Not copyable or movable; use from one thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/composition/code_pattern.h"
#include "app/composition/composition.h"
#include "app/composition/figure_output.h"
#include "app/composition/match_result.h"
#include "app/composition/slot_fill.h"

namespace ductra {

class CompositionTables {
 public:
  static constexpr int kCharsetCount = 43;
  // The code put in front of the prefixed copies.
  static constexpr std::uint16_t kPrefixCode = 0x342;

  using PatternSlot = std::vector<CodePattern>;
  using CompositionSlot = std::vector<Composition>;

  CompositionTables();
  CompositionTables(const CompositionTables&) = delete;
  CompositionTables& operator=(const CompositionTables&) = delete;

  // False when building ran out of memory; the slots are then all empty.
  bool ok() const { return ok_; }

  // The slots of a charset id; empty for an id outside 0..42.
  std::span<const CodePattern> patterns(int charset) const;
  std::span<const Composition> compositions(int charset) const;

  // Makes the slots of `charsets` the active ones, in order (an id listed
  // twice is active twice; an id outside 0..42 selects nothing), then resets
  // the candidates. False when memory runs out: nothing is active then.
  bool select_charsets(std::span<const int> charsets);
  // Step position 0, no composition candidates, and every pattern of every
  // active slot a candidate, slot by slot in selection order. False when
  // memory runs out: there are no candidates then.
  bool reset_candidates();

  // One step of matching, for the figure of the newest stroke and the group
  // that holds it: every pattern candidate is tried at the step's position
  // (a wildcard position matches any figure, also one without codes), every
  // composition candidate at its own position (by its codes only), then the
  // compositions of the active slots whose letters are among the group's
  // answer characters start (they are first tried at the next step). The
  // result says what the strokes since the last reset form. `codes` receives
  // the figure's codes and `characters` the answer's characters: distinct, in
  // first-seen order, rejected readings skipped. Never fails: when memory
  // runs out a set keeps what it has and a composition that cannot be added
  // is lost, though its start still counts.
  MatchResult match_step(const OutputFigure& figure, const OutputGroup& group,
                         std::vector<std::uint16_t>& codes, std::vector<char16_t>& characters);
  // match_step without the two sets.
  MatchResult match(const OutputFigure& figure, const OutputGroup& group);

  std::span<const PatternSlot* const> active_pattern_slots() const { return active_pattern_slots_; }
  std::span<const CompositionSlot* const> active_composition_slots() const {
    return active_composition_slots_;
  }
  std::span<const CodePattern* const> pattern_candidates() const { return pattern_candidates_; }
  std::uint32_t position() const { return position_; }

 private:
  // A started composition and the index of its next position to match.
  struct CompositionCandidate {
    const Composition* composition;
    std::uint32_t position;
  };
  // The counts and flags of one step.
  struct StepTally {
    int completed = 0;
    int continuing = 0;
    // A pattern without characters or a composition matched.
    bool plain_match = false;
    // A pattern with characters matched, one of which the answer holds.
    bool expected_answered = false;
    bool started = false;
  };

  static bool valid_charset(int charset) { return charset >= 0 && charset < kCharsetCount; }

  void step_patterns(std::uint32_t step, std::span<const std::uint16_t> codes,
                     std::span<const char16_t> characters, StepTally& tally);
  void step_compositions(std::span<const std::uint16_t> codes, StepTally& tally);
  void start_compositions(std::span<const char16_t> characters, StepTally& tally);
  static MatchResult decide(const StepTally& tally, bool patterns_were_pending);

  void build();
  void fill(const SlotFill& step);
  void start_slot(const SlotFill& step);
  void add_prefixed_variants();
  void discard_slots();

  bool ok_ = false;
  std::array<PatternSlot, kCharsetCount> pattern_slots_;
  std::array<CompositionSlot, kCharsetCount> composition_slots_;

  std::vector<const PatternSlot*> active_pattern_slots_;
  std::vector<const CompositionSlot*> active_composition_slots_;
  std::vector<const CodePattern*> pattern_candidates_;
  std::uint32_t position_ = 0;
  std::vector<CompositionCandidate> composition_candidates_;
};

}  // namespace ductra
