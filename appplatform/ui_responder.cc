#include "appplatform/ui_responder.h"

#include <atomic>

#include "appplatform/pen_responder.h"

namespace ductra::platform {

namespace {

std::atomic<UiResponder*> installed{nullptr};

}  // namespace

UiResponder& ui_responder() {
  static PenResponder pen;
  UiResponder* responder = installed.load();
  return responder ? *responder : pen;
}

UiResponder* set_ui_responder(UiResponder* responder) { return installed.exchange(responder); }

}  // namespace ductra::platform
