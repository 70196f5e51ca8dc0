// Kernel: one recognizer instance. It refers to the shared database and
// dictionaries (never owning them) and owns its pane, its copy of the
// caller's request, the case state, the selection of active charsets with
// the database records that belong to them, its letter search with the work
// lists of the last recognition, and the text that recognition produced.
//
// The lists derived from the active charsets hold pointers into the
// database's tables. Every kernel compares the database's change count
// with the one its lists were built at and rebuilds them before they are
// read, so an edit of the database through any path never leaves a kernel
// reading freed records. When a rebuild fails the lists are empty.
//
// A kernel is used by one thread at a time, except its stop and quick flags,
// which another thread may set while a recognition runs.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "engine/analysis/raf_context.h"
#include "engine/database/active_tables.h"
#include "engine/database/data_records.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/foundation/tagged_records.h"
#include "engine/kernel/correction_request.h"
#include "engine/kernel/pane.h"
#include "engine/kernel/shift_state.h"
#include "engine/records/pair_rule_index.h"
#include "engine/records/recognition_params.h"
#include "engine/records/run_kernel.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"

namespace inkrec {

class AnswerList;
class DataStore;
class DictionarySet;
class FigureGroup;
struct FigureRecord;
class Kernel;
class UserVariantFile;

// An outside object told of moments of each recognition (the kernel's
// hook): before the dictionary word search, after the segment
// recognition, and after each named pass of the bodies-and-links
// splitter, with the links as the pass left them (nothing unless
// overridden). The letter evaluation asks it, with the letter size and the
// line angle, whether to keep the full candidate lists too (extended
// output), and in the debug mode whether to hand them out whole; both
// answer 0 (no) unless overridden.
class KernelObserver {
 public:
  virtual void before_word_search(Kernel& kernel) = 0;
  virtual void after_segments(Kernel& kernel) = 0;
  virtual void after_split_pass(Kernel& /*kernel*/, const DynArray<FigureRecord>& /*links*/,
                                std::u16string_view /*pass*/) {}
  virtual int extended_output(Kernel& /*kernel*/, int /*size*/, int /*line_angle*/) { return 0; }
  virtual int full_debug_output(Kernel& /*kernel*/) { return 0; }

 protected:
  ~KernelObserver() = default;
};

class Kernel final : public RunKernel {
 public:
  static constexpr std::uint32_t kNoCodeIndex = 0xFFFFFFFF;

  // data_store must not be null. No charset is active yet.
  Kernel(DataStore* data_store, DictionarySet* dictionaries);
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  DataStore* data_store() const override { return data_store_; }
  DictionarySet* dictionaries() const override { return dictionaries_; }
  Pane& pane() { return pane_; }

  const RecognitionParams& params() const override { return params_; }
  void set_params(const RecognitionParams& params) { params_ = params; }
  ShiftState shift_state() const { return shift_state_; }
  void set_shift_state(ShiftState state) { shift_state_ = state; }

  // Copies strokes into the pane: -2 for a null array or n below 1, else
  // the pane's status.
  int add_strokes(const StrokeInput* inputs, int n, std::int16_t first, std::int16_t second);

  // Makes the charsets of the ids active, in their order, and rebuilds the
  // lists: -1 (with no charset active) when an id is unknown or memory runs
  // out; -2 for a null ids with n above 0 or n below 0.
  int set_active_charsets(const std::uint32_t* ids, int n);
  std::span<const std::uint32_t> active_charsets() const override {
    return active_charsets_.span();
  }
  // 1 when an active charset is written right to left.
  bool mirrored_order() const { return mirrored_order_ != 0; }
  bool right_to_left() const override { return mirrored_order(); }

  // Rebuilds the lists derived from the active charsets: 0; -2 for a
  // missing symbol record; -1 when memory runs out.
  int reinitialize();
  // Rebuilds them when the database changed since they were built.
  int refresh_active_lists();

