// The recognition driver, run through crRecognize on a kernel whose letter
// search is a fake that "finds" the fragments each test sets up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/kernel/engine_lock.h"
#include "engine/kernel/kernel.h"
#include "engine/kernel/result_delivery.h"
#include "engine/kernel/result_text.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/fake_letter_search.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::FakeLetterSearch;
using testing::FakeLine;
using testing::fragment;
using testing::letter;
using testing::reading;

constexpr char16_t kUntouched = u'#';

// One line of letters, each read as itself; a blank asks for a space after
// the letter before it.
FakeLine line_of(std::u16string_view text) {
  FakeLine line;
  for (const char16_t c : text) {
    if (c == u' ') {
      line.fragments.back().space_after = true;
    } else {
      line.fragments.push_back(fragment({reading(c)}));
    }
  }
  return line;
}

class RecognitionDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::start_engine_with_fake_search(dir_, &kernel_, &fake_), kOk);
    buffer_.assign(64, kUntouched);
    params_.callback = nullptr;
    params_.delivery_mode = 0;
    params_.third_word = 100;
    params_.context = nullptr;
    params_.mode = 0;
    params_.skew_allowed = 1;
    params_.refine_trajectories = 1;
    params_.result_buffer = buffer_.data();
    params_.result_size = static_cast<int32_t>(buffer_.size());
    add_ink();
  }
  void TearDown() override { crFreeCrMan(); }

  void add_ink(int16_t first = -1, int16_t second = -1) {
    const crPoint points[] = {{100, 100}, {110, 130}, {120, 100}};
    const crStrokeInput stroke{points, 3};
    ASSERT_EQ(crAddStroke(&stroke, 1, first, second), kOk);
  }

  int recognize() { return crRecognize(&params_); }

  std::u16string result() const { return buffer_.substr(0, buffer_.find(u'\0')); }

  std::vector<std::string> stages_seen() const { return fake_->log; }
  bool saw(const std::string& stage) const {
    return std::find(fake_->log.begin(), fake_->log.end(), stage) != fake_->log.end();
  }

  testing::TempDir dir_;
  Kernel* kernel_ = nullptr;
  FakeLetterSearch* fake_ = nullptr;
  std::u16string buffer_;
  crRecognitionParams params_{};
};

TEST_F(RecognitionDriverTest, WritesTheTextOfTheFragmentsLineByLine) {
  fake_->lines = {line_of(u"a b"), line_of(u"c")};
  fake_->figure_lines = {0, 1, 0};
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(result(), u"a bc");
  EXPECT_EQ(fake_->candidates[0], (std::vector<std::uint32_t>{0, 2}));
  EXPECT_EQ(fake_->candidates[1], (std::vector<std::uint32_t>{1}));
  std::vector<std::string> passes;
  for (const std::string& stage : fake_->log) {
    if (stage.starts_with("passes")) passes.push_back(stage);
  }
  EXPECT_EQ(passes, (std::vector<std::string>{"passes 0 first", "passes 1 first", "passes 0 second",
                                              "passes 1 second"}));
  EXPECT_EQ(fake_->lock_entries_in_passes, 0);
  EXPECT_TRUE(kernel_->pane().empty());
}

class StageObserver final : public KernelObserver {
 public:
  explicit StageObserver(FakeLetterSearch& fake) : fake_(fake) {}
  void before_word_search(Kernel&) override { fake_.note("observer before"); }
  void after_segments(Kernel&) override { fake_.note("observer after"); }

 private:
  FakeLetterSearch& fake_;
};

