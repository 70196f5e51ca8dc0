#include "appplatform/com/input_panel_manager.h"

#include <mutex>

#include "appplatform/com/input_panel_calls.h"
#include "appplatform/event.h"
#include "appplatform/handed_work.h"
#include "appplatform/wait.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

// wParam 0, lParam a const std::function<void()>* to run on the panel's thread.
constexpr std::uint32_t kRunWork = WM_APP + 0x3F0;

IInputMethod* make_input_method(const InputMethodEntry& entry) {
  void* factory_pointer = nullptr;
  if (failed(entry.get_class_object(entry.clsid, IID_IClassFactory, &factory_pointer)) || !factory_pointer) {
    return nullptr;
  }
  auto* factory = static_cast<IClassFactory*>(factory_pointer);
  void* method = nullptr;
  const HResult made = factory->CreateInstance(nullptr, IID_IInputMethod, &method);
  factory->Release();
  return succeeded(made) ? static_cast<IInputMethod*>(method) : nullptr;
}

}  // namespace

struct InputPanelManager::State {
  KeySink* sink = nullptr;
  Rect panel_rect;
  std::vector<InputMethodEntry> entries;  // manager thread only
  std::optional<Guid> default_clsid;
  std::optional<Guid> current_clsid;
  IInputMethod* current = nullptr;
  bool shown = false;
  std::mutex info_mutex;  // SetImInfo may come from any thread
  std::optional<ImInfo> im_info;

  const InputMethodEntry* find(const Guid& clsid) const {
    for (const InputMethodEntry& e : entries) {
      if (e.clsid == clsid) return &e;
    }
    return nullptr;
  }
  void keep_info(const ImInfo& info) {
    std::lock_guard lock(info_mutex);
    im_info = info;
  }
};

// The manager's callback lives as long as the manager: its count is kept
// for the interface's sake, but Release never frees it.
class InputPanelManager::Callback final : public IIMCallback {
 public:
  explicit Callback(State& state) : state_(state) {}

  HResult QueryInterface(const Guid& iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!(iid == IID_IUnknown) && !(iid == IID_IIMCallback)) return E_NOINTERFACE;
    *out = static_cast<IIMCallback*>(this);
    AddRef();
    return S_OK;
  }
  std::uint32_t AddRef() override { return ++count_; }
  std::uint32_t Release() override { return count_ > 1 ? --count_ : 1; }

  HResult SetImInfo(const ImInfo* info) override {
    if (!info || info->cb_size != sizeof(ImInfo)) return E_INVALIDARG;
    state_.keep_info(*info);
    return S_OK;
  }
  HResult SendVirtualKey(std::uint8_t virtual_key, std::uint32_t flags) override {
    state_.sink->send_key(virtual_key, (flags & kKeyUp) != 0);
    return S_OK;
  }
  HResult SendCharEvents(std::uint32_t virtual_key, std::uint32_t key_flags, std::uint32_t count,
                         const std::uint32_t*, const std::uint32_t* characters) override {
    if (count > 0 && !characters) return E_POINTER;
    for (std::uint32_t i = 0; i < count; ++i) {
      state_.sink->send_character(virtual_key, static_cast<char32_t>(characters[i]), (key_flags & kKeyDown) == 0);
    }
    return S_OK;
  }
  HResult SendString(const char16_t* text, std::uint32_t length) override {
    if (length > 0 && !text) return E_POINTER;
    state_.sink->send_string(std::u16string_view(text ? text : u"", length));
    return S_OK;
  }

 private:
  static constexpr std::uint32_t kKeyUp = 0x2;
  static constexpr std::uint32_t kKeyDown = 0x80;
  State& state_;
  std::atomic<std::uint32_t> count_{1};
};

InputPanelManager::InputPanelManager(KeySink& sink, Rect panel)
    : state_(std::make_unique<State>()), callback_(std::make_unique<Callback>(*state_)) {
  state_->sink = &sink;
  state_->panel_rect = panel;
  start_thread();
}

InputPanelManager::~InputPanelManager() {
  run([this] {
    State& s = *state_;
    if (!s.current) return;
    if (s.shown) s.current->Hiding();
    s.current->Deselect();
    s.current->Release();
    s.current = nullptr;
  });
  thread_.reset();  // asks the thread to stop and waits for it
}

void InputPanelManager::start_thread() {
  Event ready(EventReset::manual, false);
  std::atomic<std::uint32_t> panel{0};
  const Rect rect = state_->panel_rect;
  thread_ = Thread::start([this, &ready, &panel, rect]() -> std::uint32_t {
    WindowSystem& system = WindowSystem::current();
    system.register_class({kPanelWindowClass, panel_procedure});
    CreateWindowParams params;
    params.class_name = kPanelWindowClass;
    params.style = WS_POPUP;
    params.ex_style = WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.x = rect.left;
    params.y = rect.top;
    params.width = rect.width();
    params.height = rect.height();
    const WindowHandle window = system.create_window(params);
    system.set_user_data(window, reinterpret_cast<std::uintptr_t>(this));
    panel.store(window.id);
    ready.set();
    Message message;
    while (system.get_message(message) > 0) system.dispatch_message(message);
    return 0;
  });
  if (!thread_) return;
  wait_for(ready, kInfinite, {.stoppable = false});
  panel_ = WindowHandle{panel.load()};
}

