// LetterList: the base letters of a composition (UTF-16 units, compared
// exactly, so case matters). A list holds at most kMaxLetters letters and
// ends at the first 0 it is given. Copies are deep; allocation failure
// throws std::bad_alloc.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace ductra {

class LetterList {
 public:
  static constexpr std::size_t kMaxLetters = 14;

  LetterList() = default;
  // Takes the letters in order, stopping at the first 0 and after kMaxLetters.
  explicit LetterList(std::u16string_view letters);

  std::size_t count() const { return letters_.size(); }
  std::u16string_view letters() const { return {letters_.data(), letters_.size()}; }

  // True when one of the letters is in `set`; an empty list shares none.
  bool shares_letter(std::span<const char16_t> set) const;

 private:
  std::vector<char16_t> letters_;
};

// The same test for any run of characters (a pattern's output characters).
bool shares_letter(std::u16string_view letters, std::span<const char16_t> set);

}  // namespace ductra
