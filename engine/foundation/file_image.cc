#include "engine/foundation/file_image.h"

#include <cstring>
#include <limits>

#include "platform/env.h"

namespace inkrec {

bool FileImage::take(FileHolder& file) {
  drop();
  const long position = file.tell();
  const long long size = platform::file_size(file.stream());
  if (position < 0 || size < 0 || size > DynArray<std::uint8_t>::kMaxCount ||
      size > std::numeric_limits<long>::max()) {
    return false;
  }
  const auto count = static_cast<std::uint32_t>(size);
  if (bytes_.resize(count) != kOk || file.seek_raw(0, SEEK_SET) != 0) {
    drop();
    return false;
  }
  const bool whole = file.read(bytes_.data(), 1, count) == count;
  if (!whole) {
    file.seek_raw(position, SEEK_SET);
    drop();
    return false;
  }
  position_ = position;
  held_ = true;
  return true;
}

void FileImage::drop() {
  bytes_.release();
  position_ = 0;
  held_ = false;
}

std::size_t FileImage::read(void* buffer, std::size_t n) {
  if (!held_ || position_ >= size()) return 0;
  const std::size_t left = static_cast<std::size_t>(size() - position_);
  const std::size_t moved = n < left ? n : left;
  std::memcpy(buffer, bytes_.data() + position_, moved);
  position_ += static_cast<long>(moved);
  return moved;
}

int FileImage::seek(long offset, int engine_origin) {
  long base = 0;
  switch (static_cast<SeekOrigin>(engine_origin)) {
    case SeekOrigin::kBegin: base = 0; break;
    case SeekOrigin::kCurrent: base = position_; break;
    case SeekOrigin::kEnd: base = size(); break;
    default: return -1;
  }
  if (!held_ || (offset < 0 && offset < -base) ||
      (offset > 0 && base > std::numeric_limits<long>::max() - offset)) {
    return -1;
  }
  position_ = base + offset;
  return 0;
}

}  // namespace inkrec
