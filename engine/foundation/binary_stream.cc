#include "engine/foundation/binary_stream.h"

#include "platform/env.h"

namespace inkrec {

bool BinaryStream::open(const char* path, int open_mode, int) {
  known_size_ = kSizeUnknown;
  error_ = false;
  tag_ = 0;
  return file_.open_for_access(path, open_mode);
}

bool BinaryStream::open_wide(const char16_t* path, int open_mode, int) {
  known_size_ = kSizeUnknown;
  error_ = false;
  tag_ = 0;
  return file_.open_wide_for_access(path, open_mode);
}

int BinaryStream::read(void* buffer, std::size_t n, std::size_t* transferred) {
  return file_.read_bytes(buffer, n, transferred);
}

int BinaryStream::write(const void* buffer, std::size_t n, std::size_t* transferred) {
  known_size_ = kSizeUnknown;
  return file_.write_bytes(buffer, n, transferred);
}

int BinaryStream::close() {
  known_size_ = kSizeUnknown;
  return file_.close();
}

bool BinaryStream::mark_invalid() {
  known_size_ = kSizeUnknown;
  return file_.mark_invalid();
}

bool BinaryStream::write_invalid_marker() {
  known_size_ = kSizeUnknown;
  return file_.write_invalid_marker();
}

long long BinaryStream::file_size() {
  if (known_size_ == kSizeUnknown) known_size_ = platform::file_size(file_.stream());
  return known_size_;
}

FileHolder& BinaryStream::file() {
  known_size_ = kSizeUnknown;
  return file_;
}

bool BinaryStream::read_exact(void* buffer, std::size_t n) {
  std::size_t transferred = 0;
  if (good() && n != 0) read(buffer, n, &transferred);
  if (transferred != n) set_error();
  return good();
}

bool BinaryStream::write_exact(const void* buffer, std::size_t n) {
  std::size_t transferred = 0;
  if (good() && n != 0) write(buffer, n, &transferred);
  if (transferred != n) set_error();
  return good();
}

std::uint32_t BinaryStream::set_tag(std::uint32_t tag) {
  const std::uint32_t previous = tag_;
  tag_ = tag;
  return previous;
}

}  // namespace inkrec
