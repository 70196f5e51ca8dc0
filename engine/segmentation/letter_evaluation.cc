// The letter evaluation of one stroke group.

#include "engine/segmentation/letter_evaluation.h"

#include <algorithm>
#include <bitset>
#include <span>

#include "engine/database/data_store.h"
#include "engine/database/weighted_cells.h"
#include "engine/foundation/status.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"
#include "engine/records/ranked_answer_index.h"
#include "engine/records/request_switches.h"
#include "engine/records/stroke_point_values.h"
#include "engine/rules/compound_test.h"
#include "engine/rules/group_crossings.h"
#include "engine/rules/id_set.h"
#include "engine/rules/symbol_geometry_check.h"
#include "engine/rules/symbol_rules.h"
#include "engine/segmentation/group_measures.h"
#include "engine/segmentation/mark_cut.h"
#include "engine/segmentation/reading_totals.h"
#include "engine/segmentation/shape_limits.h"
#include "engine/segmentation/special_marks.h"

namespace inkrec {
namespace {

constexpr std::size_t kLetters = 0;
constexpr std::size_t kMarks = 1;
constexpr std::size_t kFullLetters = 2;
constexpr std::size_t kFullMarks = 3;
constexpr std::uint32_t kListRoom = 21;
constexpr std::int32_t kCertainMark = 8301;  // a mark quality this high is no letter
constexpr std::int32_t kDebugScoreFloor = 4500;

// Letters of one figure that the segment features' fifth value (a close
// pair of descending runs) speaks against.
constexpr IdSet<1096> kFifthFeatureLetters = {{66, 66},     {109, 109},   {121, 121},
                                              {1052, 1052}, {1058, 1058}, {1064, 1064},
                                              {1084, 1084}, {1090, 1091}, {1096, 1096}};
// Letters whose form has no final hook pulled back left.
constexpr IdSet<1103> kNoEndHookLetters = {{1046, 1046}, {1048, 1048}, {1050, 1053},
                                           {1063, 1063}, {1067, 1067}, {1071, 1072},
                                           {1077, 1078}, {1080, 1080}, {1082, 1085},
                                           {1095, 1095}, {1099, 1099}, {1103, 1103}};

constexpr std::uint16_t kManyStrokesShape = 454;
constexpr std::uint16_t kMarkOnlyShapes[] = {851, 852};

bool debug_output_on(std::uint32_t mode) { return mode != 0 && mode != 3; }

class LetterEvaluation {
 public:
  LetterEvaluation(RecognitionContext& context, FigureGroup& group, CandidateLists& out)
      : context_(context),
        kernel_(context.kernel()),
        group_(group),
        out_(out),
        switches_(kernel_.params()) {}

  int run() {
    if (kernel_.stop_flag()) return kStopped;
    if (kernel_.active_charsets().empty()) return kNoActiveCharSet;
    int status = measure_group(context_, group_, &m_);
    if (status == kOk) status = prepare_judgement();
    if (status == kOk) status = prepare_lists();
    if (status == kOk) status = judge_candidates();
    if (status == kOk) status = write_lists();
    if (status == kOk) status = finish_lists();
    if (status != kOk) return status;
    deliver();
    return kernel_.stop_flag() ? kStopped : kOk;
  }

  std::uint32_t skipped() const { return skipped_; }

 private:
  // The weights, the facts of the geometry check and the rule book's
  // record, each filled once for the group.
  int prepare_judgement() {
    if (const int status = kernel_.data_store()->refresh_cell_weights(); status != kOk) {
      return status;
    }
    // Read through the const store: the writable accessor counts as a change
    // of the database and would make the kernel collect its variants again.
    const DataStore& store = *kernel_.data_store();
    weights_ = store.knowledge_base().cell_weights().span();
    cells_ = kernel_.inked_cells();
    if (const int status = weighted_cells_.assign(cells_, weights_); status != kOk) return status;
    if (const EtalonColumns* columns = kernel_.candidate_etalon_columns(); columns != nullptr) {
      if (const int status = weighted_cells_.compare_with(*columns); status != kOk) return status;
    }
    if (const int status = symbol_geometry_facts(group_, &facts_); status != kOk) return status;
    facts_.stroke_gap = m_.stroke_gap;
    facts_.bridge_percent = m_.bridge;
    facts_.segment_switch = switches_.segment();
    facts_.following_piece_box = m_.following_piece != nullptr ? &m_.following_box : nullptr;
    fill_rule_args();
    if (args_.line.point_values == nullptr) return kOutOfMemory;
    fill_shape_facts();
    if (m_.figure_count > 2) middle_crossings_ = crossings_at_height(group_, 50);
    return kOk;
  }

