// Text lines of strokes cut into pieces, for tests of the evaluation of
// figure sets and of the hypothesis graph: every stroke is a run of point
// records cut at given points into bodies (pieces 0, 2, ...) and the links
// between them (pieces 1, 3, ...), each piece sharing its end points with
// its neighbours as the split leaves them. Bodies are numbered in stroke
// order and are the candidates of their line, at the position of their
// number; each stroke also has its stroke record. The run kernel stands in
// for the kernel and counts the groups it is asked to read: each is read
// as one letter whose code is 'a' plus its figure count, with the
// group's members noted.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/pair_measures.h"
#include "tests/support/drawn_line.h"

namespace inkrec::test {

struct CutStroke {
  CutStroke(Points ink, std::vector<int> at = {}, std::uint16_t on_line = 0)
      : points(std::move(ink)), cuts(std::move(at)), line(on_line) {}

  Points points;
  std::vector<int> cuts;  // point indices where pieces meet; an even count
  std::uint16_t line = 0;
};

inline BitSet bits(std::initializer_list<std::uint32_t> members) {
  BitSet set;
  for (const std::uint32_t m : members) EXPECT_EQ(set.set(m), kOk);
  return set;
}

inline std::vector<std::uint32_t> members_of(const BitSet& set) {
  std::vector<std::uint32_t> out;
  for (BitSetIterator i(set); !i.at_end(); i.advance()) out.push_back(i.value());
  return out;
}

class PiecedLine {
 public:
  explicit PiecedLine(const std::vector<CutStroke>& strokes, std::int16_t letter_height = 40)
      : context_(kernel_, work_) {
    work_.settings.letter_height = letter_height;
    work_.settings.upper_height = letter_height;
    for (const CutStroke& s : strokes) records_.push_back(point_records(s.points));
    std::uint32_t bodies = 0;
    std::uint32_t links = 0;
    for (const CutStroke& s : strokes) {
      bodies += static_cast<std::uint32_t>(s.cuts.size()) / 2 + 1;
      links += static_cast<std::uint32_t>(s.cuts.size());
    }
    EXPECT_TRUE(work_.bodies.reserve(bodies));
    EXPECT_TRUE(work_.links.reserve(links));
    for (std::size_t i = 0; i < strokes.size(); ++i) add_stroke(strokes[i], i);
    for (FigureRecord& figure : work_.bodies) {
      while (work_.text_lines.size() <= figure.line_index) {
        EXPECT_NE(append_new_text_line(work_.text_lines), nullptr);
      }
      EXPECT_EQ(work_.text_lines[figure.line_index].add_candidate(&figure), kOk);
    }
    kernel_.params_.mode = 0;
    kernel_.recognize_ = [this](FigureGroup& group, int, CandidateLists& out) {
      read_.push_back(members_of(group.members));
      for (AnswerList& list : out) list.answers().clear();
      const auto code = static_cast<std::uint16_t>('a' + group.members.count() - 1);
      return out[0].insert(Answer::from_code(code));
    };
  }
  PiecedLine(const PiecedLine&) = delete;
  PiecedLine& operator=(const PiecedLine&) = delete;

  StubRunKernel& kernel() { return kernel_; }
  RecognitionParams& params() { return kernel_.params_; }
  LineWork& work() { return work_; }
  RecognitionContext& context() { return context_; }
  TextLine& line(std::uint32_t k = 0) { return work_.text_lines[k]; }
  FigureRecord& body(std::uint32_t i) { return work_.bodies[i]; }
  // The member sets the kernel was asked to read, in order.
  const std::vector<std::vector<std::uint32_t>>& read() const { return read_; }

  // Measures every pair of strokes and every pair of bodies (pairs on one
  // line take its index as their kind).
  void measure_pairs() {
    RecognitionContext& c = context_;
    ASSERT_EQ(c.pair_table().reserve(work_.strokes.size()), kOk);
    for (std::uint32_t i = 0; i < work_.strokes.size(); ++i) {
      for (std::uint32_t j = 0; j < i; ++j) {
        ASSERT_EQ(measure_stroke_pair(c, j, i, true), kOk);
        const bool shared = work_.strokes[i].line_index == work_.strokes[j].line_index;
        c.pair_table().at(i, j)->kind =
            shared ? static_cast<std::int16_t>(work_.strokes[i].line_index) : -1;
      }
    }
    ASSERT_EQ(c.figure_pairs().reserve(work_.bodies.size()), kOk);
    for (std::uint32_t i = 0; i < work_.bodies.size(); ++i) {
      for (std::uint32_t j = 0; j < i; ++j) ASSERT_EQ(measure_figure_pair(c, j, i), kOk);
    }
  }

  // The line's upper line and baseline, level at these heights.
  void set_reference_lines(int upper, int baseline) {
    for (const int x : {0, 1000}) {
      EXPECT_EQ(line().fits[0].add_point(x, upper, 1), kOk);
      EXPECT_EQ(line().fits[1].add_point(x, (upper + baseline) / 2, 1), kOk);
      EXPECT_EQ(line().fits[2].add_point(x, baseline, 1), kOk);
    }
    ReferenceBand band;
    band.top = static_cast<std::int16_t>(upper);
    band.bottom = static_cast<std::int16_t>(baseline);
    for (FigureRecord& figure : work_.bodies) figure.geometry.set_baseline_pair(band);
  }

 private:
  void add_stroke(const CutStroke& s, std::size_t i) {
    std::vector<PointRecord>& records = records_[i];
    StrokeRecord* stroke = work_.strokes.push_default();
    stroke->run = run_of(records);
    stroke->number = static_cast<std::uint16_t>(i);
    stroke->order_key = static_cast<std::int16_t>(i);
    stroke->line_index = s.line;
    EXPECT_EQ(figure_prepare_glyph(*stroke, true), kOk);
    std::vector<int> ends = {0};
    ends.insert(ends.end(), s.cuts.begin(), s.cuts.end());
    ends.push_back(static_cast<int>(records.size()) - 1);
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
      const bool link = k % 2 == 1;
      DynArray<FigureRecord>& array = link ? work_.links : work_.bodies;
      FigureRecord* piece = array.push_default();
      piece->run.set(records.data() + ends[k], ends[k + 1] - ends[k] + 1);
      EXPECT_EQ(fill_steps_and_crossings(piece->run), kOk);
      piece->number = static_cast<std::uint16_t>(array.size() - 1);
      piece->stroke_index = static_cast<std::uint16_t>(i);
      piece->piece = static_cast<std::uint16_t>(k);
      piece->piece_key = static_cast<std::uint16_t>(k);
      piece->first_point = static_cast<std::uint16_t>(ends[k]);
      piece->line_index = s.line;
      piece->whole_stroke = ends.size() == 2 ? 1 : 0;
      if (!link) piece->position = piece->number;
      EXPECT_EQ(figure_prepare_glyph(*piece, true), kOk);
    }
  }

  StubRunKernel kernel_;
  LineWork work_;
  RecognitionContext context_;
  std::vector<std::vector<PointRecord>> records_;
  std::vector<std::vector<std::uint32_t>> read_;
};

}  // namespace inkrec::test
