#include "app/composition/composition.h"

#include <algorithm>

namespace ductra {

Composition::Composition(const CompositionEntry& entry)
    : pattern_(PatternEntry{entry.positions.first(std::min(entry.positions.size(), kMaxMarks)), {}}),
      letters_(entry.letters) {}

}  // namespace ductra
