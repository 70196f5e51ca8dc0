// The prompt bubble's word wrap: which units of a text go on which line
// inside a box of a maximum width and height, given the cumulative widths
// of the units. Pure arithmetic, so every case can be checked with a font
// of fixed advance.
//
// A line takes its leading spaces, then whole words while each unit's
// cumulative width stays below the maximum width, with the spaces after a
// word; a newline ends a line and is used up with it. A first word that
// does not fit is broken before its first unit that does not fit; a line
// always takes at least one unit. A line's width is the cumulative width
// at its last unit before the break, trailing spaces left out. Lines are
// taken while their total height stays within the maximum height.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace ductra {

struct WrappedLine {
  std::size_t start = 0;   // first unit of the line
  std::size_t length = 0;  // units shown (without the newline that ends it)
  int width = 0;
};

struct WrappedText {
  std::vector<WrappedLine> lines;
  int width = 0;   // the widest line
  int height = 0;  // all lines taken
};

// The cumulative widths of `text` from its start: element i is the width
// of units 0 to i.
using ExtentsOf = std::function<std::vector<int>(std::u16string_view text)>;

// One line of `text` starting at its first unit; `extents` are the
// cumulative widths of `text` (same length).
WrappedLine wrap_line(std::u16string_view text, std::span<const int> extents, int max_width);

// The whole text into the box; every line is `line_height` high.
WrappedText wrap_text(std::u16string_view text, const ExtentsOf& extents_of, int max_width, int max_height,
                      int line_height);

}  // namespace ductra
