#include "engine/database/user_dictionary.h"

#include <algorithm>
#include <bit>

#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"
#include "engine/foundation/wide_string_order.h"

namespace inkrec {
namespace {

std::uint32_t primary(const CollationEntry& e) { return e.weight >> 6; }
std::uint32_t secondary(const CollationEntry& e) { return (e.weight >> 2) & 0xF; }
std::uint32_t tertiary(const CollationEntry& e) { return e.weight & 0x3; }

int compare_values(std::size_t a, std::size_t b) { return a < b ? -1 : a > b ? 1 : 0; }

bool valid_probability(std::uint32_t p) { return p >= 1 && p <= UserDictionary::kMaxProbability; }

bool valid_length(std::u16string_view text) {
  return !text.empty() && text.size() <= UserDictionary::kMaxWordLength;
}

// Position of the first segment not below text, in plain order.
std::uint32_t segment_position(const DynArray<UserWord>& segments, std::u16string_view text) {
  return static_cast<std::uint32_t>(
      std::lower_bound(segments.begin(), segments.end(), text,
                       [](const UserWord& held, std::u16string_view sought) {
                         return wide_string_compare(view(held.text), sought) < 0;
                       }) -
      segments.begin());
}

bool is_segment_at(const DynArray<UserWord>& segments, std::uint32_t i, std::u16string_view text) {
  return i < segments.size() && view(segments[i].text) == text;
}

}  // namespace

int UserWord::assign(const UserWord& other) {
  if (const int status = text.assign(other.text); status != kOk) return status;
  probability = other.probability;
  return kOk;
}

void UserDictionary::reset(std::uint32_t charset_id) {
  charset_id_ = charset_id;
  alphabet_.release();
  words_.collation.release();
  words_.entries.release();
  segments_.release();
}

std::int64_t UserDictionary::find_letter(char16_t code) const {
  const AlphabetEntry* found =
      std::lower_bound(alphabet_.begin(), alphabet_.end(), code,
                       [](const AlphabetEntry& e, char16_t c) { return e.code < c; });
  if (found == alphabet_.end() || found->code != code) return -1;
  return found - alphabet_.begin();
}

void UserDictionary::forget_words() {
  words_.entries.release();
  segments_.release();
}

int UserDictionary::insert_letter(const AlphabetEntry& letter, const CollationEntry& collation) {
  const auto at = static_cast<std::uint32_t>(
      std::lower_bound(alphabet_.begin(), alphabet_.end(), letter.code,
                       [](const AlphabetEntry& e, char16_t c) { return e.code < c; }) -
      alphabet_.begin());
  if (!words_.collation.reserve(1)) return kOutOfMemory;
  if (const int status = insert_at(alphabet_, at, letter); status != kOk) return status;
  insert_at(words_.collation, at, collation);
  forget_words();
  return kOk;
}

int UserDictionary::add_plain_letters(std::span<const char16_t> codes) {
  DynArray<char16_t> fresh;
  if (fresh.append(codes) != kOk) return kOutOfMemory;
  std::sort(fresh.begin(), fresh.end());
  char16_t* end = std::unique(fresh.begin(), fresh.end());
  end = std::remove_if(fresh.begin(), end, [this](char16_t code) { return has_letter(code); });
  if (end == fresh.begin()) return kOk;

  const auto total = static_cast<std::uint32_t>(alphabet_.size() + (end - fresh.begin()));
  DynArray<AlphabetEntry> alphabet;
  DynArray<CollationEntry> collation;
  if (alphabet.reserve_total(total) != kOk || collation.reserve_total(total) != kOk) {
    return kOutOfMemory;
  }
  std::uint32_t held = 0;
  for (const char16_t* code = fresh.begin(); held < alphabet_.size() || code != end;) {
    if (code == end || (held < alphabet_.size() && alphabet_[held].code < *code)) {
      alphabet.push_back(alphabet_[held]);
      collation.push_back(words_.collation[held]);
      ++held;
    } else {
      alphabet.push_back({*code, *code, 0});
      collation.push_back({*code, 0, 1});
      ++code;
    }
  }
  alphabet_.swap(alphabet);
  words_.collation.swap(collation);
  forget_words();
  return kOk;
}

int UserDictionary::add_letter(std::uint32_t weight, char16_t code, char16_t folded, bool separator,
                               bool unordered) {
  if (weight >= kWeightLimit) return kUdWeightTooLarge;
  return insert_letter({code, folded, separator}, {code, weight, unordered});
}

int UserDictionary::set_letter_weight(std::uint32_t i, std::uint32_t weight) {
  if (i >= alphabet_.size()) return kUdBadLetterIndex;
  if (weight >= kWeightLimit) return kUdWeightTooLarge;
  words_.collation[i].weight = weight;
  forget_words();
  return kOk;
}

int UserDictionary::set_letter_code(std::uint32_t i, char16_t code) {
  if (i >= alphabet_.size()) return kUdBadLetterIndex;
  AlphabetEntry letter = alphabet_[i];
  CollationEntry collation = words_.collation[i];
  letter.code = code;
  collation.code = code;
  alphabet_.erase(i, 1);
  words_.collation.erase(i, 1);
  // The arrays had room for the entry just taken out, so this cannot fail.
  return insert_letter(letter, collation);
}

int UserDictionary::remove_letter(std::uint32_t i) {
  if (i >= alphabet_.size()) return kUdBadLetterIndex;
  alphabet_.erase(i, 1);
  words_.collation.erase(i, 1);
  forget_words();
  return kOk;
}

int UserDictionary::collate(std::u16string_view a, std::u16string_view b, int* order) const {
  if (!covers(a) || !covers(b)) return kUndocumented;
  const auto entry = [this](char16_t unit) -> const CollationEntry& {
    return words_.collation[static_cast<std::uint32_t>(find_letter(unit))];
  };
  const std::size_t common = std::min(a.size(), b.size());
  *order = 0;
  for (std::size_t i = 0; i < common && *order == 0; ++i) {
    const CollationEntry& x = entry(a[i]);
    const CollationEntry& y = entry(b[i]);
    if (x.unordered != y.unordered) {
      *order = x.unordered ? -1 : 1;
    } else {
      *order =
          x.unordered ? compare_values(x.code, y.code) : compare_values(primary(x), primary(y));
    }
  }
  if (*order == 0) *order = compare_values(a.size(), b.size());
  for (std::size_t i = 0; i < common && *order == 0; ++i) {
    *order = compare_values(secondary(entry(a[i])), secondary(entry(b[i])));
  }
  for (std::size_t i = 0; i < common && *order == 0; ++i) {
    *order = compare_values(tertiary(entry(a[i])), tertiary(entry(b[i])));
  }
  return kOk;
}

bool UserDictionary::covers(std::u16string_view text) const {
  return std::all_of(text.begin(), text.end(), [&](char16_t c) { return has_letter(c); });
}

int UserDictionary::segments_of(std::u16string_view text, DynArray<WideString>* out) const {
  WideString* segment = nullptr;
  for (char16_t unit : text) {
    const std::int64_t i = find_letter(unit);
    if (i < 0) return kUdCharOutsideAlphabet;
    const AlphabetEntry& letter = alphabet_[static_cast<std::uint32_t>(i)];
    if (letter.separator) {
      segment = nullptr;
      continue;
    }
    if (segment == nullptr && (segment = out->push_default()) == nullptr) return kOutOfMemory;
    if (const int status = segment->push_back(letter.folded); status != kOk) return status;
  }
  return kOk;
}

int UserDictionary::add_segments(std::u16string_view text, std::uint32_t probability,
                                 DynArray<UserWord>& segments) const {
  DynArray<WideString> runs;
  if (const int status = segments_of(text, &runs); status != kOk) return status;
  for (WideString& run : runs) {
    const std::uint32_t at = segment_position(segments, view(run));
    if (is_segment_at(segments, at, view(run))) {
      std::uint32_t& sum = segments[at].probability;
      if (sum + probability > kMaxProbability) return kUdBadProbability;
      sum += probability;
    } else if (const int status = insert_at(segments, at, UserWord{std::move(run), probability});
               status != kOk) {
      return status;
    }
  }
  return kOk;
}

int UserDictionary::take_segments(std::u16string_view text, std::uint32_t probability,
                                  DynArray<UserWord>& segments) const {
  DynArray<WideString> runs;
  if (const int status = segments_of(text, &runs); status != kOk) return status;
  for (const WideString& run : runs) {
    const std::uint32_t at = segment_position(segments, view(run));
    if (!is_segment_at(segments, at, view(run))) return kUndocumented;
    std::uint32_t& sum = segments[at].probability;
    if (sum < probability) return kUdBadProbability;
    sum -= probability;
    if (sum == 0) segments.erase(at, 1);
  }
  return kOk;
}

int UserDictionary::word_length(std::uint32_t i, std::uint32_t* out) const {
  if (i >= word_count()) return kUdBadWordIndex;
  *out = words_.entries[i].text.size();
  return kOk;
}

int UserDictionary::word_text(std::uint32_t i, char16_t* buffer) const {
  if (i >= word_count()) return kUdBadWordIndex;
  if (buffer == nullptr) return kBadArgument;
  const WideString& text = words_.entries[i].text;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return kOk;
}

int UserDictionary::word_probability(std::uint32_t i, std::uint32_t* out) const {
  if (i >= word_count()) return kUdBadWordIndex;
  *out = words_.entries[i].probability;
  return kOk;
}

int UserDictionary::check_text(std::u16string_view text, std::uint8_t* out) const {
  *out = valid_length(text) && covers(text) ? 1 : 0;
  return kOk;
}

int UserDictionary::search(std::u16string_view text, std::uint32_t* position, bool* found) const {
  // The words are in collation order: a binary search for the first word
  // not below text.
  std::uint32_t lo = 0;
  std::uint32_t hi = word_count();
  int order_at_lo = 1;
  while (lo < hi) {
    const std::uint32_t mid = lo + (hi - lo) / 2;
    int order = 0;
    if (const int status = collate(view(words_.entries[mid].text), text, &order); status != kOk) {
      return status;
    }
    if (order < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
      order_at_lo = order;
    }
  }
  *position = lo;
  *found = lo < word_count() && order_at_lo == 0;
  return kOk;
}

int UserDictionary::check_word(std::u16string_view text, std::uint32_t probability) const {
  if (!valid_length(text)) return kUdBadWordLength;
  if (!covers(text)) return kUdCharOutsideAlphabet;
  if (!valid_probability(probability)) return kUdBadProbability;
  return kOk;
}

int UserDictionary::add_word(std::u16string_view text, std::uint32_t probability) {
  if (const int status = check_word(text, probability); status != kOk) return status;
  std::uint32_t at = 0;
  bool found = false;
  if (const int status = search(text, &at, &found); status != kOk) return status;
  if (found) return kUdWordExists;

  DynArray<UserWord> segments;
  UserWord word;
  word.probability = probability;
  if (const int status = segments.assign(segments_); status != kOk) return status;
  if (const int status = add_segments(text, probability, segments); status != kOk) return status;
  if (const int status = assign_units(word.text, text); status != kOk) return status;
  if (const int status = insert_at(words_.entries, at, std::move(word)); status != kOk) {
    return status;
  }
  segments_.swap(segments);
  return kOk;
}

int UserDictionary::remove_word(std::uint32_t i) {
  if (i >= word_count()) return kUdBadWordIndex;
  const UserWord& word = words_.entries[i];
  DynArray<UserWord> segments;
  if (const int status = segments.assign(segments_); status != kOk) return status;
  if (const int status = take_segments(view(word.text), word.probability, segments);
      status != kOk) {
    return status;
  }
  words_.entries.erase(i, 1);
  segments_.swap(segments);
  return kOk;
}

int UserDictionary::set_probability(std::uint32_t i, std::uint32_t probability) {
  if (i >= word_count()) return kUdBadWordIndex;
  if (!valid_probability(probability)) return kUdBadProbability;
  UserWord& word = words_.entries[i];
  DynArray<UserWord> segments;
  if (const int status = segments.assign(segments_); status != kOk) return status;
  if (const int status = take_segments(view(word.text), word.probability, segments);
      status != kOk) {
    return status;
  }
  if (const int status = add_segments(view(word.text), probability, segments); status != kOk) {
    return status;
  }
  word.probability = probability;
  segments_.swap(segments);
  return kOk;
}

int UserDictionary::set_text(std::uint32_t i, std::u16string_view text) {
  if (i >= word_count()) return kUdBadWordIndex;
  if (!valid_length(text)) return kUdBadWordLength;
  if (!covers(text)) return kUdTextOutsideAlphabet;
  std::uint32_t at = 0;
  bool found = false;
  if (const int status = search(text, &at, &found); status != kOk) return status;
  if (found && at != i) return kUdWordExists;

  UserWord word;
  word.probability = words_.entries[i].probability;
  DynArray<UserWord> segments;
  if (const int status = assign_units(word.text, text); status != kOk) return status;
  if (const int status = segments.assign(segments_); status != kOk) return status;
  if (const int status = take_segments(view(words_.entries[i].text), word.probability, segments);
      status != kOk) {
    return status;
  }
  if (const int status = add_segments(text, word.probability, segments); status != kOk) {
    return status;
  }
  // The new place is counted without the word itself; the array keeps room
  // for the entry taken out, so putting the word back cannot fail.
  if (at > i) --at;
  words_.entries.erase(i, 1);
  insert_at(words_.entries, at, std::move(word));
  segments_.swap(segments);
  return kOk;
}

bool UserDictionary::find_segment(std::u16string_view text, std::uint32_t* position) const {
  *position = segment_position(segments_, text);
  return is_segment_at(segments_, *position, text);
}

int UserDictionary::segment_length(std::uint32_t i, std::uint32_t* out) const {
  if (i >= segment_count()) return kUdBadSegmentIndex;
  *out = segments_[i].text.size();
  return kOk;
}

int UserDictionary::segment_text(std::uint32_t i, std::u16string_view* out) const {
  if (i >= segment_count()) return kUdBadSegmentIndex;
  *out = view(segments_[i].text);
  return kOk;
}

int UserDictionary::segment_probability(std::uint32_t i, std::uint32_t* out) const {
  if (i >= segment_count()) return kUdBadSegmentIndex;
  *out = segments_[i].probability;
  return kOk;
}

int UserDictionary::segment_bit_length(std::uint32_t i, std::uint32_t* out) const {
  if (i >= segment_count()) return kUdBadSegmentIndex;
  *out = static_cast<std::uint32_t>(std::bit_width(segments_[i].probability));
  return kOk;
}

bool UserDictionary::has_segment(std::u16string_view text, std::uint32_t length) const {
  for (std::uint32_t i = segment_position(segments_, text); i < segment_count(); ++i) {
    const std::u16string_view segment = view(segments_[i].text);
    if (!segment.starts_with(text)) return false;
    if (length == 0 || segment.size() == length) return true;
  }
  return false;
}

int UserDictionary::find_segments(std::u16string_view text, std::uint32_t length,
                                  std::uint32_t* indices, std::uint32_t maximum,
                                  std::uint32_t* count) const {
  if (length == 0 || length > kMaxWordLength) return kUdBadWordLength;
  text = text.substr(0, length);
  *count = 0;
  for (std::uint32_t i = segment_position(segments_, text);
       *count < maximum && is_segment_at(segments_, i, text); ++i) {
    indices[(*count)++] = i;
  }
  return kOk;
}

void UserDictionary::letters_after(std::u16string_view prefix, CharSlotMap& map) const {
  for (const UserWord& segment : segments_) {
    const std::u16string_view text = view(segment.text);
    if (text.size() <= prefix.size() || !text.starts_with(prefix)) continue;
    map.mark(text[prefix.size()], text.size() == prefix.size() + 1 ? CharSlotMap::kWordEnds
                                                                   : CharSlotMap::kLetterContinues);
  }
}

}  // namespace inkrec
