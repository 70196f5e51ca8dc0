// The letter search over word boxes on hand-built text lines: words read
// against the English word list and a user dictionary, the bases a link
// gives its paths, the weak marks of the search, and the single-group
// shortcut.
#include "engine/segmentation/word_box_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/segment_readings.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;
using testing::WordReading;

// The text of the output after the chosen readings are applied: each
// group's first reading, a space after each group that ends a word.
std::u16string chosen_text(WordBench& bench) {
  PtrArray<LetterResult> made{16, true};
  EXPECT_EQ(recognize_segments(bench.context(), bench.list(), bench.output(), made), kOk);
  std::u16string text;
  for (const FigureGroup* group : bench.output()) {
    text += static_cast<char16_t>(group->answers->best_code());
    if (group->end_flag != 0) text += u' ';
  }
  return text;
}

// One word written on one line: each letter read first as `first` and
// second as `second`.
std::u16string read_word(const std::u16string& first, const std::u16string& second,
                         bool with_dictionary, const std::u16string& user_word = u"") {
  WordBench bench;
  bench.with_dictionary = with_dictionary;
  if (!user_word.empty()) bench.add_user_word(user_word);
  std::vector<int> xs;
  for (std::size_t k = 0; k < first.size(); ++k) xs.push_back(100 + 30 * static_cast<int>(k));
  const std::uint16_t line = bench.add_line(xs);
  bench.add_word(line, first, second);
  bench.measure_gaps(10, 10);
  EXPECT_EQ(bench.search(), kOk);
  EXPECT_EQ(bench.list().boxes.size(), 1u);
  return chosen_text(bench);
}

// A path through the first letters, reading the codes given, each letter
// read at 9000.
LetterPath path_through(WordBench& bench, const std::vector<LetterResult*>& letters,
                        const std::u16string& codes) {
  LetterPath path;
  for (std::uint32_t k = 0; k < codes.size(); ++k) {
    LetterStep step;
    step.group = letters[k];
    step.first_value = 9000;
    step.code_count = 1;
    step.codes[0] = codes[k];
    EXPECT_EQ(extend_path(path, step, 2, bench.context(), bench.classes()), kOk);
  }
  return path;
}

// The path with its pair scores taken out: it is judged by its letters
// and its word alone.
void without_pair_scores(LetterPath& path) {
  for (LetterStep& step : path.steps) step.pair_score = 0;
  path.pair_sum = 0;
}

TEST(WordBoxSearchTest, AWordTheFirstReadingsMissIsReadAsTheDictionaryWord) {
  // The letter evaluation's readings (kind 0) take part: read literally,
  // a search of composite readings only would find no word at all.
  struct Case {
    const char* what;
    std::u16string first;
    std::u16string second;
    bool dictionary;
    std::u16string user_word;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"\"teh\" with \"the\" second", u"teh", u"the", true, u"", u"the "},
      {"the same without the word lists", u"teh", u"the", false, u"", u"teh "},
      {"a word the first readings read", u"them", u"xxxx", true, u"", u"them "},
      {"\"hcuse\" with \"house\" second", u"hcuse", u"house", true, u"", u"house "},
      {"no word among the readings", u"qzq", u"xzx", true, u"", u"qzq "},
      {"a word of the user dictionary only", u"kwiz", u"kwix", true, u"kwix", u"kwix "},
      {"the same without it", u"kwiz", u"kwix", true, u"", u"kwiz "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_word(c.first, c.second, c.dictionary, c.user_word), c.text) << c.what;
  }
}

