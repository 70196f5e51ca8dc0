#include "appplatform/dialog/list_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/draw/font.h"
#include "appplatform/draw/image_list.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

constexpr int kList = 1121;

// What the list's parent heard: (item, old state, new state) of each
// change, and -1000 - item for each click.
std::vector<std::vector<int>> heard;

MessageResult recording_parent(WindowHandle, std::uint32_t message, WParam, LParam lparam) {
  if (message != WM_NOTIFY) return 0;
  const auto* n = reinterpret_cast<const ListViewNotify*>(lparam);
  if (n->header.code == LVN_ITEMCHANGED) {
    heard.push_back({n->item, static_cast<int>(n->old_state), static_cast<int>(n->new_state), static_cast<int>(n->param)});
  }
  if (n->header.code == NM_CLICK) heard.push_back({-1000 - n->item});
  return 0;
}

class ListViewTest : public DialogTest {
 protected:
  WindowHandle make_list(std::uint32_t style, Rect rect, int items) {
    DialogTemplate t;
    t.title = u"Lists";
    t.style = WS_VISIBLE;
    t.font_face = kFixedTestFace;
    t.frame = {0, 0, kWidth, kHeight};
    t.items = {{kList, u"SysListView32", u"", style, rect}};
    dialog_ = create_dialog(t, {}, recording_parent, 0);
    list_ = dialog_item(dialog_, kList);
    for (int i = 0; i < items; ++i) {
      std::u16string text = u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i));
      ListViewItem item;
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.item = i;
      item.text = text.data();
      item.param = 100 + i;
      EXPECT_EQ(send(LVM_INSERTITEM, 0, reinterpret_cast<LParam>(&item)), i);
    }
    heard.clear();
    return list_;
  }
  MessageResult send(std::uint32_t message, WParam wparam, LParam lparam) {
    return system_.send_message(list_, message, wparam, lparam).result;
  }
  Rect rect_of(int item, int part) {
    Rect r{part, 0, 0, 0};
    EXPECT_EQ(send(LVM_GETITEMRECT, item, reinterpret_cast<LParam>(&r)), 1);
    return r;
  }
  ~ListViewTest() override { system_.destroy_window(dialog_); }

  WindowHandle dialog_;
  WindowHandle list_;
};

TEST_F(ListViewTest, IconsAreLaidOutByTheSpacingAndRowsByTheFontAndColumn) {
  make_list(LVS_ICON, {10, 10, 210, 110}, 9);
  auto images = ImageList::create(16, 16);
  send(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LParam>(images.get()));
  send(LVM_SETICONSPACING, 0, make_lparam(50, 40));  // four to a row
  EXPECT_EQ(rect_of(5, LVIR_BOUNDS), (Rect{50, 40, 100, 80}));
  EXPECT_EQ(rect_of(5, LVIR_ICON), (Rect{67, 42, 83, 58}));
  EXPECT_EQ(rect_of(8, LVIR_BOUNDS), (Rect{0, 80, 50, 120}));
  Rect out_of_range{LVIR_BOUNDS, 0, 0, 0};
  EXPECT_EQ(send(LVM_GETITEMRECT, 9, reinterpret_cast<LParam>(&out_of_range)), 0);
  EXPECT_EQ(send(LVM_GETITEMRECT, 0, 0), 0);
  system_.destroy_window(dialog_);

  make_list(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER, {10, 10, 210, 70}, 20);
  ListViewColumn column{140};
  send(LVM_INSERTCOLUMN, 0, reinterpret_cast<LParam>(&column));
  EXPECT_EQ(rect_of(3, LVIR_BOUNDS), (Rect{0, 36, 140, 48}));  // rows of the font's height + 2
}

