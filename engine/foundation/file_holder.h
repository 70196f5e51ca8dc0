// FileHolder: one standard I/O stream with typed little-endian readers and
// writers. The holder closes its stream when destroyed. Typed reads and
// writes report a short or failed transfer as 12001.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace inkrec {

// Seek origins of the engine's file operations.
enum class SeekOrigin : int { kBegin = 0, kCurrent = 1, kEnd = 2 };

// Access mode 1 opens a file for reading only ("rb"); any other mode for
// reading and writing ("r+b").
inline constexpr int kAccessReadOnly = 1;

class FileHolder {
 public:
  FileHolder() = default;
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;
  FileHolder(FileHolder&& other) noexcept;
  FileHolder& operator=(FileHolder&& other) noexcept;

  // Open a stream (closing any held one first); false when it fails, and
  // the holder then holds nothing.
  bool open(const char* path, const char* mode);
  bool open_wide(const char16_t* path, const char16_t* mode);
  bool open_for_access(const char* path, int access_mode);
  bool open_wide_for_access(const char16_t* path, int access_mode);
  // Takes over an open stream (closing any held one first).
  void adopt(std::FILE* stream);

  std::size_t read(void* buffer, std::size_t item_size, std::size_t count);
  std::size_t write(const void* buffer, std::size_t item_size, std::size_t count);
  // Byte-wise transfers: the count moved goes to *transferred; always 1.
  int read_bytes(void* buffer, std::size_t n, std::size_t* transferred);
  int write_bytes(const void* buffer, std::size_t n, std::size_t* transferred);

  int seek_raw(long offset, int standard_origin);
  // 0 on success; an origin outside 0..2 fails without moving.
  int seek(long offset, int engine_origin);
  int seek_to(long offset);
  long tell();
  // The file's length; the position is kept.
  long length();
  bool at_end();
  int error();
  bool is_open() const { return stream_ != nullptr; }

  int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // 1 when nothing is held or the stream closed; 0 when fclose failed (the
  // stream is then kept).
  int close();

  int read_u32(std::uint32_t* value);
  int read_u16(std::uint16_t* value);
  int write_u32(std::uint32_t value);
  int write_u16(std::uint16_t value);

  // Writes 0xFFFFFFFF at the current position; true when it was written.
  bool write_invalid_marker();
  // Makes the first four bytes of the file 0xFFFFFFFF.
  bool mark_invalid();

  // A u32 unit count, then the units; -2 for null.
  int write_wide_string(const char16_t* text);
  // Reads a stored string into buffer (capacity + 1 units): the first
  // `capacity` units are kept, a 0 follows them, the rest is skipped. Stops
  // at the first failed read with 12001; -2 for a null buffer.
  int read_wide_string(char16_t* buffer, std::uint32_t capacity);

  std::FILE* stream() const { return stream_; }

 private:
  std::FILE* stream_ = nullptr;
};

bool open_file(FileHolder& holder, const std::string& path, const std::string& mode);
bool open_file_w(FileHolder& holder, const std::u16string& path, const std::u16string& mode);

}  // namespace inkrec
