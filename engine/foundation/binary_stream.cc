#include "engine/foundation/binary_stream.h"

#include "platform/env.h"

namespace inkrec {

bool BinaryStream::open(const char* path, int open_mode, int) {
  image_.drop();
  known_size_ = kSizeUnknown;
  error_ = false;
  tag_ = 0;
  return file_.open_for_access(path, open_mode);
}

bool BinaryStream::open_wide(const char16_t* path, int open_mode, int) {
  image_.drop();
  known_size_ = kSizeUnknown;
  error_ = false;
  tag_ = 0;
  return file_.open_wide_for_access(path, open_mode);
}

int BinaryStream::read(void* buffer, std::size_t n, std::size_t* transferred) {
  if (!image_.holds()) return file_.read_bytes(buffer, n, transferred);
  *transferred = image_.read(buffer, n);
  return 1;
}

bool BinaryStream::read_into_memory() {
  if (!file_.is_open() || !image_.take(file_)) return false;
  file_.close();
  known_size_ = image_.size();
  return true;
}

int BinaryStream::seek(long offset, int engine_origin) {
  return image_.holds() ? image_.seek(offset, engine_origin) : file_.seek(offset, engine_origin);
}

long BinaryStream::tell() { return image_.holds() ? image_.tell() : file_.tell(); }

long BinaryStream::length() { return image_.holds() ? image_.size() : file_.length(); }

int BinaryStream::write(const void* buffer, std::size_t n, std::size_t* transferred) {
  known_size_ = kSizeUnknown;
  return file_.write_bytes(buffer, n, transferred);
}

int BinaryStream::close() {
  image_.drop();
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
  if (image_.holds()) return image_.size();
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
