#include "app/copybook/list_operations.h"

#include <gtest/gtest.h>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

class ListOperationsTest : public ::testing::Test {
 protected:
  ListOperationsTest() {
    platform::register_standard_controls(system_);
    platform::CreateWindowParams params;
    params.class_name = platform::kListViewClass;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.width = 100;
    params.height = 60;
    list_.window = system_.create_window(params);
    list_.owner = &selections_;
    list_.on_select = [](void* owner) { ++*static_cast<int*>(owner); };
  }
  ~ListOperationsTest() override { system_.destroy_window(list_.window); }

  void add_item(std::int32_t param) {
    platform::ListViewItem item;
    item.mask = platform::LVIF_TEXT | platform::LVIF_PARAM;
    item.item = count_++;
    char16_t text[] = u"a";
    item.text = text;
    item.param = param;
    system_.send_message(list_.window, platform::LVM_INSERTITEM, 0, reinterpret_cast<platform::LParam>(&item));
  }

  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  CopybookList list_;
  int selections_ = 0;
  int count_ = 0;
};

TEST_F(ListOperationsTest, SelectingAnItemFocusesItAndTellsTheOwner) {
  EXPECT_EQ(focused_item_param(list_), -1) << "an empty list";
  for (const std::int32_t param : {70, 71, 72}) add_item(param);
  const int callbacks_while_filling = selections_;
  select_item(list_, 1);
  EXPECT_EQ(focused_item_param(list_), 71);
  EXPECT_EQ(system_.send_message(list_.window, platform::LVM_GETSELECTIONMARK, 0, 0).result, 1);
  EXPECT_EQ(selections_, callbacks_while_filling + 1);
  const int before = selections_;
  select_item(list_, 9);
  EXPECT_EQ(selections_ - before, 1) << "an index past the end still calls the owner";
}

TEST_F(ListOperationsTest, AChangeIsAnsweredOnlyForItsOwnListAndCallsBackOnlyForANewState) {
  platform::ListViewNotify notification;
  notification.header.from = list_.window;
  notification.new_state = 0;
  EXPECT_TRUE(list_item_changed(list_, notification));
  EXPECT_EQ(selections_, 0) << "an item losing its selection";
  notification.new_state = 3;
  EXPECT_TRUE(list_item_changed(list_, notification));
  EXPECT_EQ(selections_, 1);
  notification.header.from = platform::WindowHandle{12345};
  EXPECT_FALSE(list_item_changed(list_, notification));
  EXPECT_EQ(selections_, 1);
}

TEST_F(ListOperationsTest, TheComboBoxGivesTheDataOfItsCurrentItem) {
  platform::CreateWindowParams params;
  params.class_name = platform::kComboBoxClass;
  params.style = platform::WS_POPUP;
  const platform::WindowHandle combo = system_.create_window(params);
  for (const std::int32_t charset : {4, 5, 2}) {
    const auto index = system_.send_message(combo, platform::CB_ADDSTRING, 0,
                                            reinterpret_cast<platform::LParam>(u"x")).result;
    system_.send_message(combo, platform::CB_SETITEMDATA, static_cast<platform::WParam>(index), charset);
  }
  system_.send_message(combo, platform::CB_SETCURSEL, 1, 0);
  EXPECT_EQ(combo_selected_data(combo), 5);
  system_.destroy_window(combo);
}

}  // namespace
}  // namespace ductra