TEST_F(RecognitionDriverTest, RunsItsStagesInOrder) {
  fake_->lines = {line_of(u"a")};
  StageObserver observer(*fake_);
  kernel_->set_observer(&observer);
  ASSERT_EQ(recognize(), kOk);
  kernel_->set_observer(nullptr);
  const std::vector<std::string> expected = {
      "begin_run", "reset_line_work", "reserve_stroke_pairs", "add_stroke_figure",
      "estimate_line_slant", "figure_runs", "line_group_strokes", "line_mean_metric",
      "split_into_bodies_and_links", "reserve_figure_pairs", "apply_baselines_to_figures",
      // One fragment in all: the line loop ends after its first sweep.
      "release_line_objects", "passes 0 first", "estimate_spacing", "estimate_gaps",
      "classify_candidates", "observer before", "check_all_candidates", "recognize_segments",
      "observer after", "end_run", "clear_line_work"};
  EXPECT_EQ(stages_seen(), expected);
  for (const std::int32_t statistic : kernel_->gap_statistics()) EXPECT_EQ(statistic, -1);
}

TEST_F(RecognitionDriverTest, TheLinePassTracesTheStrokesAndMeasuresTheRuns) {
  // A run of two trajectory points: the first gets the step to the second.
  PointRecord points[2];
  points[0].point = {0, 0};
  points[1].point = {3, 4};
  fake_->runs.push_back(PointRun{points, 2});
  ASSERT_EQ(recognize(), kOk);
  // The stroke (100,100) (110,130) (120,100) keeps its three points as
  // vertices.
  EXPECT_EQ(fake_->trajectory_sizes, (std::vector<std::uint32_t>{3}));
  EXPECT_EQ(points[0].trajectory.step_length, 5);
  EXPECT_EQ(points[0].trajectory.step_direction, step_direction({0, 0}, {3, 4}));
}

TEST_F(RecognitionDriverTest, StrokeRecordsArePutInReadingOrder) {
  // Line height 150: strokes within 10 units of each other horizontally go
  // top to bottom.
  fake_->height = 150;
  const std::pair<PackedPoint, std::uint16_t> places[] = {
      {{300, 40}, 0}, {{100, 50}, 0}, {{50, 40}, 1}, {{105, 20}, 0}};
  for (const auto& [point, line] : places) {
    StrokeRecord& record = fake_->strokes.emplace_back();
    record.geometry.band_centroid = point;
    record.line_index = line;
  }
  const auto order_keys = [&] {
    std::vector<std::int16_t> keys;
    for (const StrokeRecord& record : fake_->strokes) keys.push_back(record.order_key);
    return keys;
  };
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(order_keys(), (std::vector<std::int16_t>{2, 1, 3, 0}));

  // Right to left when an active charset is written so.
  CharSet hebrew{};
  hebrew.id = 9;
  hebrew.direct = 1;
  ASSERT_EQ(crmAddCharSet(reinterpret_cast<const crCharSet*>(&hebrew)), kOk);
  ASSERT_EQ(crSetActiveCharSets(&hebrew.id, 1), kOk);
  add_ink();
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(order_keys(), (std::vector<std::int16_t>{0, 2, 3, 1}));
}

TEST_F(RecognitionDriverTest, GetLineRunsTheLinePassAlone) {
  fake_->lines = {line_of(u"a")};
  ASSERT_EQ(crGetLine(&params_), kOk);
  EXPECT_EQ(fake_->log.back(), "end_run");
  EXPECT_TRUE(saw("figure_runs"));
  EXPECT_FALSE(saw("release_line_objects"));
  EXPECT_EQ(buffer_[0], kUntouched);
  EXPECT_FALSE(kernel_->pane().empty());
}

// A turn the straightening of the lines keeps turns the pane's ink too.
TEST_F(RecognitionDriverTest, TheStraightenedLinesTurnThePanesInk) {
  fake_->line_turn = 12;
  ASSERT_EQ(crGetLine(&params_), kOk);
  ASSERT_EQ(kernel_->pane().strokes().size(), 1u);
  const Stroke& stroke = *kernel_->pane().strokes()[0];
  const PackedPoint written[] = {{100, 100}, {110, 130}, {120, 100}};
  ASSERT_EQ(stroke.size(), 3u);
  for (std::uint32_t k = 0; k < 3; ++k) EXPECT_EQ(stroke[k], turn_point(written[k], 12));
}

