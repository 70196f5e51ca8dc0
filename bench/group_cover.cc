// The cost of the cover of a word group, which is exponential in the worst
// case unless its memory of completions bounds it.
//
// BM_CoverOfWindows/N: one word group of N figures with a letter result
// over every window of one to four neighbouring figures (as the growth of
// the hypothesis graph makes them), scored at random: the search over
// 4N - 6 results, memory included.
//
// BM_CoverOfLongestLines: the longest lines of UNIPEN's free text
// (category 8, decompressed, named by INKREC_UNIPEN_LINES), recognised
// with the default data in a debug mode that keeps the line work; then
// every word group's cover is chosen again, timed. The counters give the
// worst group (its time and figure and result counts). Without the file or
// the data it says what is missing and measures nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/utf.h"
#include "engine/kernel/kernel.h"
#include "engine/records/letter_result.h"
#include "engine/records/run_kernel.h"
#include "engine/segmentation/group_cover.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"

namespace inkrec {
namespace {

// The kernel of a run with nothing but its request.
class BareRunKernel final : public RunKernel {
 public:
  const RecognitionParams& params() const override { return params_; }
  DataStore* data_store() const override { return nullptr; }
  bool right_to_left() const override { return false; }
  std::span<const std::uint32_t> active_charsets() const override { return {}; }
  void after_split_pass(const DynArray<FigureRecord>&, std::u16string_view) override {}
  bool stop_flag() const override { return false; }
  bool quick_flag() const override { return false; }
  int extended_output(int, int) override { return 0; }
  int full_debug_output() override { return 0; }

