// Composite letters in the hypothesis graph: a stem and its dot read as
// "i", a hooked body and its dot as "j", a stem over a dot as "!", two dots
// as ":", each through the composite rules of the default database's form
// (parts named by their shapes), and the pairs a rule refuses.
#include "engine/segmentation/composite_letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/segmentation/hypothesis_graph.h"
#include "tests/support/data_file.h"
#include "tests/support/pieced_line.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using test::CutStroke;
using test::members_of;
using test::PiecedLine;
using test::Points;
using test::polyline;
using test::stem;

// The shapes the rules name: the stem, the dot and the body of a "j".
constexpr std::uint16_t kStemShape = 830;
constexpr std::uint16_t kDotShape = 12509;
constexpr std::uint16_t kJBodyShape = 12513;
constexpr std::uint16_t kTop = 1;
constexpr std::uint16_t kBottom = 2;

ComplexVariant composite_rule(std::uint16_t id, char16_t code, std::uint16_t first,
                              std::uint32_t sides) {
  ComplexVariant rule{};
  rule.id = id;
  rule.menuc = code;
  rule.symbol_id = code;
  rule.add = sides;
  rule.cnt = 1;
  rule.rec_mode = 0;
  rule.first_component = first;
  rule.second_component = kDotShape;
  return rule;
}

const ComplexVariant kDottedI = composite_rule(1, u'i', kStemShape, kTop);
const ComplexVariant kDottedJ = composite_rule(2, u'j', kJBodyShape, kTop);
const ComplexVariant kExclamation = composite_rule(3, u'!', kStemShape, kBottom);
const ComplexVariant kColon = composite_rule(5, u':', kDotShape, kBottom);
constexpr char16_t kDoubleExclamation = u'\u203C';

// A reading of a part as the letter evaluation makes it: from a detail
// variant (code 0) whose sub-key is its shape, accepted.
Answer part_reading(std::uint16_t shape, std::int32_t score) {
  Answer reading = Answer::from_code(0);
  reading.key = shape;
  reading.source_word = shape;
  reading.state = Answer::kStateFirst;
  reading.set_component(Answer::kLetterScore, score);
  return reading;
}

// The readings the test kernel gives a set of figures; a set not listed is
// read as 'a' plus its figure count, at 5000.
using Readings = std::map<std::vector<std::uint32_t>, Answer>;

Points dot(int x, int y) { return test::circle(x, y, 2, true, 8); }
Points hook(int x, int top, int bottom) {
  return polyline({{static_cast<std::int16_t>(x), static_cast<std::int16_t>(top)},
                   {static_cast<std::int16_t>(x), static_cast<std::int16_t>(bottom)},
                   {static_cast<std::int16_t>(x - 8), static_cast<std::int16_t>(bottom + 6)},
                   {static_cast<std::int16_t>(x - 14), static_cast<std::int16_t>(bottom)}});
}

// A database holding only the composites' symbols.
class CompositeSymbols {
 public:
  CompositeSymbols() {
    for (const char16_t code : {u'i', u'j', u'!', u':', kDoubleExclamation}) {
      Symb symbol{};
      symbol.code = code;
      symbol.second_code = code == u'i' ? u'I' : (code == u'j' ? u'J' : code);
      symbol.third_code = code;
      EXPECT_EQ(store.add_symb(symbol), kOk);
    }
  }

 private:
  static std::string empty_file(const testing::TempDir& dir) {
    const std::string path = dir.file("qlmain.dt");
    testing::write_empty_data_file(path);
    return path;
  }

  testing::TempDir dir_;

 public:
  DataStore store{empty_file(dir_).c_str(), 1, 0, 0};
};

// A drawn line (one body per stroke) with the composites' symbols, the
// rules given and the test's readings, built as the letter search builds
// it.
class CompositeLine {
 public:
  CompositeLine(const std::vector<Points>& strokes, std::vector<const ComplexVariant*> rules,
                Readings readings)
      : drawn_(cut(strokes)), readings_(std::move(readings)) {
    drawn_.kernel().store_ = &symbols_.store;
    drawn_.kernel().rules_ = std::move(rules);
    drawn_.kernel().recognize_ = [this](FigureGroup& group, int, CandidateLists& out) {
      return read(group, out);
    };
  }

