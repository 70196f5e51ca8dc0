// The intelligent-mode segmenter over the scripted engine: the engine calls
// of every stroke, the decisions on runs of strokes, the pause between
// strokes, engine errors, the re-split, the tables that cannot be built, and
// the delivery of its answers.
#include "app/segmenter/segmenter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/segmenter/mode3_delivery.h"
#include "tests/app/engine_client_support.h"
#include "tests/app/failing_allocations.h"

namespace ductra {
namespace {

using testing::EngineCall;

// What the test's engine makes of one written stroke: the codes of its
// figure and the answers of its group. A stroke that joins the one before
// shares its group, whose answers become `joined`. A blanking stroke, the
// newest, leaves the output empty.
struct Writing {
  std::vector<std::uint16_t> codes;
  std::u16string answers;
  std::optional<std::u16string> joined;
  bool blanks_output = false;
};

// The strokes of the tests, for the digits and the German tables.
enum : int {
  kDigitStart,   // 0x382, read "1": completes a digit pattern and continues another
  kAnyMark,      // no codes, no answers
  kLetterA,      // no codes, read "a": starts the German two dots
  kDot,          // 0x37D, read "."
  kSilentDot,    // 0x37D, no answers
  kNothing,      // a code no table knows, read "x"
  kJoiningA,     // no codes; read "a" with the stroke before, "-" alone
  kJoiningCaps,  // no codes; read as the caps-lock code with the stroke before
  kBlanking,     // the engine makes no figure of the ink
};

const std::vector<Writing> kWritings = {
    {{0x382}, u"1", {}}, {{}, u"", {}},     {{}, u"a", {}},     {{0x37D}, u".", {}},
    {{0x37D}, u"", {}},  {{0x0C}, u"x", {}}, {{}, u"-", u"a"}, {{}, u"", u"\x1e"},
    {{}, u"", {}, true},
};

// Reads the figure output of the scripted engine from its pane: each stroke
// (its first point's x names its Writing) is the figure of its index.
class PaneReader final : public FigureOutputReader {
 public:
  explicit PaneReader(const testing::FakeEngineControl& control) : control_(control) {}

  int read(const void* list, FigureOutput* output) const override {
    if (list != control_.figure_output()) return -2;
    output->clear();
    const auto pane = control_.observe().pane;
    if (kWritings.at(static_cast<std::size_t>(pane.back().at(0).x)).blanks_output) return 0;
    for (std::size_t i = 0; i < pane.size(); ++i) {
      const Writing& writing = kWritings.at(static_cast<std::size_t>(pane[i].at(0).x));
      OutputFigure figure{static_cast<std::int16_t>(i), {}};
      for (std::uint16_t code : writing.codes) figure.readings.push_back({u'?', code, 0});
      const bool joins = writing.joined && !output->empty();
      if (!joins) output->emplace_back();
      output->back().figures.push_back(figure);
      output->back().answers.clear();
      for (char16_t c : joins ? *writing.joined : writing.answers) {
        output->back().answers.push_back({c, 0x0C, 0});
      }
    }
    return 0;
  }

 private:
  const testing::FakeEngineControl& control_;
};

struct Expected {
  std::uint32_t backspaces;
  bool waiting;
  std::uint32_t ink_to_erase;
  std::u16string characters;
};

class SegmenterTest : public testing::FakeEngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(engine_->init(u"qlmain.dt"), 0);
    segmenter_ = Segmenter::create(*engine_, reader_, kTimeLimit, reports_);
    ASSERT_NE(segmenter_, nullptr);
  }

  void select(std::vector<std::uint32_t> charsets) {
    ASSERT_TRUE(segmenter_->set_charsets(charsets));
  }

  // Writes the stroke `writing` (of kWritings) from `start` to `end`.
  SegmenterResult write(int writing, std::uint32_t start = 0, std::uint32_t end = 0) {
    const crPoint points[] = {{static_cast<std::int16_t>(writing), 0}, {5, 5}};
    return segmenter_->add_stroke(points, start, end);
  }

