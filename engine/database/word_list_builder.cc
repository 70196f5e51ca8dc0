#include "engine/database/word_list_builder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <new>
#include <queue>
#include <set>
#include <tuple>
#include <unordered_map>

#include "engine/database/standard_dictionary.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"

namespace inkrec {
namespace {

constexpr std::size_t kWordsPerBlock = 32;
// A tree of n symbols has 2n - 1 entries, whose indices must fit 16 bits.
constexpr std::size_t kMaxSymbols = 32768;

// Every entry of the list, sorted, with its number.
using NumberedWords = std::map<std::u16string, std::uint32_t>;

// The distinct entries, each the first of its word, in line order.
std::vector<const WordListEntry*> distinct_entries(std::span<const WordListEntry> words) {
  std::vector<const WordListEntry*> distinct;
  std::set<std::u16string_view> seen;
  for (const WordListEntry& entry : words) {
    if (seen.insert(entry.word).second) distinct.push_back(&entry);
  }
  return distinct;
}

NumberedWords levels_from_frequencies(const std::vector<const WordListEntry*>& entries) {
  std::uint64_t least = 0;
  std::uint64_t most = 0;
  for (const WordListEntry* entry : entries) {
    if (entry->frequency == 0) continue;
    least = least == 0 ? entry->frequency : std::min(least, entry->frequency);
    most = std::max(most, entry->frequency);
  }
  NumberedWords numbered;
  for (const WordListEntry* entry : entries) {
    numbered[entry->word] =
        most == 0 ? kDefaultWordLevel : level_of_frequency(entry->frequency, least, most);
  }
  return numbered;
}

NumberedWords levels_from_counts(const std::vector<const WordListEntry*>& entries) {
  NumberedWords numbered;
  for (const WordListEntry* entry : entries) {
    numbered[entry->word] = level_of_count(entry->frequency);
  }
  return numbered;
}

NumberedWords levels_as_given(const std::vector<const WordListEntry*>& entries) {
  NumberedWords numbered;
  for (const WordListEntry* entry : entries) {
    numbered[entry->word] = static_cast<std::uint32_t>(entry->frequency);
  }
  return numbered;
}

// For each prefix of up to four letters of a word and the letter after it:
// the entry '1' + prefix length, prefix, letter, numbered kWordEnds when
// prefix and letter make a word, else kLetterContinues.
NumberedWords letter_entries(const NumberedWords& words) {
  NumberedWords entries;
  for (const auto& [word, number] : words) {
    const std::size_t longest = std::min(word.size(), StandardDictionary::kLetterEntryPrefixes);
    for (std::size_t length = 0; length < longest; ++length) {
      std::u16string entry(1, static_cast<char16_t>(u'1' + length));
      entry.append(word, 0, length + 1);
      const std::uint32_t state = words.contains(word.substr(0, length + 1))
                                      ? CharSlotMap::kWordEnds
                                      : CharSlotMap::kLetterContinues;
      std::uint32_t& held = entries[entry];
      held = std::max(held, state);
    }
  }
  return entries;
}

std::size_t shared_units(std::u16string_view a, std::u16string_view b) {
  const std::size_t limit =
      std::min<std::size_t>({a.size(), b.size(), StandardDictionary::kMaxSharedUnits});
  std::size_t n = 0;
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

int decimal_digits(std::uint32_t n) {
  int digits = 0;
  for (; n > 0; n /= 10) ++digits;
  return digits;
}

// The list as the symbols of its bit stream: digits 0..9 and characters.
struct SymbolStream {
  std::vector<std::uint16_t> symbols;
  std::vector<std::size_t> block_starts;  // symbol index of each block's first word
  std::vector<std::u16string> block_words;
  std::uint32_t number_bound = 0;
};

void put_number(std::uint32_t number, int digits, std::vector<std::uint16_t>& symbols) {
  for (int i = digits - 1; i >= 0; --i) {
    std::uint32_t power = 1;
    for (int j = 0; j < i; ++j) power *= 10;
    symbols.push_back(static_cast<std::uint16_t>(number / power % 10));
  }
}

SymbolStream to_symbols(const NumberedWords& entries) {
  SymbolStream stream;
  for (const auto& entry : entries)
    stream.number_bound = std::max(stream.number_bound, entry.second);
  const int digits = decimal_digits(stream.number_bound);
  const std::u16string* previous = nullptr;
  std::size_t position = 0;
  for (const auto& [word, number] : entries) {
    std::size_t shared = 0;
    if (position++ % kWordsPerBlock == 0) {
      stream.block_starts.push_back(stream.symbols.size());
      stream.block_words.push_back(word);
    } else {
      shared = shared_units(*previous, word);
    }
    stream.symbols.push_back(static_cast<std::uint16_t>(shared));
    put_number(number, digits, stream.symbols);
    stream.symbols.insert(stream.symbols.end(), word.begin() + shared, word.end());
    previous = &word;
  }
  stream.block_starts.push_back(stream.symbols.size());
  stream.symbols.insert(stream.symbols.end(), digits + 2, 0);
  return stream;
}

// A prefix-code tree in the reader's pre-order layout: a leaf holds its
// symbol, an inner node the index where its right subtree begins, its left
// subtree beginning at the next entry. Left is bit 0, right bit 1.
class PrefixCode {
 public:
  explicit PrefixCode(const std::vector<std::uint16_t>& symbols) {
    std::map<std::uint16_t, std::uint64_t> counts;
    for (std::uint16_t symbol : symbols) ++counts[symbol];
    using Item = std::tuple<std::uint64_t, std::size_t>;  // weight, node
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    for (const auto& [symbol, count] : counts) {
      queue.emplace(count, nodes_.size());
      nodes_.push_back({symbol, -1, -1});
    }
    while (queue.size() > 1) {
      const auto [left_weight, left] = queue.top();
      queue.pop();
      const auto [right_weight, right] = queue.top();
      queue.pop();
      queue.emplace(left_weight + right_weight, nodes_.size());
      nodes_.push_back({0, static_cast<int>(left), static_cast<int>(right)});
    }
    if (!nodes_.empty()) emit(static_cast<int>(nodes_.size() - 1));
  }

  const std::vector<std::uint16_t>& tree() const { return tree_; }
  const std::vector<bool>& code(std::uint16_t symbol) const { return codes_.at(symbol); }

 private:
  struct Node {
    std::uint16_t symbol;
    int left;
    int right;
  };

  void emit(int node) {
    const Node& n = nodes_[static_cast<std::size_t>(node)];
    if (n.left < 0) {
      tree_.push_back(n.symbol);
      codes_[n.symbol] = path_;
      return;
    }
    const std::size_t inner = tree_.size();
    tree_.push_back(0);
    path_.push_back(false);
    emit(n.left);
    path_.back() = true;
    tree_[inner] = static_cast<std::uint16_t>(tree_.size());
    emit(n.right);
    path_.pop_back();
  }

  std::vector<Node> nodes_;
  std::vector<std::uint16_t> tree_;
  std::unordered_map<std::uint16_t, std::vector<bool>> codes_;
  std::vector<bool> path_;
};

// The key of an index record: the first units of its block's first word,
// padded with 0. The record that closes the index (no word) is all 0xFFFF;
// the reader never compares it.
std::array<char16_t, StandardDictionary::kMaxKeyLength> index_key(const std::u16string* word) {
  std::array<char16_t, StandardDictionary::kMaxKeyLength> key;
  key.fill(word == nullptr ? 0xFFFF : 0);
  if (word != nullptr) std::copy_n(word->begin(), std::min(word->size(), key.size()), key.begin());
  return key;
}

class ImageWriter {
 public:
  explicit ImageWriter(std::vector<std::uint8_t>* image) : image_(*image) { image_.clear(); }

  void put_u32(std::uint32_t value) { put(&value, sizeof value); }
  void put_u16(std::uint16_t value) { put(&value, sizeof value); }
  void put(const void* bytes, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    image_.insert(image_.end(), p, p + n);
  }
  void pad_to_4() { image_.resize((image_.size() + 3) & ~std::size_t{3}, 0); }

 private:
  std::vector<std::uint8_t>& image_;
};

int build_image(std::span<const WordListEntry> words, WordListColumn column,
                std::vector<std::uint8_t>* image) {
  NumberedWords entries = word_levels(words, column);
  entries.merge(letter_entries(entries));
  const SymbolStream stream = to_symbols(entries);
  const std::set<std::uint16_t> distinct(stream.symbols.begin(), stream.symbols.end());
  if (distinct.size() > kMaxSymbols) return kBadArgument;
  const PrefixCode code(stream.symbols);

  std::vector<std::uint8_t> bits;
  std::vector<std::uint64_t> block_bits;
  std::uint64_t bit_count = 0;
  std::size_t next_block = 0;
  for (std::size_t i = 0; i <= stream.symbols.size(); ++i) {
    while (next_block < stream.block_starts.size() && stream.block_starts[next_block] == i) {
      block_bits.push_back(bit_count);
      ++next_block;
    }
    if (i == stream.symbols.size()) break;
    for (bool bit : code.code(stream.symbols[i])) {
      if (bit_count % 8 == 0) bits.push_back(0);
      if (bit) bits.back() |= static_cast<std::uint8_t>(1u << (bit_count % 8));
      ++bit_count;
    }
  }
  if (bit_count > 0xFFFFFFFFull || bits.size() > 0x7FFFFFF0u) return kBadArgument;

  const std::size_t records = block_bits.size();
  ImageWriter out(image);
  out.put_u32(static_cast<std::uint32_t>(code.tree().size() * 2));
  out.put_u32(static_cast<std::uint32_t>(records * StandardDictionary::kIndexRecordBytes));
  out.put_u32(static_cast<std::uint32_t>(bits.size()));
  out.put_u32(stream.number_bound);
  out.put_u32(StandardDictionary::kMaxKeyLength);
  for (std::uint16_t entry : code.tree()) out.put_u16(entry);
  out.pad_to_4();
  for (std::size_t r = 0; r < records; ++r) {
    out.put_u32(static_cast<std::uint32_t>(block_bits[r]));
    out.put(index_key(r < stream.block_words.size() ? &stream.block_words[r] : nullptr).data(),
            StandardDictionary::kMaxKeyLength * sizeof(char16_t));
  }
  out.put(bits.data(), bits.size());
  out.pad_to_4();
  return kOk;
}

}  // namespace

WordListLine parse_word_list_line(std::string_view line, WordListEntry* out) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    at = end;
  }
  if (fields.empty()) return WordListLine::kEmpty;
  if (fields.size() > 2) return WordListLine::kMalformed;
  std::uint64_t frequency = 0;
  if (fields.size() == 2) {
    const std::string_view text = fields[1];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), frequency);
    if (error != std::errc() || end != text.data() + text.size()) return WordListLine::kMalformed;
  }
  out->word = utf8_to_utf16(fields[0]);
  out->frequency = frequency;
  out->numbered = fields.size() == 2;
  return WordListLine::kWord;
}

