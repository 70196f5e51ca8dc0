// Recognition speed through the exported interface, on the default data and
// the held-out samples that bench/heldout-sets writes: loading the data, an
// isolated character and a written word per sample. Each iteration
// recognises the next sample; the counters give the median and the 95th
// percentile of the samples' times. Without the data or the samples the
// benchmark says which file is missing and measures nothing.
#include <benchmark/benchmark.h>

#include <chrono>
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

// Recognises the samples of a held-out file one per iteration, with the
// word search on or off.
void recognize_samples(benchmark::State& state, const std::string& file, bool words) {
  const std::vector<InkSample> samples = heldout_samples(file);
  if (samples.empty()) return state.SkipWithError("no held-out samples: run bench/heldout-sets");
  EngineSession session;
  std::string error;
  if (!inkrec::tool::start_session(session, data_file(), {}, &error)) {
    return state.SkipWithError(error.c_str());
  }
  std::vector<double> times;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto recognition = session.recognize(samples[next].strokes, words);
    times.push_back(recognition.microseconds);
    benchmark::DoNotOptimize(recognition.text.data());
    next = (next + 1) % samples.size();
  }
  state.counters["median_us"] = inkrec::tool::percentile(times, 0.5);
  state.counters["p95_us"] = inkrec::tool::percentile(times, 0.95);
}

void BM_RecognizeDigit(benchmark::State& state) { recognize_samples(state, "digits.txt", false); }
void BM_RecognizeLowerCase(benchmark::State& state) { recognize_samples(state, "lower.txt", false); }
void BM_RecognizeWord(benchmark::State& state) { recognize_samples(state, "words.txt", true); }
BENCHMARK(BM_RecognizeDigit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeLowerCase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeWord)->Unit(benchmark::kMicrosecond);

}  // namespace
