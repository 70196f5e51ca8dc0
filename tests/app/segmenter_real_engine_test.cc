// The intelligent-mode segmenter on the engine itself with its default
// database, where the build has the engine: the figure output as the
// segmenter reads it, and what it shows for the handwriting of a writer the
// database never saw.
#ifdef INKREC_SHARED_LIBRARY

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "app/segmenter/engine_figure_output_reader.h"
#include "app/segmenter/segmenter.h"
#include "tests/app/failing_allocations.h"
#include "tests/app/written_samples.h"

namespace ductra {
namespace {

constexpr std::uint32_t kDigits = 3;
constexpr std::uint32_t kEnglish = 5;
constexpr std::uint32_t kPunctuation = 38;

class SegmenterOnTheEngineTest : public ::testing::Test {
 protected:
  static std::unique_ptr<EngineLibrary> open_engine() {
    std::string error;
    std::unique_ptr<EngineLibrary> library = EngineLibrary::open(INKREC_SHARED_LIBRARY, &error);
    if (!library) throw std::runtime_error(error);
    return library;
  }

  ~SegmenterOnTheEngineTest() override {
    segmenter_.reset();
    engine_->free();
  }

  void SetUp() override {
    const std::string data = DUCTRA_DEFAULT_DATA;
    ASSERT_EQ(engine_->init(std::u16string(data.begin(), data.end())), 0);
    segmenter_ = Segmenter::create(*engine_, reader_, kTimeLimit, reports_);
    ASSERT_NE(segmenter_, nullptr);
  }

  // The charsets of the engine and of the segmenter's tables.
  void select(const std::vector<std::uint32_t>& charsets) {
    ASSERT_EQ(engine_->set_active_charsets(charsets), 0);
    ASSERT_TRUE(segmenter_->set_charsets(charsets));
  }

  // Recognises `strokes` as the segmenter does and reads the figure output.
  FigureOutput recognise(const std::vector<testing::WrittenStroke>& strokes) {
    EngineGate::Hold hold(engine_->gate());
    engine_->clear_pane();
    EXPECT_EQ(engine_->set_debug_mode(Segmenter::kKeepFigureOutput), 0);
    for (const testing::WrittenStroke& stroke : strokes) EXPECT_EQ(engine_->add_stroke(stroke), 0);
    char16_t text[16] = {};
    EXPECT_EQ(engine_->recognize(Segmenter::recognition_request(text)), 0);
    void* list = nullptr;
    EXPECT_EQ(engine_->figure_output(&list), 0);
    FigureOutput output;
    EXPECT_EQ(reader_.read(list, &output), 0);
    return output;
  }

