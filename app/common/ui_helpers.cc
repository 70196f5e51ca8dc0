#include "app/common/ui_helpers.h"

#include "app/common/localizer.h"
#include "appplatform/device_file.h"
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/launcher.h"
#include "appplatform/system_facts.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr platform::MessageResult kListError = -1;
constexpr int kBoldWeight = 700;

bool in_component_range(int value) { return value >= 0 && value <= 255; }

}  // namespace

bool open_url(const platform::DeviceRoot& root, const platform::ProgramMap& map, std::u16string_view url) {
  platform::Process browser;
  return platform::start_program(root, map, kBrowserProgram, url, &browser) == platform::Status::ok;
}

bool open_url_by_string(const platform::DeviceRoot& root, const platform::ProgramMap& map, std::uint32_t id) {
  const std::u16string url = localizer().string(id);
  return !url.empty() && open_url(root, map, url);
}

std::u16string_view directory_of(std::u16string_view device_path) {
  const std::size_t last = device_path.rfind(u'\\');
  return last == std::u16string_view::npos ? device_path : device_path.substr(0, last);
}

std::u16string exe_directory() { return std::u16string(directory_of(platform::module_device_path())); }

int os_major_version() { return platform::SystemFacts::from_environment().os_major_version; }

bool sip_is_shown(const SipInfoQuery& query) {
  platform::SipInfo info;
  if (!query || !query(info)) return false;
  return (info.flags & platform::SIPF_ON) != 0 && info.sip_rect.height() > 0;
}

void set_dialog_item_bold(platform::WindowHandle dialog, int item) {
  const platform::WindowHandle control = platform::dialog_item(dialog, item);
  if (!control) return;
  const std::shared_ptr<const platform::Font> font = platform::child_font(control);
  platform::LogFont bold = font ? font->description() : platform::LogFont{};
  bold.weight = kBoldWeight;
  platform::child_record(control).font = platform::create_font(bold);
  platform::WindowSystem::current().invalidate_rect(control, std::nullopt, true);
}

std::uintptr_t list_selected_data(platform::WindowHandle dialog, int list) {
  platform::WindowSystem& system = platform::WindowSystem::current();
  const platform::WindowHandle box = platform::dialog_item(dialog, list);
  if (!box) return 0;
  const platform::SendOutcome selected = system.send_message(box, platform::LB_GETCURSEL, 0, 0);
  if (selected.status != platform::MessageStatus::delivered || selected.result == kListError) return 0;
  const platform::SendOutcome data =
      system.send_message(box, platform::LB_GETITEMDATA, static_cast<platform::WParam>(selected.result), 0);
  return data.status == platform::MessageStatus::delivered && data.result != kListError
             ? static_cast<std::uintptr_t>(data.result)
             : 0;
}

platform::ColorRef make_rgb(int red, int green, int blue) {
  if (!in_component_range(red) || !in_component_range(green) || !in_component_range(blue)) return 0;
  return platform::rgb(red, green, blue);
}

}  // namespace ductra