TEST_F(RecognitionDriverTest, StopDuringTheRunGives4034AndKeepsTheInk) {
  fake_->lines = {line_of(u"ab")};
  fake_->during_passes = [](std::uint32_t, bool) { std::thread([] { crmSetStopFlag(); }).join(); };
  EXPECT_EQ(recognize(), kStopped);
  EXPECT_EQ(buffer_[0], kUntouched);
  EXPECT_EQ(kernel_->pane().strokes().size(), 1u);
  EXPECT_FALSE(saw("passes 0 second"));

  // A stop asked for before the recognition starts has no effect.
  fake_->during_passes = nullptr;
  ASSERT_EQ(crmSetStopFlag(), kOk);
  ASSERT_EQ(crmSetQuickFlag(), kOk);
  EXPECT_EQ(recognize(), kOk);
  EXPECT_EQ(result(), u"ab");
  EXPECT_FALSE(kernel_->stop_flag());
  EXPECT_FALSE(kernel_->quick_flag());
}

TEST_F(RecognitionDriverTest, ACallbackResultEndsTheRunWithIt) {
  fake_->lines = {line_of(u"a")};
  params_.delivery_mode = 3;
  params_.callback = [](crResultChoice*, void*) { return 7; };
  EXPECT_EQ(recognize(), 7);
  EXPECT_EQ(buffer_[0], kUntouched);
  EXPECT_FALSE(kernel_->pane().empty());
}

TEST_F(RecognitionDriverTest, TheTextStaysWithinTheBuffer) {
  struct Case {
    int32_t size;
    std::u16string expected;  // what the buffer starts with
  };
  for (const Case& c : {Case{5, std::u16string(u"abcd\0#", 6)}, Case{1, std::u16string(u"\0#", 2)},
                        Case{0, u"#"}, Case{64, u"abcdefghij"}}) {
    SCOPED_TRACE(c.size);
    buffer_.assign(64, kUntouched);
    fake_->lines = {line_of(u"abcdefghij")};
    params_.result_size = c.size;
    if (kernel_->pane().empty()) add_ink();
    ASSERT_EQ(recognize(), kOk);
    EXPECT_EQ(buffer_.substr(0, c.expected.size()), c.expected);
  }
}

TEST(ResultTextTest, HebrewFinalFormsGetANoBreakSpaceWhenItFits) {
  struct Case {
    std::vector<std::uint16_t> text;
    int32_t size;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {{0x05DD, u'a'}, 8, u"\u05DD\u00A0a"},
      {{u'a', 0x05DD}, 8, u"a\u05DD"},  // not after the last code
      {{0x05DA, u'a'}, 2, u"\u05DA"},   // no room left for it
      {{0x05E5, 0x05E3, u'b'}, 8, u"\u05E5\u00A0\u05E3\u00A0b"},
  };
  for (const Case& c : cases) {
    std::u16string buffer(8, kUntouched);
    write_result_text(c.text, buffer.data(), c.size);
    EXPECT_EQ(buffer.substr(0, buffer.find(u'\0')), c.expected);
  }
}

TEST_F(RecognitionDriverTest, ShiftCodesSetTheCaseOfTheLettersAfterThem) {
  const auto a = letter(u'a', u'A');
  const auto b = letter(u'b', u'B');
  fake_->lines.emplace_back();
  for (const testing::FakeReading& r :
       {reading(30), a, b, reading(30), letter(u'c', u'C'), reading(31), letter(u'd', u'D'),
        letter(u'e', u'E'), reading(30), reading(31), a, b}) {
    fake_->lines[0].fragments.push_back(fragment({r}));
  }
  ASSERT_EQ(recognize(), kOk);
  // Caps on: A B; off: c; shift: D; then e; caps and shift: a; caps: B.
  EXPECT_EQ(result(), u"ABcDeaB");
  uint8_t state[2] = {9, 9};
  ASSERT_EQ(crmGetShiftState(state), kOk);
  EXPECT_EQ(state[0], 1);
  EXPECT_EQ(state[1], 0);
}

