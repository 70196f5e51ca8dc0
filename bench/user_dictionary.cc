// Reading "user.ulb": a dictionary of n words of 25 one-letter runs each
// (as many segments per word as a word can hold), and a dictionary whose
// alphabet lists n codes of its own. Both must grow linearly (or n log n)
// with the file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/user_dictionary_list.h"
#include "engine/foundation/file_holder.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

class UlbFile {
 public:
  UlbFile& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
    return *this;
  }
  UlbFile& unit(char16_t c) {
    bytes.push_back(static_cast<unsigned char>(c));
    bytes.push_back(static_cast<unsigned char>(c >> 8));
    return *this;
  }
  std::vector<unsigned char> bytes;
};

struct Database {
  Database() {
    testing::write_empty_data_file(dir.file("qlmain.dt"));
    store = std::make_unique<DataStore>(dir.file("qlmain.dt").c_str(), 1, 0, 0);
    testing::add_dictionary_charsets(*store);
  }
  testing::TempDir dir;
  std::unique_ptr<DataStore> store;
};

Database& database() {
  static Database instance;
  return instance;
}

void read_file(benchmark::State& state, const UlbFile& file) {
  const std::string path = database().dir.file("user.ulb");
  testing::write_bytes(path, file.bytes);
  for (auto _ : state) {
    FileHolder in;
    in.open(path.c_str(), "rb");
    UserDictionaryList list;
    benchmark::DoNotOptimize(list.read(in, *database().store));
  }
  state.counters["file_bytes"] = static_cast<double>(file.bytes.size());
}

void BM_ReadWordsOfManySegments(benchmark::State& state) {
  const auto words = static_cast<std::uint32_t>(state.range(0));
  UlbFile file;
  file.u32(1).u32(5).u32(0).u32(words);
  std::mt19937 random(3);
  for (std::uint32_t w = 0; w < words; ++w) {
    file.u32(49);
    for (int letter = 0; letter < 25; ++letter) {
      if (letter > 0) file.unit(u' ');
      file.unit(static_cast<char16_t>(u'a' + random() % 26));
    }
    file.u32(1 + random() % 9);
  }
  read_file(state, file);
}
BENCHMARK(BM_ReadWordsOfManySegments)->Arg(250)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond);

void BM_ReadAlphabetOfManyCodes(benchmark::State& state) {
  const auto codes = static_cast<std::uint32_t>(state.range(0));
  UlbFile file;
  file.u32(1).u32(5).u32(codes);
  for (std::uint32_t c = 0; c < codes; ++c) file.unit(static_cast<char16_t>(0xFFFF - c));
  file.u32(0);
  read_file(state, file);
}
BENCHMARK(BM_ReadAlphabetOfManyCodes)
    ->Arg(16384)
    ->Arg(32768)
    ->Arg(65535)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkrec
