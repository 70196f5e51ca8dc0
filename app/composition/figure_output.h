// FigureOutput: what the engine made of the ink of its last recognition, as
// the intelligent mode reads it: the groups of figures in the order the
// engine produced them; each group's figures with their index among the
// figures of the pane, and the group's answers, best first.
//
// A Reading is one candidate reading: the character read (the answer's
// current code), the figure code (the shape id of the writing variant that
// gave the reading) and its state; a reading in state kRejectedReading counts
// for nothing. A figure's readings are the entries of its first two candidate
// lists, the first list first.
#pragma once

#include <cstdint>
#include <vector>

namespace ductra {

struct Reading {
  char16_t character = 0;
  std::uint16_t figure_code = 0;
  std::uint32_t state = 0;
};

inline constexpr std::uint32_t kRejectedReading = 3;

struct OutputFigure {
  std::int16_t index = 0;
  std::vector<Reading> readings;
};

struct OutputGroup {
  std::vector<OutputFigure> figures;
  std::vector<Reading> answers;
};

using FigureOutput = std::vector<OutputGroup>;

}  // namespace ductra