  static constexpr std::int32_t kTimeLimit = 400;
  const std::map<char16_t, std::vector<testing::WrittenStroke>> letters_ = testing::held_out_letters();
  std::unique_ptr<EngineLibrary> library_ = open_engine();
  std::unique_ptr<Engine> engine_ = std::make_unique<Engine>(*library_);
  EngineFigureOutputReader reader_{library_->exports()};
  testing::ReportsWithoutMemory reports_;
  std::unique_ptr<Segmenter> segmenter_;
};

TEST_F(SegmenterOnTheEngineTest, TheReaderCopiesEachStrokesFigureWithItsReadingsAndItsGroupsAnswers) {
  select({kDigits, kEnglish, kPunctuation});
  ASSERT_EQ(letters_.size(), 19u);
  for (const auto& [character, strokes] : letters_) {
    SCOPED_TRACE(static_cast<char>(character));
    const FigureOutput output = recognise(strokes);
    ASSERT_EQ(output.size(), 1u);
    ASSERT_EQ(output[0].figures.size(), 1u);
    const OutputFigure& figure = output[0].figures[0];
    EXPECT_EQ(figure.index, 0);
    ASSERT_FALSE(figure.readings.empty());
    ASSERT_FALSE(output[0].answers.empty());
    // The group's answer has had its case chosen from its height on the
    // line; the figure's readings keep the form of the variant that read them.
    EXPECT_EQ(std::towlower(output[0].answers[0].character), std::towlower(figure.readings[0].character));
    EXPECT_EQ(output[0].answers[0].figure_code, figure.readings[0].figure_code);
    for (const Reading& reading : figure.readings) {
      EXPECT_NE(reading.figure_code, 0) << "every reading names the shape that gave it";
      EXPECT_TRUE(reading.state == 1 || reading.state == 2) << reading.state;
    }
  }

  // A stem and a dot above it: one figure per stroke, in stroke order.
  const testing::WrittenStroke& stem = letters_.at(u'l')[0];
  const FigureOutput output = recognise({stem, testing::dot_beside(stem, true)});
  std::vector<int> indices;
  for (const OutputGroup& group : output) {
    for (const OutputFigure& figure : group.figures) indices.push_back(figure.index);
  }
  EXPECT_EQ(indices, (std::vector<int>{0, 1}));
}

// Each character of the writer on its own (a pause beyond the limit before
// every one): one answer each, shown without erasing anything. The database
// reads most of them as written.
TEST_F(SegmenterOnTheEngineTest, EachCharacterWrittenAloneShowsWhatTheEngineReads) {
  struct Case {
    std::vector<std::uint32_t> charsets;
    std::u16string written;
  };
  int as_written = 0;
  int written = 0;
  std::uint32_t tick = 0;
  for (const Case& c : {Case{{kDigits}, u"0123456789"}, Case{{kEnglish}, u"acelnorsu"}}) {
    select(c.charsets);
    std::u16string shown;
    for (const char16_t character : c.written) {
      tick += 10 * kTimeLimit;
      const SegmenterResult result = segmenter_->add_stroke(letters_.at(character)[0], tick, tick + 300);
      EXPECT_EQ(result.error, 0);
      EXPECT_EQ(result.backspaces, 0u);
      ASSERT_EQ(result.characters.size(), 1u);
      shown += result.characters;
      as_written += result.characters[0] == character ? 1 : 0;
      ++written;
    }
    SCOPED_TRACE(std::string(shown.begin(), shown.end()));
    EXPECT_GE(as_written, written * 3 / 4);
  }
  EXPECT_EQ(reports_.reports, 0);
}

// A stem may be the first stroke of an 'i' or a '!': the segmenter keeps it
// and waits, and the dot written next replaces what the stem showed.
TEST_F(SegmenterOnTheEngineTest, AStemWaitsForItsDotAndTheTwoBecomeOneCharacter) {
  select({kEnglish, kPunctuation});
  const testing::WrittenStroke& stem = letters_.at(u'l')[0];
  // Above the stem the engine may read 'i' or '!'; below it only '!'.
  for (const auto& [above, joined] : {std::pair{true, u"i!"}, {false, u"!"}}) {
    SCOPED_TRACE(above);
    const SegmenterResult first = segmenter_->add_stroke(stem, 1000, 1300);
    EXPECT_TRUE(first.waiting);
    EXPECT_EQ(first.ink_to_erase, 0u);
    EXPECT_EQ(first.characters, u"l");
    const SegmenterResult second = segmenter_->add_stroke(testing::dot_beside(stem, above), 1400, 1450);
    EXPECT_EQ(second.error, 0);
    EXPECT_FALSE(second.waiting);
    EXPECT_EQ(second.backspaces, 1u);
    ASSERT_EQ(second.characters.size(), 1u);
    EXPECT_NE(std::u16string_view(joined).find(second.characters[0]), std::u16string_view::npos);
    EXPECT_EQ(segmenter_->kept_strokes(), 0u);
  }
}

// A dot after a pause beyond the limit starts a run of its own: the stem's
// letter stays and the dot is not joined to it.
TEST_F(SegmenterOnTheEngineTest, ADotWrittenAfterTheTimeLimitIsNotJoinedToTheStem) {
  select({kEnglish, kPunctuation});
  const testing::WrittenStroke& stem = letters_.at(u'l')[0];
  segmenter_->add_stroke(stem, 1000, 1300);
  const SegmenterResult dot = segmenter_->add_stroke(testing::dot_beside(stem, true), 1301 + kTimeLimit, 1750);
  EXPECT_EQ(dot.error, 0);
  EXPECT_EQ(dot.backspaces, 0u);
  EXPECT_NE(dot.characters, u"i");
  EXPECT_NE(dot.characters, u"!");
  EXPECT_EQ(segmenter_->kept_strokes(), dot.waiting ? 1u : 0u);
}

}  // namespace
}  // namespace ductra

#endif  // INKREC_SHARED_LIBRARY
