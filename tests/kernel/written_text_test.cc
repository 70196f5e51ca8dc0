// The letter search behind crRecognize on real ink: characters written by
// UNIPEN writers the database was not trained on (the held-out samples of
// the fixture "letter_samples.txt"), set side by side as a line, against a
// database trained in the test from other writers' samples, without word
// lists. Also the stop and quick flags met during the line loop, and the
// figure output the debug modes keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/figure_output.h"
#include "inkrec/inkrec.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

using testing::TrainedLetters;
using testing::WrittenSample;

constexpr int kLetterGap = 30;  // between the letters of a word
constexpr int kWordGap = 160;   // between words

// The held-out sample of each character: a writer the database never saw.
std::map<char16_t, WrittenSample> held_out_samples() {
  std::map<char16_t, WrittenSample> samples;
  for (WrittenSample& sample : testing::read_letter_samples()) {
    if (!sample.training) samples.emplace(sample.code, std::move(sample));
  }
  return samples;
}

// The text written left to right in one line: every character's sample
// keeps its height on the samples' common guide lines and is moved along
// to follow the one before it.
std::vector<test::Points> write(const std::u16string& text) {
  static const std::map<char16_t, WrittenSample> samples = held_out_samples();
  std::vector<test::Points> ink;
  int cursor = 0;
  for (const char16_t c : text) {
    if (c == u' ') {
      cursor += kWordGap - kLetterGap;
      continue;
    }
    const WrittenSample& sample = samples.at(c);
    int left = 32767;
    int right = -32768;
    for (const test::Points& stroke : sample.strokes) {
      for (const PackedPoint p : stroke) {
        left = std::min<int>(left, p.x);
        right = std::max<int>(right, p.x);
      }
    }
    for (test::Points stroke : sample.strokes) {
      for (PackedPoint& p : stroke) p.x = static_cast<std::int16_t>(p.x - left + cursor);
      ink.push_back(stroke);
    }
    cursor += right - left + 1 + kLetterGap;
  }
  return ink;
}

class WrittenTextTest : public ::testing::Test {
 protected:
  void add_ink(const std::vector<test::Points>& ink) {
    letters_.kernel().clear_pane();
    for (const test::Points& points : ink) {
      const crStrokeInput stroke{reinterpret_cast<const crPoint*>(points.data()),
                                 static_cast<std::int32_t>(points.size())};
      ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    }
  }
  // Recognises the pane: the status, and the text in *text.
  int recognize(std::u16string* text) {
    std::u16string buffer(256, u'#');
    crRecognitionParams params = letters_.request;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    const int status = crRecognize(&params);
    *text = buffer.substr(0, buffer.find(u'\0'));
    return status;
  }
  std::u16string read(const std::u16string& written, char16_t charset_of) {
    letters_.activate_charset_of(charset_of);
    add_ink(write(written));
    std::u16string text;
    EXPECT_EQ(recognize(&text), kOk);
    return text;
  }

  TrainedLetters letters_;
};

TEST_F(WrittenTextTest, PrintedLettersAndDigitsOfAnotherWriterAreReadAsWritten) {
  for (const char16_t* word : {u"lunar", u"sun", u"race", u"no", u"so"}) {
    EXPECT_EQ(read(word, u'a'), word);
  }
  for (const char16_t* number : {u"358", u"2026", u"147", u"60"}) {
    EXPECT_EQ(read(number, u'0'), number);
  }
}

TEST_F(WrittenTextTest, ADateWrittenInDigitsComesBackWithItsSpaces) {
  EXPECT_EQ(read(u"2026 12 09", u'0'), u"2026 12 09");
}

// A letter search that raises a flag of the kernel when a sweep of the
// line loop begins its first line.
class FlagRaisingSearch final : public LineLetterSearch {
 public:
  enum class Flag { kStop, kQuick };
  FlagRaisingSearch(Kernel& kernel, Flag flag, bool first_sweep)
      : kernel_(kernel), flag_(flag), first_sweep_(first_sweep) {}

 protected:
  int run_line_passes(FragmentState& state, bool first_sweep,
                      PtrArray<FigureGroup>& fragments) override {
    if (first_sweep == first_sweep_) {
      if (flag_ == Flag::kStop) kernel_.set_stop_flag();
      if (flag_ == Flag::kQuick) kernel_.set_quick_flag();
    }
    return LineLetterSearch::run_line_passes(state, first_sweep, fragments);
  }

