// The private folder that holds one device's shared objects (named memory,
// events, alive markers). It lies in $XDG_RUNTIME_DIR, named from a hash of
// the device root, so two devices, two users or parallel tests never meet.
// Without $XDG_RUNTIME_DIR (a CI machine, a root shell) it lies in /dev/shm
// (else the temporary folder) under a name that also carries the user id.
// The folder is mode 0700 and must belong to the user; the files in it are
// mode 0600.
#pragma once

#include <filesystem>
#include <string_view>

#include "appplatform/device_root.h"
#include "appplatform/status.h"

namespace ductra::platform {

class RuntimeDir {
 public:
  RuntimeDir() = default;

  // Creates the folder when missing; access_denied when it exists but is
  // not a private folder of this user.
  static Status for_device(const DeviceRoot& root, RuntimeDir* out);

  const std::filesystem::path& path() const { return path_; }

  // The file of the object `name` of a kind ("shm", "alive", ...). Any
  // name is allowed: units other than ASCII letters, digits and '-' are
  // spelled out, and a very long name is replaced by its hash.
  std::filesystem::path object_path(std::string_view kind, std::u16string_view name) const;

 private:
  explicit RuntimeDir(std::filesystem::path path) : path_(std::move(path)) {}
  std::filesystem::path path_;
};

// Opens (creating it when missing, mode 0600) a file of the runtime folder
// for reading and writing; -1 on failure. `created` tells whether this call
// made it.
int open_runtime_file(const std::filesystem::path& path, bool* created);

}  // namespace ductra::platform
