#include "app/shell/controller.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/shell/shell_messages.h"
#include "tests/app/shell_test_support.h"

namespace ductra {
namespace {

using testing::ShellTest;
using Log = std::vector<std::string>;

class ControllerTest : public ShellTest {
 protected:
  void start() {
    run(u"start");
    parts_.log.clear();
  }

  // Sends from the test thread, as another thread of the process would.
  void send(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
    system_.send_message(shell_window(), message, wparam, lparam);
    clock_.advance(0);
  }

  bool logged(const std::string& entry) { return parts_.log.count(entry) > 0; }
};

TEST_F(ControllerTest, BuildsItsPartsInOrderAndStartsActiveWhenItsInputMethodIsCurrent) {
  parts_.stored_values.recognize_mode = 3;
  parts_.stored_values.time_out = 600;
  parts_.stored_values.pen_width = 4;
  run(u"start");
  const Log expected = {"prompt colours emptied",  // by the start, before the shell window
                        "settings defaults", "configurations built", "prompt created", "screen metrics",
                        "configurations loaded", "configurations default", "settings loaded", "language 1049",
                        "tool window created", "keyboard created", "mode posted", "segmenter 600",
                        "ink layer 4 mode 3",
                        // set_active(true): the switch (capture stopped meanwhile), then the flag
                        "capture mode 2", "configuration applied", "capture mode 2", "indicator inactive",
                        "indicator active", "capture mode 0",
                        // and the switch of an active controller
                        "capture mode 2", "configuration applied", "capture mode 0", "indicator active"};
  EXPECT_EQ(parts_.log.entries(), expected);
  EXPECT_TRUE(control_.observe().started);
}

TEST_F(ControllerTest, WithAnotherInputMethodCurrentItStartsInactive) {
  parts_.panel = InputPanel::State{false, true};
  start();
  EXPECT_EQ(parts_.capture_mode, kCaptureStopped);
  EXPECT_FALSE(published_controller()->is_active());
}

TEST_F(ControllerTest, TheTickRunsEveryHundredMillisecondsAndHandsRestedInkToTheEngine) {
  start();
  clock_.advance(299);
  EXPECT_EQ(parts_.log.count("pen time-out asked 400"), 2);
  EXPECT_EQ(parts_.log.count("hold test"), 2);
  parts_.pen_rested = true;
  clock_.advance(1);
  EXPECT_EQ(parts_.log.count("strokes added"), 1);
  EXPECT_TRUE(logged("capture mode 3"));
  EXPECT_TRUE(logged("result delivered")) << "the engine thread posted its result";
  EXPECT_EQ(control_.observe().requests.size(), 1u);
  EXPECT_EQ(control_.observe().recognitions_ended, 1);
}

TEST_F(ControllerTest, InkTheEngineCouldNotTakeIsHandedOverOnceMoreThroughTheShellWindow) {
  const int out_of_memory = -1;
  control_.script_add_stroke(&out_of_memory, 1);
  start();
  parts_.pen_rested = true;
  clock_.advance(100);
  EXPECT_EQ(parts_.log.count("strokes added"), 2) << "WM_DUCTRA_STROKE_ERROR submits again";
  EXPECT_EQ(control_.observe().requests.size(), 1u);
  EXPECT_EQ(parts_.log.count("result delivered"), 1);
}

TEST_F(ControllerTest, WhileABoxIsOpenThePenTimeOutIsNotTested) {
  start();
  published_controller()->set_modal_box(true);  // the UI thread is blocked: nothing runs meanwhile
  clock_.advance(500);
  EXPECT_EQ(parts_.log.count("pen time-out asked 400"), 0);
  published_controller()->set_modal_box(false);
  clock_.advance(100);
  EXPECT_EQ(parts_.log.count("pen time-out asked 400"), 1);
}

// The engine thread asks the shell during a recognition it runs with the
// semaphore held; a tick inside the alternatives menu must not hand over
// more ink, which would wait for that semaphore on the very thread the
// recognition waits for.
TEST_F(ControllerTest, ATickInsideTheAlternativesMenuHandsNothingOver) {
  parts_.stored_values.use_prompt = 3;
  fake_engine::Recognition recognition{.text = u"ok", .questions = {{.kind = 1, .alternatives = {u"ok", u"oh"}}}};
  control_.script_recognition(&recognition);
  int time_out_asks_in_menu = -1;
  parts_.during_variants_menu = [&] {
    const int before = parts_.log.count("pen time-out asked 400");
    parts_.pen_rested = true;
    published_controller()->on_timer(kTickTimer);
    time_out_asks_in_menu = parts_.log.count("pen time-out asked 400") - before;
    parts_.pen_rested = false;
  };
  start();
  parts_.pen_rested = true;
  clock_.advance(100);
  EXPECT_TRUE(logged("variants menu"));
  EXPECT_EQ(time_out_asks_in_menu, 0);
  EXPECT_EQ(parts_.log.count("strokes added"), 1);
  EXPECT_TRUE(logged("result delivered"));
}

TEST_F(ControllerTest, TheRequestSwitchesFollowTheRecognitionModeAndTheConfiguration) {
  struct Case {
    int mode;
    bool configuration_dictionary;
    std::uint8_t long_limit;
    std::uint8_t dictionary;
    std::int32_t engine_mode;
  };
  const Case cases[] = {
      {0, false, 1, 1, 0}, {1, false, 0, 0, 0}, {1, true, 0, 1, 0},
      {2, false, 1, 1, 2}, {3, true, 0, 1, 0},  {3, false, 0, 0, 0},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " dictionary " << c.configuration_dictionary);
    parts_.values.recognize_mode = c.mode;
    parts_.configuration_dictionary = c.configuration_dictionary;
    parts_.pen_rested = true;
    clock_.advance(100);
    const crRecognitionParams request = control_.observe().requests.back();
    EXPECT_EQ(request.cursive_split, c.long_limit);
    EXPECT_EQ(request.word_pass, c.dictionary);
    EXPECT_EQ(request.mode, c.engine_mode);
  }
}

TEST_F(ControllerTest, BackspaceRepeatsFasterWhileHeldAndStopsOnReleaseOrDeactivation) {
  start();
  post(WM_DUCTRA_REPEAT_START);
  clock_.advance(20 * kKeyRepeatMs);
  std::vector<std::size_t> counts;
  for (const std::u16string& units : parts_.sent_units()) {
    EXPECT_EQ(units.find_first_not_of(u'\b'), std::u16string::npos);
    counts.push_back(units.size());
  }
  const std::vector<std::size_t> expected = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5};
  EXPECT_EQ(counts, expected);
  post(WM_DUCTRA_REPEAT_STOP);
  clock_.advance(1000);
  EXPECT_EQ(parts_.sent_units().size(), expected.size());

