#include "tools/inkrec/progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace inkrec::tool {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::string title, std::size_t total)
    : title_(std::move(title)), total_(total), on_terminal_(::isatty(STDERR_FILENO) == 1) {
  if (on_terminal_) draw();
}

ProgressBar::~ProgressBar() {
  if (on_terminal_) std::fputc('\n', stderr);
}

void ProgressBar::step() {
  ++done_;
  const int width = total_ == 0 ? kBarWidth : static_cast<int>(done_ * kBarWidth / total_);
  if (on_terminal_ && (width != drawn_width_ || done_ == total_)) {
    drawn_width_ = width;
    draw();
  }
}

void ProgressBar::draw() const {
  const int width = total_ == 0 ? kBarWidth : static_cast<int>(done_ * kBarWidth / total_);
  std::fprintf(stderr, "\r%s [%-*s] %zu/%zu", title_.c_str(), kBarWidth,
               std::string(static_cast<std::size_t>(width), '#').c_str(), done_, total_);
  std::fflush(stderr);
}

}  // namespace inkrec::tool
