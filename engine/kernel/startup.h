// Start-up of the engine: the body of crInitCrMan and its twins.
#pragma once

#include "engine/foundation/dyn_array.h"

namespace inkrec {

// Word-list paths per charset as the application passes them: element i of
// the path list (UTF-16 units) belongs to element i of the charset ids.
using PathList = DynArray<DynArray<char16_t>>;
using CharsetIdList = DynArray<std::uint32_t>;

// How a data mode opens the data file and what kind of store it builds.
struct DataMode {
  int access_class;
  int store_kind;
};

// The data mode's access class and store kind; false for an unknown mode.
bool data_mode(int mode, DataMode* out);

// Builds the database, the dictionaries and the user's variant choices from
// the paths given and hands them to the manager. On failure the manager is
// left as it was: 4029 while kernels exist, 3017 for an unknown mode, 3002
// when the store cannot be built, the store's load status, the status of a
// failing word-list path, -1 when memory runs out, -2 without a data path.
int init_engine(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                const char16_t* dict_dir, const PathList* path_list,
                const CharsetIdList* charset_id_list, const char16_t* user_txt_path);

}  // namespace inkrec
