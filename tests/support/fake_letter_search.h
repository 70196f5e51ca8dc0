// A letter search for tests of the recognition driver: it "finds" the
// fragments, gaps and line records a test sets up, and logs the stages the
// driver calls in order. Like the segmentation it keeps, until the line
// work is cleared, a stroke record over a copy of each stroke's trajectory,
// a whole-stroke figure for each stroke on the TextLine figure_lines names,
// and each line's candidates: what training reads of a recognition.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/analysis/trajectory.h"
#include "engine/foundation/status.h"
#include "engine/kernel/engine_lock.h"
#include "engine/kernel/kernel.h"
#include "engine/kernel/pane.h"
#include "engine/records/figure_records.h"
#include "engine/records/trajectory_record.h"
#include "engine/segmentation/letter_search.h"
#include "engine/segmentation/line_records.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

// A reading: its code as read, under case choice 2 and under case choice 1.
struct FakeReading {
  std::uint16_t codes[3];
  std::int32_t score = 9000;
};

// A letter that reads the same in every case.
inline FakeReading reading(char16_t code, std::int32_t score = 9000) {
  return {{code, code, code}, score};
}
// A letter with a lower-case (choice 2) and an upper-case (choice 1) form.
inline FakeReading letter(char16_t lower, char16_t upper, std::int32_t score = 9000) {
  return {{lower, lower, upper}, score};
}

struct FakeFragment {
  std::vector<FakeReading> readings;
  bool space_after = false;
  std::vector<PackedPoint> points;
  PackedPoint centroid;
  std::vector<std::uint32_t> choices;  // the case choice of each reading
};

inline FakeFragment fragment(std::vector<FakeReading> readings, bool space_after = false) {
  FakeFragment f;
  f.readings = std::move(readings);
  f.space_after = space_after;
  return f;
}

struct FakeLine {
  std::vector<FakeFragment> fragments;
  std::vector<FragmentGap> gaps;  // between fragment k and k + 1
};

class FakeLetterSearch final : public LetterSearch {
 public:
  // Set up by the test.
  std::vector<FakeLine> lines;
  std::vector<std::uint16_t> figure_lines;  // the TextLine of each figure
  std::int16_t slant = 90;
  std::int32_t height = 30;
  std::vector<StrokeRecord> strokes;  // of the line group
  std::vector<PointRun> runs;         // of the figures
  std::function<void(std::uint32_t line, bool first_sweep)> during_passes;
  std::map<const WordHypothesis*, std::u16string> paths;
  std::vector<CaseCodes> element_variants;
  std::vector<PackedPoint> figure_points;

  // Seen by the test.
  std::vector<std::string> log;
  std::vector<std::uint32_t> candidates[8];  // figures added per line
  std::vector<FakeFragment> output;
  std::vector<const ReferenceBand*> base_lines;
  std::vector<std::uint32_t> trajectory_sizes;
  std::int32_t mean_gap = -1;
  int lock_entries_in_word_search = -1;
  int lock_entries_in_passes = 0;
  std::int32_t skew = 0;  // the run's skew correction
  std::int32_t line_turn = 0;  // what the straightening of the lines adds to it

  int begin_run(RunKernel& kernel) override {
    kernel_ = dynamic_cast<Kernel*>(&kernel);
    return note("begin_run");
  }
  void end_run() override { note("end_run"); }
  int reset_line_work(std::uint32_t) override {
    drop_kept_work();
    skew = 0;
    line_work_ = true;
    return note("reset_line_work");
  }
  void clear_line_work() override {
    note("clear_line_work");
    output.clear();
    drop_kept_work();
    line_work_ = false;
  }

