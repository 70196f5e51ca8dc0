// The insertion rule of answer lists, for any array of entries that have a
// total() and a key: an AnswerList's answers, or a lighter index of
// answers kept elsewhere. One rule, so that both give the same lists.
//
// An entry goes in its place by total, after entries of equal total. It is
// refused (0, nothing changed) when an entry with its key is not worse,
// when the array holds more than 10 entries and the new one is more than
// 1100 below the first or below 5000 without beating the last, or when it
// would be appended to an array of `limit` entries or more. An entry that
// goes before worse ones displaces every later entry with its key.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"

namespace inkrec {

// Whether an insertion looks for entries with the new entry's key, or the
// caller knows the array holds none.
enum class KeyCheck { kLook, kKnownAbsent };

// The pruning of a long array: whether an entry of total t is refused
// before its place is looked for.
template <typename T>
bool refused_as_weak(const DynArray<T>& entries, std::int64_t t) {
  const std::uint32_t n = entries.size();
  if (n <= 10) return false;
  const std::int64_t best = entries[0].total();
  const std::int64_t last = entries[n - 1].total();
  return (best - t > 1100 || t < 5000) && t <= last;
}

// The rest of an insertion once the entry's place p is known (every entry
// before p is at least as good and has another key): 0, or -1 with the
// array unchanged when it cannot grow.
template <typename T>
int place_ranked(DynArray<T>& entries, std::uint32_t p, const T& entry, std::uint32_t limit,
                 KeyCheck keys) {
  const std::uint32_t n = entries.size();
  if (p == n) {
    if (n >= limit) return kOk;
    return entries.push_back(entry);
  }
  // Room first, so that a failure loses none of the displaced entries.
  if (!entries.reserve(1)) return kOutOfMemory;
  for (std::uint32_t k = entries.size(); keys == KeyCheck::kLook && k > p; --k) {
    if (entries[k - 1].key == entry.key) entries.erase(k - 1, 1);
  }
  return insert_at(entries, p, entry);
}

// The insertion into an array in descending order of total (one grown by
// these insertions alone): the place found by halving.
template <typename T>
int insert_ranked(DynArray<T>& entries, const T& entry, std::uint32_t limit, KeyCheck keys) {
  const std::int64_t t = entry.total();
  if (refused_as_weak(entries, t)) return kOk;
  const DynArray<T>& sorted = entries;
  const T* first_worse = std::partition_point(sorted.begin(), sorted.end(),
                                              [t](const T& e) { return e.total() >= t; });
  if (keys == KeyCheck::kLook && std::any_of(sorted.begin(), first_worse,
                                             [&entry](const T& e) { return e.key == entry.key; })) {
    return kOk;
  }
  return place_ranked(entries, static_cast<std::uint32_t>(first_worse - sorted.begin()), entry,
                      limit, keys);
}

}  // namespace inkrec
