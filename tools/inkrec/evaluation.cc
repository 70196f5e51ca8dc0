#include "tools/inkrec/evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "engine/foundation/capital_letters.h"
#include "engine/foundation/utf.h"

namespace inkrec::tool {
namespace {

constexpr std::size_t kTopAnswers = 5;

bool is_character_sample(std::u32string_view label) { return label.size() == 1; }

// What the sample is judged by: the first character for a character
// sample, else the whole text.
std::u32string judged_part(std::u32string_view text, bool character) {
  return std::u32string(character ? text.substr(0, 1) : text);
}

// The character in lower case where it is a capital the engine knows.
char32_t any_case(char32_t c) {
  return c > 0xFFFF ? c : lower_case_letter(static_cast<std::uint16_t>(c));
}

bool same_letter_any_case(std::u32string_view read, std::u32string_view expected) {
  return !read.empty() && any_case(read[0]) == any_case(expected[0]);
}

// The place (0 for the first) of the first of the answers that satisfies
// `right`, or the number considered when none does.
template <typename Right>
std::size_t place_of_right_answer(std::span<const std::u16string> answers, std::size_t considered,
                                  bool character, Right right) {
  for (std::size_t i = 0; i < considered; ++i) {
    if (right(judged_part(to_utf32(answers[i]), character))) return i;
  }
  return considered;
}

}  // namespace

double percentile(std::span<const double> values, double fraction) {
  if (values.empty()) return 0;
  std::vector<double> sorted(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::size_t edit_distance(std::u32string_view a, std::u32string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t replaced = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      diagonal = row[j];
      row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
    }
  }
  return row[b.size()];
}

void Evaluation::add(std::u32string_view label, std::span<const std::u16string> answers,
                     double microseconds) {
  const bool character = is_character_sample(label);
  const std::u32string expected = judged_part(label, character);
  const std::u32string first = answers.empty() ? U"" : judged_part(to_utf32(answers[0]), character);
  ++counts_.samples;
  times_.push_back(microseconds);
  const std::size_t considered = std::min(answers.size(), kTopAnswers);
  const auto exact = [&](const std::u32string& read) { return read == expected; };
  if (place_of_right_answer(answers, considered, character, exact) < considered) {
    ++counts_.top_five_right;
  }
  if (character) {
    ++counts_.character_samples;
    const auto either_case = [&](const std::u32string& read) {
      return same_letter_any_case(read, expected);
    };
    const std::size_t place = place_of_right_answer(answers, considered, character, either_case);
    if (place < considered) {
      ++counts_.top_five_right_any_case;
      if (place == 0) ++counts_.first_right_any_case;
    }
  }
  if (!character) {
    ++counts_.text_samples;
    counts_.label_characters += label.size();
    counts_.character_edits += edit_distance(first, label);
  }
  if (first == expected) {
    ++counts_.first_right;
    return;
  }
  const auto same = [&](const Confusion& c) { return c.expected == expected && c.read == first; };
  const auto found = std::find_if(confusions_.begin(), confusions_.end(), same);
  if (found != confusions_.end()) {
    ++found->count;
  } else {
    confusions_.push_back({expected, first, 1});
  }
}

EvaluationReport Evaluation::report(std::size_t max_confusions) const {
  EvaluationReport report = counts_;
  if (!times_.empty()) {
    report.mean_microseconds =
        std::accumulate(times_.begin(), times_.end(), 0.0) / static_cast<double>(times_.size());
  }
  report.p95_microseconds = percentile(times_, 0.95);
  report.confusions = confusions_;
  std::stable_sort(report.confusions.begin(), report.confusions.end(),
                   [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
  if (report.confusions.size() > max_confusions) report.confusions.resize(max_confusions);
  return report;
}

std::u32string to_utf32(std::u16string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pair) {
      out.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      out.push_back(unit);
    }
  }
  return out;
}

std::u32string utf8_to_utf32(std::string_view text) { return to_utf32(utf8_to_utf16(text)); }

std::string utf32_to_utf8(std::u32string_view text) {
  std::u16string units;
  for (const char32_t c : text) {
    if (c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  return utf16_to_utf8(units);
}

}  // namespace inkrec::tool