TEST_F(RecognitionDriverTest, TheWordPassLowersLettersInsideWords) {
  for (const uint8_t word_pass : {0, 1}) {
    // Each letter reads upper case first, lower case under choice 2.
    fake_->lines = {FakeLine{}};
    for (const char16_t c : std::u16string_view(u"HITE")) {
      fake_->lines[0].fragments.push_back(fragment({letter(char16_t(c + 32), c)}));
      fake_->lines[0].fragments.back().readings[0].codes[0] = c;
    }
    fake_->lines[0].fragments[1].space_after = true;
    params_.word_pass = word_pass;
    if (kernel_->pane().empty()) add_ink();
    ASSERT_EQ(recognize(), kOk);
    EXPECT_EQ(result(), word_pass != 0 ? u"Hi Te" : u"HI TE");
  }
}

// What the callback was asked, and how it answers: chosen per call.
struct Questions {
  std::vector<std::int32_t> answers;
  std::vector<std::vector<std::u16string>> candidates;
  std::vector<std::uint32_t> kinds;
  std::vector<std::int32_t> boxes;  // left, top, right, bottom per call
  bool word_texts = true;           // a word's answer carries a text of its own

  static int ask(crResultChoice* choice, void* context) {
    auto& self = *static_cast<Questions*>(context);
    std::vector<std::u16string> texts;
    const auto* strings = static_cast<const crDynArray*>(choice->candidates.data);
    for (std::uint32_t i = 0; i < choice->candidates.count; ++i) {
      const auto* units = static_cast<const char16_t*>(strings[i].data);
      texts.emplace_back(units, strings[i].count);
    }
    self.candidates.push_back(texts);
    self.kinds.push_back(choice->kind);
    self.boxes.insert(self.boxes.end(), {choice->left, choice->top, choice->right, choice->bottom});
    const std::size_t call = self.candidates.size() - 1;
    choice->chosen = call < self.answers.size() ? self.answers[call] : -1;
    if (choice->kind == 1 && self.word_texts) {
      auto* text = reinterpret_cast<DynArray<char16_t>*>(&choice->returned_text);
      text->push_back(u'0' + static_cast<char16_t>(call));
    }
    return 0;
  }
};

class CallbackTest : public RecognitionDriverTest {
 protected:
  void SetUp() override {
    RecognitionDriverTest::SetUp();
    params_.callback = &Questions::ask;
    params_.context = &questions_;
    params_.delivery_mode = 3;
  }

  Questions questions_;
};

TEST_F(CallbackTest, TheCallerPicksKeepsOrDropsEachLetter) {
  fake_->lines = {FakeLine{}};
  auto& fragments = fake_->lines[0].fragments;
  fragments.push_back(fragment({reading(u'a', 9000), reading(u'o', 8000)}));
  fragments[0].points = {{10, 20}, {30, 5}};
  fragments.push_back(fragment({reading(u'b')}));
  fragments.push_back(fragment({reading(u'c'), reading(u'e')}));
  questions_.answers = {1, -3, -1};
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(result(), u"oc");
  EXPECT_EQ(questions_.candidates,
            (std::vector<std::vector<std::u16string>>{{u"a", u"o"}, {u"b"}, {u"c", u"e"}}));
  EXPECT_EQ(questions_.kinds, (std::vector<std::uint32_t>{0, 0, 0}));
  // The first letter's box; a letter without points leaves the box empty.
  EXPECT_EQ(std::vector<std::int32_t>(questions_.boxes.begin(), questions_.boxes.begin() + 8),
            (std::vector<std::int32_t>{10, 5, 30, 20, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}));
}

TEST_F(CallbackTest, AChoiceOutsideTheCandidatesIsRefused) {
  fake_->lines = {FakeLine{{fragment({reading(u'a'), reading(u'o')})}, {}}};
  questions_.answers = {2};
  EXPECT_EQ(recognize(), kBadArgument);
  EXPECT_FALSE(kernel_->pane().empty());
}