TEST_F(ListViewTest, StateChangesAreReportedAtOnceAndOneItemAtMostIsFocusedOrSingleSelected) {
  make_list(LVS_REPORT | LVS_SINGLESEL, {10, 10, 210, 200}, 5);
  ListViewItem state;
  state.state = state.state_mask = LVIS_FOCUSED | LVIS_SELECTED;
  ASSERT_EQ(send(LVM_SETITEMSTATE, 0, reinterpret_cast<LParam>(&state)), 1);
  EXPECT_EQ(heard, (std::vector<std::vector<int>>{{0, 0, 3, 100}}));
  heard.clear();
  ASSERT_EQ(send(LVM_SETITEMSTATE, 2, reinterpret_cast<LParam>(&state)), 1);
  EXPECT_EQ(heard, (std::vector<std::vector<int>>{{0, 3, 0, 100}, {2, 0, 3, 102}}));
  EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WParam>(-1), LVNI_FOCUSED), 2);
  EXPECT_EQ(send(LVM_GETNEXTITEM, 2, LVNI_SELECTED), -1);
  EXPECT_EQ(send(LVM_SETITEMSTATE, 9, reinterpret_cast<LParam>(&state)), 0);

  // The pen: a tap on row 4 moves focus and selection there, then clicks;
  // a tap below the rows only clicks.
  heard.clear();
  const Rect list = *system_.window_rect(list_);
  pen({list.left + 5, list.top + 4 * 12 + 3}, {list.left + 5, list.top + 4 * 12 + 3});
  pen({list.left + 5, list.top + 150}, {list.left + 5, list.top + 150});
  EXPECT_EQ(heard, (std::vector<std::vector<int>>{{2, 3, 0, 102}, {4, 0, 3, 104}, {-1004}, {-999}}));
  EXPECT_EQ(send(LVM_GETSELECTIONMARK, 0, 0), 4);
  EXPECT_EQ(system_.focus(), list_);

  char16_t text[2];
  ListViewItem read;
  read.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  read.item = 4;
  read.state_mask = LVIS_SELECTED;
  read.text = text;
  read.text_max = 2;
  ASSERT_EQ(send(LVM_GETITEM, 0, reinterpret_cast<LParam>(&read)), 1);
  EXPECT_EQ(std::u16string(text), u"w");  // cut to fit, terminated
  EXPECT_EQ(read.param, 104);
  EXPECT_EQ(read.state, LVIS_SELECTED);
  read.item = 5;
  EXPECT_EQ(send(LVM_GETITEM, 0, reinterpret_cast<LParam>(&read)), 0);
  EXPECT_EQ(send(LVM_GETITEM, 0, 0), 0);
}

TEST_F(ListViewTest, ItemsScrollIntoViewAndTheOffsetStaysWithinTheItems) {
  make_list(LVS_REPORT | LVS_SINGLESEL, {10, 10, 210, 70}, 20);  // five rows show of twenty
  EXPECT_EQ(send(LVM_ENSUREVISIBLE, 10, 0), 1);
  EXPECT_EQ(rect_of(10, LVIR_BOUNDS).bottom, 60);  // scrolled just far enough
  EXPECT_EQ(send(LVM_ENSUREVISIBLE, 10, 0), 1);
  EXPECT_EQ(rect_of(10, LVIR_BOUNDS).bottom, 60);
  send(LVM_SCROLL, 20, 0);
  send(LVM_SCROLL, static_cast<WParam>(-20), 0);
  EXPECT_EQ(rect_of(10, LVIR_BOUNDS).left, 0);
  send(LVM_SCROLL, 0, 10000);
  EXPECT_EQ(rect_of(19, LVIR_BOUNDS).bottom, 60);  // no further than the last row
  send(LVM_SCROLL, 0, -10000);
  EXPECT_EQ(rect_of(0, LVIR_BOUNDS).top, 0);

  // Arrow keys move the focus and keep it in view.
  ListViewItem state;
  state.state = state.state_mask = LVIS_FOCUSED | LVIS_SELECTED;
  send(LVM_SETITEMSTATE, 4, reinterpret_cast<LParam>(&state));
  system_.set_focus(list_);
  system_.post_message(list_, WM_KEYDOWN, VK_DOWN, 0);
  settle();
  EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WParam>(-1), LVNI_FOCUSED), 5);
  EXPECT_EQ(rect_of(5, LVIR_BOUNDS).bottom, 60);

  EXPECT_EQ(send(LVM_DELETEITEM, 5, 0), 1);
  EXPECT_EQ(send(LVM_GETITEMCOUNT, 0, 0), 19);
  EXPECT_EQ(send(LVM_GETSELECTIONMARK, 0, 0), -1);  // the marked item went
  EXPECT_EQ(send(LVM_DELETEALLITEMS, 0, 0), 1);
  EXPECT_EQ(send(LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WParam>(-1), LVNI_FOCUSED), -1);
}