  void fill_rule_args() {
    args_.group = &group_;
    args_.first_figure = m_.first_figure;
    args_.box = m_.box;
    args_.figure_count = m_.figure_count;
    args_.member_count = m_.member_count;
    args_.active_charsets = kernel_.active_charsets();
    args_.leading_pair = m_.leading_pair;
    SymbolRuleLine& line = args_.line;
    line.figures = &context_.bodies();
    line.strokes = &context_.strokes();
    line.figure_pairs = &context_.figure_pairs();
    line.stroke_pairs = &context_.pair_table();
    line.text_line = m_.text_line;
    line.neighbour_strokes = switches_.stroke_order();
    line.mode = kernel_.params().mode;
    line.reference_angle = m_.line_angle;
    line.upper_height = m_.upper_height;
    line.reference_height = m_.reference_height;
    line.point_values = stroke_point_values(context_.work());
    args_.partner_distance = m_.partner_distance;
    args_.partner_angle = m_.partner_angle;
    args_.line_angle = m_.line_angle;
    args_.size = m_.size;
    args_.flat_column_share = m_.flat_column_share;
    args_.leading_figure = m_.leading_figure;
    args_.group_info = &m_.group_info;
    args_.one_figure_info = m_.figure_count == 1 ? &m_.one_figure_info : nullptr;
    args_.penalties = &m_.penalties;
    args_.weights = m_.weights;
    args_.preceding_piece = m_.preceding_piece;
    args_.longest_flat_run = m_.longest_flat_run;
    args_.next_stroke = m_.next_stroke;
    args_.next_box = m_.next_box;
    args_.previous_stroke = m_.previous_stroke;
    args_.previous_box = m_.previous_box;
  }

  void fill_shape_facts() {
    shape_facts_.width = m_.width;
    shape_facts_.height = m_.height;
    shape_facts_.empty_columns = m_.empty_columns;
    shape_facts_.empty_rows = m_.empty_rows;
    shape_facts_.figure_count = m_.figure_count;
    shape_facts_.minima = static_cast<std::int32_t>(figure_minima(m_.group_info).size());
    shape_facts_.maxima = static_cast<std::int32_t>(figure_maxima(m_.group_info).size());
    shape_facts_.turning_count = m_.group_info.accepted + m_.group_info.final_hook;
    shape_facts_.segment_count = m_.segment_count;
    shape_facts_.segment_masks[0] = m_.segment_masks[0];
    shape_facts_.segment_masks[1] = m_.segment_masks[1];
    shape_facts_.second_count = m_.second_count;
  }

  // The local lists with room for a full limited list, sharing the
  // kernel's code table; the output's letter and mark lists emptied.
  int prepare_lists() {
    extended_ = kernel_.extended_output(m_.size, m_.line_angle) != 0;
    DynArray<std::uint8_t>* codes = kernel_.code_table();
    for (AnswerList& list : local_) {
      if (list.answers().reserve_total(kListRoom) != kOk) return kOutOfMemory;
      list.set_seen_codes(codes);
    }
    const auto candidates = static_cast<std::uint32_t>(kernel_.candidate_variants().size());
    if (offered_.reserve_total(candidates) != kOk) return kOutOfMemory;
    for (RankedAnswerIndex& ranked : ranked_) {
      if (ranked.reserve(candidates) != kOk) return kOutOfMemory;
    }
    for (const std::size_t k : {kLetters, kMarks}) {
      out_[k].answers().clear();
      out_[k].set_seen_codes(codes);
    }
    return kOk;
  }

