// A letter path copied into another: the copy holds the other's steps,
// codes and sums whatever the path held before and whatever room it had.
#include "engine/segmentation/letter_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;

// A path of `steps` steps reading `code` each, its sums set apart from any
// path of another length or code.
LetterPath made_path(std::uint32_t steps, std::uint16_t code) {
  LetterPath path;
  for (std::uint32_t k = 0; k < steps; ++k) {
    LetterStep step;
    step.first_value = static_cast<std::int32_t>(8000 + k);
    step.code_count = 1;
    step.codes[0] = code;
    EXPECT_EQ(path.steps.push_back(step), kOk);
    EXPECT_EQ(path.codes.push_back(code), kOk);
  }
  path.weight = steps;
  path.value_sum = static_cast<std::int32_t>(10 * steps);
  path.least_value = 8000;
  path.greatest_second = static_cast<std::int32_t>(steps);
  path.ordinal_sum = static_cast<std::int32_t>(steps + 1);
  path.greatest_ordinal = static_cast<std::int32_t>(steps + 2);
  path.non_first = static_cast<std::int32_t>(steps + 3);
  path.strokes = static_cast<std::int32_t>(steps + 4);
  path.positions = path.strokes;
  path.weighted_total = static_cast<std::int32_t>(8000 * steps);
  path.pair_sum = static_cast<std::int32_t>(steps + 5);
  path.base = code;
  path.weak = static_cast<std::uint8_t>(steps % 2);
  path.capitals_listed = static_cast<std::uint8_t>(steps % 3);
  return path;
}

void expect_same(const LetterPath& copy, const LetterPath& original, const char* what) {
  ASSERT_EQ(copy.steps.size(), original.steps.size()) << what;
  for (std::uint32_t k = 0; k < copy.steps.size(); ++k) {
    EXPECT_EQ(copy.steps[k].first_value, original.steps[k].first_value) << what << " " << k;
    EXPECT_EQ(copy.steps[k].codes[0], original.steps[k].codes[0]) << what << " " << k;
  }
  EXPECT_EQ(std::vector<std::uint16_t>(copy.codes.begin(), copy.codes.end()),
            std::vector<std::uint16_t>(original.codes.begin(), original.codes.end()))
      << what;
  EXPECT_EQ(copy.weight, original.weight) << what;
  EXPECT_EQ(copy.value_sum, original.value_sum) << what;
  EXPECT_EQ(copy.least_value, original.least_value) << what;
  EXPECT_EQ(copy.greatest_second, original.greatest_second) << what;
  EXPECT_EQ(copy.ordinal_sum, original.ordinal_sum) << what;
  EXPECT_EQ(copy.greatest_ordinal, original.greatest_ordinal) << what;
  EXPECT_EQ(copy.non_first, original.non_first) << what;
  EXPECT_EQ(copy.strokes, original.strokes) << what;
  EXPECT_EQ(copy.positions, original.positions) << what;
  EXPECT_EQ(copy.weighted_total, original.weighted_total) << what;
  EXPECT_EQ(copy.pair_sum, original.pair_sum) << what;
  EXPECT_EQ(copy.base, original.base) << what;
  EXPECT_EQ(copy.weak, original.weak) << what;
  EXPECT_EQ(copy.capitals_listed, original.capitals_listed) << what;
}

TEST(LetterPathTest, ACopyHoldsTheOthersStepsAndSumsWhateverThePathHeldBefore) {
  struct Case {
    const char* what;
    std::uint32_t steps;
    std::uint16_t code;
  };
  // One path copied into again and again: longer, shorter (the room left
  // from before must not show), empty, and longer again.
  const std::vector<Case> cases = {{"into an empty path", 3, u'a'},
                                   {"longer", 7, u'b'},
                                   {"shorter", 2, u'c'},
                                   {"empty", 0, u'd'},
                                   {"longer again", 5, u'e'}};
  LetterPath copy;
  for (const Case& c : cases) {
    const LetterPath original = made_path(c.steps, c.code);
    ASSERT_EQ(copy.assign(original), kOk) << c.what;
    expect_same(copy, original, c.what);
  }
  // A path copied into itself stays as it was.
  const LetterPath original = made_path(4, u'f');
  ASSERT_EQ(copy.assign(original), kOk);
  ASSERT_EQ(copy.assign(copy), kOk);
  expect_same(copy, original, "itself");
}