  int reserve_stroke_pairs(std::uint32_t) override { return note("reserve_stroke_pairs"); }
  int reserve_figure_pairs(std::uint32_t) override { return note("reserve_figure_pairs"); }
  int add_stroke_figure(std::uint32_t s, const Trajectory& trajectory,
                        const ReferenceBand* lines_given) override {
    trajectory_sizes.push_back(trajectory.size());
    base_lines.push_back(lines_given);
    if (const int status = keep_stroke_figure(s, trajectory); status != kOk) return status;
    return note("add_stroke_figure");
  }
  int estimate_line_slant(bool) override {
    skew += line_turn;
    return note("estimate_line_slant");
  }
  std::int32_t skew_correction() const override { return skew; }
  void add_skew_correction(std::int32_t degrees) override { skew += degrees; }
  int figure_runs(DynArray<PointRun*>& out) override {
    for (PointRun& run : runs) out.push_back(&run);
    return note("figure_runs");
  }

  int line_group_strokes(DynArray<StrokeRecord*>& out) override {
    for (StrokeRecord& record : strokes) out.push_back(&record);
    return note("line_group_strokes");
  }
  std::int32_t line_height() const override { return height; }
  int line_mean_metric() override { return note("line_mean_metric"); }
  int split_into_bodies_and_links() override { return note("split_into_bodies_and_links"); }
  int apply_baselines_to_figures() override { return note("apply_baselines_to_figures"); }
  std::uint32_t figure_count() const override {
    return static_cast<std::uint32_t>(figure_lines.size());
  }
  std::uint16_t figure_line(std::uint32_t i) const override { return figure_lines.at(i); }
  std::uint32_t text_line_count() const override {
    return line_work_ ? static_cast<std::uint32_t>(lines.size()) : 0;
  }
  std::int16_t line_slant_angle() const override { return slant; }
  void set_mean_gap(std::int32_t gap) override { mean_gap = gap; }

