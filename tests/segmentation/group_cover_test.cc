// The cover of a line's word groups by letter results made by hand over
// drawn figures: which chain is chosen, what happens when none covers, and
// the results gathered for the line's chosen reading.
#include "engine/segmentation/group_cover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "engine/rules/group_chains.h"
#include "tests/support/drawn_line.h"
#include "tests/support/result_line.h"

namespace inkrec {
namespace {

using test::arch;
using test::DrawnLine;
using test::Points;

using CoverLine = test::ResultLine;
using test::ResultLine;

// A word group of the line's first `count` bodies, each marked as its member.
LineGroup* word_group_of_bodies(DrawnLine& drawn, std::size_t count) {
  LineGroup* group = drawn.line().word_groups.push_default();
  for (std::size_t b = 0; b < count; ++b) {
    EXPECT_EQ(group->figures.push_back(&drawn.body(b)), kOk);
    set_line_group(drawn.body(b), 0);
  }
  return group;
}

// Three figures and the results over them: each chain's value is the
// member-weighted mean of its readings' totals.
TEST(GroupCoverTest, AGroupOfThreeLettersTakesTheChainWithTheBestValue) {
  struct Result {
    std::vector<std::size_t> bodies;
    char16_t code;
    std::int32_t score;
  };
  struct Case {
    std::string name;
    std::vector<Result> results;
    std::u16string cover;
  };
  const std::vector<Case> cases = {
      // c+l+o = 8000, c+d = (9000 + 2 * 9500) / 3 = 9333, a+o = 6333
      {"a pair of figures read as one letter",
       {{{0}, 'c', 9000}, {{1}, 'l', 6000}, {{2}, 'o', 9000}, {{1, 2}, 'd', 9500}, {{0, 1}, 'a', 5000}},
       u"cd"},
      {"three single letters",
       {{{0}, 'c', 9000}, {{1}, 'a', 8000}, {{2}, 't', 9000}, {{1, 2}, 'd', 7000}},
       u"cat"},
      {"the whole group as one letter", {{{0}, 'i', 4000}, {{1}, 'i', 4000}, {{2}, 'i', 4000}, {{0, 1, 2}, 'm', 8000}}, u"m"},
      // the rules' penalty lies outside the total and decides nothing
      {"a letter that must be read", {{{0}, 'o', 9000}, {{1, 2}, 'n', 6000}}, u"on"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CoverLine line(3);
    const std::uint32_t k = line.word({0, 1, 2});
    for (const Result& r : c.results) {
      FigureGroup& made = line.result(r.bodies, r.code, r.score, static_cast<int>(k));
      made.answers->answers()[0].add_component(Answer::kPenaltyComponent, -5000);
    }
    EXPECT_EQ(select_group_cover(line.state(), k), kOk);
    EXPECT_EQ(line.cover_text(k), c.cover);
  }
}

// What covers a group the search cannot: the greedy walk takes the first
// result at each position, also one without readings; a position no
// result has ends with 4036.
TEST(GroupCoverTest, AGroupTheSearchCannotCoverIsWalkedOrReportedAs4036) {
  {
    SCOPED_TRACE("an unreadable figure in the middle");
    CoverLine line(3);
    const std::uint32_t k = line.word({0, 1, 2});
    line.result({0}, 'a', 9000, static_cast<int>(k));
    line.result({1}, 0, 0, static_cast<int>(k));
    line.result({2}, 'b', 9000, static_cast<int>(k));
    line.result({0, 1}, 'd', 9500, static_cast<int>(k));
    EXPECT_EQ(select_group_cover(line.state(), k), kOk);
    EXPECT_EQ(line.cover_text(k), u"db");
  }
  {
    SCOPED_TRACE("only an unreadable result at a position");
    CoverLine line(3);
    const std::uint32_t k = line.word({0, 1, 2});
    line.result({0}, 'a', 9000, static_cast<int>(k));
    line.result({1}, 0, 0, static_cast<int>(k));
    line.result({2}, 'b', 9000, static_cast<int>(k));
    EXPECT_EQ(select_group_cover(line.state(), k), kOk);
    EXPECT_EQ(line.cover_text(k), u"a?b");
  }
  {
    SCOPED_TRACE("a position without any result");
    CoverLine line(3);
    const std::uint32_t k = line.word({0, 1, 2});
    line.result({0}, 'a', 9000, static_cast<int>(k));
    line.result({2}, 'b', 9000, static_cast<int>(k));
    EXPECT_EQ(select_group_cover(line.state(), k), kNoGroupVariant);
    EXPECT_TRUE(line.group(k).cover.empty());
  }
}

// A figure the evaluation found no reading for stands in a chain as a
// letter read with the total 0: it costs its chain, but the letters read
// beside it stay. A set of several figures without a reading is no letter.
TEST(GroupCoverTest, AFigureWithoutAReadingCostsItsChainInsteadOfErasingTheWord) {
  struct Result {
    std::vector<std::size_t> bodies;
    char16_t code;  // 0: no reading
    std::int32_t score;
  };
  struct Case {
    std::string name;
    int figures;
    std::vector<Result> results;
    std::u16string cover;
  };
  const std::vector<Case> cases = {
      // two strokes read together without a reading, the first alone
      // without one either: the second keeps its letter
      {"an unread stroke beside a read one", 2, {{{0, 1}, 0, 0}, {{0}, 0, 0}, {{1}, 'a', 7000}}, u"?a"},
      // a?b = (9000 + 0 + 9000) / 3 = 6000 against ad = (9000 + 2 * 6500) / 3
      {"a reading over the unread figure beats leaving it unread",
       3,
       {{{0}, 'a', 9000}, {{1}, 0, 0}, {{2}, 'b', 9000}, {{1, 2}, 'd', 6500}},
       u"ad"},
      // ... and loses when it reads worse than the unread figure costs
      {"the unread figure costs less than a poor reading over it",
       3,
       {{{0}, 'a', 9000}, {{1}, 0, 0}, {{2}, 'b', 9000}, {{1, 2}, 'd', 4000}},
       u"a?b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CoverLine line(c.figures);
    std::vector<std::size_t> bodies(static_cast<std::size_t>(c.figures));
    for (std::size_t b = 0; b < bodies.size(); ++b) bodies[b] = b;
    const std::uint32_t k = line.word(bodies);
    for (const Result& r : c.results) line.result(r.bodies, r.code, r.score, static_cast<int>(k));
    EXPECT_EQ(select_group_cover(line.state(), k), kOk);
    EXPECT_EQ(line.cover_text(k), c.cover);
  }
  {
    // On drawn ink the pair test lets no unread result follow a letter;
    // the unread arch between two read ones still stands and costs:
    // n?n = (9000 + 0 + 9000) / 3 against mn = (2 * 3000 + 9000) / 3.
    DrawnLine drawn({arch(0, 30, 30), arch(25, 30, 30), arch(50, 30, 30)}, 40);
    ASSERT_EQ(drawn.context().figure_pairs().reserve(3), kOk);
    FragmentState state(drawn.context(), drawn.line());
    ASSERT_EQ(order_fragment_candidates(state), kOk);
    LineGroup* group = word_group_of_bodies(drawn, 3);
    for (std::size_t b = 0; b < 3; ++b) {
      FigureGroup& r = drawn.result({b}, b == 1 ? 0 : u'n');
      if (b != 1) r.answers->answers()[0].components[0] = 9000;
      ASSERT_EQ(group->letter_groups.push_back(&r), kOk);
    }
    FigureGroup& unread_pair = drawn.result({1, 2}, 0);
    ASSERT_EQ(group->letter_groups.push_back(&unread_pair), kOk);
    FigureGroup& poor = drawn.result({0, 1}, u'm');
    poor.answers->answers()[0].components[0] = 3000;
    ASSERT_EQ(group->letter_groups.push_back(&poor), kOk);
    EXPECT_EQ(select_group_cover(state, 0), kOk);
    EXPECT_EQ(CoverLine::text_of(group->cover), u"n?n");
  }
}

TEST(GroupCoverTest, ExcludedResultsAndScrapsOfAStrokeAreNotRead) {
  {
    SCOPED_TRACE("excluded by either flag word");
    for (int flag_word = 0; flag_word < 2; ++flag_word) {
      CoverLine line(2);
      const std::uint32_t k = line.word({0, 1});
      line.result({0}, 'l', 6000, static_cast<int>(k));
      line.result({1}, 'o', 6000, static_cast<int>(k));
      FigureGroup& best = line.result({0, 1}, 'b', 9900, static_cast<int>(k));
      (flag_word == 0 ? best.flags : best.exclusion_flags) |=
          flag_word == 0 ? FigureGroup::kNotInCovers : FigureGroup::kExcluded;
      EXPECT_EQ(select_group_cover(line.state(), k), kOk);
      EXPECT_EQ(line.cover_text(k), u"lo");
    }
  }
  {
    // A flat piece cut from a stroke (1 high on a line of letters 40 high)
    // is no letter; the same piece starting its stroke is read.
    for (const std::uint16_t first_point : {std::uint16_t{5}, std::uint16_t{0}}) {
      SCOPED_TRACE(first_point);
      DrawnLine drawn({arch(0, 20, 30), test::bar(30, 50, 99), arch(60, 20, 30)}, 40);
      drawn.body(1).first_point = first_point;
      FragmentState state(drawn.context(), drawn.line());
      ASSERT_EQ(order_fragment_candidates(state), kOk);
      LineGroup* group = word_group_of_bodies(drawn, 3);
      const char16_t codes[] = {u'n', u'-', u'n'};
      for (std::size_t b = 0; b < 3; ++b) {
        FigureGroup& r = drawn.result({b}, codes[b]);
        r.answers->answers()[0].components[0] = 9000;
        ASSERT_EQ(group->letter_groups.push_back(&r), kOk);
      }
      FigureGroup& joined = drawn.result({0, 1}, u'n');
      joined.answers->answers()[0].components[0] = 7000;
      ASSERT_EQ(group->letter_groups.push_back(&joined), kOk);
      EXPECT_EQ(select_group_cover(state, 0), kOk);
      EXPECT_EQ(CoverLine::text_of(group->cover), first_point == 0 ? u"n-n" : u"nn");
    }
  }
}

std::size_t member_count_of(const Chain& chain) {
  std::size_t n = 0;
  for (const FigureGroup* r : chain) n += r->members.count();
  return n;
}

// Every chain over the results, as a list of result indices.
void every_chain(const std::vector<std::vector<std::size_t>>& spans, std::size_t from,
                 std::size_t figures, std::vector<std::size_t>& chain,
                 std::vector<std::vector<std::size_t>>& out) {
  if (from == figures) {
    out.push_back(chain);
    return;
  }
  for (std::size_t r = 0; r < spans.size(); ++r) {
    if (spans[r].front() != from) continue;
    chain.push_back(r);
    every_chain(spans, spans[r].back() + 1, figures, chain, out);
    chain.pop_back();
  }
}

// A long group with results over every window of one to three figures:
// the search, with its memory of completions, finds the chain that the
// comparison of every chain finds, and the quick flag settles for the
// first complete chain.
TEST(GroupCoverTest, TheRememberedCompletionsFindTheBestOfEveryChain) {
  constexpr std::size_t kFigures = 14;
  for (const bool quick : {false, true}) {
    SCOPED_TRACE(quick ? "quick" : "full");
    CoverLine line(kFigures);
    std::vector<std::size_t> all(kFigures);
    for (std::size_t i = 0; i < kFigures; ++i) all[i] = i;
    const std::uint32_t k = line.word(all);
    std::vector<std::vector<std::size_t>> spans;
    std::vector<FigureGroup*> made;
    std::uint32_t seed = 7;
    for (std::size_t first = 0; first < kFigures; ++first) {
      for (std::size_t n = 1; n <= 3 && first + n <= kFigures; ++n) {
        std::vector<std::size_t> bodies;
        for (std::size_t i = first; i < first + n; ++i) bodies.push_back(i);
        seed = seed * 1103515245u + 12345u;
        const auto score = static_cast<std::int32_t>(5000 + (seed >> 16) % 5000);
        made.push_back(&line.result(bodies, static_cast<char16_t>(u'a' + made.size() % 26), score,
                                    static_cast<int>(k)));
        spans.push_back(bodies);
      }
    }
    line.kernel().quick_ = quick;
    ASSERT_EQ(select_group_cover(line.state(), k), kOk);

    std::vector<std::vector<std::size_t>> chains;
    std::vector<std::size_t> chain;
    every_chain(spans, 0, kFigures, chain, chains);
    const ChainContext context{false, 40, 90, &line.state().context};
    Chain best;
    for (const std::vector<std::size_t>& c : chains) {
      Chain candidate;
      for (const std::size_t r : c) ASSERT_EQ(candidate.push_back(made[r]), kOk);
      if (chain_better(context, best, candidate)) {
        ASSERT_EQ(chain_copy(candidate, best), kOk);
      }
    }
    // The first chain depth first takes, at each position, the result
    // with the best total that starts there.
    Chain first;
    for (std::size_t p = 0; p < kFigures;) {
      std::size_t chosen = 0;
      for (std::size_t r = 0; r < spans.size(); ++r) {
        if (spans[r].front() == p &&
            (spans[chosen].front() != p || made[r]->best_total() > made[chosen]->best_total())) {
          chosen = r;
        }
      }
      ASSERT_EQ(first.push_back(made[chosen]), kOk);
      p = spans[chosen].back() + 1;
    }
    const Chain& cover = line.group(k).cover;
    EXPECT_EQ(member_count_of(cover), kFigures);
    EXPECT_EQ(CoverLine::text_of(cover), CoverLine::text_of(quick ? first : best));
    if (!quick) {
      EXPECT_NE(CoverLine::text_of(first), CoverLine::text_of(best));
    }
  }
}

// A covered set reached again by a prefix whose last result refuses the
// set's best completion is finished by the best completion that starts
// with a result it allows. Figure 3 is a tall stem, figure 5 a short dash
// high above the line: read as '-', the dash may not follow a result lying
// wholly below it (the punctuation rule), as "e" (figure 4) does; "k"
// (figures 3 and 4, reaching up with the stem) allows it. "k" is tried
// first (its total is higher than "d"'s) and leaves the completions of
// figures 0..4 remembered: best "-f", and by first result "-f" and "g".
TEST(GroupCoverTest, AWayInThatRefusesTheBestCompletionTakesTheBestItAllows) {
  DrawnLine drawn({arch(0, 20, 30), arch(30, 20, 30), arch(60, 20, 30), test::stem(95, 10, 100),
                   arch(120, 20, 30), test::bar(150, 165, 25), arch(180, 20, 30)},
                  40);
  FragmentState state(drawn.context(), drawn.line());
  ASSERT_EQ(estimate_fragment_sizes(state), kOk);
  ASSERT_EQ(order_fragment_candidates(state), kOk);
  LineGroup* group = drawn.line().word_groups.push_default();
  for (std::size_t b = 0; b < 7; ++b) {
    ASSERT_EQ(drawn.body(b).position, b);
    ASSERT_EQ(group->figures.push_back(&drawn.body(b)), kOk);
    set_line_group(drawn.body(b), 0);
  }
  struct Made {
    std::vector<std::size_t> bodies;
    char16_t code;
    std::int32_t score;
  };
  const std::vector<Made> made = {{{0}, 'a', 9000}, {{1}, 'b', 9000}, {{2}, 'c', 9000},
                                  {{3}, 'd', 5900}, {{4}, 'e', 9900}, {{3, 4}, 'k', 6000},
                                  {{5}, '-', 9900}, {{6}, 'f', 9900}, {{5, 6}, 'g', 9000}};
  for (const Made& m : made) {
    FigureGroup& r = drawn.result(m.bodies, m.code);
    r.index = static_cast<std::int32_t>(drawn.line().letter_results.size() - 1);
    r.answers->answers()[0].components[Answer::kLetterScore] = m.score;
    ASSERT_EQ(group->letter_groups.push_back(&r), kOk);
  }
  // abc+k+-f = 58800, abc+k+g = 57000, abc+d+e+g = 60800; abc+d+e+-f is
  // refused.
  ASSERT_EQ(select_group_cover(state, 0), kOk);
  EXPECT_EQ(ResultLine::text_of(group->cover), u"abcdeg");
}

// Two words with a lone figure between them: the chosen reading holds the
// first word's cover, the lone figure's own result and the second word's
// cover, in writing order.
TEST(GroupCoverTest, TheChosenReadingGathersTheCoversAndTheLoneFigures) {
  CoverLine line(6);
  const std::uint32_t first = line.word({0, 1});
  const std::uint32_t second = line.word({3, 4, 5});
  line.result({0}, 'i', 9000, static_cast<int>(first));
  line.result({1}, 't', 9000, static_cast<int>(first));
  line.result({2}, '-', 8000);
  line.result({3}, 'o', 8000, static_cast<int>(second));
  line.result({4, 5}, 'n', 9000, static_cast<int>(second));
  line.result({4}, 'r', 6000, static_cast<int>(second));
  line.result({5}, 'i', 6000, static_cast<int>(second));
  ASSERT_EQ(collect_fragment_results(line.state()), kOk);
  EXPECT_EQ(CoverLine::text_of(line.state().chosen_results), u"it-on");

  // The same line read right to left.
  line.kernel().right_to_left_ = true;
  ASSERT_EQ(collect_fragment_results(line.state()), kOk);
  EXPECT_EQ(CoverLine::text_of(line.state().chosen_results), u"no-ti");
}

TEST(GroupCoverTest, ALoneFigureWithoutAResultOfItsOwnIsReported) {
  CoverLine line(2);
  const std::uint32_t k = line.word({0});
  line.result({0}, 'a', 9000, static_cast<int>(k));
  EXPECT_EQ(collect_fragment_results(line.state()), kBadArgument);
}

// In whole-line mode the first word group is read as one letter, by the
// first result of as many figures as it has; no search runs.
TEST(GroupCoverTest, InWholeLineModeTheFirstGroupTakesTheFirstResultOfAllItsFigures) {
  CoverLine line(3);
  line.kernel().params_.mode = 2;
  const std::uint32_t k = line.word({0, 1, 2});
  line.result({0}, 'i', 9900, static_cast<int>(k));
  line.result({1, 2}, 'n', 9900, static_cast<int>(k));
  line.result({0, 1, 2}, 'm', 5000, static_cast<int>(k));
  line.result({0, 1, 2}, 'w', 9000, static_cast<int>(k));
  ASSERT_EQ(collect_fragment_results(line.state()), kOk);
  EXPECT_EQ(line.cover_text(k), u"m");
  EXPECT_EQ(CoverLine::text_of(line.state().chosen_results), u"m");
}

// Debug mode 2 keeps every complete chain the search met; the cover is
// the best of them.
TEST(GroupCoverTest, DebugModeTwoKeepsEveryCoverFound) {
  for (const std::uint32_t mode : {0u, 2u, 3u}) {
    SCOPED_TRACE(mode);
    CoverLine line(3);
    line.kernel().debug_mode_ = mode;
    const std::uint32_t k = line.word({0, 1, 2});
    line.result({0}, 'c', 9000, static_cast<int>(k));
    line.result({1}, 'l', 6000, static_cast<int>(k));
    line.result({2}, 'o', 9000, static_cast<int>(k));
    line.result({1, 2}, 'd', 9500, static_cast<int>(k));
    line.result({0, 1}, 'a', 5000, static_cast<int>(k));
    ASSERT_EQ(select_group_cover(line.state(), k), kOk);
    EXPECT_EQ(line.cover_text(k), u"cd");
    std::vector<std::u16string> found;
    for (const PtrArray<FigureGroup>& chain : line.group(k).alternatives) {
      found.push_back(CoverLine::text_of(chain));
    }
    std::sort(found.begin(), found.end());
    const std::vector<std::u16string> kept =
        mode == 2 ? std::vector<std::u16string>{u"ao", u"cd", u"clo"} : std::vector<std::u16string>{};
    EXPECT_EQ(found, kept);
  }
}

TEST(GroupCoverTest, AStopRequestEndsWith4034AndKeepsTheCoversChosen) {
  CoverLine line(2);
  const std::uint32_t k = line.word({0, 1});
  line.result({0}, 'o', 9000, static_cast<int>(k));
  line.result({1}, 'n', 9000, static_cast<int>(k));
  ASSERT_EQ(select_group_cover(line.state(), k), kOk);
  line.kernel().stop_ = true;
  EXPECT_EQ(collect_fragment_results(line.state()), kStopped);
  EXPECT_EQ(select_group_cover(line.state(), k), kStopped);
  EXPECT_EQ(line.cover_text(k), u"on");
}

}  // namespace
}  // namespace inkrec
