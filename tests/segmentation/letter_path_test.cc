// A letter path copied into another: the copy holds the other's steps,
// codes and sums whatever the path held before and whatever room it had.
#include "engine/segmentation/letter_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

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

}  // namespace
}  // namespace inkrec