TEST_F(ListViewTest, ColumnHeadersStayAboveTheRowsAsTheyScroll) {
  make_list(LVS_REPORT | LVS_SINGLESEL, {10, 10, 210, 70}, 20);  // rows of 12; 60 high
  ListViewColumn word{120, u"Word"};
  ListViewColumn count{60, u"Count"};
  EXPECT_EQ(send(LVM_INSERTCOLUMN, 0, reinterpret_cast<LParam>(&word)), 0);
  EXPECT_EQ(send(LVM_INSERTCOLUMN, 5, reinterpret_cast<LParam>(&count)), 1);  // past the end: last
  EXPECT_EQ(send(LVM_INSERTCOLUMN, 0, 0), -1);
  EXPECT_EQ(send(LVM_SETCOLUMNWIDTH, 0, 140), 1);
  EXPECT_EQ(send(LVM_SETCOLUMNWIDTH, 2, 140), 0);
  EXPECT_EQ(send(LVM_GETCOLUMNWIDTH, 1, 0), 60);
  EXPECT_EQ(send(LVM_GETCOLUMNWIDTH, 2, 0), 0);

  // The rows start under the header and span both columns; the text stands
  // in the first.
  EXPECT_EQ(rect_of(0, LVIR_BOUNDS), (Rect{0, 12, 200, 24}));
  EXPECT_EQ(rect_of(0, LVIR_LABEL).right, 140);
  // Four rows show under the header: scrolling keeps them there.
  EXPECT_EQ(send(LVM_ENSUREVISIBLE, 10, 0), 1);
  EXPECT_EQ(rect_of(10, LVIR_BOUNDS).bottom, 60);
  send(LVM_SCROLL, 0, 10000);
  EXPECT_EQ(rect_of(19, LVIR_BOUNDS).bottom, 60);
  send(LVM_SCROLL, 0, -10000);
  EXPECT_EQ(rect_of(0, LVIR_BOUNDS).top, 12);

  // A tap on the header reaches no row, even one scrolled under it.
  send(LVM_SCROLL, 0, 6);
  const Rect list = *system_.window_rect(list_);
  pen({list.left + 5, list.top + 4}, {list.left + 5, list.top + 4});
  EXPECT_EQ(heard, (std::vector<std::vector<int>>{{-999}}));

  // The header is drawn over the rows in the buttons' colour, framed.
  paint_tree_now(dialog_);
  keep(*copy_of_display(), "list_view_columns.png");
  EXPECT_EQ(screen_->color_at(list.left + 195, list.top + 6), screen_->color_of(screen_->native_of(sys_color(COLOR_BTNFACE))));
  EXPECT_EQ(screen_->color_at(list.left + 140, list.top + 6),
            screen_->color_of(screen_->native_of(sys_color(COLOR_WINDOWFRAME))));
  EXPECT_NE(screen_->color_at(list.left + 195, list.top + 30), screen_->color_at(list.left + 195, list.top + 6));

  // Without LVS_NOCOLUMNHEADER's header the rows start at the top.
  system_.destroy_window(dialog_);
  make_list(LVS_REPORT | LVS_NOCOLUMNHEADER, {10, 10, 210, 70}, 3);
  send(LVM_INSERTCOLUMN, 0, reinterpret_cast<LParam>(&word));
  EXPECT_EQ(rect_of(0, LVIR_BOUNDS).top, 0);
}

TEST_F(ListViewTest, TakingTheScrollBarAwayWidensWhatTheRowsMayUse) {
  // As the copybook's letter list does: the bar goes from the style and
  // the rows show in the height it leaves.
  make_list(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | WS_HSCROLL, {10, 10, 210, 83}, 20);
  EXPECT_EQ(system_.client_rect(list_)->height(), 73 - kScrollBarWidth);
  EXPECT_EQ(send(LVM_ENSUREVISIBLE, 10, 0), 1);
  EXPECT_EQ(rect_of(10, LVIR_BOUNDS).bottom, 60);
  const std::uint32_t style = *system_.window_style(list_);
  system_.set_window_style(list_, style & ~WS_HSCROLL);
  EXPECT_EQ(system_.client_rect(list_)->height(), 73);
  send(LVM_SCROLL, 0, 10000);
  EXPECT_EQ(rect_of(19, LVIR_BOUNDS).bottom, 73);
}

}  // namespace
}  // namespace ductra::platform
