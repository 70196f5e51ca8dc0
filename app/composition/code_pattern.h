// CodePattern: the figures of a run of strokes that the intelligent mode
// looks for, one CodeList per stroke, first stroke first, and the characters
// the pattern yields when it completes (empty for all but one constant).
//
// A pattern is built from at most kMaxPositions lists and ends at the first
// empty list it is given; insert_list may add one more position (the
// prefixed copies of the tables). Copies are deep; allocation failure in a
// constructor or copy throws std::bad_alloc.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "app/composition/code_list.h"
#include "app/composition/constant_entries.h"

namespace ductra {

class CodePattern {
 public:
  static constexpr std::size_t kMaxPositions = 14;

  CodePattern() = default;
  // Copies the lists in order, stopping at the first empty one.
  CodePattern(std::initializer_list<CodeList> positions);
  // The constant's positions (same stop rule) and its characters.
  explicit CodePattern(const PatternEntry& entry);

  std::span<const CodeList> positions() const { return positions_; }
  std::size_t position_count() const { return positions_.size(); }
  std::u16string_view characters() const { return {characters_.data(), characters_.size()}; }

  // Inserts a copy of `list` before position `index` (index == count
  // appends). 0; -2 when index exceeds the count; -1 when memory runs out.
  // The pattern is unchanged on failure.
  int insert_list(std::size_t index, const CodeList& list);
  // Drops every position; the characters stay.
  void clear() { positions_.clear(); }

 private:
  // Appends `list` unless construction has ended; false once it has.
  bool append_position(CodeList list);

  std::vector<CodeList> positions_;
  std::vector<char16_t> characters_;
};

}  // namespace ductra
