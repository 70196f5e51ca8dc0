// DictionarySet: the engine's one holder of word knowledge, shared by all
// kernels. It keeps, per charset id (0..42), the directory of that
// charset's word list; the word list of the current charset, read into
// memory (so a list file replaced or cut short while in use cannot harm
// it); and the user dictionaries of all charsets with the path of their
// file "user.ulb".
//
// The word list of a charset is its directory followed by the charset's
// three-letter code and ".wlb". Switching to another charset loads the new
// list beside the current one and puts it in place only when it loaded: a
// failed switch keeps the current charset and its list.
//
// "user.ulb" that cannot be read whole keeps what was read at start-up (a
// reload that fails keeps the dictionaries as they were), and before the
// next save writes over it, the file is kept beside itself as
// "user.ulb.damaged" (see keep_damaged_copy).
//
// Queries on the current charset ask the word list first and the user
// dictionary of the charset second. No lock of its own: the caller
// serialises.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/database/standard_dictionary.h"
#include "engine/database/user_dictionary_list.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/wide_string.h"

namespace inkrec {

class DataStore;

class DictionarySet {
 public:
  static constexpr std::uint32_t kCharsetCount = 43;

  // Word lists are looked for in data_dir, "user.ulb" in dict_dir (data_dir
  // when empty); the user dictionaries are read at once when the file
  // opens.
  DictionarySet(std::u16string_view data_dir, const DataStore& store, std::u16string_view dict_dir);
  DictionarySet(const DictionarySet&) = delete;
  DictionarySet& operator=(const DictionarySet&) = delete;

  // Sets every word-list directory to data_dir and the user-dictionary path
  // to dict_dir (or data_dir) followed by "user.ulb", then reads that file,
  // keeping what it holds whole: the read's status; -100 when it does not
  // open; -1 when memory runs out.
  int init_paths_and_load(std::u16string_view data_dir, std::u16string_view dict_dir);
  // Empties the user dictionaries and drops the word list.
  int unload();

  bool user_file_loaded() const { return loaded_; }
  // The status of the last read of "user.ulb": 0 when it read whole (or
  // was not there at start-up).
  int user_file_status() const { return user_file_status_; }
  std::uint32_t current_charset() const { return current_charset_; }
  int user_index() const { return user_index_; }
  const StandardDictionary& standard_dictionary() const { return standard_; }
  StandardDictionary& standard_dictionary() { return standard_; }
  const UserDictionaryList& user_dictionaries() const { return user_; }
  UserDictionaryList& user_dictionaries() { return user_; }
  std::u16string_view user_file_path() const { return view(user_file_path_); }

  // Takes at most n units of chars, up to a 0 unit, as the word-list
  // directory of a charset (the current list stays loaded): 0, -1, or -2
  // for a charset id past 42.
  int set_path(std::uint32_t charset_id, const char16_t* chars, std::uint32_t n);
  // Makes the word list of a charset current (0: none): 0; -2 for an id
  // past 42; -100 when the database has no such charset; 10001 when the
  // list does not open; 10002 when its content is refused; -1.
  int select_charset(std::uint32_t charset_id);

  // Writes "user.ulb" through a temporary file: 0, 10001 when it cannot be
  // created, 12001 when writing fails (the old file then stays) or when a
  // file that failed to load cannot be kept aside first.
  int save_user_dictionaries();
  // Reads "user.ulb" into a fresh list that replaces the current one when
  // the whole file was read: the read's status; the dictionaries stay as
  // they were when it fails, and 10001 when it does not open.
  int reload_user_dictionaries();

  // Queries on the current charset.
  // 1 with the word's number from the word list, else 1 with the bit length
  // of the user segment's probability, else 0.
  int word_number(std::u16string_view word, int* out) const;
  // 1 when the word list has a word beginning with text (length units long
  // unless length is 0); else user_word_exists.
  int word_exists(std::u16string_view text, std::uint32_t length) const;
  // The letters after prefix from the word list and then the user
  // dictionary; the result of user_letters_after.
  int check_word(std::u16string_view prefix, CharSlotMap& map);
  // The completions of prefix, best first: the list is emptied first, or
  // appended to. 0 or -1.
  int complete_prefix(std::u16string_view prefix, std::uint32_t maximum,
                      DynArray<WideString>* out) const;
  int append_completions(std::u16string_view prefix, std::uint32_t maximum,
                         DynArray<WideString>* out) const;
  bool standard_word_value(std::u16string_view word, int* out) const;
  bool standard_prefix_value(std::u16string_view text, std::uint32_t length) const;
  void standard_letters_after(std::u16string_view prefix, CharSlotMap& map);

  // On the user dictionary of the current charset.
  // 1 with the bit length of the segment's probability; 0 when there is no
  // dictionary or no such segment.
  int user_word_value(std::u16string_view text, std::uint32_t* out) const;
  // 1 when a segment begins with text and has that length (any when 0),
  // else -1; -2 without a dictionary, -3 when it cannot be had.
  int user_word_exists(std::u16string_view text, std::uint32_t length) const;
  // 0; -2 without a dictionary, -3 when it cannot be had.
  int user_letters_after(std::u16string_view prefix, CharSlotMap& map) const;

 private:
  // The user dictionary of the current charset, or null.
  const UserDictionary* current_user_dictionary() const;
  void follow_user_dictionary();
  // Remembers the status of a read of "user.ulb".
  void note_user_file_read(int status);
  // "<directory><code>.wlb" with a terminator.
  int word_list_name(std::uint32_t charset_id, const char16_t (&code)[3], WideString* name) const;

  bool loaded_ = false;
  int user_file_status_ = 0;
  // The file on disk failed to load and has not been kept aside yet.
  bool keep_copy_before_save_ = false;
  std::array<WideString, kCharsetCount> paths_;
  StandardDictionary standard_;
  UserDictionaryList user_;
  const DataStore& store_;
  std::uint32_t current_charset_ = 0;
  int user_index_ = -1;
  WideString user_file_path_;  // terminated
};

}  // namespace inkrec
