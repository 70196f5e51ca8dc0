#include "engine/foundation/file_holder.h"

#include <algorithm>
#include <cstdarg>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"

namespace inkrec {

FileHolder::~FileHolder() { close(); }

FileHolder::FileHolder(FileHolder&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)) {}

FileHolder& FileHolder::operator=(FileHolder&& other) noexcept {
  if (this != &other) {
    close();
    stream_ = std::exchange(other.stream_, nullptr);
  }
  return *this;
}

bool FileHolder::open(const char* path, const char* mode) {
  close();
  if (path == nullptr || mode == nullptr) return false;
  stream_ = std::fopen(path, mode);
  return stream_ != nullptr;
}

bool FileHolder::open_wide(const char16_t* path, const char16_t* mode) {
  if (path == nullptr || mode == nullptr) {
    close();
    return false;
  }
  return open(utf16_to_utf8(path).c_str(), utf16_to_utf8(mode).c_str());
}

bool FileHolder::open_for_access(const char* path, int access_mode) {
  return open(path, access_mode == kAccessReadOnly ? "rb" : "r+b");
}

bool FileHolder::open_wide_for_access(const char16_t* path, int access_mode) {
  return open_wide(path, access_mode == kAccessReadOnly ? u"rb" : u"r+b");
}

void FileHolder::adopt(std::FILE* stream) {
  close();
  stream_ = stream;
}

std::size_t FileHolder::read(void* buffer, std::size_t item_size, std::size_t count) {
  return stream_ == nullptr ? 0 : std::fread(buffer, item_size, count, stream_);
}

std::size_t FileHolder::write(const void* buffer, std::size_t item_size, std::size_t count) {
  return stream_ == nullptr ? 0 : std::fwrite(buffer, item_size, count, stream_);
}

int FileHolder::read_bytes(void* buffer, std::size_t n, std::size_t* transferred) {
  *transferred = read(buffer, 1, n);
  return 1;
}

int FileHolder::write_bytes(const void* buffer, std::size_t n, std::size_t* transferred) {
  *transferred = write(buffer, 1, n);
  return 1;
}

int FileHolder::seek_raw(long offset, int standard_origin) {
  return stream_ == nullptr ? -1 : std::fseek(stream_, offset, standard_origin);
}

int FileHolder::seek(long offset, int engine_origin) {
  switch (static_cast<SeekOrigin>(engine_origin)) {
    case SeekOrigin::kBegin: return seek_raw(offset, SEEK_SET);
    case SeekOrigin::kCurrent: return seek_raw(offset, SEEK_CUR);
    case SeekOrigin::kEnd: return seek_raw(offset, SEEK_END);
  }
  return -1;
}

int FileHolder::seek_to(long offset) {
  seek_raw(offset, SEEK_SET);
  return 0;
}

long FileHolder::tell() { return stream_ == nullptr ? -1 : std::ftell(stream_); }

long FileHolder::length() {
  const long position = tell();
  if (position < 0 || seek_raw(0, SEEK_END) != 0) return -1;
  const long end = tell();
  seek_raw(position, SEEK_SET);
  return end;
}

bool FileHolder::at_end() { return stream_ != nullptr && std::feof(stream_) != 0; }

int FileHolder::error() { return stream_ == nullptr ? 1 : std::ferror(stream_); }

int FileHolder::printf(const char* format, ...) {
  if (stream_ == nullptr) return -1;
  va_list args;
  va_start(args, format);
  const int written = std::vfprintf(stream_, format, args);
  va_end(args);
  std::fflush(stream_);
  return written;
}

int FileHolder::close() {
  if (stream_ == nullptr) return 1;
  if (std::fclose(stream_) != 0) return 0;
  stream_ = nullptr;
  return 1;
}

int FileHolder::read_u32(std::uint32_t* value) {
  return read(value, 4, 1) == 1 && error() == 0 ? kOk : kFileIo;
}

int FileHolder::read_u16(std::uint16_t* value) {
  return read(value, 2, 1) == 1 && error() == 0 ? kOk : kFileIo;
}

int FileHolder::write_u32(std::uint32_t value) {
  return write(&value, 4, 1) == 1 && error() == 0 ? kOk : kFileIo;
}

int FileHolder::write_u16(std::uint16_t value) {
  return write(&value, 2, 1) == 1 && error() == 0 ? kOk : kFileIo;
}

bool FileHolder::write_invalid_marker() {
  const std::uint32_t marker = 0xFFFFFFFF;
  return write(&marker, 4, 1) == 1;
}

bool FileHolder::mark_invalid() { return seek_raw(0, SEEK_SET) == 0 && write_invalid_marker(); }

int FileHolder::write_wide_string(const char16_t* text) {
  if (text == nullptr) return kBadArgument;
  const std::u16string_view units(text);
  if (const int status = write_u32(static_cast<std::uint32_t>(units.size())); status != kOk) {
    return status;
  }
  for (const char16_t unit : units) {
    if (const int status = write_u16(unit); status != kOk) return status;
  }
  return kOk;
}

int FileHolder::read_wide_string(char16_t* buffer, std::uint32_t capacity) {
  if (buffer == nullptr) return kBadArgument;
  buffer[0] = u'\0';
  std::uint32_t length = 0;
  if (const int status = read_u32(&length); status != kOk) return status;
  for (std::uint32_t i = 0; i < length; ++i) {
    std::uint16_t unit = 0;
    if (const int status = read_u16(&unit); status != kOk) {
      buffer[std::min(i, capacity)] = u'\0';
      return status;
    }
    if (i < capacity) buffer[i] = static_cast<char16_t>(unit);
  }
  buffer[std::min(length, capacity)] = u'\0';
  return kOk;
}

bool open_file(FileHolder& holder, const std::string& path, const std::string& mode) {
  return holder.open(path.c_str(), mode.c_str());
}

bool open_file_w(FileHolder& holder, const std::u16string& path, const std::u16string& mode) {
  return holder.open_wide(path.c_str(), mode.c_str());
}

}  // namespace inkrec
