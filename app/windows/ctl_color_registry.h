// Which routine colours which static control: the answer the shell window
// gives to WM_CTLCOLORSTATIC for the controls it owns (the prompt bubble).
//
// A routine takes the drawing context of the control and its context value
// and returns the brush of the control's background; the brush stays alive
// as long as the control's entry. The shell window's procedure calls
// dispatch() first for every message and answers with a non-zero result.
// One instance serves the process and is emptied at exit; tests may build
// their own. Used on the UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "appplatform/draw/device_context.h"
#include "appplatform/window_types.h"

namespace ductra {

class CtlColorRegistry {
 public:
  using Routine = const platform::Brush* (*)(platform::DeviceContext& dc, void* context);

  static CtlColorRegistry& instance();

  // Appends an entry unless the control has one already.
  void add(platform::WindowHandle control, Routine routine, void* context);
  // Removes the control's entry, keeping the order of the others.
  void remove(platform::WindowHandle control);
  // Forgets every entry (a run starts with none: an entry left by an
  // earlier run would name a control and a context that are gone).
  void clear() { entries_.clear(); }
  // For WM_CTLCOLORSTATIC (wParam the context, lParam the control's handle)
  // of a registered control, the brush its routine returns; otherwise 0.
  platform::MessageResult dispatch(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) const;
  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    platform::WindowHandle control;
    Routine routine = nullptr;
    void* context = nullptr;
  };

  std::vector<Entry> entries_;
};

}  // namespace ductra
