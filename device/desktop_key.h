// A key of the desktop's keyboard as the device's dialogs take it: the
// virtual key their controls know (arrows, backspace, tab, return, escape,
// shift, space, letters and digits; 0 for any other key) and the
// characters it types. The characters of backspace, tab, return and escape
// are always theirs; every other control character is dropped, so a key
// such as Delete types nothing into an edit field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ductra::device {

struct DesktopKey {
  std::uint32_t virtual_key = 0;
  std::u16string characters;
};

// `keysym` is the X key symbol of the key, `typed` the text the display's
// input method made of it.
DesktopKey desktop_key(unsigned long keysym, std::u16string_view typed);

}  // namespace ductra::device
