#include "engine/database/user_dictionary_list.h"

#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"

namespace inkrec {

int UserDictionaryList::at(std::uint32_t i, const UserDictionary** out) const {
  if (i >= count()) return kUdBadDictionaryIndex;
  *out = &dictionaries_[i];
  return kOk;
}

int UserDictionaryList::at_mutable(std::uint32_t i, UserDictionary** out) {
  if (i >= count()) return kUdBadDictionaryIndex;
  *out = &dictionaries_[i];
  return kOk;
}

bool UserDictionaryList::find_charset(std::uint32_t id, std::uint32_t* position) const {
  std::uint32_t i = 0;
  while (i < count() && dictionaries_[i].charset_id() < id) ++i;
  *position = i;
  return i < count() && dictionaries_[i].charset_id() == id;
}

int UserDictionaryList::add_dictionary(std::uint32_t id) {
  std::uint32_t at = 0;
  if (find_charset(id, &at)) return kUdDictionaryExists;
  return insert_at(dictionaries_, at, UserDictionary(id));
}

int UserDictionaryList::remove_dictionary(std::uint32_t i) {
  if (i >= count()) return kUdBadDictionaryIndex;
  return dictionaries_.erase(i, 1);
}

int UserDictionaryList::write(FileHolder& file) const {
  int status = file.write_u32(count());
  for (const UserDictionary& dictionary : dictionaries_) {
    if (status == kOk) status = file.write_u32(dictionary.charset_id());
    if (status == kOk) status = file.write_u32(dictionary.letter_count());
    for (std::uint32_t i = 0; i < dictionary.letter_count() && status == kOk; ++i) {
      status = file.write_u16(dictionary.letter_at(i).code);
    }
    if (status == kOk) status = file.write_u32(dictionary.word_count());
    for (std::uint32_t i = 0; i < dictionary.word_count() && status == kOk; ++i) {
      const UserWord& word = dictionary.word_at(i);
      status = file.write_u32(word.text.size());
      if (status == kOk && file.write(word.text.data(), sizeof(char16_t), word.text.size()) !=
                               word.text.size()) {
        status = kFileIo;
      }
      if (status == kOk) status = file.write_u32(word.probability);
    }
  }
  return status;
}

}  // namespace inkrec
