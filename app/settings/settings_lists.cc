#include "app/settings/settings_lists.h"

#include <algorithm>

#include "app/common/localizer.h"
#include "appplatform/dialog/control_constants.h"

namespace ductra {

void fill_charset_list(const Dialog& dialog, int list, std::span<const CharsetId> ids, int kind,
                       const CharsetLookup& charsets) {
  dialog.send_item(list, platform::LB_RESETCONTENT);
  for (const CharsetId id : ids) {
    const std::u16string name = charset_display_name(localizer(), charsets, id, kind);
    const platform::MessageResult at =
        dialog.send_item(list, platform::LB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(name.c_str()));
    if (at >= 0) dialog.send_item(list, platform::LB_SETITEMDATA, static_cast<platform::WParam>(at), id);
  }
  dialog.send_item(list, platform::LB_SETCURSEL, 0);
}

void add_string_items(const Dialog& dialog, int combo, std::span<const std::uint32_t> ids, std::size_t max_units) {
  for (const std::uint32_t id : ids) {
    std::u16string text = localizer().string(id);
    if (max_units > 0) text.resize(std::min(text.size(), max_units - 1));
    dialog.send_item(combo, platform::CB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(text.c_str()));
  }
}

}  // namespace ductra
