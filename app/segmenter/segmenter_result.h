// SegmenterResult: what the segmenter tells the controller after a stroke.
//
// The controller first erases `backspaces` characters (those it showed for
// the kept strokes after the last stroke), then shows `characters`. When
// `waiting` is true the strokes stay kept: the controller keeps their ink,
// less the `ink_to_erase` oldest strokes, and expects more strokes; when it
// is false the run is over and all ink goes. `error` is the engine's status
// when a recognition failed (the strokes are then dropped and nothing is
// erased or shown), -1 when memory ran out, else 0.
#pragma once

#include <cstdint>
#include <string>

namespace ductra {

struct SegmenterResult {
  std::uint32_t backspaces = 0;
  bool waiting = false;
  int error = 0;
  std::uint32_t ink_to_erase = 0;
  std::u16string characters;
};

}  // namespace ductra
