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
