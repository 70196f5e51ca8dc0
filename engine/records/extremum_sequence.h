// ExtremumSequence: the vertical extrema of one figure (a piece of a stroke)
// or of several figures in turn, cut from the extremum lists of their
// strokes, with the mean and greatest height between successive turning
// points; and the profile of heights that the line measures read from it.
//
// A figure's sequence begins with an entry at its first point and ends with
// one at its last; where these do not fall on an extremum of the stroke they
// are turning points only when the ink moves by more than the stroke list's
// threshold between them and their neighbouring entry.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/records/point_run.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {

struct FigureRecord;

class ExtremumSequence {
 public:
  static constexpr int kNotFilled = -6;

  ExtremumSequence() = default;
  // The sequence of the figure whose points are `figure`, the first of them
  // being point `first_point` of the stroke whose extrema `stroke_list`
  // holds. Status -2 for a missing list or a figure without points.
  ExtremumSequence(const PointRun& figure, std::uint32_t first_point,
                   const ExtremumList* stroke_list);
  // The sequence of a figure record, cut from the list of its stroke
  // (`lists` indexed by stroke index).
  ExtremumSequence(const FigureRecord& figure, const DynArray<ExtremumList>& lists);
  // The sequences of the figures one after another, each beginning with an
  // entry flagged as a start and ending with one flagged as an end. Status
  // -2 at a null figure or a figure whose list is missing (the sequence then
  // holds the figures before it).
  static ExtremumSequence from_strokes(std::span<FigureRecord* const> figures,
                                       const DynArray<ExtremumList>& lists);

  ExtremumSequence(ExtremumSequence&&) noexcept = default;
  ExtremumSequence& operator=(ExtremumSequence&&) noexcept = default;

  // kNotFilled before filling; then 0, -2 as above, or -1 when the entries
  // cannot grow.
  int status = kNotFilled;
  // Over the chain of turning entries that begins at the first one: the
  // integer mean of the non-zero vertical distances between successive
  // entries and the greatest of them; 0 when no pair counted.
  std::int16_t mean_height = 0;
  std::int16_t max_height = 0;
  DynArray<Extremum> entries;

 private:
  // Appends the figure's cut; `start_flags` and `end_flags` are the flags
  // its boundary entries start with.
  int cut(const PointRun& figure, std::uint32_t first_point, const ExtremumList* stroke_list,
          std::uint8_t start_flags, std::uint8_t end_flags);
  void measure_heights();
};

// The heights between alternating turning points of a filled sequence: a
// stroke's first turning point starts a height and its last one ends it;
// an interior turning point ends one only when it turns the other way from
// the interior one before it. Then every dip becomes 0: a height below its
// neighbours (the first and last have one; where a neighbour is equal, the
// one beyond it decides). `heights` is emptied first. 0; -2 for a
// sequence that is not filled; -1 when the list cannot grow.
int extrema_profile(const ExtremumSequence& sequence, DynArray<std::int32_t>& heights);

}  // namespace inkrec
