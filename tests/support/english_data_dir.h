// A data folder for the tool's tests of written words: the default data
// beside an English word list built by the tool from
// tests/fixtures/english_words.txt, each word with its count, and any extra
// words a test adds.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace inkrec::testing {

// Writes qlmain.dt and eng.wlb into `dir`, the list holding the fixture's
// words and the `extra` lines ("word count"); false when the list cannot be
// built.
inline bool write_english_data(const TempDir& dir, const std::vector<std::string>& extra = {}) {
  std::filesystem::copy_file(std::string(INKREC_SOURCE_DATA) + "/qlmain.dt",
                             dir.file("qlmain.dt"));
  std::ifstream words(std::string(INKREC_TEST_DATA_DIR) + "/english_words.txt");
  std::ofstream counted(dir.file("words.txt"));
  for (std::string line; std::getline(words, line);) {
    counted << line.substr(0, line.find('\t')) << ' ' << line.substr(line.find('\t') + 1) << '\n';
  }
  for (const std::string& line : extra) counted << line << '\n';
  counted.close();
  const std::string build = std::string(INKREC_TOOL) + " wordlist build --counts " +
                            dir.file("words.txt") + " " + dir.file("eng.wlb") + " > /dev/null";
  return std::system(build.c_str()) == 0;
}

}  // namespace inkrec::testing
