// crRecognize with the word search, against the English word list of
// tests/fixtures/english_words.txt: a written word, a line of five words,
// and the longest samples of handwriting of UNIPEN category 8 without the
// word pass, and with it with the quick flag off and on. The letters are read by the stand-in of
// tests/support/read_letters.h (each stroke of a word three readings, of a
// UNIPEN line six; each two neighbouring strokes a pair reading too), so what is timed is the line
// pass, the word boxes, the dictionary-guided search and the delivery of
// the readings; the letter evaluation is not.
//
// The UNIPEN lines are read from the file INKREC_LINES_FILE names (category
// 8 decompressed); without it those benchmarks measure nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/database/word_list_builder.h"
#include "engine/kernel/kernel.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/read_letters.h"
#include "tests/support/temp_dir.h"

namespace {

using inkrec::Kernel;
using Stroke = std::vector<crPoint>;
using Ink = std::vector<Stroke>;

constexpr std::uint32_t kEnglish = 5;

std::vector<inkrec::WordListEntry> fixture_words() {
  std::ifstream in(INKREC_TEST_DATA_DIR "/english_words.txt");
  std::vector<inkrec::WordListEntry> words;
  std::string line;
  while (std::getline(in, line)) {
    inkrec::WordListEntry entry;
    if (inkrec::parse_word_list_line(line, &entry) == inkrec::WordListLine::kWord) {
      words.push_back(entry);
    }
  }
  return words;
}

// Sets the quick flag when the word search begins, as the watchdog would
// after a long recognition.
class QuickWordSearch final : public inkrec::KernelObserver {
 public:
  void before_word_search(Kernel& kernel) override { kernel.set_quick_flag(); }
  void after_segments(Kernel&) override {}
};

// An engine whose letters are read by the stand-in, with the English word
// list and charset 5 active.
class WordEngine {
 public:
  WordEngine(std::vector<std::u16string> readings, bool quick, bool word_pass = true) {
    inkrec::testing::write_empty_data_file(dir_.file("qlmain.dt"));
    std::vector<std::uint8_t> image;
    ok_ = inkrec::build_word_list(fixture_words(), &image) == 0 &&
          inkrec::write_word_list(dir_.file("eng.wlb"), image) == 0;
    const std::u16string data = dir_.wide_file("qlmain.dt");
    void* core = nullptr;
    ok_ = ok_ && crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr) == 0 &&
          crmGetCore(&core) == 0;
    if (!ok_) return;
    kernel_ = static_cast<Kernel*>(core);
    inkrec::testing::add_dictionary_charsets(*kernel_->data_store());
    ok_ = crSetActiveCharSets(&kEnglish, 1) == 0;
    kernel_->set_letter_search(
        std::make_unique<inkrec::testing::ReadLetters>(std::move(readings), u"mw"));
    if (quick) kernel_->set_observer(&quick_);
    buffer_.assign(512, u'\0');
    params_.skew_allowed = 1;
    params_.refine_trajectories = 1;
    params_.word_pass = word_pass ? 1 : 0;
    params_.result_buffer = buffer_.data();
    params_.result_size = static_cast<std::int32_t>(buffer_.size());
  }
  ~WordEngine() { crFreeCrMan(); }

  bool ok() const { return ok_; }

  // Recognises the ink: 0, or the engine's status.
  int recognize(const Ink& ink) {
    for (const Stroke& stroke : ink) {
      const crStrokeInput input{stroke.data(), static_cast<std::int32_t>(stroke.size())};
      if (const int status = crAddStroke(&input, 1, -1, -1); status != 0) return status;
    }
    const int status = crRecognize(&params_);
    crClearPane();
    return status;
  }

  std::u16string text() const { return buffer_.substr(0, buffer_.find(u'\0')); }

 private:
  inkrec::testing::TempDir dir_;
  Kernel* kernel_ = nullptr;
  QuickWordSearch quick_;
  std::u16string buffer_;
  crRecognitionParams params_{};
  bool ok_ = false;
};

// Stems 40 units apart, 40 high, a word's letters one stroke each; words
// 160 apart.
Ink written_words(std::size_t words, std::size_t letters) {
  Ink ink;
  int x = 100;
  for (std::size_t w = 0; w < words; ++w, x += 120) {
    for (std::size_t k = 0; k < letters; ++k, x += 40) {
      const auto x0 = static_cast<std::int16_t>(x);
      ink.push_back({{x0, 100}, {static_cast<std::int16_t>(x0 + 4), 120},
                     {static_cast<std::int16_t>(x0 + 8), 140}});
    }
  }
  return ink;
}

// "house" five times over, each letter read as a near miss first.
std::vector<std::u16string> house_readings() {
  return {u"hbn", u"coa", u"uvn", u"sza", u"eco"};
}

void BM_RecognizeWords(benchmark::State& state) {
  WordEngine engine(house_readings(), false);
  if (!engine.ok()) return state.SkipWithError("the engine does not start");
  const Ink ink = written_words(static_cast<std::size_t>(state.range(0)), 5);
  for (auto _ : state) {
    if (engine.recognize(ink) != 0) return state.SkipWithError("recognition failed");
  }
  const std::u16string text = engine.text();
  state.SetLabel(std::string(text.begin(), text.end()));
}
BENCHMARK(BM_RecognizeWords)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

// The `count` samples of the file with the most strokes.
std::vector<Ink> longest_lines(const char* path, std::size_t count) {
  std::ifstream in(path);
  std::vector<Ink> lines;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string::npos) continue;
    std::string strokes = line.substr(tab + 1);
    std::replace(strokes.begin(), strokes.end(), ';', '\n');
    std::istringstream stroke_lines(strokes);
    Ink ink;
    std::string stroke_text;
    while (std::getline(stroke_lines, stroke_text)) {
      std::istringstream points(stroke_text);
      Stroke stroke;
      std::string point;
      while (points >> point) {
        const std::size_t comma = point.find(',');
        if (comma == std::string::npos) continue;
        stroke.push_back({static_cast<std::int16_t>(std::atoi(point.c_str())),
                          static_cast<std::int16_t>(std::atoi(point.c_str() + comma + 1))});
      }
      if (!stroke.empty()) ink.push_back(std::move(stroke));
    }
    lines.push_back(std::move(ink));
  }
  std::sort(lines.begin(), lines.end(),
            [](const Ink& a, const Ink& b) { return a.size() > b.size(); });
  if (lines.size() > count) lines.resize(count);
  return lines;
}

void BM_LongestLines(benchmark::State& state) {
  const char* path = std::getenv("INKREC_LINES_FILE");
  const std::vector<Ink> lines = path == nullptr ? std::vector<Ink>() : longest_lines(path, 3);
  if (lines.empty()) return state.SkipWithError("INKREC_LINES_FILE names no UNIPEN lines");
  WordEngine engine({u"eaoins", u"nrtlsd", u"silear", u"hcdtmp", u"ouaeyi"},
                    state.range(1) != 0,
                    state.range(0) != 0);
  if (!engine.ok()) return state.SkipWithError("the engine does not start");
  std::size_t strokes = 0;
  for (const Ink& ink : lines) strokes = std::max(strokes, ink.size());
  for (auto _ : state) {
    for (const Ink& ink : lines) {
      if (engine.recognize(ink) != 0) return state.SkipWithError("recognition failed");
    }
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["most_strokes"] = static_cast<double>(strokes);
}
BENCHMARK(BM_LongestLines)
    ->ArgNames({"words", "quick"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
