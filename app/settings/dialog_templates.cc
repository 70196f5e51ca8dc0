#include "app/settings/dialog_templates.h"

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/list_view.h"

namespace ductra {
namespace {

using platform::DialogItem;
using platform::DialogTemplate;
using platform::kButtonClass;
using platform::kComboBoxClass;
using platform::kEditClass;
using platform::kListBoxClass;
using platform::kStaticClass;
using platform::kTrackbarClass;
using platform::kUpDownClass;

constexpr int kNoId = -1;
constexpr std::uint32_t kDropDownList = platform::CBS_DROPDOWNLIST | platform::WS_TABSTOP;
constexpr std::uint32_t kCheckBox = platform::BS_AUTOCHECKBOX | platform::WS_TABSTOP;
constexpr std::uint32_t kPushButton = platform::BS_PUSHBUTTON | platform::WS_TABSTOP;
constexpr std::uint32_t kBitmapStatic = platform::SS_BITMAP;
constexpr std::uint32_t kListBox = platform::LBS_NOTIFY | platform::WS_TABSTOP | platform::WS_VSCROLL;
constexpr char16_t kShellDialogFace[] = u"MS Shell Dlg";
// A full-screen dialog's OK button takes the top right corner: its title
// starts below it.
constexpr int kDialogTitleTop = 26;

DialogTemplate make(int id, std::u16string title, std::vector<DialogItem> items,
                    std::u16string font = u"Tahoma") {
  DialogTemplate t;
  t.id = id;
  t.title = std::move(title);
  t.font_face = std::move(font);
  t.frame = {0, 0, 240, 294};
  t.items = std::move(items);
  return t;
}

DialogTemplate standard_page() {
  return make(kStandardPageTemplate, u"Стандартные",
              {
                  {1025, kStaticClass, u"Стандартные", 0, {4, 4, 180, 20}},
                  {kNoId, kStaticClass, u"Язык интерфейса / Interface Language:", 0, {4, 32, 236, 46}},
                  {1075, kComboBoxClass, u"", kDropDownList, {4, 48, 236, 66}},
                  {kNoId, kStaticClass, u"Толщина пера:", 0, {4, 78, 110, 92}},
                  {1084, kEditClass, u"", platform::WS_TABSTOP, {112, 74, 150, 92}},
                  {1072, kUpDownClass, u"", platform::UDS_SETBUDDYINT, {150, 74, 166, 92}},
                  {kNoId, kStaticClass, u"Пример:", 0, {4, 104, 80, 118}},
                  {1082, kStaticClass, u"", 0, {84, 100, 236, 122}},
                  {1081, kStaticClass, u"Цвет линии:", 0, {4, 134, 110, 148}},
                  {1079, kButtonClass, u"Выбрать", kPushButton, {112, 130, 190, 150}},
                  {1049, kButtonClass, u"Перемещаемый индикатор языка", kCheckBox, {4, 162, 236, 178}},
              });
}

DialogTemplate recognition_page() {
  return make(kRecognitionPageTemplate, u"Распознавание",
              {
                  {1025, kStaticClass, u"Распознавание", 0, {4, 4, 180, 20}},
                  {kNoId, kStaticClass, u"Задержка распознавания:", 0, {4, 32, 236, 46}},
                  {1047, kTrackbarClass, u"", platform::WS_TABSTOP, {4, 48, 190, 72}},
                  {1050, kStaticClass, u"0,25 с.", platform::SS_CENTER, {190, 52, 240, 68}},
                  {kNoId, kStaticClass, u"Режим распознавания:", 0, {4, 80, 236, 94}},
                  {40013, kComboBoxClass, u"", kDropDownList, {4, 96, 236, 114}},
                  {1080, kButtonClass, u"Добавлять завершающий пробел", kCheckBox, {4, 124, 236, 140}},
                  {1065, kButtonClass, u"Расширенные", kPushButton, {4, 152, 110, 174}},
              });
}

DialogTemplate advanced_settings() {
  return make(kAdvancedSettingsTemplate, u"Расширенные",
              {
                  {1025, kStaticClass, u"Расширенные", 0, {4, kDialogTitleTop, 180, kDialogTitleTop + 16}},
                  {1028, kStaticClass, u"Прописи", 0, {4, 56, 150, 70}},
                  {1094, kButtonClass, u"Настроить", kPushButton, {160, 52, 236, 72}},
                  {kNoId, kStaticClass, u"Настройте Ductra под собственный почерк", 0, {4, 74, 236, 102}},
                  {1029, kStaticClass, u"Словари", 0, {4, 110, 150, 124}},
                  {1095, kButtonClass, u"Настроить", kPushButton, {160, 106, 236, 126}},
                  {kNoId, kStaticClass,
                   u"Для более точного распознавания слов Ductra может использовать встроенные словари. Вы "
                   u"можете добавлять в них свои слова.",
                   0, {4, 128, 236, 184}},
                  {1030, kStaticClass, u"Подсказка", 0, {4, 188, 150, 202}},
                  {kNoId, kStaticClass,
                   u"Ductra будет предлагать варианты распознавания написанных символов и слов в виде всплывающей "
                   u"подсказки.",
                   0, {4, 204, 236, 262}},
                  {1075, kComboBoxClass, u"", kDropDownList, {4, 264, 236, 282}},
              },
              kShellDialogFace);
}

DialogTemplate copybook() {
  constexpr std::uint32_t kRadio = platform::BS_AUTORADIOBUTTON | platform::WS_TABSTOP;
  constexpr std::uint32_t kIconList =
      platform::LVS_ICON | platform::LVS_SINGLESEL | platform::LVS_SHOWSELALWAYS | platform::WS_TABSTOP;
  return make(kCopybookTemplate, u"Прописи",
              {
                  {1025, kStaticClass, u"Прописи", 0, {4, kDialogTitleTop, 180, kDialogTitleTop + 16}},
                  {kNoId, kStaticClass, u"Набор символов:", 0, {4, 52, 236, 66}},
                  {1113, kComboBoxClass, u"", kDropDownList, {4, 68, 236, 86}},
                  {1114, platform::kListViewClass, u"", kIconList | platform::WS_VSCROLL, {4, 90, 236, 150}},
                  {1117, kStaticClass, u"Я пишу эту букву", 0, {4, 154, 236, 168}},
                  {1118, kButtonClass, u"Часто", kRadio, {4, 170, 78, 186}},
                  {1119, kButtonClass, u"Редко", kRadio, {82, 170, 156, 186}},
                  {1120, kButtonClass, u"Никогда", kRadio, {160, 170, 236, 186}},
                  {1121, platform::kListViewClass, u"", kIconList | platform::WS_VSCROLL, {4, 190, 236, 260}},
                  {1126, kButtonClass, u"Восстановить", kPushButton, {4, 266, 110, 288}},
              });
}

DialogTemplate profiles_page() {
  return make(kProfilesPageTemplate, u"Конфигурации",
              {
                  {1025, kStaticClass, u"Конфигурации", 0, {4, 4, 180, 20}},
                  {kNoId, kStaticClass, u"Текущие конфигурации Ductra:", 0, {4, 32, 236, 46}},
                  {1038, kListBoxClass, u"", kListBox, {4, 48, 236, 196}},
                  {1065, kButtonClass, u"Добавить", kPushButton, {4, 204, 78, 226}},
                  {1094, kButtonClass, u"Изменить", kPushButton, {83, 204, 157, 226}},
                  {1039, kButtonClass, u"Удалить", kPushButton, {162, 204, 236, 226}},
              },
              kShellDialogFace);
}

DialogTemplate add_configuration() {
  return make(kAddConfigurationTemplate, u"Добавить конфигурацию",
              {
                  {kNoId, kStaticClass, u"Выберите конфигурацию для добавления:", 0, {4, 28, 236, 44}},
                  {1040, kListBoxClass, u"", kListBox, {4, 48, 236, 280}},
              },
              kShellDialogFace);
}

DialogTemplate extra_charsets() {
  return make(kExtraCharsetsTemplate, u"Дополнительные наборы символов",
              {
                  {1047, kStaticClass, u"", 0, {4, 28, 236, 60}},
                  {1041, kListBoxClass, u"", kListBox, {4, 64, 236, 280}},
              },
              kShellDialogFace);
}

DialogTemplate add_extra_charsets() {
  return make(kAddExtraCharsetsTemplate, u"Добавление дополнительных символов",
              {
                  {1025, kStaticClass, u"", 0, {4, 28, 236, 74}},
                  {1043, kListBoxClass, u"", kListBox | platform::LBS_SORT, {4, 78, 236, 280}},
              },
              kShellDialogFace);
}

DialogTemplate dictionaries() {
  return make(kDictionariesTemplate, u"Словарь",
              {
                  {1025, kStaticClass, u"Словарь", 0, {4, kDialogTitleTop, 180, kDialogTitleTop + 16}},
                  {kNoId, kStaticClass, u"Язык:", 0, {4, 58, 60, 72}},
                  {1075, kComboBoxClass, u"", kDropDownList, {64, 54, 236, 72}},
                  {1026, kButtonClass, u"Использовать словарь", kCheckBox, {4, 80, 236, 96}},
                  {kNoId, kStaticClass, u"Добавьте свои слова в словарь:", 0, {4, 104, 236, 118}},
                  {1014, platform::kListViewClass, u"",
                   platform::LVS_REPORT | platform::LVS_SINGLESEL | platform::LVS_SHOWSELALWAYS |
                       platform::LVS_NOCOLUMNHEADER | platform::WS_TABSTOP,
                   {4, 122, 236, 286}},
              });
}

DialogTemplate word() {
  return make(kWordTemplate, u"Добавление слова",
              {
                  {kNoId, kStaticClass, u"Введите слово для добавления в пользовательскй словарь:", 0, {4, 28, 236, 60}},
                  {1010, kEditClass, u"", platform::WS_TABSTOP, {4, 64, 236, 84}},
              });
}

// The first run's two dialogs: the installation is done (control 1020 gets
// its text when the dialog opens), and how the flourishes of a dot, a comma
// and a space are written.
DialogTemplate installation_done() {
  return make(kInstallationDoneTemplate, u"Ductra",
              {
                  {1025, kStaticClass, u"Установка", 0, {4, kDialogTitleTop, 180, kDialogTitleTop + 16}},
                  {1020, kStaticClass, u"", 0, {4, 56, 236, 200}},
              });
}

DialogTemplate flourishes() {
  return make(kFlourishesTemplate, u"Ductra",
              {
                  {1025, kStaticClass, u"Росчерки", 0, {4, kDialogTitleTop, 180, kDialogTitleTop + 16}},
                  {kNoId, kStaticClass, u"Одиночную точку, запятую и пробел пишите росчерками:", 0, {4, 56, 236, 84}},
                  {kNoId, kStaticClass, u"Точка: короткое касание пером.", 0, {4, 92, 236, 120}},
                  {kNoId, kStaticClass, u"Запятая: короткий штрих сверху вниз.", 0, {4, 128, 236, 156}},
                  {kNoId, kStaticClass, u"Пробел: черта слева направо.", 0, {4, 164, 236, 192}},
              });
}

// The about page's controls; the partner pages leave some out or add some.
std::vector<DialogItem> about_items(bool more_programs, bool second_notice) {
  std::vector<DialogItem> items{
      {1030, kStaticClass, u"#136", kBitmapStatic, {4, 28, 68, 92}},
      {1025, kStaticClass, u"О программе", 0, {4, 4, 180, 20}},
      {1048, kStaticClass, u"Ductra 9.0", 0, {76, 30, 236, 46}},
      {1011, kStaticClass, u"Build UI", 0, {76, 50, 236, 64}},
      {1018, kStaticClass, u"Build CORE", 0, {76, 66, 236, 80}},
      {1012, kStaticClass, u"© Korvale Software. Все права защищены.", 0, {4, 100, 236, 128}},
  };
  if (second_notice) items.push_back({1013, kStaticClass, u"Издание для партнёров.", 0, {4, 130, 236, 146}});
  if (more_programs) items.push_back({1031, kStaticClass, u"", 0, {4, 148, 236, 164}});
  items.push_back({kNoId, kStaticClass, u"Поддержка:", 0, {4, 170, 80, 186}});
  items.push_back({1032, kStaticClass, u"", 0, {80, 170, 236, 186}});
  if (second_notice) items.push_back({1034, kStaticClass, u"", 0, {4, 190, 236, 206}});
  if (more_programs) {
    items.push_back({1053, kStaticClass, u"Посмотрите другие программы Korvale:", 0, {4, 212, 236, 228}});
    items.push_back({1033, kStaticClass, u"", 0, {4, 232, 160, 248}});
    items.push_back({1065, kButtonClass, u"Ещё", kPushButton, {170, 230, 236, 250}});
  }
  return items;
}

DialogTemplate about_page(int id) {
  const bool more_programs = id != kPartnerAboutPageTemplate;
  const bool second_notice = id == kPartnerAboutPage2Template;
  return make(id, u"О программе", about_items(more_programs, second_notice));
}

}  // namespace

std::optional<DialogTemplate> own_dialog_template(int id) {
  switch (id) {
    case kStandardPageTemplate:
      return standard_page();
    case kRecognitionPageTemplate:
      return recognition_page();
    case kInstallationDoneTemplate:
      return installation_done();
    case kAdvancedSettingsTemplate:
      return advanced_settings();
    case kCopybookTemplate:
      return copybook();
    case kFlourishesTemplate:
      return flourishes();
    case kWordTemplate:
      return word();
    case kDictionariesTemplate:
      return dictionaries();
    case kProfilesPageTemplate:
      return profiles_page();
    case kAddConfigurationTemplate:
      return add_configuration();
    case kExtraCharsetsTemplate:
      return extra_charsets();
    case kAddExtraCharsetsTemplate:
      return add_extra_charsets();
    case kAboutPageTemplate:
    case kPartnerAboutPageTemplate:
    case kPartnerAboutPage2Template:
      return about_page(id);
    default:
      return std::nullopt;
  }
}

}  // namespace ductra