TEST_F(CallbackTest, TheDeliveryModeDecidesWhenToAsk) {
  struct Case {
    int32_t mode;
    std::vector<std::int32_t> scores;
    bool asked;
  };
  const std::vector<Case> cases = {
      {3, {9900}, true},       {1, {9000, 8900}, false}, {1, {9000, 8950}, true},
      {2, {9000, 8900}, true}, {2, {9000, 8800}, false}, {1, {4400, 1000}, true},
      {1, {4000}, false},      {0, {1000, 900}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ", " << c.scores.size());
    fake_->lines = {FakeLine{}};
    fake_->lines[0].fragments.push_back(fragment({}));
    for (const std::int32_t score : c.scores) {
      fake_->lines[0].fragments[0].readings.push_back(reading(u'x', score));
    }
    params_.delivery_mode = c.mode;
    questions_ = {};
    if (kernel_->pane().empty()) add_ink();
    ASSERT_EQ(recognize(), kOk);
    EXPECT_EQ(questions_.candidates.size(), c.asked ? 1u : 0u);
  }
}

TEST(ResultDeliveryTest, WordScoresAndTurnedBackBoxes) {
  HypothesisElement cheap{50};
  HypothesisElement dear{100};
  WordHypothesis hypothesis;
  hypothesis.elements.push_back(&dear);
  hypothesis.elements.push_back(nullptr);
  hypothesis.elements.push_back(&cheap);
  hypothesis.base_cost = 1000;
  hypothesis.total = 90;
  hypothesis.count = 4;
  EXPECT_EQ(word_hypothesis_score(hypothesis), 1000 + 150 + 22);
  hypothesis.count = 0;
  EXPECT_EQ(word_hypothesis_score(hypothesis), 0);

  // Ink levelled by a correction of 90 degrees is turned back by -90.
  ResultChoice choice;
  const PackedPoint points[] = {{100, 0}, {0, 10}};
  turn_back_box(points, 90, choice);
  EXPECT_EQ(std::vector<std::int32_t>({choice.left, choice.top, choice.right, choice.bottom}),
            (std::vector<std::int32_t>{0, -100, 10, 0}));
}

TEST_F(CallbackTest, WordsOfTheLineRecordsAreOfferedAndKeepTheAnswers) {
  LineRecord& line = *fake_->line_records().add_new();
  line.end_line = 0;
  line.end_figure = 7;
  WordPosition* start = line.positions.push_default();
  start->line = 0;
  start->figure = 0;
  WordHypothesis* cat = start->hypotheses.add_new();
  WordHypothesis* cut = start->hypotheses.add_new();
  cat->end_position = 1;
  cut->end_position = 5;
  fake_->paths = {{cat, u"cat"}, {cut, u"cut"}};
  WordPosition* middle = line.positions.push_default();
  middle->line = 0;
  middle->figure = 3;
  // Word 0 reads "cat" up to place 1; word 1's reading "cut" ends elsewhere
  // and is passed over; word 2 has no readings and is read letter by letter.
  line.words.push_default()->start = 0;
  line.words[0].end = 1;
  line.words[0].hypothesis = 0;
  line.words.push_default()->start = 0;
  line.words[1].hypothesis = 1;
  line.words.push_default()->start = 1;
  fake_->element_variants = {{{31, 31, 31}}, {{u'd', u'd', u'D'}}, {{u'o', u'o', u'O'}}};
  questions_.answers = {1, 0};
  ASSERT_EQ(recognize(), kOk);

  EXPECT_EQ(questions_.candidates,
            (std::vector<std::vector<std::u16string>>{{u"cat", u"cut"}, {u"Do"}}));
  EXPECT_EQ(questions_.kinds, (std::vector<std::uint32_t>{1, 1}));
  EXPECT_TRUE(saw("figures 0:0-0:2"));
  EXPECT_TRUE(saw("figures 0:3-0:7"));
  EXPECT_EQ(line.words[0].chosen, 1);
  EXPECT_EQ(std::u16string(line.words[0].text.data(), line.words[0].text.size()), u"0");
  EXPECT_EQ(line.words[1].chosen, -1);
  EXPECT_TRUE(line.words[1].text.empty());
  EXPECT_EQ(line.words[2].chosen, 0);
  EXPECT_EQ(std::u16string(line.words[2].text.data(), line.words[2].text.size()), u"1");
}

