// The "prompt stroke ended" signal as the device gives it: the named event
// the touch shim sets, opened for each use and closed again. Without the
// event (no shim has made it) a reset does nothing and a wait returns false
// at once.
#pragma once

#include "app/delivery/delivery_interfaces.h"
#include "appplatform/runtime_dir.h"

namespace ductra {

class SharedPromptStrokeSignal final : public PromptStrokeSignal {
 public:
  explicit SharedPromptStrokeSignal(const platform::RuntimeDir& runtime) : runtime_(runtime) {}

  void reset() override;
  bool wait(std::uint32_t ms) override;

 private:
  const platform::RuntimeDir& runtime_;
};

}  // namespace ductra
