// The recognition driver: the road of one recognition on a kernel, from the
// line pass through the letter and word search to the text written into the
// caller's buffer.
//
// Every stage runs on the caller's thread. The stop flag is polled between
// the stages (and by the letter search inside them): a set flag ends the
// recognition with 4034 and leaves the ink in the pane. Only the dictionary
// word search holds the engine lock.

#include <algorithm>

#include "engine/analysis/group_rafs.h"
#include "engine/analysis/stroke_feature_pass.h"
#include "engine/database/data_store.h"
#include "engine/database/dictionary_set.h"
#include "engine/foundation/recursive_lock.h"
#include "engine/foundation/status.h"
#include "engine/kernel/engine_lock.h"
#include "engine/kernel/kernel.h"
#include "engine/kernel/result_text.h"
#include "engine/records/figure_records.h"
#include "engine/records/reading_order.h"
#include "engine/records/request_switches.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
void Kernel::set_letter_search(std::unique_ptr<LetterSearch> search) {
  replacement_search_ = std::move(search);
  search_ = replacement_search_ ? replacement_search_.get() : &own_search_;
}

int Kernel::get_line(const RecognitionParams& request) {
  params_ = request;
  if (const int status = search_->begin_run(*this); status != kOk) return status;
  const int status = prepare_lines();
  search_->end_run();
  return status;
}

int Kernel::recognize(const RecognitionParams& request) {
  if (pane_.empty()) return kOk;
  params_ = request;
  if (params_.result_buffer == nullptr) return kBadArgument;
  if (const int status = search_->begin_run(*this); status != kOk) return status;
  const int status = run_recognition();
  search_->end_run();
  if (status != kOk) return status;
  write_result_text(text_.span(), params_.result_buffer, params_.result_size);
  if (debug_mode_ == 0) reset();
  return kOk;
}

int Kernel::run_recognition() {
  int status = prepare_lines();
  if (status != kOk) return status;
  if (stop_flag()) return kStopped;
  if ((status = sort_reading_order()) != kOk) return status;
  if ((status = search_->line_mean_metric()) != kOk) return status;
  if ((status = search_->split_into_bodies_and_links()) != kOk) return status;
  if ((status = search_->reserve_figure_pairs(search_->figure_count())) != kOk) return status;
  if ((status = search_->apply_baselines_to_figures()) != kOk) return status;
  if ((status = run_line_stages()) != kOk) return status;
  if ((status = search_->classify_candidates(active_spec_pairs())) != kOk) return status;
  if (stop_flag()) return kStopped;
  if (observer_ != nullptr) observer_->before_word_search(*this);
  if ((status = search_words()) != kOk) return status;
  if ((status = search_->check_all_candidates()) != kOk) return status;
  if ((status = deliver_results()) != kOk) return status;
  if ((status = search_->recognize_segments()) != kOk) return status;
  if (observer_ != nullptr) observer_->after_segments(*this);
  return build_text();
}

void Kernel::after_split_pass(const DynArray<FigureRecord>& links, std::u16string_view pass) {
  if (observer_ != nullptr) observer_->after_split_pass(*this, links, pass);
}

int Kernel::extended_output(int size, int line_angle) {
  return observer_ == nullptr ? 0 : observer_->extended_output(*this, size, line_angle);
}

int Kernel::full_debug_output() {
  return observer_ == nullptr ? 0 : observer_->full_debug_output(*this);
}

int Kernel::prepare_lines() {
  stop_.store(0, std::memory_order_relaxed);
  if (params_.mode == 2) {
    params_.word_pass = 0;
    params_.cursive_split = 0;
    params_.skew_search = 0;
  }
  if (params_.caller_base_lines != 0) params_.skew_search = 0;
  quick_.store(0, std::memory_order_relaxed);
  if (const int status = prepare_line_work(); status != kOk) {
    feature_context_.clear();
    return status;
  }
  if (stop_flag()) return kStopped;
  if (RequestSwitches(params_).skew_correction()) {
    int angle = 0;
    const int status = pane_.correct_skew(&angle, params_, mirrored_order());
    search_->add_skew_correction(angle);
    if (status != kOk) return status;
  }
  if (stop_flag()) return kStopped;
  if (const int status = add_stroke_figures(); status != kOk) return status;
  if (stop_flag()) return kStopped;
  const bool skew_correction = RequestSwitches(params_).skew_correction();
  const std::int32_t turned_before = search_->skew_correction();
  if (const int status = search_->estimate_line_slant(skew_correction); status != kOk) {
    return status;
  }
  // The straightening of the lines turns the pane's ink with them.
  if (const std::int32_t turned = search_->skew_correction() - turned_before; turned != 0) {
    if (const int status = pane_.rotate(turned); status != kOk) return status;
  }
  if (const int status = measure_figure_runs(); status != kOk) return status;
  return stop_flag() ? kStopped : kOk;
}

