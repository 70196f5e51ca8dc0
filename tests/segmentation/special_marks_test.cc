#include "engine/segmentation/special_marks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::polyline;

constexpr std::int32_t kSize = 100;

// A one-figure mark on base lines 100 and 200, with the measures the book
// reads set by hand.
class MarkCase {
 public:
  explicit MarkCase(const std::vector<test::Points>& strokes)
      : ink_(strokes), context_(kernel_, work_) {
    kernel_.charsets_ = {38};
    m_.first_figure = &ink_.figure(0);
    m_.box = ink_.box();
    m_.width = m_.box.width();
    m_.height = m_.box.height();
    m_.size = kSize;
    m_.figure_count = static_cast<std::int32_t>(strokes.size());
    m_.member_count = m_.figure_count;
    m_.one_figure_mark = 1;
    m_.band = ReferenceBand{100, 200, 1};
    m_.top_key = m_.box.top;
    m_.upper_height = 120;
    m_.reference_height = kSize;
    m_.quality = 8000;
    m_.partner_distance = 100;
    m_.angle_deviation = 45;
    ink_.group().one_figure_mark = 1;
  }

  SpecialMarkTerms judge(std::uint16_t shape_id, int* status = nullptr) {
    Variant symbol;
    symbol.idSet = 38;
    symbol.shape_id = shape_id;
    symbol.special_recognition = kSpecialRecognition;
    const MarkReadings readings{letters_, marks_};
    SpecialMarkTerms terms;
    const int result = judge_special_mark(context_, ink_.group(), m_, symbol, readings, &terms);
    if (status != nullptr) *status = result;
    EXPECT_TRUE(status != nullptr || result == kOk);
    return terms;
  }

  GroupMeasures& m() { return m_; }

 private:
  test::DrawnGroup ink_;
  test::StubRunKernel kernel_;
  LineWork work_;
  RecognitionContext context_;
  GroupMeasures m_;
  AnswerList letters_;
  AnswerList marks_;
};

std::vector<test::Points> small_stroke() { return {polyline({{50, 170}, {58, 180}}, 2)}; }

TEST(SpecialMarksTest, OnlyTheListedShapeIdsAreEverAccepted) {
  for (const std::uint16_t shape : {826, 843, 845, 846, 847, 851, 852, 889, 900, 12001}) {
    MarkCase mark(small_stroke());
    mark.m().mark_class = 1;
    mark.m().second_class = 1;
    mark.m().upper_mark = {true, 0};
    mark.m().lower_mark = {true, 0};
    EXPECT_FALSE(mark.judge(shape).accepted) << shape;
  }
  MarkCase dot(small_stroke());
  dot.m().mark_class = 1;
  EXPECT_TRUE(dot.judge(828).accepted);
}

TEST(SpecialMarksTest, MarksOfAClassTakeTheQualityTheyLackAsTheirTerm) {
  struct Case {
    const char* what;
    std::uint16_t shape;
    std::int32_t mark_class;
    std::int32_t second_class;
    std::int32_t quality;
    std::int16_t bend;
    std::int32_t angle;
    bool accepted;
    std::int32_t mark;
    std::int32_t extra;
  };
  const Case cases[] = {
      {"827 of class 3: half", 827, 3, 0, 8000, 0, 0, true, -100, 0},
      {"827 of class 4", 827, 4, 0, 8000, 0, 0, false, 0, 0},
      {"829 at quality 2500", 829, 2, 0, 2500, 0, 0, false, 0, 0},
      {"829 at quality 2501", 829, 2, 0, 2501, 0, 0, true, -(8200 - 2501), 0},
      {"832 by its second class", 832, 0, 5, 6000, 0, 0, true, -2200, 0},
      {"834 at quality 1500", 834, 7, 0, 1500, 0, 0, false, 0, 0},
      {"835 of class 7: open, E -880", 835, 7, 0, 7000, 0, 0, true, -1200, -880},
      {"835 of class 8", 835, 8, 0, 7000, 0, 0, true, -1200, 0},
      {"844 of class 16", 844, 16, 0, 8200, 0, 0, true, 0, 0},
      {"848 bend 269, angle 55: a quarter", 848, 0, 0, 7800, 269, 55, true, -100, 0},
      {"848 bend 270", 848, 0, 0, 7800, 270, 55, false, 0, 0},
      {"848 angle 126", 848, 0, 0, 7800, 0, 126, false, 0, 0},
      {"850 unclassified second class", 850, 0, -1, 7800, 0, 90, false, 0, 0},
      {"850 at 45 degrees", 850, 0, 3, 7800, 0, 45, true, -100, 0},
  };
  for (const Case& c : cases) {
    MarkCase mark(small_stroke());
    mark.m().mark_class = c.mark_class;
    mark.m().second_class = c.second_class;
    mark.m().quality = c.quality;
    mark.m().mark.bend = c.bend;
    mark.m().mark_angle = c.angle;
    const SpecialMarkTerms terms = mark.judge(c.shape);
    EXPECT_EQ(terms.accepted, c.accepted) << c.what;
    EXPECT_EQ(terms.mark, c.mark) << c.what;
    EXPECT_EQ(terms.extra, c.extra) << c.what;
  }
}

TEST(SpecialMarksTest, ADotDrawnAsATickFromItsBottomEdgeTakesHalf) {
  // From the bottom edge, the second point 2 above it and 2 below the top
  // with 10 to the right edge: half of the missing quality.
  MarkCase tick({{{0, 4}, {1, 2}, {11, 0}, {11, 4}}});
  tick.m().mark_class = 1;
  EXPECT_EQ(tick.judge(828).mark, -100);
  MarkCase round({{{0, 2}, {1, 0}, {11, 0}, {11, 4}}});
  round.m().mark_class = 1;
  EXPECT_EQ(round.judge(828).mark, -200);
}

TEST(SpecialMarksTest, AFullStopLowOnTheLineAddsItsTermsInOrder) {
  // Box 50..58 x 170..180 on base lines 100 and 200: the top key (170)
  // lies below 100 + 62; nothing of the ink ends high.
  MarkCase stop(small_stroke());
  stop.m().angle_deviation = 12;  // -1000
  stop.m().mark_class = 0;        // -500, and -1000 at the end
  stop.m().second_class = 3;
  stop.m().partner_distance = 2;  // -1000
  // Its bottom 180 on the ramp from the middle of the lines (150, 0) to
  // the lower line (200, 3000): -1800.
  const SpecialMarkTerms terms = stop.judge(1290);
  ASSERT_TRUE(terms.accepted);
  EXPECT_EQ(terms.mark, 0);
  EXPECT_EQ(terms.extra, -2 - 1000 - 500 - 1000 - 1800 - 1000);

  MarkCase high(small_stroke());
  high.m().top_key = 161;  // above 100 + 62
  EXPECT_FALSE(high.judge(1290).accepted);
  MarkCase without_lines(small_stroke());
  without_lines.m().band = ReferenceBand{};
  EXPECT_FALSE(without_lines.judge(1290).accepted);
}

TEST(SpecialMarksTest, AQuoteOfTwoFiguresNeedsTheirPairEntry) {
  MarkCase quote({polyline({{50, 100}, {52, 110}}, 2), polyline({{56, 100}, {58, 110}}, 2)});
  quote.m().mark_class = 3;
  int status = kOk;
  quote.judge(1033, &status);
  EXPECT_EQ(status, kBadArgument);
}

}  // namespace
}  // namespace inkrec
