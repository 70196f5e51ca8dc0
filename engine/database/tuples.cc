#include "engine/database/tuples.h"

#include <algorithm>
#include <iterator>

#include "engine/foundation/status.h"
#include "engine/foundation/stream_items.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kEntryTag = 3;
constexpr std::uint32_t kTupleTag = 2;
constexpr std::uint32_t kListTag = 1;
constexpr std::uint64_t kTupleBytes = 8 + 3 * 8;

std::uint32_t packed_rule(const Tuple& tuple) {
  std::uint32_t packed = tuple.rule;
  for (int i = 0; i < 3; ++i) {
    if (tuple.complex[i] != 0) packed |= 1u << (16 + i);
  }
  return packed;
}

bool write_tuple(BinaryStream& stream, const Tuple& tuple) {
  if (!write_u32(stream, kTupleTag) || !write_u32(stream, packed_rule(tuple))) return false;
  for (const DynArray<std::uint16_t>& list : tuple.lists) {
    if (!write_u32(stream, kListTag) || !write_u32(stream, list.size()) ||
        !write_raw_array(stream, list)) {
      return false;
    }
  }
  return true;
}

bool read_id_list(BinaryStream& stream, DynArray<std::uint16_t>& list) {
  std::uint32_t count = 0;
  if (!read_record_header(stream, kListTag, &count) || !can_hold(stream, count, 2)) return false;
  list.clear();
  if (list.resize(count) != kOk) {
    stream.set_error();
    return false;
  }
  return stream.read_exact(list.data(), 2 * std::size_t{count});
}

bool read_tuple(BinaryStream& stream, Tuple& tuple) {
  std::uint32_t packed = 0;
  if (!read_record_header(stream, kTupleTag, &packed)) return false;
  tuple.rule = static_cast<std::uint16_t>(packed & 0xFFFF);
  for (int i = 0; i < 3; ++i) tuple.complex[i] = (packed >> (16 + i)) & 1;
  for (DynArray<std::uint16_t>& list : tuple.lists) {
    if (!read_id_list(stream, list)) return false;
  }
  return true;
}

bool same_ids(const DynArray<std::uint16_t>& a, const DynArray<std::uint16_t>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

int Tuple::assign(const Tuple& other) {
  if (this == &other) return kOk;
  DynArray<std::uint16_t> copies[3];
  for (int i = 0; i < 3; ++i) {
    if (copies[i].assign(other.lists[i]) != kOk) return kOutOfMemory;
  }
  for (int i = 0; i < 3; ++i) lists[i].swap(copies[i]);
  rule = other.rule;
  std::copy(std::begin(other.complex), std::end(other.complex), std::begin(complex));
  return kOk;
}

bool operator==(const Tuple& a, const Tuple& b) {
  return a.rule == b.rule && std::equal(std::begin(a.complex), std::end(a.complex), b.complex) &&
         same_ids(a.lists[0], b.lists[0]) && same_ids(a.lists[1], b.lists[1]) &&
         same_ids(a.lists[2], b.lists[2]);
}

int TuplesEntry::assign(const TuplesEntry& other) {
  if (const int status = tuples.assign(other.tuples); status != kOk) return status;
  charset_id = other.charset_id;
  return kOk;
}

bool operator==(const TuplesEntry& a, const TuplesEntry& b) {
  return a.charset_id == b.charset_id &&
         std::equal(a.tuples.begin(), a.tuples.end(), b.tuples.begin(), b.tuples.end());
}

bool write_tuples_entry(BinaryStream& stream, const TuplesEntry& entry) {
  if (!write_u32(stream, kEntryTag) || !write_u32(stream, entry.tuples.size()) ||
      !write_u32(stream, entry.charset_id)) {
    return false;
  }
  for (const Tuple& tuple : entry.tuples) {
    if (!write_tuple(stream, tuple)) return false;
  }
  return true;
}

bool read_tuples_entry(BinaryStream& stream, TuplesEntry& entry) {
  std::uint32_t count = 0;
  return read_record_header(stream, kEntryTag, &count) && can_hold(stream, count, kTupleBytes, 4) &&
         read_u32(stream, &entry.charset_id) && read_list(stream, entry.tuples, count, read_tuple);
}

}  // namespace inkrec
