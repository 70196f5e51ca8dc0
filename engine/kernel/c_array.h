// The engine's DynArray seen through the C interface's crDynArray: the two
// share one layout, checked here, so arrays cross the boundary as they are.
#pragma once

#include <cstddef>
#include <type_traits>

#include "engine/foundation/dyn_array.h"
#include "inkrec/inkrec.h"

namespace inkrec {

struct DynArrayLayout {
  using Probe = DynArray<char16_t>;
  static_assert(std::is_standard_layout_v<Probe>);
  static_assert(sizeof(Probe) == sizeof(crDynArray));
  static_assert(offsetof(Probe, tag_) == offsetof(crDynArray, tag));
  static_assert(offsetof(Probe, count_) == offsetof(crDynArray, count));
  static_assert(offsetof(Probe, capacity_) == offsetof(crDynArray, capacity));
  static_assert(offsetof(Probe, data_) == offsetof(crDynArray, data));
};

template <typename T>
const DynArray<T>* from_c_array(const crDynArray* array) {
  return reinterpret_cast<const DynArray<T>*>(array);
}

template <typename T>
DynArray<T>* from_c_array(crDynArray* array) {
  return reinterpret_cast<DynArray<T>*>(array);
}

}  // namespace inkrec
