// Word-list queries on a list of 20000 made-up words: whole words, the
// letters after a prefix growing one letter at a time (the letter search's
// pattern, served by the prefix cache past four letters) and completions.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engine/database/standard_dictionary.h"
#include "engine/database/word_list_builder.h"

namespace inkrec {
namespace {

struct BenchList {
  BenchList() {
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
      std::u16string word(4 + random() % 9, u'a');
      for (char16_t& c : word) c = static_cast<char16_t>(u'a' + random() % 12);
      words.push_back({word, static_cast<std::uint64_t>(random() % 1000)});
    }
    build_word_list(words, &image);
    list.attach(image);
    for (int c = 0; c < 128; ++c) table.push_back(static_cast<std::uint32_t>(c));
  }

  std::vector<WordListEntry> words;
  std::vector<std::uint8_t> image;
  StandardDictionary list;
  DynArray<std::uint32_t> table;
};

BenchList& bench_list() {
  static BenchList list;
  return list;
}

void BM_WholeWord(benchmark::State& state) {
  BenchList& b = bench_list();
  std::size_t i = 0;
  for (auto _ : state) {
    int number = 0;
    benchmark::DoNotOptimize(b.list.word_value(b.words[i++ % b.words.size()].word, &number));
  }
}
BENCHMARK(BM_WholeWord);

void BM_LettersAfterGrowingPrefix(benchmark::State& state) {
  BenchList& b = bench_list();
  std::size_t i = 0;
  CharSlotMap map;
  for (auto _ : state) {
    const std::u16string& word = b.words[i++ % b.words.size()].word;
    for (std::size_t n = 0; n < word.size(); ++n) {
      map.init(&b.table);
      b.list.search_word(std::u16string_view(word).substr(0, n), map);
    }
    benchmark::DoNotOptimize(map.slot(0));
  }
}
BENCHMARK(BM_LettersAfterGrowingPrefix);

void BM_Completions(benchmark::State& state) {
  BenchList& b = bench_list();
  std::size_t i = 0;
  for (auto _ : state) {
    DynArray<WideString> out;
    b.list.complete_prefix(std::u16string_view(b.words[i++ % b.words.size()].word).substr(0, 3), 8,
                           &out);
    benchmark::DoNotOptimize(out.size());
  }
}
BENCHMARK(BM_Completions);

}  // namespace
}  // namespace inkrec
