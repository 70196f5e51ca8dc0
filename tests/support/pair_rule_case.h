// A pair of drawn letter results on one text line, for the tests of the
// pair rules: B (the earlier) and A (the later), each with one reading,
// their joined group on the line with a plain and a marked reading, and a
// kernel whose only pair rule is the one the test gives.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/letter_result.h"
#include "engine/records/pair_rule_index.h"
#include "engine/records/recognition_context.h"
#include "engine/records/run_kernel.h"
#include "engine/records/vertical_extrema.h"
#include "engine/rules/pair_rules.h"
#include "tests/support/figure_ink.h"
#include "tests/support/ink.h"

namespace inkrec::test {

inline constexpr std::uint16_t kKeyA = 11;
inline constexpr std::uint16_t kKeyB = 12;
inline constexpr std::uint16_t kKeyJoined = 13;

// The kernel as the pair rules see it: a rule table and the line spacing.
class PairRuleKernel : public RunKernel {
 public:
  const RecognitionParams& params() const override { return params_; }
  DataStore* data_store() const override { return nullptr; }
  bool right_to_left() const override { return false; }
  std::span<const std::uint32_t> active_charsets() const override { return charsets; }
  void after_split_pass(const DynArray<FigureRecord>&, std::u16string_view) override {}
  bool stop_flag() const override { return false; }
  bool quick_flag() const override { return false; }
  int extended_output(int, int) override { return 0; }
  int full_debug_output() override { return 0; }
  const PairRuleIndex& pair_rules() override { return index_; }
  NeighbourSpacing neighbour_spacing() const override { return spacing; }

  // The joined-reading flag of a kind's own table.
  static std::uint8_t joined_flag_of(std::int16_t kind) { return kind >= 67 && kind <= 83 ? 1 : 0; }

  // `copies` rules naming B's key, A's key and the joined key (plain
  // readings on both sides), of the kind and joined-reading flag.
  void set_rule(std::int16_t kind, std::uint8_t joined_flag, std::uint16_t joined_key = kKeyJoined,
                int copies = 1) {
    table_ = TuplesEntry{};
    for (int k = 0; k < copies; ++k) {
      Tuple* rule = table_.tuples.push_default();
      EXPECT_EQ(rule->lists[0].push_back(kKeyB), kOk);
      EXPECT_EQ(rule->lists[1].push_back(kKeyA), kOk);
      EXPECT_EQ(rule->lists[2].push_back(joined_key), kOk);
      rule->rule = static_cast<std::uint16_t>(kind);
      rule->complex[2] = joined_flag;
    }
    rebuild();
  }
  void clear_rules() {
    table_ = TuplesEntry{};
    rebuild();
  }

  RecognitionParams& request() { return params_; }

  NeighbourSpacing spacing;
  std::vector<std::uint32_t> charsets;

 private:
  void rebuild() {
    PtrArray<const TuplesEntry> selection;
    EXPECT_EQ(selection.push_back(&table_), kOk);
    EXPECT_EQ(index_.rebuild(selection), kOk);
  }

  RecognitionParams params_;
  TuplesEntry table_;
  PairRuleIndex index_;
};

// One stroke (or piece of a stroke) of a drawn result.
struct Piece {
  Points points;
  std::uint16_t stroke = 0;  // the stroke key
  std::uint16_t piece = 0;   // the piece and end keys
};

// One drawn result: its pieces and its reading's codes.
struct Side {
  std::vector<Piece> pieces;
  std::uint16_t code = u'x';  // the second code
  std::uint16_t current = 0;  // the current code; the second code when 0
};

class PairRuleCase {
 public:
  PairRuleCase(const Side& a, const Side& b, std::int32_t size = 100)
      : size_(size), context_(kernel_, work_) {
    line_ = append_new_text_line(work_.text_lines);
    joined_ = line_->letter_results.add_new();
    make(b, b_);
    make(a, a_);
    measure_strokes();
    read(a, kKeyA, a_answers_);
    read(b, kKeyB, b_answers_);
    a_.group.answers = &a_answers_;
    b_.group.answers = &b_answers_;
    for (Drawn* d : {&b_, &a_}) {
      for (auto& f : d->figures) EXPECT_EQ(joined_->figures.push_back(f.get()), kOk);
    }
    EXPECT_EQ(joint_.unite(a_.group.members), kOk);
    EXPECT_EQ(joint_.unite(b_.group.members), kOk);
    EXPECT_EQ(joined_->members.unite(joint_), kOk);
    EXPECT_EQ(group_prepare_glyph(*joined_, true), kOk);
    Answer plain = Answer::from_code(u'j');
    plain.key = kKeyJoined;
    Answer marked = plain;
    marked.kind = 1;
    marked.key = kKeyJoined;
    EXPECT_EQ(joined_->answers->answers().push_back(plain), kOk);
    EXPECT_EQ(joined_->answers->answers().push_back(marked), kOk);
  }

