// The compile-time form of the composition-table constants: code lists,
// patterns, letter lists and compositions as read-only data that the table
// object copies into its slots when it is built. Nothing here is built at
// program start; every constant is a constant expression.
//
// A CodeSpan is the codes of one list in stored order. A PatternEntry is its
// positions, first figure first, and the characters it yields (empty for all
// but one pattern). A CompositionEntry is its base letters and the positions
// of the marks written after them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ductra {

using CodeSpan = std::span<const std::uint16_t>;

struct PatternEntry {
  std::span<const CodeSpan> positions;
  std::u16string_view characters;
};

struct CompositionEntry {
  std::u16string_view letters;
  std::span<const CodeSpan> positions;
};

}  // namespace ductra
