// Training from a sample needs the figures and text lines of the last
// recognition, which the segmentation keeps; until it is built a kernel
// holds none, and both forms answer as for a request without figure
// references.
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"

namespace inkrec {

int Kernel::make_correction(const crCorrRequest*, int, int, int, int, int,
                            const DynArray<std::uint32_t>*, const DynArray<std::uint16_t>*) {
  return kBadArgument;
}

int Kernel::make_correction_special(const crCorrRequest*, int, int, int, int, int, int, int, int,
                                    const DynArray<std::uint32_t>*,
                                    const DynArray<std::uint16_t>*) {
  return kBadArgument;
}

}  // namespace inkrec
