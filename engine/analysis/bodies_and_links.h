// Splitting the strokes of a recognition run into bodies (the parts that
// belong to letters) and links (the connecting runs between two bodies of
// one stroke), and the piece bookkeeping every pass of the split relies on.
//
// The pieces of a stroke are FigureRecords in the context's bodies and
// links arrays, found by (stroke index, piece, piece). Their runs point
// into the stroke's run of point records (never owned); neighbouring
// pieces share their joint point, and along a stroke the pieces alternate
// between bodies and links with consecutive piece numbers. Each array
// keeps its records in stroke and piece order.
//
// Statuses: 0; -1 when an array cannot grow; -2 for a missing index or
// record; -3 for a body without the link a merge needs or a stroke left
// without a body; a geometry error unchanged. After a failure the arrays
// stay as the failing step left them and the caller abandons the run.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/foundation/dyn_array.h"
#include "engine/records/figure_records.h"

namespace inkrec {

class RecognitionContext;

// With the request's cursive_split switch set, runs the named passes in
// their order, each named one handed to trace_pass once it succeeded, then
// splits long links at turns and long steps, checks the coverage and
// numbers the bodies by their index. Without it every stroke becomes one
// whole-stroke body and no link is made. 0 at once without strokes; else
// the first failing status.
int split_into_bodies_and_links(RecognitionContext& context);

// Hands the links as they stand and the pass name to the kernel's observer,
// when it has one.
void trace_pass(RecognitionContext& context, std::u16string_view name);

// Merges the body before link i, the link and the body after it into the
// body before, which takes the whole-stroke flag when the link was piece 1
// and the stroke has no link at piece 3. The later pieces of the stroke
// move down by 2. -2 for a bad index or a missing body.
int remove_link(RecognitionContext& context, std::uint32_t link);
// Merges body b into the links around it: with a link before it, that link
// takes the body and the link after it; a first body (piece 0) is taken by
// the link after it, which then starts where the body started. -3 without a
// link after the body, -2 for a bad index or a missing link before it.
int remove_body(RecognitionContext& context, std::uint32_t body);

// The index of the piece (stroke, piece, piece) in an array kept in stroke
// and piece order, found by halving; the array's count when there is none.
std::uint32_t piece_index(const DynArray<FigureRecord>& figures, int stroke, int piece);

// Adds delta to both piece keys of every record of the stroke whose piece
// is greater than `piece` (the array in stroke and piece order).
void shift_pieces(DynArray<FigureRecord>& figures, int stroke, int piece, int delta);
// The shift that closes the gap a merge leaves after `piece`: -1 when piece
// is -1 (every piece of the stroke), else -2.
void shift_pieces_closing(DynArray<FigureRecord>& figures, int stroke, int piece);

// Every body names a stroke of the context, every stroke has a body and
// every link names a stroke: 0, else -3.
int check_coverage(RecognitionContext& context);

// Appends a copy of the record: 0 or -1.
int append_figure(DynArray<FigureRecord>& figures, const FigureRecord& record);
// Moves the record in before element `index` (index = count appends): 0,
// -2 past the end, -1 when the array cannot grow.
int insert_figure(DynArray<FigureRecord>& figures, std::uint32_t index, FigureRecord&& record);
// Appends an empty record: the record, or null when the array cannot grow.
FigureRecord* append_new_figure(DynArray<FigureRecord>& figures);
// Appends the whole-stroke body of the stroke with index `stroke_index`:
// its run, line index, geometry and reference band, both piece keys and
// the first point 0, whole-stroke flag set, number = its index in the
// array. -2 for a null stroke, -1 when the body cannot be added.
int append_stroke_body(DynArray<FigureRecord>& bodies, const StrokeRecord* stroke,
                       std::uint16_t stroke_index);

}  // namespace inkrec