  // The penalty the rule of that kind gives the pair, read through the
  // first readings; nullopt when the evaluation fails.
  std::optional<std::int32_t> penalty(std::int16_t kind, std::int32_t count = 1) {
    kernel_.set_rule(kind, PairRuleKernel::joined_flag_of(kind));
    return evaluate(count);
  }
  std::optional<std::int32_t> evaluate(std::int32_t count = 1, std::uint32_t i = 0,
                                       std::uint32_t j = 0) {
    std::int32_t accumulator = 0;
    const int status =
        evaluate_pair_rules(a_.group, b_.group, i, j, size_, count, &accumulator, context_);
    if (status != kOk) return std::nullopt;
    return -accumulator;
  }
  int status_of(std::int16_t kind, std::int32_t* accumulator) {
    kernel_.set_rule(kind, PairRuleKernel::joined_flag_of(kind));
    return evaluate_pair_rules(a_.group, b_.group, 0, 0, size_, 1, accumulator, context_);
  }

  PairRuleKernel& kernel() { return kernel_; }
  FigureGroup& a() { return a_.group; }
  FigureGroup& b() { return b_.group; }
  LetterResult& joined() { return *joined_; }
  FigureRecord& a_figure(std::size_t i) { return *a_.figures[i]; }
  FigureRecord& b_figure(std::size_t i) { return *b_.figures[i]; }
  LineWork& work() { return work_; }
  RecognitionContext& context() { return context_; }

 private:
  struct Drawn {
    Drawn() : group(nullptr, &geometry) {}
    std::vector<std::vector<PointRecord>> records;
    std::vector<std::unique_ptr<FigureRecord>> figures;
    GlyphGeometry geometry;
    FigureGroup group;
  };

  void make(const Side& side, Drawn& d) {
    d.records.reserve(side.pieces.size());
    for (const Piece& piece : side.pieces) {
      d.records.push_back(point_records(piece.points));
      auto f = std::make_unique<FigureRecord>();
      f->run = run_of(d.records.back());
      EXPECT_EQ(fill_steps_and_crossings(f->run), kOk);
      f->number = next_body_++;
      f->stroke_index = piece.stroke;
      f->piece = piece.piece;
      f->piece_key = piece.piece;
      f->first_point = 0;
      f->line_index = 0;
      EXPECT_EQ(figure_prepare_glyph(*f, true), kOk);
      EXPECT_EQ(d.group.figures.push_back(f.get()), kOk);
      EXPECT_EQ(d.group.members.set(f->number), kOk);
      EXPECT_EQ(line_->candidates.push_back(f.get()), kOk);
      d.figures.push_back(std::move(f));
    }
    EXPECT_EQ(group_prepare_glyph(d.group, true), kOk);
    d.group.box = d.geometry.bounding_box();
  }

  // The extrema of each stroke, its pieces taken in order, and each
  // piece's first point along its stroke.
  void measure_strokes() {
    std::vector<std::vector<PointRecord>> strokes;
    for (Drawn* d : {&b_, &a_}) {
      for (std::size_t k = 0; k < d->figures.size(); ++k) {
        FigureRecord& f = *d->figures[k];
        if (strokes.size() <= f.stroke_index) strokes.resize(f.stroke_index + 1u);
        std::vector<PointRecord>& stroke = strokes[f.stroke_index];
        f.first_point = static_cast<std::uint16_t>(stroke.size());
        for (const PointRecord& p : d->records[k]) {
          stroke.push_back({p.point, TrajectoryRecord(static_cast<std::uint16_t>(stroke.size()))});
        }
      }
    }
    for (std::vector<PointRecord>& stroke : strokes) {
      ExtremumList* list = work_.stroke_extrema.push_default();
      EXPECT_EQ(
          find_vertical_extrema(*list, stroke.data(), static_cast<std::int32_t>(stroke.size()), 1),
          kOk);
    }
  }

  static void read(const Side& side, std::uint16_t key, AnswerList& list) {
    Answer reading = Answer::from_code(side.current != 0 ? side.current : side.code);
    reading.codes[1] = side.code;
    reading.key = key;
    EXPECT_EQ(list.answers().push_back(reading), kOk);
  }

  std::int32_t size_;
  PairRuleKernel kernel_;
  LineWork work_;
  RecognitionContext context_;
  TextLine* line_ = nullptr;
  LetterResult* joined_ = nullptr;
  std::uint16_t next_body_ = 0;
  Drawn a_;
  Drawn b_;
  AnswerList a_answers_;
  AnswerList b_answers_;
  BitSet joint_;
};

}  // namespace inkrec::test
