// scripts/unipen-recipe splits a character's samples into ways of writing
// by k-means, starting from the samples farthest apart. A few odd samples
// take those first centres and make clusters too few writers use; for a
// small letter or a digit the recipe then tries more centres, so that two
// ways enough writers use are not merged into one. The database the joined letters are cut with (--all-ways) keeps
// the plain clustering.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/unipen_recipe_run.h"

namespace inkrec::tool {
namespace {

// An o written round in one stroke, counter-clockwise (turn 1) or clockwise
// (turn -1), its start moved right by shift.
std::string round_o(int turn, int shift) {
  std::string points;
  for (int i = 0; i <= 24; ++i) {
    const double angle = 2 * M_PI * i / 24;
    if (!points.empty()) points += ' ';
    points += std::to_string(std::lround(50 + 40 * std::cos(angle) + shift)) + ',' +
              std::to_string(std::lround(50 - turn * 40 * std::sin(angle)));
  }
  return points;
}

// An odd zigzag labelled o, each one different.
std::string odd_o(int n) {
  std::string points;
  for (int i = 0; i < 6; ++i) {
    if (!points.empty()) points += ' ';
    points += std::to_string((n * 37 + i * 61) % 100) + ',' +
              std::to_string((n * 53 + i * 29 + i * i * 7) % 100);
  }
  return points;
}

// Writers w1 to w4 write o counter-clockwise, w5 to w8 clockwise, twelve
// times each; w9 writes eight odd zigzags. The composites' characters come
// from w1.
void write_unipen(const testing::TempDir& dir) {
  std::filesystem::create_directory(dir.file("train"));
  std::ofstream split(dir.file("writers.txt"));
  std::ofstream lower(dir.file("train/1c.txt"));
  for (int w = 1; w <= 9; ++w) split << 'w' << w << " train\n";
  for (int w = 1; w <= 8; ++w) {
    for (int n = 0; n < 12; ++n)
      lower << "o\tw" << w << '\t' << round_o(w <= 4 ? 1 : -1, n % 3) << '\n';
  }
  for (int n = 0; n < 8; ++n) lower << "o\tw9\t" << odd_o(n) << '\n';
  lower << "i\tw1\t10,60 10,100;10,45 11,46\n"
        << "j\tw1\t10,60 10,130 0,140;10,45 11,46\n";
  std::ofstream(dir.file("train/1a.txt")) << "1\tw1\t10,20 10,100\n";
  std::ofstream(dir.file("train/1b.txt")) << "N\tw1\t0,100 0,20 40,100 40,20\n";
  std::ofstream(dir.file("train/1d.txt")) << "!\tw1\t10,20 10,80;10,95 11,96\n"
                                             "?\tw1\t0,30 20,20 40,30 20,60 20,80;20,95 21,96\n"
                                             ",\tw1\t10,100 5,115\n";
  std::ofstream(dir.file("words.txt")) << "on\tw1\t0,0 1,1\n";
  const std::string compress =
      "python3 -c \"import lzma, sys; lzma.open(sys.argv[2], 'wt')"
      ".write(open(sys.argv[1]).read())\" " +
      dir.file("words.txt") + " " + dir.file("train/7.txt.xz");
  ASSERT_EQ(std::system(compress.c_str()), 0);
}

// The sample counts of the recipe's variants of o, in recipe order.
std::vector<int> ways_of_o(const testing::TempDir& dir, const std::string& out) {
  std::ifstream in(dir.file(out + "/qlmain.recipe"));
  std::vector<int> sizes;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("variant ", 0) != 0 || line.find("# 'o'") == std::string::npos) continue;
    const std::size_t shape = line.find("shape=") + 6;
    std::ifstream samples(
        dir.file(out + "/samples/" + line.substr(shape, line.find(' ', shape) - shape) + ".txt"));
    int count = 0;
    for (std::string sample; std::getline(samples, sample);) ++count;
    sizes.push_back(count);
  }
  return sizes;
}

TEST(OddSamplesWaysTest, OddSamplesDoNotMergeTwoWaysOfWriting) {
  testing::TempDir dir;
  write_unipen(dir);
  ASSERT_EQ(testing::run_unipen_recipe(dir, "out"), 0);
  ASSERT_EQ(testing::run_unipen_recipe(dir, "plain", "--all-ways "), 0);
  EXPECT_EQ(ways_of_o(dir, "out"), (std::vector<int>{48, 48}))
      << "each direction is a way of its own, the zigzags none";
  EXPECT_EQ(ways_of_o(dir, "plain"), (std::vector<int>{64}))
      << "the plain clustering merges both directions (64 samples an etalon at "
         "most)";
}

}  // namespace
}  // namespace inkrec::tool
