// The exports that ask the word lists of the active kernel's dictionaries,
// and the one that sets where the word lists are.
#include <string_view>

#include "engine/database/dictionary_set.h"
#include "engine/foundation/char_classes.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/utf.h"
#include "engine/foundation/wide_string.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/export_targets.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

constexpr std::size_t kMaxSearchedWord = 250;

// The word list of the first active language, loaded when it is not; null
// (with the status) when that fails.
StandardDictionary* language_word_list(Kernel& kernel, int* status) {
  *status = kernel.select_dictionary(true);
  return *status == kOk ? &kernel.dictionaries()->standard_dictionary() : nullptr;
}

// The text up to its terminator, at most `limit` units of it.
std::u16string_view bounded_view(const char16_t* text, std::size_t limit) {
  std::size_t n = 0;
  while (n < limit && text[n] != 0) ++n;
  return {text, n};
}

}  // namespace

extern "C" {

int crGetWordWithBeg(const char16_t* prefix, crDynArray* words, uint32_t maximum) {
  return on_active_kernel([&](Kernel& kernel) {
    if (prefix == nullptr || words == nullptr) return kBadArgument;
    int status = kOk;
    const StandardDictionary* word_list = language_word_list(kernel, &status);
    if (word_list == nullptr) return status;
    return word_list->complete_prefix(wide_view(prefix), maximum, from_c_array<WideString>(words));
  });
}

int crmSearchWordInStandardDictionary(const char16_t* word, uint8_t* found) {
  return on_active_kernel([&](Kernel& kernel) {
    if (word == nullptr || found == nullptr) return kBadArgument;
    int status = kOk;
    StandardDictionary* word_list = language_word_list(kernel, &status);
    if (word_list == nullptr) return status;
    *found = 0;
    const std::u16string_view text = bounded_view(word, kMaxSearchedWord);
    if (text.empty()) return kOk;
    CharSlotMap letters;
    letters.init(&kernel.code_index());
    word_list->search_word(text.substr(0, text.size() - 1), letters);
    *found = letters.slot_value(text.back()) == CharSlotMap::kWordEnds ? 1 : 0;
    return kOk;
  });
}

int crmSearchLettersByTextPrefix(const crDynArray* prefix, uint32_t letters[128]) {
  return on_active_kernel([&](Kernel& kernel) {
    if (prefix == nullptr || letters == nullptr) return kBadArgument;
    // Without a word list of the active language the letters come from the
    // character classes and the user dictionary alone.
    kernel.select_dictionary(true);
    const DynArray<std::uint32_t>& code_index = kernel.code_index();
    const CharClassTables tables(&code_index, kernel.mirrored_order());
    CharSlotMap map;
    map.init(&code_index);
    // What the search reports does not change the answer: the letters it
    // could not mark stay unknown.
    kernel.letter_search().allowed_letters_for_prefix(kernel, *from_c_array<std::uint16_t>(prefix),
                                                      map, tables);
    for (std::uint32_t i = 0; i < CharSlotMap::kSlotCount; ++i) letters[i] = map.slot(i);
    return kOk;
  });
}

int crReloadDictPathes(const crDynArray* path_list, const crDynArray* charset_id_list) {
  Kernel* kernel = active_kernel();
  if (kernel == nullptr || kernel->dictionaries() == nullptr) return kBadArgument;
  if (path_list == nullptr || charset_id_list == nullptr) return kOutOfMemory;
  const DynArray<WideString>& paths = *from_c_array<WideString>(path_list);
  const DynArray<std::uint32_t>& ids = *from_c_array<std::uint32_t>(charset_id_list);
  if (paths.size() != ids.size() || paths.empty()) return kOutOfMemory;
  for (std::uint32_t i = 0; i < paths.size(); ++i) {
    if (paths[i].empty()) continue;
    const int status = kernel->dictionaries()->set_path(ids[i], paths[i].data(), paths[i].size());
    if (status != kOk) return status;
  }
  return kOk;
}

}  // extern "C"
