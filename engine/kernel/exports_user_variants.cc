// The export that sets the user's variant choices: the records replace the
// database's and "user.txt" is written again.
#include "engine/database/data_store.h"
#include "engine/database/user_variant_file.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/crman.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

extern "C" {

int crmSetVariantsAndWrite(const crDynArray* variants, const crDynArray* complex_variants) {
  CrMan* manager = crman_if_exists();
  Kernel* kernel = manager == nullptr ? nullptr : manager->active_kernel();
  if (kernel == nullptr || kernel->data_store() == nullptr ||
      manager->user_variant_file() == nullptr) {
    return kOutOfMemory;
  }
  if (variants == nullptr || complex_variants == nullptr) return kBadArgument;
  DataStore& store = *kernel->data_store();
  // A record the database refuses is left out; the others still apply.
  for (const Variant& variant : *from_c_array<Variant>(variants)) store.set_variant(variant);
  for (const ComplexVariant& variant : *from_c_array<ComplexVariant>(complex_variants)) {
    store.set_complex_variant(variant);
  }
  return manager->user_variant_file()->write(store);
}

}  // extern "C"