  int judge_candidates() {
    const std::span<const CandidateVariant> candidates = kernel_.candidate_variants();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      if (kernel_.stop_flag()) return kStopped;
      if (const int status = judge(i, candidates[i]); status != kOk) return status;
    }
    return kernel_.stop_flag() ? kStopped : kOk;
  }

  // One candidate (entry i of the candidate list): ruled out, passed over,
  // or scored into its list.
  int judge(std::size_t i, const CandidateVariant& candidate) {
    const Variant& symbol = *candidate.variant;
    if (variant_kind(symbol) == 2 || (symbol.cursive_flag != 0 && !switches_.body_and_link())) {
      return kOk;
    }
    bool ruled_out = false;
    if (const int status = check_symbol_geometry(facts_, group_, symbol, &ruled_out);
        status != kOk || ruled_out) {
      return status;
    }
    std::int32_t p = 0;
    args_.symbol = &symbol;
    bool dropped = false;
    if (const int status = apply_symbol_rules(args_, p, &dropped); status != kOk || dropped) {
      return status;
    }
    if (symbol.height_flag == 2 && 10 * m_.height < 7 * m_.reference_height) return kOk;
    if (m_.quality >= kCertainMark && !symbol.is_special()) p -= 1000;
    if (variant_kind(symbol) == 1) p -= 200;
    if (candidate.shape == nullptr) {
      ++skipped_;
      return kOk;
    }
    if (!within_shape_limits(symbol, *candidate.shape, &p)) return kOk;
    if (symbol.is_special()) return score_mark(candidate, p);
    return score_letter(i, candidate, p);
  }

  // The limits of the variant's shape; false rules the variant out.
  bool within_shape_limits(const Variant& symbol, const ShapeInfo& shape, std::int32_t* p) {
    for (const ShapeVerdict verdict :
         {empty_space_verdict(shape_facts_, shape), turning_point_verdict(shape_facts_, shape),
          segment_verdict(shape_facts_, shape, switches_.segment())}) {
      if (verdict.ruled_out) return false;
      *p -= verdict.penalty;
    }
    if (m_.segment_count >= shape.segment_count && m_.fifth_feature != 0 &&
        m_.figure_count == 1 && kFifthFeatureLetters.contains(symbol.menuc)) {
      *p -= 300;
    }
    if (kNoEndHookLetters.contains(symbol.menuc)) penalise(*p, m_.end_hook);
    if (shape.min_second_count > 0) {
      if (m_.second_count < shape.min_second_count) return false;
      if (m_.second_count == shape.min_second_count) *p -= 350;
    }
    if ((m_.figure_count > 1 || m_.member_count > 1) && shape.height_limit > 0 &&
        m_.box.bottom - m_.box.top > m_.size * shape.height_limit / 100) {
      return false;
    }
    if (!symbol.is_special()) penalise(*p, height_ramp_penalty(shape, m_.height, m_.size));
    if (shape.id == kManyStrokesShape && m_.figure_count > 2 && middle_crossings_ > 2) {
      *p -= (middle_crossings_ - 2) * 250;
    }
    const bool mark_only = std::find(std::begin(kMarkOnlyShapes), std::end(kMarkOnlyShapes),
                                     shape.id) != std::end(kMarkOnlyShapes);
    return !mark_only || m_.one_figure_mark != 0;
  }

  // A normal variant: the similarity of the inked cells to its etalon.
  int score_letter(std::size_t i, const CandidateVariant& candidate, std::int32_t p) {
    if (candidate.etalon == nullptr) {
      ++skipped_;
      return kOk;
    }
    std::int32_t score = 0;
    const int status = weighted_cells_.score_entry(i, *candidate.etalon, &score);
    if (status == kRejected) return kOk;
    if (status != kOk) return status;
    Answer answer = candidate.reading;
    answer.set_component(0, held_letter_score(score, p));
    answer.set_component(2, p);
    return insert(candidate, answer);
  }

