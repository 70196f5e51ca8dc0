#include "appplatform/draw/color.h"

#include <array>

namespace ductra::platform {

namespace {

// A light grey desktop with white windows and blue selection.
constexpr std::array<ColorRef, kSysColorCount> kSysColors = {
    rgb(200, 200, 200),  // scroll bar
    rgb(0, 64, 128),     // background
    rgb(0, 0, 128),      // active caption
    rgb(128, 128, 128),  // inactive caption
    rgb(236, 236, 236),  // menu
    rgb(255, 255, 255),  // window
    rgb(0, 0, 0),        // window frame
    rgb(0, 0, 0),        // menu text
    rgb(0, 0, 0),        // window text
    rgb(255, 255, 255),  // caption text
    rgb(128, 128, 128),  // active border
    rgb(128, 128, 128),  // inactive border
    rgb(128, 128, 128),  // application workspace
    rgb(0, 0, 192),      // highlight
    rgb(255, 255, 255),  // highlight text
    rgb(220, 220, 220),  // button face
    rgb(128, 128, 128),  // button shadow
    rgb(128, 128, 128),  // grey text
    rgb(0, 0, 0),        // button text
    rgb(192, 192, 192),  // inactive caption text
    rgb(255, 255, 255),  // button highlight
    rgb(64, 64, 64),     // 3-D dark shadow
    rgb(236, 236, 236),  // 3-D light
    rgb(0, 0, 0),        // tool-tip text
    rgb(255, 255, 225),  // tool-tip background
    rgb(255, 255, 255),  // static background
    rgb(0, 0, 0),        // static text
};

}  // namespace

ColorRef sys_color(int index) {
  index &= ~kSysColorFlag;
  if (index < 0 || index >= kSysColorCount) return rgb(0, 0, 0);
  return kSysColors[static_cast<std::size_t>(index)];
}

}  // namespace ductra::platform
