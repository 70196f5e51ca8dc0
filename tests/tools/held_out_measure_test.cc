// The held-out measurement: only the held-out writers' samples count, each
// ranked among the characters of its own charset by the etalon score.
#include "tools/inkrec/held_out_measure.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/inkrec/database_builder.h"
#include "tools/inkrec/recipe.h"

namespace inkrec::tool {
namespace {

const std::string kFixtures = std::string(INKREC_TEST_DATA_DIR) + "/database/";

TEST(HeldOutMeasureTest, CountsTheHeldOutWritersAndRanksTheirDigits) {
  testing::TempDir dir;
  Recipe recipe;
  std::string error;
  ASSERT_TRUE(read_recipe(kFixtures + "tiny.recipe", &recipe, &error)) << error;
  ASSERT_TRUE(build_database(recipe, dir.file("tiny.dt"), &error)) << error;
  std::ofstream(dir.file("writers.txt")) << "# split\nw1 heldout\nw2 train\n";
  // Every held-out digit once as writer w1 and once as the training writer
  // w2, whose copy must not count; a label of two characters is skipped.
  std::ifstream in(kFixtures + "heldout_digits.txt");
  std::ofstream samples(dir.file("samples.txt"));
  std::string line;
  while (std::getline(in, line)) {
    samples << line[0] << "\tw1\t" << line.substr(2) << "\n";
    samples << line[0] << "\tw2\t" << line.substr(2) << "\n";
  }
  samples << "10\tw1\t1,1 2,2 3,3\n";
  samples.close();

  std::vector<HeldOutRow> rows;
  ASSERT_TRUE(measure_held_out(dir.file("tiny.dt"), dir.file("writers.txt"),
                               {dir.file("samples.txt")}, &rows, &error))
      << error;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "digits");
  EXPECT_EQ(rows[0].samples, 6);
  EXPECT_EQ(rows[0].first, 6);
  EXPECT_EQ(rows[0].top_five, 6);
  EXPECT_FALSE(rows[0].letters);
}

// The default database's letters: each held-out letter of the fixture
// "letter_samples.txt" written once under its own label and once under its
// capital's. Ranked within its own case the two labels differ; among both
// cases with the case ignored they must count alike.
TEST(HeldOutMeasureTest, LettersAreAlsoRankedAmongBothCasesWithTheCaseIgnored) {
  testing::TempDir dir;
  std::ofstream(dir.file("writers.txt")) << "w1 heldout\n";
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/letter_samples.txt");
  std::ofstream samples(dir.file("samples.txt"));
  std::string line;
  int letters = 0;
  while (std::getline(in, line)) {
    const std::size_t ink = line.rfind('\t');
    if (line[0] < 'a' || line[0] > 'z' || line.find("\theldout\t") == std::string::npos) continue;
    ++letters;
    samples << line[0] << "\tw1\t" << line.substr(ink + 1) << "\n";
    samples << static_cast<char>(line[0] - 'a' + 'A') << "\tw1\t" << line.substr(ink + 1) << "\n";
  }
  samples.close();
  ASSERT_GE(letters, 8);

  std::vector<HeldOutRow> rows;
  std::string error;
  const std::string database = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";
  ASSERT_TRUE(measure_held_out(database, dir.file("writers.txt"), {dir.file("samples.txt")}, &rows,
                               &error))
      << error;
  ASSERT_EQ(rows.size(), 2u);
  const HeldOutRow& lower = rows[0].name.ends_with("lower case") ? rows[0] : rows[1];
  const HeldOutRow& upper = &lower == &rows[0] ? rows[1] : rows[0];
  EXPECT_TRUE(upper.name.ends_with("upper case")) << upper.name;
  EXPECT_TRUE(lower.letters && upper.letters);
  EXPECT_EQ(lower.samples, letters);
  EXPECT_EQ(upper.samples, letters);
  EXPECT_EQ(lower.first_either_case, upper.first_either_case);
  EXPECT_EQ(lower.top_five_either_case, upper.top_five_either_case);
  EXPECT_GT(lower.first_either_case, letters / 2);
  // Written small, these letters are mostly not their capitals' best match.
  EXPECT_LT(upper.first, lower.first);
}

TEST(HeldOutMeasureTest, ABadLineIsNamed) {
  testing::TempDir dir;
  std::ofstream(dir.file("writers.txt")) << "w1 heldout\nw2 maybe\n";
  std::ofstream(dir.file("samples.txt")) << "1\tw1\t1,1 2,2\n1\tw1\t1,1 2\n";
  std::vector<HeldOutRow> rows;
  std::string error;
  EXPECT_FALSE(measure_held_out("unused.dt", dir.file("writers.txt"), {}, &rows, &error));
  EXPECT_EQ(error, dir.file("writers.txt") + ":2: expected \"WRITER train|heldout\"");
  std::ofstream(dir.file("writers.txt")) << "w1 heldout\n";
  EXPECT_FALSE(measure_held_out("unused.dt", dir.file("writers.txt"), {dir.file("samples.txt")},
                                &rows, &error));
  EXPECT_EQ(error, dir.file("samples.txt") + ":2: malformed strokes");
}

}  // namespace
}  // namespace inkrec::tool
