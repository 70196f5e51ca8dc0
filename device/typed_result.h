// The text the application types for one written sample, and how the
// replay knows it has all of it.
//
// The application shows in the pen ring's header where it is with the ink:
// it waits for the pen (capture on, no stroke in hand) or it is busy with
// the ink (writing, recognising, typing the result). It types a result in
// as many pieces as the text needs, a pause after each (a backspace, a tab
// or an enter splits it; the component delivers each piece on its own), and
// goes back to waiting for the pen only after the last one. So once the
// application waits for the pen again after a sample was written, having
// been seen busy or having typed something meanwhile, the whole result has
// been typed, however fast or loaded the machine is. All time is the
// process clock's.
#pragma once

#include <cstdint>
#include <string>

#include "appplatform/pen_ring.h"
#include "device/printed_text.h"

namespace ductra::device {

// Whether the application waits for the pen.
bool waits_for_pen(const platform::PenRing& ring);

// Waits until the application waits for the pen; false when `limit_ms`
// passes first.
bool wait_until_waiting_for_pen(const platform::PenRing& ring, std::uint32_t limit_ms);

struct TypedResult {
  std::u16string text;
  bool complete = false;  // false: the limit passed first; `text` is what came
};

// Called right after a sample was written: waits until the whole result of
// the sample has been typed (see above) and takes it from `typed`. The pen
// takes `playing_ms` to write the sample, so no result is complete sooner.
// The wait ends at `limit_ms` with what was typed by then.
TypedResult wait_for_typed_result(const platform::PenRing& ring, PrintedText& typed, std::uint32_t playing_ms,
                                  std::uint32_t limit_ms);

}  // namespace ductra::device
