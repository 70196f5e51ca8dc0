// The packets that carry window calls and messages between the processes of
// one device over a Unix SOCK_SEQPACKET socket, one packet per record.
//
// A packet is a fixed-size plain record. Message arguments cross as integers
// only: is_wire_safe refuses every message that may carry a pointer (a
// structure, a text or a callback in wParam or lParam), because a pointer
// means nothing in another address space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "appplatform/window_tree.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::size_t kWireTextUnits = 260;
inline constexpr std::size_t kWireListSize = 128;

enum class WireKind : std::uint32_t {
  kHello = 1,      // a client introduces its process
  kCall,           // a window call, answered by kReply
  kReply,
  kPost,           // a posted message for a window of the receiver
  kSend,           // a sent message, answered by kSendReply
  kSendReply,
  kPaint,          // a window of the receiver has something to paint
};

// Window calls a process makes of the window server.
enum class WindowOp : std::uint32_t {
  kCreate = 1,
  kDestroy,
  kSetPosition,
  kShow,
  kEnable,
  kSetText,
  kDescribe,
  kRelation,
  kFind,
  kWindowFromPoint,
  kChildFromPoint,
  kSetCapture,
  kReleaseCapture,
  kGetCapture,
  kSetFocus,
  kGetFocus,
  kSetForeground,
  kGetForeground,
  kInvalidate,
  kTakeUpdate,
  kScreen,
  kSetScrollRange,
  kGetScrollRange,
  kInjectMouse,
  kBroadcast,
  kSetStyle,
  kKeyboardDemand,  // value[0]: whether the calling process wants the keyboard
};

// Flags of some calls, and what kSetPosition reports in value[0].
inline constexpr std::uint32_t kDestroyRemove = 1;       // kDestroy: remove, not only list
inline constexpr std::uint32_t kInvalidateHasRect = 1;   // kInvalidate: value[0..3] is the part
inline constexpr std::uint32_t kInvalidateErase = 2;
inline constexpr std::uint32_t kTakeUpdatePeek = 1;      // kTakeUpdate: only say whether any
inline constexpr std::uint32_t kFindClass = 1;           // kFind: text[0] is the class
inline constexpr std::uint32_t kFindTitle = 2;           // kFind: text[1] is the title
// kSetStyle leaves these bits as they are: showing and enabling have calls
// of their own, and a window stays the kind it was made.
inline constexpr std::uint32_t kStyleKeptBits = WS_VISIBLE | WS_DISABLED | WS_CHILD | WS_POPUP;
inline constexpr std::int32_t kMovedBit = 1;
inline constexpr std::int32_t kSizedBit = 2;

struct WirePacket {
  WireKind kind = WireKind::kCall;
  std::uint32_t sequence = 0;
  WindowOp op = WindowOp::kCreate;
  std::int32_t status = 0;
  std::uint32_t window = 0;
  std::uint32_t other = 0;
  std::uint32_t message = 0;
  std::uint32_t flags = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  std::int32_t value[16] = {};
  std::int32_t process = 0;
  std::uint32_t thread = 0;
  std::uint16_t text_size[2] = {};
  char16_t text[2][kWireTextUnits] = {};
  std::uint32_t list_size = 0;
  std::uint32_t list[kWireListSize] = {};

  void set_text(int slot, std::u16string_view s);
  std::u16string get_text(int slot) const;
  void set_rect(int first, Rect r);
  Rect get_rect(int first) const;
};

// True when the message's arguments are integers or window handles only, so
// it may go to a window of another process.
bool is_wire_safe(std::uint32_t message, WParam wparam, LParam lparam);

// Marks an application message as one that carries a pointer, so it is
// never sent to another process.
void declare_pointer_message(std::uint32_t message);

// Whole-packet socket I/O; false when the peer is gone or the packet is
// malformed.
bool write_packet(int socket, const WirePacket& packet);
bool read_packet(int socket, WirePacket& packet);

}  // namespace ductra::platform
