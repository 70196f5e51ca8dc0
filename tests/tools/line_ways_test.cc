// scripts/unipen-recipe keeps a way of writing a character that is a bare
// line (a stem or a bar) only when the character's main way is a line the
// same way: a stem labelled N holds part of its letter at most, while a
// stem is how an l is written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/support/unipen_recipe_run.h"

namespace inkrec::tool {
namespace {

// Four writers write N in one stroke and l as a stem; three others write
// both as a stem drawn in two pieces. Each character is thus read in two
// ways (one a stroke count), both used by enough writers. The composites'
// characters (i, j, !, ? and the comma) come from the first writer.
void write_unipen(const testing::TempDir& dir) {
  std::filesystem::create_directory(dir.file("train"));
  std::ofstream split(dir.file("writers.txt"));
  std::ofstream upper(dir.file("train/1b.txt"));
  std::ofstream lower(dir.file("train/1c.txt"));
  for (int w = 1; w <= 7; ++w) {
    const std::string writer = "w" + std::to_string(w);
    split << writer << " train\n";
    if (w <= 4) {
      upper << "N\t" << writer << "\t0,100 0,20 40,100 40,20\n";
      lower << "l\t" << writer << "\t10,20 10,100\n";
    } else {
      upper << "N\t" << writer << "\t10,20 10,60;10,62 10,100\n";
      lower << "l\t" << writer << "\t10,20 10,60;10,62 10,100\n";
    }
  }
  lower << "i\tw1\t10,60 10,100;10,45 11,46\n"
        << "j\tw1\t10,60 10,130 0,140;10,45 11,46\n";
  std::ofstream(dir.file("train/1a.txt")) << "1\tw1\t10,20 10,100\n";
  std::ofstream(dir.file("train/1d.txt")) << "!\tw1\t10,20 10,80;10,95 11,96\n"
                                             "?\tw1\t0,30 20,20 40,30 20,60 20,80;20,95 21,96\n"
                                             ",\tw1\t10,100 5,115\n";
  std::ofstream(dir.file("words.txt")) << "on\tw1\t0,0 1,1\n";
  const std::string compress = "python3 -c \"import lzma, sys; lzma.open(sys.argv[2], 'wt')"
                               ".write(open(sys.argv[1]).read())\" " +
                               dir.file("words.txt") + " " + dir.file("train/7.txt.xz");
  ASSERT_EQ(std::system(compress.c_str()), 0);
}

// The number of variants the recipe has of the character.
int variants_of(const std::string& recipe, char ch) {
  std::ifstream in(recipe);
  const std::string mark = std::string("# '") + ch + "'";
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("variant ", 0) == 0 && line.find(mark) != std::string::npos) ++count;
  }
  return count;
}

TEST(LineWaysTest, AStemIsAWayOfWritingOnlyForACharacterWrittenAsAStem) {
  testing::TempDir dir;
  write_unipen(dir);
  ASSERT_EQ(testing::run_unipen_recipe(dir, "out"), 0);
  const std::string recipe = dir.file("out/qlmain.recipe");
  EXPECT_EQ(variants_of(recipe, 'N'), 1) << "the stem labelled N is left out";
  EXPECT_EQ(variants_of(recipe, 'l'), 2) << "both stems of l are kept";
}

}  // namespace
}  // namespace inkrec::tool
