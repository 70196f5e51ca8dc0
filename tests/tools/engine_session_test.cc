// The tool's recognition through the exported interface, on a kernel whose
// letter search is a fake: the text, every letter's readings best first,
// the sample's readings, a failed recognition, and the printed forms.
#include "tools/inkrec/engine_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/kernel/kernel.h"
#include "tests/support/data_file.h"
#include "tests/support/fake_letter_search.h"
#include "tests/support/temp_dir.h"
#include "tools/inkrec/sample_output.h"

namespace inkrec::tool {
namespace {

using inkrec::testing::FakeLetterSearch;
using inkrec::testing::FakeLine;
using inkrec::testing::fragment;
using inkrec::testing::reading;

class EngineSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inkrec::testing::write_empty_data_file(dir_.file("qlmain.dt"));
    std::string error;
    ASSERT_TRUE(start_session(session_, dir_.file("qlmain.dt"), {}, &error)) << error;
    void* core = nullptr;
    ASSERT_EQ(crmGetCore(&core), 0);
    fake_ = &inkrec::testing::install_fake_letter_search(*static_cast<Kernel*>(core));
    sample_.line = 7;
    sample_.strokes = {{{100, 100}, {110, 130}, {120, 100}}, {{130, 100}}};
  }

  inkrec::testing::TempDir dir_;
  EngineSession session_;
  FakeLetterSearch* fake_ = nullptr;
  InkSample sample_;
};

TEST_F(EngineSessionTest, GivesTheTextAndEveryLettersReadingsBestFirst) {
  fake_->lines = {FakeLine{{fragment({reading(u'a', 9000), reading(u'o', 8000)}),
                            fragment({reading(u'b')})},
                           {}}};
  for (const bool words : {false, true}) {
    const Recognition recognition = session_.recognize(sample_.strokes, {.words = words});
    ASSERT_EQ(recognition.status, 0);
    EXPECT_EQ(recognition.text, u"ab");
    ASSERT_EQ(recognition.segments.size(), 2u);
    EXPECT_FALSE(recognition.segments[0].word);
    EXPECT_EQ(recognition.segments[0].candidates, (std::vector<std::u16string>{u"a", u"o"}));
    EXPECT_EQ(recognition.segments[1].candidates, (std::vector<std::u16string>{u"b"}));
    EXPECT_GT(recognition.microseconds, 0);
    // Read as two letters, the sample has no whole readings but its text.
    EXPECT_EQ(sample_alternatives(recognition), (std::vector<std::u16string>{u"ab"}));
  }
  fake_->lines = {FakeLine{{fragment({reading(u'o', 9000), reading(u'0', 8800), reading(u'o')})},
                           {}}};
  const Recognition letter = session_.recognize(sample_.strokes, {.words = false});
  EXPECT_EQ(letter.text, u"o");
  EXPECT_EQ(sample_alternatives(letter), (std::vector<std::u16string>{u"o", u"0"}));
}

// The word pass and the splitting of joined writing are the caller's
// choice, each on its own; the letter search sees them in the kernel's
// request.
TEST_F(EngineSessionTest, TheChosenSwitchesReachTheKernelsRequest) {
  void* core = nullptr;
  ASSERT_EQ(crmGetCore(&core), 0);
  const Kernel& kernel = *static_cast<Kernel*>(core);
  fake_->lines = {FakeLine{{fragment({reading(u'a')})}, {}}};
  for (const bool words : {false, true}) {
    for (const bool joined : {false, true}) {
      int word_pass = -1;
      int cursive_split = -1;
      fake_->during_passes = [&](std::uint32_t, bool) {
        word_pass = kernel.params().word_pass;
        cursive_split = kernel.params().cursive_split;
      };
      const Recognition recognition =
          session_.recognize(sample_.strokes, {.words = words, .joined = joined});
      ASSERT_EQ(recognition.status, 0);
      EXPECT_EQ(word_pass, words ? 1 : 0);
      EXPECT_EQ(cursive_split, joined ? 1 : 0);
    }
  }
}

TEST_F(EngineSessionTest, AFailedRecognitionLeavesThePaneEmptyForTheNext) {
  fake_->lines = {FakeLine{{fragment({reading(u'a')})}, {}}};
  fake_->during_passes = [](std::uint32_t, bool) { crmSetStopFlag(); };
  const Recognition stopped = session_.recognize(sample_.strokes, {.words = false});
  EXPECT_EQ(stopped.status, 4034);
  EXPECT_EQ(stopped.text, u"");
  EXPECT_EQ(status_text(4034).find("(status 4034)") != std::string::npos, true);

  fake_->during_passes = nullptr;
  const Recognition next = session_.recognize(sample_.strokes, {.words = false});
  EXPECT_EQ(next.status, 0);
  EXPECT_EQ(next.text, u"a");
}

TEST_F(EngineSessionTest, PrintsEachSampleReadablyOrAsOneJsonObject) {
  fake_->lines = {FakeLine{{fragment({reading(u'"', 9000), reading(u'\'', 8000)}),
                            fragment({reading(u'b')})},
                           {}}};
  const Recognition recognition = session_.recognize(sample_.strokes, {.words = false});
  ASSERT_EQ(recognition.status, 0);
  EXPECT_EQ(readable_result(sample_, recognition),
            "line 7: \"\"b\"\n"
            "  letter: \"\"\" \"'\"\n"
            "  letter: \"b\"\n");
  EXPECT_EQ(json_result(sample_, recognition),
            "{\"line\":7,\"status\":0,\"text\":\"\\\"b\",\"segments\":["
            "{\"kind\":\"letter\",\"candidates\":[\"\\\"\",\"'\"]},"
            "{\"kind\":\"letter\",\"candidates\":[\"b\"]}]}\n");

  sample_.labelled = true;
  sample_.label = "a\\b";
  sample_.writer = "w0002";
  Recognition failed;
  failed.status = 4034;
  const std::string json = json_result(sample_, failed);
  EXPECT_TRUE(json.starts_with(
      "{\"line\":7,\"label\":\"a\\\\b\",\"writer\":\"w0002\",\"status\":4034,\"error\":\""))
      << json;
  EXPECT_TRUE(json.ends_with("\"text\":\"\",\"segments\":[]}\n")) << json;
  EXPECT_EQ(readable_result(sample_, failed), "line 7: not recognised: " + status_text(4034) + "\n");
  EXPECT_EQ(json_string("tab\there\x01"), "\"tab\\u0009here\\u0001\"");
}

}  // namespace
}  // namespace inkrec::tool
