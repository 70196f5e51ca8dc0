// The entry of the bodies-and-links split, its pass order and the piece
// bookkeeping: merging a link or a body away, renumbering, the coverage
// check and the helpers that add records to the figure arrays.

#include "engine/analysis/bodies_and_links.h"

#include <algorithm>
#include <utility>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/dyn_array_insert.h"
#include "engine/foundation/status.h"
#include "engine/records/recognition_context.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"

namespace inkrec {

namespace {

struct NamedPass {
  std::u16string_view name;
  int (*run)(RecognitionContext&);
};

// The order is part of the split's result: each pass corrects what the
// passes before it left.
constexpr NamedPass kNamedPasses[] = {
    {u"create", create_bodies_and_links},
    {u"remove_point_links", remove_point_links},
    {u"remove_undoubted_links", remove_undoubted_links},
    {u"shorten_links_by_crosses", shorten_links_by_crosses},
    {u"remove_undoubted_links", remove_undoubted_links},
    {u"shorten_links_for_body_tales_and_sharp", shorten_links_for_body_tales_and_sharp},
    {u"remove_loop_links", remove_loop_links},
    {u"shorten_links_for_body_tales_2", shorten_links_for_body_tales_2},
    {u"make_continuation_for_links", make_continuation_for_links},
    {u"remove_point_bodies", remove_point_bodies},
    {u"remove_links_above_loops_of_UZD", remove_links_above_loops_of_uzd},
    {u"remove_links_when_start_n_end_match", remove_links_when_start_n_end_match},
    {u"remove_links_inside_loops", remove_links_inside_loops},
    {u"remove_k_links", remove_k_links},
    {u"remove_small_links_ind_down_line", remove_small_links_ind_down_line},
    {u"remove_start_point_links", remove_start_point_links},
    {u"remove_b_links", remove_b_links},
    {u"remove_loops_links", remove_loops_links},
    {u"remove_median_body", remove_median_body},
    {u"remove_undoubted_links", remove_undoubted_links},
};

// The first record of the array at or after (stroke, piece) in stroke and
// piece order.
std::uint32_t first_piece_from(const DynArray<FigureRecord>& figures, int stroke, int piece) {
  const FigureRecord* found = std::lower_bound(
      figures.begin(), figures.end(), std::pair{stroke, piece},
      [](const FigureRecord& f, const std::pair<int, int>& key) {
        return f.stroke_index < key.first || (f.stroke_index == key.first && f.piece < key.second);
      });
  return static_cast<std::uint32_t>(found - figures.begin());
}

// The index of a record of the array.
std::uint32_t index_in(const DynArray<FigureRecord>& figures, const FigureRecord* record) {
  return static_cast<std::uint32_t>(record - figures.begin());
}

int one_body_per_stroke(RecognitionContext& context) {
  DynArray<StrokeRecord>& strokes = context.strokes();
  for (std::uint32_t i = 0; i < strokes.size(); ++i) {
    const int status =
        append_stroke_body(context.bodies(), &strokes[i], static_cast<std::uint16_t>(i));
    if (status != kOk) return status;
  }
  return kOk;
}

int split_cursive(RecognitionContext& context) {
  for (const NamedPass& pass : kNamedPasses) {
    if (const int status = pass.run(context); status != kOk) return status;
    trace_pass(context, pass.name);
  }
  for (int (*step)(RecognitionContext&) :
       {split_links_at_turns, split_links_at_long_steps, check_coverage}) {
    if (const int status = step(context); status != kOk) return status;
  }
  DynArray<FigureRecord>& bodies = context.bodies();
  for (std::uint32_t i = 0; i < bodies.size(); ++i) {
    bodies[i].number = static_cast<std::uint16_t>(i);
  }
  return kOk;
}

}  // namespace

int split_into_bodies_and_links(RecognitionContext& context) {
  if (context.strokes().empty()) return kOk;
  if (!RequestSwitches(context.kernel().params()).body_and_link()) {
    return one_body_per_stroke(context);
  }
  return split_cursive(context);
}

void trace_pass(RecognitionContext& context, std::u16string_view name) {
  context.kernel().after_split_pass(context.links(), name);
}

int remove_link(RecognitionContext& context, std::uint32_t link) {
  const FigureRecord* merged_link = context.links().item_checked(link);
  if (merged_link == nullptr) return kBadArgument;
  const int stroke = merged_link->stroke_index;
  const int piece = merged_link->piece;
  FigureRecord* before = body_at(context, stroke, piece - 1);
  const FigureRecord* after = body_at(context, stroke, piece + 1);
  if (before == nullptr || after == nullptr) return kBadArgument;

  before->run.count += after->run.count + merged_link->run.count - 2;
  if (piece == 1 && link_at(context, stroke, 3) == nullptr) before->whole_stroke = 1;
  if (const int status = prepare_piece(*before); status != kOk) return status;

  int status = context.bodies().erase(index_in(context.bodies(), after), 1);
  if (status == kOk) status = context.links().erase(link, 1);
  if (status != kOk) return status;
  shift_pieces(context.bodies(), stroke, piece - 1, -2);
  shift_pieces(context.links(), stroke, piece - 1, -2);
  return kOk;
}

int remove_body(RecognitionContext& context, std::uint32_t body) {
  FigureRecord* merged = context.bodies().item_checked(body);
  if (merged == nullptr) return kBadArgument;
  const int stroke = merged->stroke_index;
  const int piece = merged->piece;
  FigureRecord* next = link_at(context, stroke, piece + 1);
  if (next == nullptr) return kUndocumented;

  int closing_after = -1;
  if (piece > 0) {
    FigureRecord* previous = link_at(context, stroke, piece - 1);
    if (previous == nullptr) return kBadArgument;
    previous->run.count += next->run.count + merged->run.count - 2;
    if (const int status = prepare_piece(*previous); status != kOk) return status;
    if (const int status = context.links().erase(index_in(context.links(), next), 1);
        status != kOk) {
      return status;
    }
    closing_after = piece - 1;
  } else {
    next->run.count += merged->run.count - 1;
    next->run.points = merged->run.points;
    next->first_point = merged->first_point;
    if (const int status = prepare_piece(*next); status != kOk) return status;
  }
  if (const int status = context.bodies().erase(body, 1); status != kOk) return status;
  shift_pieces_closing(context.links(), stroke, closing_after);
  shift_pieces_closing(context.bodies(), stroke, closing_after);
  return kOk;
}

std::uint32_t piece_index(const DynArray<FigureRecord>& figures, int stroke, int piece) {
  if (stroke < 0 || stroke > 0xFFFF || piece < 0 || piece > 0xFFFF) return figures.size();
  const std::uint32_t i = first_piece_from(figures, stroke, piece);
  if (i == figures.size()) return i;
  const FigureRecord& found = figures[i];
  const bool match =
      found.stroke_index == stroke && found.piece == piece && found.piece_key == piece;
  return match ? i : figures.size();
}

void shift_pieces(DynArray<FigureRecord>& figures, int stroke, int piece, int delta) {
  for (std::uint32_t i = first_piece_from(figures, stroke, piece + 1);
       i < figures.size() && figures[i].stroke_index == stroke; ++i) {
    FigureRecord& figure = figures[i];
    figure.piece = static_cast<std::uint16_t>(figure.piece + delta);
    figure.piece_key = static_cast<std::uint16_t>(figure.piece_key + delta);
  }
}

void shift_pieces_closing(DynArray<FigureRecord>& figures, int stroke, int piece) {
  shift_pieces(figures, stroke, piece, piece == -1 ? -1 : -2);
}

int check_coverage(RecognitionContext& context) {
  const std::uint32_t n = context.strokes().size();
  DynArray<std::uint8_t> marked;
  if (marked.resize(n, 0) != kOk) return kOutOfMemory;
  for (const FigureRecord& body : context.bodies()) {
    if (body.stroke_index >= n) return kUndocumented;
    marked[body.stroke_index] = 1;
  }
  if (marked.contains(0)) return kUndocumented;
  for (const FigureRecord& link : context.links()) {
    if (link.stroke_index >= n) return kUndocumented;
  }
  return kOk;
}

int append_figure(DynArray<FigureRecord>& figures, const FigureRecord& record) {
  FigureRecord copy;
  if (copy.copy_construct(record) != kOk) return kOutOfMemory;
  return figures.push_back(std::move(copy));
}

int insert_figure(DynArray<FigureRecord>& figures, std::uint32_t index, FigureRecord&& record) {
  return insert_at(figures, index, std::move(record));
}

FigureRecord* append_new_figure(DynArray<FigureRecord>& figures) { return figures.push_default(); }

int append_stroke_body(DynArray<FigureRecord>& bodies, const StrokeRecord* stroke,
                       std::uint16_t stroke_index) {
  if (stroke == nullptr) return kBadArgument;
  FigureRecord body;
  if (body.from_stroke(*stroke) != kOk) return kOutOfMemory;
  body.stroke_index = stroke_index;
  body.number = static_cast<std::uint16_t>(bodies.size());
  return bodies.push_back(std::move(body));
}

}  // namespace inkrec