WordFault check_list_word(std::u16string_view word) {
  if (word.empty() || word.size() > StandardDictionary::kMaxWordLength) return WordFault::kLength;
  for (char16_t unit : word) {
    if (unit < 0x20 || unit >= 0xFFFE) return WordFault::kControlUnit;
  }
  if (word[0] >= u'1' && word[0] <= u'5') return WordFault::kLeadingDigit;
  return WordFault::kNone;
}

std::uint32_t level_of_frequency(std::uint64_t frequency, std::uint64_t least, std::uint64_t most) {
  if (frequency == 0) return 0;
  if (most <= least) return kMaxWordLevel;
  const double scale = std::log(static_cast<double>(most) / static_cast<double>(least));
  const double place = std::log(static_cast<double>(frequency) / static_cast<double>(least));
  const double level = std::round(kMaxWordLevel * place / scale);
  return static_cast<std::uint32_t>(std::clamp(level, 0.0, double{kMaxWordLevel}));
}

std::uint32_t level_of_count(std::uint64_t count) {
  if (count == 0) return 0;
  constexpr double kLevelsPerDecade = 6;
  constexpr double kLevelAtOne = -9;
  const double level =
      std::round(kLevelsPerDecade * std::log10(static_cast<double>(count)) + kLevelAtOne);
  return static_cast<std::uint32_t>(std::clamp(level, 0.0, double{kMaxWordLevel}));
}

NumberedWords word_levels(std::span<const WordListEntry> words, WordListColumn column) {
  const std::vector<const WordListEntry*> entries = distinct_entries(words);
  switch (column) {
    case WordListColumn::kLevel:
      return levels_as_given(entries);
    case WordListColumn::kCount:
      return levels_from_counts(entries);
    case WordListColumn::kFrequency:
      break;
  }
  return levels_from_frequencies(entries);
}

int build_word_list(std::span<const WordListEntry> words, std::vector<std::uint8_t>* image,
                    WordListColumn column) {
  for (const WordListEntry& entry : words) {
    if (check_list_word(entry.word) != WordFault::kNone) return kBadArgument;
    if (column == WordListColumn::kLevel && entry.frequency > kMaxWordLevel) return kBadArgument;
  }
  try {
    return build_image(words, column, image);
  } catch (const std::bad_alloc&) {
    image->clear();
    return kOutOfMemory;
  }
}

int write_word_list(const std::string& path, std::span<const std::uint8_t> image) {
  ReplacingFile file(path);
  if (!file.is_open()) return kFileIo;
  file.stream().write_exact(image.data(), image.size());
  return file.commit();
}

}  // namespace inkrec
