#include "engine/database/standard_dictionary.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/wide_string_order.h"

namespace inkrec {
namespace {

std::uint64_t padded_to_4(std::uint64_t n) { return (n + 3) & ~std::uint64_t{3}; }

std::int32_t i32_at(const std::uint8_t* p) {
  std::int32_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

std::uint32_t u32_at(const std::uint8_t* p) {
  std::uint32_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

std::uint16_t u16_at(const std::uint8_t* p) {
  std::uint16_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

int decimal_digits(std::int32_t n) {
  int digits = 0;
  for (; n > 0; n /= 10) ++digits;
  return digits;
}

std::int64_t power_of_ten(int n) {
  std::int64_t value = 1;
  while (n-- > 0) value *= 10;
  return value;
}

// Where text stands against the first text.size() units of word: negative
// when text sorts before them, 0 when they are equal.
int compare_with_beginning(std::u16string_view text, std::u16string_view word) {
  return wide_string_compare(text, word.substr(0, text.size()));
}

}  // namespace

void StandardDictionary::swap(StandardDictionary& other) noexcept {
  std::swap(header_, other.header_);
  std::swap(number_digits_, other.number_digits_);
  std::swap(first_steps_, other.first_steps_);
  std::swap(tree_, other.tree_);
  std::swap(index_, other.index_);
  std::swap(bits_, other.bits_);
  owned_.swap(other.owned_);
  std::swap(loaded_, other.loaded_);
  cache_.swap(other.cache_);
  letter_marks_.swap(other.letter_marks_);
}

bool StandardDictionary::attach(std::span<const std::uint8_t> image) {
  release();
  return take_image(image);
}

bool StandardDictionary::read(FileHolder& file) {
  release();
  const long length = file.length();
  if (length <= 0 || static_cast<unsigned long>(length) > 0xFFFFFFFFul) return false;
  DynArray<std::uint8_t> bytes;
  if (bytes.resize(static_cast<std::uint32_t>(length)) != kOk) return false;
  if (file.seek_to(0) != kOk || file.read(bytes.data(), 1, bytes.size()) != bytes.size()) {
    return false;
  }
  owned_.swap(bytes);
  if (take_image(owned_.span())) return true;
  release();
  return false;
}

void StandardDictionary::release() {
  header_ = {};
  number_digits_ = 0;
  tree_ = {};
  index_ = {};
  bits_ = {};
  owned_.release();
  loaded_ = false;
  cache_.clear();
  letter_marks_.clear();
}

bool StandardDictionary::take_image(std::span<const std::uint8_t> image) {
  if (image.size() < kHeaderBytes) return false;
  const Header header{i32_at(&image[0]), i32_at(&image[4]), i32_at(&image[8]), i32_at(&image[12]),
                      i32_at(&image[16])};
  if (header.tree_bytes < 2 || header.tree_bytes % 2 != 0 || header.index_bytes < 0 ||
      header.index_bytes % kIndexRecordBytes != 0 || header.bits_bytes < 0 ||
      header.number_bound < 0 || header.key_length < 0 || header.key_length > kMaxKeyLength) {
    return false;
  }
  const std::uint64_t tree_start = kHeaderBytes;
  const std::uint64_t index_start = tree_start + padded_to_4(header.tree_bytes);
  const std::uint64_t bits_start = index_start + padded_to_4(header.index_bytes);
  const std::uint64_t end = bits_start + padded_to_4(header.bits_bytes);
  if (end > image.size()) return false;

  header_ = header;
  number_digits_ = decimal_digits(header.number_bound);
  tree_ = image.subspan(tree_start, header.tree_bytes);
  index_ = image.subspan(index_start, header.index_bytes);
  bits_ = image.subspan(bits_start, header.bits_bytes);
  fill_first_steps();
  loaded_ = true;
  return true;
}

void StandardDictionary::fill_first_steps() {
  const std::int64_t root_end = static_cast<std::int64_t>(tree_.size() / 2) - 1;
  for (std::uint32_t window = 0; window < first_steps_.size(); ++window) {
    FirstStep& step = first_steps_[window];
    step = {};
    std::int64_t node = 0;
    std::int64_t end = root_end;
    bool broken = false;
    while (!broken && node < end && step.bits < 8) {
      const bool right = (window >> step.bits) & 1;
      ++step.bits;
      broken = !step_down(node, end, right);
    }
    if (broken) continue;
    step.outcome = node < end ? FirstStep::kSubtree : FirstStep::kSymbol;
    step.symbol = node < end ? 0 : tree_entry(static_cast<std::uint32_t>(node));
    step.node = node;
    step.end = end;
  }
}

std::uint16_t StandardDictionary::tree_entry(std::uint32_t i) const {
  return u16_at(&tree_[std::size_t{i} * 2]);
}

std::uint32_t StandardDictionary::block_bit_position(std::uint32_t block) const {
  return block < index_count() ? u32_at(&index_[std::size_t{block} * kIndexRecordBytes]) : 0;
}

std::uint32_t StandardDictionary::find_block(std::u16string_view text) const {
  const std::int64_t count = index_count();
  std::int64_t lo = 0;
  std::int64_t hi = count - 1;
  if (hi <= 1) return 0;
  char16_t key[kMaxKeyLength + 1];
  const std::size_t key_length = static_cast<std::size_t>(header_.key_length);
  do {
    const std::int64_t mid2 = lo + hi;
    const std::int64_t mid = mid2 / 2;
    const std::uint8_t* record = &index_[static_cast<std::size_t>(mid) * kIndexRecordBytes];
    for (std::size_t i = 0; i < key_length; ++i) key[i] = u16_at(record + 4 + 2 * i);
    key[key_length] = 0xFFFF;
    if (wide_string_compare({key, key_length + 1}, text) <= 0) {
      lo = mid;
    } else {
      hi = (mid2 + 1) / 2;
    }
  } while (hi - lo > 1);
  return static_cast<std::uint32_t>(lo);
}

std::uint32_t StandardDictionary::next_symbol(std::uint64_t& p) const {
  std::int64_t end = static_cast<std::int64_t>(tree_.size() / 2) - 1;
  std::int64_t node = 0;
  if (end <= 0) return tree_entry(0);
  const std::uint64_t bit_count = std::uint64_t{bits_.size()} * 8;
  // Eight bits at once from the root, then bit by bit for longer codes
  // and near the end of the stream.
  if (p + 8 <= bit_count) {
    const FirstStep& step = first_steps_[byte_at_bit(p)];
    p += step.bits;
    if (step.outcome == FirstStep::kBroken) return kNoSymbol;
    if (step.outcome == FirstStep::kSymbol) return step.symbol;
    node = step.node;
    end = step.end;
  }
  while (node < end) {
    if (p >= bit_count) return kNoSymbol;
    const bool right = (bits_[p / 8] >> (p % 8)) & 1;
    ++p;
    if (!step_down(node, end, right)) return kNoSymbol;
  }
  return tree_entry(static_cast<std::uint32_t>(node));
}

bool StandardDictionary::step_down(std::int64_t& node, std::int64_t& end, bool right) const {
  const std::int64_t right_start = tree_entry(static_cast<std::uint32_t>(node));
  if (right_start < node + 2 || right_start > end) return false;
  if (right) {
    node = right_start;
  } else {
    end = right_start - 1;
    ++node;
  }
  return true;
}

std::uint32_t StandardDictionary::byte_at_bit(std::uint64_t p) const {
  const std::size_t at = p / 8;
  std::uint32_t window = bits_[at];
  if (at + 1 < bits_.size()) window |= std::uint32_t{bits_[at + 1]} << 8;
  return (window >> (p % 8)) & 0xFF;
}

template <typename Visitor>
void StandardDictionary::walk(std::u16string_view start, Visitor&& visit) const {
  if (!loaded_) return;
  std::uint64_t p = block_bit_position(find_block(start));
  char16_t word[kMaxWordLength];
  std::size_t k = 0;
  std::int64_t number = 0;
  int j = 0;
  for (;;) {
    const std::uint32_t symbol = next_symbol(p);
    if (symbol == kNoSymbol) return;
    if (symbol > 9) {
      if (k == kMaxWordLength) return;
      word[k++] = static_cast<char16_t>(symbol);
      j = 0;
      continue;
    }
    if (j == 0) {
      // A block starts with an empty word, which no visitor is shown.
      if (k != 0 && visit(std::u16string_view(word, k), static_cast<int>(std::min<std::int64_t>(
                                                            number, INT_MAX))) == Visit::kStop) {
        return;
      }
      if (symbol > k) return;
      k = symbol;
      number = 0;
    } else if (j < number_digits_) {
      number += symbol * power_of_ten(number_digits_ - j);
    } else if (j == number_digits_) {
      number += symbol;
    } else {
      return;
    }
    ++j;
  }
}

bool StandardDictionary::word_value(std::u16string_view word, int* out) const {
  *out = -1;
  bool found = false;
  walk(word, [&](std::u16string_view candidate, int number) {
    const int order = wide_string_compare(word, candidate);
    if (order > 0) return Visit::kGoOn;
    if (order == 0) {
      *out = number;
      found = true;
    }
    return Visit::kStop;
  });
  return found;
}

bool StandardDictionary::prefix_value(std::u16string_view text, std::uint32_t length) const {
  bool found = false;
  walk(text, [&](std::u16string_view word, int) {
    const int order = compare_with_beginning(text, word);
    if (order < 0) return Visit::kStop;
    if (order == 0 && (length == 0 || word.size() == length)) {
      found = true;
      return Visit::kStop;
    }
    return Visit::kGoOn;
  });
  return found;
}

// A prefix asked before replays the marks it gave; a new one is answered
// from the list and its marks are kept.
void StandardDictionary::search_word(std::u16string_view prefix, CharSlotMap& map) {
  if (!loaded_) return;
  std::span<const LetterMarkCache::Mark> known;
  if (letter_marks_.find(prefix, &known)) {
    for (const LetterMarkCache::Mark& mark : known) map.mark(mark.letter, mark.state);
    return;
  }
  if (prefix.size() < kLetterEntryPrefixes) {
    search_letter_entries(prefix, map);
  } else {
    search_long_prefix(prefix, map);
  }
}

// A short prefix is answered by the letter entries, whose marks are kept
// in the order they came.
void StandardDictionary::search_letter_entries(std::u16string_view prefix, CharSlotMap& map) {
  using Mark = LetterMarkCache::Mark;
  char16_t key_units[kLetterEntryPrefixes + 1];
  key_units[0] = static_cast<char16_t>(u'1' + prefix.size());
  std::copy(prefix.begin(), prefix.end(), key_units + 1);
  const std::u16string_view key(key_units, prefix.size() + 1);
  Mark found[256];
  std::size_t count = 0;
  bool all_kept = true;
  walk(key, [&](std::u16string_view word, int number) {
    const int order = compare_with_beginning(key, word);
    if (order < 0) return Visit::kStop;
    if (order == 0 && word.size() > key.size()) {
      const Mark mark{word[key.size()], static_cast<std::uint32_t>(number)};
      map.mark(mark.letter, mark.state);
      if (count < std::size(found)) {
        found[count++] = mark;
      } else {
        all_kept = false;
      }
    }
    return Visit::kGoOn;
  });
  if (all_kept) letter_marks_.add(prefix, {found, count});
}

// A long prefix is answered from the prefix cache when that covers it, else
// from the words of the list; its letters are kept each once, at their
// strongest state.
void StandardDictionary::search_long_prefix(std::u16string_view prefix, CharSlotMap& map) {
  LetterMarkSet found;
  const auto mark = [&](char16_t letter, std::uint32_t state) {
    map.mark(letter, state);
    found.add(letter, state);
  };
  if (cache_.covers(prefix)) {
    cache_.for_each_letter_after(prefix, mark);
  } else {
    bool caching = cache_.reset(prefix);
    walk(prefix, [&](std::u16string_view word, int) {
      const int order = compare_with_beginning(prefix, word);
      if (order < 0) return Visit::kStop;
      if (order == 0 && word.size() > prefix.size()) {
        if (caching) caching = cache_.append(word.substr(prefix.size()));
        mark(word[prefix.size()], word.size() == prefix.size() + 1
                                      ? CharSlotMap::kWordEnds
                                      : CharSlotMap::kLetterContinues);
      }
      return Visit::kGoOn;
    });
  }
  if (!found.full()) letter_marks_.add(prefix, found.marks());
}

int StandardDictionary::complete_prefix(std::u16string_view prefix, std::uint32_t maximum,
                                        DynArray<WideString>* out) const {
  DynArray<WideString> best;
  DynArray<int> numbers;
  int status = kOk;
  walk(prefix, [&](std::u16string_view word, int number) {
    const int order = compare_with_beginning(prefix, word);
    if (order < 0) return Visit::kStop;
    if (order > 0) return Visit::kGoOn;
    const auto place = static_cast<std::uint32_t>(
        std::find_if(numbers.begin(), numbers.end(), [&](int held) { return held < number; }) -
        numbers.begin());
    if (place >= maximum) return Visit::kGoOn;
    WideString text;
    if ((status = assign_units(text, word)) != kOk ||
        (status = insert_at(best, place, std::move(text))) != kOk ||
        (status = insert_at(numbers, place, number)) != kOk) {
      return Visit::kStop;
    }
    if (best.size() > maximum) {
      best.pop_back();
      numbers.pop_back();
    }
    return Visit::kGoOn;
  });
  if (status != kOk) return status;
  if (!out->reserve(best.size())) return kOutOfMemory;
  for (WideString& word : best) out->push_back(std::move(word));
  return kOk;
}

int StandardDictionary::collect_trigrams(std::u16string_view prefix,
                                         DynArray<WideString>* out) const {
  int status = kOk;
  walk(prefix, [&](std::u16string_view word, int) {
    const int order = compare_with_beginning(prefix, word);
    if (order < 0) return Visit::kStop;
    if (order > 0 || word.size() < prefix.size() + 3) return Visit::kGoOn;
    const std::u16string_view trigram = word.substr(prefix.size(), 3);
    if (!out->empty() && view(out->back()) == trigram) return Visit::kGoOn;
    WideString text;
    if ((status = assign_units(text, trigram)) != kOk ||
        (status = out->push_back(std::move(text))) != kOk) {
      return Visit::kStop;
    }
    return Visit::kGoOn;
  });
  return status;
}

bool StandardDictionary::has_trigram(const DynArray<WideString>& sorted, std::u16string_view text) {
  const std::u16string_view trigram = text.substr(0, 3);
  const WideString* found =
      std::lower_bound(sorted.begin(), sorted.end(), trigram,
                       [](const WideString& held, std::u16string_view sought) {
                         return wide_string_less(view(held), sought);
                       });
  return found != sorted.end() && view(*found) == trigram;
}

}  // namespace inkrec