  static void expect(const SegmenterResult& result, const Expected& expected) {
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(result.backspaces, expected.backspaces);
    EXPECT_EQ(result.waiting, expected.waiting);
    if (expected.waiting) {
      EXPECT_EQ(result.ink_to_erase, expected.ink_to_erase);
    }
    EXPECT_EQ(result.characters, expected.characters);
  }

  // The strokes (their writings) of the pane of the last recognition.
  std::vector<int> last_pane() {
    std::vector<int> strokes;
    for (const auto& stroke : control_.observe().pane) strokes.push_back(stroke.at(0).x);
    return strokes;
  }

  static constexpr std::int32_t kTimeLimit = 400;
  PaneReader reader_{control_};
  testing::ReportsWithoutMemory reports_;
  std::unique_ptr<Segmenter> segmenter_;
};

TEST_F(SegmenterTest, EveryStrokeRecognisesTheKeptStrokesUnderTheGate) {
  select({3});
  write(kDigitStart);
  write(kAnyMark);
  std::vector<std::string> names;
  for (const EngineCall& call : calls()) {
    if (call.name == "crInitCrMan") continue;
    names.push_back(call.name);
    EXPECT_TRUE(call.gate_held) << call.name;
  }
  const std::vector<std::string> one_recognition_of_two = {
      "crClearPane", "crmSetDebugMode", "crAddStroke", "crAddStroke", "crRecognize",
      "crRecognize ended", "crmGetFigOutList"};
  ASSERT_EQ(names.size(), 13u);
  EXPECT_EQ(std::vector<std::string>(names.begin() + 6, names.end()), one_recognition_of_two);
  const fake_engine::Observed observed = control_.observe();
  EXPECT_EQ(observed.debug_modes, (std::vector<std::uint32_t>{3, 3}));
  ASSERT_EQ(observed.requests.size(), 2u);
  const crRecognitionParams& request = observed.requests[1];
  EXPECT_EQ(request.callback, nullptr);
  EXPECT_EQ(request.delivery_mode, 0);
  EXPECT_EQ(request.third_word, 100);
  EXPECT_EQ(request.context, nullptr);
  EXPECT_EQ(request.mode, 0);
  const std::uint8_t switches[] = {request.first_switch,     request.second_switch,
                                   request.word_pass,        request.cursive_split,
                                   request.caller_base_lines, request.skew_search,
                                   request.skew_allowed,     request.layout_switch,
                                   request.refine_trajectories, request.strict_switch};
  EXPECT_EQ(std::vector<std::uint8_t>(std::begin(switches), std::end(switches)),
            (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 1, 1, 0, 0, 1}));
  EXPECT_EQ(request.result_size, 16);
  EXPECT_EQ(last_pane(), (std::vector<int>{kDigitStart, kAnyMark}));
}

TEST_F(SegmenterTest, WaitsWhileTheStrokesMayGrowAndShowsTheirCharactersEachTime) {
  select({6});
  expect(write(kLetterA), {0, true, 0, u"a"});
  expect(write(kDot), {1, true, 0, u"a."});
  expect(write(kDot), {2, false, 0, u"a.."});
  EXPECT_EQ(segmenter_->kept_strokes(), 0u);
  EXPECT_EQ(segmenter_->chars_sent(), 0u);
  expect(write(kNothing), {0, false, 0, u"x"});
}

TEST_F(SegmenterTest, CaseCodesAndGroupsWithoutAnswersShowNothing) {
  select({3});
  expect(write(kDigitStart), {0, true, 0, u"1"});
  // The second stroke joins the first, whose group now reads the caps-lock
  // code: nothing is shown in place of the "1".
  expect(write(kJoiningCaps), {1, false, 0, u""});
  // A group without answers shows nothing and is not erased later.
  select({6});
  expect(write(kLetterA), {0, true, 0, u"a"});
  expect(write(kSilentDot), {1, true, 0, u"a"});
  EXPECT_EQ(segmenter_->chars_sent(), 1u);
  expect(write(kDot), {1, false, 0, u"a."});
}

