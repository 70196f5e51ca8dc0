// RunKernel: the kernel as the passes of one recognition run see it through
// their RecognitionContext: the caller's request, the database with the
// active charsets and their candidate variants, the features of the group
// being evaluated, the hook's questions, and the place to report each
// finished pass of the bodies-and-links splitter.
//
// The kernel that owns the run implements it; the passes below the kernel
// reach the kernel only through it. Every member may be called on the
// thread running the recognition while the run lasts.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/database/etalon_columns.h"
#include "engine/database/pair_variants.h"
#include "engine/foundation/dyn_array.h"
#include "engine/records/candidate_variant.h"
#include "engine/records/figure_records.h"
#include "engine/records/pair_rule_index.h"
#include "engine/records/recognition_params.h"

namespace inkrec {

class DataStore;
class DictionarySet;
class FigureGroup;
struct ComplexVariant;
struct FigureRecord;

// The spacing of neighbouring elements of a line as the line loop last
// measured it; -1 while unmeasured: the mean gap between their profiles
// and its spread, and the mean distance of their centres along the slant
// and its spread.
struct NeighbourSpacing {
  std::int32_t mean = -1;
  std::int32_t spread = -1;
  std::int32_t centre_mean = -1;
  std::int32_t centre_spread = -1;
};

class RunKernel {
 public:
  virtual ~RunKernel() = default;

  // The caller's request as the kernel keeps it.
  virtual const RecognitionParams& params() const = 0;
  // The shared database; never null.
  virtual DataStore* data_store() const = 0;
  // The word lists and user dictionaries, holding the list of the first
  // active language when the run asked for the word search; null when the
  // engine has none (and for a kernel that keeps no dictionaries).
  virtual DictionarySet* dictionaries() const { return nullptr; }
  // The slot of each character code among the letters of the active
  // charsets (CharSlotMap's index table); empty unless overridden.
  virtual const DynArray<std::uint32_t>& code_index() {
    static const DynArray<std::uint32_t> none;
    return none;
  }
  // Whether the active charsets are written right to left.
  virtual bool right_to_left() const = 0;
  // The ids of the active charsets, in their order.
  virtual std::span<const std::uint32_t> active_charsets() const = 0;
  bool charset_active(std::uint32_t id) const {
    const std::span<const std::uint32_t> ids = active_charsets();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }
  // The ids the database supplies for the letter-pair table's rows without
  // fixed ids (pair_variants.h); the default database's unless overridden.
  virtual std::span<const SuppliedPairId> supplied_pair_ids() const {
    return default_supplied_pair_ids();
  }
  // The pair rules of the active charsets, brought up to date with the
  // database first; valid while the run lasts. None unless overridden.
  virtual const PairRuleIndex& pair_rules() {
    static const PairRuleIndex none;
    return none;
  }
  // The line loop's measure of the spacing between neighbouring elements;
  // unmeasured unless overridden.
  virtual NeighbourSpacing neighbour_spacing() const { return NeighbourSpacing{}; }
  // Hands the links as the named pass of the split left them to the
  // kernel's observer, when it has one.
  virtual void after_split_pass(const DynArray<FigureRecord>& links, std::u16string_view pass) = 0;
  // The stop flag (another thread asked the run to end: the stages return
  // 4034) and the quick flag (the searches settle for what they have).
  virtual bool stop_flag() const = 0;
  virtual bool quick_flag() const = 0;
  // The kernel's hook, asked before a group is evaluated with the letter
  // size and the line angle: non-zero keeps the full candidate lists too
  // (extended output); 0 without a hook.
  virtual int extended_output(int size, int line_angle) = 0;
  // Asked in the debug mode after a group's evaluation: non-zero hands out
  // the full lists instead of the chosen entries; 0 without a hook.
  virtual int full_debug_output() = 0;

  // The writing variants of the active charsets, in the database's order,
  // each with its shape, etalon and reading (brought up to date first);
  // none unless overridden.
  virtual std::span<const CandidateVariant> candidate_variants() { return {}; }
  // The etalons of candidate_variants() laid out cell by cell, entry i
  // for candidate i (brought up to date with them); null unless overridden.
  virtual const EtalonColumns* candidate_etalon_columns() { return nullptr; }
  // The feature cells the kernel found inked for the group being
  // evaluated (indices into every etalon's cells); none unless overridden.
  virtual std::span<const std::uint16_t> inked_cells() const { return {}; }
  // The bytes by character code that the candidate lists of one group
  // share while they are classified; null unless overridden.
  virtual DynArray<std::uint8_t>* code_table() { return nullptr; }
  // 0 and 3: off; any other value keeps the full work of a recognition.
  virtual std::uint32_t debug_mode() const { return 0; }

  // The composite-letter rules of the active charsets, in the database's
  // order (brought up to date first), and the side flags any of them has
  // (bit 0 top, 1 bottom, 2 left, 3 right); none unless overridden.
  virtual std::span<const ComplexVariant* const> composite_rules() { return {}; }
  virtual std::uint32_t composite_sides() { return 0; }

  // Evaluates a stroke group of the running recognition as one letter:
  // computes its features (line_height: the height of its text line) and
  // judges it against every candidate variant into the four lists of
  // `out`. The group needs its figures, members (body indices) and
  // geometry with its baseline pair. 4034 when the stop flag is seen, 4007
  // without an active charset; -2 unless overridden.
  virtual int recognize_element(FigureGroup& /*group*/, int /*line_height*/,
                                CandidateLists& /*out*/) {
    return -2;
  }
};

}  // namespace inkrec
