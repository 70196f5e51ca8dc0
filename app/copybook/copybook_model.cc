#include "app/copybook/copybook_model.h"

#include "app/common/localizer.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/draw/cursor.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr std::uint32_t kRestartAdvice = 255;
constexpr std::uint32_t kYesNoQuestion = platform::MB_YESNO | platform::MB_ICONQUESTION;

}  // namespace

CopybookModel::CopybookModel(platform::WindowHandle dialog, std::uint32_t charset, const CopybookServices& services)
    : dialog_(dialog),
      services_(services),
      charsets_(control(kCharsetBox, on_charset_selected), services.engine),
      alphabet_(control(kLetterList, on_letter_selected), platform::dialog_item(dialog, kVariantCaption), services.engine),
      glyphs_(control(kVariantList, on_variant_selected), services.engine),
      use_radios_(platform::dialog_item(dialog, kUseOftenButton), platform::dialog_item(dialog, kUseRarelyButton),
                  platform::dialog_item(dialog, kUseNeverButton)) {
  refill(charset);
}

CopybookModel::~CopybookModel() { save_choices(); }

CopybookList CopybookModel::control(int id, void (*on_select)(void*)) {
  return {platform::dialog_item(dialog_, id), this, on_select};
}

void CopybookModel::report(const std::optional<ExceptionInfo>& failure) const {
  if (failure && services_.report_engine_error) services_.report_engine_error(*failure);
}

void CopybookModel::refill(std::uint32_t charset) { report(charsets_.fill_list(charset)); }

void CopybookModel::on_charset_selected(void* model) {
  auto& self = *static_cast<CopybookModel*>(model);
  self.report(self.alphabet_.fill_list(self.charsets_.selected_charset()));
}

void CopybookModel::on_letter_selected(void* model) {
  auto& self = *static_cast<CopybookModel*>(model);
  self.report(self.glyphs_.fill_list(self.charsets_.selected_charset(), self.alphabet_.focused_letter()));
  self.alphabet_.update_caption();
  self.alphabet_.take_focus();
}

void CopybookModel::on_variant_selected(void* model) {
  auto& self = *static_cast<CopybookModel*>(model);
  self.use_radios_.show(self.glyphs_.focused_use().value_or(-1));
  self.alphabet_.take_focus();
}

int CopybookModel::on_command(int id, int code) {
  switch (id) {
    case kCharsetBox:
      if (code != platform::CBN_SELCHANGE) return 0;
      on_charset_selected(this);
      alphabet_.take_focus();
      return 1;
    case kPreviousLetter:
      alphabet_.select_previous();
      return 1;
    case kNextLetter:
      alphabet_.select_next();
      return 1;
    case kUseOftenButton:
      set_use(kUseOften);
      return 0;
    case kUseRarelyButton:
      set_use(kUseRarely);
      return 0;
    case kUseNeverButton:
      set_use(kUseNever);
      return 0;
    case kRestoreButton:
      restore();
      return 0;
    default:
      return 0;
  }
}

void CopybookModel::set_use(std::int32_t use) {
  const UseChange change = glyphs_.set_variant_use(use);
  changed_ = changed_ || change.changed;
  report(change.failure);
}

void CopybookModel::restore() {
  if (localizer().message_box(dialog_, kRestoreQuestion, 0, kYesNoQuestion) != platform::IDYES) return;
  const UseChange change = glyphs_.restore();
  changed_ = changed_ || change.changed;
  report(change.failure);
  refill(0);
}

bool CopybookModel::on_item_changed(const platform::ListViewNotify& notification) {
  return list_item_changed(control(kLetterList, on_letter_selected), notification) ||
         list_item_changed(control(kVariantList, on_variant_selected), notification);
}

bool CopybookModel::on_variant_click(const platform::NotifyHeader& header) {
  if (header.from != platform::dialog_item(dialog_, kVariantList)) return false;
  glyphs_.paint(true);
  return true;
}

void CopybookModel::save_choices() {
  if (!changed_) return;
  changed_ = false;
  const std::shared_ptr<const platform::Cursor> previous = platform::set_cursor(platform::wait_cursor());
  const int status = services_.engine.write_user_variants();
  platform::set_cursor(previous);
  if (status != 0 && services_.show_error_box) services_.show_error_box(kChoicesNotSavedText, kRestartAdvice);
}

}  // namespace ductra
