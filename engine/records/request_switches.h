// RequestSwitches: the switch bytes of a recognition request under the
// names the recognition stages read them by.
//
// Every stage that depends on a switch asks this view, never the request's
// bytes, so that one table says which byte turns what on. Several stages
// read one byte under different names where they depend on the same fact
// about the ink (the strokes come in writing order, the caller gives the
// base lines). A byte counts as on when it is not 0. kSwitchBytes lists the
// bytes with their place in the caller's request (counted as the
// application counts it, before the pointers widen the record) and the
// value a kernel starts with, which is the value the application sends.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/records/recognition_params.h"

namespace inkrec {

class RequestSwitches {
 public:
  explicit RequestSwitches(const RecognitionParams& params) : params_(&params) {}

  // Byte 22. The kind switch: the dictionary word search over the word
  // boxes, the dictionary of the active language, lower-case continuation
  // letters, and the kind terms of the pair scoring.
  bool kind() const { return params_->word_pass != 0; }
  bool word_box_search() const { return kind(); }
  // Byte 23. The body-and-link switch: splits cursive ink into bodies and
  // links, admits cursive variants, and gates the composite rules marked
  // for it and the extrema tests of the letter search (the pass switch).
  bool body_and_link() const { return params_->cursive_split != 0; }
  bool pass() const { return body_and_link(); }
  // Byte 24. The caller gives every stroke's base lines: the skew
  // correction is off, a stroke without them is refused (4035), and the
  // letter search neither estimates reference lines nor gives elements the
  // line's base lines (the skip switch).
  bool baselines_given() const { return params_->caller_base_lines != 0; }
  bool skip_reference_lines() const { return baselines_given(); }
  // Byte 25. The skew correction of the line pass.
  bool skew_correction() const { return params_->skew_search != 0; }
  // Byte 26. The strokes come in the order they were written: the skew
  // search may use the pen's return to a new line, the body and link rules
  // and the symbol rules look at the previous and next stroke (the
  // symbol rules' neighbour flag), and the pair relations and pair scores
  // compare stroke numbers (the stroke-order switch).
  bool stroke_order() const { return params_->skew_allowed != 0; }
  bool skew_allowed() const { return stroke_order(); }
  // Byte 27. Layout by writing order: the line grouping uses the order the
  // strokes were written in (writing order), the letter search joins a
  // stroke's figures with the neighbouring strokes' (stroke joining), the
  // spacing pass places word breaks (both word-break switches), and the
  // letter evaluation runs its segment tests (segment).
  bool writing_order() const { return params_->layout_switch != 0; }
  bool stroke_joining() const { return writing_order(); }
  bool word_breaks() const { return writing_order(); }
  bool segment() const { return writing_order(); }
  // Byte 28. The stroke feature pass refines the trajectory step.
  bool refine_trajectories() const { return params_->refine_trajectories != 0; }
  // Byte 29. Strict readings: every reading takes the case choice 2 (fixed
  // case) and the pair scoring refuses mixed kinds (strict kind).
  bool fixed_case() const { return params_->strict_switch != 0; }
  bool strict_kind() const { return fixed_case(); }

 private:
  const RecognitionParams* params_;
};

// One switch byte of the request: its field, its place in the request as
// the application counts it, and the kernel's starting value.
struct SwitchByte {
  std::size_t offset;         // in RecognitionParams
  std::uint8_t request_byte;  // 20..29
  std::uint8_t default_value;
  const char* names;
};

inline constexpr SwitchByte kSwitchBytes[] = {
    {offsetof(RecognitionParams, first_switch), 20, 1, "stored only"},
    {offsetof(RecognitionParams, second_switch), 21, 1, "stored only"},
    {offsetof(RecognitionParams, word_pass), 22, 0, "kind, word-box search"},
    {offsetof(RecognitionParams, cursive_split), 23, 0, "body-and-link, pass"},
    {offsetof(RecognitionParams, caller_base_lines), 24, 0,
     "baselines given, skip reference lines"},
    {offsetof(RecognitionParams, skew_search), 25, 1, "skew correction"},
    {offsetof(RecognitionParams, skew_allowed), 26, 1, "stroke order, skew allowed"},
    {offsetof(RecognitionParams, layout_switch), 27, 1,
     "writing order, stroke joining, word breaks, segment"},
    {offsetof(RecognitionParams, refine_trajectories), 28, 1, "refine trajectories"},
    {offsetof(RecognitionParams, strict_switch), 29, 0, "fixed case, strict kind"},
};

}  // namespace inkrec
