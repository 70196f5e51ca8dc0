// BinaryStream: a stream with a sticky error flag and a tag word, through
// which the data file and the tagged binary records are read and written.
//
// Byte transfers never fail by their result; a short transfer shows in the
// count, and the caller then sets the error flag, which stays set for the
// stream's life. read_exact and write_exact do both in one step. The
// file's size is asked of the system once and kept until the stream writes,
// opens, closes or hands out its file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/file_holder.h"
#include "engine/foundation/file_image.h"

namespace inkrec {

class BinaryStream {
 public:
  BinaryStream() = default;

  // Opens "rb" when open_mode is 1, else "r+b"; clears the flag and the tag.
  // The second mode word is accepted for callers that pass one and ignored.
  bool open(const char* path, int open_mode, int unused_mode = 0);
  bool open_wide(const char16_t* path, int open_mode, int unused_mode = 0);

  bool good() const { return (file_.is_open() || image_.holds()) && !error_; }
  void set_error() { error_ = true; }

  // Always 1; the number of bytes moved goes to *transferred.
  int read(void* buffer, std::size_t n, std::size_t* transferred);
  int write(const void* buffer, std::size_t n, std::size_t* transferred);

  // Transfer exactly n bytes or set the error flag; returns good().
  bool read_exact(void* buffer, std::size_t n);
  bool write_exact(const void* buffer, std::size_t n);

  // Copies the whole open file into memory and closes it, keeping the
  // position: every later read is served from the copy and gives the same
  // bytes and shortfalls as the file would, and writes fail. False, with
  // the stream still reading its file, when the copy cannot be made.
  bool read_into_memory();

  std::uint32_t tag() const { return tag_; }
  // Stores a new tag and returns the previous one.
  std::uint32_t set_tag(std::uint32_t tag);

  int seek(long offset, int engine_origin);
  long tell();
  long length();
  int close();
  bool mark_invalid();
  bool write_invalid_marker();

  // The size of the open file in bytes, -1 when it cannot be had.
  long long file_size();

  // The file itself: whatever the caller does with it, the kept size is
  // asked again.
  FileHolder& file();

 private:
  static constexpr long long kSizeUnknown = -2;

  FileHolder file_;
  FileImage image_;
  long long known_size_ = kSizeUnknown;
  bool error_ = false;
  std::uint32_t tag_ = 0;
};

}  // namespace inkrec
