// A drawn line for the tests of the letter rules: the strokes are the
// line's candidate bodies and the pane's strokes (with their vertical
// extrema); a small database and the ids supplied for the letter-pair
// table admit exactly the pairs a test names; elements are read as a code
// with the variant key and shape id a rule tests. The band is 100..200,
// the letter height 100 and the height of tall letters 150 unless given.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/pair_variants.h"
#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "engine/records/vertical_extrema.h"
#include "engine/rules/letter_rules.h"
#include "tests/support/data_file.h"
#include "tests/support/drawn_line.h"
#include "tests/support/temp_dir.h"

namespace inkrec::test {

inline constexpr ReferenceBand kRuleBand{100, 200, 1};

// A stroke through the corners, a point every 5 units.
inline Points through(const Points& corners) { return polyline(corners, 5); }

// A blot: the rectangle w wide and h high with its top left corner at
// (x, y), traced twice, its ink far longer than it is across.
inline Points blot(int x, int y, int w, int h) {
  const auto l = static_cast<std::int16_t>(x);
  const auto r = static_cast<std::int16_t>(x + w - 1);
  const auto t = static_cast<std::int16_t>(y);
  const auto b = static_cast<std::int16_t>(y + h - 1);
  return polyline({{l, t}, {r, t}, {r, b}, {l, b}, {l, t}, {r, t}, {r, b}, {l, b}, {l, t}}, 3);
}

class RuleLine {
 public:
  explicit RuleLine(const std::vector<Points>& strokes, std::int16_t letter_height = 100,
                    std::int16_t upper_height = 150)
      : line_(strokes, letter_height) {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    for (const Listed& row : kListed) add_variant(row.id, kNever);
    for (std::uint16_t k = 0; k < kSuppliedIds; ++k) add_variant(kFirstSupplied + k, kOften);
    line_.kernel().store_ = store_.get();
    line_.kernel().charsets_ = {5};
    line_.work().settings.upper_height = upper_height;
    for (std::size_t i = 0; i < strokes.size(); ++i) add_pane_stroke(line_.body(i).run);
  }
  RuleLine(const RuleLine&) = delete;
  RuleLine& operator=(const RuleLine&) = delete;

  // The pair table admits reading a letter read as `a` as `b`.
  void admit(std::int32_t a, std::int32_t b) {
    for (const Listed& row : kListed) {
      if (row.a == a && row.b == b) {
        for (Variant& v : store_->knowledge_base().variants()) {
          if (v.id == row.id) v.idUse = kOften;
        }
        return;
      }
    }
    ASSERT_LT(supplied_, kSuppliedIds);
    const bool grouped = a >= 65 && a <= 121;
    line_.kernel().supplied_.push_back({a, b, grouped ? 5u : kEveryCharset,
                                        static_cast<std::uint16_t>(kFirstSupplied + supplied_)});
    ++supplied_;
  }
  void activate(std::uint32_t charset) { line_.kernel().charsets_.push_back(charset); }

  // An element of the bodies read as `code` from the variant `key` of
  // shape `shape`, of the group's own making (flag set), covering the
  // bodies' positions, with the band as its baselines.
  LetterResult& element(const std::vector<std::size_t>& bodies, std::uint16_t code,
                        std::uint16_t key = 0, std::uint16_t shape = 0,
                        const ReferenceBand& band = kRuleBand) {
    LetterResult& result = line_.result(bodies, 0, &band);
    SegmentReading reading;
    reading.key = key;
    reading.value = shape;
    reading.codes[0] = reading.codes[1] = reading.codes[2] = code;
    const std::int8_t source[4] = {0, 0, 0, 0};
    Answer answer = Answer::from_segment(reading, source);
    answer.set_component(Answer::kLetterScore, 9000);
    EXPECT_EQ(result.answers->insert(answer), kOk);
    return result;
  }

