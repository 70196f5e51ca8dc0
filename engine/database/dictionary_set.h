// DictionarySet: the word-list paths per charset, the word list of the
// current charset and the user dictionaries, shared by all kernels.
#pragma once

#include <cstdint>
#include <string>

namespace inkrec {

class DataStore;

class DictionarySet {
 public:
  // Word lists are looked for in data_dir, the user dictionaries in
  // dict_dir (data_dir when empty).
  DictionarySet(std::u16string data_dir, DataStore* store, std::u16string dict_dir);

  // Takes `path` (length units) as the word-list path of a charset.
  int set_path(std::uint32_t charset_id, const char16_t* path, std::uint32_t length);
  // Makes the word list of a charset current (0: none): 0 on success.
  int select_charset(std::uint32_t charset_id);
  int reload_user_dictionaries();
  DataStore* store() const { return store_; }

 private:
  std::u16string data_dir_;
  std::u16string dict_dir_;
  DataStore* store_;
};

}  // namespace inkrec
