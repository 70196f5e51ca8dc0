#include "app/copybook/charsets_handler.h"

#include <algorithm>
#include <array>
#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr char16_t kWhere[] = u"Charsets_Handler::fill_list";
constexpr std::uint32_t kNoCharset = static_cast<std::uint32_t>(-127);
constexpr int kNameKind = 0;
constexpr std::array<std::uint32_t, 6> kLeadingCharsets = {2, 37, 38, 3, 1, 41};

// The charset of the interface language.
std::uint32_t interface_charset() {
  switch (localizer().language()) {
    case 1031:
      return 6;
    case 1034:
      return 8;
    case 1036:
      return 7;
    case 1040:
      return 20;
    case 1049:
      return 4;
    default:
      return 5;
  }
}

platform::MessageResult send(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam = 0,
                             platform::LParam lparam = 0) {
  return platform::WindowSystem::current().send_message(window, message, wparam, lparam).result;
}

}  // namespace

Charsets_Handler::Charsets_Handler(const CopybookList& combo, Engine& engine)
    : combo_(combo), engine_(engine), names_([&engine](std::uint32_t id, crCharSet* record) {
        return engine.char_set(id, record);
      }) {}

bool Charsets_Handler::compare(std::uint32_t a, std::uint32_t b) const {
  const std::uint32_t first = interface_charset();
  if (a == first || b == first) return a == first && b != first;
  for (const std::uint32_t leading : kLeadingCharsets) {
    if (a == leading || b == leading) return a == leading && b != leading;
  }
  return charset_display_name(localizer(), names_, a, kNameKind) <
         charset_display_name(localizer(), names_, b, kNameKind);
}

std::optional<ExceptionInfo> Charsets_Handler::fill_list(std::uint32_t to_select) {
  send(combo_.window, platform::CB_RESETCONTENT);
  std::uint32_t count = 0;
  if (const int status = engine_.char_set_count(&count); status != 0) return ExceptionInfo{kWhere, status};
  if (count < 1) return std::nullopt;
  std::vector<std::uint32_t> ids;
  for (std::uint32_t i = 0; i < count && ids.size() < kMaxCharsets; ++i) {
    crCharSet record{};
    record.id = kNoCharset;
    if (const int status = engine_.char_set_by_index(i, &record); status != 0) return ExceptionInfo{kWhere, status};
    ids.push_back(record.id);
  }
  std::sort(ids.begin(), ids.end(), [this](std::uint32_t a, std::uint32_t b) { return compare(a, b); });
  platform::WParam selected = 0;
  for (const std::uint32_t id : ids) {
    const std::u16string name = charset_display_name(localizer(), names_, id, kNameKind);
    const platform::MessageResult at =
        send(combo_.window, platform::CB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(name.c_str()));
    if (at < 0) continue;
    send(combo_.window, platform::CB_SETITEMDATA, static_cast<platform::WParam>(at), id);
    if (id == to_select) selected = static_cast<platform::WParam>(at);
  }
  send(combo_.window, platform::CB_SETCURSEL, selected);
  if (combo_.on_select != nullptr) combo_.on_select(combo_.owner);
  return std::nullopt;
}

std::uint32_t Charsets_Handler::selected_charset() const {
  return static_cast<std::uint32_t>(combo_selected_data(combo_.window));
}

}  // namespace ductra
