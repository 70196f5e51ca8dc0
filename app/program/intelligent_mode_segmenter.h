// IntelligentModeSegmenter: the controller's segmenter of recognition mode 3
// and the one that result delivery hands the mode's strokes to.
//
// It makes a Segmenter over the engine's figure output when the controller
// asks for one (the mode is chosen) and drops it when the mode changes. The
// charsets it is given are those the engine was given last; a segmenter made
// later starts with them too, so its tables always match the engine's
// charsets. When the segmenter's tables cannot be built, none exists and the
// out-of-memory error goes to the error reports (the box); the mode's strokes
// are then erased as they come. Use from the UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/delivery/delivery_interfaces.h"
#include "app/segmenter/engine_figure_output_reader.h"
#include "app/segmenter/segmenter.h"
#include "app/shell/controller_parts.h"
#include "app/shell/engine.h"

namespace ductra {

class IntelligentModeSegmenter final : public SegmenterControl, public StrokeSegmenter {
 public:
  // The engine and the reports must outlive this object.
  IntelligentModeSegmenter(Engine& engine, ErrorReports& reports);

  // SegmenterControl: made with the time limit, or given it when it exists.
  void create_or_limit_segmenter(int time_out_ms) override;
  void destroy_segmenter() override;
  void set_segmenter_charsets(std::span<const std::uint32_t> ids) override;

  // StrokeSegmenter. Without a segmenter a stroke gets an empty answer.
  bool has_segmenter() override { return segmenter_ != nullptr; }
  SegmenterResult add_stroke(std::span<const crPoint> points, std::uint32_t start,
                             std::uint32_t end) override;

 private:
  Engine& engine_;
  ErrorReports& reports_;
  EngineFigureOutputReader reader_;
  std::vector<std::uint32_t> charsets_;
  std::unique_ptr<Segmenter> segmenter_;
};

}  // namespace ductra
