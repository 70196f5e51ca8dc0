// LetterElement: what the letter rules know of one recognised element of a
// line fragment while they judge it: its box and the measures taken from
// it, its baseline pair, the extrema of its ink, its best answer, the
// line's heights and the active charsets; with the admission test against
// the letter-pair table and the two rewrites of the best answer a rule may
// make.
//
// An element is measured once (measure()) before any rule reads it and is
// released when the rules of the element are done. It refers to, and never
// owns, the fragment state, the group and its figures. Only the group's
// first answer is ever changed, and only through replace() and
// alternative().
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point_span.h"
#include "engine/records/extremum_sequence.h"
#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_fields.h"

namespace inkrec {

class ProfileRaster;

// The codes a rewrite writes: the current code and its upper- and
// lower-case forms.
struct CodeTriple {
  std::uint16_t current;
  std::uint16_t upper;
  std::uint16_t lower;
};

// A character without case forms (punctuation, Hebrew): all three codes.
constexpr CodeTriple same_code(std::uint16_t code) { return {code, code, code}; }
// A lower-case letter with its capital.
constexpr CodeTriple letter(std::uint16_t lower, std::uint16_t upper) {
  return {lower, upper, lower};
}

class LetterElement {
 public:
  LetterElement(FragmentState& state, FigureGroup& group) : state_(state), group_(group) {}
  LetterElement(const LetterElement&) = delete;
  LetterElement& operator=(const LetterElement&) = delete;

  // Takes the measures: 0; -2 for a group without geometry, figures or a
  // first figure; else the status of the extremum sequence or of the
  // figure flags. The group must have a first answer.
  int measure();

  // ---- The element.
  FigureGroup& group() const { return group_; }
  const GlyphGeometry& geometry() const { return *group_.geometry; }
  std::int32_t stroke_count() const { return static_cast<std::int32_t>(group_.figures.size()); }
  // Figure i (0 <= i < stroke_count(); the first is never null).
  FigureRecord* figure(std::int32_t i) const {
    return group_.figures[static_cast<std::uint32_t>(i)];
  }
  // The points of figure i; empty for a missing figure.
  PointSpan points(std::int32_t i) const;
  // The box of figure i's own geometry; all zero for a missing figure.
  Box16 figure_box(std::int32_t i) const;
  // The group's flag byte is set.
  bool flag() const { return element_flag(group_) != 0; }
  // The first figure's own letter list holds a reading.
  bool first_figure_read() const;
  // The highest position the element covers is the line's last candidate
  // position. An element covering no position does not end the line.
  bool ends_line() const;
  // The profile of the element's ink, null when it cannot be made.
  const ProfileRaster* profile() const { return element_profile_raster(group_); }
  std::int32_t shape_class() const { return shape_class_c1(geometry()); }
  std::int32_t direction() const { return direction_measure(geometry()); }

  // ---- Measures of the box and the band.
  const Box16& box() const { return box_; }
  std::int32_t top() const { return box_.top; }
  std::int32_t bottom() const { return box_.bottom; }
  std::int32_t left() const { return box_.left; }
  std::int32_t right() const { return box_.right; }
  std::int32_t height() const { return box_.height(); }
  std::int32_t width() const { return box_.width(); }
  std::int32_t third() const { return height() / 3; }
  // The baseline pair, -1 while unset.
  std::int32_t upper() const { return geometry().reference_band().top; }
  std::int32_t lower() const { return geometry().reference_band().bottom; }
  bool band_set() const { return geometry().reference_band().has_bounds(); }
  // The height of the box's centre above the middle of the band, percent
  // of the band's height (divisor 1 for a band of no height).
  std::int32_t band_offset() const { return band_offset_; }
  // The box's top lies at least d below the upper line (never for an
  // element without baselines).
  bool top_below_upper(std::int32_t d) const { return band_set() && top() - upper() >= d; }

  // ---- Extrema.
  const FigureInfo& info() const { return info_; }
  std::int32_t extremum_count() const { return static_cast<std::int32_t>(extrema_.entries.size()); }
  const Extremum& extremum(std::int32_t k) const {
    return extrema_.entries[static_cast<std::uint32_t>(k)];
  }

  // ---- The line.
  FragmentState& state() const { return state_; }
  // The letter height (ref) and the height of the tall letters (refh).
  std::int32_t ref() const { return state_.context.settings().letter_height; }
  std::int32_t refh() const { return state_.context.settings().upper_height; }
  bool charset_active(std::uint32_t id) const;

  // ---- The best answer.
  const Answer& best() const { return group_.answers->answers()[0]; }
  std::uint16_t code() const { return best().codes[0]; }
  std::uint16_t key() const { return best().key; }
  // The key that follows it: the reading's shape id.
  std::uint16_t second_key() const { return answer_shape_id(best()); }

  // Whether the letter-pair table admits reading the element as `to`
  // where it was read as `from`, under the active charsets.
  bool admitted(std::int32_t from, std::int32_t to) const;
  // The best answer becomes the triple, keeping its reading as the
  // previous one; the penalty goes to the rules' component.
  int replace(CodeTriple codes, std::int32_t penalty);
  // The triple becomes the best answer's previous reading (an alternative),
  // its reading stays; the penalty as above.
  int alternative(CodeTriple codes, std::int32_t penalty);

 private:
  FragmentState& state_;
  FigureGroup& group_;
  Box16 box_;
  std::int32_t band_offset_ = 0;
  FigureInfo info_;
  ExtremumSequence extrema_;
};

}  // namespace inkrec
