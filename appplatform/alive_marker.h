// A sign that a program runs ("Korvale Software Ductra is still alive
// Event"): its owner holds an exclusive lock (an open-file-description
// record lock) on a file of the runtime folder for as long as it lives. The sign ends when the owner lets go or
// dies in any way, a crash or SIGKILL included. Asking whether the sign is
// there creates nothing and changes nothing.
#pragma once

#include <filesystem>
#include <string_view>

#include "appplatform/runtime_dir.h"
#include "appplatform/status.h"

namespace ductra::platform {

class AliveMarker {
 public:
  AliveMarker() = default;
  ~AliveMarker() { release(); }
  AliveMarker(AliveMarker&& other) noexcept;
  AliveMarker& operator=(AliveMarker&& other) noexcept;
  AliveMarker(const AliveMarker&) = delete;
  AliveMarker& operator=(const AliveMarker&) = delete;

  // Raises the sign `name`; already_exists while another owner holds it.
  static Status hold(const RuntimeDir& dir, std::u16string_view name, AliveMarker* out);

  // Whether some process holds the sign `name`.
  static bool is_held(const RuntimeDir& dir, std::u16string_view name);

  bool is_holding() const { return fd_ >= 0; }
  void release();

 private:
  int fd_ = -1;
  std::filesystem::path file_;
};

}  // namespace ductra::platform