TEST(WordBoxSearchTest, APathTakesOneReadingOfTheBandBelowTheUsualMarginAndALongOneTwo) {
  // Second readings 400 below the first stand within the usual margin; 600
  // below they lie in the band, of which a path takes one, and one more
  // once it holds six letters.
  struct Case {
    const char* what;
    std::u16string first;
    std::u16string second;
    std::int32_t second_total;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"one second reading, within the margin", u"hcuse", u"house", 8600, u"house "},
      {"one second reading, in the band", u"hcuse", u"house", 8400, u"house "},
      {"two second readings, within the margin", u"teh", u"the", 8600, u"the "},
      {"two second readings, in the band", u"teh", u"the", 8400, u"teh "},
      {"two in the band, the second after six letters", u"cxmputxr", u"computer", 8400,
       u"computer "},
      {"two in the band, the second after five letters", u"cxmpuxer", u"computer", 8400,
       u"cxmpuxer "},
      {"three in the band in a long word", u"cxmpuxxr", u"computer", 8400, u"cxmpuxxr "},
  };
  ASSERT_EQ(kBandReadingsPerPath, 1u);
  ASSERT_EQ(kSecondBandReadingSteps, 6u);
  for (const Case& c : cases) {
    WordBench bench;
    std::vector<int> xs;
    for (std::size_t k = 0; k < c.first.size(); ++k) xs.push_back(100 + 30 * static_cast<int>(k));
    const std::uint16_t line = bench.add_line(xs);
    bench.add_word(line, c.first, c.second, 9000, c.second_total);
    bench.measure_gaps(10, 10);
    ASSERT_EQ(bench.search(), kOk);
    EXPECT_EQ(chosen_text(bench), c.text) << c.what;
  }
}

TEST(WordBoxSearchTest, ALetterReadFromSeveralPiecesOfACutStrokeTakesPartInTheWord) {
  // Joined writing: the split cuts a stroke into pieces 0, 2, 4, ... (the
  // links between them are the odd numbers), and a letter read over two
  // pieces holds both as figures of its own. Each piece is also read alone
  // (as "x" where no letter of the case reads it).
  struct Piece {
    int stroke;
    std::uint16_t piece;
  };
  struct Letter {
    std::uint32_t first;
    std::uint32_t count;
    std::vector<WordReading> readings;
  };
  struct Case {
    const char* what;
    std::vector<Piece> candidates;
    std::vector<Letter> letters;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"\"he\" in one stroke, h over its first two pieces",
       {{0, 0}, {0, 2}, {0, 4}},
       {{0, 2, {{u'k', 9000}, {u'h', 8500}}}, {2, 1, {{u'e', 9000}}}},
       u"he "},
      {"\"the\": a t of its own, then h and e in one stroke",
       {{0, 0}, {1, 0}, {1, 2}, {1, 4}},
       {{0, 1, {{u't', 9000}}}, {1, 2, {{u'k', 9000}, {u'h', 8500}}}, {3, 1, {{u'e', 9000}}}},
       u"the "},
      {"\"she\": s and h over pieces of one stroke, e the stroke's last piece",
       {{0, 0}, {0, 2}, {0, 4}, {0, 6}},
       {{0, 1, {{u's', 9000}}}, {1, 2, {{u'k', 9000}, {u'h', 8500}}}, {3, 1, {{u'e', 9000}}}},
       u"she "},
  };
  for (const Case& c : cases) {
    WordBench bench;
    std::vector<int> xs;
    std::vector<int> strokes;
    for (std::size_t k = 0; k < c.candidates.size(); ++k) {
      xs.push_back(100 + WordBench::kPitch * static_cast<int>(k));
      strokes.push_back(c.candidates[k].stroke);
    }
    const std::uint16_t line = bench.add_line(xs, strokes);
    for (std::size_t k = 0; k < c.candidates.size(); ++k) {
      FigureRecord* figure = bench.work().text_lines[line].candidates[static_cast<std::uint32_t>(k)];
      figure->piece = c.candidates[k].piece;
      figure->piece_key = c.candidates[k].piece;
    }
    for (std::uint32_t k = 0; k < c.candidates.size(); ++k) {
      const auto letter = std::find_if(c.letters.begin(), c.letters.end(),
                                       [&](const Letter& l) { return l.first == k; });
      if (letter == c.letters.end() || letter->count > 1) {
        bench.add_result(line, k, 1, {{u'x', 5000}});
      }
      if (letter != c.letters.end()) {
        bench.add_plain(bench.add_result(line, k, letter->count, letter->readings));
      }
    }
    bench.measure_gaps(10, 10);
    ASSERT_EQ(bench.search(), kOk) << c.what;
    EXPECT_EQ(chosen_text(bench), c.text) << c.what;
  }
}

