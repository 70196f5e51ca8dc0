#include "engine/kernel/startup.h"

#include <memory>
#include <string>
#include <utility>

#include "engine/analysis/raf_sample_cells.h"
#include "engine/foundation/allocation.h"
#include "engine/foundation/paths.h"
#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"
#include "engine/kernel/crman.h"

namespace inkrec {
namespace {

// Lists of different or zero counts are ignored; otherwise each non-empty
// path becomes its charset's word-list path.
int apply_word_list_paths(DictionarySet& dictionaries, const PathList* paths,
                          const CharsetIdList* charset_ids) {
  if (paths == nullptr || charset_ids == nullptr || paths->size() != charset_ids->size() ||
      paths->empty()) {
    return kOk;
  }
  for (std::uint32_t i = 0; i < paths->size(); ++i) {
    const DynArray<char16_t>& path = (*paths)[i];
    if (path.empty()) continue;
    const int status = dictionaries.set_path((*charset_ids)[i], path.data(), path.size());
    if (status != kOk) return status;
  }
  return kOk;
}

std::unique_ptr<UserVariantFile> make_user_variant_file(const char16_t* user_txt_path,
                                                        std::u16string_view data_path) {
  if (user_txt_path != nullptr) return make_nothrow<UserVariantFile>(user_txt_path, false);
  return make_nothrow<UserVariantFile>(directory_of(data_path).c_str(), true);
}

}  // namespace

bool data_mode(int mode, DataMode* out) {
  static constexpr DataMode kModes[] = {{1, 0}, {0, 0}, {1, 1}, {0, 1}, {2, 0}, {1, 3}, {0, 3}};
  if (mode < 0 || mode >= static_cast<int>(std::size(kModes))) return false;
  *out = kModes[mode];
  return true;
}

int init_engine(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                const char16_t* dict_dir, const PathList* path_list,
                const CharsetIdList* charset_id_list, const char16_t* user_txt_path) {
  CrMan* manager = crman_instance();
  if (manager == nullptr) return kOutOfMemory;
  if (manager->live_count() != 0) return kKernelsExist;
  DataMode data{};
  if (!data_mode(mode, &data)) return kBadDataMode;
  if (data_path == nullptr) return kBadArgument;

  const char16_t* store_path = alt_data_path != nullptr ? alt_data_path : data_path;
  auto store = make_nothrow<DataStore>(store_path, data.access_class, 0, data.store_kind);
  if (!store) return kDataFileOpen;
  if (store->status() != kOk) return store->status();
  auto sample_cells = make_nothrow<RafSampleCells>();
  if (!sample_cells) return kOutOfMemory;
  store->set_sample_cells(std::move(sample_cells));

  const std::u16string data_dir = directory_of(wide_view(data_path));
  std::u16string user_dict_dir;
  if (dict_dir != nullptr) {
    user_dict_dir = directory_of(wide_view(dict_dir));
  } else if (alt_data_path != nullptr) {
    user_dict_dir = directory_of(wide_view(alt_data_path));
  }
  auto dictionaries = make_nothrow<DictionarySet>(data_dir, *store, user_dict_dir);
  if (!dictionaries) return kOutOfMemory;
  if (const int status = apply_word_list_paths(*dictionaries, path_list, charset_id_list);
      status != kOk) {
    return status;
  }

  auto user_variants = make_user_variant_file(user_txt_path, wide_view(data_path));
  if (!user_variants) return kOutOfMemory;

  user_variants->read(*store);
  manager->set_data_store(store);
  manager->set_dictionary_set(dictionaries);
  manager->set_user_variant_file(user_variants);
  return kOk;
}

}  // namespace inkrec
