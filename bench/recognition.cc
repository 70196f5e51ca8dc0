// Recognition speed through the exported interface, on the default data and
// the held-out samples that bench/heldout-sets writes: loading the data, an
// isolated character with its charset active, a written word per sample
// (each stroke one figure, and joined writing split), and a line of five written
// words (five held-out words of one writer set side by side). Each iteration
// recognises the next sample; the counters give the median and the 95th
// percentile of the samples' times. Without the data or the samples the
// benchmark says which file is missing and measures nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/foundation/utf.h"
#include "inkrec/inkrec.h"
#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/evaluation.h"
#include "tools/inkrec/ink_file.h"

namespace {

using inkrec::tool::EngineSession;
using inkrec::tool::InkSample;

std::string folder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : fallback;
}

std::string data_file() {
  return folder("INKREC_DATA_DIR", INKREC_SOURCE_DATA_DIR) + "/qlmain.dt";
}

std::vector<InkSample> heldout_samples(const std::string& name) {
  std::ifstream in(folder("INKREC_HELDOUT_DIR", INKREC_HELDOUT_DIR) + "/" + name);
  std::vector<InkSample> samples;
  std::vector<inkrec::tool::InkError> errors;
  inkrec::tool::read_ink(in, &samples, &errors);
  return samples;
}

void BM_LoadDefaultData(benchmark::State& state) {
  const std::u16string path = inkrec::utf8_to_utf16(data_file());
  if (!std::filesystem::exists(data_file())) return state.SkipWithError("no default data");
  for (auto _ : state) {
    if (crInitCrMan(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr) != 0) {
      return state.SkipWithError("the default data does not load");
    }
    crFreeCrMan();
  }
}
BENCHMARK(BM_LoadDefaultData)->Unit(benchmark::kMillisecond);

// Recognises the samples of a held-out file one per iteration with the
// charset of their characters active (as `inkrec eval` measures them), the
// word search and the reading of joined writing on or off.
void recognize_samples(benchmark::State& state, const std::string& file, std::uint32_t charset,
                       inkrec::tool::RequestChoice request) {
  const std::vector<InkSample> samples = heldout_samples(file);
  if (samples.empty()) return state.SkipWithError("no held-out samples: run bench/heldout-sets");
  EngineSession session;
  std::string error;
  const std::uint32_t charsets[] = {charset};
  if (!inkrec::tool::start_session(session, data_file(), charsets, &error)) {
    return state.SkipWithError(error.c_str());
  }
  std::vector<double> times;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto recognition = session.recognize(samples[next].strokes, request);
    times.push_back(recognition.microseconds);
    benchmark::DoNotOptimize(recognition.text.data());
    next = (next + 1) % samples.size();
  }
  state.counters["median_us"] = inkrec::tool::percentile(times, 0.5);
  state.counters["p95_us"] = inkrec::tool::percentile(times, 0.95);
}

// The charsets of the default data (data/qlmain.recipe).
constexpr std::uint32_t kDigits = 3;
constexpr std::uint32_t kEnglish = 5;

void BM_RecognizeDigit(benchmark::State& state) {
  recognize_samples(state, "digits.txt", kDigits, {.words = false});
}
void BM_RecognizeLowerCase(benchmark::State& state) {
  recognize_samples(state, "lower.txt", kEnglish, {.words = false});
}
void BM_RecognizeWord(benchmark::State& state) {
  recognize_samples(state, "words.txt", kEnglish, {.words = true});
}
void BM_RecognizeJoinedWord(benchmark::State& state) {
  recognize_samples(state, "words.txt", kEnglish, {.words = true, .joined = true});
}
BENCHMARK(BM_RecognizeDigit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeLowerCase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeWord)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeJoinedWord)->Unit(benchmark::kMicrosecond);

// Five held-out words of one writer side by side, each moved right of the
// one before it by a word space (its own height), on the first word's
// baseline as written: one line of five words per iteration.
std::vector<std::vector<crPoint>> line_of_words(const std::vector<InkSample>& words) {
  std::vector<std::vector<crPoint>> line;
  int cursor = 0;
  for (const InkSample& word : words) {
    int left = 32767, right = -32768, top = 32767, bottom = -32768;
    for (const std::vector<crPoint>& stroke : word.strokes) {
      for (const crPoint p : stroke) {
        left = std::min<int>(left, p.x);
        right = std::max<int>(right, p.x);
        top = std::min<int>(top, p.y);
        bottom = std::max<int>(bottom, p.y);
      }
    }
    for (std::vector<crPoint> stroke : word.strokes) {
      for (crPoint& p : stroke) p.x = static_cast<std::int16_t>(p.x - left + cursor);
      line.push_back(std::move(stroke));
    }
    cursor += right - left + 1 + std::max(bottom - top, 1);
  }
  return line;
}

// The held-out words grouped five by five, each group by one writer.
std::vector<std::vector<std::vector<crPoint>>> lines_of_five_words() {
  const std::vector<InkSample> words = heldout_samples("words.txt");
  std::vector<std::vector<std::vector<crPoint>>> lines;
  for (std::size_t first = 0; first + 5 <= words.size();) {
    const std::vector<InkSample> five(words.begin() + static_cast<std::ptrdiff_t>(first),
                                      words.begin() + static_cast<std::ptrdiff_t>(first + 5));
    const bool one_writer = std::all_of(five.begin(), five.end(), [&](const InkSample& w) {
      return w.writer == five.front().writer;
    });
    if (one_writer) lines.push_back(line_of_words(five));
    first += one_writer ? 5 : 1;
  }
  return lines;
}

void BM_RecognizeLineOfFiveWords(benchmark::State& state) {
  const auto lines = lines_of_five_words();
  if (lines.empty()) return state.SkipWithError("no held-out words: run bench/heldout-sets");
  EngineSession session;
  std::string error;
  if (!inkrec::tool::start_session(session, data_file(), {}, &error)) {
    return state.SkipWithError(error.c_str());
  }
  std::vector<double> times;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto recognition = session.recognize(lines[next], {.words = true});
    times.push_back(recognition.microseconds);
    benchmark::DoNotOptimize(recognition.text.data());
    next = (next + 1) % lines.size();
  }
  state.counters["median_us"] = inkrec::tool::percentile(times, 0.5);
  state.counters["p95_us"] = inkrec::tool::percentile(times, 0.95);
}
BENCHMARK(BM_RecognizeLineOfFiveWords)->Unit(benchmark::kMillisecond);

}  // namespace
