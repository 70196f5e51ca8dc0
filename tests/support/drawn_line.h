// Text lines drawn from polylines, for tests of the letter search's
// per-line measures: a run kernel standing in for the kernel (request,
// right-to-left flag), the line work with one body per stroke (each a
// whole stroke, numbered by its index, geometry prepared), the text lines
// holding the bodies as candidates, and letter results made of chosen
// bodies, owned by the line of their first body.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/database/data_records.h"
#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"
#include "engine/records/recognition_context.h"
#include "engine/records/run_kernel.h"
#include "tests/support/figure_ink.h"
#include "tests/support/ink.h"

namespace inkrec::test {

// Strokes to draw with: a vertical stem, a horizontal bar, and an arch
// ("n") from `left`, `width` wide and `height` high, standing on
// `baseline`, with points every `step` units.
inline Points stem(int x, int top, int bottom) {
  return polyline({{static_cast<std::int16_t>(x), static_cast<std::int16_t>(top)},
                   {static_cast<std::int16_t>(x), static_cast<std::int16_t>(bottom)}});
}

inline Points bar(int left, int right, int y) {
  return polyline({{static_cast<std::int16_t>(left), static_cast<std::int16_t>(y)},
                   {static_cast<std::int16_t>(right), static_cast<std::int16_t>(y)}});
}

inline Points arch(int left, int width, int height, int baseline = 100, int step = 5) {
  const auto l = static_cast<std::int16_t>(left);
  const auto r = static_cast<std::int16_t>(left + width);
  const auto b = static_cast<std::int16_t>(baseline);
  const auto t = static_cast<std::int16_t>(baseline - height);
  return polyline({{l, b}, {l, t}, {r, t}, {r, b}}, step);
}

// The kernel as a run sees it, with no observer and no candidate variants;
// the database (none unless given), the active charsets, the ids supplied
// for the letter-pair table, the recognition of a group, the composite
// rules, the stop and quick flags and the debug mode are the test's.
class StubRunKernel final : public RunKernel {
 public:
  const RecognitionParams& params() const override { return params_; }
  DataStore* data_store() const override { return store_; }
  bool right_to_left() const override { return right_to_left_; }
  std::span<const std::uint32_t> active_charsets() const override { return charsets_; }
  std::span<const SuppliedPairId> supplied_pair_ids() const override { return supplied_; }
  void after_split_pass(const DynArray<FigureRecord>&, std::u16string_view) override {}
  bool stop_flag() const override { return stop_; }
  bool quick_flag() const override { return quick_; }
  int extended_output(int, int) override { return 0; }
  int full_debug_output() override { return 0; }
  std::uint32_t debug_mode() const override { return debug_mode_; }
  // The test's recognition, when it gives one; -2 otherwise.
  int recognize_element(FigureGroup& group, int line_height, CandidateLists& out) override {
    return recognize_ ? recognize_(group, line_height, out) : -2;
  }
  std::span<const ComplexVariant* const> composite_rules() override { return rules_; }
  std::uint32_t composite_sides() override {
    std::uint32_t sides = 0;
    for (const ComplexVariant* rule : rules_) sides |= rule->add;
    return sides;
  }

  RecognitionParams params_;
  bool right_to_left_ = false;
  std::vector<std::uint32_t> charsets_;
  DataStore* store_ = nullptr;
  std::vector<SuppliedPairId> supplied_;
  bool stop_ = false;
  bool quick_ = false;
  std::uint32_t debug_mode_ = 0;
  std::function<int(FigureGroup&, int, CandidateLists&)> recognize_;
  std::vector<const ComplexVariant*> rules_;
};

class DrawnLine {
 public:
  // Each stroke a body (an empty one left unprepared) on the line given
  // for it (line 0 when none is); letter_height the line set's letter
  // height.
  explicit DrawnLine(const std::vector<Points>& strokes, std::int16_t letter_height = 40,
                     const std::vector<std::uint16_t>& lines = {})
      : context_(kernel_, work_) {
    work_.settings.letter_height = letter_height;
    for (const Points& points : strokes) records_.push_back(point_records(points));
    EXPECT_TRUE(work_.bodies.reserve(static_cast<std::uint32_t>(strokes.size())));
    for (std::size_t i = 0; i < records_.size(); ++i) {
      FigureRecord* figure = work_.bodies.push_default();
      figure->run = run_of(records_[i]);
      EXPECT_EQ(fill_steps_and_crossings(figure->run), kOk);
      figure->number = static_cast<std::uint16_t>(i);
      figure->stroke_index = static_cast<std::uint16_t>(i);
      figure->piece = 0;
      figure->piece_key = 0;
      figure->first_point = 0;
      figure->line_index = i < lines.size() ? lines[i] : 0;
      if (!records_[i].empty()) {
        EXPECT_EQ(figure_prepare_glyph(*figure, true), kOk);
      }
    }
    for (FigureRecord& figure : work_.bodies) {
      while (work_.text_lines.size() <= figure.line_index) {
        EXPECT_NE(append_new_text_line(work_.text_lines), nullptr);
      }
      EXPECT_EQ(work_.text_lines[figure.line_index].add_candidate(&figure), kOk);
    }
    if (work_.text_lines.empty()) {
      EXPECT_NE(append_new_text_line(work_.text_lines), nullptr);
    }
  }
  DrawnLine(const DrawnLine&) = delete;
  DrawnLine& operator=(const DrawnLine&) = delete;

  StubRunKernel& kernel() { return kernel_; }
  LineWork& work() { return work_; }
  RecognitionContext& context() { return context_; }
  TextLine& line(std::uint32_t k = 0) { return work_.text_lines[k]; }
  FigureRecord& body(std::size_t i) { return work_.bodies[static_cast<std::uint32_t>(i)]; }

  // A result of the bodies, read as `code` (no reading for code 0), with
  // the band as its baseline pair when one is given; owned by the line.
  LetterResult& result(const std::vector<std::size_t>& bodies, std::uint16_t code,
                       const ReferenceBand* band = nullptr) {
    auto result = std::make_unique<LetterResult>();
    for (const std::size_t i : bodies) {
      EXPECT_EQ(result->figures.push_back(&body(i)), kOk);
      EXPECT_EQ(result->members.set(static_cast<std::uint32_t>(i)), kOk);
      EXPECT_EQ(result->coverage.set(static_cast<std::uint32_t>(i)), kOk);
    }
    EXPECT_EQ(group_prepare_glyph(*result, true), kOk);
    if (band != nullptr) result->geometry->set_baseline_pair(*band);
    if (code != 0) {
      EXPECT_EQ(result->answers->insert(Answer::from_code(code)), kOk);
    }
    LetterResult& made = *result;
    const std::uint16_t k = bodies.empty() ? 0 : body(bodies[0]).line_index;
    EXPECT_EQ(line(k).letter_results.push_back_owned(std::move(result)), kOk);
    return made;
  }

 private:
  StubRunKernel kernel_;
  LineWork work_;
  RecognitionContext context_;
  std::vector<std::vector<PointRecord>> records_;
};

}  // namespace inkrec::test