  post(WM_DUCTRA_REPEAT_START);
  clock_.advance(kKeyRepeatMs);
  post(WM_QUILLPAD_HIDING);  // long after the first show: deactivates
  clock_.advance(1000);
  EXPECT_EQ(parts_.sent_units().size(), expected.size() + 1) << "deactivation stops the repeat";
}

TEST_F(ControllerTest, MessagesActOnlyOnTheirOwnArguments) {
  struct Case {
    const char* what;
    std::uint32_t message;
    platform::WParam wparam;
    platform::LParam lparam;
    const char* effect;  // a log entry; null: nothing logged
  };
  const NotifyHeader hold{{}, 0, kNotifyTapAndHold};
  const NotifyHeader other{{}, 0, 5};
  const Case cases[] = {
      {"next configuration", WM_DUCTRA_NEXT_CONFIGURATION, 0, kNextConfigurationPressed, "next configuration"},
      {"next configuration, released", WM_DUCTRA_NEXT_CONFIGURATION, 0, 514, nullptr},
      {"next configuration, other wParam", WM_DUCTRA_NEXT_CONFIGURATION, 1, kNextConfigurationPressed, nullptr},
      {"screen reset", platform::WM_SETTINGCHANGE, platform::SETTINGCHANGE_RESET, 0, "screen metrics refreshed"},
      {"other setting change", platform::WM_SETTINGCHANGE, 0x3003, 0, nullptr},
      {"tap and hold", platform::WM_NOTIFY, 0, reinterpret_cast<platform::LParam>(&hold), "options menu at 7,9 with separate letters"},
      {"other notification", platform::WM_NOTIFY, 0, reinterpret_cast<platform::LParam>(&other), nullptr},
      {"options", WM_QUILLPAD_OPTIONS, 0, 0, "sheet run"},
      {"recognized", WM_DUCTRA_RECOGNIZED, 0, 0, "result delivered"},
      {"mode-three strokes", WM_DUCTRA_INK, kInkStrokesDone, 0, "mode-three strokes"},
      // The backspace gesture and the end of a mode-three run finish an ink.
      {"backspace gesture", WM_DUCTRA_INK, kInkOneUnit, 8, "pen awaited"},
      {"mode-three run over", platform::WM_TIMER, kModeThreeTimer, 0, "pen awaited"},
      {"ink of an unknown kind", WM_DUCTRA_INK, 7, 0, nullptr},
      {"component released", WM_QUILLPAD_RELEASED, 0, 0, nullptr},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    parts_.log.clear();
    send(c.message, c.wparam, c.lparam);
    if (c.effect != nullptr) {
      EXPECT_TRUE(logged(c.effect));
    } else {
      EXPECT_EQ(parts_.log.entries(), Log{});
    }
  }
}

