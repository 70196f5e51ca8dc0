#include "engine/database/dictionary_set.h"

#include <utility>

#include "engine/database/data_store.h"
#include "engine/foundation/damaged_copy.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"

namespace inkrec {
namespace {

constexpr std::u16string_view kUserFileName = u"user.ulb";
constexpr std::u16string_view kWordListExtension = u".wlb";

int append_terminated(WideString& text, std::initializer_list<std::u16string_view> parts) {
  for (std::u16string_view part : parts) {
    if (const int status = text.append_n(part.data(), static_cast<std::uint32_t>(part.size()));
        status != kOk) {
      return status;
    }
  }
  return text.push_back(u'\0');
}

}  // namespace

DictionarySet::DictionarySet(std::u16string_view data_dir, const DataStore& store,
                             std::u16string_view dict_dir)
    : store_(store) {
  init_paths_and_load(data_dir, dict_dir);
}

int DictionarySet::init_paths_and_load(std::u16string_view data_dir, std::u16string_view dict_dir) {
  for (WideString& path : paths_) {
    if (const int status = assign_units(path, data_dir); status != kOk) return status;
  }
  user_file_path_.clear();
  if (const int status = append_terminated(user_file_path_,
                                           {dict_dir.empty() ? data_dir : dict_dir, kUserFileName});
      status != kOk) {
    return status;
  }
  FileHolder file;
  if (!file.open_wide(user_file_path_.data(), u"rb")) return kRejected;
  // Nothing is held yet, so whatever was read whole is kept.
  note_user_file_read(user_.read(file, store_));
  loaded_ = true;
  current_charset_ = 0;
  return user_file_status_;
}

void DictionarySet::note_user_file_read(int status) {
  user_file_status_ = status;
  keep_copy_before_save_ = status != kOk;
}

int DictionarySet::unload() {
  user_.clear();
  standard_.release();
  loaded_ = false;
  return kOk;
}

int DictionarySet::set_path(std::uint32_t charset_id, const char16_t* chars, std::uint32_t n) {
  if (charset_id >= kCharsetCount) return kBadArgument;
  std::u16string_view path;
  if (chars != nullptr) {
    std::uint32_t length = 0;
    while (length < n && chars[length] != u'\0') ++length;
    path = {chars, length};
  }
  return assign_units(paths_[charset_id], path);
}

int DictionarySet::word_list_name(std::uint32_t charset_id, const char16_t (&code)[3],
                                  WideString* name) const {
  std::u16string_view letters(code, 3);
  letters = letters.substr(0, letters.find(u'\0'));
  return append_terminated(*name, {view(paths_[charset_id]), letters, kWordListExtension});
}

int DictionarySet::select_charset(std::uint32_t charset_id) {
  if (charset_id == current_charset_) return kOk;
  if (charset_id == 0) {
    standard_.release();
    current_charset_ = 0;
    user_index_ = -1;
    return kOk;
  }
  if (charset_id >= kCharsetCount) return kBadArgument;
  const CharSet* charset = store_.find_charset(charset_id);
  if (charset == nullptr) return kRejected;
  WideString name;
  if (const int status = word_list_name(charset_id, charset->word_list_code, &name);
      status != kOk) {
    return status;
  }

  // The new list loads beside the current one, which stays until it has.
  StandardDictionary list;
  FileHolder file;
  if (!file.open_wide(name.data(), u"rb")) return kWordListNotFound;
  if (!list.read(file)) return kWordListOpen;
  standard_.swap(list);
  current_charset_ = charset_id;
  follow_user_dictionary();
  return kOk;
}

void DictionarySet::follow_user_dictionary() {
  std::uint32_t position = 0;
  const bool found = current_charset_ != 0 && user_.find_charset(current_charset_, &position);
  user_index_ = found ? static_cast<int>(position) : -1;
}

int DictionarySet::save_user_dictionaries() {
  const std::string path = utf16_to_utf8(wide_view(user_file_path_.data()));
  if (keep_copy_before_save_) {
    if (keep_damaged_copy(path) != kOk) return kFileIo;
    keep_copy_before_save_ = false;
  }
  ReplacingFile file(path);
  if (!file.is_open()) return kWordListNotFound;
  if (const int status = user_.write(file.file()); status != kOk) return status;
  return file.commit();
}

int DictionarySet::reload_user_dictionaries() {
  FileHolder file;
  if (!file.open_wide(user_file_path_.data(), u"rb")) return kWordListNotFound;
  UserDictionaryList fresh;
  const int status = fresh.read(file, store_);
  note_user_file_read(status);
  if (status != kOk) return status;
  user_ = std::move(fresh);
  follow_user_dictionary();
  return kOk;
}

const UserDictionary* DictionarySet::current_user_dictionary() const {
  const UserDictionary* dictionary = nullptr;
  if (user_index_ < 0 || user_.at(static_cast<std::uint32_t>(user_index_), &dictionary) != kOk) {
    return nullptr;
  }
  return dictionary;
}

int DictionarySet::word_number(std::u16string_view word, int* out) const {
  if (standard_.word_value(word, out)) return 1;
  std::uint32_t bits = 0;
  if (user_word_value(word, &bits) != 1) return 0;
  *out = static_cast<int>(bits);
  return 1;
}

int DictionarySet::word_exists(std::u16string_view text, std::uint32_t length) const {
  if (standard_.prefix_value(text, length)) return 1;
  return user_word_exists(text, length);
}

int DictionarySet::check_word(std::u16string_view prefix, CharSlotMap& map) {
  standard_.search_word(prefix, map);
  return user_letters_after(prefix, map);
}

int DictionarySet::complete_prefix(std::u16string_view prefix, std::uint32_t maximum,
                                   DynArray<WideString>* out) const {
  out->clear();
  return standard_.complete_prefix(prefix, maximum, out);
}

int DictionarySet::append_completions(std::u16string_view prefix, std::uint32_t maximum,
                                      DynArray<WideString>* out) const {
  return standard_.complete_prefix(prefix, maximum, out);
}

bool DictionarySet::standard_word_value(std::u16string_view word, int* out) const {
  return standard_.word_value(word, out);
}

bool DictionarySet::standard_prefix_value(std::u16string_view text, std::uint32_t length) const {
  return standard_.prefix_value(text, length);
}

void DictionarySet::standard_letters_after(std::u16string_view prefix, CharSlotMap& map) {
  standard_.search_word(prefix, map);
}

int DictionarySet::user_word_value(std::u16string_view text, std::uint32_t* out) const {
  const UserDictionary* dictionary = current_user_dictionary();
  std::uint32_t position = 0;
  if (dictionary == nullptr || !dictionary->find_segment(text, &position)) return 0;
  dictionary->segment_bit_length(position, out);
  return 1;
}

int DictionarySet::user_word_exists(std::u16string_view text, std::uint32_t length) const {
  if (user_index_ < 0) return kBadArgument;
  const UserDictionary* dictionary = current_user_dictionary();
  if (dictionary == nullptr) return kUndocumented;
  return dictionary->has_segment(text, length) ? 1 : -1;
}

int DictionarySet::user_letters_after(std::u16string_view prefix, CharSlotMap& map) const {
  if (user_index_ < 0) return kBadArgument;
  const UserDictionary* dictionary = current_user_dictionary();
  if (dictionary == nullptr) return kUndocumented;
  dictionary->letters_after(prefix, map);
  return kOk;
}

}  // namespace inkrec
