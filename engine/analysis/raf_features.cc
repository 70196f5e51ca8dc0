// compute_rafs and the dispatch of feature codes to their extractors.

#include "engine/analysis/raf_features.h"

#include <array>
#include <string_view>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"
#include "engine/analysis/raf_preparation.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kLeastNonzeroCounters = 3;

// What a feature code does when the generic flag is set.
enum class WithGeneric { kRuns, kSkipped, kOnly };

struct FeatureEntry {
  int (*extractor)(const RafDescriptor&, RafContext&);
  int grid_planes;  // counters per grid cell; 0 for a feature without a grid
  WithGeneric generic;
};

constexpr std::array<FeatureEntry, kRafFeatureCodeCount> kFeatures = {{
    {count_cosine_coefficients, 0, WithGeneric::kOnly},     // 0
    {count_directions4, 4, WithGeneric::kSkipped},          // 1 "01-Dir4"
    {nullptr, 0, WithGeneric::kRuns},                       // 2 "02-Dir8"
    {nullptr, 0, WithGeneric::kRuns},                       // 3
    {count_crossed_vertical_lines, 0, WithGeneric::kRuns},  // 4 "04-CrossVLines"
    {count_crossing_codes, 4, WithGeneric::kSkipped},       // 5 "05-CrossLocLineHV"
    {count_chord_bends, 22, WithGeneric::kRuns},            // 6 "06-DugolChord"
    {count_turning_sum, 0, WithGeneric::kRuns},             // 7 "07-SumDug"
    {count_stroke_ends, 2, WithGeneric::kRuns},             // 8 "08-Konchi"
    {nullptr, 0, WithGeneric::kRuns},                       // 9
    {count_vertical_run_total, 0, WithGeneric::kRuns},      // 10 "10-NumOpti"
    {count_branches, 7, WithGeneric::kRuns},                // 11 "11-Topolo7x7"
    {count_occupied_neighbours, 8, WithGeneric::kSkipped},  // 12 "12-Topolo3x3"
    {count_touching_groups, 0, WithGeneric::kRuns},         // 13 "13-NumStrkNew"
    {count_stroke_arrangement, 0, WithGeneric::kRuns},      // 14 "14-TopoloStrk"
    {nullptr, 0, WithGeneric::kRuns},                       // 15 "15-newDugolChord"
    {nullptr, 0, WithGeneric::kRuns},                       // 16 "16-CrossLineUp"
    {count_downward_crossings, 4, WithGeneric::kRuns},      // 17 "17-CrossLineDn"
    {count_chord_turning_sum, 0, WithGeneric::kRuns},       // 18 "18-NewSumDug"
    {count_directions8, 8, WithGeneric::kRuns},             // 19 "19-TranfCos"
}};

constexpr std::array<const char16_t*, kRafFeatureCodeCount - 1> kFeatureNames = {
    u"01-Dir4",        u"02-Dir8",        u"empty!!!",      u"04-CrossVLines", u"05-CrossLocLineHV",
    u"06-DugolChord",  u"07-SumDug",      u"08-Konchi",     u"empty!!!",       u"10-NumOpti",
    u"11-Topolo7x7",   u"12-Topolo3x3",   u"13-NumStrkNew", u"14-TopoloStrk",  u"15-newDugolChord",
    u"16-CrossLineUp", u"17-CrossLineDn", u"18-NewSumDug",  u"19-TranfCos",
};

bool is_enabled(const DynArray<std::uint16_t>* enabled, int code) {
  if (enabled == nullptr || enabled->empty()) return true;
  return enabled->contains(static_cast<std::uint16_t>(code - 1));
}

int list_nonzero_counters(RafVector& vector) {
  vector.nonzero.clear();
  if (vector.nonzero.reserve_total(vector.values.size()) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < vector.values.size(); ++i) {
    if (vector.values[i] != 0 && vector.nonzero.push_back(static_cast<std::uint16_t>(i)) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

}  // namespace

int compute_raf(const RafDescriptor& descriptor, RafContext& context, bool generic) {
  const int code = descriptor.raf.id;
  if (!is_enabled(descriptor.enabled, code)) return kOk;
  if (code >= kRafFeatureCodeCount) return kRafDescriptionCount;
  const FeatureEntry& entry = kFeatures[static_cast<std::size_t>(code)];
  if (entry.extractor == nullptr) return kRafDescriptionCount;
  if ((generic && entry.generic == WithGeneric::kSkipped) ||
      (!generic && entry.generic == WithGeneric::kOnly)) {
    return kOk;
  }
  if (entry.grid_planes > 0) {
    const int status =
        set_raf_grid_cached(context.work, descriptor.raf.nx / entry.grid_planes, descriptor.raf.ny);
    if (status != kOk) return status;
  }
  return entry.extractor(descriptor, context);
}

int compute_rafs(RafContext& context, const DynArray<Raf>& rafs, Box16 figure_box,
                 const RafEndSwitches* end_switches, const DynArray<std::uint16_t>* enabled,
                 bool generic) {
  if (const int status = prepare_raf_work_area(context.work, figure_box); status != kOk) {
    return status;
  }
  for (const Raf& raf : rafs) {
    const RafDescriptor descriptor{raf, end_switches, enabled};
    if (const int status = compute_raf(descriptor, context, generic); status != kOk) return status;
  }
  if (const int status = list_nonzero_counters(context.vector); status != kOk) return status;
  return context.vector.nonzero.size() < kLeastNonzeroCounters ? kRafTooLittleData : kOk;
}

const char16_t* raf_feature_name(int code) {
  if (code < 1 || code >= kRafFeatureCodeCount) return nullptr;
  return kFeatureNames[static_cast<std::size_t>(code - 1)];
}

int named_raf_feature_count() {
  int count = 0;
  for (const char16_t* name : kFeatureNames) {
    if (std::u16string_view(name) != u"empty!!!") ++count;
  }
  return count;
}

int candidate_status_of_features(int status) {
  const bool own_features =
      (status >= kRafPointOutOfY && status <= kRafTooLittleData) || status == kUndocumented;
  return own_features ? kRejected : status;
}

}  // namespace inkrec