TEST(WordBoxSearchTest, EachLinkKeepsItsPathsBestFirstWithTheBaseOfTheirWord) {
  WordBench bench;
  const std::uint16_t line = bench.add_line({100, 130, 160, 190});
  const std::vector<LetterResult*> letters = bench.add_word(line, u"them");
  WordSearchScope scope = bench.scope();
  const auto path_of = [&](const std::u16string& codes) {
    return path_through(bench, letters, codes);
  };
  struct Case {
    std::u16string codes;
    std::int32_t base;
  };
  // Unknown words: 110 / 4 for one code, 110 / 3 for two or three, 110
  // from four. Known words by their level (18 "the", 10 "them", 8 "t", 2
  // "th" in the fixture): 11 x (level - 8), divided as above above level 8.
  const std::vector<Case> cases = {{u"7", 27}, {u"7q", 36}, {u"7qx", 36}, {u"7qxz", 110},
                                   {u"the", 36}, {u"them", 22}, {u"t", 0},    {u"th", -66}};
  SegmentLink link;
  link.max_paths = 16;
  for (const Case& c : cases) {
    std::int32_t placed = -2;
    ASSERT_EQ(insert_letter_path(scope, link, path_of(c.codes), 0, &placed), kOk);
    ASSERT_GE(placed, 0);
    EXPECT_EQ(link.paths[static_cast<std::uint32_t>(placed)]->base, c.base)
        << std::string(c.codes.begin(), c.codes.end());
  }
  for (std::uint32_t k = 1; k < link.paths.size(); ++k) {
    EXPECT_FALSE(LetterPath::greater_average(*link.paths[k], *link.paths[k - 1]));
  }
  // The same letters again, no better: refused behind their twin.
  std::int32_t placed = -2;
  ASSERT_EQ(insert_letter_path(scope, link, path_of(u"the"), 0, &placed), kOk);
  EXPECT_EQ(placed, -1);
  EXPECT_EQ(link.paths.size(), cases.size());
  // Better, they take their twin's place.
  LetterPath better_twin = path_of(u"the");
  better_twin.weighted_total += 300;
  ASSERT_EQ(insert_letter_path(scope, link, better_twin, 0, &placed), kOk);
  EXPECT_EQ(placed, 0);
  EXPECT_EQ(link.paths.size(), cases.size());
  // A full link refuses a path worse than its last and drops its last for
  // a better one.
  link.max_paths = static_cast<std::uint32_t>(cases.size());
  LetterPath worse = path_of(u"a");
  worse.weighted_total = 100;
  ASSERT_EQ(insert_letter_path(scope, link, worse, 0, &placed), kOk);
  EXPECT_EQ(placed, -1);
  LetterPath better = path_of(u"to");
  better.weighted_total = 2 * 9900;
  ASSERT_EQ(insert_letter_path(scope, link, better, 0, &placed), kOk);
  EXPECT_EQ(placed, 0);
  EXPECT_EQ(link.paths.size(), cases.size());
  EXPECT_EQ(link.paths[0]->codes[1], u'o');
}

