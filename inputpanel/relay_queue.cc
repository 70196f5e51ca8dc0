#include "inputpanel/relay_queue.h"

namespace ductra::quillpad {

bool RelayQueue::push(char16_t unit) {
  if (full()) return false;
  units_[count_++] = unit;
  return true;
}

}  // namespace ductra::quillpad
