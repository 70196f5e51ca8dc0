// Mode3Delivery: what the segmenter's answers need of the controller's
// result delivery, and deliver_segmenter_answer, which hands one answer over.
//
// After every stroke of the intelligent mode the controller delivers the
// segmenter's answer: a finished run ends the ink run (the clear-screen
// timer stops, all ink is erased, capture goes back to normal); a waiting
// run erases the ink of the strokes the segmenter let go. Then the units go
// to the input panel: as many backspaces (unit 8) as the answer's backspaces,
// then its characters, and the flush even when there are none. An answer
// that is exactly the configuration key (unit 29) switches to the next
// configuration instead and types nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/segmenter/segmenter_result.h"

namespace ductra {

class Mode3Delivery {
 public:
  virtual ~Mode3Delivery() = default;
  // The run is over: stop the clear-screen timer, erase all ink and let
  // capture go back to normal.
  virtual void end_ink_run() = 0;
  // Erase the ink of the `count` oldest strokes and redraw the rest.
  virtual void erase_oldest_strokes(std::uint32_t count) = 0;
  // Select the next configuration and switch to it.
  virtual void switch_to_next_configuration() = 0;
  // Send the units to the input panel's relay window, then the flush.
  virtual void send_text_to_sip(std::u16string_view units) = 0;
};

inline constexpr char16_t kBackspaceUnit = 8;
inline constexpr char16_t kConfigurationKey = 29;

void deliver_segmenter_answer(const SegmenterResult& answer, Mode3Delivery& delivery);

}  // namespace ductra