TEST_F(SegmenterTest, AnEmptyFigureOutputIsAFigureWithoutCodesOrAnswers) {
  select({3});
  expect(write(kDigitStart), {0, true, 0, u"1"});
  // The digit pattern that continues takes any second figure.
  expect(write(kBlanking), {1, false, 0, u""});
  select({6});
  expect(write(kBlanking), {0, false, 0, u""});
}

TEST_F(SegmenterTest, APauseLongerThanTheLimitStartsANewRun) {
  struct Case {
    const char* what;
    std::int32_t limit;
    std::uint32_t last_end;
    std::uint32_t start;
    bool new_run;
  };
  const Case cases[] = {
      {"1 ms after the end, limit 0", 0, 5000, 5001, true},
      {"at the end, limit 0", 0, 5000, 5000, false},
      {"before the end", 0, 5000, 4990, false},
      {"at the limit", 400, 5000, 5400, false},
      {"past the limit", 400, 5000, 5401, true},
      {"across a wrap of the tick counter: 32 ms count 31", 31, 0xFFFFFFF0u, 0x10, false},
      {"across a wrap of the tick counter, limit 30", 30, 0xFFFFFFF0u, 0x10, true},
  };
  select({3});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    segmenter_->set_time_limit(c.limit);
    expect(write(kDigitStart, c.last_end - 100, c.last_end), {0, true, 0, u"1"});
    write(kAnyMark, c.start, c.start + 100);
    EXPECT_EQ(last_pane().size(), c.new_run ? 1u : 2u);
    segmenter_->reset();
  }
}

TEST_F(SegmenterTest, AnEngineErrorDropsTheStrokesAndErasesNothing) {
  select({3});
  struct Case {
    const char* what;
    std::function<void()> script;
    int error;
  };
  fake_engine::Recognition failing;
  failing.status = 7001;
  const int second_stroke_fails[] = {0, -1};
  const Case cases[] = {
      {"a stroke the engine cannot take",
       [&] { control_.script_add_stroke(second_stroke_fails, 2); }, -1},
      {"a recognition that fails", [&] { control_.script_recognition(&failing); }, 7001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expect(write(kDigitStart), {0, true, 0, u"1"});
    c.script();
    const SegmenterResult result = write(kAnyMark);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.backspaces, 0u);
    EXPECT_FALSE(result.waiting);
    EXPECT_TRUE(result.characters.empty());
    EXPECT_EQ(segmenter_->kept_strokes(), 0u);
    EXPECT_EQ(segmenter_->chars_sent(), 0u);
  }
  // The next stroke starts afresh.
  expect(write(kDigitStart), {0, true, 0, u"1"});
  EXPECT_EQ(last_pane(), std::vector<int>{kDigitStart});
}