TEST(WordBoxSearchTest, TheSameLettersInAnotherCaseHoldOnePlaceOfALink) {
  // A full link of two places holds "the" and "them"; a path reading "the"
  // in another case then comes, `lead` better a stroke than "the".
  struct Case {
    const char* what;
    std::u16string codes;
    std::int32_t lead;
    std::int32_t placed;
    std::u16string kept;  // the link's words, best first
  };
  const std::vector<Case> cases = {
      {"\"The\", worse: refused behind \"the\"", u"The", -50, -1, u"the them"},
      {"\"The\", better: takes the place of \"the\", not of the last", u"The", 50, 0,
       u"The them"},
      {"\"THE\", better: the same", u"THE", 50, 0, u"THE them"},
      {"\"tho\", better: another word, the last goes", u"tho", 50, 0, u"tho the"},
  };
  for (const Case& c : cases) {
    WordBench bench;
    const std::uint16_t line = bench.add_line({100, 130, 160, 190});
    const std::vector<LetterResult*> letters = bench.add_word(line, u"them");
    WordSearchScope scope = bench.scope();
    SegmentLink link;
    link.max_paths = 2;
    std::int32_t placed = -2;
    for (const std::u16string& word : {std::u16string(u"them"), std::u16string(u"the")}) {
      LetterPath path = path_through(bench, letters, word);
      without_pair_scores(path);
      ASSERT_EQ(insert_letter_path(scope, link, path, 0, &placed), kOk);
    }
    LetterPath fresh = path_through(bench, letters, c.codes);
    without_pair_scores(fresh);
    fresh.weighted_total += fresh.strokes * c.lead;
    ASSERT_EQ(insert_letter_path(scope, link, fresh, 0, &placed), kOk);
    EXPECT_EQ(placed, c.placed) << c.what;
    std::u16string kept;
    for (const LetterPath* path : link.paths) {
      if (!kept.empty()) kept.push_back(u' ');
      kept.append(path->codes.begin(), path->codes.end());
    }
    EXPECT_EQ(std::string(kept.begin(), kept.end()), std::string(c.kept.begin(), c.kept.end()))
        << c.what;
  }
}

TEST(WordBoxSearchTest, AFullLinkJudgesANewPathWithTheBaseOfItsWord) {
  // A full link of one path reading "7q", a word no list knows (base 36).
  // A path reading "th", a word of level 2 in the fixture (base -66), gets
  // in only when its letters read better by more than the 102 its word
  // loses; tried with the base of an unknown word it once pushed out the
  // better path and then ranked behind it.
  struct Case {
    const char* what;
    std::int32_t lead;  // per stroke, over the path in the link
    std::int32_t placed;
    char16_t kept;  // the second code of the path the link keeps
  };
  const std::vector<Case> cases = {
      {"50 better a stroke: not enough for the lower base", 50, -1, u'q'},
      {"150 better a stroke", 150, 0, u'h'},
  };
  for (const Case& c : cases) {
    WordBench bench;
    const std::uint16_t line = bench.add_line({100, 130});
    const std::vector<LetterResult*> letters = bench.add_word(line, u"th");
    WordSearchScope scope = bench.scope();
    SegmentLink link;
    link.max_paths = 1;
    std::int32_t placed = -2;
    LetterPath unknown = path_through(bench, letters, u"7q");
    without_pair_scores(unknown);
    ASSERT_EQ(insert_letter_path(scope, link, unknown, 0, &placed), kOk);
    ASSERT_EQ(placed, 0);
    LetterPath th = path_through(bench, letters, u"th");
    without_pair_scores(th);
    th.weighted_total += th.strokes * c.lead;
    ASSERT_EQ(insert_letter_path(scope, link, th, 0, &placed), kOk);
    EXPECT_EQ(placed, c.placed) << c.what;
    ASSERT_EQ(link.paths.size(), 1u);
    EXPECT_EQ(link.paths[0]->codes[1], c.kept) << c.what;
  }
}

