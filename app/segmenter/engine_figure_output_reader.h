// EngineFigureOutputReader: the FigureOutputReader over the engine's own
// figure output, read through the engine's read-only figure-output
// interface (inkrec/figure_output.h).
//
// Each group of the output becomes an OutputGroup: its figures in order,
// each with its index and, as its readings, the entries of its first two
// candidate lists (letters, then marks); and the entries of the group's
// answer list as its answers. Every entry keeps its character, its figure
// code (the shape id of the variant that read it) and its state, so a
// rejected entry (state 3) stays recognisable as one.
#pragma once

#include "app/segmenter/figure_output_reader.h"
#include "app/shell/engine_library.h"

namespace ductra {

class EngineFigureOutputReader final : public FigureOutputReader {
 public:
  // The exports must outlive the reader.
  explicit EngineFigureOutputReader(const EngineExports& exports) : e_(exports) {}

  // The output replaces what *output held, also when the read fails part
  // way (then with what was read so far).
  int read(const void* list, FigureOutput* output) const override;

 private:
  int read_group(const void* list, std::uint32_t g, OutputGroup* group) const;
  int read_figure(const void* list, std::uint32_t g, std::uint32_t f, OutputFigure* figure) const;
  // Appends the entries that `fetch(readings, room, count)` gives.
  template <typename Fetch>
  static int append_readings(Fetch fetch, std::vector<Reading>* readings);

  const EngineExports& e_;
};

}  // namespace ductra
