// How the generic algorithms over records (reading order, the punctuation
// rule) read stroke records, figure records and groups of figures.
//
// Each record type provides these functions, found by argument-dependent
// lookup next to the type:
//   PackedPoint reading_point(const R&)       the point that places the record
//                                             in reading order (the band
//                                             centroid of its glyph geometry)
//   std::uint16_t line_index_of(const R&)     its text line, 0xFFFF for none
//   std::uint16_t stroke_number_of(const F&)  the stroke a figure is cut from
//   std::int16_t first_point_of(const F&)     the index of the figure's first
//                                             point in that stroke
//   figures_of(const G&)                      a group's figure pointers, as a
//                                             range (a PtrArray of figures is
//                                             its own list)
// Null figure pointers in a list are passed over.
#pragma once

#include <concepts>
#include <cstdint>
#include <iterator>

#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"

namespace inkrec {

template <typename R>
concept ReadingRecord = requires(const R& r) {
  { reading_point(r) } -> std::convertible_to<PackedPoint>;
  { line_index_of(r) } -> std::convertible_to<std::uint16_t>;
};

template <typename F>
const PtrArray<F>& figures_of(const PtrArray<F>& figures) {
  return figures;
}

template <typename G>
concept FigureCollection = requires(const G& g) {
  { *figures_of(g).begin() } -> std::convertible_to<const void*>;
  figures_of(g).end();
};

// The line index of the first figure; -2 for an empty list.
template <FigureCollection G>
int first_line_number(const G& group) {
  const auto& figures = figures_of(group);
  if (figures.begin() == figures.end() || *figures.begin() == nullptr) return -2;
  return line_index_of(**figures.begin());
}

// The stroke number of the only figure; -1 unless there is exactly one.
template <FigureCollection G>
int single_stroke_number(const G& group) {
  const auto& figures = figures_of(group);
  auto it = figures.begin();
  if (it == figures.end() || *it == nullptr || std::next(it) != figures.end()) return -1;
  return stroke_number_of(**it);
}

}  // namespace inkrec
