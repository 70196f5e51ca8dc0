// The recognition overrides file ("\rec_param.txt" at the device root): three
// whitespace-separated booleans, 0 or 1, that replace in this order the long
// first limit of the watchdog (with the splitting of cursive ink), the
// dictionary switch and the right-to-left decision of every recognition.
//
// The file is read afresh at every recognition. A missing file, or one whose
// first three words are not all 0 or 1, changes nothing.
#pragma once

#include <filesystem>

namespace ductra {

struct RequestSwitches {
  bool long_limit = false;
  bool dictionary = false;
  bool right_to_left = false;

  friend bool operator==(const RequestSwitches&, const RequestSwitches&) = default;
};

void apply_recognition_overrides(const std::filesystem::path& file, RequestSwitches* switches);

}  // namespace ductra
