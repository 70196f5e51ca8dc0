// Evaluation: the measures of `inkrec eval` over labelled samples and what
// the recogniser answered for them.
//
// A label of one character is a character sample, judged by the first
// character of the answers; a longer label (a word, or a line when it holds
// a blank) is judged by the whole text and adds to the character error
// rate. A sample whose recognition failed counts as read wrongly, with an
// empty answer.
//
// Character samples are also counted with the letter case ignored: a
// letter written alone has no line to measure its size against, so the
// case of a c, o, s, u, v, w, x or z (and, as most people write them, of a
// k, p, y or j) cannot be read from its ink.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace inkrec::tool {

struct Confusion {
  std::u32string expected;
  std::u32string read;
  std::size_t count = 0;
};

struct EvaluationReport {
  std::size_t samples = 0;
  std::size_t first_right = 0;
  std::size_t top_five_right = 0;
  std::size_t character_samples = 0;  // labels of one character
  std::size_t first_right_any_case = 0;     // of the character samples
  std::size_t top_five_right_any_case = 0;  // of the character samples
  double mean_microseconds = 0;
  double p95_microseconds = 0;
  std::size_t text_samples = 0;  // word and line samples
  std::size_t label_characters = 0;  // of the word and line samples
  std::size_t character_edits = 0;   // to turn their first answers into their labels
  std::vector<Confusion> confusions;  // most frequent first
};

// The value below which the given fraction (0..1) of the values lie: the
// nearest-rank percentile; 0 for no values.
double percentile(std::span<const double> values, double fraction);

// Insertions, deletions and substitutions that turn one text into the other.
std::size_t edit_distance(std::u32string_view a, std::u32string_view b);

class Evaluation {
 public:
  // Counts a sample: its label, the answers best first (UTF-16) and the
  // time it took.
  void add(std::u32string_view label, std::span<const std::u16string> answers,
           double microseconds);

  // The measures so far, with at most max_confusions confusions.
  EvaluationReport report(std::size_t max_confusions) const;

 private:
  EvaluationReport counts_;
  std::vector<double> times_;
  std::vector<Confusion> confusions_;  // in order of first appearance
};

// UTF-32 forms of the tool's texts.
std::u32string to_utf32(std::u16string_view text);
std::u32string utf8_to_utf32(std::string_view text);
std::string utf32_to_utf8(std::u32string_view text);

}  // namespace inkrec::tool