MessageResult InputPanelManager::panel_procedure(WindowHandle window, std::uint32_t message, WParam wparam,
                                                 LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  auto* manager = reinterpret_cast<InputPanelManager*>(system.user_data(window));
  if (manager == nullptr) return system.default_procedure(window, message, wparam, lparam);
  switch (message) {
    case kRunWork:
      return run_handed_work(lparam) ? 1 : 0;
    case WM_PANEL_SHOW:
    case WM_PANEL_SET_CURRENT:
    case WM_PANEL_CURRENT_IS:
    case WM_PANEL_IS_SHOWN:
      return manager->answer_call(message, wparam, lparam);
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

bool InputPanelManager::run(const std::function<void()>& work) {
  if (!thread_ || !panel_) return false;
  const SendOutcome outcome = send_work(panel_, kRunWork, work);
  return outcome.status == MessageStatus::delivered && outcome.result == 1;
}

MessageResult InputPanelManager::answer_call(std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PANEL_SHOW:
      return show(wparam != 0) ? 1 : 0;
    case WM_PANEL_SET_CURRENT:
      return set_current(guid_from_halves(wparam, lparam)) ? 1 : 0;
    case WM_PANEL_CURRENT_IS:
      return current() == guid_from_halves(wparam, lparam) ? 1 : 0;
    default:
      return state_->shown ? 1 : 0;
  }
}

SipInfo InputPanelManager::sip_info_locked() const {
  return describe_panel(WindowSystem::current(), panel_, state_->shown);
}

bool InputPanelManager::register_input_method(const InputMethodEntry& entry) {
  bool added = false;
  run([&] {
    if (!entry.get_class_object || state_->find(entry.clsid)) return;
    state_->entries.push_back(entry);
    added = true;
  });
  return added;
}

std::vector<InputMethodEntry> InputPanelManager::input_methods() {
  std::vector<InputMethodEntry> out;
  run([&] { out = state_->entries; });
  return out;
}

bool InputPanelManager::set_default(const Guid& clsid) {
  bool known = false;
  run([&] {
    known = state_->find(clsid) != nullptr;
    if (known) state_->default_clsid = clsid;
  });
  return known;
}

std::optional<Guid> InputPanelManager::default_input_method() {
  std::optional<Guid> out;
  run([&] { out = state_->default_clsid; });
  return out;
}

bool InputPanelManager::set_current(const Guid& clsid) {
  bool done = false;
  run([&] {
    State& s = *state_;
    const InputMethodEntry* entry = s.find(clsid);
    if (!entry) return;
    if (s.current && s.current_clsid == clsid) {
      done = true;
      return;
    }
    IInputMethod* next = make_input_method(*entry);
    if (!next) return;
    if (failed(next->Select(panel_))) {
      next->Release();
      return;
    }
    if (s.current) {
      if (s.shown) s.current->Hiding();
      s.current->Deselect();
      s.current->Release();
    }
    s.current = next;
    s.current_clsid = clsid;
    {
      std::lock_guard lock(s.info_mutex);
      s.im_info.reset();
    }
    next->RegisterCallback(callback_.get());
    const SipInfo sip = sip_info_locked();
    next->ReceiveSipInfo(&sip);
    ImInfo info;
    if (succeeded(next->GetInfo(&info)) && info.cb_size == sizeof(ImInfo)) s.keep_info(info);
    if (s.shown) next->Showing();
    done = true;
  });
  return done;
}

std::optional<Guid> InputPanelManager::current() {
  std::optional<Guid> out;
  run([&] { out = state_->current ? state_->current_clsid : std::nullopt; });
  return out;
}

bool InputPanelManager::show(bool on) {
  return run([&] {
    State& s = *state_;
    if (s.shown == on) return;
    s.shown = on;
    WindowSystem::current().show_window(panel_, on ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (!s.current) return;
    const SipInfo sip = sip_info_locked();
    s.current->ReceiveSipInfo(&sip);
    if (on) s.current->Showing();
    else s.current->Hiding();
  });
}

bool InputPanelManager::get_info(SipInfo& info) {
  if (info.cb_size != sizeof(SipInfo)) return false;
  return run([&] { info = sip_info_locked(); });
}

std::optional<ImInfo> InputPanelManager::input_method_info() {
  std::lock_guard lock(state_->info_mutex);
  return state_->im_info;
}

}  // namespace ductra::platform
