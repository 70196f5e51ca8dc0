// The desktop's keys as the device's dialogs take them.
#include "device/desktop_key.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/text.h"

namespace ductra::device {
namespace {

TEST(DesktopKeyTest, EachKeyGivesItsVirtualKeyAndTheCharactersAnEditFieldTakes) {
  struct Case {
    unsigned long keysym;
    std::u16string typed;  // what the input method made of the key
    std::uint32_t virtual_key;
    std::u16string characters;
  };
  const Case cases[] = {
      {XK_a, u"a", 'A', u"a"},
      {XK_A, u"A", 'A', u"A"},
      {XK_7, u"7", '7', u"7"},
      {XK_space, u" ", platform::VK_SPACE, u" "},
      {XK_eacute, u"é", 0, u"é"},
      {XK_Cyrillic_ze, u"з", 0, u"з"},
      {0x1F600 + 0x1000000, u"\U0001F600", 0, u"\U0001F600"},  // a pair of units
      {XK_dead_acute, u"", 0, u""},                             // composing: nothing yet
      {XK_BackSpace, u"\b", platform::VK_BACK, u"\b"},
      {XK_BackSpace, u"", platform::VK_BACK, u"\b"},            // whatever the input method said
      {XK_Tab, u"\t", platform::VK_TAB, u"\t"},
      {XK_ISO_Left_Tab, u"", platform::VK_TAB, u"\t"},          // shift and tab
      {XK_Return, u"\r", platform::VK_RETURN, u"\r"},
      {XK_KP_Enter, u"\r", platform::VK_RETURN, u"\r"},
      {XK_Escape, u"\x1b", platform::VK_ESCAPE, u"\x1b"},
      {XK_Left, u"", platform::VK_LEFT, u""},
      {XK_Up, u"", platform::VK_UP, u""},
      {XK_Right, u"", platform::VK_RIGHT, u""},
      {XK_KP_Down, u"", platform::VK_DOWN, u""},
      {XK_Shift_L, u"", platform::VK_SHIFT, u""},
      {XK_Delete, u"\x7f", 0, u""},                             // would be added as a character
      {XK_a, u"\x01", 'A', u""},                                // control and a
      {XK_x, u"x\u0085y", 'X', u"xy"},                          // a C1 control inside
  };
  for (const Case& c : cases) {
    const DesktopKey key = desktop_key(c.keysym, c.typed);
    EXPECT_EQ(key.virtual_key, c.virtual_key) << std::hex << c.keysym;
    EXPECT_EQ(key.characters, c.characters) << std::hex << c.keysym << " " << platform::to_utf8(key.characters);
  }
}

}  // namespace
}  // namespace ductra::device
