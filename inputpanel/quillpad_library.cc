// The exported entries of libquillpad.so, on the process's one component.
#include "inputpanel/quillpad_library.h"

#include "inputpanel/class_factory.h"

using ductra::quillpad::Component;

extern "C" {

ductra::platform::HResult DllGetClassObject(const ductra::platform::Guid& clsid, const ductra::platform::Guid& iid,
                                            void** out) {
  return ductra::quillpad::get_class_object(Component::of_this_process(), clsid, iid, out);
}

ductra::platform::HResult DllCanUnloadNow() { return ductra::quillpad::can_unload_now(Component::of_this_process()); }

}  // extern "C"