// A word of one letter whose two case forms are written alike (o, and not
// a) is offered in its other form right after its best reading; choosing
// that form makes it the word's text, choosing a later candidate picks the
// reading it stands for.
TEST_F(CallbackTest, ALoneLetterWrittenAlikeInBothCasesIsOfferedInEach) {
  DataStore& store = *kernel_->data_store();
  ASSERT_EQ(store.add_symb(Symb{0, u'O', u'O', u'o', 0, 0, {}}), kOk);
  ASSERT_EQ(store.add_symb(Symb{0, u'o', u'O', u'o', 0, 0, {}}), kOk);
  ASSERT_EQ(store.add_symb(Symb{0, u'a', u'A', u'a', 0, 0, {}}), kOk);
  struct Case {
    std::u16string best, second;
    std::int32_t answer;
    std::vector<std::u16string> offered;
    std::int32_t chosen;
    std::u16string text;
  };
  const Case cases[] = {
      {u"o", u"a", 1, {u"o", u"O", u"a"}, -1, u"O"},
      {u"O", u"a", 1, {u"O", u"o", u"a"}, -1, u"o"},
      {u"o", u"a", 2, {u"o", u"O", u"a"}, 1, u""},
      {u"o", u"a", 0, {u"o", u"O", u"a"}, 0, u""},
      {u"a", u"o", 1, {u"a", u"o"}, 1, u""},
      {u"oa", u"o", 1, {u"oa", u"o"}, 1, u""},
      {u"o", u"O", 1, {u"o", u"O"}, -1, u"O"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::string(c.best.begin(), c.best.end()) << " "
                                      << c.answer);
    fake_->line_records().remove_all();
    LineRecord& line = *fake_->line_records().add_new();
    WordPosition* start = line.positions.push_default();
    WordHypothesis* best = start->hypotheses.add_new();
    WordHypothesis* second = start->hypotheses.add_new();
    best->end_position = second->end_position = -1;
    fake_->paths = {{best, c.best}, {second, c.second}};
    line.words.push_default()->hypothesis = 0;
    questions_ = {};
    questions_.answers = {c.answer};
    questions_.word_texts = false;
    if (kernel_->pane().empty()) add_ink();
    ASSERT_EQ(recognize(), kOk);
    ASSERT_EQ(questions_.candidates.size(), 1u);
    EXPECT_EQ(questions_.candidates[0], c.offered);
    EXPECT_EQ(line.words[0].chosen, c.chosen);
    EXPECT_EQ(std::u16string(line.words[0].text.data(), line.words[0].text.size()), c.text);
  }
}

