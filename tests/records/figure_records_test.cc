#include "engine/records/figure_records.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/records/reading_order.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using test::point_records;
using test::run_of;

TEST(FigureRecordTest, NewRecord) {
  const FigureRecord figure;
  EXPECT_EQ(figure.run.points, nullptr);
  EXPECT_EQ(figure.run.count, 0);
  EXPECT_EQ(figure.line_index, 0xFFFF);
  EXPECT_EQ(figure.number, 0);
  EXPECT_EQ(figure.order_key, -1);
  for (const AnswerList& list : figure.candidates) {
    EXPECT_TRUE(list.answers().empty());
    EXPECT_EQ(list.limit(), 20u);
  }
  for (const std::uint16_t key : {figure.stroke_index, figure.piece, figure.piece_key,
                                  figure.first_point, figure.spare_key}) {
    EXPECT_EQ(key, 0xFFFF);
  }
  EXPECT_EQ(figure.whole_stroke, 1);
  EXPECT_EQ(figure.link_references[0], -1);
  EXPECT_EQ(figure.link_references[1], 0);
  EXPECT_EQ(figure.link_references[2], -1);
  EXPECT_EQ(figure.link_references[3], 0);
  EXPECT_EQ(figure.link_kind, 0);
  EXPECT_TRUE(figure.codes.empty());
  EXPECT_EQ(figure.geometry.bounding_box(), Box16{});
}

class StrokeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    stroke_.run = run_of(points_);
    stroke_.number = 7;
    stroke_.order_key = 3;
    stroke_.line_index = 2;
    ASSERT_EQ(figure_prepare_glyph(stroke_, false), kOk);
    stroke_.glyph_block_a();
  }

  std::vector<PointRecord> points_ = point_records({{0, 0}, {6, 0}, {6, 9}});
  StrokeRecord stroke_;
};

TEST_F(StrokeFixture, FigureFromAStrokeIsItsWholeStroke) {
  FigureRecord figure;
  figure.spare_key = 5;
  ASSERT_EQ(figure.from_stroke(stroke_), kOk);
  EXPECT_EQ(figure.stroke_index, 7);
  EXPECT_EQ(figure.piece, 0);
  EXPECT_EQ(figure.piece_key, 0);
  EXPECT_EQ(figure.first_point, 0);
  EXPECT_EQ(figure.order_key, -1);
  EXPECT_EQ(figure.spare_key, 0xFFFF);
  EXPECT_EQ(figure.whole_stroke, 1);
  EXPECT_EQ(figure.number, 7);
  EXPECT_EQ(figure.line_index, 2);
  EXPECT_EQ(figure.run.points, points_.data());
  EXPECT_EQ(figure.geometry.bounding_box(), (Box16{0, 0, 6, 9}));
  // The geometry's raster is the figure's own.
  stroke_.geometry.reset();
  EXPECT_TRUE(figure.geometry.raster_ready());
  EXPECT_EQ(figure.geometry.raster().row_max(5), 6);
}

TEST_F(StrokeFixture, CopiesAreDeep) {
  FigureRecord figure;
  ASSERT_EQ(figure.from_stroke(stroke_), kOk);
  figure.piece = 2;
  figure.link_kind = 2;
  figure.link_references[1] = 11;
  ASSERT_EQ(figure.codes.push_back(0x41), kOk);
  Answer answer;
  answer.components[0] = 9000;
  ASSERT_EQ(figure.candidates[3].answers().push_back(answer), kOk);

  FigureRecord copy;
  ASSERT_EQ(copy.copy_construct(figure), kOk);
  figure.codes.clear();
  figure.candidates[3].answers().clear();
  figure.geometry.reset();
  EXPECT_EQ(copy.piece, 2);
  EXPECT_EQ(copy.link_kind, 2);
  EXPECT_EQ(copy.link_references[1], 11);
  ASSERT_EQ(copy.codes.size(), 1u);
  EXPECT_EQ(copy.codes[0], 0x41);
  ASSERT_EQ(copy.candidates[3].answers().size(), 1u);
  EXPECT_EQ(copy.candidates[3].answers()[0].total(), 9000);
  EXPECT_TRUE(copy.geometry.raster_ready());

  AllocationFailureScope no_memory;
  FigureRecord untouched;
  EXPECT_EQ(untouched.copy_construct(copy), kOutOfMemory);
  EXPECT_EQ(untouched.from_stroke(stroke_), kOutOfMemory);
  EXPECT_EQ(untouched.piece, 0xFFFF);
  EXPECT_EQ(untouched.run.points, nullptr);
}

TEST_F(StrokeFixture, ShortcutsComputeTheRecordsOwnBlocks) {
  EXPECT_EQ(&stroke_.glyph_block_a(), &stroke_.geometry.raster());
  // Only the top row is wider than a pen: 100 * 6 / 10 / 10.
  EXPECT_EQ(stroke_.glyph_block_c().rows, 6);
  GlyphGeometry& geometry = stroke_.prepare_blocks(30, 5);
  EXPECT_EQ(&geometry, &stroke_.geometry);
  EXPECT_TRUE(geometry.descent_ready());
  DynArray<DescentEntry> ordinary;
  EXPECT_EQ(stroke_.glyph_block_e(30, 5, ordinary), kOk);
  EXPECT_EQ(stroke_.glyph_block_e_alt(30, 5), geometry.descent().close_entries.size());
}

