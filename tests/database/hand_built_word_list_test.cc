// A ".wlb" word list built bit by bit from the stored layout (not by the
// engine's builder) reads as the builder's own image of the same words.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/database/standard_dictionary.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/status.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void pad_to_4(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

// A prefix-code tree in pre-order: a leaf holds its symbol, an inner node
// the index of its right subtree, whose left subtree follows it. Bit 0
// goes left, 1 right.
struct Tree {
  std::vector<std::uint16_t> entries;
  std::vector<std::pair<std::uint16_t, std::vector<bool>>> codes;

  void add(const std::vector<std::uint16_t>& symbols, std::size_t first, std::size_t end,
           std::vector<bool> path) {
    if (end - first == 1) {
      entries.push_back(symbols[first]);
      codes.emplace_back(symbols[first], path);
      return;
    }
    const std::size_t node = entries.size();
    entries.push_back(0);
    const std::size_t middle = (first + end) / 2;
    path.push_back(false);
    add(symbols, first, middle, path);
    entries[node] = static_cast<std::uint16_t>(entries.size());
    path.back() = true;
    add(symbols, middle, end, path);
  }

  const std::vector<bool>& code(std::uint16_t symbol) const {
    for (const auto& [s, bits] : codes) {
      if (s == symbol) return bits;
    }
    ADD_FAILURE() << "no code for " << symbol;
    return codes[0].second;
  }
};

// The words cab (number 2), cat (3) and dog (1), one block, one digit per
// number: each word is the units it keeps of the one before, its number,
// then its other units; three digits end the list.
Bytes hand_built_image() {
  std::vector<std::uint16_t> symbols = {0, 1, 2, 3};
  for (const char16_t unit : std::u16string(u"abcdgot")) symbols.push_back(unit);
  Tree tree;
  tree.add(symbols, 0, symbols.size(), {});

  const std::vector<std::uint16_t> stream = {0, 2, u'c', u'a', u'b',  // cab
                                             2, 3, u't',              // ca + t
                                             0, 1, u'd', u'o', u'g',  // dog
                                             0, 0, 0};
  std::vector<bool> bits;
  for (const std::uint16_t symbol : stream) {
    const std::vector<bool>& code = tree.code(symbol);
    bits.insert(bits.end(), code.begin(), code.end());
  }
  Bytes bit_bytes((bits.size() + 7) / 8, 0);
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (bits[i]) bit_bytes[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
  }

  Bytes image;
  put32(image, static_cast<std::uint32_t>(2 * tree.entries.size()));
  put32(image, 16);  // one index record
  put32(image, static_cast<std::uint32_t>(bit_bytes.size()));
  put32(image, 3);  // number bound: one digit
  put32(image, 2);  // key length
  for (const std::uint16_t entry : tree.entries) put16(image, entry);
  pad_to_4(image);
  put32(image, 0);  // the block starts at bit 0
  for (const char16_t unit : std::u16string(u"cab\0\0\0", 6)) put16(image, unit);
  image.insert(image.end(), bit_bytes.begin(), bit_bytes.end());
  pad_to_4(image);
  return image;
}

bool read_list(const std::string& path, const Bytes& image, StandardDictionary& list) {
  testing::write_bytes(path, {image.begin(), image.end()});
  FileHolder file;
  return file.open(path.c_str(), "rb") && list.read(file);
}

std::vector<std::u16string> completions(const StandardDictionary& list,
                                        const std::u16string& prefix) {
  DynArray<WideString> out;
  EXPECT_EQ(list.complete_prefix(prefix, 5, &out), kOk);
  std::vector<std::u16string> words;
  for (const WideString& word : out) words.emplace_back(view(word));
  return words;
}

TEST(HandBuiltWordListTest, ReadsAsTheBuildersOwnImage) {
  testing::TempDir dir;
  StandardDictionary hand;
  ASSERT_TRUE(read_list(dir.file("hand.wlb"), hand_built_image(), hand));
  Bytes built;
  ASSERT_EQ(build_word_list(std::vector<WordListEntry>{{u"cat", 3}, {u"cab", 2}, {u"dog", 1}},
                            &built, WordListColumn::kLevel),
            kOk);
  StandardDictionary builder;
  ASSERT_TRUE(read_list(dir.file("built.wlb"), built, builder));

  for (const std::u16string text : {u"cab", u"cat", u"dog", u"ca", u"cabs", u"do", u"x", u"a"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    int hand_value = 0;
    int built_value = 0;
    EXPECT_EQ(hand.word_value(text, &hand_value), builder.word_value(text, &built_value));
    EXPECT_EQ(hand_value, built_value);
    for (const std::uint32_t length : {0u, 3u, 4u}) {
      EXPECT_EQ(hand.prefix_value(text, length), builder.prefix_value(text, length));
    }
    EXPECT_EQ(completions(hand, text), completions(builder, text));
  }
  int value = 0;
  EXPECT_TRUE(hand.word_value(u"cat", &value));
  EXPECT_EQ(value, 3);
  EXPECT_EQ(completions(hand, u"c"), (std::vector<std::u16string>{u"cat", u"cab"}));
}

}  // namespace
}  // namespace inkrec
