#include "device/desktop_key.h"

#include <X11/keysym.h>

#include "appplatform/dialog/control_constants.h"

namespace ductra::device {
namespace {

struct NamedKey {
  unsigned long keysym;
  std::uint32_t virtual_key;
  char16_t character;  // 0: types nothing
};

// The keys the dialogs handle by their virtual key.
constexpr NamedKey kNamedKeys[] = {
    {XK_BackSpace, platform::VK_BACK, u'\b'},    {XK_Tab, platform::VK_TAB, u'\t'},
    {XK_ISO_Left_Tab, platform::VK_TAB, u'\t'},  {XK_KP_Tab, platform::VK_TAB, u'\t'},
    {XK_Return, platform::VK_RETURN, u'\r'},     {XK_KP_Enter, platform::VK_RETURN, u'\r'},
    {XK_Escape, platform::VK_ESCAPE, 0x1B},      {XK_Left, platform::VK_LEFT, 0},
    {XK_Up, platform::VK_UP, 0},                 {XK_Right, platform::VK_RIGHT, 0},
    {XK_Down, platform::VK_DOWN, 0},             {XK_KP_Left, platform::VK_LEFT, 0},
    {XK_KP_Up, platform::VK_UP, 0},              {XK_KP_Right, platform::VK_RIGHT, 0},
    {XK_KP_Down, platform::VK_DOWN, 0},          {XK_Shift_L, platform::VK_SHIFT, 0},
    {XK_Shift_R, platform::VK_SHIFT, 0},
};

// Letters, digits and space have virtual keys of their own (a letter's is
// its capital); other printable keys have none.
std::uint32_t printable_virtual_key(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<std::uint32_t>(keysym - XK_a + 'A');
  if ((keysym >= XK_A && keysym <= XK_Z) || (keysym >= XK_0 && keysym <= XK_9)) return static_cast<std::uint32_t>(keysym);
  return keysym == XK_space ? static_cast<std::uint32_t>(platform::VK_SPACE) : 0;
}

bool is_control_character(char16_t unit) { return unit < u' ' || (unit >= 0x7F && unit <= 0x9F); }

}  // namespace

DesktopKey desktop_key(unsigned long keysym, std::u16string_view typed) {
  for (const NamedKey& named : kNamedKeys) {
    if (named.keysym != keysym) continue;
    return {named.virtual_key, named.character != 0 ? std::u16string(1, named.character) : std::u16string()};
  }
  DesktopKey key{printable_virtual_key(keysym), {}};
  for (const char16_t unit : typed) {
    if (!is_control_character(unit)) key.characters.push_back(unit);
  }
  return key;
}

}  // namespace ductra::device