TEST(FigureRecordTest, OnePointFigurePrepares) {
  std::vector<PointRecord> dot = point_records({{40, 12}});
  FigureRecord tittle;
  tittle.run = run_of(dot);
  EXPECT_EQ(figure_prepare_glyph(tittle, true), kOk);
  EXPECT_EQ(tittle.geometry.bounding_box(), (Box16{40, 12, 40, 12}));
  EXPECT_EQ(tittle.geometry.ink_length, 1u);
}

// Figures with keys (stroke, piece, piece key); `order_key` numbers them.
DynArray<FigureRecord> figures_with_keys(std::initializer_list<std::array<std::uint16_t, 3>> keys) {
  DynArray<FigureRecord> figures;
  std::int16_t order = 0;
  for (const auto& k : keys) {
    FigureRecord* figure = figures.push_default();
    figure->stroke_index = k[0];
    figure->piece = k[1];
    figure->piece_key = k[2];
    figure->order_key = order++;
  }
  return figures;
}

TEST(FigureLookupTest, KeyedLookUpsInAnArray) {
  DynArray<FigureRecord> figures = figures_with_keys({{1, 0, 0}, {1, 1, 1}, {2, 0, 0}, {1, 1, 1}});
  EXPECT_EQ(figure_array_find(figures, 1, 1, 1), 1u);
  EXPECT_EQ(figure_array_find(figures, 1, 1, 0), 4u);
  std::uint32_t index = 99;
  EXPECT_EQ(figure_array_get(figures, 2, 0, 0, &index), &figures[2]);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(figure_array_get(figures, 3, 0, 0, &index), nullptr);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(figure_array_get2(figures, 1, 1), &figures[1]);
  EXPECT_EQ(find_by_order_key(figures, 3), &figures[3]);
  EXPECT_EQ(find_by_order_key(figures, 9), nullptr);
}

TEST(FigureLookupTest, PointerScansStopAtANullSlot) {
  DynArray<FigureRecord> figures = figures_with_keys({{1, 0, 0}, {2, 0, 0}});
  PtrArray<FigureRecord> pointers;
  ASSERT_EQ(pointers.push_back(&figures[0]), kOk);
  ASSERT_EQ(pointers.push_back(nullptr), kOk);
  ASSERT_EQ(pointers.push_back(&figures[1]), kOk);
  EXPECT_EQ(find_figure_index_by_keys(pointers, 1, 0, 0), 0u);
  EXPECT_EQ(find_figure_index_by_keys(pointers, 2, 0, 0), 3u);
  EXPECT_EQ(find_figure_by_keys(pointers, 2, 0, 0), nullptr);

  DynArray<StrokeRecord> strokes;
  for (std::uint16_t number : {4, 0xFFFF, 6}) {
    StrokeRecord* stroke = strokes.push_default();
    stroke->number = number;
    stroke->order_key = static_cast<std::int16_t>(number + 1);
  }
  EXPECT_EQ(find_stroke_record_a(strokes, 7), &strokes[2]);
  EXPECT_EQ(find_stroke_record_b(strokes, 0xFFFF), &strokes[1]);
  EXPECT_EQ(find_stroke_record_b(strokes, 5), nullptr);
  PtrArray<StrokeRecord> stroke_pointers;
  for (StrokeRecord* stroke :
       {&strokes[0], &strokes[1], static_cast<StrokeRecord*>(nullptr), &strokes[2]}) {
    ASSERT_EQ(stroke_pointers.push_back(stroke), kOk);
  }
  EXPECT_EQ(find_by_key10(stroke_pointers, -1), &strokes[1]);  // number 0xFFFF reads as -1
  EXPECT_EQ(find_by_key12(stroke_pointers, 5), &strokes[0]);
  EXPECT_EQ(find_by_key12(stroke_pointers, 7), nullptr);  // beyond the null slot
}

TEST(FigureLookupTest, EraseAndRemove) {
  DynArray<FigureRecord> figures = figures_with_keys({{1, 0, 0}, {1, 1, 1}, {1, 2, 2}, {2, 0, 0}});
  ASSERT_EQ(figures[1].codes.push_back(7), kOk);
  EXPECT_EQ(figure_array_remove(figures, 1, 1, 0), kBadArgument);
  EXPECT_EQ(figures.size(), 4u);
  EXPECT_EQ(figure_array_erase(figures, 3, 2), kBadArgument);
  EXPECT_EQ(figures.size(), 4u);
  EXPECT_EQ(figure_array_remove(figures, 1, 1, 1), kOk);
  ASSERT_EQ(figures.size(), 3u);
  EXPECT_EQ(figures[1].piece, 2);
  EXPECT_TRUE(figures[1].codes.empty());
  EXPECT_EQ(figure_array_erase(figures, 0, 2), kOk);
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].stroke_index, 2);
}

