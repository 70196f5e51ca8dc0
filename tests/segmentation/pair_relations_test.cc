#include "engine/segmentation/pair_relations.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/pair_merge.h"
#include "tests/support/pair_rule_case.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

// The kernel as the pair relations see it: composite rules and a stop flag.
class CompositeKernel : public test::PairRuleKernel {
 public:
  std::span<const ComplexVariant* const> composite_rules() override { return rules; }
  std::uint32_t composite_sides() override {
    std::uint32_t sides = 0;
    for (const ComplexVariant* rule : rules) sides |= rule->add;
    return sides;
  }
  bool stop_flag() const override { return stop; }

  std::vector<const ComplexVariant*> rules;
  bool stop = false;
};

// One drawn piece of a result.
struct Stroke {
  Points points;
  std::uint16_t stroke = 0;
};

// A text line of letter results drawn with a letter height of 100, each
// with one reading, in a fragment state.
class RelationLine {
 public:
  RelationLine() { work_.settings.letter_height = 100; }

  // A result of the strokes with the id, read as `key` (a reading made
  // from a letter candidate) with the shape id `shape`.
  LetterResult* add(std::int32_t id, const std::vector<Stroke>& strokes, std::uint16_t key,
                    std::uint16_t shape) {
    LetterResult* result = line_->letter_results.add_new();
    for (const Stroke& s : strokes) {
      records_.push_back(std::make_unique<std::vector<PointRecord>>(test::point_records(s.points)));
      auto f = std::make_unique<FigureRecord>();
      f->run = test::run_of(*records_.back());
      EXPECT_EQ(fill_steps_and_crossings(f->run), kOk);
      f->number = next_body_;
      f->stroke_index = s.stroke;
      f->piece = 0;
      f->piece_key = 0;
      f->line_index = 0;
      EXPECT_EQ(figure_prepare_glyph(*f, true), kOk);
      EXPECT_EQ(result->figures.push_back(f.get()), kOk);
      EXPECT_EQ(result->members.set(next_body_), kOk);
      EXPECT_EQ(result->coverage.set(next_body_), kOk);
      ++next_body_;
      figures_.push_back(std::move(f));
    }
    EXPECT_EQ(group_prepare_glyph(*result, true), kOk);
    result->box = result->geometry->bounding_box();
    result->index = id;
    Answer reading = Answer::from_code(u'x');
    reading.kind = 1;
    reading.key = key;
    reading.source_word = shape;
    reading.state = Answer::kStateFirst;
    EXPECT_EQ(result->answers->answers().push_back(reading), kOk);
    return result;
  }

  FragmentState& state() { return state_; }

  CompositeKernel kernel;

 private:
  LineWork work_;
  RecognitionContext context_{kernel, work_};
  TextLine* line_ = append_new_text_line(work_.text_lines);
  FragmentState state_{context_, *line_};
  std::vector<std::unique_ptr<std::vector<PointRecord>>> records_;
  std::vector<std::unique_ptr<FigureRecord>> figures_;
  std::uint16_t next_body_ = 0;
};

Stroke stem(std::int16_t x, std::int16_t top, std::int16_t bottom, std::uint16_t stroke) {
  return {polyline({{x, top}, {x, bottom}}), stroke};
}
Stroke dot(std::int16_t x, std::int16_t y, std::uint16_t stroke) {
  return {test::circle(x, y, 4, true, 12), stroke};
}
// An "е" about x, its body 50 high with the baseline at 200.
Stroke small_e(std::int16_t x, std::uint16_t stroke) {
  return {polyline({{static_cast<std::int16_t>(x - 20), 175},
                    {static_cast<std::int16_t>(x + 20), 175},
                    {static_cast<std::int16_t>(x + 15), 155},
                    {x, 150},
                    {static_cast<std::int16_t>(x - 20), 170},
                    {static_cast<std::int16_t>(x - 10), 200},
                    {static_cast<std::int16_t>(x + 20), 195}},
                   5),
          stroke};
}

