#include "engine/foundation/stream_items.h"

namespace inkrec {

std::uint64_t bytes_left(BinaryStream& stream) {
  const long long size = stream.file_size();
  const long position = stream.tell();
  if (size < 0 || position < 0 || position > size) return 0;
  return static_cast<std::uint64_t>(size - position);
}

bool can_hold(BinaryStream& stream, std::uint64_t count, std::uint64_t least_bytes,
              std::uint64_t fixed_bytes) {
  if (!stream.good()) return false;
  // count is at most 32 bits and least_bytes small, so the product fits.
  if (fixed_bytes + count * least_bytes > bytes_left(stream)) {
    stream.set_error();
    return false;
  }
  return true;
}

}  // namespace inkrec
