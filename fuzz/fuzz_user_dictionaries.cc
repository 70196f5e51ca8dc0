// A "user.ulb" of arbitrary bytes, read against a small database: every
// query is asked of each dictionary read, then the dictionaries are saved
// and read back, which must give the same dictionaries and words without a
// complaint.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/database/user_dictionary_list.h"
#include "engine/foundation/file_holder.h"
#include "fuzz/fuzz_support.h"

namespace inkrec::fuzz {
namespace {

void ask_every_query(const UserDictionary& d) {
  DynArray<std::uint32_t> table;
  for (std::uint32_t c = 0; c < 0x500; ++c) table.push_back(c % 128);
  CharSlotMap map;
  map.init(&table);
  for (std::uint32_t i = 0; i < d.word_count(); ++i) {
    const std::u16string_view text = view(d.word_at(i).text);
    std::uint32_t position = 0;
    bool found = false;
    FUZZ_CHECK(d.search(text, &position, &found) == kOk && found && position == i);
    std::uint8_t valid = 0;
    d.check_text(text, &valid);
    FUZZ_CHECK(valid == 1);
    d.has_segment(text.substr(0, 2), 0);
    d.letters_after(text.substr(0, 1), map);
    std::uint32_t indices[4];
    std::uint32_t count = 0;
    d.find_segments(text, static_cast<std::uint32_t>(text.size()), indices, 4, &count);
  }
  for (std::uint32_t i = 0; i < d.segment_count(); ++i) {
    std::u16string_view text;
    std::uint32_t value = 0;
    FUZZ_CHECK(d.segment_text(i, &text) == kOk);
    FUZZ_CHECK(d.find_segment(text, &value) && value == i);
    FUZZ_CHECK(d.segment_probability(i, &value) == kOk && value >= 1 &&
               value <= UserDictionary::kMaxProbability);
    d.segment_bit_length(i, &value);
  }
}

bool same_words(const UserDictionary& a, const UserDictionary& b) {
  if (a.charset_id() != b.charset_id() || a.word_count() != b.word_count()) return false;
  for (std::uint32_t i = 0; i < a.word_count(); ++i) {
    if (view(a.word_at(i).text) != view(b.word_at(i).text) ||
        a.word_at(i).probability != b.word_at(i).probability) {
      return false;
    }
  }
  return a.segment_count() == b.segment_count();
}

}  // namespace
}  // namespace inkrec::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace inkrec;
  using namespace inkrec::fuzz;
  static const auto store = dictionary_store();
  const std::string path = write_input("user.ulb", data, size);
  UserDictionaryList list;
  {
    FileHolder file;
    FUZZ_CHECK(file.open(path.c_str(), "rb"));
    list.read(file, *store);
  }
  for (std::uint32_t i = 0; i < list.count(); ++i) {
    const UserDictionary* d = nullptr;
    FUZZ_CHECK(list.at(i, &d) == kOk);
    ask_every_query(*d);
  }

  const std::string saved = work_dir().file("saved.ulb");
  {
    FileHolder file;
    FUZZ_CHECK(file.open(saved.c_str(), "wb"));
    FUZZ_CHECK(list.write(file) == kOk);
  }
  UserDictionaryList again;
  FileHolder file;
  FUZZ_CHECK(file.open(saved.c_str(), "rb"));
  FUZZ_CHECK(again.read(file, *store) == kOk);
  FUZZ_CHECK(again.count() == list.count());
  for (std::uint32_t i = 0; i < list.count(); ++i) {
    const UserDictionary* a = nullptr;
    const UserDictionary* b = nullptr;
    list.at(i, &a);
    again.at(i, &b);
    FUZZ_CHECK(same_words(*a, *b));
  }
  return 0;
}