// A composite rule of the default database's form: its parts named by
// detail variants (mode 1), the second part on top.
ComplexVariant dot_rule(std::uint16_t code, std::uint32_t kind) {
  ComplexVariant rule{};
  rule.menuc = code;
  rule.symbol_id = code;
  rule.add = 1;  // top
  rule.cnt = 1;
  rule.rec_mode = 1;
  rule.first_component = 12510;
  rule.second_component = 12509;
  rule.kind = kind;
  rule.tolerance = 3;
  return rule;
}

struct Merge {
  int status = kOk;
  std::uint8_t merge = 0;
  std::int32_t penalty = 0;
  std::uint32_t kinds = 0;
};

Merge merge_of(RelationLine& line, FigureGroup& other, FigureGroup& result,
               const ComplexVariant* rule = nullptr) {
  Merge m;
  m.status = test_pair_merge(line.state(), other, result, rule, &m.merge, &m.penalty, &m.kinds);
  return m;
}

TEST(PairMergeTest, AKindOneRuleAcceptsTheDotOfAnIAndTheTwoDotsOfAnYoWithoutJudgingThem) {
  const ComplexVariant i = dot_rule(u'i', 1);
  const ComplexVariant yo = dot_rule(u'ё', 1);
  {
    RelationLine line;
    line.kernel.rules = {&i};
    FigureGroup* stem_result = line.add(1, {stem(100, 120, 200, 0)}, 12510, 830);
    FigureGroup* dot_result = line.add(2, {dot(101, 95, 1)}, 12509, 12509);
    const Merge m = merge_of(line, *stem_result, *dot_result);
    EXPECT_EQ(m.status, kOk);
    EXPECT_EQ(m.merge, 1);
    EXPECT_NE(m.kinds & kStacked, 0u);
    EXPECT_EQ(m.penalty, 0);  // accepted without the geometric judgement
  }
  {
    RelationLine line;
    line.kernel.rules = {&yo};
    FigureGroup* e = line.add(1, {small_e(100, 0)}, 1077, 1077);
    FigureGroup* dots = line.add(2, {dot(92, 130, 1), dot(110, 130, 2)}, 12509, 12509);
    const Merge m = merge_of(line, *e, *dots);
    EXPECT_EQ(m.status, kOk);
    EXPECT_EQ(m.merge, 1);
    EXPECT_EQ(m.penalty, 0);
  }
}

TEST(PairMergeTest, AKindZeroRuleJudgesThePlacementThroughItsReadings) {
  const ComplexVariant i = dot_rule(u'i', 0);
  RelationLine line;
  line.kernel.rules = {&i};
  FigureGroup* stem_result = line.add(1, {stem(100, 120, 200, 0)}, 12510, 830);
  FigureGroup* dot_result = line.add(2, {dot(101, 95, 1)}, 12509, 12509);
  const Merge over = merge_of(line, *stem_result, *dot_result);
  EXPECT_EQ(over.merge, 1);
  // A dot straight over its stem along the slant: the judgement leaves it
  // unpenalised by its direction.
  EXPECT_GE(over.penalty, -100);

  // A stem reading of another variant is not the rule's first part.
  stem_result->answers->answers()[0].key = 12600;
  EXPECT_EQ(merge_of(line, *stem_result, *dot_result).merge, 0);
  stem_result->answers->answers()[0].key = 12510;
  // With the rule given: a dot beside the foot of the stem is refused.
  FigureGroup* low_dot = line.add(3, {dot(125, 198, 3)}, 12509, 12509);
  EXPECT_EQ(merge_of(line, *stem_result, *low_dot, &i).merge, 0);
}

