// The operating system as the engine and the application see it.
//
// This is the one place that calls POSIX: read-only file mappings, shared
// libraries, durable file replacement. Everything else goes through here.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// A read-only view of a whole file. A missing, unreadable or empty file
// gives a mapping that is not open (data() null, size() 0).
class ReadOnlyMapping {
 public:
  ReadOnlyMapping() = default;
  explicit ReadOnlyMapping(const std::string& path);
  ~ReadOnlyMapping() { close(); }
  ReadOnlyMapping(const ReadOnlyMapping&) = delete;
  ReadOnlyMapping& operator=(const ReadOnlyMapping&) = delete;
  ReadOnlyMapping(ReadOnlyMapping&& other) noexcept;
  ReadOnlyMapping& operator=(ReadOnlyMapping&& other) noexcept;

  bool is_open() const { return data_ != nullptr; }
  const unsigned char* data() const { return data_; }
  std::size_t size() const { return size_; }
  void close();

 private:
  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
};

// A loaded shared library; null when it cannot be loaded.
void* load_library(const std::string& path);
void free_library(void* handle);

// The size in bytes of the file behind an open stream, without moving its
// position or dropping its buffer; -1 when it cannot be had.
long long file_size(std::FILE* stream);

// Pushes a stream's written data to the disk; false on failure.
bool sync_file(std::FILE* stream);

// Renames `from` over `to` in one step (the old `to` is replaced whole).
bool replace_file(const std::string& from, const std::string& to);
bool remove_file(const std::string& path);

}  // namespace platform
