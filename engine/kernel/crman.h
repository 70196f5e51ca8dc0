// CrMan: the one engine manager of the process.
//
// It owns the shared database, the dictionaries, the user's variant choices
// and a table of kernel slots, one of which is active. A slot id is an index
// into the table; an empty slot holds no kernel, and the table never
// shrinks while the manager lives. Every entry point reaches its kernel or
// the database through the manager. Not thread-safe: the application
// serialises its calls.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/database/data_store.h"
#include "engine/database/dictionary_set.h"
#include "engine/database/user_variant_file.h"
#include "engine/foundation/dyn_array.h"
#include "engine/kernel/kernel.h"

namespace inkrec {

class CrMan {
 public:
  CrMan() = default;
  ~CrMan();
  CrMan(const CrMan&) = delete;
  CrMan& operator=(const CrMan&) = delete;

  // 9001 when id is not below the slot count, 9002 for an empty slot; else
  // 0 with the kernel in *out (untouched on failure).
  int kernel_by_id(std::uint32_t id, Kernel** out) const;
  int set_active_kernel(std::uint32_t id);
  // Creates a kernel in the first empty slot (or a new one) and makes it
  // active: 0, 9004 without a database, -1 when memory runs out.
  int create_kernel(std::uint32_t* out_id);
  // Destroys a kernel; when it was active, the first remaining one becomes
  // active.
  int delete_kernel(std::uint32_t id);

  std::uint32_t live_count() const { return live_count_; }
  Kernel* active_kernel() const { return active_; }
  std::uint32_t slot_count() const { return slots_.size(); }
  Kernel* slot(std::uint32_t id) const { return slots_[id].get(); }

  DataStore* data_store() const { return data_store_.get(); }
  DictionarySet* dictionaries() const { return dictionaries_.get(); }
  UserVariantFile* user_variant_file() const { return user_variants_.get(); }

  // Take the object from the caller's holder, replacing the one held.
  void set_data_store(std::unique_ptr<DataStore>& holder);
  void set_dictionary_set(std::unique_ptr<DictionarySet>& holder);
  void set_user_variant_file(std::unique_ptr<UserVariantFile>& holder);

  // Reads the data file again (0 when there is no store).
  int reload_data_store();
  // Re-initialises every kernel after a database change; the first failure.
  int reinitialize_kernels();
  // Reads "user.ulb" again (0 when there are no dictionaries).
  int reload_user_dictionaries();

 private:
  DynArray<std::unique_ptr<Kernel>> slots_;
  std::uint32_t live_count_ = 0;
  Kernel* active_ = nullptr;
  std::unique_ptr<DataStore> data_store_;
  std::unique_ptr<DictionarySet> dictionaries_;
  std::unique_ptr<UserVariantFile> user_variants_;
};

// The manager, created empty on first use; null when memory runs out.
CrMan* crman_instance();
// The manager when it exists; never creates it.
CrMan* crman_if_exists();
// Destroys the manager; a later call of crman_instance makes a fresh one.
void crman_free();

}  // namespace inkrec
