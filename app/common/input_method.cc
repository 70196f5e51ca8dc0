#include "app/common/input_method.h"

#include <algorithm>
#include <array>
#include <string>

#include "appplatform/com/input_panel_calls.h"
#include "appplatform/component_protocol.h"

namespace ductra {
namespace {

// The recorded default input method: a string value, read up to its first
// 0 unit within kDefaultImBytes.
std::optional<platform::Guid> recorded_default_im(const platform::Registry& registry) {
  std::array<char16_t, kDefaultImBytes / sizeof(char16_t)> units{};
  std::uint32_t size = 0;
  platform::ValueType type = platform::ValueType::none;
  if (registry.read_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue, &type,
                          std::as_writable_bytes(std::span(units)), &size) != platform::Status::ok ||
      type != platform::ValueType::string) {
    return std::nullopt;
  }
  const std::size_t read_units = std::min<std::size_t>(size / sizeof(char16_t), units.size());
  const auto end = std::find(units.begin(), units.begin() + read_units, u'\0');
  platform::Guid clsid;
  if (platform::guid_from_string(std::u16string_view(units.data(), end - units.begin()), clsid) != platform::S_OK) {
    return std::nullopt;
  }
  return clsid;
}

}  // namespace

bool show_sip(bool on) { return platform::sip_show_im(on); }

bool set_current_im(const platform::Guid& clsid, SipShow show) {
  if (!platform::sip_set_current_im(clsid)) return false;
  if (show == SipShow::unchanged) return true;
  return show_sip(show == SipShow::show);
}

bool select_default_im(const platform::Registry& registry, SipShow show) {
  const std::optional<platform::Guid> clsid = recorded_default_im(registry);
  return clsid && set_current_im(*clsid, show);
}

bool select_own_im(SipShow show) { return set_current_im(platform::kQuillpadClassId, show); }

std::optional<ImState> query_im_state() {
  const std::optional<bool> ours = platform::sip_current_im_is(platform::kQuillpadClassId);
  if (!ours) return std::nullopt;
  platform::SipInfo info;
  if (!platform::sip_get_info(info)) return std::nullopt;
  return ImState{*ours, (info.flags & platform::SIPF_ON) != 0};
}

}  // namespace ductra
