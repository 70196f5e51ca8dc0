// IdSet: a constant set of database ids that answers membership in one
// step, for the rules that test a candidate's ids against fixed lists.
//
// The set is a bit per id from 0 to Largest, built at compile time from
// single ids and inclusive ranges; an id above Largest is not in the set.
// Listing an id twice, a reversed range or an id above Largest does not
// compile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace inkrec {

// first..last inclusive; a single id is {id, id}.
struct IdRange {
  std::uint32_t first;
  std::uint32_t last;
};

template <std::uint32_t Largest>
class IdSet {
 public:
  consteval IdSet(std::initializer_list<IdRange> ranges) {
    for (const IdRange& range : ranges) {
      if (range.first > range.last || range.last > Largest) throw "id outside the set";
      for (std::uint32_t id = range.first; id <= range.last; ++id) {
        if (contains(id)) throw "id listed twice";
        words_[id / 64] |= std::uint64_t{1} << (id % 64);
      }
    }
  }

  constexpr bool contains(std::uint32_t id) const {
    return id <= Largest && ((words_[id / 64] >> (id % 64)) & 1) != 0;
  }

 private:
  std::array<std::uint64_t, Largest / 64 + 1> words_{};
};

}  // namespace inkrec
