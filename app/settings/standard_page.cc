#include "app/settings/standard_page.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/common/localizer.h"
#include "app/settings/dialog_templates.h"
#include "appplatform/dialog/color_chooser.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/up_down_control.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/draw/color.h"
#include "appplatform/text.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

using platform::WindowHandle;
using platform::WindowSystem;

constexpr int kLanguageList = 1075;
constexpr int kPenWidthEdit = 1084;
constexpr int kPenWidthSpinner = 1072;
constexpr int kChooseColour = 1079;
constexpr int kSample = 1082;
constexpr int kLargeIcon = 1049;
constexpr std::uint32_t kEnglishNameString = 200;
constexpr std::uint32_t kOwnNameString = 201;
constexpr std::size_t kLanguageNameUnits = 256;
constexpr std::size_t kPenWidthUnits = 120;
constexpr std::u16string_view kBundlePrefix = u"ductra_loc.";
constexpr std::u16string_view kBundleSuffix = u".lang";

int clamp_pen_width(std::int64_t width) {
  return static_cast<int>(std::clamp<std::int64_t>(width, kMinPenWidth, kMaxPenWidth));
}

// The whole number at the start of `text` (after blanks); 0 when there is
// none. Digits beyond what a pen width may be are not read.
std::int64_t leading_number(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  const bool negative = i < text.size() && text[i] == u'-';
  if (negative || (i < text.size() && text[i] == u'+')) ++i;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 1'000'000; ++i) {
    value = value * 10 + (text[i] - u'0');
  }
  return negative ? -value : value;
}

bool is_bundle_name(std::u16string_view name) {
  return name.size() > kBundlePrefix.size() + kBundleSuffix.size() && name.starts_with(kBundlePrefix) &&
         name.ends_with(kBundleSuffix);
}

std::u16string bundle_string(const platform::LanguageBundle& bundle, std::uint32_t id) {
  std::array<char16_t, kLanguageNameUnits> buffer{};
  return bundle.strings().load(id, buffer) > 0 ? std::u16string(buffer.data()) : std::u16string{};
}

void paint_sample(WindowHandle window, const Settings& settings) {
  WindowSystem& system = WindowSystem::current();
  system.end_paint(window, system.begin_paint(window));
  platform::DeviceContext dc = platform::window_context(window);
  const platform::Rect r = system.client_rect(window).value_or(platform::Rect{});
  dc.fill_rect(r, platform::sys_color_brush(platform::COLOR_WINDOW));
  const int w = settings.pen_width;
  const platform::ColorRef c = settings.pen_color;
  const int mid = (r.top + r.bottom) / 2;
  dc.select_pen(platform::solid_pen(w, c));
  dc.move_to(r.left + w / 2, mid);
  dc.line_to(r.right - w / 2, mid);
  if (w <= 3) return;
  const int bottom = mid + w / 2 - (w % 2 == 0 ? 1 : 0);
  dc.select_pen(platform::solid_pen(1, c));
  dc.select_brush(platform::solid_brush(c));
  dc.ellipse(r.left + 1, mid - w / 2 + 1, r.left + w - 1, bottom);
  dc.ellipse(r.right - w + 1, mid - w / 2 + 1, r.right - 1, bottom);
}

}  // namespace

std::vector<InterfaceLanguage> interface_languages(const std::filesystem::path& directory) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    if (is_bundle_name(entry.path().filename().u16string())) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<InterfaceLanguage> languages;
  for (const std::filesystem::path& file : files) {
    const std::uint16_t id = platform::bundle_language_of(file.filename().string());
    if (id == 0) continue;
    const std::shared_ptr<const platform::LanguageBundle> bundle = platform::LanguageBundle::load(file);
    if (!bundle) continue;
    const std::u16string english = bundle_string(*bundle, kEnglishNameString);
    const std::u16string own = bundle_string(*bundle, kOwnNameString);
    if (english.empty() || own.empty()) continue;
    const FormatArg args[] = {std::u16string_view(english), std::u16string_view(own)};
    languages.push_back({id, format_message(u"%s [%s]", args, kLanguageNameUnits).value_or(u"")});
  }
  return languages;
}

StandardPage::StandardPage(int index, Settings& settings, const HelpLauncher& help)
    : SettingsPage(index, kStandardTopic, help), settings_(settings) {}

int StandardPage::dialog_id() const { return kStandardPageTemplate; }

