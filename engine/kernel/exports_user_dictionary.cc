// The user-dictionary exports: they reach the user dictionaries of the
// active kernel's dictionary set and forward to one operation. A
// dictionary is named by its position in the list or by its charset id.
#include "engine/database/dictionary_set.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"
#include "engine/kernel/export_targets.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

DictionarySet* active_dictionaries() {
  Kernel* kernel = active_kernel();
  return kernel == nullptr ? nullptr : kernel->dictionaries();
}

// Runs operation on the dictionary at position dictionary: 4001 without an
// active kernel, 1 for a bad position.
template <typename Operation>
int with_dictionary_at(std::uint32_t dictionary, Operation operation) {
  DictionarySet* set = active_dictionaries();
  if (set == nullptr) return kNoKernel;
  UserDictionary* found = nullptr;
  const int status = set->user_dictionaries().at_mutable(dictionary, &found);
  return status != kOk ? status : operation(*found);
}

// Runs operation on the dictionary of a charset: 4001 without an active
// kernel, -2 when the charset has no dictionary.
template <typename Operation>
int with_dictionary_of(std::uint32_t charset_id, Operation operation) {
  DictionarySet* set = active_dictionaries();
  if (set == nullptr) return kNoKernel;
  std::uint32_t position = 0;
  if (!set->user_dictionaries().find_charset(charset_id, &position)) return kBadArgument;
  UserDictionary* found = nullptr;
  const int status = set->user_dictionaries().at_mutable(position, &found);
  return status != kOk ? status : operation(*found);
}

}  // namespace

extern "C" {

int crGetCountOfUserDictionaries(uint32_t* out_count) {
  DictionarySet* set = active_dictionaries();
  if (set == nullptr) return kNoKernel;
  if (out_count == nullptr) return kBadArgument;
  *out_count = set->user_dictionaries().count();
  return kOk;
}

int crGetIdOfCharSetOfUserDictionary(uint32_t dictionary, uint32_t* out_charset_id) {
  return with_dictionary_at(dictionary, [&](const UserDictionary& d) {
    if (out_charset_id == nullptr) return kBadArgument;
    *out_charset_id = d.charset_id();
    return kOk;
  });
}

int crCheckTextOfWordForUserDictionary(uint32_t dictionary, const char16_t* text,
                                       uint8_t* out_flag) {
  return with_dictionary_at(dictionary, [&](const UserDictionary& d) {
    if (text == nullptr || out_flag == nullptr) return kBadArgument;
    return d.check_text(wide_view(text), out_flag);
  });
}

int crGetCountOfWordsInUserDictionary(uint32_t dictionary, uint32_t* out_count) {
  return with_dictionary_at(dictionary, [&](const UserDictionary& d) {
    if (out_count == nullptr) return kBadArgument;
    *out_count = d.word_count();
    return kOk;
  });
}

int crGetLengthOfWordInUserDictionary(uint32_t dictionary, uint32_t word, uint32_t* out_length) {
  return with_dictionary_at(dictionary, [&](const UserDictionary& d) {
    return out_length == nullptr ? kBadArgument : d.word_length(word, out_length);
  });
}

int crGetTextOfWordInUserDictionary(uint32_t dictionary, uint32_t word, char16_t* out_text) {
  return with_dictionary_at(dictionary,
                            [&](const UserDictionary& d) { return d.word_text(word, out_text); });
}

int crGetProbabilityOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                           uint32_t* out_probability) {
  return with_dictionary_at(dictionary, [&](const UserDictionary& d) {
    return out_probability == nullptr ? kBadArgument : d.word_probability(word, out_probability);
  });
}

int crSetTextOfWordInUserDictionary(uint32_t dictionary, uint32_t word, const char16_t* text) {
  return with_dictionary_at(dictionary, [&](UserDictionary& d) {
    if (word >= d.word_count()) return kUdBadWordIndex;
    return text == nullptr ? kBadArgument : d.set_text(word, wide_view(text));
  });
}

int crSetProbabilityOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                           uint32_t probability) {
  return with_dictionary_at(
      dictionary, [&](UserDictionary& d) { return d.set_probability(word, probability); });
}

int crAddWordToUserDictionary(uint32_t charset_id, const char16_t* text, uint32_t probability) {
  return with_dictionary_of(charset_id, [&](UserDictionary& d) {
    return text == nullptr ? kBadArgument : d.add_word(wide_view(text), probability);
  });
}

int crSearchWordInUserDictionary(uint32_t charset_id, const char16_t* text, uint32_t* out_position,
                                 uint8_t* out_found) {
  return with_dictionary_of(charset_id, [&](const UserDictionary& d) {
    if (text == nullptr || out_position == nullptr || out_found == nullptr) return kBadArgument;
    bool found = false;
    const int status = d.search(wide_view(text), out_position, &found);
    if (status == kOk) *out_found = found ? 1 : 0;
    return status;
  });
}

int crRemoveWordFromUserDictionary(uint32_t charset_id, uint32_t word) {
  return with_dictionary_of(charset_id, [&](UserDictionary& d) { return d.remove_word(word); });
}

int crSaveUserDictionariesToFile(void) {
  DictionarySet* set = active_dictionaries();
  return set == nullptr ? kNoKernel : set->save_user_dictionaries();
}

}  // extern "C"
