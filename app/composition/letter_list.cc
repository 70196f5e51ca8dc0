#include "app/composition/letter_list.h"

#include <algorithm>

namespace ductra {

LetterList::LetterList(std::u16string_view letters) {
  for (char16_t letter : letters) {
    if (letter == 0 || letters_.size() == kMaxLetters) break;
    letters_.push_back(letter);
  }
}

bool LetterList::shares_letter(std::span<const char16_t> set) const {
  return ductra::shares_letter(letters(), set);
}

bool shares_letter(std::u16string_view letters, std::span<const char16_t> set) {
  return std::ranges::any_of(letters, [set](char16_t letter) {
    return std::ranges::find(set, letter) != set.end();
  });
}

}  // namespace ductra
