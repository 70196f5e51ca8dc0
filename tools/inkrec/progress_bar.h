// ProgressBar: a one-line progress bar for a long step of the tool.
//
// It draws on standard error only when that is a terminal, so logs and
// pipes get no control characters; the line is finished when the bar goes.
#pragma once

#include <cstddef>
#include <string>

namespace inkrec::tool {

class ProgressBar {
 public:
  ProgressBar(std::string title, std::size_t total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Counts one more item done and redraws when the bar moved.
  void step();

 private:
  void draw() const;

  std::string title_;
  std::size_t total_;
  std::size_t done_ = 0;
  int drawn_width_ = -1;
  bool on_terminal_;
};

}  // namespace inkrec::tool
