// Hand-built text for the tests of the word search: a run context over
// made-up text lines whose candidates are short strokes drawn side by side
// (one stroke a candidate unless said otherwise), letter results over them
// with made-up readings, the plain reading (the figure output) chosen from
// them, and the English word list of tests/fixtures/english_words.txt with
// a user dictionary beside it.
//
// Readings are made as the letter evaluation makes them: from a writing
// variant (a key of their own, kind 0).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/dictionary_set.h"
#include "engine/database/user_dictionary.h"
#include "engine/foundation/char_classes.h"
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_result.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/word_box_search.h"
#include "engine/segmentation/word_boxes.h"
#include "tests/support/data_file.h"
#include "tests/support/english_word_list.h"
#include "tests/support/ink.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

struct WordReading {
  char16_t code;
  std::int32_t total;
};

class WordBench {
 public:
  static constexpr std::int16_t kLetterHeight = 40;
  static constexpr std::int32_t kPitch = 30;  // between candidates of a word
  static constexpr std::uint32_t kEnglish = 5;

  WordBench() : classes_(&identity_, false) {
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) identity_.push_back(c);
    write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    kernel_ = std::make_unique<Kernel>(store_.get(), nullptr);
    context_.emplace(*kernel_, work_);
    work_.settings.letter_height = kLetterHeight;
    work_.strokes.reserve_total(256);
    work_.bodies.reserve_total(256);
  }

  // A text line whose candidates stand at the x given, each a stroke of
  // its own unless `strokes` names the stroke of each (strokes numbered
  // from 0 over the whole bench, in writing order).
  std::uint16_t add_line(const std::vector<int>& xs, std::vector<int> strokes = {}) {
    const auto line = static_cast<std::uint16_t>(work_.text_lines.size());
    TextLine* text = work_.text_lines.push_default();
    EXPECT_NE(text, nullptr);
    text->id = static_cast<std::int16_t>(line + 1);
    const int top = 100 + line * 100;
    for (std::uint32_t k = 0; k < xs.size(); ++k) {
      const int stroke = strokes.empty() ? static_cast<int>(work_.strokes.size()) : strokes[k];
      while (static_cast<int>(work_.strokes.size()) <= stroke) add_stroke(line, xs[k], top);
      FigureRecord* figure = work_.bodies.push_default();
      ink_.push_back(test::point_records(bar(xs[k], top)));
      figure->run = test::run_of(ink_.back());
      figure->line_index = line;
      figure->number = static_cast<std::uint16_t>(work_.bodies.size() - 1);
      figure->stroke_index = static_cast<std::uint16_t>(stroke);
      figure->piece = 0;
      figure->piece_key = 0;
      figure->position = static_cast<std::uint16_t>(k);
      EXPECT_EQ(figure_prepare_glyph(*figure, true), kOk);
      EXPECT_EQ(text->candidates.push_back(figure), kOk);
    }
    return line;
  }

  // A letter result over `count` candidates of the line from `first` on,
  // read as the readings (best first). Results go in order of their first
  // position.
  LetterResult* add_result(std::uint16_t line, std::uint32_t first, std::uint32_t count,
                           const std::vector<WordReading>& readings) {
    TextLine& text = work_.text_lines[line];
    LetterResult* result = text.letter_results.add_new();
    EXPECT_NE(result, nullptr);
    for (std::uint32_t p = first; p < first + count; ++p) {
      FigureRecord* figure = text.candidates[p];
      EXPECT_EQ(result->figures.push_back(figure), kOk);
      EXPECT_EQ(result->coverage.set(p), kOk);
      EXPECT_EQ(result->members.set(figure->number), kOk);
    }
    for (const WordReading& reading : readings) {
      Answer answer = Answer::from_code(static_cast<std::uint16_t>(reading.code));
      answer.key = ++last_key_;
      answer.saved_codes[0] = answer.codes[0];
      answer.components[Answer::kLetterScore] = reading.total;
      EXPECT_EQ(result->answers->insert(answer), kOk);
    }
    result->index = static_cast<std::int32_t>(next_index_++);
    EXPECT_EQ(group_prepare_glyph(*result, true), kOk);
    return result;
  }

  // Single-candidate results over a whole line, one per code of `first`
  // (each read second as the code of `second` at the same place, with the
  // total given), the plain reading made of them.
  std::vector<LetterResult*> add_word(std::uint16_t line, const std::u16string& first,
                                      const std::u16string& second = u"",
                                      std::int32_t first_total = 9000,
                                      std::int32_t second_total = 8500) {
    std::vector<LetterResult*> results;
    for (std::uint32_t p = 0; p < first.size(); ++p) {
      std::vector<WordReading> readings{{first[p], first_total}};
      if (p < second.size() && second[p] != first[p]) readings.push_back({second[p], second_total});
      results.push_back(add_result(line, p, 1, readings));
      add_plain(results.back());
    }
    return results;
  }

  void add_plain(FigureGroup* group) { EXPECT_EQ(output_.push_back(group), kOk); }

  // A segment record of the box, a group starting at it.
  static void add_record(WordBox& box, std::uint16_t line, std::uint16_t position,
                         std::uint32_t kind) {
    BoxSegment* record = box.records.push_default();
    ASSERT_NE(record, nullptr);
    record->line = line;
    record->position = position;
    record->kind = kind;
    record->own_group = 1;
  }

  // Gap records for the plain reading's neighbours: profile gaps of `gap`
  // (x_gap and least distance too), and the distance of every stroke pair.
  void measure_gaps(std::int16_t gap, std::int16_t stroke_distance) {
    work_.gaps.clear();
    for (std::uint32_t k = 0; k + 1 < output_.size(); ++k) {
      GapRecord record;
      record.x_gap = gap;
      record.least_distance = gap;
      record.profile_gap = gap;
      EXPECT_EQ(work_.gaps.push_back(record), kOk);
    }
    const std::uint32_t n = work_.strokes.size();
    ASSERT_EQ(work_.stroke_pairs.reserve(n), kOk);
    ASSERT_EQ(work_.stroke_pairs.entries().resize(n * (n == 0 ? 0 : n - 1) / 2), kOk);
    for (PairMetrics& pair : work_.stroke_pairs.entries()) {
      pair.measures[0] = stroke_distance;
      pair.angle = 0;
    }
  }

  // The distance between strokes i and j (after measure_gaps).
  void set_stroke_distance(std::uint32_t i, std::uint32_t j, std::int16_t distance) {
    PairMetrics* pair = work_.stroke_pairs.at(i, j);
    ASSERT_NE(pair, nullptr);
    pair->measures[0] = distance;
  }

  // A user dictionary of English holding the word.
  void add_user_word(const std::u16string& word) {
    UserDictionaryList& list = english_.set()->user_dictionaries();
    std::uint32_t position = 0;
    if (!list.find_charset(kEnglish, &position)) {
      ASSERT_EQ(list.add_dictionary(kEnglish), kOk);
      ASSERT_TRUE(list.find_charset(kEnglish, &position));
    }
    UserDictionary* dictionary = nullptr;
    ASSERT_EQ(list.at_mutable(position, &dictionary), kOk);
    ASSERT_EQ(dictionary->add_plain_letters(word), kOk);
    ASSERT_EQ(dictionary->add_word(word, 5000), kOk);
    // Selecting the charset again finds its user dictionary.
    ASSERT_EQ(english_.set()->select_charset(0), kOk);
    ASSERT_EQ(english_.set()->select_charset(kEnglish), kOk);
  }

  WordSearchScope scope() {
    return WordSearchScope(*context_, output_, list_, identity_, classes_,
                           {english_charsets_, with_dictionary ? english_.set() : nullptr});
  }

  int search() {
    WordSearchScope s = scope();
    return recognize_word_boxes(s);
  }

  RecognitionContext& context() { return *context_; }
  Kernel& kernel() { return *kernel_; }
  LineWork& work() { return work_; }
  WordBoxList& list() { return list_; }
  PtrArray<FigureGroup>& output() { return output_; }
  const PtrArray<FigureGroup>& output() const { return output_; }
  const CharClassTables& classes() const { return classes_; }

  bool with_dictionary = true;

 private:
  static std::vector<PackedPoint> bar(int x, int top) {
    std::vector<PackedPoint> points;
    for (int k = 0; k <= 8; ++k) {
      points.push_back({static_cast<std::int16_t>(x + k), static_cast<std::int16_t>(top + 5 * k)});
    }
    return points;
  }

  void add_stroke(std::uint16_t line, int x, int top) {
    StrokeRecord* stroke = work_.strokes.push_default();
    ink_.push_back(test::point_records(bar(x, top)));
    stroke->run = test::run_of(ink_.back());
    stroke->number = static_cast<std::uint16_t>(work_.strokes.size() - 1);
    stroke->order_key = static_cast<std::int16_t>(stroke->number);
    stroke->line_index = line;
    EXPECT_EQ(figure_prepare_glyph(*stroke, true), kOk);
  }

  DynArray<std::uint32_t> identity_;
  CharClassTables classes_;
  TempDir dir_;
  std::unique_ptr<DataStore> store_;
  std::unique_ptr<Kernel> kernel_;
  LineWork work_;
  std::optional<RecognitionContext> context_;
  std::deque<std::vector<PointRecord>> ink_;
  PtrArray<FigureGroup> output_{16, false};
  WordBoxList list_;
  EnglishDictionaries english_;
  const std::uint32_t english_charsets_[1] = {kEnglish};
  std::uint16_t last_key_ = 0;
  std::uint32_t next_index_ = 0;
};

}  // namespace inkrec::testing
