// measure_held_out: how often a database's nearest etalon names the written
// character, over the samples of held-out writers.
//
// Each sample's feature cells are computed as the recognition computes a
// figure's (at its own direction), scored against the etalon of every
// variant of the charset that holds the character (the etalon score of the
// letter evaluation; English counts as two charsets, upper and lower case,
// and is counted again among both cases with the case ignored), and the
// characters ranked by their best variant. This
// is the etalon stage alone, without the shape tests, rules and context of
// the whole recognition: an interim figure until that path is built.
#pragma once

#include <string>
#include <vector>

namespace inkrec::tool {

// One row of the result: the samples of one charset (English split by case).
struct HeldOutRow {
  std::string name;
  int samples = 0;
  int first = 0;     // the first answer is the character
  int top_five = 0;  // the character is among the first five
  // English letters only (letters set): ranked among the letters of both
  // cases, the case ignored.
  bool letters = false;
  int first_either_case = 0;
  int top_five_either_case = 0;
};

// Measures the database at db_path over the samples of the writers that
// writers_path marks "heldout", read from sample files of lines
// "LABEL<TAB>WRITER<TAB>STROKES" (labels of one character; others are
// skipped, as are characters no charset holds). True with the rows, or
// false with *error naming the file and line that could not be read.
bool measure_held_out(const std::string& db_path, const std::string& writers_path,
                      const std::vector<std::string>& sample_paths, std::vector<HeldOutRow>* rows,
                      std::string* error);

}  // namespace inkrec::tool
