// The program's segmenter of the intelligent mode under the controller, on
// the engine with its default database, where the build has the engine:
// made when the mode is chosen and dropped when it changes, given the
// current configuration's charsets and the TimeOut setting, and the strokes
// the ink layer hands over typed as it shows them.
#ifdef INKREC_SHARED_LIBRARY

#include "app/program/intelligent_mode_segmenter.h"

#include <gtest/gtest.h>

#include "app/configurations/recognition_configurations.h"
#include "app/shell/shell_messages.h"
#include "tests/app/configurations/scratch_device.h"
#include "tests/app/delivery/delivery_fixture.h"
#include "tests/app/failing_allocations.h"
#include "tests/app/shell_test_support.h"
#include "tests/app/written_samples.h"

namespace ductra::testing {
namespace {

constexpr std::uint16_t kEnglishUser = 0x0409;  // English is the current configuration
// Long enough for the input panel to type what it was sent.
constexpr platform::Millis kTypingMs = 100;

class IntelligentModeSegmenterTest : public platform::VirtualTimeTest {
 protected:
  IntelligentModeSegmenterTest() {
    EXPECT_EQ(platform::RuntimeDir::for_device(device_.root(), &runtime_), platform::Status::ok);
    environment_.results = &delivery_;
    environment_.configurations = &configurations_;
    environment_.segmenter = &segmenter_;
    parts_.stored_values.recognize_mode = 3;
  }
  ~IntelligentModeSegmenterTest() override {
    if (ui_) {
      system_.post_message(shell_window(), WM_QUILLPAD_DESELECT, 0, 0);
      clock_.advance(kPromptWaitMs);
      platform::wait_for(*ui_, platform::kInfinite);
    }
    ui_.reset();
    std::filesystem::remove_all(runtime_.path());
  }

  static std::unique_ptr<EngineLibrary> open_engine() {
    std::string error;
    std::unique_ptr<EngineLibrary> library = EngineLibrary::open(INKREC_SHARED_LIBRARY, &error);
    if (!library) throw std::runtime_error(error);
    return library;
  }

  void start() {
    ui_ = platform::Thread::start([this] { return static_cast<std::uint32_t>(ductra_main(u"start", environment_)); });
    clock_.advance(0);
  }

  // The ink layer hands the stroke over, written from `start` to `end` (ms).
  void write(const WrittenStroke& stroke, std::uint32_t start, std::uint32_t end) {
    HandedOverStroke handed{{}, start, end};
    for (const crPoint p : stroke) handed.points.push_back({p.x, p.y});
    parts_.handed_over = handed;
    system_.post_message(shell_window(), WM_DUCTRA_INK, kInkStrokesDone, 0);
    clock_.advance(kTypingMs);
  }

  // The settings sheet closes with OK on these mode and TimeOut settings.
  void change_settings(int recognize_mode, int time_out) {
    parts_.values.recognize_mode = recognize_mode;
    parts_.values.time_out = time_out;
    parts_.sheet_result = SheetControl::Result::ok;
    system_.post_message(shell_window(), WM_QUILLPAD_OPTIONS, 0, 0);
    clock_.advance(kTypingMs);
  }

  std::u16string typed() { return callback_.text(); }

