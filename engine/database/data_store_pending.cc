// The data store operation whose work is not built yet: the text listing of
// the tables is not written so far (-3).
#include "engine/database/data_store.h"

namespace inkrec {

int DataStore::save_text_w(const char16_t*) { return kUndocumented; }

}  // namespace inkrec
