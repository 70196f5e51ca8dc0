// The layout of the data file "qlmain.dt": an 8-byte header, one chunk per
// non-empty table, and a terminator. All integers are little-endian.
//
// Header: 'g', 's', 't', 0, u16 version 259, u16 0 (not tested on reading).
// Chunk: a 12-byte ChunkHeader, then the payload its slot's ChunkHandler
// writes. Fixed-size tables give their record size and count × record size;
// the variable tables give the placeholder 1 for both, and their payload's
// length is known only by reading it. Terminator: a ChunkHeader with slot
// 0xFFFF and all else 0, then the u32 0xFFFFFFFF.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inkrec {

inline constexpr std::uint16_t kDataFileVersion = 259;
inline constexpr std::uint16_t kEndSlot = 0xFFFF;
inline constexpr std::uint32_t kEndMarker = 0xFFFFFFFF;
inline constexpr std::uint16_t kSlotCount = 13;

// Chunk slots; slot 6 is never written.
inline constexpr std::uint16_t kCharSetSlot = 0;
inline constexpr std::uint16_t kSymbSlot = 1;
inline constexpr std::uint16_t kCharSetSymbSlot = 2;
inline constexpr std::uint16_t kKnowledgeBaseSlot = 3;
inline constexpr std::uint16_t kShapeSlot = 4;
inline constexpr std::uint16_t kRafSlot = 5;
inline constexpr std::uint16_t kComplexVariantSlot = 7;
inline constexpr std::uint16_t kTuplesSlot = 8;
inline constexpr std::uint16_t kSpecPairsSsSlot = 9;
inline constexpr std::uint16_t kSpecPairsCsSlot = 10;
inline constexpr std::uint16_t kSpecPairsScSlot = 11;
inline constexpr std::uint16_t kSpecPairsCcSlot = 12;

struct FileHeader {
  char magic[4];
  std::uint16_t version;
  std::uint16_t unused;
};
static_assert(sizeof(FileHeader) == 8 && offsetof(FileHeader, version) == 4);

inline constexpr FileHeader kFileHeader = {{'g', 's', 't', '\0'}, kDataFileVersion, 0};

struct ChunkHeader {
  std::uint16_t slot;
  std::uint16_t record_size;
  std::uint32_t byte_size;
  std::uint32_t count;
};
static_assert(sizeof(ChunkHeader) == 12 && offsetof(ChunkHeader, record_size) == 2 &&
              offsetof(ChunkHeader, byte_size) == 4 && offsetof(ChunkHeader, count) == 8);

}  // namespace inkrec
