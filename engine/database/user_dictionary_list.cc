#include "engine/database/user_dictionary_list.h"

#include <algorithm>

#include "engine/database/data_store.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

// Charsets whose symbols separate the words of every dictionary.
bool is_separator_charset(std::uint32_t id) { return id == 2 || id == 37 || id == 38; }

// Builds the alphabet of a dictionary from the database: the space, the
// separators of the punctuation charsets and the letters of its own
// charset, each folding to the symbol's third code. A charset symbol whose
// symbol is missing gives no letter: -2, and the others are still added.
int seed_alphabet(UserDictionary& dictionary, const DataStore& store) {
  int first_failure = dictionary.add_letter(64, u' ', u' ', true, false);
  for (std::uint32_t i = 0; i < store.charset_symb_count() && first_failure != kOutOfMemory; ++i) {
    const CharSetSymb& record = *store.charset_symb_at(i);
    const bool separator = is_separator_charset(record.charset_id);
    if (!separator && record.charset_id != dictionary.charset_id()) continue;
    const Symb* symb = store.find_symb(record.code);
    if (symb == nullptr) {
      if (first_failure == kOk) first_failure = kBadArgument;
      continue;
    }
    const std::uint32_t b6 = record.values[0];
    const std::uint32_t b7 = record.values[1];
    const std::uint32_t b8 = record.values[2];
    const bool unordered = b6 == 0 && b7 == 0 && b8 == 0;
    std::uint32_t weight = 0;
    if (separator) {
      weight = ((b6 + 1) * 16 + b7) * 4 + b8;
    } else if (!unordered) {
      weight = ((b6 + 1024) * 16 + b7) * 4 + b8;
    }
    const int status =
        dictionary.add_letter(weight, record.code, symb->third_code, separator, unordered);
    if (first_failure == kOk) first_failure = status;
  }
  return first_failure;
}

// Reads the fields of "user.ulb" and knows how many bytes are left, so that
// no count in a damaged file makes it read or allocate past the file's end.
class UlbReader {
 public:
  explicit UlbReader(FileHolder& file) : file_(file), end_(file.length()) {}

  int u32(std::uint32_t* value) { return file_.read_u32(value); }
  // A count of at most limit; with unit_bytes, also of at most as many
  // units of that size as there are bytes left.
  int count(std::uint32_t limit, std::uint32_t unit_bytes, std::uint32_t* value) {
    if (const int status = u32(value); status != kOk) return status;
    if (*value > limit || std::uint64_t{*value} * unit_bytes > bytes_left()) {
      return kUdBadFileFormat;
    }
    return kOk;
  }
  // The alphabet codes of a dictionary.
  int codes(DynArray<char16_t>* out) {
    std::uint32_t n = 0;
    if (const int status = count(0x7FFFFFFF, sizeof(char16_t), &n); status != kOk) return status;
    if (out->resize(n) != kOk) return kOutOfMemory;
    return file_.read(out->data(), sizeof(char16_t), n) == n ? kOk : kFileIo;
  }
  // A stored word: its first kStoredWordUnits units are kept.
  int word(WideString* text) {
    std::uint32_t length = 0;
    if (const int status = count(0xFFFFFFFF, sizeof(char16_t), &length); status != kOk) {
      return status;
    }
    const std::uint32_t kept = std::min(length, UserDictionaryList::kStoredWordUnits);
    if (text->resize(kept) != kOk) return kOutOfMemory;
    if (file_.read(text->data(), sizeof(char16_t), kept) != kept) return kFileIo;
    const long dropped = static_cast<long>(length - kept) * 2;
    return file_.seek(dropped, static_cast<int>(SeekOrigin::kCurrent)) == 0 ? kOk : kFileIo;
  }

 private:
  std::uint64_t bytes_left() {
    const long at = file_.tell();
    return at < 0 || at > end_ ? 0 : static_cast<std::uint64_t>(end_ - at);
  }

  FileHolder& file_;
  long end_;
};

// Keeps the first status other than 0 that it is shown.
class FirstFailure {
 public:
  // Returns the status shown.
  int note(int status) {
    if (status_ == kOk) status_ = status;
    return status;
  }
  int status() const { return status_; }

 private:
  int status_ = kOk;
};

// Reads the words of one dictionary and puts in the whole ones. A word cut
// off by the end of the file ends the reading (*broken), the words before
// it stay.
void read_words(UlbReader& in, UserDictionary& dictionary, FirstFailure& failure, bool* broken) {
  std::uint32_t count = 0;
  if (failure.note(in.count(UserDictionaryList::kMaxWords, 0, &count)) != kOk) {
    *broken = true;
    return;
  }
  DynArray<UserWord> words;
  for (std::uint32_t i = 0; i < count && !*broken; ++i) {
    UserWord word;
    if (failure.note(in.word(&word.text)) != kOk || failure.note(in.u32(&word.probability)) != kOk) {
      *broken = true;
    } else if (word.probability < 1 || word.probability > UserDictionary::kMaxProbability) {
      failure.note(kUdBadFileFormat);  // this word is left out, the others still load
    } else if (words.push_back(std::move(word)) != kOk) {
      failure.note(kOutOfMemory);
      *broken = true;
    }
  }
  const int filled = dictionary.fill_words(words);
  failure.note(filled);
  if (filled == kOutOfMemory) *broken = true;
}

}  // namespace

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

int UserDictionaryList::read(FileHolder& file, const DataStore& store) {
  UlbReader in(file);
  FirstFailure failure;
  std::uint32_t dictionaries = 0;
  if (const int status = in.count(kMaxDictionaries, 0, &dictionaries); status != kOk) {
    return status;
  }
  bool broken = false;
  for (std::uint32_t d = 0; d < dictionaries && !broken; ++d) {
    std::uint32_t id = 0;
    if (failure.note(in.u32(&id)) != kOk || failure.note(add_dictionary(id)) != kOk) break;
    std::uint32_t position = 0;
    find_charset(id, &position);
    UserDictionary& dictionary = dictionaries_[position];
    if (const int status = seed_alphabet(dictionary, store); status != kOk) {
      failure.note(status);
      if (status == kOutOfMemory) break;
    }
    DynArray<char16_t> codes;
    if (failure.note(in.codes(&codes)) != kOk ||
        failure.note(dictionary.add_plain_letters(codes.span())) != kOk) {
      break;
    }
    read_words(in, dictionary, failure, &broken);
  }
  return failure.status();
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
      if (status == kOk &&
          file.write(word.text.data(), sizeof(char16_t), word.text.size()) != word.text.size()) {
        status = kFileIo;
      }
      if (status == kOk) status = file.write_u32(word.probability);
    }
  }
  return status;
}

}  // namespace inkrec