 private:
  Kernel& kernel_;
  Flag flag_;
  bool first_sweep_;
};

// A stop in the second sweep ends the recognition with 4034 and keeps the
// ink: the next recognition of the same pane reads it.
TEST_F(WrittenTextTest, AStopDuringTheSecondSweepGives4034AndKeepsTheInk) {
  letters_.activate_charset_of(u'0');
  add_ink(write(u"2026 12 09"));
  Kernel& kernel = letters_.kernel();
  kernel.set_letter_search(
      std::make_unique<FlagRaisingSearch>(kernel, FlagRaisingSearch::Flag::kStop, false));
  std::u16string text;
  EXPECT_EQ(recognize(&text), kStopped);
  kernel.set_letter_search(nullptr);
  EXPECT_EQ(recognize(&text), kOk);
  EXPECT_EQ(text, u"2026 12 09");
}

// With the quick flag every word group settles for the first cover the
// search completes (debug mode 2 keeps every cover found); a result still
// comes back.
TEST_F(WrittenTextTest, TheQuickFlagSettlesForTheFirstCoverAndStillGivesAResult) {
  letters_.activate_charset_of(u'a');
  ASSERT_EQ(crmSetDebugMode(2), kOk);
  const auto covers_found = [&] {
    std::uint32_t most = 0;
    for (const TextLine& line : letters_.work().text_lines) {
      for (const LineGroup& group : line.word_groups) {
        most = std::max(most, group.alternatives.size());
      }
    }
    return most;
  };
  std::u16string text;
  add_ink(write(u"lunar"));
  ASSERT_EQ(recognize(&text), kOk);
  EXPECT_GT(covers_found(), 1u);

  Kernel& kernel = letters_.kernel();
  kernel.set_letter_search(
      std::make_unique<FlagRaisingSearch>(kernel, FlagRaisingSearch::Flag::kQuick, true));
  add_ink(write(u"lunar"));
  ASSERT_EQ(recognize(&text), kOk);
  EXPECT_EQ(covers_found(), 1u);
  EXPECT_EQ(text.size(), 5u);
}

// The figure output of one recognised stroke: the figure's first reading
// names the shape of the variant that read it. Modes 2 and 3 keep the
// output after the recognition; mode 0 empties the kernel.
TEST_F(WrittenTextTest, TheDebugModesThatKeepTheFigureOutputNameTheWinningShape) {
  letters_.activate_charset_of(u'0');
  for (const std::uint32_t mode : {0u, 2u, 3u}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(crmSetDebugMode(mode), kOk);
    add_ink(write(u"3"));
    std::u16string text;
    ASSERT_EQ(recognize(&text), kOk);
    EXPECT_EQ(text, u"3");
    void* list = nullptr;
    ASSERT_EQ(crmGetFigOutList(&list), kOk);
    std::uint32_t groups = 0;
    ASSERT_EQ(crFigOutGroupCount(list, &groups), kOk);
    if (mode == 0) {
      EXPECT_EQ(groups, 0u);
      continue;
    }
    ASSERT_EQ(groups, 1u);
    std::int16_t index = -1;
    ASSERT_EQ(crFigOutFigureIndex(list, 0, 0, &index), kOk);
    EXPECT_EQ(index, 0);
    crFigOutReading first{};
    std::uint32_t count = 0;
    ASSERT_EQ(crFigOutFigureReadings(list, 0, 0, 0, &first, 1, &count), kOk);
    ASSERT_GE(count, 1u);
    EXPECT_EQ(first.character, u'3');
    const DataStore& store = letters_.store();
    std::uint16_t shape_of_three = 0;
    for (std::uint32_t v = 0; v < store.variant_count(); ++v) {
      if (store.variant_at(v)->menuc == u'3') shape_of_three = store.variant_at(v)->shape_id;
    }
    EXPECT_NE(shape_of_three, 0);
    EXPECT_EQ(first.figure_code, shape_of_three);
    ASSERT_EQ(crFigOutGroupAnswers(list, 0, &first, 1, &count), kOk);
    EXPECT_EQ(first.figure_code, shape_of_three);
  }
}

}  // namespace
}  // namespace inkrec
