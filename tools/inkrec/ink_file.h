// Ink files: one sample a line, either `label<TAB>writer<TAB>strokes` or the
// strokes alone. Strokes are separated by `;`, points by blanks, and a point
// is `x,y` in tablet units (y down).
//
// A line that cannot be read gives an error text naming what is wrong; the
// caller reports it with the line number and goes on with the next line.
// Every point of a sample that was read fits the engine's 16-bit points.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "inkrec/inkrec.h"

namespace inkrec::tool {

// At most this many points make one stroke.
inline constexpr std::size_t kMaxStrokePoints = 65535;

struct InkSample {
  long line = 0;  // 1-based line of the file
  bool labelled = false;
  std::string label;  // UTF-8
  std::string writer;
  std::vector<std::vector<crPoint>> strokes;
};

// Reads one line (without its line end) into *sample. False with *error set
// when the line is not a sample; a blank line is neither (false, empty error).
bool parse_ink_line(std::string_view text, InkSample* sample, std::string* error);

// A line of a file that could not be read, and why.
struct InkError {
  long line = 0;
  std::string message;
};

// Reads every line of a stream, keeping the samples and the errors in line
// order.
void read_ink(std::istream& in, std::vector<InkSample>* samples, std::vector<InkError>* errors);

}  // namespace inkrec::tool
