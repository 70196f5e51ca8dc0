// What result delivery needs of parts built elsewhere, each seen only
// through what delivery asks of it: the user dictionaries' word dialog, the
// touch shim's "prompt stroke ended" signal, the intelligent mode's
// segmenter and the prompt bubble. All calls come on the UI thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/segmenter/segmenter_result.h"
#include "app/shell/ink_stroke.h"
#include "appplatform/draw/color.h"
#include "appplatform/window_types.h"
#include "inkrec/inkrec.h"

namespace ductra {

// The user dictionaries as the alternatives menu offers them.
class DictionaryWords {
 public:
  virtual ~DictionaryWords() = default;
  // The charset of the current configuration (its user dictionary gets words).
  virtual std::uint32_t current_charset() = 0;
  // Runs the word dialog on `word` for user dictionary `dictionary`, owned
  // by `parent`: the edited word when the user confirms it, else nothing.
  virtual std::optional<std::u16string> edit_word(std::u16string_view word, std::uint32_t dictionary,
                                                  platform::WindowHandle parent) = 0;
};

// The event the touch shim sets when the prompt stroke (the tap that
// answers the alternatives menu) ends.
class PromptStrokeSignal {
 public:
  virtual ~PromptStrokeSignal() = default;
  virtual void reset() = 0;
  // Waits at most `ms` for the signal; true when it came.
  virtual bool wait(std::uint32_t ms) = 0;
};

// The intelligent mode's segmenter, while the recognition mode is 3.
class StrokeSegmenter {
 public:
  virtual ~StrokeSegmenter() = default;
  virtual bool has_segmenter() = 0;
  // Takes one finished stroke with the ticks of its first and last point.
  virtual SegmenterResult add_stroke(std::span<const crPoint> points, std::uint32_t start, std::uint32_t end) = 0;
};

// The prompt bubble as the calculator mode shows it: the text in the
// colour, centred on the ink's box (pixels; the screen's middle without
// ink) and kept on the screen. The shell window's timer 2 hides it.
class PromptBubble {
 public:
  virtual ~PromptBubble() = default;
  virtual void show_prompt(std::u16string_view text, platform::ColorRef colour,
                           const std::optional<InkBox>& ink_box) = 0;
};

}  // namespace ductra
