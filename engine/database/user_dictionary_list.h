// UserDictionaryList: the user dictionaries of all charsets, at most one a
// charset, sorted by charset id, and their file "user.ulb".
//
// The file (little-endian, no header): the dictionary count (0..100); per
// dictionary its charset id, its alphabet (a count, then the codes), its
// word count (0..999) and its words (a u32 length, the UTF-16 units, the
// i32 probability). Reading builds each dictionary's alphabet from the
// database before the file's own codes are added.
#pragma once

#include <cstdint>

#include "engine/database/user_dictionary.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/file_holder.h"

namespace inkrec {

class DataStore;

class UserDictionaryList {
 public:
  static constexpr std::uint32_t kMaxDictionaries = 100;
  static constexpr std::uint32_t kMaxWords = 999;
  // Units of a stored word that are kept; the rest are read and dropped.
  static constexpr std::uint32_t kStoredWordUnits = 51;

  std::uint32_t count() const { return dictionaries_.size(); }
  // 1 when i is out of range.
  int at(std::uint32_t i, const UserDictionary** out) const;
  int at_mutable(std::uint32_t i, UserDictionary** out);
  // Whether a dictionary of charset id exists; *position is its index, or
  // where it would be inserted.
  bool find_charset(std::uint32_t id, std::uint32_t* position) const;
  // A new empty dictionary: 2 when the charset has one already.
  int add_dictionary(std::uint32_t id);
  int remove_dictionary(std::uint32_t i);
  void clear() { dictionaries_.release(); }

  // Reads "user.ulb" (in time n log n of the file). A word the dictionary
  // refuses is left out and the reading goes on; a field that breaks the
  // layout or is cut off by the end of the file ends it. What was read
  // whole stays, also the words of a dictionary before the one cut off;
  // the result is the first status met (0 when none).
  int read(FileHolder& file, const DataStore& store);
  // The first write error (12001), else 0.
  int write(FileHolder& file) const;

 private:
  DynArray<UserDictionary> dictionaries_;
};

}  // namespace inkrec
