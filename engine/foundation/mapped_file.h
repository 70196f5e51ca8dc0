// MappedFile: a whole file mapped read-only, through which the word lists
// are read in place. The view's length is known, so readers check every
// offset against size() before they read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/env.h"

namespace inkrec {

class MappedFile {
 public:
  MappedFile() = default;
  // Maps the file; data() is null when it is missing, unreadable or empty.
  explicit MappedFile(const char16_t* path);

  const std::uint8_t* data() const { return mapping_.data(); }
  std::size_t size() const { return mapping_.size(); }
  bool is_open() const { return mapping_.is_open(); }
  void close() { mapping_.close(); }

 private:
  platform::ReadOnlyMapping mapping_;
};

}  // namespace inkrec
