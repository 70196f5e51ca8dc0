// SegmentPath: one reading of a word box from a segment record to the box's
// end, as a chain of steps from segment record to segment record, each
// taking one letter path of the record (or its plain reading, the groups'
// first answers), with the score that ranks it among the other readings.
//
// The total of a path is its letter total (strokes x value of each letter
// path used) plus its four penalty parts scaled by its weight (the strokes
// the parts apply to); its average is the total per weight. A path with
// more strokes read by letter paths always wins over one with fewer; then
// the greater average, then fewer weak letter paths, then fewer steps.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct LetterPath;

struct SegmentPathStep {
  // Letter-path indices below -1: -3 a step to pass over; others carry
  // their own codes.
  static constexpr std::int16_t kFirstLetterPath = -1;
  static constexpr std::int16_t kOwnCodes = -2;
  static constexpr std::int16_t kPassOver = -3;

  std::uint32_t record = 0;                     // the segment record the step starts at
  std::int16_t target = -1;                     // where it ends; -1 the box's end
  std::int16_t link = -1;                       // the record's link used; -1 none
  std::int16_t letter_path = kFirstLetterPath;  // the path in the link
  // The stretch of the box's own codes (WordBox::own_codes) a step with
  // its own codes outputs.
  std::uint32_t own_first = 0;
  std::uint32_t own_count = 0;
  std::uint8_t weak = 0;  // the weak mark of the letter path used
};

class SegmentPath {
 public:
  static constexpr int kPartCount = 4;

  // Empties the steps; weak count -1 and every number 0.
  void reset();
  // The path of one step {record, target, link, first letter path, no own
  // codes, not weak} with the letter total, the four parts and the weight
  // given (a plain reading, or a reading of the strokes up to a later
  // record); weak count 1. 0, or -1 when the step cannot be kept.
  int start(std::uint32_t record, std::int16_t target, std::int16_t link, std::int32_t total,
            const std::int32_t (&penalties)[kPartCount], std::int32_t strokes);
  // Becomes a copy of other: 0, or -1 with this path unchanged.
  int assign(const SegmentPath& other);

  // Counts a letter path with four penalties into the path (its last step
  // names it).
  void add_letter_path(const LetterPath& path, const std::int32_t (&penalties)[kPartCount]);
  // Appends other's steps and numbers: 0, or -1 when a step cannot be kept
  // (the path is then unchanged).
  int append(const SegmentPath& other);

  std::int64_t total() const;
  std::int64_t average() const { return weight == 0 ? 0 : total() / weight; }
  // Whether `fresh` ranks before `kept`; on a full tie the kept one stays.
  static bool replaces(const SegmentPath& fresh, const SegmentPath& kept);

  DynArray<SegmentPathStep> steps;
  // Weak letter paths used; -1 while none has been counted.
  std::int32_t weak_count = -1;
  std::int32_t letter_strokes = 0;  // strokes read by letter paths
  std::int32_t letter_total = 0;
  std::int32_t parts[kPartCount] = {};
  std::int32_t weight = 0;
};

}  // namespace inkrec
