#include "appplatform/dialog/color_chooser.h"

#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/draw/pen_and_brush.h"
#include "appplatform/message_box.h"

namespace ductra::platform {
namespace {

constexpr int kSwatches = 32;
constexpr int kColumns = 8;
constexpr int kSide = 22;
constexpr int kGap = 4;

constexpr ColorRef kBasicColors[16] = {
    rgb(0, 0, 0),     rgb(128, 128, 128), rgb(128, 0, 0),   rgb(255, 0, 0),   rgb(128, 128, 0), rgb(255, 255, 0),
    rgb(0, 128, 0),   rgb(0, 255, 0),     rgb(0, 128, 128), rgb(0, 255, 255), rgb(0, 0, 128),   rgb(0, 0, 255),
    rgb(128, 0, 128), rgb(255, 0, 255),   rgb(192, 192, 192), rgb(255, 255, 255),
};

struct Chooser {
  std::vector<Brush> swatches;
  Brush chosen;
  ColorRef color = 0;
};

DialogTemplate chooser_template() {
  DialogTemplate t;
  t.title = kColorChooserTitle;
  t.frame = {8, 20, 8 + kColumns * (kSide + kGap) + kGap, 20 + 4 * (kSide + kGap) + 80};
  for (int i = 0; i < kSwatches; ++i) {
    const int x = kGap + (i % kColumns) * (kSide + kGap);
    const int y = kGap + (i / kColumns) * (kSide + kGap);
    t.items.push_back({kFirstSwatch + i, kStaticClass, u"", SS_NOTIFY, {x, y, x + kSide, y + kSide}});
  }
  const int below = kGap + 4 * (kSide + kGap);
  t.items.push_back({kColorSample, kStaticClass, u"", 0, {kGap, below, kGap + 2 * kSide, below + kSide}});
  t.items.push_back({IDOK, kButtonClass, u"OK", BS_DEFPUSHBUTTON, {kGap, below + 30, kGap + 70, below + 52}});
  t.items.push_back({IDCANCEL, kButtonClass, u"Cancel", BS_PUSHBUTTON, {kGap + 80, below + 30, kGap + 150, below + 52}});
  return t;
}

MessageResult chooser_procedure(WindowHandle dialog, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_INITDIALOG) {
    system.set_user_data(dialog, static_cast<std::uintptr_t>(lparam));
    return 0;
  }
  auto* chooser = reinterpret_cast<Chooser*>(system.user_data(dialog));
  if (!chooser) return 0;
  if (message == WM_CTLCOLORSTATIC) {
    const WindowHandle control{static_cast<std::uint32_t>(lparam)};
    if (control == dialog_item(dialog, kColorSample)) return reinterpret_cast<MessageResult>(&chooser->chosen);
    for (int i = 0; i < kSwatches; ++i) {
      if (control == dialog_item(dialog, kFirstSwatch + i)) return reinterpret_cast<MessageResult>(&chooser->swatches[i]);
    }
    return 0;
  }
  if (message != WM_COMMAND) return 0;
  const int id = low_word(wparam);
  if (id >= kFirstSwatch && id < kFirstSwatch + kSwatches) {
    chooser->color = chooser->swatches[id - kFirstSwatch].color;
    chooser->chosen = solid_brush(chooser->color);
    system.invalidate_rect(dialog_item(dialog, kColorSample), std::nullopt, true);
  }
  if (id == IDOK || id == IDCANCEL) end_dialog(dialog, id);
  return 1;
}

}  // namespace

bool choose_color(ChooseColorRequest& request) {
  Chooser chooser;
  for (ColorRef c : kBasicColors) chooser.swatches.push_back(solid_brush(c));
  for (int i = 0; i < 16; ++i) {
    chooser.swatches.push_back(solid_brush(request.custom_colors ? (*request.custom_colors)[i] : rgb(255, 255, 255)));
  }
  chooser.color = (request.flags & CC_RGBINIT) ? request.color : rgb(0, 0, 0);
  chooser.chosen = solid_brush(chooser.color);
  const std::intptr_t answer =
      dialog_box(chooser_template(), request.owner, chooser_procedure, reinterpret_cast<LParam>(&chooser));
  if (answer != IDOK) return false;
  request.color = chooser.color;
  return true;
}

}  // namespace ductra::platform