int Kernel::prepare_line_work() {
  const std::uint32_t n = pane_.strokes().size();
  int status = feature_context_.reset(data_store_->raf_total_cells());
  text_.clear();
  if (status == kOk) status = text_.reserve_total(n);
  if (status == kOk) status = search_->reset_line_work(n);
  if (status == kOk) status = select_dictionary(false);
  return status;
}

// Each stroke's trajectory becomes that stroke's figure; with the caller's
// base lines asked for, every stroke must carry both values. The
// trajectories are freed when this returns.
int Kernel::add_stroke_figures() {
  const StrokeList& strokes = pane_.strokes();
  const bool base_lines_given = RequestSwitches(params_).baselines_given();
  TrajectoryList trajectories(strokes.size(), true);
  int status = stroke_feature_pass(strokes, trajectories, nullptr,
                                   RequestSwitches(params_).refine_trajectories());
  if (status == kOk) status = search_->reserve_stroke_pairs(strokes.size());
  for (std::uint32_t s = 0; status == kOk && s < strokes.size(); ++s) {
    const Trajectory* trajectory = trajectories.item_checked(s);
    const StrokeBaseLines* base_lines = pane_.base_lines().item_checked(s);
    if (trajectory == nullptr || base_lines == nullptr) return kBadArgument;
    if (base_lines_given && base_lines->given == 0) return kNoBaselines;
    const ReferenceBand band{base_lines->first, base_lines->second, base_lines->given};
    status = search_->add_stroke_figure(s, *trajectory, base_lines_given ? &band : nullptr);
  }
  return status;
}

// Gives every run of point records of the figures its step lengths and
// directions and the descriptions of the loops it closes.
int Kernel::measure_figure_runs() {
  DynArray<PointRun*> runs;
  if (const int status = search_->figure_runs(runs); status != kOk) return status;
  for (const PointRun* run : runs) {
    if (run == nullptr) return kBadArgument;
    if (const int status = fill_steps_and_crossings(*run); status != kOk) return status;
  }
  return kOk;
}

// Puts the stroke records in reading order, with a horizontal tolerance of
// a fifteenth of the line height (at least 2), right to left when an
// active charset is written so; each record's order key becomes its place.
int Kernel::sort_reading_order() {
  DynArray<StrokeRecord*> records;
  if (const int status = search_->line_group_strokes(records); status != kOk) return status;
  if (records.empty()) return kOk;
  const std::int32_t tolerance = std::max(search_->line_height() / 15, 2);
  const int status = sort_pointers(records.data(), static_cast<std::int32_t>(records.size()),
                                   tolerance, mirrored_order());
  if (status != kOk) return status;
  for (std::uint32_t place = 0; place < records.size(); ++place) {
    records[place]->order_key = static_cast<std::int16_t>(place);
  }
  return kOk;
}

// The line loop, the spacing pass and the gap estimation, each only while
// the stop flag is clear.
int Kernel::run_line_stages() {
  if (stop_flag()) return kStopped;
  if (const int status = line_loop(); status != kOk) return status;
  if (stop_flag()) return kStopped;
  if (const int status = search_->estimate_spacing(); status != kOk) return status;
  if (stop_flag()) return kStopped;
  return search_->estimate_gaps();
}

// The dictionary word search runs with the word pass asked for and a word
// list loaded, holding the engine lock so that no other kernel searches the
// shared word lists at the same time.
int Kernel::search_words() {
  if (!RequestSwitches(params_).word_box_search() || dictionaries_ == nullptr ||
      !dictionaries_->standard_dictionary().is_loaded()) {
    return kOk;
  }
  const LockGuard hold(engine_lock());
  return search_->recognize_word_boxes();
}

void Kernel::clear_pane() {
  pane_.clear();
  reset();
}

void Kernel::reset() {
  feature_context_.clear();
  search_->clear_line_work();
  text_.release();
  pane_.clear();
}

int Kernel::recognize_element(FigureGroup& group, int line_height, CandidateLists& out) {
  int status = feature_context_.reset(data_store_->raf_total_cells());
  if (status == kOk) {
    const bool debug_output = debug_mode_ != 0 && debug_mode_ != 3;
    status = compute_group_rafs(feature_context_, group, data_store_->raf_table(), debug_output,
                                line_height);
  }
  if (status != kOk) return status;
  return search_->recognize_figure_group(group, out);
}

}  // namespace inkrec