  // Gives the first figure of the element's bodies a letter reading, as
  // the letter evaluation does.
  void read_figure(std::size_t body) {
    EXPECT_EQ(line_.body(body).candidates[0].insert(Answer::from_code(1)), kOk);
  }

  int run() {
    FragmentState state(line_.context(), line_.line());
    return apply_letter_rules_to_all(state);
  }

  DrawnLine& drawn() { return line_; }
  TextLine& line() { return line_.line(); }

 private:
  struct Listed {
    std::int32_t a;
    std::int32_t b;
    std::uint16_t id;
  };
  // One id of each row with fixed ids the rules ask about (charset 5 for
  // the grouped ones), by ascending id.
  static constexpr Listed kListed[] = {{105, 106, 231}, {104, 107, 656}, {104, 110, 700},
                                       {102, 116, 770}, {8, 45, 1032},   {913, 955, 4959},
                                       {101, 108, 5509}};
  static constexpr std::uint32_t kOften = 0;
  static constexpr std::uint32_t kNever = 2;
  static constexpr std::uint16_t kFirstSupplied = 30000;
  static constexpr std::uint16_t kSuppliedIds = 16;

  void add_variant(std::uint16_t id, std::uint32_t use) {
    Variant variant;
    variant.id = id;
    variant.idSet = 5;
    variant.idUse = use;
    ASSERT_EQ(store_->knowledge_base().variants().push_back(variant), kOk);
  }

  void add_pane_stroke(const PointRun& run) {
    StrokeRecord* stroke = line_.work().strokes.push_default();
    ASSERT_NE(stroke, nullptr);
    stroke->run = run;
    ExtremumList* list = line_.work().stroke_extrema.push_default();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(find_vertical_extrema(*list, run.points, run.count, 5), kOk);
  }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
  DrawnLine line_;
  std::uint16_t supplied_ = 0;
};

// One element judged by the rules: its strokes, then strokes of the line
// after it (so that it does not end the line); what it was read as; the
// charsets active besides 5; the pairs the table admits; and what the best
// answer holds afterwards: its code, its previous code and what the rules
// charged it.
struct RuleCase {
  const char* what;
  std::vector<Points> strokes;
  std::uint16_t code;
  std::uint16_t key = 0;
  std::uint16_t shape = 0;
  std::vector<Points> after = {};
  std::vector<std::uint32_t> charsets = {};
  std::vector<std::pair<std::int32_t, std::int32_t>> admitted = {};
  bool figure_read = true;
  ReferenceBand band = kRuleBand;
  std::int16_t letter_height = 100;
  std::uint16_t current = 0;   // 0: the code read
  std::uint16_t previous = 0;  // 0: the code read
  std::int32_t charged = 0;
};

inline void expect_rule_case(const RuleCase& c) {
  std::vector<Points> strokes = c.strokes;
  strokes.insert(strokes.end(), c.after.begin(), c.after.end());
  RuleLine line(strokes, c.letter_height);
  for (const std::uint32_t charset : c.charsets) line.activate(charset);
  for (const auto& [a, b] : c.admitted) line.admit(a, b);
  std::vector<std::size_t> bodies;
  for (std::size_t i = 0; i < c.strokes.size(); ++i) bodies.push_back(i);
  if (c.figure_read) line.read_figure(0);
  LetterResult& r = line.element(bodies, c.code, c.key, c.shape, c.band);
  for (std::size_t i = c.strokes.size(); i < strokes.size(); ++i) line.element({i}, 0xFFFF);
  ASSERT_EQ(line.run(), kOk) << c.what;
  const Answer& best = r.answers->answers()[0];
  EXPECT_EQ(best.codes[0], c.current == 0 ? c.code : c.current) << c.what;
  EXPECT_EQ(best.saved_codes[0], c.previous == 0 ? c.code : c.previous) << c.what;
  EXPECT_EQ(best.components[Answer::kPenaltyComponent] + 1, c.charged) << c.what;
}

}  // namespace inkrec::test
