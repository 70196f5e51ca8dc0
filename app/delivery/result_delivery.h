// ResultDelivery: the controller's road from a recognised text to the
// focused program, and the answers the UI gives on that road.
//
// - deliver_result (WM_DUCTRA_RECOGNIZED): waits (at most kPromptWaitMs)
//   for the end of the stroke that answered the alternatives menu, then
//   withdraws that prompt stroke, so later results do not wait; erases the
//   ink; a text beginning with the configuration key (29) selects the next
//   configuration and types nothing; any other text gets its trailing
//   space (trailing_space.h) and goes to the relay window.
// - show_variants_menu (WM_DUCTRA_VARIANTS, inside the engine's callback):
//   frames the word, arms the prompt stroke and asks the user through the
//   alternatives menu (alternatives_menu.h). A word the user adds to a user
//   dictionary is answered at once (-2 and its text) but added and saved
//   only when the result is delivered: the engine is in the middle of a
//   recognition while the menu is shown.
// - take_mode_three_strokes (intelligent mode): hands the stroke the
//   capture thread handed over to the segmenter (at most
//   kMostModeThreePoints points) and delivers its answer
//   (deliver_segmenter_answer).
// - In the calculator mode (off until set_calculator_mode) a result is
//   evaluated instead of given its space (calculator_result.h), and the
//   bubble shows the expression with its value or error for
//   kPromptShownMs, centred on the ink.
// Nothing is typed while no relay window exists. UI thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/calculator/calculator.h"
#include "app/common/localizer.h"
#include "app/delivery/delivery_interfaces.h"
#include "app/segmenter/mode3_delivery.h"
#include "app/shell/controller_parts.h"
#include "app/shell/engine.h"
#include "appplatform/popup_menu.h"
#include "appplatform/window_system.h"

namespace ductra {

inline constexpr std::uint32_t kPromptWaitMs = 5000;
inline constexpr std::size_t kMostModeThreePoints = 350;
// The probability a word added from the alternatives menu gets.
inline constexpr std::uint32_t kAddedWordProbability = 5000;
inline constexpr std::uint32_t kPromptShownMs = 1500;

struct DeliveryParts {
  platform::WindowSystem& windows;
  Engine& engine;
  ControllerSettings& settings;
  const Localizer& strings;
  DictionaryWords& dictionaries;
  PromptStrokeSignal& prompt_stroke;
  StrokeSegmenter& segmenter;
  PromptBubble& bubble;
  char16_t decimal_separator;  // the user's, for the calculator mode
};

class ResultDelivery final : public ResultRoad, private Mode3Delivery {
 public:
  explicit ResultDelivery(DeliveryParts parts) : parts_(parts) {}

  void attach(ResultHost* host) override { host_ = host; }
  void send_units(std::u16string_view units) override;
  void post_mode_indicator(bool active) override;
  void deliver_result() override;
  void show_variants_menu(crResultChoice& choice) override;
  void take_mode_three_strokes() override;

  void set_calculator_mode(bool on) { calculator_mode_ = on; }
  bool calculator_mode() const { return calculator_mode_; }

 private:
  struct PendingWord {
    std::uint32_t charset = 0;
    std::u16string text;
  };

  void end_prompt_stroke(InkLayer& ink);
  void add_pending_word();
  std::optional<std::uint32_t> dictionary_of_current_charset();
  bool run_menu(const platform::PopupMenu& menu, const crResultChoice& choice, int* id);
  void add_word(crResultChoice& choice, std::uint32_t dictionary);
  void set_capture_mode(int mode);
  void count_pen_awaited();
  void deliver_calculated(std::u16string_view text, const std::optional<InkBox>& ink_box);

  // Mode3Delivery.
  void end_ink_run() override;
  void erase_oldest_strokes(std::uint32_t count) override;
  void switch_to_next_configuration() override;
  void send_text_to_sip(std::u16string_view units) override;

  DeliveryParts parts_;
  ResultHost* host_ = nullptr;
  std::optional<PendingWord> pending_word_;
  bool calculator_mode_ = false;
  Calculator calculator_;
};

}  // namespace ductra