  // The lists derived from the active charsets, brought up to date first.
  // Complex variants of kind 2 take no part, nor do normal variants whose
  // etalon does not fit the Raf table; variant_flags() is the OR of
  // the flags word of the others. code_index() maps a character code to its
  // position among the active characters in code order (kNoCodeIndex for
  // any other code); it may name more than 128 positions.
  const PtrArray<const Variant>& active_variants();
  // Every variant of the active charsets (its shape or etalon null when
  // the store lacks it), for the letter evaluation.
  std::span<const CandidateVariant> candidate_variants() override;
  const EtalonColumns* candidate_etalon_columns() override;
  std::span<const std::uint16_t> inked_cells() const override;
  DynArray<std::uint8_t>* code_table() override { return &class_table_; }
  const PtrArray<const ComplexVariant>& active_complex_variants();
  std::span<const ComplexVariant* const> composite_rules() override;
  std::uint32_t composite_sides() override { return variant_flags(); }
  std::uint32_t variant_flags();
  const DynArray<std::uint32_t>& code_index() override;
  const ActiveSpecPairs& active_spec_pairs();
  const PtrArray<const TuplesEntry>& active_tuples();
  // The active tuples indexed for the pair rules' look-up.
  const PairRuleIndex& pair_rules() override;
  // gap_statistics()[0], [1] (profile gaps) and [4], [5] (centre distances).
  NeighbourSpacing neighbour_spacing() const override;

  // One zero byte per value of the symbols' third code (and of every code
  // an active variant's reading classifies by).
  const DynArray<std::uint8_t>& class_table() const { return class_table_; }

  // The charset whose word list the dictionaries should hold: the first
  // active language charset when the request's word pass or force is set,
  // else 0 (none). 0, or -2 when an active charset is missing.
  int dictionary_charset(bool force, std::uint32_t* charset_id) const;
  // Makes the dictionaries hold that charset's word list: 0, or -2 as
  // above or without dictionaries. A word list that does not load leaves
  // the recognition without one and is not an error here.
  int select_dictionary(bool force);

  // The stop flag ends a running recognition at its next check; the quick
  // flag makes the searches settle for what they have. Either may be set
  // from another thread; a recognition clears both when it starts.
  bool stop_flag() const override { return stop_.load(std::memory_order_relaxed) != 0; }
  bool quick_flag() const override { return quick_.load(std::memory_order_relaxed) != 0; }
  void set_stop_flag() { stop_.store(1, std::memory_order_relaxed); }
  void set_quick_flag() { quick_.store(1, std::memory_order_relaxed); }
  void clear_flags();

  // Recognises the pane's ink (see inkrec.h, crRecognize, for the
  // statuses): the text goes to the request's buffer and close alternatives
  // to its callback; then the ink and the work lists are dropped unless the
  // debug mode is on. On failure the ink stays.
  int recognize(const RecognitionParams& request);
  // Runs the line pass alone; nothing is written or dropped.
  int get_line(const RecognitionParams& request);
  // Drops the ink and the work of the last recognition.
  void clear_pane();
  // Frees the feature work, the work lists and the text, and drops the ink.
  void reset();

  // Called by the letter search for one stroke group of the running
  // recognition: computes the group's features into the feature context
  // (line_height: the height of its text line), then lets the letter
  // search evaluate the group against every candidate variant into the
  // four lists of `out` (letters, marks, and their full twins). The
  // features' failing status, else the evaluation's (4034 when the stop
  // flag is seen, 4007 without an active charset).
  int recognize_element(FigureGroup& group, int line_height, CandidateLists& out) override;

  // Replaces the database's variants and complex variants by the records
  // (each found by its id; a record the database refuses is left out), then
  // writes the user's variant choices: the status of that write.
  int set_variants_and_write(std::span<const Variant> variants,
                             std::span<const ComplexVariant> complex_variants,
                             const UserVariantFile& file);

