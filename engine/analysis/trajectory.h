// The trajectory of one stroke: the polyline of characteristic points
// (vertices) that follows the pen within a tolerance, with a vertex at every
// self-crossing, and the turning and curvature measured at each vertex.
//
// A vertex is a point record (trajectory_record.h) whose point number is the
// index of its point in the stroke; vertices follow the stroke's order and no
// two consecutive vertices share their coordinates.
#pragma once

#include <cstdint>

#include "engine/analysis/self_crossings.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"
#include "engine/foundation/stroke.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

using Trajectory = DynArray<PointRecord>;
// One trajectory per stroke, in stroke order; owns its trajectories.
using TrajectoryList = PtrArray<Trajectory>;

// The analysis raises every smaller step to this one.
inline constexpr int kLeastAnalysisStep = 3;

// How the interior points of a run stray from its chord P0-Pn-1.
inline constexpr unsigned kDeviationAcross = 1;   // a point lies T/1024 or more off the chord
inline constexpr unsigned kDeviationSummed = 2;   // the running sum of the offsets reaches T
inline constexpr unsigned kDeviationOutside = 4;  // a point lies outside the chord's widened box

// The deviation flags of the run P0..Pn-1 against tolerance T (1/1024
// units); 0 when the chord has length 0.
unsigned piece_deviation_flags(const PackedPoint* run, std::int32_t n, std::int64_t tolerance);

// Where to cut a run that strayed (1..n-2): with only kDeviationOutside, the
// point reaching furthest along the chord beyond either end; otherwise the
// point furthest off the chord. 1 for runs of fewer than three points.
std::int32_t choose_cut(const PackedPoint* run, std::int32_t n, unsigned flags);

// Cuts the stroke into pieces within |step| units of their chords (and no
// longer than twice the step) and makes their ends the vertices, with every
// self-crossing point as a vertex too. The first vertex carries flag 4.
// 0; -1 when memory runs out; -2 for a null stroke with points or one of
// more than 65535 points.
int build_trajectory(const PackedPoint* points, std::int32_t count, Trajectory& out, int step);
// The same with the stroke's self-crossing marks for this step given.
int build_trajectory_through(const PackedPoint* points, std::int32_t count,
                             const DynArray<CrossingMark>& crossings, Trajectory& out, int step);

// Sets each interior vertex's ratio to 1000 x the cosine of its turning angle
// and every vertex's score to 10000 x the curvature of the spline through the
// vertices (0 where the spline has no value).
void vertex_statistics(Trajectory& trajectory);

// build_trajectory with the step raised to at least 3, then
// vertex_statistics.
int analyse_trajectory(const Stroke& stroke, Trajectory& out, int step);
// The same with the stroke's self-crossings found beforehand
// (SelfCrossings::find with a least step of 3 or less); `marks` is scratch.
int analyse_trajectory(const Stroke& stroke, SelfCrossings& crossings,
                       DynArray<CrossingMark>& marks, Trajectory& out, int step);

}  // namespace inkrec
