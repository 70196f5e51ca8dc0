// The letter evaluation of one stroke group against the default data
// (data/qlmain.dt) with all its charsets active: a written "2" of a writer
// held out of the data (data/samples/samples.txt) is recognised once in
// debug mode, so that its figures stay, and the group of its figures is
// then evaluated again and again. BM_ElementRecognition is the kernel's
// element recognition (the group's features, then the evaluation);
// BM_LetterEvaluation the evaluation alone on features computed once. The
// counters give the candidates judged and the time per candidate. Without
// the data or the samples the benchmark says which file is missing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"
#include "engine/kernel/kernel.h"
#include "engine/records/figure_group.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"

namespace {

using inkrec::CandidateLists;
using inkrec::Kernel;
using inkrec::kOk;

std::string data_folder() {
  const char* value = std::getenv("INKREC_DATA_DIR");
  return value != nullptr ? value : INKREC_SOURCE_DATA_DIR;
}

// The strokes of the first sample labelled `label` in the samples file.
std::vector<std::vector<crPoint>> sample_strokes(const std::string& label) {
  std::ifstream in(std::string(INKREC_SOURCE_DATA_DIR) + "/samples/samples.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(label + "\t", 0) != 0) continue;
    std::vector<std::vector<crPoint>> strokes(1);
    std::istringstream ink(line.substr(line.rfind('\t') + 1));
    std::string point;
    while (ink >> point) {
      const std::size_t comma = point.find(',');
      const std::size_t end = point.find(';');
      strokes.back().push_back({static_cast<int16_t>(std::stoi(point.substr(0, comma))),
                                static_cast<int16_t>(std::stoi(point.substr(comma + 1, end)))});
      if (end != std::string::npos) strokes.emplace_back();
    }
    return strokes;
  }
  return {};
}

// The engine on the default data with every charset active, the sample
// recognised in debug mode, and the group of its figures.
class WrittenGroup {
 public:
  bool start(benchmark::State& state) {
    const std::string data = data_folder() + "/qlmain.dt";
    if (!std::filesystem::exists(data)) return skip(state, "no default data");
    const std::u16string path = inkrec::utf8_to_utf16(data);
    if (crInitCrMan(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr) != kOk) {
      return skip(state, "the default data does not load");
    }
    started_ = true;
    const uint32_t charsets[] = {2, 3, 5, 37, 38};
    void* core = nullptr;
    if (crSetActiveCharSets(charsets, 5) != kOk || crmGetCore(&core) != kOk) {
      return skip(state, "no kernel");
    }
    kernel_ = static_cast<Kernel*>(core);
    const std::vector<std::vector<crPoint>> strokes = sample_strokes("2");
    if (strokes.empty()) return skip(state, "no sample of 2 in data/samples/samples.txt");
    for (const std::vector<crPoint>& stroke : strokes) {
      const crStrokeInput input{stroke.data(), static_cast<int32_t>(stroke.size())};
      if (crAddStroke(&input, 1, -1, -1) != kOk) return skip(state, "the sample is refused");
    }
    crmSetDebugMode(1);
    std::u16string buffer(16, u' ');
    crRecognitionParams params{};
    params.third_word = 100;
    params.first_switch = 1;
    params.second_switch = 1;
    params.skew_allowed = 1;
    params.layout_switch = 1;
    params.refine_trajectories = 1;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<int32_t>(buffer.size());
    if (crRecognize(&params) != kOk) return skip(state, "the sample is not recognised");
    crmSetDebugMode(0);
    inkrec::LineWork& work = dynamic_cast<inkrec::LineLetterSearch&>(kernel_->letter_search()).work();
    for (std::uint32_t i = 0; i < work.bodies.size(); ++i) {
      group_.figures.push_back(&work.bodies[i]);
      group_.members.set(i);
    }
    prepare();
    kernel_->letter_search().begin_run(*kernel_);
    return true;
  }
  ~WrittenGroup() {
    if (kernel_ != nullptr) kernel_->letter_search().end_run();
    if (started_) crFreeCrMan();
  }

  // The group's geometry afresh, its blocks to be built on first use again.
  void prepare() { inkrec::group_prepare_glyph(group_, true); }
  int recognize_element(CandidateLists& out) {
    return kernel_->recognize_element(group_, kernel_->letter_search().line_height(), out);
  }
  int evaluate(CandidateLists& out) {
    return kernel_->letter_search().recognize_figure_group(group_, out);
  }
  std::size_t candidates() { return kernel_->candidate_variants().size(); }

 private:
  static bool skip(benchmark::State& state, const char* why) {
    state.SkipWithError(why);
    return false;
  }

  bool started_ = false;
  Kernel* kernel_ = nullptr;
  inkrec::GlyphGeometry geometry_;
  inkrec::FigureGroup group_{nullptr, &geometry_};
};

void count_candidates(benchmark::State& state, WrittenGroup& group) {
  const auto n = static_cast<double>(group.candidates());
  state.counters["candidates"] = n;
  state.counters["per_candidate"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ElementRecognition(benchmark::State& state) {
  WrittenGroup group;
  if (!group.start(state)) return;
  for (auto _ : state) {
    state.PauseTiming();
    group.prepare();
    CandidateLists out;
    state.ResumeTiming();
    if (group.recognize_element(out) != kOk) return state.SkipWithError("evaluation failed");
    benchmark::DoNotOptimize(out);
  }
  count_candidates(state, group);
}
BENCHMARK(BM_ElementRecognition)->Unit(benchmark::kMicrosecond);

void BM_LetterEvaluation(benchmark::State& state) {
  WrittenGroup group;
  if (!group.start(state)) return;
  CandidateLists features;
  if (group.recognize_element(features) != kOk) return state.SkipWithError("evaluation failed");
  for (auto _ : state) {
    state.PauseTiming();
    group.prepare();
    CandidateLists out;
    state.ResumeTiming();
    if (group.evaluate(out) != kOk) return state.SkipWithError("evaluation failed");
    benchmark::DoNotOptimize(out);
  }
  count_candidates(state, group);
}
BENCHMARK(BM_LetterEvaluation)->Unit(benchmark::kMicrosecond);

}  // namespace
