// One line of a replay file: how long to wait after the previous sample,
// then the sample to deliver. A replay file is text, one sample a line:
//
//   <wait ms> <flags> <x> <y>      e.g. "10 15 812 1400"
//
// with x and y in touch units (four to a pixel) and the driver's flags (7
// pen down, 15 move, 13 pen up). Blank lines and lines starting with '#'
// are skipped.
#pragma once

#include <cstdint>
#include <string_view>

namespace ductra::tapshim {

struct ReplayStep {
  std::uint32_t wait_ms = 0;
  std::uint32_t flags = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ReplayStep&, const ReplayStep&) = default;
};

enum class ReplayLine { sample, skipped, malformed };

// Reads one line (without its line break) into `step` when it holds a
// sample. Numbers are decimal; a wait, flags or coordinate outside 0..65535
// or anything after the fourth number makes the line malformed.
ReplayLine parse_replay_line(std::string_view line, ReplayStep* step);

}  // namespace ductra::tapshim
