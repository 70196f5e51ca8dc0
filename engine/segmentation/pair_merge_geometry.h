// The geometric tests the pair-merge decision asks about two letter
// results of a line, the later (b) following the earlier (a): whether b's
// single figure belongs with a neighbour other than a, the angle of the
// stroke that would join a's bottom to b's, and the extents of the two
// results in candidate positions and in figures.
//
// The tests read the results' geometries and figures and the run's pair
// table through the fragment state, and change nothing but their outputs.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// Clears *flag when b is a single figure whose nearest neighbour on its
// line (least pair value) is a figure of neither result and lies level
// with it: the vertical distance of the two figures' box centres is at
// most half the horizontal distance of the two results' reference points.
// Otherwise the flag is left as it is. 0; -2 when b's figure is missing.
int check_single_figure_partner(FragmentState& state, const FigureGroup& a, const FigureGroup& b,
                                std::uint8_t* flag);

// The angle, in whole degrees against the line's slant, of the link from
// the middle of a's lowest third (the mean x of a's points in the lowest
// third of its box, halfway to its reference point; halfway between its
// reference point and its bottom) to b's bottom below b's reference
// point. 0 and nothing written for a null output; -2 when a has a null
// figure, no geometry, or no point in its lowest third.
int bottom_link_angle(FragmentState& state, const FigureGroup& a, const FigureGroup& b,
                      std::int32_t* angle);

// The least and greatest member of each result's set.
struct PairBounds {
  std::uint32_t a_first = 0;
  std::uint32_t a_last = 0;
  std::uint32_t b_first = 0;
  std::uint32_t b_last = 0;
};

// Of the candidate positions (the position sets) / of the figures (the
// member sets) of the two results: 0, or -2 with *bounds unchanged when
// either set is empty.
int position_bounds_of_pair(const FigureGroup& a, const FigureGroup& b, PairBounds* bounds);
int figure_bounds_of_pair(const FigureGroup& a, const FigureGroup& b, PairBounds* bounds);

}  // namespace inkrec