TEST(WordBoxSearchTest, TheSearchMarksAPathReadThroughClearlyWorseReadings) {
  struct Case {
    const char* what;
    std::uint32_t steps;
    std::int32_t non_first;
    std::int32_t greatest_second;
    std::int32_t least;
    std::int32_t value_sum;
    std::uint8_t weak;
  };
  const std::vector<Case> cases = {
      {"3 steps, all later, second 800, least 6600", 3, 3, 800, 6600, 0, 1},
      {"second 799", 3, 3, 799, 6600, 0, 0},
      {"least 6601", 3, 3, 800, 6601, 0, 0},
      {"one step", 1, 1, 900, 6000, 0, 0},
      {"5 x later = 4 x steps", 5, 4, 900, 6000, 0, 0},
      {"4 steps, 2 later, 701, sum 1961, least 6099", 4, 2, 701, 6099, 1961, 1},
      {"the same with 700", 4, 2, 701 - 1, 6099, 1961, 0},
      {"the same with a sum of 1960", 4, 2, 701, 6099, 1960, 0},
      {"the same with least 6100", 4, 2, 701, 6100, 1961, 0},
      {"5 steps, 2 later: not above 10/5", 5, 2, 701, 6099, 2451, 0},
      {"3 steps take the first rule only", 3, 2, 790, 6000, 9999, 0},
  };
  for (const Case& c : cases) {
    LetterPath path;
    for (std::uint32_t k = 0; k < c.steps; ++k) ASSERT_NE(path.steps.push_default(), nullptr);
    path.non_first = c.non_first;
    path.greatest_second = c.greatest_second;
    path.least_value = c.least;
    path.value_sum = c.value_sum;
    mark_weak_letters(path);
    EXPECT_EQ(path.weak, c.weak) << c.what;
  }
}

// A single group read "a" (total 9000, or `first`) whose box the search
// gave a result of the average given.
struct ShortcutCase {
  const char* what;
  std::int32_t average;
  std::uint32_t result_steps;
  bool link_to_end;
  bool forced;
};

void check_shortcut(const ShortcutCase& c) {
  WordBench bench;
  const std::uint16_t line = bench.add_line({100});
  bench.add_word(line, u"a", u"o");
  bench.measure_gaps(10, 10);
  WordBox* box = bench.list().boxes.push_default();
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box->records.push_default(), nullptr);
  box->end_index = 1;
  if (c.link_to_end) {
    ASSERT_NE(box->records[0].links.add_new(), nullptr);  // a link to record 1
    box->records[0].links[0]->target = 1;
    SegmentLink* to_end = box->records[0].links.add_new();
    ASSERT_NE(to_end, nullptr);
    to_end->target = -1;
  }
  ASSERT_EQ(box->result.start(0, -1, -1, c.average * 2, {0, 0, 0, 0}, 2), kOk);
  for (std::uint32_t k = 1; k < c.result_steps; ++k) {
    ASSERT_NE(box->result.steps.push_default(), nullptr);
  }
  const std::uint32_t links_before = box->records[0].links.size();
  WordSearchScope scope = bench.scope();
  ASSERT_EQ(take_single_group_shortcut(scope), kOk) << c.what;
  const SegmentPathStep& first = box->result.steps[0];
  if (!c.forced) {
    EXPECT_EQ(box->result.steps.size(), c.result_steps) << c.what;
    EXPECT_EQ(first.link, -1) << c.what;
    EXPECT_EQ(box->records[0].links.size(), links_before) << c.what;
    return;
  }
  EXPECT_EQ(box->result.steps.size(), 1u) << c.what;
  const std::int16_t expected_link = c.link_to_end ? 1 : 0;
  EXPECT_EQ(first.link, expected_link) << c.what;
  EXPECT_EQ(first.target, -1) << c.what;
  EXPECT_EQ(box->records[0].links.size(), c.link_to_end ? links_before : 1u) << c.what;
  const SegmentLink* link = box->records[0].links[static_cast<std::uint32_t>(expected_link)];
  const LetterPath* path = link->paths[static_cast<std::uint32_t>(first.letter_path)];
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->codes.size(), 1u);
  EXPECT_EQ(path->codes[0], u'a') << c.what;
}

TEST(WordBoxSearchTest, ASingleGroupsFirstReadingStandsForTheBoxWhenItIsClearlyBetter) {
  const std::vector<ShortcutCase> cases = {
      {"beats the result by 120: the result stays", 9000 - 120, 1, false, false},
      {"by 121: the first reading is forced", 9000 - 121, 1, false, true},
      {"by 121, a link to the end exists: taken", 9000 - 121, 1, true, true},
      {"a result of two steps becomes one", 9000 - 500, 2, false, true},
      {"a result of three steps stays", 9000 - 500, 3, false, false},
      {"a better result stays", 9500, 1, false, false},
  };
  for (const ShortcutCase& c : cases) check_shortcut(c);
}

