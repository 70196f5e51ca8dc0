// scripts/unipen-recipe takes the letters that training writers printed
// apart in their written words as samples of their own, and nothing from a
// word whose strokes do not part cleanly into its letters or from a
// held-out writer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/support/unipen_recipe_run.h"

namespace inkrec::tool {
namespace {

// A tiny UNIPEN folder: one training writer's isolated characters (the
// dotted and two-part ones the recipe's composites need), and written words
// of that writer and of a held-out one. y grows downward; the baseline lies
// at 100 and the upper line at 60.
void write_unipen(const testing::TempDir& dir) {
  std::filesystem::create_directory(dir.file("train"));
  std::ofstream(dir.file("writers.txt")) << "wT train\nwH heldout\n";
  std::ofstream(dir.file("train/1a.txt")) << "1\twT\t10,20 10,100\n";
  std::ofstream(dir.file("train/1b.txt")) << "L\twT\t0,20 0,100 40,100\n";
  std::ofstream(dir.file("train/1c.txt")) << "i\twT\t10,60 10,100;10,45 11,46\n"
                                             "j\twT\t10,60 10,130 0,140;10,45 11,46\n"
                                             "o\twT\t10,60 30,60 40,80 30,100 10,100 0,80 10,60\n";
  std::ofstream(dir.file("train/1d.txt")) << "!\twT\t10,20 10,80;10,95 11,96\n"
                                             "?\twT\t0,30 20,20 40,30 20,60 20,80;20,95 21,96\n"
                                             ",\twT\t10,100 5,115\n";
  std::ofstream(dir.file("words.txt"))
      // Printed apart: o and n, and an i whose dot stands over it beside a k.
      << "on\twT\t10,60 30,60 40,80 30,100 10,100 0,80 10,60;60,100 60,60 90,60 100,70 100,100\n"
      << "ik\twT\t10,60 10,100;10,45 11,46;40,20 40,100;70,60 40,85 70,100\n"
      // Printed apart, by a held-out writer.
      << "oz\twH\t10,60 30,60 40,80 30,100 10,100 0,80 10,60;60,60 100,60 60,100 100,100\n"
      // Joined: one stroke for both letters.
      << "ex\twT\t0,80 40,80 20,60 0,80 20,100 40,100 60,60 100,100 80,80 100,60 60,100\n"
      // The i's dot falls over the h: two groups, but not the word's letters.
      << "hi\twT\t0,20 0,100 0,70 30,60 40,70 40,100;60,60 60,100;30,45 31,46\n";
  const std::string compress = "python3 -c \"import lzma, sys; lzma.open(sys.argv[2], 'wt')"
                               ".write(open(sys.argv[1]).read())\" " +
                               dir.file("words.txt") + " " + dir.file("train/7.txt.xz");
  ASSERT_EQ(std::system(compress.c_str()), 0);
}

// The letters the recipe has variants "printed in words" of.
std::set<char> printed_letters(const std::string& recipe) {
  std::ifstream in(recipe);
  std::set<char> letters;
  for (std::string line; std::getline(in, line);) {
    const std::size_t quote = line.find("# '");
    if (line.rfind("variant ", 0) == 0 && line.find("printed in words") != std::string::npos &&
        quote != std::string::npos) {
      letters.insert(line[quote + 3]);
    }
  }
  return letters;
}

TEST(PrintLettersTest, OnlyCleanlyPrintedWordsOfTrainingWritersGiveLetters) {
  testing::TempDir dir;
  write_unipen(dir);
  ASSERT_EQ(testing::run_unipen_recipe(dir, "out"), 0);
  const std::set<char> printed = printed_letters(dir.file("out/qlmain.recipe"));
  struct Case {
    char letter;
    bool printed;
    const char* why;
  };
  const Case cases[] = {
      {'o', true, "printed apart by a training writer"},
      {'n', true, "printed apart by a training writer"},
      {'i', true, "its dot above it"},
      {'k', true, "beside an i with its dot"},
      {'z', false, "only a held-out writer printed it"},
      {'e', false, "joined to the x"},
      {'x', false, "joined to the e"},
      {'h', false, "the i's dot falls over it"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(printed.count(c.letter) == 1, c.printed) << c.letter << ": " << c.why;
  }
}

}  // namespace
}  // namespace inkrec::tool
