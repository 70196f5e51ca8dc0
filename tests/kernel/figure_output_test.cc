// The read-only interface over the figure output: groups, their figures
// with their indices and candidate lists, and their answers, read from a
// list made by hand as the line loop makes it.
#include "inkrec/figure_output.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/foundation/ptr_array.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "engine/records/letter_result.h"

namespace inkrec {
namespace {

Answer reading(char16_t code, std::uint16_t shape, std::uint32_t state, std::int32_t score) {
  Answer answer = Answer::from_code(code);
  answer.key = code;  // a list keeps one answer per key
  answer.source_word = shape;
  answer.state = state;
  answer.set_component(Answer::kLetterScore, score);
  return answer;
}

std::vector<crFigOutReading> readings_of(const void* list, std::uint32_t group, int figure,
                                         std::uint32_t candidate_list = 0) {
  std::uint32_t count = 0;
  const int first = figure < 0 ? crFigOutGroupAnswers(list, group, nullptr, 0, &count)
                               : crFigOutFigureReadings(list, group, figure, candidate_list,
                                                        nullptr, 0, &count);
  EXPECT_EQ(first, kOk);
  std::vector<crFigOutReading> out(count);
  const int second = figure < 0 ? crFigOutGroupAnswers(list, group, out.data(), count, &count)
                                : crFigOutFigureReadings(list, group, figure, candidate_list,
                                                         out.data(), count, &count);
  EXPECT_EQ(second, kOk);
  return out;
}

class FigureOutputTest : public ::testing::Test {
 protected:
  FigureOutputTest() {
    figures_[0].number = 0;
    figures_[1].number = 1;
    figures_[2].number = 2;
    EXPECT_EQ(figures_[0].candidates[0].insert(reading(u'l', 12005, 1, 9000)), kOk);
    EXPECT_EQ(figures_[0].candidates[0].insert(reading(u'1', 12040, 3, 5000)), kOk);
    EXPECT_EQ(figures_[0].candidates[1].insert(reading(u'|', 830, 1, 7000)), kOk);
    EXPECT_EQ(figures_[1].candidates[0].insert(reading(u'o', 12011, 1, 8000)), kOk);
    EXPECT_EQ(figures_[2].candidates[0].insert(reading(u'.', 484, 1, 9500)), kOk);
    for (int f = 0; f < 2; ++f) EXPECT_EQ(word_.figures.push_back(&figures_[f]), kOk);
    EXPECT_EQ(word_.answers->insert(reading(u'b', 12020, 1, 8800)), kOk);
    EXPECT_EQ(word_.answers->insert(reading(u'd', 0, 2, 6000)), kOk);
    EXPECT_EQ(stop_.figures.push_back(&figures_[2]), kOk);
    EXPECT_EQ(stop_.answers->insert(reading(u'.', 484, 1, 9500)), kOk);
    EXPECT_EQ(output_.push_back(&word_), kOk);
    EXPECT_EQ(output_.push_back(&stop_), kOk);
  }

  FigureRecord figures_[3];
  LetterResult word_;
  LetterResult stop_;
  PtrArray<FigureGroup> output_{16, false};
};

TEST_F(FigureOutputTest, GroupsFiguresAndTheirListsReadInOrder) {
  const void* list = &output_;
  std::uint32_t count = 0;
  ASSERT_EQ(crFigOutGroupCount(list, &count), kOk);
  EXPECT_EQ(count, 2u);
  ASSERT_EQ(crFigOutFigureCount(list, 0, &count), kOk);
  EXPECT_EQ(count, 2u);
  std::int16_t index = -1;
  ASSERT_EQ(crFigOutFigureIndex(list, 1, 0, &index), kOk);
  EXPECT_EQ(index, 2);

  const std::vector<crFigOutReading> letters = readings_of(list, 0, 0, 0);
  ASSERT_EQ(letters.size(), 2u);
  EXPECT_EQ(letters[0].character, u'l');
  EXPECT_EQ(letters[0].figure_code, 12005);
  EXPECT_EQ(letters[0].state, 1u);
  EXPECT_EQ(letters[1].character, u'1');
  EXPECT_EQ(letters[1].state, 3u);
  const std::vector<crFigOutReading> marks = readings_of(list, 0, 0, 1);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].figure_code, 830);
  EXPECT_TRUE(readings_of(list, 0, 0, 3).empty());

  const std::vector<crFigOutReading> answers = readings_of(list, 0, -1);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].character, u'b');
  EXPECT_EQ(answers[0].figure_code, 12020);
  EXPECT_EQ(answers[1].state, 2u);
}

// Less room than entries copies what fits and still tells the count.
TEST_F(FigureOutputTest, ACallerWithLessRoomGetsTheFirstEntriesAndTheCount) {
  crFigOutReading one{};
  std::uint32_t count = 0;
  ASSERT_EQ(crFigOutGroupAnswers(&output_, 0, &one, 1, &count), kOk);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(one.character, u'b');
}

TEST_F(FigureOutputTest, WhatLiesOutsideTheListIsRefused) {
  const void* list = &output_;
  std::uint32_t count = 0;
  std::int16_t index = 0;
  crFigOutReading one{};
  EXPECT_EQ(crFigOutGroupCount(nullptr, &count), kBadArgument);
  EXPECT_EQ(crFigOutGroupCount(list, nullptr), kBadArgument);
  EXPECT_EQ(crFigOutFigureCount(list, 2, &count), kBadArgument);
  EXPECT_EQ(crFigOutFigureIndex(list, 0, 2, &index), kBadArgument);
  EXPECT_EQ(crFigOutFigureReadings(list, 0, 0, 4, nullptr, 0, &count), kBadArgument);
  EXPECT_EQ(crFigOutFigureReadings(list, 0, 0, 0, nullptr, 1, &count), kBadArgument);
  EXPECT_EQ(crFigOutGroupAnswers(list, 5, &one, 1, &count), kBadArgument);
}

}  // namespace
}  // namespace inkrec