// The sums a path keeps, and its codes.
void expect_same_sums(const LetterPath& path, const LetterPath& expected, const char* what) {
  EXPECT_EQ(std::vector<std::uint16_t>(path.codes.begin(), path.codes.end()),
            std::vector<std::uint16_t>(expected.codes.begin(), expected.codes.end()))
      << what;
  EXPECT_EQ(path.steps.size(), expected.steps.size()) << what;
  EXPECT_EQ(path.weight, expected.weight) << what;
  EXPECT_EQ(path.value_sum, expected.value_sum) << what;
  EXPECT_EQ(path.least_value, expected.least_value) << what;
  EXPECT_EQ(path.greatest_second, expected.greatest_second) << what;
  EXPECT_EQ(path.ordinal_sum, expected.ordinal_sum) << what;
  EXPECT_EQ(path.greatest_ordinal, expected.greatest_ordinal) << what;
  EXPECT_EQ(path.non_first, expected.non_first) << what;
  EXPECT_EQ(path.strokes, expected.strokes) << what;
  EXPECT_EQ(path.positions, expected.positions) << what;
  EXPECT_EQ(path.weighted_total, expected.weighted_total) << what;
  EXPECT_EQ(path.pair_sum, expected.pair_sum) << what;
  EXPECT_EQ(path.extra(), expected.extra()) << what;
  EXPECT_EQ(path.value(), expected.value()) << what;
}

TEST(LetterPathTest, TakingStepsBackLeavesThePathOfTheStepsBefore) {
  // Steps whose extremes come and go: the least first value, the greatest
  // second value and ordinal each set by an early step and by a late one,
  // a step of two codes, and pair scores between the letters of one line.
  struct Step {
    std::int32_t first_value;
    std::int32_t second_value;
    std::int16_t answer;
    std::int16_t ordinal;
    std::u16string codes;
    std::uint32_t weight;
  };
  const std::vector<Step> steps = {{8200, 600, 2, 2, u"c", 1},  {9000, 0, 0, 0, u"l", 1},
                                   {8200, 600, 1, 1, u"ea", 1}, {7600, 900, 3, 3, u"n", 1},
                                   {9000, 0, 0, 0, u"e", 2},    {7600, 0, 0, 0, u"r", 2}};
  WordBench bench;
  const std::uint16_t line = bench.add_line({100, 130, 160, 190, 220, 250});
  std::vector<LetterResult*> letters;
  for (std::uint32_t p = 0; p < steps.size(); ++p) {
    letters.push_back(bench.add_result(line, p, 1,
                                       {{steps[p].codes[0], 9000}, {u'x', 8800}, {u'y', 8600},
                                        {u'z', 8400}}));
  }
  const auto extended = [&](std::size_t count) {
    LetterPath path;
    for (std::size_t k = 0; k < count; ++k) {
      LetterStep step;
      step.group = letters[k];
      step.first_value = steps[k].first_value;
      step.second_value = steps[k].second_value;
      step.answer = steps[k].answer;
      step.ordinal = steps[k].ordinal;
      step.code_count = static_cast<std::uint8_t>(steps[k].codes.size());
      std::copy(steps[k].codes.begin(), steps[k].codes.end(), step.codes);
      EXPECT_EQ(extend_path(path, step, steps[k].weight, bench.context(), bench.classes()), kOk);
    }
    return path;
  };
  LetterPath path = extended(steps.size());
  ASSERT_EQ(path.steps.size(), steps.size());
  for (std::size_t count = steps.size(); count-- > 0;) {
    path.remove_last_step(count == 0 ? 0 : steps[count - 1].weight);
    const LetterPath expected = extended(count);
    expect_same_sums(path, expected, ("after taking back step " + std::to_string(count)).c_str());
  }
  EXPECT_EQ(path.least_value, LetterPath::kNoLeastValue);
}

}  // namespace
}  // namespace inkrec