  // A special mark: the rule book decides, then its terms are held to a
  // total of 2..10000.
  int score_mark(const CandidateVariant& candidate, std::int32_t p) {
    SpecialMarkTerms terms;
    if (const int status = write_lists(); status != kOk) return status;
    const MarkReadings readings{local_[kLetters], local_[kMarks]};
    if (const int status =
            judge_special_mark(context_, group_, m_, *candidate.variant, readings, &terms);
        status != kOk || !terms.accepted) {
      return status;
    }
    p += terms.penalty;
    const std::int32_t terms_total = p + terms.extra + terms.mark;
    const std::int32_t base = held_mark_base(terms_total);
    if (weak_mark_dropped(base + terms_total, best_of(candidate))) return kOk;
    Answer answer = candidate.reading;
    answer.set_component(0, base);
    answer.set_component(2, p);
    answer.set_component(3, terms.extra);
    answer.set_component(6, terms.mark);
    return insert(candidate, answer);
  }

  std::size_t list_of(const CandidateVariant& candidate) const {
    return variant_code(*candidate.variant) != 0 ? kLetters : kMarks;
  }
  std::int32_t best_of(const CandidateVariant& candidate) const {
    return best_[list_of(candidate)];
  }

  // The answers are ranked as the local lists would rank them, by light
  // entries; the lists are written when read. They grow by insertion alone,
  // so they stay in descending order of total, and a key never offered
  // before is in no list, so no list is searched for it.
  int insert(const CandidateVariant& candidate, const Answer& answer) {
    const std::size_t k = list_of(candidate);
    best_[k] = std::max(best_[k], answer.total());
    const KeyCheck keys = keys_offered_.test(answer.key) ? KeyCheck::kLook : KeyCheck::kKnownAbsent;
    keys_offered_.set(answer.key);
    const std::uint32_t slot = offered_.size();
    if (offered_.push_back(answer) != kOk) return kOutOfMemory;
    lists_written_ = false;
    if (const int status = ranked_[k].insert(answer, slot, keys); status != kOk) return status;
    return extended_ ? ranked_[k + 2].insert(answer, slot, keys) : kOk;
  }

  // The local lists as ranked so far.
  int write_lists() {
    if (lists_written_) return kOk;
    for (std::size_t k = 0; k < kCandidateLists; ++k) {
      if (const int status = ranked_[k].write_to(offered_.span(), local_[k]); status != kOk) {
        return status;
      }
    }
    lists_written_ = true;
    return kOk;
  }

  // The inked cells into the group, the compound test, and the lists
  // classified against their first letter.
  int finish_lists() {
    const auto cells = static_cast<std::int32_t>(std::min<std::size_t>(cells_.size(), 0xFFFF));
    group_.inked_cells = static_cast<std::uint16_t>(cells);
    group_.inked_ramp =
        static_cast<std::uint16_t>(std::clamp(ClampedRamp(140, 8, true, 300, 40, false).value_at(cells), 0, 0xFFFF));
    const CompoundLine line{m_.reference_height, m_.line_angle, &context_.figure_pairs()};
    if (const int status =
            apply_compound_test(group_, m_.box, line, local_[kLetters], local_[kFullLetters]);
        status != kOk) {
      return status;
    }
    classify(local_[kLetters], local_[kMarks]);
    if (extended_) classify(local_[kFullLetters], local_[kFullMarks]);
    return kOk;
  }

  // Each list against its own first reading (the classification changes
  // no total, so the reference may sit in the list it classifies). A mark
  // or part of a composite is not judged against the letters: a dot that
  // reads better as a full stop is still the dot of an "i" or a ":". The
  // letters keep the wider margin of letters inside words when the word
  // search will read them, counted from the best letter, wider still with
  // a lower limit when the group holds a piece of joined writing.
  void classify(AnswerList& letters, AnswerList& marks) {
    if (!switches_.word_box_search()) {
      letters.classify(nullptr, nullptr, &group_, 0, AnswerList::kReferenceMargin);
    } else if (holds_joined_piece()) {
      letters.classify(nullptr, word_letter_reference(letters), &group_,
                       AnswerList::kJoinedLetterLimit, AnswerList::kJoinedLetterMargin);
    } else {
      letters.classify(nullptr, word_letter_reference(letters), &group_, 0,
                       AnswerList::kWordLetterMargin);
    }
    marks.classify(nullptr, nullptr, &group_, 0);
  }

