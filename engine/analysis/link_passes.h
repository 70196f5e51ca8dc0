// The passes of the bodies-and-links split, in the groups they are built
// in. split_into_bodies_and_links (bodies_and_links.h) runs them in their
// fixed order; each may also be run alone on a context whose pieces the
// passes before it made.
//
// For a link L of stroke s at piece p, B1 is the body (s, p - 1) and B2 the
// body (s, p + 1); H is the settings' letter height and H_m the mean
// height. A pass that removes links walks the links array from its first
// record and, after merging a link away (remove_link), examines the same
// position again, which the next link has moved into. Links of kind 1 (the
// one-point link of a long stroke cut) are never removed. Each pass returns
// 0 or the first failing status: -2 for a missing stroke, line, body or pair
// record it needs, -1 when an array cannot grow, a merge or geometry error
// unchanged.
#pragma once

namespace inkrec {

class RecognitionContext;

// ---- Creation ("create").
// Cuts every stroke into alternating bodies and links: a link is a run
// where the pen moves right and up at least as steeply as the link
// threshold; small marks, flat dashes and strokes above their line stay
// whole, and a long stroke above its line is cut at its centroid.
int create_bodies_and_links(RecognitionContext& context);

// ---- Link removal rules.
int remove_point_links(RecognitionContext& context);
int remove_links_when_start_n_end_match(RecognitionContext& context);
int remove_b_links(RecognitionContext& context);
int remove_k_links(RecognitionContext& context);
int remove_small_links_ind_down_line(RecognitionContext& context);
int remove_start_point_links(RecognitionContext& context);

// ---- Link shortening, splitting and body rules.
int shorten_links_by_crosses(RecognitionContext& context);
int shorten_links_for_body_tales_and_sharp(RecognitionContext& context);
int shorten_links_for_body_tales_2(RecognitionContext& context);
int make_continuation_for_links(RecognitionContext& context);
int remove_point_bodies(RecognitionContext& context);
int remove_median_body(RecognitionContext& context);
int split_links_at_turns(RecognitionContext& context);
int split_links_at_long_steps(RecognitionContext& context);

// ---- Loop and undoubted-link rules.
int remove_loop_links(RecognitionContext& context);
int remove_links_above_loops_of_uzd(RecognitionContext& context);
int remove_links_inside_loops(RecognitionContext& context);
int remove_loops_links(RecognitionContext& context);
int remove_undoubted_links(RecognitionContext& context);

}  // namespace inkrec
