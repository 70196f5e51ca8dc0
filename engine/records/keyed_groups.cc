// The keyed group records.

#include "engine/records/keyed_groups.h"

#include <utility>

#include "engine/foundation/status.h"

namespace inkrec {

int KeyedGroups::set(std::uint32_t new_key, const PtrArray<FigureGroup>& new_groups) {
  if (&new_groups != &groups) {
    if (const int status = copy_group_list(new_groups, groups); status != kOk) return status;
  }
  key = new_key;
  return kOk;
}

int KeyedGroups::copy_into(KeyedGroups* storage, const KeyedGroups& source) {
  return storage == nullptr ? kOk : storage->assign(source);
}

int KeyedGroups::copy_array(const DynArray<KeyedGroups>& from, DynArray<KeyedGroups>& to) {
  return to.assign(from);
}

void KeyedGroups::clear_array(DynArray<KeyedGroups>& records) { records.clear(); }

void KeyedGroups::release_array(DynArray<KeyedGroups>& records) { records.release(); }

int KeyedGroupsList::assign(const KeyedGroupsList& other) {
  if (this == &other) return kOk;
  KeyedGroupsList copy;
  if (copy.records.assign(other.records) != kOk ||
      copy_group_list(other.groups, copy.groups) != kOk) {
    return kOutOfMemory;
  }
  *this = std::move(copy);
  return kOk;
}

int KeyedGroupsSet::assign(const KeyedGroupsSet& other) {
  if (this == &other) return kOk;
  KeyedGroupsSet copy;
  if (copy.key.assign(other.key) != kOk || copy.list.assign(other.list) != kOk) {
    return kOutOfMemory;
  }
  copy.words[0] = other.words[0];
  copy.words[1] = other.words[1];
  *this = std::move(copy);
  return kOk;
}

int KeyedLineEntry::set(std::uint32_t v0, std::uint32_t v1, std::uint32_t v2,
                        const KeyedGroupsSet& new_set, std::uint8_t new_flag) {
  if (const int status = groups.assign(new_set); status != kOk) return status;
  values[0] = v0;
  values[1] = v1;
  values[2] = v2;
  flag = new_flag;
  spare = 0;
  return kOk;
}

int KeyedLineEntry::assign(const KeyedLineEntry& other) {
  if (this == &other) return kOk;
  const int status =
      set(other.values[0], other.values[1], other.values[2], other.groups, other.flag);
  if (status == kOk) spare = other.spare;
  return status;
}

KeyedSetMap::iterator find_keyed_set(KeyedSetMap& map, const BitSet& key) { return map.find(key); }

}  // namespace inkrec