  void release_line_objects() override { note("release_line_objects"); }
  int begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) override;
  int empty_line_part_groups() override { return note("empty_line_part_groups"); }
  int estimate_spacing() override { return note("estimate_spacing"); }
  int estimate_gaps() override { return note("estimate_gaps"); }
  int classify_candidates(const ActiveSpecPairs&) override { return note("classify_candidates"); }
  int recognize_word_boxes() override {
    lock_entries_in_word_search = engine_lock().entry_count();
    return note("recognize_word_boxes");
  }
  int check_all_candidates() override { return note("check_all_candidates"); }
  int recognize_segments() override { return note("recognize_segments"); }

  void* fig_out_list() override { return &output; }
  std::uint32_t output_count() const override { return static_cast<std::uint32_t>(output.size()); }
  void clear_output() override { output.clear(); }
  int remove_output(std::uint32_t i) override {
    if (i >= output.size()) return kBadArgument;
    output.erase(output.begin() + i);
    return kOk;
  }
  int answer_count(std::uint32_t i, std::uint32_t* count) const override {
    if (i >= output.size()) return kBadArgument;
    *count = static_cast<std::uint32_t>(output[i].readings.size());
    return kOk;
  }
  std::uint16_t first_code(std::uint32_t i) const override {
    return output.at(i).readings.empty() ? 0 : output[i].readings[0].codes[0];
  }
  int set_code_choice(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) override {
    if (i >= output.size() || answer >= output[i].readings.size()) return kBadArgument;
    output[i].choices.resize(output[i].readings.size(), 0);
    output[i].choices[answer] = choice;
    return kOk;
  }
  int append_output_codes(std::uint32_t i, DynArray<std::uint16_t>& text) override {
    const FakeFragment& f = output.at(i);
    const std::uint32_t choice = f.choices.empty() ? 0 : f.choices[0];
    const int code_of_choice[3] = {0, 2, 1};
    return text.push_back(f.readings.at(0).codes[code_of_choice[choice]]);
  }
  bool space_after(std::uint32_t i) const override { return output.at(i).space_after; }
  int alternatives(std::uint32_t i, std::uint32_t limit, DynArray<Alternative>& out) override {
    const FakeFragment& f = output.at(i);
    for (std::uint32_t a = 0; a < f.readings.size() && a < limit; ++a) {
      out.push_back({f.readings[a].codes[0], f.readings[a].score, a});
    }
    return kOk;
  }
  int promote_alternative(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) override {
    FakeFragment& f = output.at(i);
    if (answer >= f.readings.size()) return kBadArgument;
    std::swap(f.readings[0], f.readings[answer]);
    f.choices.assign(1, choice);
    return kOk;
  }
  int collect_output_points(std::uint32_t i, DynArray<PackedPoint>& out) override {
    for (const PackedPoint p : output.at(i).points) out.push_back(p);
    return kOk;
  }

  PtrArray<LineRecord>& line_records() override { return line_records_; }
  int collect_path_characters(const WordHypothesis& hypothesis,
                              DynArray<std::uint16_t>& out) override {
    for (const char16_t c : paths.at(&hypothesis)) out.push_back(c);
    return kOk;
  }
  int collect_element_variants(const LineRecord&, const WordEntry&,
                               DynArray<CaseCodes>& out) override {
    for (const CaseCodes& codes : element_variants) out.push_back(codes);
    return kOk;
  }
  int collect_figure_points(FigurePlace first, FigurePlace last,
                            DynArray<PackedPoint>& out) override {
    log.push_back("figures " + std::to_string(first.line) + ":" + std::to_string(first.figure) +
                  "-" + std::to_string(last.line) + ":" + std::to_string(last.figure));
    for (const PackedPoint p : figure_points) out.push_back(p);
    return kOk;
  }

  const FigureRecord* line_candidate(std::uint32_t line, std::uint32_t i) const override {
    if (line >= line_figures_.size() || i >= line_figures_[line].size()) return nullptr;
    return figure(line_figures_[line][i]);
  }
  const StrokeRecord* stroke_record(std::uint32_t s) const override {
    return s < stroke_records_.size() ? &stroke_records_[s] : nullptr;
  }
  // The whole-stroke figure of stroke s, as the output's fragments hold it.
  const FigureRecord* figure(std::uint32_t s) const {
    return s < figures_.size() ? &figures_[s] : nullptr;
  }
  void add_line_candidate(std::uint32_t line, std::uint32_t figure) {
    if (line_figures_.size() <= line) line_figures_.resize(line + 1);
    line_figures_[line].push_back(figure);
  }
  // Adds a figure of `count` trajectory points of stroke s from its point
  // `first` as the next candidate of the line, as a split of cursive ink
  // would; the figure's address, null when the stroke is not kept.
  const FigureRecord* add_piece_candidate(std::uint32_t line, std::uint32_t s, std::uint16_t first,
                                          std::int32_t count) {
    if (s >= stroke_records_.size()) return nullptr;
    FigureRecord piece;
    piece.run.set(stroke_records_[s].run.points + first, count);
    piece.line_index = static_cast<std::uint16_t>(line);
    piece.stroke_index = static_cast<std::uint16_t>(s);
    piece.first_point = first;
    piece.whole_stroke = 0;
    figures_.push_back(std::move(piece));
    add_line_candidate(line, static_cast<std::uint32_t>(figures_.size() - 1));
    return &figures_.back();
  }

  int recognize_figure_group(FigureGroup&, CandidateLists&) override {
    return kOk;
  }
  int allowed_letters_for_prefix(RunKernel&, const DynArray<std::uint16_t>&, CharSlotMap&,
                                 const CharClassTables&) override {
    return kOk;
  }

  // Logs a stage and says it succeeded.
  int note(const std::string& stage) {
    log.push_back(stage);
    return kOk;
  }

  Kernel* kernel() const { return kernel_; }

 private:
  int keep_stroke_figure(std::uint32_t s, const Trajectory& trajectory) {
    auto kept = std::make_unique<Trajectory>();
    for (const PointRecord& point : trajectory) {
      PointRecord* copy = kept->push_default();
      if (copy == nullptr || make_trajectory_entry(point.point, point.trajectory, *copy) != kOk) {
        return kOutOfMemory;
      }
    }
    StrokeRecord record;
    record.run.set(kept->data(), static_cast<std::int32_t>(kept->size()));
    record.number = static_cast<std::uint16_t>(s);
    record.line_index = s < figure_lines.size() ? figure_lines[s] : 0;
    FigureRecord figure;
    if (figure.from_stroke(record) != kOk) return kOutOfMemory;
    trajectories_.push_back(std::move(kept));
    stroke_records_.push_back(std::move(record));
    figures_.push_back(std::move(figure));
    return kOk;
  }
  void drop_kept_work() {
    line_figures_.clear();
    figures_.clear();
    stroke_records_.clear();
    trajectories_.clear();
  }

  Kernel* kernel_ = nullptr;
  PtrArray<LineRecord> line_records_{16, true};
  bool line_work_ = false;
  std::vector<std::unique_ptr<Trajectory>> trajectories_;
  std::deque<StrokeRecord> stroke_records_;  // addresses stay while records are added
  std::deque<FigureRecord> figures_;
  std::vector<std::vector<std::uint32_t>> line_figures_;
};

