// The exports that act on the active kernel.
#include "engine/kernel/crman.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

// The active kernel; null when there is no manager or no active kernel.
// Never creates the manager.
Kernel* active_kernel() {
  const CrMan* manager = crman_if_exists();
  return manager == nullptr ? nullptr : manager->active_kernel();
}

}  // namespace

extern "C" {

int crSetActiveCharSets(const uint32_t* ids, int count) {
  Kernel* kernel = active_kernel();
  return kernel == nullptr ? kNoKernel : kernel->set_active_charsets(ids, count);
}

}  // extern "C"
