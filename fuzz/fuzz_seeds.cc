// Writes the starting inputs of the fuzz targets, each made by the
// engine's own writers, into OUT/<target>/: fuzz_seeds OUT.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/database/user_dictionary_list.h"
#include "engine/database/user_variant_file.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/file_holder.h"
#include "fuzz/fuzz_support.h"

namespace inkrec::fuzz {
namespace {

std::string seed_path(const std::filesystem::path& out, const char* target, const char* name) {
  std::filesystem::create_directories(out / target);
  return (out / target / name).string();
}

bool write_data_files(const std::filesystem::path& out) {
  testing::write_empty_data_file(seed_path(out, "data_file", "empty.dt"));
  const std::string charsets = seed_path(out, "data_file", "charsets.dt");
  const std::string variants = seed_path(out, "data_file", "variants.dt");
  testing::write_bytes(charsets, {});
  testing::write_bytes(variants, {});
  return dictionary_store()->save_as(charsets.c_str()) == kOk &&
         variant_store()->save_as(variants.c_str()) == kOk;
}

bool write_word_lists(const std::filesystem::path& out) {
  std::vector<WordListEntry> small = {{u"cat", 3}, {u"the", 9}, {u"then", 2}, {u"there", 5}};
  std::vector<WordListEntry> large;
  std::mt19937 random(7);
  for (int i = 0; i < 300; ++i) {
    std::u16string word(2 + random() % 9, u'a');
    for (char16_t& c : word) c = static_cast<char16_t>(u'a' + random() % 8);
    large.push_back({word, random() % 50});
  }
  for (const auto& [name, words] : {std::pair{"small.wlb", small}, std::pair{"large.wlb", large}}) {
    std::vector<std::uint8_t> image;
    if (build_word_list(words, &image) != kOk ||
        write_word_list(seed_path(out, "word_list", name), image) != kOk) {
      return false;
    }
  }
  return true;
}

bool write_user_dictionaries(const std::filesystem::path& out) {
  const auto store = dictionary_store();
  const std::string path = seed_path(out, "user_dictionaries", "user.ulb");
  // Read an empty file to get the database's alphabets, then add words.
  testing::write_bytes(path, {2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              6, 0, 0, 0, 1, 0, 0, 0, 0xAC, 0x20, 0, 0, 0, 0});
  UserDictionaryList list;
  {
    FileHolder in;
    if (!in.open(path.c_str(), "rb") || list.read(in, *store) != kOk) return false;
  }
  UserDictionary* english = nullptr;
  UserDictionary* german = nullptr;
  if (list.at_mutable(0, &english) != kOk || list.at_mutable(1, &german) != kOk) return false;
  for (const char16_t* word : {u"cat", u"cat-dog", u"zebra", u"a-b-c"}) english->add_word(word, 7);
  for (const char16_t* word : {u"bär", u"bar", u"€"}) german->add_word(word, 40);
  FileHolder file;
  return file.open(path.c_str(), "wb") && list.write(file) == kOk;
}

bool write_user_variants(const std::filesystem::path& out) {
  const auto store = variant_store();
  Variant rare = *store->find_variant(2);
  rare.idUse = 1;
  ComplexVariant never = *store->find_complex_variant(1);
  never.use = 2;
  store->set_variant(rare);
  store->set_complex_variant(never);
  const std::string path = seed_path(out, "user_variants", "user.txt");
  return UserVariantFile(path.c_str(), false).write(*store) == kOk;
}

}  // namespace
}  // namespace inkrec::fuzz

int main(int argc, char** argv) {
  using namespace inkrec::fuzz;
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUT\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  if (!write_data_files(out) || !write_word_lists(out) || !write_user_dictionaries(out) ||
      !write_user_variants(out)) {
    std::fprintf(stderr, "fuzz_seeds: a seed could not be written\n");
    return 1;
  }
  return 0;
}
