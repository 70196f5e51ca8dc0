// Written samples as the pen writes them: each sample of a samples file
// (lines "label<TAB>writer<TAB>x,y x,y;x,y ...", strokes separated by ';')
// becomes replay steps (replay_step.h), scaled into a box of the screen with
// its proportions kept, 10 ms between points and 100 ms between strokes.
//
// The points of a stroke's start, up to the first one beyond the touch
// shim's move tolerance, follow the pen-down at once: the shim takes a pen
// that stays within the tolerance for its hold time (300 ms) for a
// press-and-hold and gives the stroke to the system, and on a loaded
// machine the waits of a few points can add up to that. Written ink never
// holds still at its start, so none is lost that way.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "touchshim/replay/replay_step.h"

namespace ductra::device {

struct WrittenSample {
  std::string label;
  std::vector<tapshim::ReplayStep> steps;
};

// Where samples are written, in touch units.
struct WritingBox {
  int left = 160;
  int top = 240;
  int width = 640;
  int height = 400;
};

// The sample of one line; nothing for a line that holds none (blank, a
// comment, or malformed).
std::optional<WrittenSample> written_sample(std::string_view line, const WritingBox& box);

// The replay file's lines of a sample's steps.
std::string replay_text(const WrittenSample& sample);

// How long the steps take to play, in milliseconds.
std::uint32_t playing_time(const WrittenSample& sample);

}  // namespace ductra::device
