// Hand-built word boxes for the tests of the segment path search: a run
// context over made-up text lines, stroke groups of one figure a position
// with made-up readings, letter paths through them, and segment records
// with links.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/char_classes.h"
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/letter_path.h"
#include "engine/segmentation/segment_path_search.h"
#include "engine/segmentation/word_boxes.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

// A reading of a group: its character and its total.
struct Reading {
  char16_t code;
  std::int32_t total;
};

class SegmentBench {
 public:
  static constexpr std::int16_t kLetterHeight = 40;

  SegmentBench() : classes_(&identity_, false) {
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) identity_.push_back(c);
    write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    kernel_ = std::make_unique<Kernel>(store_.get(), nullptr);
    context_.emplace(*kernel_, work_);
    work_.settings.letter_height = kLetterHeight;
  }

  // A text line of n candidates.
  void add_line(std::uint32_t n) {
    TextLine* line = work_.text_lines.push_default();
    ASSERT_NE(line, nullptr);
    for (std::uint32_t i = 0; i < n; ++i) ASSERT_EQ(line->candidates.push_back(&candidate_), kOk);
  }

  // A group of one figure a position from `position` on, read as the
  // readings (best first, each made from a letter candidate).
  FigureGroup* add_group(std::uint16_t line, std::uint32_t position, std::vector<Reading> readings,
                         std::uint32_t positions = 1) {
    auto answers = std::make_unique<AnswerList>();
    for (const Reading& reading : readings) {
      Answer answer = Answer::from_code(reading.code);
      answer.kind = 1;
      answer.key = ++last_key_;
      answer.components[Answer::kLetterScore] = reading.total;
      EXPECT_EQ(answers->insert(answer), kOk);
    }
    auto group = std::make_unique<FigureGroup>(answers.get());
    for (std::uint32_t p = position; p < position + positions; ++p) {
      FigureRecord& figure = figures_.emplace_back();
      figure.line_index = line;
      EXPECT_EQ(group->figures.push_back(&figure), kOk);
      EXPECT_EQ(group->coverage.set(p), kOk);
    }
    group->index = static_cast<std::int32_t>(groups_.size());
    EXPECT_EQ(groups_.push_back(group.get()), kOk);
    answers_.push_back(std::move(answers));
    owned_groups_.push_back(std::move(group));
    return groups_.item(groups_.size() - 1);
  }

  // The step reading answer `answer` of the group (-1: the first answer's
  // saved codes).
  static LetterStep step_of(FigureGroup* group, int answer) {
    const DynArray<Answer>& answers = group->answers->answers();
    const Answer& read = answers[answer < 0 ? 0u : static_cast<std::uint32_t>(answer)];
    LetterStep step;
    step.group = group;
    step.answer = static_cast<std::int16_t>(answer);
    step.ordinal = static_cast<std::int16_t>(answer < 0 ? 0 : answer);
    step.first_value = read.total();
    step.second_value = answers[0].total() - read.total();
    step.code_count = 1;
    step.codes[0] = answer < 0 ? read.saved_codes[0] : read.codes[0];
    return step;
  }

  // A letter path through the groups, each read with the answer given,
  // ending where a word may end.
  std::unique_ptr<LetterPath> path(std::vector<std::pair<FigureGroup*, int>> steps) {
    auto letters = std::make_unique<LetterPath>();
    for (const auto& [group, answer] : steps) {
      EXPECT_EQ(extend_path(*letters, step_of(group, answer), 2, context(), classes_), kOk);
    }
    return letters;
  }

  // Appends a record; records move as the box grows, so links are added
  // through box.records[i] once the records are in place.
  static void add_record(WordBox& box, std::uint16_t line, std::uint16_t position, bool own_group,
                         std::uint32_t kind = 2, std::int16_t measure = 0) {
    BoxSegment* record = box.records.push_default();
    ASSERT_NE(record, nullptr);
    record->line = line;
    record->position = position;
    record->own_group = own_group ? 1 : 0;
    record->kind = kind;
    record->measure = measure;
  }

  static SegmentLink& add_link(BoxSegment& record, std::int16_t target,
                               std::unique_ptr<LetterPath> letters) {
    SegmentLink* link = record.links.add_new();
    EXPECT_NE(link, nullptr);
    link->target = target;
    EXPECT_EQ(link->paths.push_back_owned(std::move(letters)), kOk);
    return *link;
  }

  int search(WordBox& box) {
    PathSearchScope scope{context(), groups_, statistics, classes_};
    return search_paths(scope, box, box.records.size() - 1);
  }

  RecognitionContext& context() { return *context_; }
  const CharClassTables& classes() const { return classes_; }
  DataStore& store() { return *store_; }
  PtrArray<FigureGroup>& groups() { return groups_; }

  WordBoxStatistics statistics;

 private:
  DynArray<std::uint32_t> identity_;
  CharClassTables classes_;
  TempDir dir_;
  std::unique_ptr<DataStore> store_;
  std::unique_ptr<Kernel> kernel_;
  LineWork work_;
  std::optional<RecognitionContext> context_;
  FigureRecord candidate_;
  std::deque<FigureRecord> figures_;
  std::vector<std::unique_ptr<AnswerList>> answers_;
  std::vector<std::unique_ptr<FigureGroup>> owned_groups_;
  PtrArray<FigureGroup> groups_{16, false};
  std::uint16_t last_key_ = 0;
};

// A path as "record>target/link ..." (target "e" for the box's end), its
// letter strokes, total, weight and weak count.
inline std::string describe(const SegmentPath& path) {
  std::string text;
  for (const SegmentPathStep& step : path.steps) {
    text += std::to_string(step.record) + ">" +
            (step.target < 0 ? std::string("e") : std::to_string(step.target)) + "/" +
            std::to_string(step.link) + (step.weak != 0 ? "w" : "") + " ";
  }
  return text + "| strokes " + std::to_string(path.letter_strokes) + " total " +
         std::to_string(path.total()) + " weight " + std::to_string(path.weight) + " weak " +
         std::to_string(path.weak_count);
}

}  // namespace inkrec::testing
