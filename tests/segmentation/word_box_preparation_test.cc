// The word boxes and segment records cut from hand-built text lines: word
// breaks, records inside a box, the records at line starts, pieces of one
// stroke, a stroke met again, short boxes merged, and marks that end words.
#include "engine/segmentation/word_box_preparation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/word_box_search.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;

// Boxes as "first-last/end: line.position kind measure, ...".
std::string describe(const WordBoxList& list) {
  std::string text;
  for (const WordBox& box : list.boxes) {
    text += std::to_string(box.first_line) + "." + std::to_string(box.first_position) + "-" +
            std::to_string(box.last_line) + "." + std::to_string(box.last_position) + "/" +
            std::to_string(box.end_index) + ":";
    for (const BoxSegment& record : box.records) {
      text += " " + std::to_string(record.line) + "." + std::to_string(record.position) + " k" +
              std::to_string(record.kind) + " m" + std::to_string(record.measure) + " c" +
              std::to_string(record.candidate_index) + (record.own_group != 0 ? " own" : "");
    }
    text += "; ";
  }
  return text;
}

// Candidates 30 apart in words, the words 170 apart; strokes of one word
// 10 apart, of different words `between` apart.
std::vector<int> word_xs(const std::vector<std::u16string>& words) {
  std::vector<int> xs;
  int x = 100;
  for (const std::u16string& word : words) {
    for (std::size_t k = 0; k < word.size(); ++k, x += 30) xs.push_back(x);
    x += 140;
  }
  return xs;
}

void separate_words(WordBench& bench, const std::vector<std::u16string>& words,
                    std::int16_t between) {
  std::vector<std::uint32_t> word_of;
  for (std::uint32_t w = 0; w < words.size(); ++w) word_of.insert(word_of.end(), words[w].size(), w);
  for (std::uint32_t i = 0; i < word_of.size(); ++i) {
    for (std::uint32_t j = i + 1; j < word_of.size(); ++j) {
      if (word_of[i] != word_of[j]) bench.set_stroke_distance(i, j, between);
    }
  }
}

int prepare(WordBench& bench) {
  return prepare_segmentation(bench.context(), bench.output(), bench.classes(), bench.list());
}

TEST(WordBoxPreparationTest, ASpaceTheLettersSawOpensABoxWhenTheStrokesLieApart) {
  struct Case {
    const char* what;
    std::vector<std::u16string> words;
    std::int16_t between;
    const char* boxes;
  };
  // The letters of a word lean into each other (their distance less their
  // slant is below 0) and the pair across the space is not counted, so the
  // mean gap and its spread are 0; the profile gaps give m = 10, t = 0: a
  // break nearer than m + 2t = 10 is a record inside the box.
  const std::vector<Case> cases = {
      {"far apart: a box of its own", {u"people", u"house"}, 400,
       "0.0-0.5/6: 0.0 k1 m32767 c0 own; 0.6-0.10/11: 0.6 k1 m32767 c6 own; "},
      {"nearer than m + 2t: a record inside the box", {u"people", u"house"}, 5,
       "0.0-0.10/11: 0.0 k1 m32767 c0 own 0.6 k2 m5 c6 own; "},
      {"a box of two candidates takes the next", {u"to", u"house"}, 400,
       "0.0-0.6/7: 0.0 k1 m32767 c0 own 0.2 k6 m400 c2 own; "},
  };
  for (const Case& c : cases) {
    WordBench bench;
    const std::uint16_t line = bench.add_line(word_xs(c.words));
    std::u16string text;
    for (const std::u16string& word : c.words) text += word;
    const auto letters = bench.add_word(line, text);
    letters[c.words[0].size() - 1]->break_after = FigureGroup::kSpaceAfter;
    bench.measure_gaps(10, 10);
    separate_words(bench, c.words, c.between);
    ASSERT_EQ(prepare(bench), kOk) << c.what;
    EXPECT_EQ(describe(bench.list()), c.boxes) << c.what;
  }
}