  // Whether one of the group's figures is a piece cut out of a longer
  // stroke rather than a whole stroke.
  bool holds_joined_piece() const {
    return std::any_of(group_.figures.begin(), group_.figures.end(),
                       [](const FigureRecord* figure) { return figure->whole_stroke == 0; });
  }

  // The readings into the output: whole lists when the debug output or the
  // extended output asks for them, else the letters and marks that the
  // classification kept.
  void deliver() {
    const bool debug = debug_output_on(kernel_.debug_mode());
    if (debug && (extended_ || kernel_.full_debug_output() != 0)) {
      for (std::size_t k = 0; k < kCandidateLists; ++k) out_[k].assign(local_[k]);
      return;
    }
    for (const std::size_t k : {kLetters, kMarks}) {
      if (debug) {
        copy_debug_entries(local_[k], out_[k]);
      } else {
        copy_kept_entries(local_[k], out_[k]);
      }
    }
    if (extended_) {
      out_[kFullLetters].assign(local_[kFullLetters]);
      out_[kFullMarks].assign(local_[kFullMarks]);
    }
  }

  // Every entry not rejected; the first alone when all are.
  static void copy_kept_entries(const AnswerList& from, AnswerList& to) {
    for (const Answer& answer : from.answers()) {
      if (answer.state != Answer::kStateRejected) to.insert_at(to.answers().size(), answer);
    }
    if (to.answers().empty() && !from.answers().empty()) to.insert_at(0, from.answers()[0]);
  }

  // The first entry, then every entry but a rejected one whose code was
  // already copied or whose score is low.
  static void copy_debug_entries(const AnswerList& from, AnswerList& to) {
    const DynArray<Answer>& answers = from.answers();
    for (std::uint32_t i = 0; i < answers.size(); ++i) {
      const Answer& answer = answers[i];
      const bool rejected = answer.state == Answer::kStateRejected;
      if (i > 0 && rejected &&
          (code_copied(to, answer.codes[0]) || answer.components[0] <= kDebugScoreFloor)) {
        continue;
      }
      to.insert_at(to.answers().size(), answer);
    }
  }

  static bool code_copied(const AnswerList& list, std::uint16_t code) {
    return std::any_of(list.answers().begin(), list.answers().end(),
                       [code](const Answer& a) { return a.codes[0] == code; });
  }

  RecognitionContext& context_;
  RunKernel& kernel_;
  FigureGroup& group_;
  CandidateLists& out_;
  RequestSwitches switches_;
  GroupMeasures m_;
  SymbolGeometryFacts facts_;
  SymbolRuleArgs args_;
  GroupShapeFacts shape_facts_;
  std::span<const std::uint8_t> weights_;
  std::span<const std::uint16_t> cells_;
  WeightedCells weighted_cells_;
  std::int32_t middle_crossings_ = 0;
  bool extended_ = false;
  CandidateLists local_{AnswerList(false), AnswerList(false), AnswerList(true), AnswerList(true)};
  std::int32_t best_[2] = {0, 0};
  std::bitset<0x10000> keys_offered_;
  DynArray<Answer> offered_;  // every answer ranked, in the order offered
  RankedAnswerIndex ranked_[kCandidateLists] = {
      RankedAnswerIndex(AnswerList::kDefaultLimit), RankedAnswerIndex(AnswerList::kDefaultLimit),
      RankedAnswerIndex(AnswerList::kUnlimited), RankedAnswerIndex(AnswerList::kUnlimited)};
  bool lists_written_ = true;
  std::uint32_t skipped_ = 0;
};

}  // namespace

const Answer* word_letter_reference(const AnswerList& letters) {
  for (const Answer& answer : letters.answers()) {
    if (is_letter_code(answer.codes[0])) return &answer;
  }
  return nullptr;
}

int recognize_figure_group(RecognitionContext& context, FigureGroup& group, CandidateLists& out,
                           std::uint32_t* skipped) {
  LetterEvaluation evaluation(context, group, out);
  const int status = evaluation.run();
  if (skipped != nullptr) *skipped = evaluation.skipped();
  return status;
}

}  // namespace inkrec
