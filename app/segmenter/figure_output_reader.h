// FigureOutputReader: reads the engine's figure output, the list that the
// engine hands out after a recognition and owns, into a FigureOutput.
//
// read() is called under the engine gate, before the next recognition; it
// copies what it needs and keeps no pointer into the list. It returns 0, -2
// for a null or unreadable list and -1 when memory runs out.
#pragma once

#include "app/composition/figure_output.h"

namespace ductra {

class FigureOutputReader {
 public:
  virtual ~FigureOutputReader() = default;
  virtual int read(const void* list, FigureOutput* output) const = 0;
};

}  // namespace ductra