 private:
  RecognitionParams params_;
};

void BM_CoverOfWindows(benchmark::State& state) {
  const auto n = static_cast<std::uint32_t>(state.range(0));
  BareRunKernel kernel;
  LineWork work;
  work.settings.letter_height = 40;
  if (!work.bodies.reserve(n) || append_new_text_line(work.text_lines) == nullptr) {
    return state.SkipWithError("no memory");
  }
  TextLine& line = work.text_lines[0];
  LineGroup* group = line.word_groups.push_default();
  for (std::uint32_t i = 0; i < n; ++i) {
    FigureRecord* figure = work.bodies.push_default();
    figure->number = static_cast<std::uint16_t>(i);
    figure->position = static_cast<std::uint16_t>(i);
    figure->first_point = 0;
    set_line_group(*figure, 0);
    line.add_candidate(figure);
    group->figures.push_back(figure);
  }
  std::uint32_t seed = 11;
  for (std::uint32_t first = 0; first < n; ++first) {
    for (std::uint32_t size = 1; size <= 4 && first + size <= n; ++size) {
      auto result = std::make_unique<LetterResult>();
      for (std::uint32_t i = first; i < first + size; ++i) {
        result->figures.push_back(&work.bodies[i]);
        result->members.set(i);
        result->coverage.set(i);
      }
      seed = seed * 1103515245u + 12345u;
      Answer answer = Answer::from_code(u'a');
      answer.set_component(Answer::kLetterScore, static_cast<std::int32_t>(5000 + (seed >> 16) % 5000));
      result->answers->insert(answer);
      group->letter_groups.push_back(result.get());
      line.letter_results.push_back_owned(std::move(result));
    }
  }
  RecognitionContext context(kernel, work);
  FragmentState fragment(context, line);
  int status = kOk;
  for (auto _ : state) {
    status = select_group_cover(fragment, 0);
    benchmark::DoNotOptimize(status);
  }
  if (status != kOk) state.SkipWithError("no cover");
  state.counters["results"] = static_cast<double>(group->letter_groups.size());
}
BENCHMARK(BM_CoverOfWindows)->Arg(10)->Arg(40)->Arg(160)->Arg(640)->Unit(benchmark::kMicrosecond);

struct Sample {
  std::size_t points = 0;
  std::vector<std::vector<crPoint>> strokes;
};

// The samples of the file with the most points, most first.
std::vector<Sample> longest_samples(const std::string& path, std::size_t count) {
  std::ifstream in(path);
  std::vector<Sample> samples;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.rfind('\t');
    std::istringstream strokes(line.substr(tab == std::string::npos ? 0 : tab + 1));
    Sample sample;
    std::string text;
    while (std::getline(strokes, text, ';')) {
      std::istringstream points(text);
      std::vector<crPoint> stroke;
      int x = 0;
      int y = 0;
      char comma = 0;
      while (points >> x >> comma >> y) {
        stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
      sample.points += stroke.size();
      sample.strokes.push_back(std::move(stroke));
    }
    samples.push_back(std::move(sample));
  }
  std::sort(samples.begin(), samples.end(),
            [](const Sample& a, const Sample& b) { return a.points > b.points; });
  if (samples.size() > count) samples.resize(count);
  return samples;
}

struct Worst {
  double microseconds = 0;
  std::uint32_t figures = 0;
  std::uint32_t results = 0;
};

// Chooses every word group's cover of the kernel's last recognition again.
void time_covers(Kernel& kernel, Worst& worst) {
  LineWork& work = dynamic_cast<LineLetterSearch&>(kernel.letter_search()).work();
  RecognitionContext context(kernel, work);
  for (TextLine& line : work.text_lines) {
    FragmentState fragment(context, line);
    for (std::uint32_t k = 0; k < line.word_groups.size(); ++k) {
      const auto start = std::chrono::steady_clock::now();
      select_group_cover(fragment, k);
      const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
      if (took.count() > worst.microseconds) {
        worst = {took.count(), line.word_groups[k].figures.size(),
                 line.word_groups[k].letter_groups.size()};
      }
    }
  }
}

void BM_CoverOfLongestLines(benchmark::State& state) {
  const char* lines = std::getenv("INKREC_UNIPEN_LINES");
  if (lines == nullptr || !std::filesystem::exists(lines)) {
    return state.SkipWithError("INKREC_UNIPEN_LINES names no file of UNIPEN lines");
  }
  const char* data_dir = std::getenv("INKREC_DATA_DIR");
  const std::string data = std::string(data_dir != nullptr ? data_dir : INKREC_SOURCE_DATA_DIR) + "/qlmain.dt";
  const std::u16string data_path = utf8_to_utf16(data);
  if (crInitCrMan(data_path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr) != kOk) {
    return state.SkipWithError("the default data does not load");
  }
  void* core = nullptr;
  crmGetCore(&core);
  Kernel& kernel = *static_cast<Kernel*>(core);
  crmSetDebugMode(3);
  std::vector<std::uint32_t> charsets;
  std::uint32_t charset_count = 0;
  crmGetCharSetCount(&charset_count);
  for (std::uint32_t i = 0; i < charset_count; ++i) {
    crCharSet charset{};
    if (crmGetCharSetByInd(i, &charset) == kOk) charsets.push_back(charset.id);
  }
  crSetActiveCharSets(charsets.data(), static_cast<std::uint32_t>(charsets.size()));
  const std::vector<Sample> samples = longest_samples(lines, static_cast<std::size_t>(state.range(0)));
  Worst worst;
  int failed = 0;
  std::u16string buffer(1024, u'\0');
  for (auto _ : state) {
    for (const Sample& sample : samples) {
      crClearPane();
      for (const std::vector<crPoint>& stroke : sample.strokes) {
        const crStrokeInput input{stroke.data(), static_cast<std::int32_t>(stroke.size())};
        crAddStroke(&input, 1, -1, -1);
      }
      crRecognitionParams params{};
      params.third_word = 100;
      params.first_switch = params.second_switch = 1;
      params.skew_search = params.skew_allowed = params.layout_switch = 1;
      params.refine_trajectories = 1;
      params.cursive_split = 1;
      params.result_buffer = buffer.data();
      params.result_size = static_cast<std::int32_t>(buffer.size());
      if (const int status = crRecognize(&params); status != kOk && ++failed == 1) {
        state.counters["first_failure"] = status;
      }
      time_covers(kernel, worst);
    }
  }
  crFreeCrMan();
  state.counters["failed"] = failed;
  state.counters["worst_us"] = worst.microseconds;
  state.counters["worst_figures"] = worst.figures;
  state.counters["worst_results"] = worst.results;
}
BENCHMARK(BM_CoverOfLongestLines)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkrec
