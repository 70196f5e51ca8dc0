// A drawn line of letters for tests of the letter search's later passes:
// the figures measured and ordered as the search does (body k at position
// k), with word groups and scored letter results made by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "tests/support/drawn_line.h"

namespace inkrec::test {

// Letters 20 wide and 30 high on the baseline y = 100, 30 apart.
inline std::vector<Points> letters_in_a_row(int n) {
  std::vector<Points> strokes;
  for (int k = 0; k < n; ++k) strokes.push_back(arch(30 * k, 20, 30));
  return strokes;
}

class ResultLine {
 public:
  explicit ResultLine(int figures, int letter_height = 40)
      : drawn_(letters_in_a_row(figures), static_cast<std::int16_t>(letter_height)),
        state_(drawn_.context(), drawn_.line()) {
    EXPECT_EQ(estimate_fragment_sizes(state_), kOk);
    EXPECT_EQ(order_fragment_candidates(state_), kOk);
  }

  // A word group of the bodies; returns its index.
  std::uint32_t word(const std::vector<std::size_t>& bodies) {
    LineGroup* group = drawn_.line().word_groups.push_default();
    EXPECT_NE(group, nullptr);
    const std::uint32_t k = drawn_.line().word_groups.size() - 1;
    for (const std::size_t b : bodies) {
      EXPECT_EQ(group->figures.push_back(&drawn_.body(b)), kOk);
      set_line_group(drawn_.body(b), k);
    }
    return k;
  }

  // A result of the bodies read as `code` with that score (no reading for
  // code 0), in word group k when one is given.
  FigureGroup& result(const std::vector<std::size_t>& bodies, char16_t code, std::int32_t score,
                      int k = -1) {
    FigureGroup& made = drawn_.result(bodies, code);
    made.index = static_cast<std::int32_t>(drawn_.line().letter_results.size() - 1);
    if (code != 0) made.answers->answers()[0].components[Answer::kLetterScore] = score;
    if (k >= 0) {
      LineGroup& group = drawn_.line().word_groups[static_cast<std::uint32_t>(k)];
      EXPECT_EQ(group.letter_groups.push_back(&made), kOk);
    }
    return made;
  }

  // The first codes of a chain, '?' for a result without readings.
  static std::u16string text_of(const PtrArray<FigureGroup>& chain) {
    std::u16string text;
    for (const FigureGroup* r : chain) {
      text += r->has_answers() ? static_cast<char16_t>(r->answers->best_code()) : u'?';
    }
    return text;
  }
  std::u16string cover_text(std::uint32_t k) { return text_of(group(k).cover); }

  LineGroup& group(std::uint32_t k) { return drawn_.line().word_groups[k]; }
  FragmentState& state() { return state_; }
  StubRunKernel& kernel() { return drawn_.kernel(); }
  DrawnLine& drawn() { return drawn_; }

 private:
  DrawnLine drawn_;
  FragmentState state_;
};

}  // namespace inkrec::test
