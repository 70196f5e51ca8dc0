// The command line of ductra-device:
//   ductra-device [--headless] [--replay FILE] [--help]
// --headless: no window, typed text to standard output (also when there is
// no display); --replay FILE: write the samples of FILE (lines
// "label<TAB>writer<TAB>x,y x,y;x,y ...", strokes separated by ';') with
// the pen instead of taking the pointer, print what is typed for each, and
// end.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ductra::device {

struct DeviceOptions {
  bool headless = false;
  std::optional<std::filesystem::path> replay;
  bool help = false;
};

// The options, or nothing with the reason in *error.
std::optional<DeviceOptions> parse_device_options(int argc, const char* const* argv, std::string* error);

inline constexpr char kDeviceUsage[] =
    "usage: ductra-device [--headless] [--replay FILE]\n"
    "  Plays the handheld Ductra runs on: its screen in a window (pen or left mouse button\n"
    "  write), recognised text typed into the application that has the keyboard focus.\n"
    "  --headless      no window; typed text goes to standard output\n"
    "  --replay FILE   write the samples of FILE (as data/samples/samples.txt) instead of the\n"
    "                  pointer, print the text typed for each, one line per sample, then end\n";

}  // namespace ductra::device