TEST(PairMergeTest, TheSideFlagsOfARuleTranslateIntoRelationKinds) {
  EXPECT_EQ(relation_kinds_of_sides(0), 0u);
  EXPECT_EQ(relation_kinds_of_sides(1), static_cast<std::uint32_t>(kStacked));
  EXPECT_EQ(relation_kinds_of_sides(2), static_cast<std::uint32_t>(kStacked | kInsideO));
  EXPECT_EQ(relation_kinds_of_sides(4), static_cast<std::uint32_t>(kLeftOfO));
  EXPECT_EQ(relation_kinds_of_sides(8), static_cast<std::uint32_t>(kRightOfO));
  EXPECT_EQ(relation_kinds_of_sides(15),
            static_cast<std::uint32_t>(kStacked | kInsideO | kLeftOfO | kRightOfO));

  ComplexVariant rule = dot_rule(u'i', 0);
  Answer detail = Answer::from_code(0);
  detail.kind = 1;
  detail.key = 12510;
  detail.source_word = 830;
  EXPECT_TRUE(reading_is_first_part(rule, detail));  // mode 1: by the variant id
  rule.rec_mode = 0;
  EXPECT_FALSE(reading_is_first_part(rule, detail));  // mode 0: a code's shape id
  detail.kind = 0;
  detail.source_word = 12510;
  EXPECT_TRUE(reading_is_first_part(rule, detail));
  detail.source_word = 12509;
  EXPECT_TRUE(reading_is_second_part(rule, detail));
}

TEST(PairRelationsTest, ResultsSharingAStrokeGetNoRelation) {
  const ComplexVariant i = dot_rule(u'i', 1);
  RelationLine line;
  line.kernel.rules = {&i};
  FigureGroup* stem_result = line.add(1, {stem(100, 120, 200, 0)}, 12510, 830);
  FigureGroup* dot_result = line.add(2, {dot(101, 95, 0)}, 12509, 12509);  // the same stroke
  ASSERT_EQ(pair_relation_pass(line.state(), -1), kOk);
  EXPECT_TRUE(stem_result->relations.empty());
  EXPECT_TRUE(dot_result->relations.empty());
}

TEST(PairRelationsTest, APartnerIsRecordedOnceAndLaterKindsGoToItsOwnEntry) {
  const ComplexVariant i = dot_rule(u'i', 1);
  RelationLine line;
  line.kernel.rules = {&i};
  FigureGroup* stem_result = line.add(1, {stem(100, 120, 200, 0)}, 12510, 830);
  FigureGroup* dot_result = line.add(2, {dot(101, 95, 1)}, 12509, 12509);
  FigureGroup* far_stem = line.add(3, {stem(150, 120, 200, 2)}, 12510, 830);
  ASSERT_EQ(pair_relation_pass(line.state(), -1), kOk);
  ASSERT_EQ(dot_result->relations.size(), 2u);
  EXPECT_EQ(dot_result->relations[0].other, 1u);
  EXPECT_EQ(dot_result->relations[1].other, 3u);
  EXPECT_NE(dot_result->relations[0].kinds & kStacked, 0u);
  EXPECT_NE(dot_result->relations[0].measure, 32767);
  // The nearer stem's relation is the best of the line: it pays nothing;
  // the farther one pays by how much farther its measure lies.
  EXPECT_EQ(dot_result->relations[0].penalty, 0);
  EXPECT_LE(dot_result->relations[1].penalty, 0);
  EXPECT_EQ(dot_result->relation_low,
            std::min(dot_result->relations[0].measure, dot_result->relations[1].measure));

  // A pass for one partner appends nothing new; the kinds it finds go to
  // that partner's own entry, not to the list's last.
  dot_result->relations[0].kinds = 0;
  const std::uint32_t far_kinds = dot_result->relations[1].kinds;
  ASSERT_EQ(pair_relation_pass(line.state(), 1), kOk);
  ASSERT_EQ(dot_result->relations.size(), 2u);
  EXPECT_NE(dot_result->relations[0].kinds & kStacked, 0u);
  EXPECT_EQ(dot_result->relations[1].kinds, far_kinds);
  (void)stem_result;
  (void)far_stem;
}

TEST(PairRelationsTest, TheStopFlagAndAMissingIdEndThePass) {
  const ComplexVariant i = dot_rule(u'i', 1);
  RelationLine line;
  line.kernel.rules = {&i};
  line.add(1, {stem(100, 120, 200, 0)}, 12510, 830);
  line.add(2, {dot(101, 95, 1)}, 12509, 12509);
  EXPECT_EQ(pair_relation_pass(line.state(), 9), kBadArgument);
  line.kernel.stop = true;
  EXPECT_EQ(pair_relation_pass(line.state(), -1), kStopped);
}

}  // namespace
}  // namespace inkrec
