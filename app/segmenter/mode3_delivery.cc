#include "app/segmenter/mode3_delivery.h"

#include <string>

namespace ductra {

void deliver_segmenter_answer(const SegmenterResult& answer, Mode3Delivery& delivery) {
  if (!answer.waiting) {
    delivery.end_ink_run();
  } else if (answer.ink_to_erase != 0) {
    delivery.erase_oldest_strokes(answer.ink_to_erase);
  }
  std::u16string units(answer.backspaces, kBackspaceUnit);
  units += answer.characters;
  if (units == std::u16string_view(&kConfigurationKey, 1)) {
    delivery.switch_to_next_configuration();
  } else {
    delivery.send_text_to_sip(units);
  }
}

}  // namespace ductra
