// The pictures of the input-panel button: a narrow and a wide image list of
// three images each, one per recognition-mode indicator, and the index of
// the image shown.
//
// Their size follows the screen's density: at up to 191 dots per inch the
// narrow images are 16 by 16 and the wide ones 32 by 16; at 192 and above
// 32 by 32 and 64 by 32. Image i shows state i: a white tile with a black
// frame and i + 1 bars, so the three are told apart at a glance.
#pragma once

#include <memory>

#include "appplatform/draw/image_list.h"

namespace ductra::quillpad {

inline constexpr int kSipImageCount = 3;

class SipImageLists {
 public:
  // Null when a list cannot be made.
  static std::unique_ptr<SipImageLists> create(int dots_per_inch);

  SipImageLists(std::unique_ptr<platform::ImageList> narrow, std::unique_ptr<platform::ImageList> wide)
      : narrow_(std::move(narrow)), wide_(std::move(wide)) {}

  const platform::ImageList& narrow() const { return *narrow_; }
  const platform::ImageList& wide() const { return *wide_; }
  int current() const { return current_; }
  void select(int index) { current_ = index; }

 private:
  std::unique_ptr<platform::ImageList> narrow_;
  std::unique_ptr<platform::ImageList> wide_;
  int current_ = 0;
};

}  // namespace ductra::quillpad
