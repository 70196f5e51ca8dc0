// Files of the device, opened by device path: the calls the programs make
// to open, read, write, move the position, cut a file at the position, and
// to read attributes and delete files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "appplatform/device_root.h"
#include "appplatform/status.h"

namespace ductra::platform {

enum class FileAccess { read, write, read_write };

enum class FileDisposition {
  create_new,         // fails with already_exists when the file is there
  create_always,      // an existing file is emptied
  open_existing,      // fails with not_found when the file is missing
  open_always,        // made empty when missing
  truncate_existing,  // must exist; is emptied
};

enum class SeekOrigin { begin, current, end };

class DeviceFile {
 public:
  DeviceFile() = default;
  ~DeviceFile() { close(); }
  DeviceFile(DeviceFile&& other) noexcept;
  DeviceFile& operator=(DeviceFile&& other) noexcept;
  DeviceFile(const DeviceFile&) = delete;
  DeviceFile& operator=(const DeviceFile&) = delete;

  static Status open(const DeviceRoot& root, std::u16string_view path, FileAccess access,
                     FileDisposition disposition, DeviceFile* out);

  bool is_open() const { return fd_ >= 0; }

  // Reads up to buffer.size() bytes; `done` is 0 at the end of the file.
  Status read(std::span<std::byte> buffer, std::size_t* done);
  // Writes all of `data` unless the host fails; `done` says how much went.
  Status write(std::span<const std::byte> data, std::size_t* done);
  // Moves the position; a position before the start is invalid_argument
  // and leaves it where it was.
  Status seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position);
  // Makes the current position the end of the file.
  Status set_end();
  Status size(std::uint64_t* bytes) const;
  void close();

 private:
  int fd_ = -1;
};

struct FileAttributes {
  bool directory = false;
  bool read_only = false;
};

Status file_attributes(const DeviceRoot& root, std::u16string_view path, FileAttributes* attributes);
// Makes the file an ordinary writable file again.
Status set_normal_attributes(const DeviceRoot& root, std::u16string_view path);
Status delete_file(const DeviceRoot& root, std::u16string_view path);

// The device's start-up folder: programs linked there start with the device.
std::u16string_view startup_folder();

// The device path of the running program: the path the launcher started it
// as, else "\Program Files\Ductra\" followed by the program's file name.
std::u16string module_device_path();

}  // namespace ductra::platform