TEST_F(SegmenterTest, AStrokeThatEndsWhatTheOneBeforeBeganIsSplitOff) {
  select({6, 3});
  struct Case {
    const char* what;
    std::vector<int> strokes;
    // The answer to the last stroke and the strokes the engine saw last.
    Expected last;
    std::vector<int> last_pane;
    std::size_t kept;
  };
  const Case cases[] = {
      {"two strokes: the letter stays shown, the new stroke runs alone",
       {kLetterA, kNothing}, {0, false, 0, u"x"}, {kNothing}, 0},
      {"three strokes: the stroke before runs alone, ends its run and is shown again",
       {kDigitStart, kJoiningA, kNothing}, {1, false, 0, u"-x"}, {kNothing}, 0},
      {"three strokes: the stroke before is fed again, then split off again",
       {kDigitStart, kLetterA, kNothing}, {1, false, 0, u"ax"}, {kNothing}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SegmenterResult result;
    for (int stroke : c.strokes) result = write(stroke);
    expect(result, c.last);
    EXPECT_EQ(last_pane(), c.last_pane);
    EXPECT_EQ(segmenter_->kept_strokes(), c.kept);
    segmenter_->reset();
  }
}

TEST_F(SegmenterTest, CallsTheEngineOnlyWhenNoOneElseHoldsTheGate) {
  select({3});
  platform::Event taken(platform::EventReset::manual, false);
  platform::Event give_back(platform::EventReset::manual, false);
  auto holder = platform::Thread::start([&] {
    EngineGate::Hold hold(engine_->gate());
    taken.set();
    platform::wait_for(give_back, platform::kInfinite);
    return 0u;
  });
  platform::wait_for(taken, platform::kInfinite);
  const std::size_t before = calls().size();
  SegmenterResult result;
  auto writer = platform::Thread::start([&] {
    result = write(kDigitStart);
    return 0u;
  });
  clock_.advance(1000);
  EXPECT_EQ(calls().size(), before);
  give_back.set();
  holder.reset();
  writer.reset();
  EXPECT_EQ(calls().size(), before + 6);
  expect(result, {0, true, 0, u"1"});
}

TEST_F(SegmenterTest, WithoutMemoryForTheTablesNoSegmenterIsMadeAndTheErrorIsReported) {
  testing::ReportsWithoutMemory reports;
  const std::size_t before = testing::allocation_count();
  ASSERT_NE(Segmenter::create(*engine_, reader_, kTimeLimit, reports), nullptr);
  const std::size_t needed = testing::allocation_count() - before;
  for (std::size_t successes : {std::size_t{0}, needed / 2, needed - 1}) {
    SCOPED_TRACE(successes);
    std::unique_ptr<Segmenter> segmenter;
    {
      testing::FailingAllocations failing(successes);
      segmenter = Segmenter::create(*engine_, reader_, kTimeLimit, reports);
    }
    EXPECT_EQ(segmenter, nullptr);
    EXPECT_EQ(std::u16string(reports.last.where), u"Segmenter::Segmenter");
    EXPECT_EQ(reports.last.code, -1);
  }
  EXPECT_EQ(reports.reports, 3);
}

// Records what the delivery was asked to do, in order.
class RecordingDelivery final : public Mode3Delivery {
 public:
  void end_ink_run() override { log.push_back(u"end"); }
  void erase_oldest_strokes(std::uint32_t count) override {
    log.push_back(u"erase " + std::u16string(1, static_cast<char16_t>(u'0' + count)));
  }
  void switch_to_next_configuration() override { log.push_back(u"next configuration"); }
  void send_text_to_sip(std::u16string_view units) override {
    log.push_back(u"send " + std::u16string(units));
  }
  std::vector<std::u16string> log;
};

TEST(Mode3DeliveryTest, AnswersBecomeInkChangesAndUnits) {
  struct Case {
    SegmenterResult answer;
    std::vector<std::u16string> log;
  };
  const Case cases[] = {
      {{.backspaces = 2, .waiting = false, .characters = u"ab"}, {u"end", u"send \b\bab"}},
      {{.waiting = true, .ink_to_erase = 3, .characters = u"a"}, {u"erase 3", u"send a"}},
      {{.waiting = true, .characters = u"a"}, {u"send a"}},
      {{.waiting = false, .characters = u""}, {u"end", u"send "}},
      {{.error = 7001, .characters = u""}, {u"end", u"send "}},
      {{.waiting = false, .characters = u"\x1d"}, {u"end", u"next configuration"}},
      {{.backspaces = 1, .waiting = false, .characters = u"\x1d"},
       {u"end", u"send \b\x1d"}},
      {{.waiting = false, .characters = u"\x1dx"}, {u"end", u"send \x1dx"}},
  };
  for (const Case& c : cases) {
    RecordingDelivery delivery;
    deliver_segmenter_answer(c.answer, delivery);
    EXPECT_EQ(delivery.log, c.log);
  }
}

}  // namespace
}  // namespace ductra
