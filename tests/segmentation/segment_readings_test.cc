// The chosen readings of the word boxes applied to the figure output:
// letter paths with the readings they chose, plain stretches, steps passed
// over, codes a step carries itself, and the broken steps that leave the
// output as it was.
#include "engine/segmentation/segment_readings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;

// "abc" on one line, the middle letter read 'b', 'x' or 'y'; a box over it
// with a record at the start and one before 'c', a link from the start to
// the box's end reading "ayc" and one to the second record reading "ax".
class ReadingsBench {
 public:
  explicit ReadingsBench(std::int32_t first_of_middle = 9000) {
    const std::uint16_t line = bench.add_line({100, 130, 160});
    a = bench.add_result(line, 0, 1, {{u'a', 9000}});
    b = bench.add_result(line, 1, 1, {{u'b', first_of_middle}, {u'x', 8800}, {u'y', 8600}});
    c = bench.add_result(line, 2, 1, {{u'c', 9000}});
    for (FigureGroup* group : {a, b, c}) bench.add_plain(group);
    WordBox* box = bench.list().boxes.push_default();
    box->last_position = 2;
    box->end_index = 3;
    WordBench::add_record(*box, 0, 0, BoxSegment::kBoxStart);
    WordBench::add_record(*box, 0, 2, BoxSegment::kInside);
    add_link(-1, {{a, 0}, {b, 2}, {c, 0}});
    add_link(1, {{a, 0}, {b, 1}});
  }

  WordBox& box() { return bench.list().boxes[0]; }

  void add_step(std::uint32_t record, std::int16_t target, std::int16_t link,
                std::int16_t letter_path, std::uint8_t weak = 0) {
    SegmentPathStep* step = box().result.steps.push_default();
    step->record = record;
    step->target = target;
    step->link = link;
    step->letter_path = letter_path;
    step->weak = weak;
  }

  int apply() { return recognize_segments(bench.context(), bench.list(), bench.output(), made); }

  // The first readings of the output, a space after each group ending a
  // word.
  std::u16string text() const {
    std::u16string out;
    for (const FigureGroup* group : bench.output()) {
      out += static_cast<char16_t>(group->answers->best_code());
      if (group->end_flag != 0) out += u' ';
    }
    return out;
  }

  WordBench bench;
  LetterResult* a = nullptr;
  LetterResult* b = nullptr;
  LetterResult* c = nullptr;
  PtrArray<LetterResult> made{16, true};

 private:
  void add_link(std::int16_t target, const std::vector<std::pair<FigureGroup*, int>>& steps) {
    SegmentLink* link = box().records[0].links.add_new();
    link->target = target;
    LetterPath* path = link->paths.add_new();
    for (const auto& [group, answer] : steps) {
      LetterStep step;
      step.group = group;
      step.answer = static_cast<std::int16_t>(answer);
      const Answer& read = group->answers->answers()[static_cast<std::uint32_t>(answer)];
      step.first_value = read.total();
      step.code_count = 1;
      step.codes[0] = read.codes[0];
      ASSERT_EQ(extend_path(*path, step, 2, bench.context(), bench.classes()), kOk);
    }
  }
};

TEST(SegmentReadingsTest, EachStepOfABoxResultGivesItsGroups) {
  struct Case {
    const char* what;
    std::function<void(ReadingsBench&)> steps;
    int status;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"a letter path with the third reading of 'b'",
       [](ReadingsBench& r) { r.add_step(0, -1, 0, -1); }, kOk, u"ayc "},
      {"a weak path named as its link's first reads plain",
       [](ReadingsBench& r) { r.add_step(0, -1, 0, -1, 1); }, kOk, u"abc "},
      {"a weak path named by its index is read",
       [](ReadingsBench& r) { r.add_step(0, -1, 0, 0, 1); }, kOk, u"ayc "},
      {"a step to pass over adds nothing",
       [](ReadingsBench& r) {
         r.add_step(0, 1, 1, -1);
         r.add_step(1, -1, -1, SegmentPathStep::kPassOver);
       },
       kOk, u"ax "},
      {"plain steps end before their target and at the box's end",
       [](ReadingsBench& r) {
         r.add_step(0, 1, -1, -1);
         r.add_step(1, -1, -1, -1);
       },
       kOk, u"ab c "},
      {"codes a step carries itself",
       [](ReadingsBench& r) {
         r.box().own_codes.push_back(u'h');
         r.box().own_codes.push_back(u'i');
         r.add_step(0, -1, -1, SegmentPathStep::kOwnCodes);
         r.box().result.steps[0].own_count = 2;
       },
       kOk, u"hi "},
      {"a target at the start of the text: nothing to apply",
       [](ReadingsBench& r) {
         r.box().records[1].position = 0;
         r.add_step(0, 1, -1, -1);
       },
       kNothingToApply, u"abc"},
      {"a link that is not there", [](ReadingsBench& r) { r.add_step(0, -1, 5, -1); },
       kBadArgument, u"abc"},
      {"own codes past the box's", [](ReadingsBench& r) {
         r.add_step(0, -1, -1, SegmentPathStep::kOwnCodes);
         r.box().result.steps[0].own_count = 1;
       },
       kBadArgument, u"abc"},
  };
  for (const Case& c : cases) {
    ReadingsBench readings;
    c.steps(readings);
    EXPECT_EQ(readings.apply(), c.status) << c.what;
    EXPECT_EQ(readings.text(), c.text) << c.what;
  }
}

TEST(SegmentReadingsTest, TheChosenReadingEndsFirstOnePointAboveTheFormerFirst) {
  for (const std::int32_t first : {9000, 10000}) {
    ReadingsBench readings(first);
    readings.add_step(0, -1, 0, -1);
    ASSERT_EQ(readings.apply(), kOk);
    const DynArray<Answer>& answers = readings.b->answers->answers();
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].codes[0], u'y') << first;
    // A perfect first reading is lowered by one first.
    const std::int32_t former = first == 10000 ? 9999 : first;
    EXPECT_EQ(answers[0].total(), former + 1) << first;
    EXPECT_EQ(answers[1].codes[0], u'b') << first;
    EXPECT_EQ(answers[1].total(), former) << first;
  }
}

TEST(SegmentReadingsTest, WithoutABoxTheOutputStays) {
  WordBench bench;
  const std::uint16_t line = bench.add_line({100});
  bench.add_word(line, u"a");
  PtrArray<LetterResult> made{16, true};
  EXPECT_EQ(recognize_segments(bench.context(), bench.list(), bench.output(), made), kOk);
  ASSERT_EQ(bench.output().size(), 1u);
  EXPECT_EQ(bench.output()[0]->end_flag, 0);
}

}  // namespace
}  // namespace inkrec
