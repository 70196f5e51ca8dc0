// StandardDictionary: the word list of one language, a read-only ".wlb"
// image read whole into memory (or an image the caller keeps).
//
// The image holds the words sorted in UTF-16 unit order, each with a number
// (higher is better). Words are front-coded (each keeps up to 9 leading
// units of the one before it) and their characters and decimal digits are
// coded with a prefix-code tree; a sparse index of block starts allows a
// binary search. Besides the real words the list carries, for every prefix
// of up to four letters, one entry per letter that may follow it: the digit
// character '1' + prefix length, the prefix, the letter, numbered
// kWordEnds when prefix and letter make a word, else kLetterContinues.
//
// File layout (little-endian): five i32 header words (tree bytes, index
// bytes, bit-stream bytes, number bound, key length), the tree (u16
// entries), the index (16-byte records: u32 bit position of a block's first
// word, six UTF-16 key units of which the first `key length` count), and
// the bit stream; each array padded to a multiple of 4 bytes. Every number
// is written with as many decimal digits as the number bound has.
//
// An image is checked against its length before it is used (it may be
// longer than its arrays, never shorter), and every decode step is bounded
// by it: a corrupt image is refused or answers nothing, it is never read
// past its end. A list read from a file owns its bytes, so whatever happens
// to the file afterwards (overwritten, cut short) cannot touch it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "engine/database/letter_mark_cache.h"
#include "engine/database/prefix_cache.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/wide_string.h"

namespace inkrec {

class StandardDictionary {
 public:
  static constexpr std::size_t kHeaderBytes = 20;
  static constexpr std::size_t kIndexRecordBytes = 16;
  static constexpr int kMaxKeyLength = 6;
  static constexpr std::size_t kMaxWordLength = 100;
  // The largest number of leading units a word keeps of the one before it.
  static constexpr int kMaxSharedUnits = 9;
  // Prefixes shorter than this are answered from the letter entries.
  static constexpr std::size_t kLetterEntryPrefixes = 5;

  StandardDictionary() = default;
  StandardDictionary(const StandardDictionary&) = delete;
  StandardDictionary& operator=(const StandardDictionary&) = delete;

  bool is_loaded() const { return loaded_; }
  // Exchanges the lists (and their caches); views stay with their buffers.
  void swap(StandardDictionary& other) noexcept;

  // Uses image in place; it must stay valid while the list is loaded.
  // False, with nothing loaded, when the image is refused.
  bool attach(std::span<const std::uint8_t> image);
  // Reads a whole file into memory. False, with nothing loaded, when it is
  // refused.
  bool read(FileHolder& file);
  // Drops the list and the prefix cache (which belongs to the list).
  void release();

  // The number of a whole word; false (out -1) when the list lacks it.
  bool word_value(std::u16string_view word, int* out) const;
  // Whether some word begins with text and, when length is not 0, is
  // length units long.
  bool prefix_value(std::u16string_view text, std::uint32_t length) const;
  // Marks in map the letters that follow prefix in the words of the list.
  void search_word(std::u16string_view prefix, CharSlotMap& map);
  // Appends to out the words that begin with prefix, at most maximum of
  // them, best numbers first (equal numbers in list order). Entries already
  // in out are kept ahead of them. 0, or -1 when out cannot grow.
  int complete_prefix(std::u16string_view prefix, std::uint32_t maximum,
                      DynArray<WideString>* out) const;
  // Appends to out each distinct three-unit continuation of prefix (words at
  // least three units longer), skipping one equal to out's last entry.
  int collect_trigrams(std::u16string_view prefix, DynArray<WideString>* out) const;
  // Whether the first three units of text stand in a list sorted by
  // wide_string_less.
  static bool has_trigram(const DynArray<WideString>& sorted, std::u16string_view text);

 private:
  struct Header {
    std::int32_t tree_bytes;
    std::int32_t index_bytes;
    std::int32_t bits_bytes;
    std::int32_t number_bound;
    std::int32_t key_length;
  };
  // What a visitor of the walk tells it.
  enum class Visit { kGoOn, kStop };
  static constexpr std::uint32_t kNoSymbol = 0x10000;

  // Checks the header and the array sizes against the image's length.
  bool take_image(std::span<const std::uint8_t> image);

  std::uint16_t tree_entry(std::uint32_t i) const;
  std::uint32_t index_count() const { return static_cast<std::uint32_t>(index_.size() / 16); }
  std::uint32_t block_bit_position(std::uint32_t block) const;
  std::uint32_t find_block(std::u16string_view text) const;
  // The next symbol from bit position p; kNoSymbol when the tree or the
  // stream is broken or ends.
  std::uint32_t next_symbol(std::uint64_t& p) const;
  // One step from the subtree node..end down by a bit; false where the
  // tree is broken.
  bool step_down(std::int64_t& node, std::int64_t& end, bool right) const;
  // The eight bits from position p, the first the lowest.
  std::uint32_t byte_at_bit(std::uint64_t p) const;
  // Where eight bits lead from the root: the table next_symbol starts with.
  void fill_first_steps();
  // Decodes the words from the block of start on, handing each word and its
  // number to visit until it says kStop or the list ends.
  template <typename Visitor>
  void walk(std::u16string_view start, Visitor&& visit) const;

  void search_letter_entries(std::u16string_view prefix, CharSlotMap& map);
  void search_long_prefix(std::u16string_view prefix, CharSlotMap& map);

  // Where the root leads on eight bits: to a symbol (bits taken up to it),
  // into the subtree node..end, or to a break of the tree.
  struct FirstStep {
    enum Outcome : std::uint8_t { kSymbol, kSubtree, kBroken };
    Outcome outcome = kBroken;
    std::uint8_t bits = 0;
    std::uint32_t symbol = 0;
    std::int64_t node = 0;
    std::int64_t end = 0;
  };

  Header header_{};
  int number_digits_ = 0;
  std::array<FirstStep, 256> first_steps_{};
  std::span<const std::uint8_t> tree_;
  std::span<const std::uint8_t> index_;
  std::span<const std::uint8_t> bits_;
  DynArray<std::uint8_t> owned_;
  bool loaded_ = false;
  PrefixCache cache_;
  LetterMarkCache letter_marks_;
};

}  // namespace inkrec