TEST(WordBoxPreparationTest, PiecesOfOneStrokeAndAStrokeMetAgainKeepTheirBox) {
  struct Case {
    const char* what;
    std::vector<int> strokes;
    const char* boxes;
  };
  const std::vector<Case> cases = {
      // The sixth and seventh candidates are pieces of one stroke: no
      // break between them, whatever the letters saw.
      {"pieces of one stroke", {0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9},
       "0.0-0.10/11: 0.0 k1 m32767 c0 own; "},
      // The last candidate's stroke was met at the sixth: the box opened
      // after it goes, and the box before is open until the line ends.
      {"a stroke met again", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 5},
       "0.0-0.10/11: 0.0 k1 m32767 c0 own; "},
  };
  for (const Case& c : cases) {
    WordBench bench;
    const std::uint16_t line = bench.add_line(word_xs({u"people", u"house"}), c.strokes);
    const auto letters = bench.add_word(line, u"peoplehouse");
    letters[5]->break_after = FigureGroup::kSpaceAfter;
    bench.measure_gaps(10, 10);
    for (std::uint32_t i = 0; i < 6; ++i) {
      for (std::uint32_t j = 6; j < 10; ++j) bench.set_stroke_distance(i, j, 400);
    }
    ASSERT_EQ(bench.search(), kOk) << c.what;
    EXPECT_EQ(describe(bench.list()), c.boxes) << c.what;
  }
}

TEST(WordBoxPreparationTest, EveryLineAfterTheFirstStartsWithARecordOfItsOwn) {
  WordBench bench;
  const std::uint16_t first = bench.add_line({100, 130, 160});
  bench.add_word(first, u"the");
  const std::uint16_t second = bench.add_line({100, 130, 160, 190});
  bench.add_word(second, u"tehm", u"them");
  bench.measure_gaps(10, 10);
  ASSERT_EQ(bench.search(), kOk);
  EXPECT_EQ(describe(bench.list()),
            "0.0-1.3/7: 0.0 k1 m32767 c0 own 1.0 k3 m16383 c3 own; ");
}

TEST(WordBoxPreparationTest, ASureMarkThatEndsWordsPutsARecordAfterIt) {
  WordBench bench;
  const std::uint16_t line = bench.add_line({100, 130, 160, 190, 220});
  const auto letters = bench.add_word(line, u"it.so");
  bench.measure_gaps(10, 10);
  ASSERT_EQ(prepare(bench), kOk);
  EXPECT_EQ(describe(bench.list()), "0.0-0.4/5: 0.0 k1 m32767 c0 own 0.3 k4 m10 c3 own; ");
  const BoxSegment& mark = bench.list().boxes[0].records[1];
  ASSERT_EQ(mark.groups.size(), 1u);
  EXPECT_EQ(mark.groups[0], letters[2]);
  EXPECT_EQ(mark.answers[0], 0);
}

TEST(WordBoxPreparationTest, MergingTakesTheNextBoxsEndAndRecords) {
  WordBoxList list;
  for (std::int16_t b = 0; b < 3; ++b) {
    WordBox* box = list.boxes.push_default();
    ASSERT_NE(box, nullptr);
    box->first_position = static_cast<std::int16_t>(4 * b);
    box->last_position = static_cast<std::int16_t>(4 * b + 3);
    box->end_index = 4u * b + 4;
    box->measure = static_cast<std::int16_t>(100 + b);
    BoxSegment* record = box->records.push_default();
    ASSERT_NE(record, nullptr);
    record->kind = BoxSegment::kBoxStart;
    record->position = static_cast<std::uint16_t>(4 * b);
  }
  ASSERT_EQ(merge_word_boxes(list, 1), kOk);
  ASSERT_EQ(list.boxes.size(), 2u);
  EXPECT_EQ(list.boxes[1].last_position, 11);
  EXPECT_EQ(list.boxes[1].end_index, 12u);
  ASSERT_EQ(list.boxes[1].records.size(), 2u);
  EXPECT_EQ(list.boxes[1].records[1].kind, BoxSegment::kMergedStart);
  EXPECT_EQ(list.boxes[1].records[1].measure, 102);
  EXPECT_EQ(merge_word_boxes(list, 1), kBadArgument);
}

}  // namespace
}  // namespace inkrec