std::unique_ptr<StrokeAnswers> answers_record(std::int16_t key, std::vector<int> totals) {
  auto record = std::make_unique<StrokeAnswers>();
  record->order_key = key;
  for (int total : totals) {
    Answer answer;
    answer.components[0] = total;
    answer.components[Answer::kPenaltyComponent] = -5000;  // not part of the total
    EXPECT_EQ(record->answers.push_back(answer), kOk);
  }
  return record;
}

TEST(StrokeAnswersTest, SortByKeyThenLowerBestTotal) {
  std::vector<std::unique_ptr<StrokeAnswers>> records;
  records.push_back(answers_record(2, {}));
  records.push_back(answers_record(1, {500, 900}));
  records.push_back(answers_record(1, {}));
  records.push_back(answers_record(1, {300}));
  records.push_back(answers_record(-1, {800}));
  records.push_back(answers_record(1, {400}));
  PtrArray<StrokeAnswers> pointers;
  for (auto& record : records) ASSERT_EQ(pointers.push_back(record.get()), kOk);
  ASSERT_EQ(sort_records_364(pointers), kOk);
  const StrokeAnswers* expected[] = {records[4].get(), records[3].get(), records[5].get(),
                                     records[1].get(), records[2].get(), records[0].get()};
  for (std::uint32_t i = 0; i < 6; ++i) EXPECT_EQ(pointers[i], expected[i]) << i;

  StrokeAnswers* with_null[] = {records[0].get(), nullptr};
  EXPECT_EQ(sort_stroke_answers(with_null, 2), kBadArgument);
  EXPECT_EQ(sort_stroke_answers(nullptr, 0), kBadArgument);
  PtrArray<StrokeAnswers> none(0);
  EXPECT_EQ(sort_records_364(none), kOk);
}

// Real records in reading order: each stroke is a short bar whose band
// centroid places it.
class ReadingOrderRecordsTest : public ::testing::Test {
 protected:
  StrokeRecord* add_stroke(std::int16_t x, std::int16_t y, std::uint16_t line) {
    points_.push_back(point_records({{x, y}, {static_cast<std::int16_t>(x + 4), y}}));
    StrokeRecord* stroke = strokes_.push_default();
    stroke->run = run_of(points_.back());
    stroke->number = static_cast<std::uint16_t>(strokes_.size() - 1);
    stroke->line_index = line;
    EXPECT_EQ(figure_prepare_glyph(*stroke, false), kOk);
    return stroke;
  }

  void SetUp() override {
    points_.reserve(8);
    ASSERT_EQ(strokes_.reserve_total(8), kOk);
  }

  std::vector<std::vector<PointRecord>> points_;
  DynArray<StrokeRecord> strokes_;
};

TEST_F(ReadingOrderRecordsTest, StrokesSortByLineThenPosition) {
  StrokeRecord* right = add_stroke(100, 0, 0);
  StrokeRecord* left = add_stroke(10, 0, 0);
  StrokeRecord* next_line = add_stroke(0, 50, 1);
  StrokeRecord* items[] = {next_line, right, left};
  ASSERT_EQ(sort_pointers(items, 3, 5, false), kOk);
  EXPECT_EQ(items[0], left);
  EXPECT_EQ(items[1], right);
  EXPECT_EQ(items[2], next_line);
  EXPECT_EQ(reading_point(*left), (PackedPoint{12, 0}));
}

TEST_F(ReadingOrderRecordsTest, FigureGroupsSortByTheirStrokes) {
  add_stroke(100, 0, 0);
  add_stroke(10, 0, 0);
  DynArray<FigureRecord> figures;
  for (std::uint32_t s = 0; s < 2; ++s) {
    ASSERT_EQ(figures.push_default()->from_stroke(strokes_[s]), kOk);
  }
  // Two pieces of stroke 1, the later one first.
  FigureRecord* second_piece = figures.push_default();
  ASSERT_EQ(second_piece->from_stroke(strokes_[1]), kOk);
  second_piece->piece = second_piece->piece_key = 1;
  second_piece->first_point = 1;

  PtrArray<FigureRecord> on_stroke_0;
  PtrArray<FigureRecord> later_piece;
  PtrArray<FigureRecord> first_piece;
  ASSERT_EQ(on_stroke_0.push_back(&figures[0]), kOk);
  ASSERT_EQ(later_piece.push_back(&figures[2]), kOk);
  ASSERT_EQ(first_piece.push_back(&figures[1]), kOk);
  PtrArray<FigureRecord>* groups[] = {&on_stroke_0, &later_piece, &first_piece};
  ASSERT_EQ(sort_pointers_ctx(groups, 3, 5, strokes_, false), kOk);
  EXPECT_EQ(groups[0], &first_piece);
  EXPECT_EQ(groups[1], &later_piece);
  EXPECT_EQ(groups[2], &on_stroke_0);
  EXPECT_EQ(first_line_number(on_stroke_0), 0);
  EXPECT_EQ(single_stroke_number(later_piece), 1);
}

}  // namespace
}  // namespace inkrec
