// FileImage: a whole file copied into memory, read back the way its open
// stream would be read.
//
// take() copies the file behind an open holder at once; read, seek and tell
// then behave as the stream's would (a read past the end moves what is
// left, a seek may pass the end but not the start, an unknown origin fails
// without moving), so a reader of many small records gets the same bytes
// and the same shortfalls without a call into the C library for each.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/file_holder.h"

namespace inkrec {

class FileImage {
 public:
  // Copies the whole file and sets the position to the holder's; false,
  // holding nothing and leaving the holder's position where it was, when
  // the file's size cannot be had, memory runs out or the copy falls short.
  bool take(FileHolder& file);
  bool holds() const { return held_; }
  void drop();

  std::size_t read(void* buffer, std::size_t n);
  // 0 on success; -1, without moving, for an unknown origin or a position
  // before the start.
  int seek(long offset, int engine_origin);
  long tell() const { return position_; }
  long size() const { return static_cast<long>(bytes_.size()); }

 private:
  DynArray<std::uint8_t> bytes_;
  long position_ = 0;
  bool held_ = false;
};

}  // namespace inkrec
