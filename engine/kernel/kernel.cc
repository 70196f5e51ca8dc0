#include "engine/kernel/kernel.h"

#include "engine/foundation/status.h"

namespace inkrec {

Kernel::Kernel(DataStore* data_store, DictionarySet* dictionaries)
    : data_store_(data_store), dictionaries_(dictionaries) {}

int Kernel::reinitialize() { return kOk; }

}  // namespace inkrec