int StandardPage::on_init_dialog() {
  WindowSystem& system = WindowSystem::current();
  if (const WindowHandle sample = item(kSample)) {
    system.set_user_data(sample, reinterpret_cast<std::uintptr_t>(&settings_));
    system.set_procedure(sample, &StandardPage::sample_proc);
  }
  fill_languages();
  return TitledDialog::on_init_dialog();
}

void StandardPage::fill_languages() {
  send_item(kLanguageList, platform::CB_RESETCONTENT);
  const std::uint16_t current = localizer().language() != 0 ? localizer().language() : platform::kEnglishLanguage;
  int selected = -1;
  for (const InterfaceLanguage& language : interface_languages(localizer().bundle_directory())) {
    const platform::MessageResult at =
        send_item(kLanguageList, platform::CB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(language.text.c_str()));
    if (at < 0) continue;
    send_item(kLanguageList, platform::CB_SETITEMDATA, static_cast<platform::WParam>(at), language.id);
    if (selected < 0 && language.id == current) selected = static_cast<int>(at);
  }
  if (selected >= 0) send_item(kLanguageList, platform::CB_SETCURSEL, static_cast<platform::WParam>(selected));
}

void StandardPage::fill() {
  const WindowHandle edit = item(kPenWidthEdit);
  if (static_cast<std::uint32_t>(send_item(kPenWidthSpinner, platform::UDM_GETBUDDY)) != edit.id) {
    send_item(kPenWidthSpinner, platform::UDM_SETBUDDY, edit.id);
  }
  send_item(kPenWidthSpinner, platform::UDM_SETRANGE32, kMinPenWidth, kMaxPenWidth);
  settings_.pen_width = std::min(settings_.pen_width, kMaxPenWidth);
  send_item(kPenWidthSpinner, platform::UDM_SETPOS32, 0, settings_.pen_width);
  send_item(kLargeIcon, platform::BM_SETCHECK, settings_.large_moving_icon != 0 ? platform::BST_CHECKED : platform::BST_UNCHECKED);
}

void StandardPage::read_back() {
  settings_.pen_width = clamp_pen_width(send_item(kPenWidthSpinner, platform::UDM_GETPOS32));
  if (item(kPenWidthEdit)) {
    std::u16string typed = platform::dialog_item_text(window(), kPenWidthEdit);
    typed.resize(std::min(typed.size(), kPenWidthUnits));
    settings_.pen_width = clamp_pen_width(leading_number(typed));
  }
  settings_.large_moving_icon = send_item(kLargeIcon, platform::BM_GETCHECK) == platform::BST_CHECKED ? 1 : 0;
  const platform::MessageResult selected = send_item(kLanguageList, platform::CB_GETCURSEL);
  if (item(kLanguageList) && selected >= 0) {
    settings_.language =
        static_cast<std::uint32_t>(send_item(kLanguageList, platform::CB_GETITEMDATA, static_cast<platform::WParam>(selected)));
  }
}

int StandardPage::on_notify(int control_id, const platform::NotifyHeader& header) {
  if (header.code == platform::UDN_DELTAPOS && header.from == item(kPenWidthSpinner)) {
    const auto& change = reinterpret_cast<const platform::UpDownNotify&>(header);
    settings_.pen_width = clamp_pen_width(std::int64_t{change.position} + change.delta);
    repaint_sample();
    return 0;
  }
  return SettingsPage::on_notify(control_id, header);
}

int StandardPage::on_command(int id, int code) {
  if (id != kChooseColour) return Dialog::on_command(id, code);
  choose_colour();
  return 1;
}

void StandardPage::choose_colour() {
  std::array<platform::ColorRef, 16> custom{};
  platform::ChooseColorRequest request;
  request.owner = window();
  request.color = settings_.pen_color;
  request.flags = platform::CC_RGBINIT;
  request.custom_colors = &custom;
  if (!platform::choose_color(request)) return;
  settings_.pen_color = request.color;
  repaint_sample();
}

void StandardPage::repaint_sample() const {
  WindowSystem& system = WindowSystem::current();
  if (const WindowHandle sample = item(kSample)) {
    system.invalidate_rect(sample, std::nullopt, true);
    system.update_window(sample);
  }
}

platform::MessageResult StandardPage::sample_proc(WindowHandle window, std::uint32_t message, platform::WParam,
                                                  platform::LParam) {
  if (message != platform::WM_PAINT) return 1;
  if (const auto* settings = reinterpret_cast<const Settings*>(WindowSystem::current().user_data(window))) {
    paint_sample(window, *settings);
  }
  return 0;
}

}  // namespace ductra
