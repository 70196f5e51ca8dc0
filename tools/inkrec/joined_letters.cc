#include "tools/inkrec/joined_letters.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>

#include "engine/kernel/kernel.h"
#include "engine/segmentation/line_letter_search.h"
#include "tools/inkrec/progress_bar.h"

namespace inkrec::tool {
namespace {

constexpr std::int64_t kUnreachable = std::numeric_limits<std::int64_t>::min();

bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The best total of the set's readings of the letter; -1 when it has none.
std::int32_t score_for(const EvaluatedSet& set, char16_t letter) {
  std::int32_t best = -1;
  for (const auto& [code, total] : set.readings) {
    if (code == letter) best = std::max(best, total);
  }
  return best;
}

// A set the letter search evaluated, with the ink of its figures.
struct CapturedSet {
  EvaluatedSet set;
  std::vector<std::vector<crPoint>> strokes;
};

// The engine's points of the set's figures, stroke by stroke: from the
// first figure of each stroke to its last, the links between included.
std::vector<std::vector<crPoint>> ink_of(const LetterResult& result) {
  std::map<std::uint16_t, std::pair<const FigureRecord*, const FigureRecord*>> spans;
  for (std::uint32_t i = 0; i < result.figures.size(); ++i) {
    const FigureRecord* figure = result.figures[i];
    auto [entry, added] = spans.try_emplace(figure->stroke_index, figure, figure);
    if (added) continue;
    if (figure->piece < entry->second.first->piece) entry->second.first = figure;
    if (figure->piece > entry->second.second->piece) entry->second.second = figure;
  }
  std::vector<std::vector<crPoint>> strokes;
  for (const auto& [stroke, span] : spans) {
    const PointRecord* begin = span.first->run.points;
    const PointRecord* end = span.second->run.points + span.second->run.count;
    std::vector<crPoint>& points = strokes.emplace_back();
    for (const PointRecord* p = begin; p < end; ++p) points.push_back({p->point.x, p->point.y});
  }
  return strokes;
}

// Whether the result's figures cover one run of candidate positions, into
// *set's first and last.
bool covers_one_run(const LetterResult& result, EvaluatedSet* set) {
  std::vector<std::uint16_t> positions;
  for (std::uint32_t i = 0; i < result.figures.size(); ++i) {
    positions.push_back(result.figures[i]->position);
  }
  if (positions.empty()) return false;
  std::sort(positions.begin(), positions.end());
  for (std::size_t i = 1; i < positions.size(); ++i) {
    if (positions[i] != positions[i - 1] + 1) return false;
  }
  set->first = positions.front();
  set->last = positions.back();
  return set->first != kNoKey16 && set->last != kNoKey16;
}

// Reads the evaluated sets of a one-line recognition before its word search.
class SetCapture final : public KernelObserver {
 public:
  void before_word_search(Kernel& kernel) override {
    auto* search = dynamic_cast<LineLetterSearch*>(&kernel.letter_search());
    if (search == nullptr || search->work().text_lines.size() != 1) return;
    const TextLine& line = search->work().text_lines[0];
    figures_ = static_cast<std::uint16_t>(line.candidates.size());
    for (std::uint32_t r = 0; r < line.letter_results.size(); ++r) {
      const LetterResult& result = *line.letter_results[r];
      CapturedSet captured;
      if (result.answers == nullptr || !covers_one_run(result, &captured.set)) continue;
      for (const Answer& answer : result.answers->answers()) {
        for (const std::uint16_t code : answer.codes) {
          if (code != 0) captured.set.readings.emplace_back(code, answer.total());
        }
      }
      for (std::uint32_t i = 0; i < result.figures.size(); ++i) {
        if (result.figures[i]->whole_stroke == 0) captured.set.joined = true;
      }
      captured.strokes = ink_of(result);
      sets_.push_back(std::move(captured));
    }
  }
  void after_segments(Kernel& /*kernel*/) override {}

  std::uint16_t figures() const { return figures_; }
  const std::vector<CapturedSet>& sets() const { return sets_; }