  int build() {
    drawn_.measure_pairs();
    FragmentState state(drawn_.context(), drawn_.line());
    EXPECT_EQ(estimate_fragment_sizes(state), kOk);
    EXPECT_EQ(order_fragment_candidates(state), kOk);
    return build_hypothesis_graph(state);
  }

  const LetterResult* result_of(const std::vector<std::uint32_t>& members) {
    for (const LetterResult* result : drawn_.line().letter_results) {
      if (members_of(result->members) == members) return result;
    }
    return nullptr;
  }

  // The composite reading (kind 1) of the result of those figures; null
  // when there is none.
  const Answer* composite_of(const std::vector<std::uint32_t>& members) {
    const LetterResult* result = result_of(members);
    if (result == nullptr) return nullptr;
    const DynArray<Answer>& readings = result->answers->answers();
    const auto found = std::find_if(readings.begin(), readings.end(),
                                    [](const Answer& a) { return a.kind == 1; });
    return found == readings.end() ? nullptr : &*found;
  }

  // No figure set was read twice.
  bool each_set_read_once() const {
    const std::set<std::vector<std::uint32_t>> sets(read_.begin(), read_.end());
    return sets.size() == read_.size();
  }

  PiecedLine& drawn() { return drawn_; }

 private:
  static std::vector<CutStroke> cut(const std::vector<Points>& strokes) {
    std::vector<CutStroke> cut_strokes;
    for (const Points& points : strokes) cut_strokes.emplace_back(points);
    return cut_strokes;
  }

  int read(const FigureGroup& group, CandidateLists& out) {
    const std::vector<std::uint32_t> set = members_of(group.members);
    read_.push_back(set);
    for (AnswerList& list : out) list.answers().clear();
    const auto given = readings_.find(set);
    if (given != readings_.end()) {
      const bool part = given->second.codes[0] == 0;  // details go with the marks
      return out[part ? 1 : 0].insert(given->second);
    }
    Answer plain = Answer::from_code(static_cast<std::uint16_t>('a' + set.size() - 1));
    plain.state = Answer::kStateFirst;
    plain.set_component(Answer::kLetterScore, 5000);
    return out[0].insert(plain);
  }

  CompositeSymbols symbols_;
  PiecedLine drawn_;
  Readings readings_;
  std::vector<std::vector<std::uint32_t>> read_;
};

const Readings kStemAndDot = {{{0}, part_reading(kStemShape, 8000)},
                               {{1}, part_reading(kDotShape, 9000)}};

struct DrawnComposite {
  const char* name;
  std::vector<Points> strokes;
  std::vector<const ComplexVariant*> rules;
  Readings readings;
  char16_t composite;  // the composite reading of the two figures; 0 none
  std::int32_t reason = 0;  // the reason their result was made for
};

TEST(CompositeLettersTest, DrawnPartsAreReadAsTheCompositeTheirRuleAllows) {
  const ComplexVariant kNeverUsed = [] {
    ComplexVariant rule = kDottedI;
    rule.kind = 2;
    return rule;
  }();
  const ComplexVariant kOnlyWithThePassSwitch = [] {
    ComplexVariant rule = kDottedI;
    rule.pass_flag = 1;
    return rule;
  }();
  const std::vector<DrawnComposite> cases = {
      {"a stem and the dot above it", {stem(100, 70, 100), dot(100, 60)}, {&kDottedI},
       kStemAndDot, u'i', 22},
      {"a hooked body and the dot above it", {hook(120, 70, 105), dot(120, 60)}, {&kDottedJ},
       {{{0}, part_reading(kJBodyShape, 8000)}, {{1}, part_reading(kDotShape, 9000)}}, u'j', 22},
      {"a stem and the dot below it", {stem(100, 60, 90), dot(100, 100)}, {&kExclamation},
       kStemAndDot, u'!', 21},
      {"a dot and a second one below it", {dot(100, 75), dot(100, 95)}, {&kColon},
       {{{0}, part_reading(kDotShape, 9000)}, {{1}, part_reading(kDotShape, 9000)}}, u':', 21},
      {"a far dot", {stem(100, 60, 90), dot(125, 140)}, {&kExclamation}, kStemAndDot, u'!', 30},
      // Refused pairs.
      {"an i's dot below the stem", {stem(100, 60, 90), dot(100, 100)}, {&kDottedI},
       kStemAndDot, 0},
      {"a dot beside the stem's foot", {stem(100, 70, 100), dot(112, 98)}, {&kDottedI},
       kStemAndDot, 0},
      {"a body that is not the rule's first part", {hook(120, 70, 105), dot(120, 60)},
       {&kDottedI}, {{{0}, part_reading(kJBodyShape, 8000)}, {{1}, part_reading(kDotShape, 9000)}},
       0},
      {"a second part read as something else", {stem(100, 70, 100), dot(100, 60)}, {&kDottedI},
       {{{0}, part_reading(kStemShape, 8000)}, {{1}, part_reading(kStemShape, 9000)}}, 0},
      {"a rejected reading of the first part", {stem(100, 70, 100), dot(100, 60)}, {&kDottedI},
       {{{0}, [] { Answer a = part_reading(kStemShape, 8000); a.state = Answer::kStateRejected; return a; }()},
        {{1}, part_reading(kDotShape, 9000)}},
       0},
      {"a rule never used", {stem(100, 70, 100), dot(100, 60)}, {&kNeverUsed}, kStemAndDot, 0},
      {"a rule for the body-and-link switch, off", {stem(100, 70, 100), dot(100, 60)},
       {&kOnlyWithThePassSwitch}, kStemAndDot, 0},
  };
  for (const DrawnComposite& c : cases) {
    SCOPED_TRACE(c.name);
    CompositeLine line(c.strokes, c.rules, c.readings);
    ASSERT_EQ(line.build(), kOk);
    EXPECT_TRUE(line.each_set_read_once());
    const Answer* composite = line.composite_of({0, 1});
    if (c.composite == 0) {
      EXPECT_EQ(composite, nullptr);
      continue;
    }
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(composite->codes[0], c.composite);
    EXPECT_EQ(line.result_of({0, 1})->reason, c.reason);
    EXPECT_EQ(composite->state, Answer::kStateFirst);
    EXPECT_EQ(composite->box_flag, 1);
    // Scored by the first part's reading (the dot, read confidently, costs
    // nothing), with the merge penalty beside.
    EXPECT_EQ(composite->components[Answer::kLetterScore], c.readings.at({0}).total());
    EXPECT_LE(composite->components[Answer::kMakerScore], 1);
  }
}

TEST(CompositeLettersTest, TheCompositeTakesItsLetterReadingLessWhatAWeakMarkCosts) {
  // A stem read at 8000 with its dot above; the two figures read together
  // as a plain letter at 5000 (the test kernel's default). The composite
  // keeps the stem's score while the dot reads at least 5600, and loses
  // the shortfall of a weaker dot: a weak enough dot leaves it under the
  // plain reading of the same ink.
  struct Case {
    std::int32_t dot_total;
    std::int32_t score;
    bool first;  // the composite is the pair's best reading
  };
  for (const Case& c : {Case{9000, 8000, true}, Case{5600, 8000, true}, Case{5000, 7400, true},
                        Case{2000, 4400, false}}) {
    SCOPED_TRACE(c.dot_total);
    CompositeLine line({stem(100, 70, 100), dot(100, 60)}, {&kDottedI},
                       {{{0}, part_reading(kStemShape, 8000)},
                        {{1}, part_reading(kDotShape, c.dot_total)}});
    ASSERT_EQ(line.build(), kOk);
    const Answer* composite = line.composite_of({0, 1});
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(composite->components[Answer::kLetterScore], c.score);
    const Answer& best = line.result_of({0, 1})->answers->answers()[0];
    EXPECT_EQ(&best == composite, c.first);
  }
}