  ScratchDevice device_;
  platform::RuntimeDir runtime_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  quillpad::testing::RecordingCallback callback_;
  quillpad::testing::PanelThread panel_{system_, &callback_};
  FakeParts parts_;
  std::unique_ptr<EngineLibrary> library_ = open_engine();
  Engine engine_{*library_};
  Localizer strings_{"/nonexistent", kEnglishUser, platform::builtin_strings()};
  IntelligentModeSegmenter segmenter_{engine_, parts_};
  RecognitionConfigurations configurations_{engine_, device_.registry(), strings_, system_, parts_, segmenter_,
                                            kEnglishUser};
  FakeDictionaries dictionaries_;
  FakePromptSignal prompt_;
  FakeBubble bubble_;
  ResultDelivery delivery_{
      DeliveryParts{system_, engine_, parts_, strings_, dictionaries_, prompt_, segmenter_, bubble_, u'.'}};
  TestEnvironment environment_{system_, runtime_, engine_, parts_,
                               CoreFiles{DUCTRA_DEFAULT_DATA, device_.root().host() / "rec_param.txt"}};
  std::unique_ptr<platform::Thread> ui_;
  const std::map<char16_t, std::vector<WrittenStroke>> letters_ = held_out_letters();
  const WrittenStroke& stem_ = letters_.at(u'l')[0];
};

TEST_F(IntelligentModeSegmenterTest, StrokesOfTheIntelligentModeAreTypedAsTheSegmenterShowsThem) {
  start();
  ASSERT_TRUE(segmenter_.has_segmenter());
  write(stem_, 1000, 1300);
  EXPECT_EQ(typed(), u"l");
  write(dot_beside(stem_, false), 1400, 1450);
  EXPECT_EQ(typed(), u"!") << "the stem's letter gave way to the character of stem and dot";
  write(letters_.at(u'c')[0], 5000, 5300);
  EXPECT_EQ(typed(), u"!c");
  EXPECT_EQ(panel_.relay_messages(), (std::vector<std::string>{"0 108", "65535 0", "8 8", "0 33", "65535 0",
                                                               "0 99", "65535 0"}));
  EXPECT_TRUE((parts_.log.count("erase ink") > 0));
}

TEST_F(IntelligentModeSegmenterTest, TheSegmenterComesWithTheModeTakesTheNewTimeOutAndGoesWithTheMode) {
  parts_.stored_values.recognize_mode = 0;
  start();
  EXPECT_FALSE(segmenter_.has_segmenter());

  change_settings(3, 400);
  ASSERT_TRUE(segmenter_.has_segmenter());
  write(stem_, 1000, 1300);
  write(dot_beside(stem_, false), 1500, 1550);
  EXPECT_EQ(typed(), u"!") << "the tables match the English configuration's punctuation";

  change_settings(3, 100);
  write(stem_, 3000, 3300);
  write(dot_beside(stem_, false), 3500, 3550);
  EXPECT_EQ(typed().substr(0, 2), u"!l") << "a dot 200 ms after the stem is a run of its own";

  change_settings(0, 100);
  EXPECT_FALSE(segmenter_.has_segmenter());
  const std::u16string before = typed();
  parts_.log.clear();
  write(stem_, 5000, 5300);
  EXPECT_EQ(typed(), before);
  EXPECT_TRUE((parts_.log.count("erase ink") > 0)) << "a stroke without segmenter is erased";
}

TEST_F(IntelligentModeSegmenterTest, WithoutMemoryForTheTablesNoneIsMadeTheErrorIsReportedAndStrokesAreNotTaken) {
  const std::string data = DUCTRA_DEFAULT_DATA;
  ASSERT_EQ(engine_.init(std::u16string(data.begin(), data.end())), 0);
  ReportsWithoutMemory reports;
  IntelligentModeSegmenter segmenter(engine_, reports);
  const std::uint32_t charsets[] = {5, 38};
  segmenter.set_segmenter_charsets(charsets);
  {
    FailingAllocations failing(0);
    segmenter.create_or_limit_segmenter(400);
  }
  EXPECT_FALSE(segmenter.has_segmenter());
  EXPECT_EQ(std::u16string(reports.last.where), u"Segmenter::Segmenter");
  EXPECT_EQ(reports.last.code, -1) << "the out-of-memory box";
  EXPECT_EQ(segmenter.add_stroke(stem_, 1000, 1300).characters, u"");

  // Once memory is there again, a segmenter made later matches the charsets
  // it was given while there was none.
  segmenter.create_or_limit_segmenter(400);
  ASSERT_TRUE(segmenter.has_segmenter());
  ASSERT_EQ(engine_.set_active_charsets(charsets), 0);
  segmenter.add_stroke(stem_, 1000, 1300);
  EXPECT_EQ(segmenter.add_stroke(dot_beside(stem_, false), 1400, 1450).characters, u"!");
  segmenter.destroy_segmenter();
  engine_.free();
}

}  // namespace
}  // namespace ductra::testing

#endif  // INKREC_SHARED_LIBRARY
