// Stroke and figure records: copying, block shortcuts, look-ups, erasure and
// the order of StrokeAnswers.

#include "engine/records/figure_records.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/records/reading_order.h"

namespace inkrec {

int StrokeRecord::copy_from(const StrokeRecord& other) {
  if (this == &other) return kOk;
  if (const int status = geometry.copy(other.geometry); status != kOk) return status;
  run = other.run;
  line_index = other.line_index;
  number = other.number;
  order_key = other.order_key;
  return kOk;
}

const ProfileRaster& StrokeRecord::glyph_block_a() {
  PointRun* const own[] = {&run};
  return geometry.ensure_block_a(own);
}

const WidthBlock& StrokeRecord::glyph_block_c() {
  PointRun* const own[] = {&run};
  return geometry.ensure_block_c(own);
}

GlyphGeometry& StrokeRecord::prepare_blocks(int reference_size, int closeness) {
  PointRun* const own[] = {&run};
  geometry.ensure_block_a(own);
  geometry.ensure_block_c(own);
  geometry.ensure_block_d(own, reference_size, closeness);
  return geometry;
}

int StrokeRecord::glyph_block_e(int reference_size, int closeness, DynArray<DescentEntry>& out) {
  PointRun* const own[] = {&run};
  geometry.ensure_block_d(own, reference_size, closeness);
  return geometry.unclassified_entries(out);
}

const DescentEntry* StrokeRecord::glyph_block_e_first(int reference_size, int closeness) {
  PointRun* const own[] = {&run};
  geometry.ensure_block_d(own, reference_size, closeness);
  return geometry.first_unclassified_entry();
}

std::uint32_t StrokeRecord::glyph_block_e_alt(int reference_size, int closeness) {
  PointRun* const own[] = {&run};
  return geometry.ensure_block_d(own, reference_size, closeness).close_entries.size();
}

int figure_prepare_glyph(StrokeRecord& figure, bool trajectory_mode) {
  PointRun* const own[] = {&figure.run};
  return figure.geometry.prepare(own, trajectory_mode);
}

int FigureRecord::from_stroke(const StrokeRecord& stroke) {
  FigureRecord figure;
  if (const int status = figure.copy_from(stroke); status != kOk) return status;
  figure.order_key = -1;
  figure.stroke_index = stroke.number;
  figure.piece = 0;
  figure.piece_key = 0;
  figure.first_point = 0;
  figure.whole_stroke = 1;
  *this = std::move(figure);
  return kOk;
}

int FigureRecord::copy_construct(const FigureRecord& other) {
  if (this == &other) return kOk;
  FigureRecord copy;
  if (copy.copy_from(other) != kOk || copy.codes.assign(other.codes) != kOk) return kOutOfMemory;
  for (std::size_t i = 0; i < kCandidateLists; ++i) {
    if (copy.candidates[i].assign(other.candidates[i]) != kOk) return kOutOfMemory;
  }
  copy.stroke_index = other.stroke_index;
  copy.piece = other.piece;
  copy.piece_key = other.piece_key;
  copy.first_point = other.first_point;
  copy.spare_key = other.spare_key;
  copy.whole_stroke = other.whole_stroke;
  std::copy(std::begin(other.link_references), std::end(other.link_references),
            copy.link_references);
  copy.link_kind = other.link_kind;
  copy.position = other.position;
  copy.own_line = other.own_line;
  copy.flag_byte = other.flag_byte;
  copy.flag_word = other.flag_word;
  *this = std::move(copy);
  return kOk;
}

namespace {

bool has_keys(const FigureRecord& figure, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
  return figure.stroke_index == a && figure.piece == b && figure.piece_key == c;
}

// The index of the first record that matches, or the count.
template <typename Match>
std::uint32_t first_match(const DynArray<FigureRecord>& figures, Match match) {
  for (std::uint32_t i = 0; i < figures.size(); ++i) {
    if (match(figures[i])) return i;
  }
  return figures.size();
}

// The index of the first record that matches, or the count when none does
// before the end or a null slot.
template <typename T, typename Match>
std::uint32_t first_match_before_null(const PtrArray<T>& records, Match match) {
  for (std::uint32_t i = 0; i < records.size(); ++i) {
    if (records[i] == nullptr) break;
    if (match(*records[i])) return i;
  }
  return records.size();
}

template <typename T, typename Match>
T* find_in(DynArray<T>& records, Match match) {
  for (T& record : records) {
    if (match(record)) return &record;
  }
  return nullptr;
}

}  // namespace

std::uint32_t figure_array_find(const DynArray<FigureRecord>& figures, std::uint16_t a,
                                std::uint16_t b, std::uint16_t c) {
  return first_match(figures, [=](const FigureRecord& f) { return has_keys(f, a, b, c); });
}

FigureRecord* figure_array_get(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b,
                               std::uint16_t c, std::uint32_t* index) {
  const std::uint32_t i = figure_array_find(figures, a, b, c);
  if (index != nullptr) *index = i;
  return figures.item_checked(i);
}

FigureRecord* figure_array_get2(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b) {
  return figure_array_get(figures, a, b, b);
}

std::uint32_t find_figure_index_by_keys(const PtrArray<FigureRecord>& figures, std::uint16_t a,
                                        std::uint16_t b, std::uint16_t c) {
  return first_match_before_null(figures,
                                 [=](const FigureRecord& f) { return has_keys(f, a, b, c); });
}

FigureRecord* find_figure_by_keys(const PtrArray<FigureRecord>& figures, std::uint16_t a,
                                  std::uint16_t b, std::uint16_t c) {
  return figures.item_checked(find_figure_index_by_keys(figures, a, b, c));
}

FigureRecord* find_by_order_key(DynArray<FigureRecord>& figures, std::int16_t key) {
  return find_in(figures, [=](const FigureRecord& f) { return f.order_key == key; });
}

StrokeRecord* find_stroke_record_a(DynArray<StrokeRecord>& strokes, std::int16_t key) {
  return find_in(strokes, [=](const StrokeRecord& s) { return s.order_key == key; });
}

StrokeRecord* find_stroke_record_b(DynArray<StrokeRecord>& strokes, std::uint16_t number) {
  return find_in(strokes, [=](const StrokeRecord& s) { return s.number == number; });
}

StrokeRecord* find_by_key12(const PtrArray<StrokeRecord>& strokes, std::int16_t key) {
  return strokes.item_checked(
      first_match_before_null(strokes, [=](const StrokeRecord& s) { return s.order_key == key; }));
}

StrokeRecord* find_by_key10(const PtrArray<StrokeRecord>& strokes, std::int16_t number) {
  return strokes.item_checked(first_match_before_null(strokes, [=](const StrokeRecord& s) {
    return static_cast<std::int16_t>(s.number) == number;
  }));
}

int figure_array_erase(DynArray<FigureRecord>& figures, std::uint32_t index, std::uint32_t n) {
  return figures.erase(index, n);
}

int figure_array_remove(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b,
                        std::uint16_t c) {
  const std::uint32_t i = figure_array_find(figures, a, b, c);
  return i == figures.size() ? kBadArgument : figures.erase(i, 1);
}

namespace {

bool answers_come_after(const StrokeAnswers* x, const StrokeAnswers* y) {
  if (x->order_key != y->order_key) return x->order_key > y->order_key;
  if (x->answers.empty() || y->answers.empty()) return x->answers.empty() && !y->answers.empty();
  return x->answers[0].total() > y->answers[0].total();
}

}  // namespace

int sort_stroke_answers(StrokeAnswers** records, std::int32_t count) {
  if (const int status = reading_order_detail::check(records, count); status != kOk) {
    return status;
  }
  sort_pointer_array(records, count, answers_come_after);
  return kOk;
}

int sort_records_364(PtrArray<StrokeAnswers>& records) {
  if (records.empty()) return kOk;
  return sort_stroke_answers(records.data(), static_cast<std::int32_t>(records.size()));
}

FigureRecord* find_figure_by_body_index(const PtrArray<FigureRecord>& figures,
                                        std::uint16_t body_index) {
  for (FigureRecord* figure : figures) {
    if (figure != nullptr && figure->number == body_index) return figure;
  }
  return nullptr;
}

FigureRecord* find_figure_by_position(const PtrArray<FigureRecord>& figures,
                                      std::uint16_t position) {
  for (FigureRecord* figure : figures) {
    if (figure != nullptr && figure->position == position) return figure;
  }
  return nullptr;
}

int sort_figures_by_position(PtrArray<FigureRecord>& figures) {
  for (const FigureRecord* figure : figures) {
    if (figure == nullptr) return kBadArgument;
  }
  const auto comes_after = [](const FigureRecord* x, const FigureRecord* y) {
    if (x->position != y->position) return x->position > y->position;
    const bool x_read = !x->candidates[0].answers().empty();
    const bool y_read = !y->candidates[0].answers().empty();
    if (x_read != y_read) return !x_read;
    return x_read && x->candidates[0].best_total() < y->candidates[0].best_total();
  };
  sort_pointer_array(figures.data(), static_cast<std::int32_t>(figures.size()), comes_after);
  return kOk;
}

}  // namespace inkrec
