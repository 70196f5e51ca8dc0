// The kernel's letter search over its line work: what it owns, what the
// figure output only points at, and the operations the driver reads.
#include "engine/segmentation/line_letter_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/letter_result.h"
#include "engine/records/text_line.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/figure_ink.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using test::point_records;
using test::polyline;
using test::run_of;

// A letter search whose line passes make one letter result for each
// candidate of the line in the first sweep, read as 'a', 'b', 'c'..., all
// in one word group, and let the line's cover choose them in both sweeps;
// the results stay with the line. Its line intake is a line of `letters`
// stems, 60 units apart, all of line 0.
class OneLetterPerFigure final : public LineLetterSearch {
 public:
  explicit OneLetterPerFigure(int letters) {
    for (int k = 0; k < letters; ++k) {
      const auto x = static_cast<std::int16_t>(100 + 60 * k);
      points_.push_back(point_records(polyline({{x, 100}, {x, 140}})));
    }
  }

  // The figures and the line the line intake would have left, in place of
  // those of the real stroke.
  int apply_baselines_to_figures() override {
    LineWork& lines = work();
    lines.bodies.clear();
    lines.text_lines.clear();
    for (std::vector<PointRecord>& stem : points_) {
      FigureRecord* figure = lines.bodies.push_default();
      if (figure == nullptr) return kOutOfMemory;
      figure->run = run_of(stem);
      figure->line_index = 0;
      figure->number = static_cast<std::uint16_t>(lines.bodies.size() - 1);
    }
    TextLine* line = add_text_line(lines.text_lines);
    if (line == nullptr || line->word_groups.push_default() == nullptr) return kOutOfMemory;
    return kOk;
  }

  std::vector<bool> sweeps;

 protected:
  int run_line_passes(FragmentState& state, bool first_sweep,
                      PtrArray<FigureGroup>& fragments) override {
    sweeps.push_back(first_sweep);
    TextLine& text_line = state.line;
    LineGroup& group = text_line.word_groups[0];
    if (first_sweep) {
      for (FigureRecord* figure : text_line.candidates) {
        figure->position = figure->number;
        set_line_group(*figure, 0);
        auto result = std::make_unique<LetterResult>();
        if (group.figures.push_back(figure) != kOk || result->figures.push_back(figure) != kOk ||
            result->members.set(figure->number) != kOk ||
            result->coverage.set(figure->position) != kOk ||
            group_prepare_glyph(*result, false) != kOk) {
          return kOutOfMemory;
        }
        result->index = static_cast<std::int32_t>(text_line.letter_results.size());
        const auto code = static_cast<std::uint16_t>(u'a' + text_line.letter_results.size());
        if (result->answers->insert(Answer::from_code(code)) != kOk ||
            group.letter_groups.push_back(result.get()) != kOk ||
            text_line.letter_results.push_back_owned(std::move(result)) != kOk) {
          return kOutOfMemory;
        }
      }
    }
    if (!group.cover.empty()) return kBadArgument;  // the sweep starts with no cover
    // The results are made: the line's later passes run as in a second
    // sweep, choosing the cover.
    return LineLetterSearch::run_line_passes(state, false, fragments);
  }

 private:
  std::vector<std::vector<PointRecord>> points_;
};

class LineLetterSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    const std::u16string data = dir_.wide_file("qlmain.dt");
    ASSERT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
    void* core = nullptr;
    ASSERT_EQ(crmGetCore(&core), kOk);
    kernel_ = static_cast<Kernel*>(core);
    auto search = std::make_unique<OneLetterPerFigure>(3);
    search_ = search.get();
    kernel_->set_letter_search(std::move(search));
    buffer_.assign(32, u'#');
    params_.skew_search = 0;
    params_.result_buffer = buffer_.data();
    params_.result_size = static_cast<std::int32_t>(buffer_.size());
    const crPoint points[] = {{100, 100}, {100, 140}};
    const crStrokeInput stroke{points, 2};
    ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
  }
  void TearDown() override { crFreeCrMan(); }

  std::u16string result() const { return buffer_.substr(0, buffer_.find(u'\0')); }

  testing::TempDir dir_;
  Kernel* kernel_ = nullptr;
  OneLetterPerFigure* search_ = nullptr;
  std::u16string buffer_;
  RecognitionParams params_;
};

// Both sweeps put the same results of the line into the output, which
// only points at them: the line frees them once, when the work is reset.
TEST_F(LineLetterSearchTest, SecondSweepSharesTheFirstSweepsResultsWithTheOutput) {
  kernel_->set_debug_mode(1);
  ASSERT_EQ(kernel_->recognize(params_), kOk);
  EXPECT_EQ(search_->sweeps, (std::vector<bool>{true, false}));
  EXPECT_EQ(result(), u"abc");
  const TextLine& line = search_->work().text_lines[0];
  ASSERT_EQ(line.letter_results.size(), 3u);
  ASSERT_EQ(search_->output().size(), 3u);
  for (std::uint32_t k = 0; k < 3; ++k) EXPECT_EQ(search_->output()[k], line.letter_results[k]);
  EXPECT_EQ(line.word_groups[0].cover.size(), 3u);

  kernel_->clear_pane();
  EXPECT_EQ(search_->output_count(), 0u);
  EXPECT_EQ(search_->text_line_count(), 0u);
}

// Without the debug mode the recognition drops its work at the end; a
// second recognition on new ink builds and frees its own results.
TEST_F(LineLetterSearchTest, RecognitionsOneAfterAnotherFreeTheirResults) {
  ASSERT_EQ(kernel_->recognize(params_), kOk);
  EXPECT_EQ(result(), u"abc");
  EXPECT_EQ(search_->output_count(), 0u);
  const crPoint points[] = {{100, 100}, {100, 140}};
  const crStrokeInput stroke{points, 2};
  ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
  ASSERT_EQ(kernel_->recognize(params_), kOk);
  EXPECT_EQ(result(), u"abc");
}

TEST(LineLetterSearch, ReleasingLineObjectsKeepsTheResults) {
  LineLetterSearch search;
  LineWork& work = search.work();
  TextLine* line = add_text_line(work.text_lines);
  ASSERT_NE(line, nullptr);
  LineGroup* group = line->word_groups.push_default();
  ASSERT_NE(group, nullptr);
  auto result = std::make_unique<LetterResult>();
  LetterResult* kept = result.get();
  ASSERT_EQ(line->letter_results.push_back_owned(std::move(result)), kOk);
  ASSERT_EQ(group->letter_groups.push_back(kept), kOk);
  ASSERT_EQ(group->cover.push_back(kept), kOk);
  PtrArray<FigureGroup> alternative;
  ASSERT_EQ(alternative.push_back(kept), kOk);
  ASSERT_NE(group->alternatives.push_default(), nullptr);
  ASSERT_EQ(group->alternatives[0].push_all(alternative), kOk);

  search.release_line_objects();
  EXPECT_TRUE(group->cover.empty());
  EXPECT_TRUE(group->alternatives.empty());
  EXPECT_EQ(line->letter_results.size(), 1u);
  EXPECT_EQ(group->letter_groups.size(), 1u);
}

}  // namespace
}  // namespace inkrec
