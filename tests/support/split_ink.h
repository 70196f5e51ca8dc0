// A bench for the bodies-and-links split: a kernel on an empty database
// (with an optional active charset of given letters), the line work of one
// written line built from ink or from hand-placed vertices, hand-cut pieces,
// synthetic cursive strokes and the invariants every pass keeps. Needs no
// test data, so the benchmarks use it too.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis/piece_measures.h"
#include "engine/analysis/stroke_feature_pass.h"
#include "engine/database/data_store.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/recognition_context.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

// Strokes as lists of points (the same types as ink_samples.h).
using InkStroke = std::vector<PackedPoint>;
using Ink = std::vector<InkStroke>;

// A cursive stroke of `turns` letter-like turns of a trochoid, starting at
// the base line at x0: x = x0 + r t - loop r sin t, y = baseline - height (1
// + cos t) / 2 for t from pi on, leaning right by `lean` (x grows by lean
// times the height above the base line). loop above 1 makes a loop at the
// top of each turn (e, l), 1 a cusp, below 1 a wave (n, u).
inline InkStroke trochoid_word(int turns, double loop, double height, double x0, double baseline,
                               double lean = 0, double r = 8) {
  InkStroke stroke;
  const double pi = 3.14159265358979323846;
  for (double t = pi; t <= pi * (1 + 2 * turns) + 1e-9; t += 0.15) {
    const double up = height * (1 + std::cos(t)) / 2;
    const double x = x0 + r * t - loop * r * std::sin(t) + lean * up;
    const PackedPoint p{static_cast<std::int16_t>(std::lround(x)),
                        static_cast<std::int16_t>(std::lround(baseline - up))};
    if (stroke.empty() || !(stroke.back() == p)) stroke.push_back(p);
  }
  return stroke;
}

// The heights and lines of a written line: the band between the x-line and
// the base line, the mean height and the slant.
struct LineShape {
  int letter_height = 40;
  int mean_height = 40;
  int baseline = 100;
  int slant = 90;
};

// A line shape guessed from ink: the base line low in the ink (85% of the
// points above it), the x-line high (15% above it).
inline LineShape guess_line_shape(const Ink& ink) {
  std::vector<int> ys;
  for (const InkStroke& stroke : ink) {
    for (const PackedPoint p : stroke) ys.push_back(p.y);
  }
  std::sort(ys.begin(), ys.end());
  LineShape shape;
  if (ys.empty()) return shape;
  shape.baseline = ys[ys.size() * 85 / 100];
  shape.letter_height = std::max(1, shape.baseline - ys[ys.size() * 15 / 100]);
  shape.mean_height = shape.letter_height;
  return shape;
}

class SplitBench {
 public:
  // A kernel whose one active charset (id `charset`) holds the letters;
  // none is active when there are no letters.
  explicit SplitBench(std::u16string_view letters = {}, std::uint32_t charset = 5) {
    write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    kernel_ = std::make_unique<Kernel>(store_.get(), nullptr);
    RecognitionParams params;
    params.cursive_split = 1;
    kernel_->set_params(params);
    if (letters.empty()) return;
    CharSet set{};
    set.id = charset;
    store_->add_charset(set);
    for (const char16_t letter : letters) {
      Symb symb{};
      symb.code = letter;
      store_->add_symb(symb);
      store_->add_charset_symb({charset, letter, {}, {}});
    }
    kernel_->set_active_charsets(&charset, 1);
  }

  Kernel& kernel() { return *kernel_; }
  LineWork& work() { return work_; }
  RecognitionContext context() { return RecognitionContext(*kernel_, work_); }
  void set_switches(bool cursive, bool skew_allowed = true) {
    RecognitionParams params = kernel_->params();
    params.cursive_split = cursive ? 1 : 0;
    params.skew_allowed = skew_allowed ? 1 : 0;
    kernel_->set_params(params);
  }

