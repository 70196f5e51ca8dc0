#include "engine/database/spec_pairs.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/foundation/stream_items.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kEntryTag = 3;
constexpr std::uint32_t kGroupTag = 2;
constexpr std::uint32_t kPairTag = 1;
constexpr std::uint64_t kGroupBytes = 10;
constexpr std::uint64_t kPairBytes = 10;

bool write_group(BinaryStream& stream, const SpecPairGroup& group) {
  if (!write_u32(stream, kGroupTag) || !write_u32(stream, group.pairs.size()) ||
      !write_u16(stream, group.key)) {
    return false;
  }
  for (const SpecPair& pair : group.pairs) {
    if (!write_u32(stream, kPairTag) || !write_u16(stream, pair.variant2) ||
        !write_u16(stream, pair.max_delta) || !write_u16(stream, pair.min_measure)) {
      return false;
    }
  }
  return true;
}

bool read_pair(BinaryStream& stream, SpecPair& pair) {
  std::uint32_t tag = 0;
  if (!read_u32(stream, &tag)) return false;
  if (tag != kPairTag) {
    stream.set_error();
    return false;
  }
  return read_u16(stream, &pair.variant2) && read_u16(stream, &pair.max_delta) &&
         read_u16(stream, &pair.min_measure);
}

bool read_group(BinaryStream& stream, SpecPairGroup& group) {
  std::uint32_t count = 0;
  if (!read_record_header(stream, kGroupTag, &count) || !can_hold(stream, count, kPairBytes, 2) ||
      !read_u16(stream, &group.key)) {
    return false;
  }
  return read_list(stream, group.pairs, count, read_pair);
}

}  // namespace

int SpecPairGroup::assign(const SpecPairGroup& other) {
  if (const int status = pairs.assign(other.pairs); status != kOk) return status;
  key = other.key;
  return kOk;
}

bool operator==(const SpecPairGroup& a, const SpecPairGroup& b) {
  return a.key == b.key &&
         std::equal(a.pairs.begin(), a.pairs.end(), b.pairs.begin(), b.pairs.end());
}

int SpecPairsEntry::assign(const SpecPairsEntry& other) {
  if (const int status = groups.assign(other.groups); status != kOk) return status;
  charset_id = other.charset_id;
  return kOk;
}

bool operator==(const SpecPairsEntry& a, const SpecPairsEntry& b) {
  return a.charset_id == b.charset_id &&
         std::equal(a.groups.begin(), a.groups.end(), b.groups.begin(), b.groups.end());
}

bool write_spec_pairs_entry(BinaryStream& stream, const SpecPairsEntry& entry) {
  if (!write_u32(stream, kEntryTag) || !write_u32(stream, entry.groups.size()) ||
      !write_u32(stream, entry.charset_id)) {
    return false;
  }
  for (const SpecPairGroup& group : entry.groups) {
    if (!write_group(stream, group)) return false;
  }
  return true;
}

bool read_spec_pairs_entry(BinaryStream& stream, SpecPairsEntry& entry) {
  std::uint32_t count = 0;
  if (!read_record_header(stream, kEntryTag, &count) || !can_hold(stream, count, kGroupBytes, 4) ||
      !read_u32(stream, &entry.charset_id)) {
    return false;
  }
  return read_list(stream, entry.groups, count, read_group);
}

const SpecPairGroup* lower_bound_by_id(const DynArray<SpecPairGroup>& groups, std::uint16_t key) {
  const SpecPairGroup* found =
      std::lower_bound(groups.begin(), groups.end(), key,
                       [](const SpecPairGroup& group, std::uint16_t k) { return group.key < k; });
  return found != groups.end() && found->key == key ? found : nullptr;
}

}  // namespace inkrec