TEST_F(ControllerTest, ASwitchStartedWhileOneRunsReturnsAtOnceAndCaptureStopsMeanwhile) {
  start();
  int nested = -1;
  parts_.during_apply = [&] { nested = published_controller()->switch_configuration(); };
  send(WM_DUCTRA_NEXT_CONFIGURATION, 0, kNextConfigurationPressed);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(parts_.log.entries(), (Log{"next configuration", "capture mode 2", "configuration applied",
                                       "capture mode 0", "indicator active"}));

  parts_.during_apply = nullptr;
  parts_.log.clear();
  parts_.options_choice = kOptionsFirstConfigurationItem + 26;
  const NotifyHeader hold{{}, 0, kNotifyTapAndHold};
  send(platform::WM_NOTIFY, 0, reinterpret_cast<platform::LParam>(&hold));
  EXPECT_EQ(parts_.log.entries(),
            (Log{"capture mode 2", "options menu at 7,9 with separate letters", "capture mode 0",
                 "select configuration 26", "capture mode 2", "configuration applied", "capture mode 0",
                 "indicator active"}));
}

TEST_F(ControllerTest, AHidingRightAfterTheFirstShowingShowsThePanelAgain) {
  parts_.panel = InputPanel::State{true, false};
  start();
  post(WM_QUILLPAD_SHOWING);  // the panel was not shown yet: the show time is taken
  clock_.advance(99);
  parts_.log.clear();
  post(WM_QUILLPAD_HIDING);
  EXPECT_EQ(parts_.log.entries(), Log{"panel shown"});
  clock_.advance(1);
  parts_.log.clear();
  post(WM_QUILLPAD_HIDING);
  EXPECT_TRUE(logged("indicator inactive"));
  EXPECT_EQ(parts_.capture_mode, kCaptureStopped);
}

TEST_F(ControllerTest, ShowingWhileABoxIsOpenChangesNothing) {
  parts_.panel = InputPanel::State{false, false};
  start();
  published_controller()->set_modal_box(true);
  post(WM_QUILLPAD_SHOWING);
  EXPECT_EQ(parts_.log.entries(), Log{});
  published_controller()->set_modal_box(false);
  post(WM_QUILLPAD_SHOWING);
  EXPECT_TRUE(published_controller()->is_active());
}

TEST_F(ControllerTest, TheShowingTellsThatThePenIsAwaitedOnceCaptureIsOnForGood) {
  start();
  // The start switches the configuration once more after switching on.
  EXPECT_FALSE(logged("pen awaited"));
  parts_.log.clear();
  post(WM_QUILLPAD_SHOWING);
  const Log shown = parts_.log.entries();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), "pen awaited");
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "pen awaited"), 1);
  EXPECT_EQ(parts_.capture_mode, kCaptureOn);
}

TEST_F(ControllerTest, DeselectWhileTheSheetIsOpenDeactivatesButKeepsRunning) {
  start();
  parts_.sheet_open = true;
  post(WM_QUILLPAD_DESELECT);
  EXPECT_FALSE(published_controller()->is_active());
  EXPECT_FALSE(logged("settings saved"));
  EXPECT_FALSE(ui_->has_ended());
}

TEST_F(ControllerTest, SettingsTakenFromTheSheetRebuildTheInkLayerAndTheSegmenter) {
  start();
  parts_.sheet_result = SheetControl::Result::ok;
  parts_.values.recognize_mode = 3;
  parts_.values.pen_width = 6;
  parts_.values.large_moving_icon = true;
  post(WM_QUILLPAD_OPTIONS);
  const Log expected = {"indicator inactive", "capture mode 2", "sheet run", "configurations saved",
                        "tool position saved", "settings saved", "ink layer destroyed", "ink layer 6 mode 3",
                        "segmenter 400", "tool window destroyed", "tool window created", "mode posted",
                        "capture mode 2", "configuration applied", "capture mode 2", "indicator inactive",
                        "capture mode 2", "configuration applied", "capture mode 2", "indicator inactive",
                        "indicator active", "capture mode 0"};
  EXPECT_EQ(parts_.log.entries(), expected);
  parts_.log.clear();
  parts_.sheet_result = SheetControl::Result::already_running;
  post(WM_QUILLPAD_OPTIONS);
  EXPECT_TRUE(logged("error box 46 255"));
}

}  // namespace
}  // namespace ductra
