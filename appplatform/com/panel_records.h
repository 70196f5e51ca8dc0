// The records the input-panel manager and input methods exchange: the
// panel's state (SipInfo) and what an input method shows of itself
// (ImInfo). Both are plain bytes with a size field first; a receiver
// checks the size before it reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "appplatform/geometry.h"

namespace ductra::platform {

class ImageList;

inline constexpr std::uint32_t SIPF_OFF = 0x0;
inline constexpr std::uint32_t SIPF_ON = 0x1;

struct SipInfo {
  std::uint32_t cb_size = sizeof(SipInfo);
  std::uint32_t flags = SIPF_OFF;    // SIPF_ON while the panel is shown
  Rect visible_desktop;               // the screen above the panel
  Rect sip_rect;                      // the panel
  std::uint32_t im_data_size = 0;    // input methods keep no data with the manager: 0
  std::uint32_t reserved = 0;
};
static_assert(sizeof(Rect) == 16);
static_assert(sizeof(SipInfo) == 48);
static_assert(offsetof(SipInfo, flags) == 4 && offsetof(SipInfo, visible_desktop) == 8 &&
              offsetof(SipInfo, sip_rect) == 24 && offsetof(SipInfo, im_data_size) == 40);

// On this platform image lists are objects of the process, so the record
// holds two pointers and is 48 bytes; cb_size is sizeof(ImInfo).
struct ImInfo {
  std::uint32_t cb_size = sizeof(ImInfo);
  std::uint32_t flags = 0;
  const ImageList* narrow_images = nullptr;
  const ImageList* wide_images = nullptr;
  std::int32_t narrow_index = 0;
  std::int32_t wide_index = 0;
  Rect sip_rect;
};
static_assert(sizeof(ImInfo) == 48);
static_assert(offsetof(ImInfo, narrow_images) == 8 && offsetof(ImInfo, wide_images) == 16 &&
              offsetof(ImInfo, narrow_index) == 24 && offsetof(ImInfo, wide_index) == 28 &&
              offsetof(ImInfo, sip_rect) == 32);

}  // namespace ductra::platform
