#include "engine/database/data_store.h"

#include "engine/foundation/status.h"

namespace inkrec {

DataStore::DataStore(const char16_t* path, int access_class, int, int kind) : kind_(kind) {
  stream_.open_wide(path, access_class == 0 ? kAccessReadOnly : 0);
  status_ = load();
}

int DataStore::load() { return stream_.good() ? kOk : kDataFileOpen; }

int DataStore::reload() {
  status_ = load();
  return status_;
}

}  // namespace inkrec
