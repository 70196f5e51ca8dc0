// Typed element transfers on a BinaryStream, on which every stored format
// of the engine rests.
//
// Each transfer moves exactly the width of its element (1, 2, 4 or 32
// bytes) in the machine's byte order (little-endian); a short transfer sets
// the stream's error flag and the result is false. Nothing is transferred on
// a stream that is no longer good. bytes_left() tells readers how much of
// the file remains, so that counts read from a file can be checked before
// anything is reserved for them.
#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

static_assert(std::endian::native == std::endian::little,
              "stored records are little-endian and transferred as raw bytes");

template <typename T>
concept StreamItem = std::is_trivially_copyable_v<T>;

template <StreamItem T>
bool read_u8(BinaryStream& stream, T* value) {
  static_assert(sizeof(T) == 1);
  return stream.read_exact(value, 1);
}
template <StreamItem T>
bool write_u8(BinaryStream& stream, const T& value) {
  static_assert(sizeof(T) == 1);
  return stream.write_exact(&value, 1);
}
template <StreamItem T>
bool read_u16(BinaryStream& stream, T* value) {
  static_assert(sizeof(T) == 2);
  return stream.read_exact(value, 2);
}
template <StreamItem T>
bool write_u16(BinaryStream& stream, const T& value) {
  static_assert(sizeof(T) == 2);
  return stream.write_exact(&value, 2);
}
template <StreamItem T>
bool read_u32(BinaryStream& stream, T* value) {
  static_assert(sizeof(T) == 4);
  return stream.read_exact(value, 4);
}
template <StreamItem T>
bool write_u32(BinaryStream& stream, const T& value) {
  static_assert(sizeof(T) == 4);
  return stream.write_exact(&value, 4);
}
template <StreamItem T>
bool read_block32(BinaryStream& stream, T* value) {
  static_assert(sizeof(T) == 32);
  return stream.read_exact(value, 32);
}
template <StreamItem T>
bool write_block32(BinaryStream& stream, const T& value) {
  static_assert(sizeof(T) == 32);
  return stream.write_exact(&value, 32);
}

// Writes the elements of a byte or 16-bit array in one call; an empty array
// writes nothing and succeeds.
template <StreamItem T>
bool write_raw_array(BinaryStream& stream, const DynArray<T>& items) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2);
  return stream.write_exact(items.data(), std::size_t{items.size()} * sizeof(T));
}

// The bytes between the stream's position and the end of its file; 0 when
// either cannot be had.
std::uint64_t bytes_left(BinaryStream& stream);

// Whether `count` items of at least `least_bytes` each can still be in the
// file after `fixed_bytes` more bytes; when not, sets the error flag.
bool can_hold(BinaryStream& stream, std::uint64_t count, std::uint64_t least_bytes,
              std::uint64_t fixed_bytes = 0);

// Empties `list`, then reads `count` elements into fresh (default) entries
// with read_one, stopping after the first that leaves the stream not good.
// The caller checks `count` against the file first; a list that cannot grow
// sets the error flag.
template <typename Element, typename ReadOne>
bool read_list(BinaryStream& stream, DynArray<Element>& list, std::uint32_t count,
               ReadOne read_one) {
  list.clear();
  if (!list.reserve(count)) {
    stream.set_error();
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    Element* element = list.push_default();
    if (element == nullptr) {
      stream.set_error();
      return false;
    }
    if (!read_one(stream, *element)) return false;
  }
  return stream.good();
}

}  // namespace inkrec
