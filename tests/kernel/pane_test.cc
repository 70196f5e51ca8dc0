#include "engine/kernel/pane.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "tests/support/ink_samples.h"

namespace inkrec {
namespace {

std::vector<PackedPoint> points_of(const Stroke& stroke) { return {stroke.begin(), stroke.end()}; }

TEST(PaneTest, RefusesBadInputAndStoresNothing) {
  const PackedPoint point{1, 2};
  const StrokeInput good{&point, 1};
  struct Case {
    const StrokeInput* inputs;
    int n;
    StrokeInput second;
  };
  for (const Case& c : {Case{nullptr, 1, good}, Case{&good, 0, good}, Case{&good, -1, good}}) {
    Pane pane;
    EXPECT_EQ(pane.add_strokes(c.inputs, c.n, -1, -1, false), kBadArgument);
    EXPECT_TRUE(pane.empty());
  }
  // A bad stroke anywhere in the array: not even the good ones before it.
  for (const StrokeInput bad : {StrokeInput{nullptr, 3}, StrokeInput{&point, -4}}) {
    Pane pane;
    const StrokeInput inputs[] = {good, bad};
    EXPECT_EQ(pane.add_strokes(inputs, 2, -1, -1, false), kBadArgument);
    EXPECT_TRUE(pane.empty());
    EXPECT_TRUE(pane.base_lines().empty());
  }
}

TEST(PaneTest, CopiesStrokesWithTheirBaseLines) {
  std::vector<PackedPoint> first{{10, 20}, {-5, 7}, {32767, -32768}};
  const StrokeInput inputs[] = {{first.data(), 3}, {nullptr, 0}};
  Pane pane;
  ASSERT_EQ(pane.add_strokes(inputs, 2, -1, 5, false), kOk);
  first[0] = {99, 99};  // the pane holds its own copy
  ASSERT_EQ(pane.add_strokes(inputs, 1, 3, 5, true), kOk);

  ASSERT_EQ(pane.strokes().size(), 3u);
  EXPECT_EQ(points_of(*pane.strokes()[0]),
            (std::vector<PackedPoint>{{10, 20}, {-5, 7}, {32767, -32768}}));
  EXPECT_TRUE(pane.strokes()[1]->empty());  // a stroke without points is kept
  // Mirrored: x becomes 32767 - x, held to 16 bits.
  EXPECT_EQ(points_of(*pane.strokes()[2]),
            (std::vector<PackedPoint>{{32668, 99}, {32767, 7}, {0, -32768}}));

  ASSERT_EQ(pane.base_lines().size(), 3u);
  for (const std::uint32_t i : {0u, 1u}) {
    EXPECT_EQ(pane.base_lines()[i].first, -1);
    EXPECT_EQ(pane.base_lines()[i].second, 5);
    EXPECT_EQ(pane.base_lines()[i].given, 0);
  }
  EXPECT_EQ(pane.base_lines()[2].first, 3);
  EXPECT_EQ(pane.base_lines()[2].given, 1);

  pane.clear();
  EXPECT_TRUE(pane.empty());
  EXPECT_TRUE(pane.base_lines().empty());
  EXPECT_EQ(pane.strokes().capacity(), StrokeList::kDefaultCapacity);
}

TEST(PaneTest, ReservesEachStrokeOnceWithAThirdSpare) {
  const std::vector<PackedPoint> points(60, PackedPoint{1, 1});
  const StrokeInput inputs[] = {{points.data(), 3}, {points.data(), 60}, {points.data(), 0}};
  Pane pane;
  ASSERT_EQ(pane.add_strokes(inputs, 3, -1, -1, false), kOk);
  EXPECT_EQ(pane.strokes()[0]->capacity(), 13u);
  EXPECT_EQ(pane.strokes()[1]->capacity(), 80u);
  EXPECT_EQ(pane.strokes()[2]->capacity(), 10u);
}

TEST(PaneTest, AHugeStrokeIsRefusedBeforeAnyPointIsRead) {
  const PackedPoint point{1, 1};
  const StrokeInput inputs[] = {{&point, 1}, {&point, 0x7FFFFFFF}};
  Pane pane;
  EXPECT_EQ(pane.add_strokes(inputs, 2, -1, -1, false), kOutOfMemory);
  EXPECT_EQ(pane.strokes().size(), 1u);
  EXPECT_EQ(pane.base_lines().size(), 1u);
}

TEST(PaneTest, RunningOutOfMemoryKeepsStrokesAndBaseLinesPaired) {
  const testing::Ink ink = testing::write_line({});
  const std::vector<StrokeView> views = testing::views_of(ink);
  for (long successes = 0; successes < 12; ++successes) {
    Pane pane;
    int status;
    {
      AllocationFailureScope scope(successes);
      status = pane.add_strokes(views.data(), static_cast<int>(views.size()), 1, 2, false);
    }
    EXPECT_EQ(pane.strokes().size(), pane.base_lines().size()) << successes;
    if (status == kOk) {
      EXPECT_EQ(pane.strokes().size(), views.size());
    } else {
      EXPECT_EQ(status, kOutOfMemory);
      EXPECT_LT(pane.strokes().size(), views.size());
    }
  }
}

TEST(PaneTest, RotationTruncatesAndSaturates) {
  StrokeList strokes(1, true);
  Stroke* stroke = strokes.add_new();
  for (const PackedPoint p : {PackedPoint{10, 0}, PackedPoint{-7, 3}, PackedPoint{32767, 32767}}) {
    stroke->push_back(p);
  }
  ASSERT_EQ(rotate_strokes(strokes, 90), kOk);
  EXPECT_EQ(points_of(*stroke), (std::vector<PackedPoint>{{0, 10}, {-3, -7}, {-32767, 32767}}));
  // With sine -500 and cosine 866: x' = (-3 * 866 - 7 * 500) / 1000 = -6.098
  // and y' = (-7 * 866 + 3 * 500) / 1000 = -4.562, truncated toward zero.
  ASSERT_EQ(rotate_strokes(strokes, -30), kOk);
  EXPECT_EQ((*stroke)[1], (PackedPoint{-6, -4}));
  EXPECT_EQ((*stroke)[2], (PackedPoint{-11992, 32767}));

  strokes.push_back(nullptr);
  EXPECT_EQ(rotate_strokes(strokes, 10), kBadArgument);
}

}  // namespace
}  // namespace inkrec
