#include "engine/database/dictionary_set.h"

#include <utility>

#include "engine/foundation/status.h"

namespace inkrec {

DictionarySet::DictionarySet(std::u16string data_dir, DataStore* store, std::u16string dict_dir)
    : data_dir_(std::move(data_dir)), dict_dir_(std::move(dict_dir)), store_(store) {
  if (dict_dir_.empty()) dict_dir_ = data_dir_;
}

int DictionarySet::set_path(std::uint32_t, const char16_t* path, std::uint32_t) {
  return path == nullptr ? kBadArgument : kOk;
}

int DictionarySet::select_charset(std::uint32_t) { return kOk; }

int DictionarySet::reload_user_dictionaries() { return kOk; }

}  // namespace inkrec