class FakeLineFragments final : public LineFragments {
 public:
  FakeLineFragments(FakeLetterSearch& search, std::uint32_t line) : search_(search), line_(line) {}

  int add_candidate(std::uint32_t figure) override {
    search_.candidates[line_].push_back(figure);
    search_.add_line_candidate(line_, figure);
    return kOk;
  }
  int run_passes(bool first_sweep) override {
    search_.log.push_back("passes " + std::to_string(line_) + (first_sweep ? " first" : " second"));
    search_.lock_entries_in_passes += engine_lock().entry_count();
    if (search_.during_passes) search_.during_passes(line_, first_sweep);
    return kOk;
  }
  int move_to_output() override {
    for (const FakeFragment& f : fragments()) search_.output.push_back(f);
    return kOk;
  }
  std::uint32_t count() const override { return static_cast<std::uint32_t>(fragments().size()); }
  FragmentGap measure_gap(std::uint32_t k) override {
    const std::vector<FragmentGap>& gaps = search_.lines[line_].gaps;
    return k < gaps.size() ? gaps[k] : FragmentGap{};
  }
  PackedPoint centroid(std::uint32_t k) const override { return fragments().at(k).centroid; }

 private:
  const std::vector<FakeFragment>& fragments() const { return search_.lines[line_].fragments; }

  FakeLetterSearch& search_;
  std::uint32_t line_;
};

inline int FakeLetterSearch::begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) {
  if (line >= lines.size()) return kBadArgument;
  *out = std::make_unique<FakeLineFragments>(*this, line);
  return kOk;
}

// Gives the kernel a fake letter search and returns it.
inline FakeLetterSearch& install_fake_letter_search(Kernel& kernel) {
  auto fake = std::make_unique<FakeLetterSearch>();
  FakeLetterSearch& installed = *fake;
  kernel.set_letter_search(std::move(fake));
  return installed;
}

// Starts the engine on an empty database in `dir` and gives its kernel a
// fake letter search; the caller ends the engine with crFreeCrMan. 0, or
// the status of the step that failed.
inline int start_engine_with_fake_search(const TempDir& dir, Kernel** kernel,
                                         FakeLetterSearch** fake) {
  write_empty_data_file(dir.file("qlmain.dt"));
  const std::u16string data = dir.wide_file("qlmain.dt");
  int status = crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr);
  void* core = nullptr;
  if (status == kOk) status = crmGetCore(&core);
  if (status != kOk) return status;
  *kernel = static_cast<Kernel*>(core);
  *fake = &install_fake_letter_search(**kernel);
  return kOk;
}

}  // namespace inkrec::testing