 private:
  std::uint16_t figures_ = 0;
  std::vector<CapturedSet> sets_;
};

}  // namespace

std::vector<std::size_t> align_letters(std::u16string_view label, std::uint16_t figures,
                                       std::span<const EvaluatedSet> sets) {
  const std::size_t n = label.size();
  if (n == 0 || figures == 0) return {};
  // best[k][p]: the best sum of k letters covering positions 0..p-1, with
  // the set that ends the chain.
  std::vector<std::vector<std::int64_t>> best(n + 1, std::vector<std::int64_t>(figures + 1, kUnreachable));
  std::vector<std::vector<std::size_t>> last_set(n + 1, std::vector<std::size_t>(figures + 1));
  best[0][0] = 0;
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t s = 0; s < sets.size(); ++s) {
      const EvaluatedSet& set = sets[s];
      if (set.last >= figures || best[k][set.first] == kUnreachable) continue;
      const std::int32_t read = score_for(set, label[k]);
      const std::int64_t value = best[k][set.first] + (read < 0 ? kUnreadScore : read);
      if (value > best[k + 1][set.last + 1]) {
        best[k + 1][set.last + 1] = value;
        last_set[k + 1][set.last + 1] = s;
      }
    }
  }
  if (best[n][figures] == kUnreachable) return {};
  std::vector<std::size_t> chosen(n);
  std::size_t read_as_labelled = 0;
  for (std::size_t k = n, p = figures; k > 0; --k) {
    chosen[k - 1] = last_set[k][p];
    const EvaluatedSet& set = sets[chosen[k - 1]];
    if (score_for(set, label[k - 1]) >= 0) ++read_as_labelled;
    p = set.first;
  }
  if (2 * read_as_labelled < n) return {};
  return chosen;
}

int collect_joined_letters(EngineSession& session, const InkSample& sample,
                           std::vector<JoinedLetter>* out) {
  const std::u16string label(sample.label.begin(), sample.label.end());
  if (label.empty() || !std::all_of(label.begin(), label.end(), is_letter)) return 0;
  void* core = nullptr;
  if (const int status = crmGetCore(&core); status != 0 || core == nullptr) return status;
  Kernel& kernel = *static_cast<Kernel*>(core);
  SetCapture capture;
  KernelObserver* earlier = kernel.observer();
  kernel.set_observer(&capture);
  const Recognition recognition = session.recognize(sample.strokes, {.words = false, .joined = true});
  kernel.set_observer(earlier);
  if (recognition.status != 0) return recognition.status;
  std::vector<EvaluatedSet> sets;
  for (const CapturedSet& captured : capture.sets()) sets.push_back(captured.set);
  const std::vector<std::size_t> chosen = align_letters(label, capture.figures(), sets);
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    const CapturedSet& captured = capture.sets()[chosen[k]];
    if (captured.set.joined) out->push_back({label[k], captured.strokes});
  }
  return 0;
}

int run_joined_letters(const std::string& db_path, const std::string& words_path,
                       const std::string& out_path) {
  std::ifstream in(words_path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "inkrec: cannot read %s\n", words_path.c_str());
    return 1;
  }
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  for (const InkError& error : errors) {
    std::fprintf(stderr, "%s:%ld: %s\n", words_path.c_str(), error.line, error.message.c_str());
  }
  EngineSession session;
  std::string error;
  if (!start_session(session, db_path, {}, &error)) {
    std::fprintf(stderr, "inkrec: %s\n", error.c_str());
    return 1;
  }
  std::ofstream out(out_path, std::ios::binary);
  ProgressBar progress("aligning", samples.size());
  std::size_t letters = 0;
  for (const InkSample& sample : samples) {
    std::vector<JoinedLetter> joined;
    if (sample.labelled) collect_joined_letters(session, sample, &joined);
    for (const JoinedLetter& letter : joined) {
      out << static_cast<char>(letter.letter) << '\t' << sample.writer << '\t';
      for (std::size_t s = 0; s < letter.strokes.size(); ++s) {
        if (s > 0) out << ';';
        for (std::size_t i = 0; i < letter.strokes[s].size(); ++i) {
          out << (i > 0 ? " " : "") << letter.strokes[s][i].x << ',' << letter.strokes[s][i].y;
        }
      }
      out << '\n';
    }
    letters += joined.size();
    progress.step();
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "inkrec: cannot write %s\n", out_path.c_str());
    return 1;
  }
  std::printf("%s: %zu joined letters of %zu words\n", out_path.c_str(), letters, samples.size());
  return 0;
}

}  // namespace inkrec::tool