  // The trajectories of the ink as the stroke feature pass makes them.
  int load_ink(const Ink& ink) {
    StrokeList strokes(16, true);
    for (const InkStroke& points : ink) {
      auto stroke = std::make_unique<Stroke>();
      stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size()));
      strokes.push_back_owned(std::move(stroke));
    }
    return stroke_feature_pass(strokes, trajectories_, nullptr, true);
  }

  // A stroke whose vertices are the points, numbered by their index; the
  // caller may mark crossings and scores before build_records.
  Trajectory& add_vertices(const std::vector<PackedPoint>& points) {
    auto trajectory = std::make_unique<Trajectory>();
    for (const PackedPoint p : points) {
      trajectory->push_back(
          PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(trajectory->size()))});
    }
    Trajectory& added = *trajectory;
    trajectories_.push_back_owned(std::move(trajectory));
    return added;
  }

  // Gives every trajectory its steps and crossing loops, makes the stroke
  // records of one text line with the shape's band and fits (the base line,
  // the middle of the band, the base line), and the settings.
  int build_records(const LineShape& shape) {
    work_.clear();
    work_.settings.letter_height = static_cast<std::int16_t>(shape.letter_height);
    work_.settings.slant_angle = static_cast<std::int16_t>(shape.slant);
    work_.statistics.mean_height = static_cast<std::int16_t>(shape.mean_height);
    TextLine* line = append_new_text_line(work_.text_lines);
    ReferenceBand band;
    band.top = static_cast<std::int16_t>(shape.baseline - shape.letter_height);
    band.bottom = static_cast<std::int16_t>(shape.baseline);
    band.is_set = 1;
    for (std::uint32_t s = 0; s < trajectories_.size(); ++s) {
      Trajectory& trajectory = *trajectories_[s];
      const PointRun run{trajectory.data(), static_cast<std::int32_t>(trajectory.size())};
      if (const int status = fill_steps_and_crossings(run); status != kOk) return status;
      StrokeRecord record(run);
      record.line_index = 0;
      record.number = static_cast<std::uint16_t>(s);
      record.geometry.set_baseline_pair(band);
      if (const int status = figure_prepare_glyph(record, true); status != kOk) return status;
      const Box16 box = record.geometry.bounding_box();
      line->box = s == 0 ? box : Box16::united(line->box, box);
      line->add_stroke(static_cast<std::uint16_t>(s));
      if (work_.strokes.push_back(std::move(record)) != kOk) return kOutOfMemory;
    }
    const int left = line->box.left - 100;
    const int right = line->box.right + 100;
    for (int f = 0; f < 3; ++f) {
      const int y = f == 1 ? shape.baseline - shape.letter_height / 2 : shape.baseline;
      line->fits[f].add_point(left, y, 1);
      line->fits[f].add_point(right, y, 1);
    }
    return work_.stroke_pairs.reserve(work_.strokes.size());
  }

  // Cuts stroke s at the joints into alternating bodies and links (body
  // first), the links taking the kinds given (0 for the rest); the bodies
  // are numbered by their index.
  int cut(std::uint32_t s, const std::vector<int>& joints, const std::vector<int>& kinds = {}) {
    const StrokeRecord& stroke = work_.strokes[s];
    std::vector<int> ends = {0};
    ends.insert(ends.end(), joints.begin(), joints.end());
    ends.push_back(stroke.run.count - 1);
    for (std::size_t piece = 0; piece + 1 < ends.size(); ++piece) {
      const bool body = piece % 2 == 0;
      const int kind = !body && piece / 2 < kinds.size() ? kinds[piece / 2] : 0;
      FigureRecord* record = (body ? work_.bodies : work_.links).push_default();
      const int status = make_piece(stroke, static_cast<std::uint16_t>(s), static_cast<int>(piece),
                                    ends[piece], ends[piece + 1] - ends[piece] + 1, kind, record);
      if (status != kOk) return status;
      record->whole_stroke = ends.size() == 2 ? 1 : 0;
    }
    for (std::uint32_t i = 0; i < work_.bodies.size(); ++i) {
      work_.bodies[i].number = static_cast<std::uint16_t>(i);
    }
    return kOk;
  }

 private:
  TempDir dir_;
  std::unique_ptr<DataStore> store_;
  std::unique_ptr<Kernel> kernel_;
  TrajectoryList trajectories_{16, true};
  LineWork work_;
};

