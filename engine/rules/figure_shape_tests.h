// The shape tests of a one-figure group: how the stroke's form departs
// from what most letters show, each turned into a fixed penalty (0 when
// the form is not there).
//
// Every test reads the figure's run of point records (x, y and the stored
// direction of each point's step to the next, whole degrees) and the
// maxima and minima of its extrema record (FigureInfo; a maximum is a
// lowest point on the tablet, y growing downward), given the group's box
// and the line's letter size. They never fail and never write: a run too
// short for a test gives 0. Point indices past the run are read as its
// last point.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/records/letter_fields.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

using PointRecords = std::span<const PointRecord>;
inline PointRecords records_of(const PointRun& run) {
  return run.empty() ? PointRecords{}
                     : PointRecords(run.points, static_cast<std::size_t>(run.count));
}

// The least and greatest x and y of the points (32767 and -32768 when
// there are none).
Box16 box_of_points(PointRecords points);
// The mean of the segments' midpoints weighted by their octagonal lengths;
// a zero-length first segment counts once at its start, other zero-length
// segments not at all. One point gives that point, none (0, 0).
PackedPoint weighted_centre(PointRecords points);

enum class ChordSide { kUpper, kLower };
// Whether the points strictly between i and j, with x from x(i) to x(j),
// stay on the side of the chord from point i to point j (extended beyond
// its ends) within size/10: in the upper mode no point lies more than that
// above it, in the lower mode none more than that below. Passes when j <=
// i + 1 or x(i) > x(j).
bool chord_holds(PointRecords points, std::int32_t i, std::int32_t j, std::int32_t size,
                 ChordSide side);

// 399 when the start falls straight down: from the first minimum before
// the first maximum (else from the first point) to the first maximum every
// step goes down, and that maximum lies more than 2/3 of the box height
// below the first point. Needs a maximum.
std::int32_t end_drop_penalty(const FigureInfo& info, PointRecords points, const Box16& box);
// 499 when the end keeps to one side: walking back from the last point,
// the directions from the earlier points to the last stay within (e - 75,
// e + 180) degrees of the end direction e until a point lies more than
// size/4 away in x or y (or the run starts).
std::int32_t end_curl_penalty(PointRecords points, std::int32_t end_direction, std::int32_t size);
// 199 when ink rises more than size/10 above the top chord from the first
// minimum to the first maximum; 0 when the stroke starts at its first
// maximum more than size/2 below its first minimum. Needs a maximum and a
// minimum.
std::int32_t upper_side_penalty(const FigureInfo& info, PointRecords points, std::int32_t size);
// The mirror test below the bottom chord: 199 or 0.
std::int32_t lower_side_penalty(const FigureInfo& info, PointRecords points, std::int32_t size);
// 349 when ink rises more than size/10 above the chord from the last
// maximum (the one before it when the stroke ends there and its last
// minimum is not a third of the box higher) to the last point. Needs two
// maxima and a minimum.
std::int32_t last_side_penalty(const FigureInfo& info, PointRecords points, const Box16& box,
                               std::int32_t size);
// 1000 for a small loop or hook after the last maximum in the second half
// of the run (the ink after it boxed close around it), 499 for a short
// stroke back to the left at the very end turning against the ink, else 0.
// Needs two maxima and two minima.
std::int32_t tail_penalty(const FigureInfo& info, PointRecords points, std::int32_t size);
// 0..1500 for a narrow end added right of the body after a sharp top: the
// narrower the end against the body, the more. Needs two maxima and two
// minima.
std::int32_t end_ramp_penalty(const FigureInfo& info, PointRecords points, std::int32_t size);

}  // namespace inkrec
