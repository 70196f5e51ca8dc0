#include "engine/database/active_tables.h"

#include <algorithm>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

template <typename Entry>
int collect(PtrArray<const Entry>& out, std::span<const std::uint32_t> active,
            const DynArray<Entry>& table) {
  out.remove_all();
  for (const Entry& entry : table) {
    if (std::find(active.begin(), active.end(), entry.charset_id) == active.end()) continue;
    if (const int status = out.push_back(&entry); status != kOk) return status;
  }
  return kOk;
}

}  // namespace

int collect_active_tuples(PtrArray<const TuplesEntry>& out, std::span<const std::uint32_t> active,
                          const DataStore& store) {
  return collect(out, active, store.tuples());
}

int collect_active_spec_pairs(ActiveSpecPairs& out, std::span<const std::uint32_t> active,
                              const DataStore& store) {
  for (const int status : {collect(out.ss, active, store.spec_pairs_ss()),
                           collect(out.sc, active, store.spec_pairs_sc()),
                           collect(out.cs, active, store.spec_pairs_cs()),
                           collect(out.cc, active, store.spec_pairs_cc())}) {
    if (status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
