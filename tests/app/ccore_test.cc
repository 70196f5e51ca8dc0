#include "app/shell/ccore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <optional>
#include <thread>

#include "app/shell/result_choice.h"
#include "tests/app/engine_client_support.h"

namespace ductra {
namespace {

using Ink = std::vector<std::vector<InkPoint>>;

class CCoreTest : public testing::FakeEngineTest {
 protected:
  CCoreTest() {
    overrides_ = std::filesystem::temp_directory_path() /
                 ("ccore_test_rec_param_" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(overrides_);
  }
  ~CCoreTest() override {
    core_.reset();
    std::filesystem::remove(overrides_);
  }

  void start() { core_.emplace(*engine_, shell_, CoreFiles{"/device/qlmain.dt", overrides_}); }

  // Hands `ink` over as the controller does and lets the engine thread run
  // until it waits again.
  InkOutcome submit(const Ink& ink) {
    EXPECT_TRUE(core_->take_semaphore());
    const std::vector<InkStrokeView> views(ink.begin(), ink.end());
    const InkOutcome outcome = core_->add_strokes(views, 1);
    core_->request();
    clock_.advance(0);
    return outcome;
  }

  void script(const fake_engine::Recognition& recognition) {
    control_.script_recognition(&recognition);
  }

  crRecognitionParams last_request() {
    const fake_engine::Observed seen = control_.observe();
    EXPECT_FALSE(seen.requests.empty());
    return seen.requests.empty() ? crRecognitionParams{} : seen.requests.back();
  }

  std::filesystem::path overrides_;
  std::optional<CCore> core_;
};

const Ink kWord = {{{0, 0}, {40, 0}, {40, 40}}, {{100, 0}, {100, 80}}};

TEST_F(CCoreTest, StartsTheEngineOnItsDataFileAndFreesItAtTheEnd) {
  start();
  EXPECT_TRUE(core_->has_engine());
  const fake_engine::Observed seen = control_.observe();
  EXPECT_TRUE(seen.started);
  EXPECT_EQ(seen.data_file, u"/device/qlmain.dt");
  EXPECT_EQ(seen.data_mode, 0);
  core_.reset();
  EXPECT_FALSE(control_.observe().started);
  const std::vector<std::string> names = call_names();
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names.back(), "crFreeCrMan");
  EXPECT_EQ(names[names.size() - 2], "crClearPane");
}

TEST_F(CCoreTest, AMissingDataFileIsSaidAtStartUpAndTheClientRunsWithoutAnEngine) {
  control_.script_start(3001);
  start();
  {
    auto lock = shell_.lock();
    ASSERT_EQ(shell_.start_failures.size(), 1u);
    EXPECT_EQ(shell_.start_failures[0].data_file, "/device/qlmain.dt");
    EXPECT_EQ(shell_.start_failures[0].status, 3001);
    EXPECT_EQ(shell_.start_failures[0].message, u"fake message 1");
  }
  EXPECT_FALSE(core_->has_engine());
  EXPECT_FALSE(core_->take_semaphore());
  core_->start_recognition();  // returns at once, marks nothing
  EXPECT_FALSE(core_->is_busy());
  const std::vector<InkStrokeView> views(kWord.begin(), kWord.end());
  EXPECT_EQ(core_->add_strokes(views, 1), InkOutcome::refused);
  EXPECT_EQ(control_.observe().pane.size(), 0u);
  auto lock = shell_.lock();
  EXPECT_TRUE(shell_.engine_errors.empty());
}

TEST_F(CCoreTest, ARecognitionDeliversItsTextAndGivesTheSemaphoreBack) {
  start();
  script({.text = u"hello", .work_ms = 300, .questions = {}});
  core_->start_recognition();  // pen up: busy until the result
  EXPECT_TRUE(core_->is_busy());
  clock_.advance(0);
  EXPECT_EQ(submit(kWord), InkOutcome::added);
  EXPECT_EQ(control_.observe().pane.size(), 2u);
  clock_.advance(300);
  EXPECT_EQ(core_->result_text(), u"hello");
  EXPECT_EQ(core_->result_length(), 5);
  EXPECT_FALSE(core_->is_busy());
  EXPECT_EQ(control_.observe().pane.size(), 0u) << "the pane is cleared after the recognition";
  {
    auto lock = shell_.lock();
    EXPECT_EQ(shell_.recognized, 1);
    EXPECT_TRUE(shell_.engine_errors.empty());
  }
  EXPECT_TRUE(core_->take_semaphore()) << "the engine thread gave the semaphore back";
}

TEST_F(CCoreTest, TheRequestCarriesTheSwitchesAsTheBlockNamesThem) {
  start();
  const std::uint32_t known[] = {5, 26, 39, 40};
  control_.script_charsets(known, 4);
  struct Case {
    const char* what;
    int prompt;
    bool long_limit, dictionary, mode_two, variants_off;
    std::vector<std::uint32_t> active;
    const char* overrides;  // null: no file
    int mode;
    std::uint8_t word_pass, cursive_split;
  };
  const Case cases[] = {
      {"mode 0", 2, true, true, false, false, {5}, nullptr, 0, 1, 1},
      {"mode two", 3, false, false, true, false, {5}, nullptr, 2, 0, 0},
      {"an Arabic charset in mode 0", 1, true, true, false, false, {5, 39}, nullptr, 2, 1, 1},
      {"Hebrew", 0, false, true, false, false, {26}, nullptr, 2, 1, 0},
      {"variants off", 2, true, true, false, true, {5}, nullptr, 0, 0, 0},
      {"overrides of three zeros", 2, true, true, false, false, {39}, "0 0 0", 0, 0, 0},
      {"overrides of three ones", 2, false, false, false, false, {5}, "1\n1 1", 2, 1, 1},
      {"overrides not all booleans", 2, true, false, false, false, {5}, "0 1 2", 0, 0, 1},
      {"overrides cut short", 2, true, false, false, false, {5}, "0 1", 0, 0, 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(engine_->set_active_charsets(c.active), 0);
    std::filesystem::remove(overrides_);
    if (c.overrides != nullptr) std::ofstream(overrides_) << c.overrides;
    core_->set_params(c.prompt, c.long_limit, c.dictionary, c.mode_two);
    core_->set_variants_off(c.variants_off);
    submit(kWord);
    const crRecognitionParams p = last_request();
    EXPECT_EQ(p.mode, c.mode) << c.what;
    EXPECT_EQ(p.word_pass, c.word_pass) << c.what;
    EXPECT_EQ(p.cursive_split, c.cursive_split) << c.what;
    EXPECT_EQ(p.delivery_mode, c.prompt) << c.what;
    EXPECT_EQ(p.callback, &CCore::variants_callback);
    EXPECT_EQ(p.context, &*core_);
    EXPECT_EQ(p.third_word, 100);
    const std::uint8_t switches[] = {p.first_switch,    p.second_switch,      p.caller_base_lines,
                                     p.skew_search,     p.skew_allowed,       p.layout_switch,
                                     p.refine_trajectories, p.strict_switch};
    const std::uint8_t expected[] = {1, 1, 0, 1, 1, 1, 1, 0};
    EXPECT_TRUE(std::equal(std::begin(switches), std::end(switches), std::begin(expected))) << c.what;
    EXPECT_NE(p.result_buffer, nullptr);
    EXPECT_EQ(p.result_size, 256) << "the size counts the terminator";
  }
}

TEST_F(CCoreTest, StatusesOfTheRecognitionAreReportedOrTakenAsTheyCome) {
  start();
  struct Case {
    int status;
    const char16_t* text;
    const char16_t* delivered;
    bool reported;
  };
  const Case cases[] = {
      {0, u"ok", u"ok", false},
      {4034, u"partial", u"partial", false},  // stopped on request: what the buffer holds
      {7001, u"junk", u"", true},
      {-1, u"junk", u"", true},
  };
  int reports = 0;
  for (const Case& c : cases) {
    script({.status = c.status, .text = c.text, .questions = {}});
    submit(kWord);
    EXPECT_EQ(core_->result_text(), c.delivered) << c.status;
    auto lock = shell_.lock();
    reports += c.reported;
    ASSERT_EQ(shell_.engine_errors.size(), static_cast<std::size_t>(reports)) << c.status;
    if (c.reported) {
      EXPECT_EQ(shell_.engine_errors.back(), (std::pair<std::u16string, int>{u"CCore::CoreThread", c.status}));
    }
  }
}

TEST_F(CCoreTest, ARecognitionThatIgnoresTheQuickFlagEndsAtFifteenSecondsWithNoText) {
  start();
  core_->set_params(0, false, true, false);
  script({.text = u"late", .work_ms = 60000, .heeds_quick = false, .questions = {}});
  submit(kWord);
  clock_.advance(14999);
  EXPECT_EQ(control_.observe().recognitions_ended, 0);
  clock_.advance(1);
  EXPECT_EQ(control_.observe().recognitions_ended, 1);
  EXPECT_EQ(first_call_at("crmSetQuickFlag"), 5000);
  EXPECT_EQ(first_call_at("crmSetStopFlag"), 15000);
  EXPECT_EQ(core_->result_text(), u"");
  auto lock = shell_.lock();
  EXPECT_TRUE(shell_.engine_errors.empty()) << "4034 is a normal end";
  EXPECT_EQ(shell_.recognized, 1);
}

TEST_F(CCoreTest, TheLongLimitLetsARecognitionWorkTenSecondsBeforeItHurries) {
  start();
  core_->set_params(0, true, true, false);
  script({.text = u"done", .work_ms = 60000, .questions = {}});
  submit(kWord);
  clock_.advance(10000);
  EXPECT_EQ(first_call_at("crmSetQuickFlag"), 10000);
  EXPECT_EQ(core_->result_text(), u"done") << "a recognition that hurries delivers what it has";
  EXPECT_EQ(first_call_at("crmSetStopFlag"), -1);
}

TEST_F(CCoreTest, TheShellsAnswersReachTheEngineAndBadOnesAreMadeHarmless) {
  start();
  core_->set_params(3, false, false, false);
  struct Case {
    const char* what;
    std::uint32_t kind;
    std::int32_t answer;
    const char16_t* word;
    std::int32_t engine_reads;
    const char16_t* engine_keeps;
  };
  const Case cases[] = {
      {"an alternative", 0, 1, nullptr, 1, u""},
      {"the default entry", 0, -1, nullptr, -1, u""},
      {"rejected", 0, -3, nullptr, -3, u""},
      {"a letter cannot be an added word", 0, -2, nullptr, -1, u""},
      {"an alternative not offered", 0, 2, nullptr, -1, u""},
      {"a negative answer not known", 1, -7, nullptr, -1, u""},
      {"a word added", 1, -2, u"Ductra", -2, u"Ductra"},
      {"a word's alternative", 1, 0, nullptr, 0, u""},
  };
  std::size_t asked = 0;
  for (const Case& c : cases) {
    shell_.answer_with([&](crResultChoice& choice) {
      EXPECT_EQ(alternative_count(choice), 2u);
      EXPECT_EQ(alternative_text(choice, 1), u"cl");
      EXPECT_EQ(choice.right, 30);
      choice.chosen = c.answer;
      if (c.word != nullptr) {
        EXPECT_TRUE(set_returned_text(choice, c.word));
      }
    });
    script({.text = u"d",
            .questions = {{.kind = c.kind, .alternatives = {u"d", u"cl"}, .box = {1, 2, 30, 40}}}});
    submit(kWord);
    const fake_engine::Observed seen = control_.observe();
    ASSERT_EQ(seen.answers.size(), ++asked) << c.what;
    EXPECT_EQ(seen.answers.back().chosen, c.engine_reads) << c.what;
    EXPECT_EQ(seen.answers.back().returned_text, c.engine_keeps) << c.what;
    EXPECT_EQ(core_->result_text(), u"d") << c.what;
    auto lock = shell_.lock();
    EXPECT_TRUE(shell_.engine_errors.empty()) << c.what;
  }
}

TEST_F(CCoreTest, WithoutAPromptFrequencyTheShellIsNeverAsked) {
  start();
  core_->set_params(0, false, false, false);
  script({.text = u"d", .questions = {{.alternatives = {u"d", u"cl"}}}});
  submit(kWord);
  auto lock = shell_.lock();
  EXPECT_EQ(shell_.questions_sent, 0);
}

TEST_F(CCoreTest, EveryEngineCallOfARecognitionHoldsTheGateButTheWatchdogsFlags) {
  start();
  core_->set_params(3, false, false, false);
  shell_.answer_with([&](crResultChoice& choice) {
    std::uint32_t count = 0;
    EXPECT_EQ(engine_->user_dictionary_count(&count), 0);
    choice.chosen = 0;
  });
  script({.text = u"x", .work_ms = 20000, .heeds_quick = false,
          .questions = {{.alternatives = {u"x", u"y"}}}});
  submit(kWord);
  clock_.advance(20000);
  bool saw_borrowed_call = false;
  for (const testing::EngineCall& call : calls()) {
    const bool flag = call.name == "crmSetQuickFlag" || call.name == "crmSetStopFlag";
    EXPECT_EQ(call.gate_held, !flag) << call.name;
    if (call.name == "crGetCountOfUserDictionaries") {
      saw_borrowed_call = true;
      EXPECT_EQ(call.thread, shell_.ui_thread());
    }
  }
  EXPECT_TRUE(saw_borrowed_call);
}

TEST_F(CCoreTest, AUiCallWaitingForTheGateRunsAfterTheRecognitionNotInItsQuestion) {
  start();
  core_->set_params(3, false, false, false);
  shell_.answer_with([&](crResultChoice& choice) {
    std::uint32_t count = 0;
    engine_->user_dictionary_count(&count);  // lent: runs at once
    choice.chosen = -1;
  });
  script({.text = u"x", .work_ms = 2000, .ask_after_ms = 1000,
          .questions = {{.alternatives = {u"x", u"y"}}}});
  submit(kWord);
  std::atomic<int> outer_status{-100};
  shell_.run_on_ui([&] {
    std::uint32_t count = 0;
    outer_status = engine_->char_set_count(&count);  // waits for the gate
  });
  clock_.advance(1000);
  EXPECT_EQ(outer_status, -100);
  clock_.advance(1000);
  EXPECT_EQ(outer_status, 0);
  std::vector<std::string> order;
  for (const std::string& name : call_names()) {
    if (name == "crGetCountOfUserDictionaries" || name == "crRecognize ended" ||
        name == "crClearPane" || name == "crmGetCharSetCount") {
      order.push_back(name);
    }
  }
  const std::vector<std::string> expected = {"crGetCountOfUserDictionaries", "crRecognize ended",
                                             "crClearPane", "crmGetCharSetCount"};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(first_call_at("crmGetCharSetCount"), 2000);
}

TEST_F(CCoreTest, AnInkTheEngineCannotTakeForLackOfMemoryIsTriedOnceMore) {
  start();
  const Ink ink = {{{0, 0}}, {{4, 4}}, {{8, 8}}};
  const int statuses[] = {0, -1};  // the second stroke fails
  control_.script_add_stroke(statuses, 2);
  EXPECT_EQ(submit(ink), InkOutcome::retrying);
  EXPECT_EQ(control_.observe().pane.size(), 0u) << "nothing of the failed ink stays";
  EXPECT_TRUE(control_.observe().requests.empty()) << "no recognition of an empty pane";
  {
    auto lock = shell_.lock();
    EXPECT_EQ(shell_.stroke_errors, 1);
    EXPECT_EQ(shell_.recognized, 0);
    EXPECT_TRUE(shell_.engine_errors.empty());
  }
  script({.text = u"abc", .questions = {}});
  EXPECT_EQ(submit(ink), InkOutcome::added);  // the shell hands it over again
  EXPECT_EQ(core_->result_text(), u"abc");
  auto lock = shell_.lock();
  EXPECT_EQ(shell_.recognized, 1);
  EXPECT_EQ(shell_.stroke_errors, 1);
}

TEST_F(CCoreTest, AnInkThatFailsTwiceIsDroppedWithOneReport) {
  start();
  const int statuses[] = {-1, -1};
  control_.script_add_stroke(statuses, 2);
  EXPECT_EQ(submit(kWord), InkOutcome::retrying);
  EXPECT_EQ(submit(kWord), InkOutcome::dropped);
  EXPECT_EQ(control_.observe().pane.size(), 0u);
  auto lock = shell_.lock();
  EXPECT_EQ(shell_.stroke_errors, 1);
  ASSERT_EQ(shell_.engine_errors.size(), 1u);
  EXPECT_EQ(shell_.engine_errors[0].second, -1);
  EXPECT_EQ(shell_.recognized, 1) << "the empty pane is recognised, so the shell clears the ink";
}

TEST_F(CCoreTest, OtherFailuresOfAStrokeAreReportedAtOnce) {
  start();
  const int statuses[] = {7002};
  control_.script_add_stroke(statuses, 1);
  EXPECT_EQ(submit(kWord), InkOutcome::dropped);
  auto lock = shell_.lock();
  EXPECT_EQ(shell_.stroke_errors, 0);
  ASSERT_EQ(shell_.engine_errors.size(), 1u);
  EXPECT_EQ(shell_.engine_errors[0].second, 7002);
}

TEST_F(CCoreTest, InkBeyondTheLimitsReachesNoPaneAndPointsAreClampedTo16Bits) {
  start();
  const Ink too_many(51, std::vector<InkPoint>{{1, 1}});
  EXPECT_EQ(submit(too_many), InkOutcome::refused);
  EXPECT_EQ(control_.observe().pane.size(), 0u);
  EXPECT_EQ(first_call_at("crAddStroke"), -1);
  ASSERT_TRUE(core_->take_semaphore());
  const Ink far = {{{-40000, 40000}, {-40000, 39990}}, {}};
  const std::vector<InkStrokeView> views(far.begin(), far.end());
  EXPECT_EQ(core_->add_strokes(views, 1), InkOutcome::added);
  const fake_engine::Observed seen = control_.observe();
  ASSERT_EQ(seen.pane.size(), 1u) << "an empty stroke is not handed over";
  EXPECT_EQ(seen.pane[0][0].x, -32768);
  EXPECT_EQ(seen.pane[0][0].y, 32767);
  core_->request();
  clock_.advance(0);
}

TEST_F(CCoreTest, ShuttingDownStopsTheRecognitionAndAsksTheShellNothingMore) {
  start();
  core_->set_params(3, false, false, false);
  script({.text = u"x", .work_ms = 3000, .heeds_stop = false, .ask_after_ms = 1000,
          .questions = {{.alternatives = {u"x", u"y"}}}});
  submit(kWord);
  std::atomic<bool> destroyed{false};
  std::thread destroyer([&] {
    core_.reset();
    destroyed = true;
  });
  while (first_call_at("crmSetStopFlag") < 0) std::this_thread::yield();  // shutdown has begun
  for (int i = 0; i < 100 && !destroyed; ++i) clock_.advance(100);
  destroyer.join();
  ASSERT_TRUE(destroyed);
  {
    auto lock = shell_.lock();
    EXPECT_EQ(shell_.questions_sent, 0) << "no Send while shutting down";
  }
  const std::vector<std::string> names = call_names();
  const auto ended = std::find(names.begin(), names.end(), "crRecognize ended");
  const auto freed = std::find(names.rbegin(), names.rend(), "crFreeCrMan").base() - 1;
  EXPECT_LT(ended, freed) << "the engine is freed only after the recognition ended";
  EXPECT_NE(std::find(names.begin(), names.end(), "crmSetStopFlag"), names.end());
}

TEST_F(CCoreTest, ShuttingDownStopsARecognitionThatHeedsTheStopFlagAtOnce) {
  start();
  script({.text = u"x", .work_ms = 60000, .questions = {}});
  submit(kWord);
  clock_.advance(1000);
  core_.reset();
  EXPECT_EQ(control_.observe().recognitions_ended, 1);
  EXPECT_FALSE(control_.observe().started);
}

}  // namespace
}  // namespace ductra