TEST(CompositeLettersTest, ARelatedPairIsJudgedByEachRuleItsFirstPartFits) {
  // A stem with a dot below: related through the "!" rule; the "i" rule,
  // whose first part the stem also is, refuses a dot below the stem.
  CompositeLine line({stem(100, 60, 90), dot(100, 100)}, {&kDottedI, &kExclamation},
                     kStemAndDot);
  ASSERT_EQ(line.build(), kOk);
  PtrArray<LetterResult>& results = line.drawn().line().letter_results;
  std::uint32_t stem_index = 0;
  while (members_of(results[stem_index]->members) != std::vector<std::uint32_t>{0}) ++stem_index;
  FragmentState state(line.drawn().context(), line.drawn().line());
  BitSet naming;
  ASSERT_EQ(collect_results_naming_group(state, stem_index, naming), kOk);
  ASSERT_EQ(naming.count(), 1u);
  std::uint32_t dot_index = 0;
  naming.lowest_bit(&dot_index);
  EXPECT_EQ(members_of(results[dot_index]->members), std::vector<std::uint32_t>{1});

  const DynArray<Answer>& readings = line.result_of({0, 1})->answers->answers();
  const auto composed = [&readings](char16_t code) {
    return std::any_of(readings.begin(), readings.end(),
                       [code](const Answer& a) { return a.kind == 1 && a.codes[0] == code; });
  };
  EXPECT_TRUE(composed(u'!'));
  EXPECT_FALSE(composed(u'i'));
  EXPECT_EQ(collect_results_naming_group(state, results.size(), naming), kBadArgument);
}

TEST(CompositeLettersTest, ARuleOfTwoDotsTakesTwoDisjointPartsEachChargedForAWeakReading) {
  // An arch with two dots above it, a rule asking for two copies of the
  // dot: the composite holds all three figures, scored by the arch's
  // reading less the shortfall of each dot under 5600 (here 100 and 600).
  ComplexVariant umlaut = composite_rule(7, u'j', 140, kTop);
  umlaut.cnt = 2;
  CompositeLine line({test::arch(100, 24, 24), dot(104, 62), dot(120, 62)}, {&umlaut},
                     {{{0}, part_reading(140, 8000)},
                      {{1}, part_reading(kDotShape, 5500)},
                      {{2}, part_reading(kDotShape, 5000)}});
  ASSERT_EQ(line.build(), kOk);
  EXPECT_TRUE(line.each_set_read_once());
  const Answer* composite = line.composite_of({0, 1, 2});
  ASSERT_NE(composite, nullptr);
  EXPECT_EQ(composite->components[Answer::kLetterScore], 7300);
  EXPECT_EQ(composite->key, umlaut.id);
  EXPECT_EQ(line.composite_of({0, 1}), nullptr);
  EXPECT_EQ(line.composite_of({0, 2}), nullptr);
}

TEST(CompositeLettersTest, ARuleOverACompositeReadsACompositeTheStepMadeItself) {
  // A stem, a dot far below it and a second dot further down. The "!" rule
  // makes its composite on the stem and the far dot, a figure set nothing
  // read before; a rule whose first part is that composite (mode 1, named
  // by the "!" rule's id) and whose second is a dot below then reads all
  // three figures, scored by the composite's reading.
  ComplexVariant over_exclamation = composite_rule(8, kDoubleExclamation, kExclamation.id, kBottom);
  over_exclamation.rec_mode = 1;
  over_exclamation.tolerance = 1;
  CompositeLine line({stem(100, 60, 90), dot(125, 140), dot(125, 160)},
                     {&kExclamation, &over_exclamation},
                     {{{0}, part_reading(kStemShape, 8000)},
                      {{1}, part_reading(kDotShape, 9000)},
                      {{2}, part_reading(kDotShape, 9000)}});
  ASSERT_EQ(line.build(), kOk);
  EXPECT_TRUE(line.each_set_read_once());
  const Answer* exclamation = line.composite_of({0, 1});
  ASSERT_NE(exclamation, nullptr);
  EXPECT_EQ(line.result_of({0, 1})->reason, 30);
  const Answer* composite = line.composite_of({0, 1, 2});
  ASSERT_NE(composite, nullptr);
  EXPECT_EQ(composite->codes[0], kDoubleExclamation);
  EXPECT_EQ(composite->key, over_exclamation.id);
  EXPECT_EQ(composite->components[Answer::kLetterScore], exclamation->total());
}

}  // namespace
}  // namespace inkrec
