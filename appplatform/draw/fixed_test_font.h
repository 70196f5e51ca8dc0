// The fixed-advance test font: every character is 6 pixels wide and 10 high
// (8 above the baseline, 2 below). A space is empty; any other character is
// a 4 x 7 frame (filled when bold) standing on the baseline, so the place of
// every character can be read from a picture.
#pragma once

#include <memory>

#include "appplatform/draw/font.h"

namespace ductra::platform {

inline constexpr int kFixedTestAdvance = 6;
inline constexpr int kFixedTestAscent = 8;
inline constexpr int kFixedTestDescent = 2;

std::shared_ptr<const Font> create_fixed_test_font(const LogFont& description);

}  // namespace ductra::platform
