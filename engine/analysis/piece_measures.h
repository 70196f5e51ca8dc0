// What the passes of the bodies-and-links splitter share: reading the
// points and boxes of the pieces, finding a link's neighbour bodies, the
// crossing and turning tests, point numbers along a stroke, the letter
// flags of the active charsets, and the two ways of moving ink between
// pieces (moving a joint, splitting a link).
//
// Pieces are FigureRecords whose runs point into their stroke's run of
// point records; neighbouring pieces share their joint point. The point
// readers take an index into the piece's own run and do not check it.
// Boxes are the pieces' GlyphGeometry boxes (bounds inclusive, y downward).
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "engine/records/profile_pair.h"
#include "engine/records/recognition_context.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

class RunKernel;

inline const PointRecord& record_at(const StrokeRecord& figure, int i) {
  return figure.run.points[i];
}
inline PackedPoint point_at(const StrokeRecord& figure, int i) {
  return figure.run.points[i].point;
}
inline PackedPoint start_of(const StrokeRecord& figure) { return point_at(figure, 0); }
inline PackedPoint end_of(const StrokeRecord& figure) {
  return point_at(figure, figure.run.count - 1);
}
inline int point_count(const StrokeRecord& figure) { return figure.run.count; }
inline Box16 box_of(const StrokeRecord& figure) { return figure.geometry.bounding_box(); }
// The step direction (0..359) and number of point i.
inline int direction_at(const StrokeRecord& figure, int i) {
  return record_at(figure, i).trajectory.step_direction;
}
inline int number_at(const StrokeRecord& figure, int i) {
  return record_at(figure, i).trajectory.point_number;
}

inline bool has_first_partner(const PointRecord& p) {
  return p.trajectory.has_any_flag(TrajectoryRecord::kFirstCrossing);
}
inline bool has_second_partner(const PointRecord& p) {
  return p.trajectory.has_any_flag(TrajectoryRecord::kSecondCrossing);
}
inline bool has_partner(const PointRecord& p) { return p.trajectory.has_crossing_partner(); }

// The direction turned half round: d + 180 below 180, else d - 180.
inline int reversed_direction(int d) { return d < 180 ? d + 180 : d - 180; }

// The piece (stroke, piece, piece) of the bodies or the links; null for a
// negative piece or when there is none.
FigureRecord* body_at(RecognitionContext& context, int stroke, int piece);
FigureRecord* link_at(RecognitionContext& context, int stroke, int piece);

// Link i with the bodies before it (piece - 1) and after it (piece + 1).
struct LinkNeighbours {
  FigureRecord* before = nullptr;
  FigureRecord* link = nullptr;
  FigureRecord* after = nullptr;
};
// 0; -2 for an index past the links or a missing body (the pointers found
// are written either way).
int link_neighbours(RecognitionContext& context, std::uint32_t i, LinkNeighbours* out);

// The letter height of the settings for dividing by: 1 when it is 0.
int height_divisor(const RecognitionContext& context);

// The profile-pair measures between two neighbouring pieces.
ProfilePairMetrics profile_pair(StrokeRecord& left, StrokeRecord& right);

// Whether some point of the figure has a crossing partner whose number lies
// within the numbers of the figure's first and last points.
bool has_internal_crossing(const StrokeRecord& figure);
// Whether a segment of a's polyline crosses a segment of b's. Each segment
// is held as the line through it (slope and intercept in thousandths, a
// vertical one by its x); the lines' intersection must lie between the ends
// of both segments (point_between). The first crossing found goes to *at.
bool polylines_cross(const StrokeRecord& a, const StrokeRecord& b, PackedPoint* at = nullptr);
// polylines_cross when both figures have an internal crossing.
bool figures_cross(const StrokeRecord& a, const StrokeRecord& b);
// Whether p lies between the ends e1 and e2 of a segment it is collinear
// with: |e1 e2|² >= |e1 p|² and |e1 e2|² > |e2 p|².
bool point_between(PackedPoint e1, PackedPoint e2, std::int64_t x, std::int64_t y);
// 1000 x the cosine of the angle at b between b->a and b->c, truncated:
// -1000 for a straight continuation, 1000 for a full reversal; 0 when a or
// c coincides with b.
int cosine_at(PackedPoint a, PackedPoint b, PackedPoint c);

// The index in the stroke's run of the point numbered n; when n is absent,
// of the greatest smaller number that is present and not below `floor`.
// -1 when there is none.
int index_of_number(const StrokeRecord& stroke, int n, int floor);
// Whether point i of the stroke is a top point at depth d: 2 <= i <= count
// - 3, above both neighbours, and on one side either the neighbour lies at
// least d below it, or the neighbour lies less than d below it and above
// the point beyond, which lies at least d below it.
bool is_top_point(const StrokeRecord& stroke, int i, int d);

// Whether an active charset of the kernel contains one of the letters.
bool charsets_contain_any(const RunKernel& kernel, std::u16string_view letters);

// Prepares a piece's geometry from its run (trajectory mode).
int prepare_piece(StrokeRecord& piece);
// A piece of the stroke over `count` points from its point `first`, with
// the stroke's line index and reference band, prepared. The whole-stroke
// flag is clear.
int make_piece(const StrokeRecord& stroke, std::uint16_t stroke_index, int piece, int first,
               int count, std::int32_t kind, FigureRecord* out);
// Moves the joint between two neighbouring pieces of a stroke by `delta`
// points (positive: the earlier one grows and the later one starts later),
// then prepares the later and the earlier piece. Nothing moves (0) when
// either piece would be left without a point.
int move_joint(FigureRecord& earlier, FigureRecord& later, int delta);
// Splits link i at its points a <= t (0 < a, t < count - 1): the link keeps
// its points 0..a, a new body holds a..t, and a new link of the same kind
// holds t..count - 1. The stroke's later pieces move up by 2; the body goes
// into the bodies array after the body before the link, the new link after
// the link. -2 when the link, its body before or the points are missing.
int split_link(RecognitionContext& context, std::uint32_t i, int a, int t);

// Asks `removes` (bool (const LinkNeighbours&, int* status)) of every link
// not of kind 1 and merges the links it names away, examining the same
// position again after each merge. A status the rule sets ends the pass
// with it; -2 for a link without its bodies; a merge error.
template <typename Rule>
int remove_links_where(RecognitionContext& context, Rule removes) {
  for (std::uint32_t i = 0; i < context.links().size();) {
    if (context.links()[i].link_kind == 1) {
      ++i;
      continue;
    }
    LinkNeighbours link;
    if (const int status = link_neighbours(context, i, &link); status != kOk) return status;
    int status = kOk;
    const bool remove = removes(link, &status);
    if (status != kOk) return status;
    if (!remove) {
      ++i;
      continue;
    }
    if ((status = remove_link(context, i)) != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
