// The part of the application this build does not have yet, standing in
// its interfaces so the program runs without it: no intelligent-mode
// segmenter (recognition mode 3 then runs without one, its ink erased). It
// does nothing and says so through its answers (no segmenter exists); it
// does not pretend to have done work. It is replaced by the real part as it
// lands.
#pragma once

#include "app/delivery/delivery_interfaces.h"
#include "app/shell/controller_parts.h"

namespace ductra {

class NoSegmenter final : public SegmenterControl, public StrokeSegmenter {
 public:
  void create_or_limit_segmenter(int) override {}
  void destroy_segmenter() override {}
  void set_segmenter_charsets(std::span<const std::uint32_t>) override {}
  bool has_segmenter() override { return false; }
  SegmenterResult add_stroke(std::span<const crPoint>, std::uint32_t, std::uint32_t) override { return {}; }
};

}  // namespace ductra
