// CorrectionRequest: the engine's view of crCorrRequest, the request of the
// training exports. It names figures of the kernel's last recognition and is
// owned by the caller; the kernel only reads it.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct FigureRecord;

struct CorrectionRequest {
  // The first one's text line is the sample's; crmMakeCorrSpecial trains
  // on a piece of one of them.
  DynArray<const FigureRecord*> figures;
  // Entries 60 and 61 are kept with the sample.
  const std::uint16_t* values;
  // Positions among the candidates of that text line.
  DynArray<std::uint32_t> figure_indices;
};

// The entries of `values` kept with the sample.
inline constexpr std::uint32_t kSampleValueEntries[2] = {60, 61};

}  // namespace inkrec