  // Training from figures of the last recognition (crmMakeCorr), which the
  // kernel keeps in debug mode. The ink of the request's figures becomes a
  // correction sample; the feature cells it falls into train the variant
  // with `step` spread by p1 and p2: the variant's own etalon in place, or,
  // with keep_counts, a copy of it when it is shared; with a non-empty list
  // of variants, the etalon they share. feature_codes (low 16 bits) limit
  // the features; all of them (17) count as none. -3 for a negative
  // variant_id; -2 for a request without figures or values, or figures,
  // candidates, stroke records or strokes the last recognition does not
  // hold; else the first failure of the features or of the training.
  int make_correction(const CorrectionRequest* request, int variant_id, int step, int keep_counts,
                      int p1, int p2, const DynArray<std::uint32_t>* feature_codes,
                      const DynArray<std::uint16_t>* variants);
  // The same on the points start..end (-1: the first / the last) of the
  // request's figure figure_index only: -3 when that figure or those points
  // do not exist or start > end.
  int make_correction_special(const CorrectionRequest* request, int figure_index, int start_point,
                              int end_point, int variant_id, int step, int keep_counts, int p1,
                              int p2, const DynArray<std::uint32_t>* feature_codes,
                              const DynArray<std::uint16_t>* variants);
  // Copies the pane's points under the request's figures into the sample,
  // one stroke for each stroke they touch, in stroke order, from the first
  // to the last point any of them covers.
  int collect_sample_runs(Tag4Record& sample, const CorrectionRequest& request);

  // 0 and 3 mean off; any other value keeps the ink and the work lists after
  // a recognition, and 2 also empties the lines' group lists after the first
  // sweep of the line loop.
  std::uint32_t debug_mode() const override { return debug_mode_; }
  void set_debug_mode(std::uint32_t mode) { debug_mode_ = mode; }

  LetterSearch& letter_search() { return *search_; }
  // Replaces the letter search (null restores the kernel's own).
  void set_letter_search(std::unique_ptr<LetterSearch> search);
  void set_observer(KernelObserver* observer) { observer_ = observer; }
  KernelObserver* observer() const { return observer_; }
  void after_split_pass(const DynArray<FigureRecord>& links, std::u16string_view pass) override;
  int extended_output(int size, int line_angle) override;
  int full_debug_output() override;

  // The gap statistics of the line loop's last sweep: the robust mean and
  // spread of the mean row gaps [0, 1], of the least gaps [2, 3] and of the
  // slant-corrected centroid distances [4, 5]; -1 while unmeasured.
  std::span<const std::int32_t, 6> gap_statistics() const { return gap_statistics_; }
  // The features recognize_element computed for the group being classified.
  RafContext& feature_context() { return feature_context_; }

 private:
  int run_recognition();
  int prepare_lines();
  int prepare_line_work();
  int add_stroke_figures();
  int measure_figure_runs();
  int sort_reading_order();
  int run_line_stages();
  int line_loop();
  int search_words();
  int deliver_results();
  int deliver_letters(ShiftState& state);
  int offer_letter(std::uint32_t i, bool* dropped);
  int deliver_words(ShiftState& state);
  int offer_word(const LineRecord& line, WordEntry& word, ShiftState& state);
  int build_text();
  int train_with_sample(Tag4Record& sample, int variant_id, int step, int keep_counts,
                        const DynArray<std::uint16_t>* variants);
  void clear_active_lists();
  int lay_out_candidate_etalons();
  int collect_variants();
  int cover_reading_codes();
  int build_code_index();

  KernelObserver* observer_ = nullptr;
  DataStore* data_store_;
  RecognitionParams params_;
  ShiftState shift_state_;
  Pane pane_;
  RafContext feature_context_;
  DynArray<std::uint16_t> text_;
  LineLetterSearch own_search_;
  std::unique_ptr<LetterSearch> replacement_search_;
  LetterSearch* search_ = &own_search_;
  std::array<std::int32_t, 6> gap_statistics_{-1, -1, -1, -1, -1, -1};
  std::uint32_t debug_mode_ = 0;
  std::atomic<std::uint8_t> stop_{0};
  std::atomic<std::uint8_t> quick_{0};
  std::uint32_t variant_flags_ = 0;
  PtrArray<const ComplexVariant> active_complex_variants_;
  PtrArray<const Variant> active_variants_;
  DynArray<CandidateVariant> candidates_;
  EtalonColumns candidate_columns_;
  DynArray<std::uint32_t> code_index_;
  DictionarySet* dictionaries_;
  DynArray<std::uint8_t> class_table_;
  DynArray<std::uint32_t> active_charsets_;
  std::uint8_t mirrored_order_ = 0;
  ActiveSpecPairs active_spec_pairs_;
  PtrArray<const TuplesEntry> active_tuples_;
  PairRuleIndex pair_rules_;
  std::uint64_t lists_generation_;
};

}  // namespace inkrec
