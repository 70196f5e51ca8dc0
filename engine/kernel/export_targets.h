// How the exports find what they act on: the active kernel (4001 when there
// is none; the manager is never created for it), the kernel in a slot (9001,
// 9002; an empty manager is created when there is none) or the manager's
// database (9004 when there is none).
#pragma once

#include <cstdint>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/kernel/crman.h"
#include "engine/kernel/kernel.h"

namespace inkrec {

// The active kernel; null when there is no manager or no active kernel.
inline Kernel* active_kernel() {
  const CrMan* manager = crman_if_exists();
  return manager == nullptr ? nullptr : manager->active_kernel();
}

template <typename Operation>
int on_active_kernel(Operation operation) {
  Kernel* kernel = active_kernel();
  return kernel == nullptr ? kNoKernel : operation(*kernel);
}

template <typename Operation>
int on_kernel_in_slot(std::uint32_t id, Operation operation) {
  CrMan* manager = crman_instance();
  if (manager == nullptr) return kOutOfMemory;
  Kernel* kernel = nullptr;
  const int status = manager->kernel_by_id(id, &kernel);
  return status != kOk ? status : operation(*kernel);
}

// The database shared by the kernels, reached through the active kernel.
template <typename Operation>
int on_kernel_data_store(Operation operation) {
  return on_active_kernel([&](Kernel& kernel) { return operation(*kernel.data_store()); });
}

// The manager's database, also before any kernel exists.
template <typename Operation>
int on_manager_data_store(Operation operation) {
  CrMan* manager = crman_instance();
  if (manager == nullptr) return kOutOfMemory;
  DataStore* store = manager->data_store();
  return store == nullptr ? kNoDataStore : operation(*store);
}

}  // namespace inkrec
