// The export that sets the user's variant choices: the records replace the
// database's and "user.txt" is written again.
#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/export_targets.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

extern "C" {

int crmSetVariantsAndWrite(const crDynArray* variants, const crDynArray* complex_variants) {
  CrMan* manager = crman_if_exists();
  Kernel* kernel = active_kernel();
  if (kernel == nullptr || manager->user_variant_file() == nullptr) return kOutOfMemory;
  if (variants == nullptr || complex_variants == nullptr) return kBadArgument;
  return kernel->set_variants_and_write(from_c_array<Variant>(variants)->span(),
                                        from_c_array<ComplexVariant>(complex_variants)->span(),
                                        *manager->user_variant_file());
}

}  // extern "C"
