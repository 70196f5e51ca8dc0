#include "app/delivery/result_delivery.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "app/delivery/alternatives_menu.h"
#include "app/delivery/calculator_result.h"
#include "app/delivery/relay_sender.h"
#include "app/delivery/trailing_space.h"
#include "app/shell/controller.h"
#include "app/shell/result_choice.h"

namespace ductra {
namespace {

// The menu opens beside the word's box, converted from touch units.
constexpr int kTouchUnitsPerPixel = 4;
constexpr int kMenuBelowBox = 6;
constexpr platform::ColorRef kErrorColour = platform::rgb(255, 0, 0);
constexpr platform::ColorRef kValueColour = platform::rgb(0, 0, 0);

std::int16_t clamp_to_16_bits(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

std::vector<crPoint> points_16_bit(const std::vector<InkPoint>& points) {
  std::vector<crPoint> out;
  out.reserve(points.size());
  for (const InkPoint& p : points) out.push_back({clamp_to_16_bits(p.x), clamp_to_16_bits(p.y)});
  return out;
}

}  // namespace

void ResultDelivery::send_units(std::u16string_view units) {
  const platform::WindowHandle target = host_ != nullptr ? host_->target_window() : platform::WindowHandle{};
  ductra::send_text_to_sip(parts_.windows, units, target);
}

void ResultDelivery::post_mode_indicator(bool active) {
  post_sip_state(parts_.windows, mode_indicator(parts_.settings.recognize_mode()), active);
}

void ResultDelivery::deliver_result() {
  if (host_ == nullptr) return;
  InkLayer* ink = host_->ink_layer();
  if (ink != nullptr) end_prompt_stroke(*ink);
  host_->signal_activity();
  const std::optional<InkBox> ink_box = ink != nullptr ? ink->ink_box_in_pixels() : std::nullopt;
  if (ink != nullptr) ink->erase_all();
  set_capture_mode(kCaptureStopped);
  add_pending_word();
  const std::u16string_view text = host_->result_text();
  if (!text.empty() && text.front() == kConfigurationKey) {
    host_->next_configuration();
  } else if (calculator_mode_) {
    deliver_calculated(text, ink_box);
  } else {
    send_units(postprocess_result(text, parts_.settings.space_after_result()));
  }
  set_capture_mode(kCaptureOn);
  count_pen_awaited();
  post_mode_indicator(host_->is_active());
}

void ResultDelivery::deliver_calculated(std::u16string_view text, const std::optional<InkBox>& ink_box) {
  const CalculatedResult calculated = calculate_result(calculator_, text, parts_.decimal_separator, parts_.strings);
  send_units(calculated.text);
  if (calculated.bubble.empty()) return;
  parts_.bubble.show_prompt(calculated.bubble, calculated.failed ? kErrorColour : kValueColour, ink_box);
  parts_.windows.set_timer(host_->shell_window(), kPromptTimer, kPromptShownMs);
}

// The tap that answered the menu may still be under way: its pen-up is
// waited for, once; then the prompt stroke is withdrawn, so the results
// that follow are not held up waiting for a signal that no stroke will give.
void ResultDelivery::end_prompt_stroke(InkLayer& ink) {
  if (!ink.is_prompt_stroke_armed()) return;
  parts_.prompt_stroke.wait(kPromptWaitMs);
  ink.set_prompt_stroke(false);
}

// A failure to add (no dictionary for the charset, the word there already)
// is not shown; the dictionaries are written only when a word went in.
void ResultDelivery::add_pending_word() {
  if (!pending_word_) return;
  const PendingWord word = *std::exchange(pending_word_, std::nullopt);
  if (parts_.engine.add_user_dictionary_word(word.charset, word.text.c_str(), kAddedWordProbability) == 0) {
    parts_.engine.save_user_dictionaries();
  }
}

void ResultDelivery::show_variants_menu(crResultChoice& choice) {
  const std::optional<std::uint32_t> dictionary =
      choice.kind == kChoiceWord ? dictionary_of_current_charset() : std::nullopt;
  platform::PopupMenu menu;
  if (!fill_alternatives_menu(choice, dictionary.has_value(), parts_.strings, &menu)) return;
  int id = 0;
  if (!run_menu(menu, choice, &id)) return;
  if (id == kMenuAddWordItem && dictionary) {
    add_word(choice, *dictionary);
  } else {
    choice.chosen = answer_for_item(id, choice);
  }
}

std::optional<std::uint32_t> ResultDelivery::dictionary_of_current_charset() {
  std::uint32_t count = 0;
  if (parts_.engine.user_dictionary_count(&count) != 0) return std::nullopt;
  const std::uint32_t charset = parts_.dictionaries.current_charset();
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t id = 0;
    if (parts_.engine.user_dictionary_charset(i, &id) == 0 && id == charset) return i;
  }
  return std::nullopt;
}

bool ResultDelivery::run_menu(const platform::PopupMenu& menu, const crResultChoice& choice, int* id) {
  if (host_ == nullptr) return false;
  InkLayer* ink = host_->ink_layer();
  if (ink != nullptr) {
    ink->frame_box({choice.left, choice.top, choice.right, choice.bottom});
    ink->set_capture_mode(kCaptureStopped);
    ink->set_prompt_stroke(true);
  }
  parts_.prompt_stroke.reset();
  *id = platform::track_popup_menu(menu, platform::TPM_RETURNCMD | platform::TPM_NONOTIFY,
                                   choice.right / kTouchUnitsPerPixel,
                                   choice.bottom / kTouchUnitsPerPixel + kMenuBelowBox, host_->shell_window());
  set_capture_mode(kCaptureRecognising);
  return true;
}

// A cancelled dialog leaves the answer as it was.
void ResultDelivery::add_word(crResultChoice& choice, std::uint32_t dictionary) {
  set_capture_mode(kCaptureStopped);
  const std::optional<std::u16string> word =
      parts_.dictionaries.edit_word(alternative_text(choice, 0), dictionary, parts_.windows.foreground_window());
  set_capture_mode(kCaptureRecognising);
  if (!word || !set_returned_text(choice, *word)) return;
  choice.chosen = kChoiceWordAdded;
  pending_word_ = PendingWord{parts_.dictionaries.current_charset(), *word};
}

void ResultDelivery::set_capture_mode(int mode) {
  if (InkLayer* ink = host_ != nullptr ? host_->ink_layer() : nullptr) ink->set_capture_mode(mode);
}

// Looked up again: the result may have switched the configuration and
// rebuilt the ink layer.
void ResultDelivery::count_pen_awaited() {
  if (InkLayer* ink = host_ != nullptr ? host_->ink_layer() : nullptr) ink->count_pen_awaited();
}

void ResultDelivery::take_mode_three_strokes() {
  InkLayer* ink = host_ != nullptr ? host_->ink_layer() : nullptr;
  if (ink == nullptr) return;
  const std::optional<HandedOverStroke> stroke = ink->take_handed_over_stroke();
  if (!stroke || !parts_.segmenter.has_segmenter()) {
    ink->erase_all();
    ink->set_capture_mode(kCaptureOn);
    ink->count_pen_awaited();
    return;
  }
  if (stroke->points.size() > kMostModeThreePoints) {
    end_ink_run();
    count_pen_awaited();
    return;
  }
  const std::vector<crPoint> points = points_16_bit(stroke->points);
  parts_.windows.set_timer(host_->shell_window(), kModeThreeTimer,
                           static_cast<std::uint32_t>(parts_.settings.time_out()));
  const SegmenterResult answer = parts_.segmenter.add_stroke(points, stroke->start_tick, stroke->last_tick);
  deliver_segmenter_answer(answer, *this);
  // A run the answer ended is finished only now that its last text is typed.
  if (!answer.waiting) count_pen_awaited();
}

void ResultDelivery::end_ink_run() {
  if (host_ == nullptr) return;
  parts_.windows.kill_timer(host_->shell_window(), kModeThreeTimer);
  if (InkLayer* ink = host_->ink_layer()) {
    ink->erase_all();
    ink->set_capture_mode(kCaptureOn);
  }
}

void ResultDelivery::erase_oldest_strokes(std::uint32_t count) {
  if (InkLayer* ink = host_ != nullptr ? host_->ink_layer() : nullptr) ink->erase_oldest_strokes(count);
}

void ResultDelivery::switch_to_next_configuration() {
  if (host_ != nullptr) host_->next_configuration();
}

void ResultDelivery::send_text_to_sip(std::u16string_view units) { send_units(units); }

}  // namespace ductra