// A word each of whose letters two groups over the same stroke read alike,
// the later group a little better: the search reaches each place through
// every choice of groups before it, the better ways last.
struct TwiceCutWord {
  explicit TwiceCutWord(const std::u16string& word) {
    std::vector<int> xs;
    for (std::size_t k = 0; k < word.size(); ++k) {
      xs.push_back(100 + WordBench::kPitch * static_cast<int>(k));
    }
    const std::uint16_t line = bench.add_line(xs);
    for (std::uint32_t p = 0; p < word.size(); ++p) {
      bench.add_plain(bench.add_result(line, p, 1, {{word[p], 9000}}));
      bench.add_result(line, p, 1, {{word[p], 9010}});
    }
    bench.measure_gaps(10, 10);
  }

  WordBench bench;
};

TEST(WordBoxSearchTest, AWordReachedThroughManyWaysIsSearchedInWorkThatGrowsWithItsLetters) {
  // 2^n ways read each word; the search visits a few places per letter and
  // way of reading the letter before it.
  for (const std::u16string word : {u"house", u"between", u"international"}) {
    const std::string what(word.begin(), word.end());
    TwiceCutWord written(word);
    WordSearchScope scope = written.bench.scope();
    ASSERT_EQ(recognize_word_boxes(scope), kOk) << what;
    EXPECT_EQ(chosen_text(written.bench), word + u" ") << what;
    const std::uint64_t letters = word.size();
    EXPECT_LE(scope.places_searched, 8 * letters * letters) << what;
  }
}

// "bat", "bit", "hat" and "hit": the first letter read "b" or "h", the
// second "a" or "i".
std::uint32_t paths_held(bool quick, bool stop, int* status) {
  WordBench bench;
  const std::uint16_t line = bench.add_line({100, 130, 160});
  bench.add_word(line, u"bat", u"hit");
  bench.measure_gaps(10, 10);
  if (quick) bench.kernel().set_quick_flag();
  if (stop) bench.kernel().set_stop_flag();
  *status = bench.search();
  std::uint32_t held = 0;
  for (const WordBox& box : bench.list().boxes) {
    for (const BoxSegment& record : box.records) {
      for (const SegmentLink* link : record.links) held += link->paths.size();
    }
  }
  return held;
}

TEST(WordBoxSearchTest, TheQuickFlagSettlesForThreePathsAndTheStopFlagEndsWith4034) {
  struct Case {
    const char* what;
    bool quick;
    bool stop;
    int status;
    std::uint32_t held;
  };
  const std::vector<Case> cases = {
      {"no flag: the four words", false, false, kOk, 4},
      {"quick: settles once it holds more than two", true, false, kOk, 3},
      {"stop", false, true, kStopped, 0},
      {"stop with quick", true, true, kStopped, 0},
  };
  for (const Case& c : cases) {
    int status = 0;
    EXPECT_EQ(paths_held(c.quick, c.stop, &status), c.held) << c.what;
    EXPECT_EQ(status, c.status) << c.what;
  }
}

TEST(WordBoxSearchTest, NoTextLineOrALineWithoutCandidatesGivesNoBox) {
  WordBench none;
  EXPECT_EQ(none.search(), kOk);
  EXPECT_TRUE(none.list().boxes.empty());
  WordBench empty_line;
  const std::uint16_t line = empty_line.add_line({100, 130});
  empty_line.add_word(line, u"to");
  empty_line.add_line({});
  empty_line.measure_gaps(10, 10);
  EXPECT_EQ(empty_line.search(), kOk);
  EXPECT_TRUE(empty_line.list().boxes.empty());
  EXPECT_EQ(empty_line.output().size(), 2u);
}

}  // namespace
}  // namespace inkrec
