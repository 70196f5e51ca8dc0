// The text the application types for one written sample, and how the
// replay knows when to write a sample and when it has all of its result.
//
// The application counts, in the pen ring's tail, each time it begins to
// wait for the pen with nothing left to do: as it is switched on, and after
// each ink, once it has typed all that the ink gave (or found nothing to
// type), whatever the recognition read. So a sample is written once the
// count shows the application switched on and it waits for the pen; and
// once the count has moved since a sample was written, the application
// waits for the pen, the ring holds no sample it has not taken and the pen
// has had the time to write the whole sample, the whole result has been
// typed, however fast or loaded the machine is. No state has to be caught
// in passing: a result that comes and goes between two looks still moves
// the count. All time is the process clock's.
#pragma once

#include <cstdint>
#include <string>

#include "appplatform/pen_ring.h"
#include "device/printed_text.h"

namespace ductra::device {

// Whether the application waits for the pen (its capture words).
bool waits_for_pen(const platform::PenRing& ring);

// How many times the application has begun to wait for the pen so far.
std::uint32_t pen_awaited(const platform::PenRing& ring);

// Waits until the application, switched on, waits for the pen; false when
// `limit_ms` passes first.
bool wait_until_ready_for_pen(const platform::PenRing& ring, std::uint32_t limit_ms);

struct TypedResult {
  std::u16string text;
  bool complete = false;  // false: the limit passed first; `text` is what came
};

// Called right after a sample was written, `awaited_before` being
// pen_awaited() from right before: waits until the whole result of the
// sample has been typed (see above) and takes it from `typed`. The pen
// takes `playing_ms` to write the sample, so no result is complete sooner.
// The wait ends at `limit_ms` with what was typed by then.
TypedResult wait_for_typed_result(const platform::PenRing& ring, PrintedText& typed, std::uint32_t awaited_before,
                                  std::uint32_t playing_ms, std::uint32_t limit_ms);

// Where the application stands, for the report of a wait that ran out:
// how often it began to wait for the pen since `awaited_before`, its
// capture words and the samples it has not taken.
std::string pen_state(const platform::PenRing& ring, std::uint32_t awaited_before);

}  // namespace ductra::device
