// Cutting written words into their letters for training: the chain of
// evaluated figure sets that spells the label, and the letters of a real
// written word that the split of joined writing cut out of one stroke.
#include "tools/inkrec/joined_letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace inkrec::tool {
namespace {

EvaluatedSet set(std::uint16_t first, std::uint16_t last,
                 std::vector<std::pair<char16_t, std::int32_t>> readings) {
  return {first, last, std::move(readings), last > first};
}

TEST(JoinedLetters, TheChainSpellingTheLabelWithOneSetPerLetterIsChosen) {
  // "on" written o, then n in two pieces that also read as l and L on their
  // own: the pieces score more alone, but the label has two letters.
  const std::vector<EvaluatedSet> on = {set(0, 0, {{u'o', 8000}}), set(1, 1, {{u'l', 7000}}),
                                        set(2, 2, {{u'L', 8400}}), set(1, 2, {{u'n', 6500}})};
  struct Case {
    const char* name;
    std::u16string label;
    std::uint16_t figures;
    std::vector<EvaluatedSet> sets;
    std::vector<std::size_t> chain;
  };
  const std::vector<Case> cases = {
      {"two letters over three figures", u"on", 3, on, {0, 3}},
      {"three letters take the pieces", u"olL", 3, on, {0, 1, 2}},
      {"an unread letter beside a read one", u"ox", 3, on, {0, 3}},
      {"fewer than half read as themselves", u"xyz", 3, on, {}},
      {"no chain of that many letters", u"onto", 3, on, {}},
      {"a figure no set covers", u"on", 4, on, {}},
      {"the best reading of a set for its letter counts",
       u"ab",
       2,
       {set(0, 0, {{u'a', 3000}}), set(0, 0, {{u'b', 9000}, {u'a', 9500}}),
        set(1, 1, {{u'b', 7000}})},
       {1, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(align_letters(c.label, c.figures, c.sets), c.chain) << c.name;
  }
}

std::vector<InkSample> committed_samples() {
  std::ifstream in(INKREC_SAMPLES, std::ios::binary);
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  return samples;
}

// The written "the" of data/samples: a t of two strokes, an h of one
// stroke that the split cuts into two pieces, an e of its own; only the
// letter with the cut stroke is handed out, with the ink of its pieces and
// the link between them.
TEST(JoinedLetters, OnlyTheLettersOfACutStrokeComeOutOfAWrittenWord) {
  EngineSession session;
  std::string error;
  ASSERT_TRUE(start_session(session, std::string(INKREC_SOURCE_DATA) + "/qlmain.dt", {}, &error))
      << error;
  const std::vector<InkSample> samples = committed_samples();
  const auto the = std::find_if(samples.begin(), samples.end(),
                                [](const InkSample& s) { return s.label == "the"; });
  ASSERT_NE(the, samples.end());
  std::vector<JoinedLetter> letters;
  ASSERT_EQ(collect_joined_letters(session, *the, &letters), 0);
  ASSERT_EQ(letters.size(), 1u);
  EXPECT_EQ(letters[0].letter, u'h');
  // Its ink starts with the cut stroke, from its first point on.
  ASSERT_FALSE(letters[0].strokes.empty());
  ASSERT_GT(letters[0].strokes[0].size(), 5u);
  EXPECT_EQ(letters[0].strokes[0][0].x, the->strokes[1][0].x);
  EXPECT_EQ(letters[0].strokes[0][0].y, the->strokes[1][0].y);

  // Labels of anything but letters give nothing.
  InkSample digits = *the;
  digits.label = "t1e";
  letters.clear();
  EXPECT_EQ(collect_joined_letters(session, digits, &letters), 0);
  EXPECT_TRUE(letters.empty());
}

}  // namespace
}  // namespace inkrec::tool
