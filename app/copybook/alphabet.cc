#include "app/copybook/alphabet.h"

#include <algorithm>
#include <vector>

#include "app/common/localizer.h"
#include "app/common/key_name.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/draw/display.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr char16_t kWhere[] = u"Alphabet::fill_list";
constexpr std::uint32_t kNoCharset = static_cast<std::uint32_t>(-127);
constexpr std::uint32_t kAllCharsets = 0;
constexpr std::uint32_t kCaptionText = 16;
constexpr std::size_t kTextUnits = 128;
constexpr int kStandardDots = 96;
constexpr int kLetterCell = 15;
constexpr int kWordCell = 70;  // macros and the like, named by words
constexpr int kScrollNudge = 20;

platform::MessageResult send(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam = 0,
                             platform::LParam lparam = 0) {
  return platform::WindowSystem::current().send_message(window, message, wparam, lparam).result;
}

int cell_width(std::uint32_t charset) { return charset == 1 || charset == 41 ? kWordCell : kLetterCell; }

}  // namespace

std::optional<ExceptionInfo> Alphabet::fill_list(std::uint32_t charset) {
  send(list_.window, platform::LVM_DELETEALLITEMS);
  std::uint32_t count = 0;
  if (const int status = engine_.char_set_symbol_count(kAllCharsets, &count); status != 0) {
    return ExceptionInfo{kWhere, status};
  }
  std::vector<std::uint16_t> codes;
  for (std::uint32_t i = 0; i < count; ++i) {
    crCharSetSymb record{};
    record.charset_id = kNoCharset;
    engine_.char_set_symbol_by_index(i, &record);  // a failed read stays "none" and matches nothing
    if (record.charset_id == charset && record.code >= 1 && record.code <= kLastListedCode) codes.push_back(record.code);
  }
  for (std::size_t i = 0; i < codes.size(); ++i) {
    std::u16string text = key_name(codes[i]).substr(0, kTextUnits - 1);
    platform::ListViewItem item;
    item.mask = platform::LVIF_TEXT | platform::LVIF_PARAM | platform::LVIF_STATE;
    item.item = static_cast<int>(i);
    item.state_mask = ~0u;
    item.text = text.data();
    item.param = codes[i];
    send(list_.window, platform::LVM_INSERTITEM, 0, reinterpret_cast<platform::LParam>(&item));
  }
  const int scale_x = std::max(1, platform::display_dots_per_inch() / kStandardDots);
  const int scale_y = scale_x;
  send(list_.window, platform::LVM_SETICONSPACING, 0,
       platform::make_lparam(cell_width(charset) * scale_x, kLetterCell * scale_y));
  platform::WindowSystem& windows = platform::WindowSystem::current();
  if (const std::optional<std::uint32_t> style = windows.window_style(list_.window)) {
    windows.set_window_style(list_.window, *style & ~platform::WS_HSCROLL);
  }
  send(list_.window, platform::LVM_SCROLL, kScrollNudge, 0);
  send(list_.window, platform::LVM_SCROLL, static_cast<platform::WParam>(-kScrollNudge), 0);
  windows.invalidate_rect(list_.window, std::nullopt, true);
  select_item(list_, 0);
  take_focus();
  return std::nullopt;
}

void Alphabet::update_caption() const {
  const auto code = static_cast<std::uint16_t>(focused_letter() & 0xFFFF);
  const std::u16string name = key_name(code);
  const FormatArg args[] = {std::u16string_view(name)};
  const std::u16string caption = localizer().format(kCaptionText, args, kTextUnits - 1);
  if (!caption.empty()) platform::WindowSystem::current().set_window_text(caption_, caption);
}

void Alphabet::take_focus() const { platform::WindowSystem::current().set_focus(list_.window); }

void Alphabet::select_previous() { step(-1); }

void Alphabet::select_next() { step(1); }

void Alphabet::step(int by) {
  const auto focused = static_cast<int>(
      send(list_.window, platform::LVM_GETNEXTITEM, static_cast<platform::WParam>(-1), platform::LVNI_FOCUSED));
  const int target = focused + by;
  const auto count = static_cast<int>(send(list_.window, platform::LVM_GETITEMCOUNT));
  if (target >= 0 && target < count) select_item(list_, target);
  take_focus();
}

}  // namespace ductra
