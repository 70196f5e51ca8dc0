// The shared measures and moves of the splitter's passes.

#include "engine/analysis/piece_measures.h"

#include <cmath>
#include <utility>

#include "engine/analysis/bodies_and_links.h"
#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/records/recognition_context.h"
#include "engine/records/run_kernel.h"

namespace inkrec {

namespace {

FigureRecord* piece_in(DynArray<FigureRecord>& figures, int stroke, int piece) {
  return figures.item_checked(piece_index(figures, stroke, piece));
}

std::int64_t squared_distance(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
  return (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
}

// The line through a segment: y = (slope * x + intercept) / 1000, or x =
// vertical_x for a vertical segment.
struct SegmentLine {
  bool vertical = false;
  std::int64_t vertical_x = 0;
  std::int64_t slope = 0;
  std::int64_t intercept = 0;
};

SegmentLine line_through(PackedPoint p, PackedPoint q) {
  SegmentLine line;
  const std::int64_t dx = q.x - p.x;
  if (dx == 0) {
    line.vertical = true;
    line.vertical_x = p.x;
    return line;
  }
  line.slope = 1000 * (std::int64_t{q.y} - p.y) / dx;
  line.intercept = 1000 * std::int64_t{p.y} - line.slope * p.x;
  return line;
}

// Where the lines through two segments meet; false for parallel lines.
bool intersect(const SegmentLine& a, const SegmentLine& b, std::int64_t* x, std::int64_t* y) {
  if (a.vertical && b.vertical) return false;
  if (a.vertical || b.vertical) {
    const SegmentLine& slanted = a.vertical ? b : a;
    *x = a.vertical ? a.vertical_x : b.vertical_x;
    *y = (slanted.slope * *x + slanted.intercept) / 1000;
    return true;
  }
  if (a.slope == b.slope) return false;
  *x = (b.intercept - a.intercept) / (a.slope - b.slope);
  *y = (a.slope * *x + a.intercept) / 1000;
  return true;
}

}  // namespace

FigureRecord* body_at(RecognitionContext& context, int stroke, int piece) {
  return piece_in(context.bodies(), stroke, piece);
}

FigureRecord* link_at(RecognitionContext& context, int stroke, int piece) {
  return piece_in(context.links(), stroke, piece);
}

int link_neighbours(RecognitionContext& context, std::uint32_t i, LinkNeighbours* out) {
  *out = LinkNeighbours();
  out->link = context.links().item_checked(i);
  if (out->link == nullptr) return kBadArgument;
  out->before = body_at(context, out->link->stroke_index, out->link->piece - 1);
  out->after = body_at(context, out->link->stroke_index, out->link->piece + 1);
  return out->before != nullptr && out->after != nullptr ? kOk : kBadArgument;
}

int height_divisor(const RecognitionContext& context) {
  return context.letter_height() == 0 ? 1 : context.letter_height();
}

ProfilePairMetrics profile_pair(StrokeRecord& left, StrokeRecord& right) {
  FigureView a;
  FigureView b;
  a.init(left);
  b.init(right);
  ProfilePairMetrics metrics;
  measure_profile_pair(a, b, metrics);
  return metrics;
}

bool has_internal_crossing(const StrokeRecord& figure) {
  const int n = point_count(figure);
  if (n < 1) return false;
  const int low = number_at(figure, 0);
  const int high = number_at(figure, n - 1);
  const auto inside = [&](int number) { return low <= number && number <= high; };
  for (int i = 0; i < n; ++i) {
    const PointRecord& p = record_at(figure, i);
    if (has_first_partner(p) && inside(p.trajectory.first_partner)) return true;
    if (has_second_partner(p) && inside(p.trajectory.second_partner)) return true;
  }
  return false;
}

bool point_between(PackedPoint e1, PackedPoint e2, std::int64_t x, std::int64_t y) {
  const std::int64_t length = squared_distance(e1.x, e1.y, e2.x, e2.y);
  return length >= squared_distance(e1.x, e1.y, x, y) &&
         length > squared_distance(e2.x, e2.y, x, y);
}

bool polylines_cross(const StrokeRecord& a, const StrokeRecord& b, PackedPoint* at) {
  for (int i = 1; i < point_count(a); ++i) {
    const PackedPoint a0 = point_at(a, i - 1);
    const PackedPoint a1 = point_at(a, i);
    const SegmentLine line_a = line_through(a0, a1);
    for (int j = 1; j < point_count(b); ++j) {
      const PackedPoint b0 = point_at(b, j - 1);
      const PackedPoint b1 = point_at(b, j);
      std::int64_t x = 0;
      std::int64_t y = 0;
      if (!intersect(line_a, line_through(b0, b1), &x, &y)) continue;
      if (!point_between(a0, a1, x, y) || !point_between(b0, b1, x, y)) continue;
      if (at != nullptr) *at = {saturate_int16(x), saturate_int16(y)};
      return true;
    }
  }
  return false;
}

bool figures_cross(const StrokeRecord& a, const StrokeRecord& b) {
  return has_internal_crossing(a) && has_internal_crossing(b) && polylines_cross(a, b);
}

int cosine_at(PackedPoint a, PackedPoint b, PackedPoint c) {
  const std::int64_t bc = squared_distance(b.x, b.y, c.x, c.y);
  const std::int64_t ab = squared_distance(a.x, a.y, b.x, b.y);
  const std::int64_t ac = squared_distance(a.x, a.y, c.x, c.y);
  if (bc == 0 || ab == 0) return 0;
  const double root = std::sqrt(static_cast<double>(bc) * static_cast<double>(ab));
  return static_cast<int>(500.0 * static_cast<double>(bc + ab - ac) / root);
}

int index_of_number(const StrokeRecord& stroke, int n, int floor) {
  int found = -1;
  for (int i = 0; i < point_count(stroke); ++i) {
    const int number = number_at(stroke, i);
    if (number == n) return i;
    if (number < n && number >= floor) found = i;
  }
  return found;
}

bool is_top_point(const StrokeRecord& stroke, int i, int d) {
  if (i < 2 || i > point_count(stroke) - 3) return false;
  const int y = point_at(stroke, i).y;
  if (y >= point_at(stroke, i - 1).y || y >= point_at(stroke, i + 1).y) return false;
  for (const int side : {-1, 1}) {
    const int near = point_at(stroke, i + side).y - y;
    const int far_y = point_at(stroke, i + 2 * side).y;
    if (near >= d) return true;
    if (point_at(stroke, i + side).y < far_y && far_y - y >= d) return true;
  }
  return false;
}

bool charsets_contain_any(const RunKernel& kernel, std::u16string_view letters) {
  const DataStore* store = kernel.data_store();
  if (store == nullptr) return false;
  for (const std::uint32_t charset : kernel.active_charsets()) {
    for (const char16_t letter : letters) {
      if (store->find_charset_symb(charset, letter) != nullptr) return true;
    }
  }
  return false;
}

int prepare_piece(StrokeRecord& piece) { return figure_prepare_glyph(piece, true); }

int make_piece(const StrokeRecord& stroke, std::uint16_t stroke_index, int piece, int first,
               int count, std::int32_t kind, FigureRecord* out) {
  if (first < 0 || count < 1 || first + count > point_count(stroke)) return kBadArgument;
  FigureRecord record;
  record.run.set(stroke.run.points + first, count);
  record.line_index = stroke.line_index;
  record.stroke_index = stroke_index;
  record.piece = static_cast<std::uint16_t>(piece);
  record.piece_key = record.piece;
  record.first_point = static_cast<std::uint16_t>(first);
  record.whole_stroke = 0;
  record.link_kind = kind;
  record.geometry.set_baseline_pair(stroke.geometry.reference_band());
  if (const int status = prepare_piece(record); status != kOk) return status;
  *out = std::move(record);
  return kOk;
}

int move_joint(FigureRecord& earlier, FigureRecord& later, int delta) {
  if (earlier.run.count + delta < 1 || later.run.count - delta < 1) return kOk;
  earlier.run.count += delta;
  later.run.points += delta;
  later.run.count -= delta;
  later.first_point = static_cast<std::uint16_t>(later.first_point + delta);
  if (const int status = prepare_piece(later); status != kOk) return status;
  return prepare_piece(earlier);
}

int split_link(RecognitionContext& context, std::uint32_t i, int a, int t) {
  // Room first, so that the records stay where they are until the inserts.
  if (!context.bodies().reserve(1) || !context.links().reserve(1)) return kOutOfMemory;
  FigureRecord* link = context.links().item_checked(i);
  if (link == nullptr || a < 1 || a > t || t >= point_count(*link) - 1) return kBadArgument;
  const std::uint16_t stroke = link->stroke_index;
  const int piece = link->piece;
  const std::uint32_t before = piece_index(context.bodies(), stroke, piece - 1);
  if (before == context.bodies().size()) return kBadArgument;

  // Both new pieces are cut from the link's own run and take its line
  // index and reference band.
  const int n = point_count(*link);
  FigureRecord body;
  FigureRecord tail;
  int status = make_piece(*link, stroke, piece + 1, a, t - a + 1, 0, &body);
  if (status != kOk) return status;
  if ((status = make_piece(*link, stroke, piece + 2, t, n - t, link->link_kind, &tail)) != kOk) {
    return status;
  }
  body.first_point = static_cast<std::uint16_t>(link->first_point + a);
  tail.first_point = static_cast<std::uint16_t>(link->first_point + t);
  link->run.count = a + 1;
  if ((status = prepare_piece(*link)) != kOk) return status;

  shift_pieces(context.bodies(), stroke, piece, 2);
  shift_pieces(context.links(), stroke, piece, 2);
  if ((status = insert_figure(context.bodies(), before + 1, std::move(body))) != kOk) return status;
  return insert_figure(context.links(), i + 1, std::move(tail));
}

}  // namespace inkrec