// The pieces of each stroke in piece order.
inline std::vector<const FigureRecord*> pieces_of(LineWork& work, std::uint32_t s) {
  std::vector<const FigureRecord*> pieces;
  for (const DynArray<FigureRecord>* array : {&work.bodies, &work.links}) {
    for (const FigureRecord& figure : *array) {
      if (figure.stroke_index == s) pieces.push_back(&figure);
    }
  }
  std::sort(pieces.begin(), pieces.end(),
            [](const FigureRecord* a, const FigureRecord* b) { return a->piece < b->piece; });
  return pieces;
}

// What the split keeps true after every pass: along each stroke the pieces
// are numbered 0, 1, 2, ... and alternate, bodies first and last; each
// piece's run lies in its stroke at its first point, holds a point, and
// starts where the piece before ended (the joint point is shared); the
// pieces cover the stroke up to its last point, or up to a rising tail
// that no letter took; each geometry box is the box of the piece's run;
// both arrays are in stroke and piece order. "" when all hold, else the
// first violation.
inline std::string piece_violations(LineWork& work) {
  std::ostringstream out;
  for (const DynArray<FigureRecord>* array : {&work.bodies, &work.links}) {
    for (std::uint32_t i = 1; i < array->size(); ++i) {
      const FigureRecord& a = (*array)[i - 1];
      const FigureRecord& b = (*array)[i];
      if (a.stroke_index > b.stroke_index ||
          (a.stroke_index == b.stroke_index && a.piece >= b.piece)) {
        out << "array out of order at " << i;
        return out.str();
      }
    }
  }
  for (std::uint32_t s = 0; s < work.strokes.size(); ++s) {
    const StrokeRecord& stroke = work.strokes[s];
    const std::vector<const FigureRecord*> pieces = pieces_of(work, s);
    if (pieces.empty() || pieces.size() % 2 == 0) {
      out << "stroke " << s << ": " << pieces.size() << " pieces";
      return out.str();
    }
    int next_first = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const FigureRecord& piece = *pieces[k];
      const bool is_body = piece.piece % 2 == 0;
      const bool in_bodies = &piece >= work.bodies.begin() && &piece < work.bodies.end();
      if (piece.piece != k || piece.piece_key != piece.piece || is_body != in_bodies) {
        out << "stroke " << s << ": piece " << k << " numbered " << piece.piece;
        return out.str();
      }
      if (piece.first_point != next_first || piece.run.count < 1 ||
          piece.run.points != stroke.run.points + piece.first_point ||
          piece.first_point + piece.run.count > stroke.run.count) {
        out << "stroke " << s << ": piece " << k << " run " << piece.first_point << "+"
            << piece.run.count << " after joint " << next_first;
        return out.str();
      }
      const Box16 box = points_bounding_box(piece.run.span());
      if (!(box == piece.geometry.bounding_box())) {
        out << "stroke " << s << ": piece " << k << " geometry not prepared";
        return out.str();
      }
      next_first = piece.first_point + piece.run.count - 1;
    }
    const int last = stroke.run.count - 1;
    if (next_first != last &&
        !(next_first < last && point_at(stroke, next_first).y > point_at(stroke, last).y)) {
      out << "stroke " << s << ": pieces end at " << next_first << " of " << last;
      return out.str();
    }
  }
  return {};
}

// The links as "stroke.piece:first+count" (with "/kind" for kinds 1 and
// 2), in array order.
inline std::string describe_links(const DynArray<FigureRecord>& links) {
  std::ostringstream out;
  for (const FigureRecord& link : links) {
    if (out.tellp() > 0) out << ' ';
    out << link.stroke_index << '.' << link.piece << ':' << link.first_point << '+'
        << link.run.count;
    if (link.link_kind != 0) out << '/' << link.link_kind;
  }
  return out.str();
}

}  // namespace inkrec::testing
