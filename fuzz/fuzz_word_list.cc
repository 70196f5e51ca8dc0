// A ".wlb" word list of arbitrary bytes, read from its file as the
// dictionaries read it; when it is accepted, every query is asked: whole
// words, beginnings, the letters after prefixes short and long (through the
// prefix cache), completions and trigrams, of probes and of the list's own
// words. No query may read outside the image, fail or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/database/standard_dictionary.h"
#include "engine/foundation/file_holder.h"
#include "fuzz/fuzz_support.h"

namespace inkrec::fuzz {
namespace {

void ask_about(StandardDictionary& list, std::u16string_view text, CharSlotMap& map) {
  int number = 0;
  list.word_value(text, &number);
  list.prefix_value(text, 0);
  list.prefix_value(text, static_cast<std::uint32_t>(text.size() + 1));
  for (std::size_t length = 0; length <= text.size() && length <= 8; ++length) {
    list.search_word(text.substr(0, length), map);
  }
  DynArray<WideString> found;
  list.complete_prefix(text, 5, &found);
  DynArray<WideString> trigrams;
  list.collect_trigrams(text.substr(0, 2), &trigrams);
  StandardDictionary::has_trigram(trigrams, text);
}

}  // namespace
}  // namespace inkrec::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace inkrec;
  using namespace inkrec::fuzz;
  const std::string path = write_input("input.wlb", data, size);
  FileHolder file;
  FUZZ_CHECK(file.open(path.c_str(), "rb"));
  StandardDictionary list;
  if (!list.read(file)) return 0;

  DynArray<std::uint32_t> table;
  for (std::uint32_t c = 0; c < 0x500; ++c) table.push_back(c % 128);
  CharSlotMap map;
  map.init(&table);
  DynArray<WideString> words;
  list.complete_prefix(u"", 40, &words);
  for (const WideString& word : words) ask_about(list, view(word), map);
  for (std::u16string_view probe : {u"", u"a", u"th", u"abcde", u"zzzzzzzzzzzz", u"\xFFFF"}) {
    ask_about(list, probe, map);
  }
  return 0;
}
