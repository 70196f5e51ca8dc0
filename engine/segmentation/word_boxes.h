// The word boxes of a recognition: the stretches of the text lines that the
// letter search reads as one word each, with the segment records where
// letter paths may start and the links that hold the paths found from
// each record.
//
// A box owns its segment records, a record its links, a link its letter
// paths; the stroke groups they name belong to the run's text lines. The
// preparation (word_box_preparation.h) makes the boxes and records, the
// letter search (word_box_search.h) fills the links, and the path search
// (segment_path_search.h) writes each record's sums and best path and the
// box's result.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/segmentation/letter_path.h"
#include "engine/segmentation/segment_path.h"

namespace inkrec {

// The gaps between neighbouring groups of a line, over all lines.
struct WordBoxStatistics {
  std::int16_t least_distance_low = 0;   // the least positive least_distance
  std::int16_t least_distance_high = 0;  // the greatest least_distance
  std::int16_t least_distance_mean = 0;  // the mean positive least_distance
  std::int16_t x_gap_at_low = 0;         // the x_gap of the pair with the least
  std::int16_t x_gap_at_high = 0;        // the x_gap of the pair with the greatest
  std::int16_t x_gap_mean = 0;
};

// The letter paths from a segment record to one target record (or to the
// box's end), the greatest average first.
struct SegmentLink {
  // The most letter paths a link keeps.
  static constexpr std::uint32_t kDefaultMaxPaths = 8;

  PtrArray<LetterPath> paths{16, true};
  std::int16_t target = -1;  // the target record; -1 the box's end
  // The plain reading's value and pair sums up to the paths' end, from the
  // box's start.
  std::int32_t value_sum = 0;
  std::int32_t pair_sum = 0;
  std::uint32_t max_paths = kDefaultMaxPaths;
};

// A segment record of a word box: a place where letter paths may start.
struct BoxSegment {
  // Kinds of record.
  static constexpr std::uint32_t kBoxStart = 1;
  static constexpr std::uint32_t kInside = 2;
  static constexpr std::uint32_t kLineStart = 3;
  static constexpr std::uint32_t kAfterMark = 4;  // a mark's readings must end before it
  static constexpr std::uint32_t kWideGap = 5;
  static constexpr std::uint32_t kMergedStart = 6;  // the first record of a box merged away
  static constexpr std::int16_t kNoMeasure = 32767;
  static constexpr std::int16_t kLineStartMeasure = 16383;

  std::uint16_t line = 0;
  std::uint16_t position = 0;
  std::uint32_t kind = 0;
  // For a record after a mark: the group readings that must end right
  // before it (answer -1: the first answer read through its saved codes).
  PtrArray<FigureGroup> groups{16, false};
  DynArray<std::int16_t> answers;
  PtrArray<SegmentLink> links{16, true};
  SegmentPath best;
  std::int16_t measure = kNoMeasure;  // the gap measure where the record starts
  std::uint8_t own_group = 0;         // a stroke group starts exactly here
  // The line candidates before the record, counted from the first box.
  std::uint32_t candidate_index = 0;
  // The plain reading from the box's start up to the record.
  std::int32_t value_sum = 0;
  std::int32_t pair_sum = 0;
  std::int32_t stroke_sum = 0;
};

struct WordBox {
  // The bounds of a box re-opened by a stroke met again, until it is
  // closed.
  static constexpr std::int16_t kOpenBound = -1;  // 65535 as unsigned

  std::int16_t first_line = 0;
  std::int16_t first_position = 0;
  std::int16_t last_line = 0;
  std::int16_t last_position = 0;
  DynArray<BoxSegment> records;
  SegmentPath result;
  // The candidate index behind the box's last candidate.
  std::uint32_t end_index = 0;
  // The gap measure of the word break that opened the box; -1 for the
  // first.
  std::int16_t measure = -1;
  // The codes the steps of the result carry themselves (a text the caller
  // returned for a word), each step naming its stretch.
  DynArray<std::uint16_t> own_codes;
};

// The word boxes of a recognition with the gap statistics they were cut by.
struct WordBoxList {
  // Empties the boxes and sets the statistics to 0.
  void clear() {
    statistics = WordBoxStatistics();
    boxes.clear();
  }

  WordBoxStatistics statistics;
  DynArray<WordBox> boxes;
};

}  // namespace inkrec
