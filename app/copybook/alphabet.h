// The copybook's letter list (list view 1114) and the caption over the
// variants (1117): the letters of one charset with codes 1 to 9371 in the
// engine's order, named by key_name, each item's parameter its code.
// Selecting a letter calls the owner's on_letter_selected. UI thread.
#pragma once

#include <cstdint>
#include <optional>

#include "app/copybook/list_operations.h"
#include "app/shell/engine.h"
#include "app/shell/exception_info.h"

namespace ductra {

class Alphabet {
 public:
  static constexpr std::uint16_t kLastListedCode = 9371;

  Alphabet(const CopybookList& list, platform::WindowHandle caption, Engine& engine)
      : list_(list), caption_(caption), engine_(engine) {}

  // Lists the letters of `charset` and selects the first (also when there
  // is none, which leaves no letter focused).
  std::optional<ExceptionInfo> fill_list(std::uint32_t charset);
  // The caption of the focused letter, from string 16, within 128 units;
  // the caption is left as it is when the string is missing.
  void update_caption() const;
  // Moves the selection one letter back or on, where there is one, and
  // gives the list the keyboard focus.
  void select_previous();
  void select_next();
  // The code of the focused letter; -1 for none.
  std::int32_t focused_letter() const { return focused_item_param(list_); }
  void take_focus() const;

 private:
  void step(int by);

  CopybookList list_;
  platform::WindowHandle caption_;
  Engine& engine_;
};

}  // namespace ductra
