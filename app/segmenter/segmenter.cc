#include "app/segmenter/segmenter.h"

#include <algorithm>
#include <array>
#include <new>

namespace ductra {
namespace {

constexpr int kOutOfMemory = -1;
// Case codes of the engine's text, which show nothing.
constexpr char16_t kCapsLockCode = 30;
constexpr char16_t kShiftCode = 31;
// Units of the result buffer, which the segmenter does not read.
constexpr std::size_t kRequestResultUnits = 16;

bool ends_run(MatchResult decision) {
  return decision == kMatchRejected || decision == kMatchIdle || decision == kMatchComplete;
}

bool may_begin_character(MatchResult decision) {
  return decision == kMatchAmbiguous || decision == kMatchStarted;
}

bool calls_for_resplit(MatchResult decision) {
  return decision == kMatchRejected || decision == kMatchIdle || decision == kMatchStarted;
}

}  // namespace

std::unique_ptr<Segmenter> Segmenter::create(Engine& engine, const FigureOutputReader& reader,
                                             std::int32_t time_limit, ErrorReports& reports) {
  try {
    auto tables = std::make_unique<CompositionTables>();
    if (tables->ok()) {
      return std::make_unique<Segmenter>(Key(), engine, reader, time_limit, std::move(tables));
    }
  } catch (const std::bad_alloc&) {
  }
  reports.report_engine_error({u"Segmenter::Segmenter", kOutOfMemory});
  return nullptr;
}

Segmenter::Segmenter(Key, Engine& engine, const FigureOutputReader& reader, std::int32_t time_limit,
                     std::unique_ptr<CompositionTables> tables)
    : engine_(engine), reader_(reader), time_limit_(time_limit), tables_(std::move(tables)) {}

bool Segmenter::set_charsets(std::span<const std::uint32_t> charset_ids) {
  std::vector<int> charsets;
  try {
    for (std::uint32_t id : charset_ids) {
      charsets.push_back(static_cast<int>(
          std::min<std::uint32_t>(id, CompositionTables::kCharsetCount)));
    }
  } catch (const std::bad_alloc&) {
    charsets.clear();
    tables_->select_charsets(charsets);
    return false;
  }
  return tables_->select_charsets(charsets);
}

void Segmenter::reset() {
  tables_->reset_candidates();
  kept_.clear();
  chars_sent_ = 0;
}

SegmenterResult Segmenter::add_stroke(std::span<const crPoint> points, std::uint32_t start,
                                      std::uint32_t end) {
  if (!kept_.empty() && paused_too_long(start)) reset();
  if (!keep(points, start, end)) return fail(kOutOfMemory);
  SegmenterResult result;
  result.ink_to_erase = static_cast<std::uint32_t>(kept_.size());
  FigureOutput output;
  if (const int status = recognize_strokes(&output); status != 0) return fail(status);
  const MatchResult decision = match_newest(output);
  kept_.back().decision = decision;
  if (kept_.size() == 1) return ends_run(decision) ? emit(result, output) : wait(result, output);
  if (decision == kMatchContinuing) return wait(result, output);
  if (may_begin_character(kept_[kept_.size() - 2].decision) && calls_for_resplit(decision)) {
    return resplit(decision);
  }
  return ends_run(decision) ? emit(result, output) : wait(result, output);
}

// The pause since the newest kept stroke ended, across a wrap of the tick
// counter; a stroke that starts at or a little before that end has none.
bool Segmenter::paused_too_long(std::uint32_t start) const {
  const std::uint32_t last = kept_.back().end;
  const std::uint32_t pause = start > last ? start - last : start - last - 1;
  return static_cast<std::int32_t>(pause) > time_limit_;
}

bool Segmenter::keep(std::span<const crPoint> points, std::uint32_t start, std::uint32_t end) {
  try {
    kept_.push_back({{points.begin(), points.end()}, start, end, kMatchComplete});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

int Segmenter::recognize_strokes(FigureOutput* output) {
  EngineGate::Hold hold(engine_.gate());
  engine_.clear_pane();
  if (const int status = engine_.set_debug_mode(kKeepFigureOutput); status != 0) return status;
  for (const KeptStroke& stroke : kept_) {
    if (const int status = engine_.add_stroke(stroke.points); status != 0) return status;
  }
  std::array<char16_t, kRequestResultUnits> result_buffer{};
  if (const int status = engine_.recognize(recognition_request(result_buffer)); status != 0) {
    return status;
  }
  void* list = nullptr;
  if (const int status = engine_.figure_output(&list); status != 0) return status;
  return reader_.read(list, output);
}

crRecognitionParams Segmenter::recognition_request(std::span<char16_t> result_buffer) {
  crRecognitionParams request{};
  request.third_word = 100;
  request.first_switch = 1;
  request.second_switch = 1;
  request.skew_search = 1;
  request.skew_allowed = 1;
  request.strict_switch = 1;
  request.result_buffer = result_buffer.data();
  request.result_size = static_cast<std::int32_t>(result_buffer.size());
  return request;
}

// Matches the figure of the newest stroke (the figure whose index is the
// stroke's) with its group; when there is none, the last figure of the last
// group; when the output is empty, a figure with no codes and no answers.
MatchResult Segmenter::match_newest(const FigureOutput& output) {
  static const OutputFigure kNoFigure;
  static const OutputGroup kNoGroup;
  const auto newest = static_cast<std::int16_t>(kept_.size() - 1);
  for (const OutputGroup& group : output) {
    for (const OutputFigure& figure : group.figures) {
      if (figure.index == newest) return tables_->match(figure, group);
    }
  }
  if (output.empty()) return tables_->match(kNoFigure, kNoGroup);
  const OutputGroup& last = output.back();
  return tables_->match(last.figures.empty() ? kNoFigure : last.figures.back(), last);
}

// The best answer of every group, but the case codes and groups without
// answers; they replace what the last call showed.
void Segmenter::collect_characters(SegmenterResult& result, const FigureOutput& output) {
  result.characters.clear();
  for (const OutputGroup& group : output) {
    if (group.answers.empty()) continue;
    const char16_t best = group.answers.front().character;
    if (best != kCapsLockCode && best != kShiftCode) result.characters.push_back(best);
  }
  result.backspaces = chars_sent_;
  chars_sent_ = static_cast<std::uint32_t>(result.characters.size());
  strokes_collected_ = kept_.size();
}

SegmenterResult Segmenter::fail(int status) {
  reset();
  SegmenterResult result;
  result.error = status;
  return result;
}

SegmenterResult Segmenter::emit(SegmenterResult& result, const FigureOutput& output) {
  result.waiting = false;
  collect_characters(result, output);
  reset();
  return result;
}

SegmenterResult Segmenter::wait(SegmenterResult& result, const FigureOutput& output) {
  result.waiting = true;
  result.ink_to_erase = 0;
  collect_characters(result, output);
  return result;
}

// The newest stroke matches nothing after a stroke that may have begun a
// character (or begins one itself): the run restarts from the newest stroke,
// fed again after the stroke before it when the newest matched nothing
// pending and more than two strokes were kept. The stroke before it showed
// one character in the last answer, which gives way to what it shows now;
// when it no longer stands with the newest stroke (it ended a run of its own)
// its own characters come first, so a written letter never vanishes.
SegmenterResult Segmenter::resplit(MatchResult newest_decision) {
  const std::size_t n = kept_.size();
  const bool refeed_previous = newest_decision == kMatchIdle && n > 2;
  KeptStroke previous = std::move(kept_[n - 2]);
  KeptStroke newest = std::move(kept_[n - 1]);
  reset();
  SegmenterResult refed;
  if (refeed_previous) refed = add_stroke(previous.points, previous.start, previous.end);
  SegmenterResult result = add_stroke(newest.points, newest.start, newest.end);
  if (result.error != 0) return result;
  const bool previous_shown_again = refeed_previous && refed.error == 0;
  result.backspaces = previous_shown_again ? 1 : 0;
  if (previous_shown_again && strokes_collected_ < 2) {
    result.characters.insert(0, refed.characters);
  }
  if (result.waiting) result.ink_to_erase = static_cast<std::uint32_t>(n - kept_.size());
  return result;
}

}  // namespace ductra
