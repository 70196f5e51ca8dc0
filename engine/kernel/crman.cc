#include "engine/kernel/crman.h"

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

std::unique_ptr<CrMan> manager;

}  // namespace

CrMan::~CrMan() {
  active_ = nullptr;
  for (auto& kernel : slots_) kernel.reset();
  slots_.release();
  live_count_ = 0;
  user_variants_.reset();
  dictionaries_.reset();
  data_store_.reset();
}

int CrMan::kernel_by_id(std::uint32_t id, Kernel** out) const {
  if (id >= slots_.size()) return kBadKernelId;
  if (!slots_[id]) return kKernelAlreadyDeleted;
  *out = slots_[id].get();
  return kOk;
}

int CrMan::set_active_kernel(std::uint32_t id) {
  Kernel* kernel = nullptr;
  if (const int status = kernel_by_id(id, &kernel); status != kOk) return status;
  active_ = kernel;
  return kOk;
}

int CrMan::create_kernel(std::uint32_t* out_id) {
  if (!data_store_) return kNoDataStore;
  std::uint32_t id = 0;
  while (id < slots_.size() && slots_[id]) ++id;
  if (id == slots_.size() && slots_.push_default() == nullptr) return kOutOfMemory;
  std::unique_ptr<Kernel> kernel = make_nothrow<Kernel>(data_store_.get(), dictionaries_.get());
  if (!kernel) return kOutOfMemory;
  active_ = kernel.get();
  slots_[id] = std::move(kernel);
  ++live_count_;
  if (out_id != nullptr) *out_id = id;
  return kOk;
}

int CrMan::delete_kernel(std::uint32_t id) {
  Kernel* kernel = nullptr;
  if (const int status = kernel_by_id(id, &kernel); status != kOk) return status;
  --live_count_;
  slots_[id].reset();
  if (active_ == kernel) {
    active_ = nullptr;
    for (const auto& candidate : slots_) {
      if (candidate) {
        active_ = candidate.get();
        break;
      }
    }
  }
  return kOk;
}

void CrMan::set_data_store(std::unique_ptr<DataStore>& holder) {
  data_store_ = std::move(holder);
}

void CrMan::set_dictionary_set(std::unique_ptr<DictionarySet>& holder) {
  dictionaries_ = std::move(holder);
}

void CrMan::set_user_variant_file(std::unique_ptr<UserVariantFile>& holder) {
  user_variants_ = std::move(holder);
}

int CrMan::reload_data_store() { return data_store_ ? data_store_->reload() : kOk; }

int CrMan::reinitialize_kernels() {
  int first_failure = kOk;
  for (const auto& kernel : slots_) {
    if (!kernel) continue;
    const int status = kernel->reinitialize();
    if (first_failure == kOk) first_failure = status;
  }
  return first_failure;
}

int CrMan::reload_user_dictionaries() {
  return dictionaries_ ? dictionaries_->reload_user_dictionaries() : kOk;
}

CrMan* crman_instance() {
  if (!manager) manager = make_nothrow<CrMan>();
  return manager.get();
}

CrMan* crman_if_exists() { return manager.get(); }

void crman_free() { manager.reset(); }

}  // namespace inkrec