// Readings of a word that give the same text are offered once; the choice
// of a candidate picks the first reading it stands for, and a choice beyond
// the candidates changes nothing.
TEST_F(CallbackTest, ReadingsOfTheSameTextAreOfferedOnce) {
  struct Case {
    std::vector<std::u16string> readings;
    std::int32_t answer;
    std::vector<std::u16string> offered;
    std::int32_t chosen;
  };
  const Case cases[] = {
      {{u"are", u"are", u"arc"}, 1, {u"are", u"arc"}, 2},
      {{u"are", u"are", u"arc"}, 0, {u"are", u"arc"}, 0},
      {{u"are", u"arc", u"are", u"me"}, 2, {u"are", u"arc", u"me"}, 3},
      {{u"are", u"are"}, 1, {u"are"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.readings.size() << " readings, answer " << c.answer);
    fake_->line_records().remove_all();
    LineRecord& line = *fake_->line_records().add_new();
    WordPosition* start = line.positions.push_default();
    fake_->paths.clear();
    for (const std::u16string& text : c.readings) {
      WordHypothesis* reading = start->hypotheses.add_new();
      reading->end_position = -1;
      fake_->paths[reading] = text;
    }
    line.words.push_default()->hypothesis = 0;
    questions_ = {};
    questions_.answers = {c.answer};
    questions_.word_texts = false;
    if (kernel_->pane().empty()) add_ink();
    ASSERT_EQ(recognize(), kOk);
    ASSERT_EQ(questions_.candidates.size(), 1u);
    EXPECT_EQ(questions_.candidates[0], c.offered);
    EXPECT_EQ(line.words[0].chosen, c.chosen);
    EXPECT_TRUE(line.words[0].text.empty());
  }
}

TEST_F(CallbackTest, AWordStartingAtAMissingPlaceIsRefused) {
  LineRecord& line = *fake_->line_records().add_new();
  line.words.push_default()->start = 4;
  EXPECT_EQ(recognize(), kBadArgument);
}

TEST_F(RecognitionDriverTest, TheFirstSweepMeasuresTheGapsForTheSecond) {
  FakeLine line = line_of(u"abcde");
  line.gaps = {{4, 10}, {5, 12}, {6, 11}, {7, 50}};
  const std::int16_t xs[] = {0, 40, 84, 132, 232};
  for (int k = 0; k < 5; ++k) line.fragments[k].centroid = {xs[k], 0};
  fake_->lines = {line};
  fake_->slant = 100;
  ASSERT_EQ(recognize(), kOk);
  // Mean gaps 10, 12, 11 kept (50 set aside): 11, spread 0; least gaps
  // keep 5 alone; the centroid distances 40, 44, 48 (100 set aside).
  const std::vector<std::int32_t> expected = {11, 0, 5, 0, 44, 3};
  EXPECT_EQ(
      std::vector<std::int32_t>(kernel_->gap_statistics().begin(), kernel_->gap_statistics().end()),
      expected);
  EXPECT_EQ(fake_->mean_gap, 11);
  EXPECT_TRUE(saw("passes 0 second"));
}

TEST_F(RecognitionDriverTest, HugeGapsDoNotOverflowTheStatistics) {
  FakeLine line = line_of(u"abcde");
  const std::int32_t far = 2000000000;
  line.gaps = {{1, far}, {1, far}, {1, far}, {1, -far}};
  fake_->lines = {line};
  ASSERT_EQ(recognize(), kOk);
  // No value lies within the (saturated) spread of the mean 1e9, so the plain
  // mean and spread stand.
  EXPECT_EQ(kernel_->gap_statistics()[0], far / 2);
  EXPECT_EQ(kernel_->gap_statistics()[1], 46341);
}

TEST_F(RecognitionDriverTest, TouchingFragmentsAreSearchedOnce) {
  FakeLine line = line_of(u"abcde");
  line.gaps = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
  fake_->lines = {line};
  ASSERT_EQ(recognize(), kOk);
  EXPECT_FALSE(saw("passes 0 second"));
  EXPECT_EQ(kernel_->gap_statistics()[0], -1);
  EXPECT_EQ(result(), u"abcde");
}

TEST_F(RecognitionDriverTest, OnlyTheWordSearchHoldsTheEngineLock) {
  testing::add_dictionary_charsets(*kernel_->data_store());
  std::vector<std::uint8_t> image;
  const std::vector<WordListEntry> words = {{u"cab", 0}, {u"cat", 0}};
  ASSERT_EQ(build_word_list(words, &image), kOk);
  const uint32_t english = 5;
  ASSERT_EQ(crSetActiveCharSets(&english, 1), kOk);
  fake_->lines = {line_of(u"a")};
  params_.word_pass = 1;

  // Without the word list there is no word search.
  ASSERT_EQ(recognize(), kOk);
  EXPECT_FALSE(saw("recognize_word_boxes"));

  ASSERT_EQ(write_word_list(dir_.file("eng.wlb"), image), kOk);
  add_ink();
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(fake_->lock_entries_in_word_search, 1);
  EXPECT_EQ(fake_->lock_entries_in_passes, 0);
  EXPECT_EQ(engine_lock().entry_count(), 0);
}

TEST_F(RecognitionDriverTest, RequestSwitchesAndBaseLines) {
  params_.mode = 2;
  params_.word_pass = 1;
  params_.cursive_split = 1;
  params_.skew_search = 1;
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(kernel_->params().word_pass, 0);
  EXPECT_EQ(kernel_->params().cursive_split, 0);
  EXPECT_EQ(kernel_->params().skew_search, 0);

  // With the caller's base lines every stroke must carry both values.
  params_.mode = 0;
  params_.caller_base_lines = 1;
  add_ink(3, -1);
  EXPECT_EQ(recognize(), kNoBaselines);
  EXPECT_FALSE(kernel_->pane().empty());
  ASSERT_EQ(crClearPane(), kOk);
  add_ink(3, 5);
  fake_->base_lines.clear();
  ASSERT_EQ(recognize(), kOk);
  ASSERT_EQ(fake_->base_lines.size(), 1u);
  EXPECT_NE(fake_->base_lines[0], nullptr);
}

TEST_F(RecognitionDriverTest, TheDebugModeKeepsTheInkAndTheWork) {
  fake_->lines = {line_of(u"ab")};
  ASSERT_EQ(crmSetDebugMode(1), kOk);
  ASSERT_EQ(recognize(), kOk);
  EXPECT_EQ(result(), u"ab");
  EXPECT_FALSE(kernel_->pane().empty());
  void* list = nullptr;
  ASSERT_EQ(crmGetFigOutList(&list), kOk);
  EXPECT_EQ(list, &fake_->output);
  EXPECT_EQ(fake_->output.size(), 2u);
  ASSERT_EQ(crClearPane(), kOk);
  EXPECT_TRUE(kernel_->pane().empty());
  EXPECT_TRUE(fake_->output.empty());
}

TEST_F(RecognitionDriverTest, AnEmptyPaneOrABadRequest) {
  ASSERT_EQ(crClearPane(), kOk);
  const std::vector<std::string> before = fake_->log;
  params_.third_word = 55;
  EXPECT_EQ(recognize(), kOk);
  EXPECT_EQ(buffer_[0], kUntouched);
  EXPECT_EQ(kernel_->params().third_word, 100);
  EXPECT_EQ(fake_->log, before);

  add_ink();
  EXPECT_EQ(crRecognize(nullptr), kBadArgument);
  params_.result_buffer = nullptr;
  EXPECT_EQ(recognize(), kBadArgument);
  EXPECT_FALSE(kernel_->pane().empty());
}

// The kernel's own letter search, while its line stages read no ink into
// lines, finds no letters: the text is empty and the output list too.
TEST(OwnLetterSearchTest, RecognitionWithoutLinesDeliversAnEmptyText) {
  testing::TempDir dir;
  testing::write_empty_data_file(dir.file("qlmain.dt"));
  const std::u16string data = dir.wide_file("qlmain.dt");
  ASSERT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  const crPoint points[] = {{10, 10}, {40, 60}};
  const crStrokeInput stroke{points, 2};
  ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  crRecognitionParams params{};
  params.skew_search = 1;
  params.skew_allowed = 1;
  params.result_buffer = buffer;
  params.result_size = 4;
  EXPECT_EQ(crRecognize(&params), kOk);
  EXPECT_EQ(buffer[0], u'\0');
  EXPECT_EQ(buffer[1], u'x');
  void* list = nullptr;
  ASSERT_EQ(crmGetFigOutList(&list), kOk);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(static_cast<PtrArray<FigureGroup>*>(list)->empty());
  crFreeCrMan();
}

}  // namespace
}  // namespace inkrec
