// CodeList: the acceptable figure codes of one stroke of a pattern, in the
// order given. A code is the shape id of an engine writing variant; 0 never
// occurs in a list (it ends construction) and the one-code list {0xFFFF} is
// the wildcard, recognised by content, never by identity.
//
// A list holds at most kMaxCodes codes; no order or uniqueness is enforced.
// Copies are deep. Allocation failure throws std::bad_alloc, which the table
// object turns into a failed build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "app/composition/constant_entries.h"

namespace ductra {

class CodeList {
 public:
  static constexpr std::size_t kMaxCodes = 14;

  CodeList() = default;
  // Takes the codes in order, stopping at the first 0 and after kMaxCodes.
  explicit CodeList(CodeSpan codes);
  CodeList(std::initializer_list<std::uint16_t> codes)
      : CodeList(CodeSpan(codes.begin(), codes.size())) {}

  std::size_t count() const { return codes_.size(); }
  CodeSpan codes() const { return codes_; }

  // Same count and the same codes in the same order; two empty lists are equal.
  bool equals(const CodeList& other) const { return codes_ == other.codes_; }
  bool equals(CodeSpan other) const;
  // Equal in content to the wildcard list {0xFFFF}.
  bool is_wildcard() const;
  // True when one of the list's codes is in `set`; an empty list shares none.
  bool shares_code(CodeSpan set) const;

 private:
  std::vector<std::uint16_t> codes_;
};

}  // namespace ductra
