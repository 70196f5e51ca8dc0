#include "app/program/configuration_words.h"

namespace ductra {

// Opened from the alternatives menu: the panel is shown again afterwards.
std::optional<std::u16string> ConfigurationWords::edit_word(std::u16string_view word, std::uint32_t dictionary,
                                                            platform::WindowHandle parent) {
  WordDialog dialog(std::u16string(word), dictionary, true, engine_, host_);
  if (!dialog.run(parent)) return std::nullopt;
  return dialog.text();
}

}  // namespace ductra
