// The apostrophe and hyphen rule.

#include "engine/rules/punctuation_rule.h"

namespace inkrec {

int punctuation_flag(int first_code, const Box16& first_box, int second_code,
                     const Box16& second_box) {
  if (first_code < 0 || second_code < 0) return 0;
  if (first_code == '\'') {
    return second_box.right - second_box.width() / 2 > first_box.left ? 1 : 0;
  }
  if (first_code == '-' || first_code == '~') {
    if (second_code == ',' || second_code == '.') return 0;
    return first_box.bottom <= second_box.top ? 1 : 0;
  }
  return 0;
}

}  // namespace inkrec
