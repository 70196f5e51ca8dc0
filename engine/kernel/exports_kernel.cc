// The exports that act on one kernel: ink and recognition, the active
// charsets, training, and the per-kernel settings and flags.
#include <algorithm>

#include "engine/kernel/c_records.h"
#include "engine/kernel/export_targets.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

int recognize(Kernel& kernel, const crRecognitionParams* params) {
  return params == nullptr ? kBadArgument : kernel.recognize(*engine_record(params));
}

int set_stop_flag(Kernel& kernel) {
  kernel.set_stop_flag();
  return kOk;
}

}  // namespace

extern "C" {

int crAddStroke(const crStrokeInput* strokes, int count, int16_t first, int16_t second) {
  return on_active_kernel([&](Kernel& kernel) {
    return kernel.add_strokes(engine_record(strokes), count, first, second);
  });
}

int crmAddStroke_ID(uint32_t id, const crStrokeInput* strokes, int count, int16_t first,
                    int16_t second) {
  return on_kernel_in_slot(id, [&](Kernel& kernel) {
    return kernel.add_strokes(engine_record(strokes), count, first, second);
  });
}

int crClearPane(void) {
  return on_active_kernel([](Kernel& kernel) {
    kernel.clear_pane();
    return kOk;
  });
}

int crmClearPane_ID(uint32_t id) {
  return on_kernel_in_slot(id, [](Kernel& kernel) {
    kernel.clear_pane();
    return kOk;
  });
}

int crRecognize(const crRecognitionParams* params) {
  return on_active_kernel([&](Kernel& kernel) { return recognize(kernel, params); });
}

int crmRecognize_ID(uint32_t id, const crRecognitionParams* params) {
  return on_kernel_in_slot(id, [&](Kernel& kernel) { return recognize(kernel, params); });
}

int crGetLine(const crRecognitionParams* params) {
  return on_active_kernel([&](Kernel& kernel) {
    return params == nullptr ? kBadArgument : kernel.get_line(*engine_record(params));
  });
}

int crSetActiveCharSets(const uint32_t* ids, int count) {
  return on_active_kernel([&](Kernel& kernel) { return kernel.set_active_charsets(ids, count); });
}

int crmSetActiveCharsets_ID(uint32_t id, const uint32_t* ids, int count) {
  return on_kernel_in_slot(id,
                           [&](Kernel& kernel) { return kernel.set_active_charsets(ids, count); });
}

int crmMakeCorr(const crCorrRequest* request, int variant_id, int step, int keep_counts, int p1,
                int p2, const crDynArray* feature_codes, const crDynArray* variants) {
  return on_active_kernel([&](Kernel& kernel) {
    return kernel.make_correction(engine_record(request), variant_id, step, keep_counts, p1, p2,
                                  from_c_array<std::uint32_t>(feature_codes),
                                  from_c_array<std::uint16_t>(variants));
  });
}

int crmMakeCorrSpecial(const crCorrRequest* request, int figure_index, int start_point,
                       int end_point, int variant_id, int step, int keep_counts, int p1, int p2,
                       const crDynArray* feature_codes, const crDynArray* variants) {
  return on_active_kernel([&](Kernel& kernel) {
    return kernel.make_correction_special(
        engine_record(request), figure_index, start_point, end_point, variant_id, step, keep_counts,
        p1, p2, from_c_array<std::uint32_t>(feature_codes), from_c_array<std::uint16_t>(variants));
  });
}

int crmSetDebugMode(uint32_t mode) {
  return on_active_kernel([&](Kernel& kernel) {
    kernel.set_debug_mode(mode);
    return kOk;
  });
}

int crmSetDebugMode_ID(uint32_t id, uint32_t mode) {
  return on_kernel_in_slot(id, [&](Kernel& kernel) {
    kernel.set_debug_mode(mode);
    return kOk;
  });
}

int crmSetStopFlag(void) { return on_active_kernel(set_stop_flag); }

int crmSetStopFlag_ID(uint32_t id) { return on_kernel_in_slot(id, set_stop_flag); }

int crmSetQuickFlag(void) {
  return on_active_kernel([](Kernel& kernel) {
    kernel.set_quick_flag();
    return kOk;
  });
}

int crmGetShiftState(uint8_t state[2]) {
  Kernel* kernel = active_kernel();
  if (kernel == nullptr) return kOutOfMemory;
  if (state == nullptr) return kBadArgument;
  state[0] = kernel->shift_state().caps;
  state[1] = kernel->shift_state().shift;
  return kOk;
}

int crmSetShiftState(uint16_t state) {
  Kernel* kernel = active_kernel();
  if (kernel == nullptr) return kOutOfMemory;
  kernel->set_shift_state(
      {static_cast<std::uint8_t>(state & 0xFF), static_cast<std::uint8_t>(state >> 8)});
  return kOk;
}

int crGetActiveCharSets(uint32_t* ids, uint32_t* count) {
  if (ids == nullptr || count == nullptr) return kOk;
  return on_active_kernel([&](Kernel& kernel) {
    const std::span<const std::uint32_t> active = kernel.active_charsets();
    const std::size_t copied = std::min<std::size_t>(*count, active.size());
    std::copy_n(active.begin(), copied, ids);
    *count = static_cast<std::uint32_t>(active.size());
    return kOk;
  });
}

int crmGetFigOutList(void** out_list) {
  return on_active_kernel([&](Kernel& kernel) {
    if (out_list == nullptr) return kBadArgument;
    *out_list = kernel.letter_search().fig_out_list();
    return kOk;
  });
}

}  // extern "C"
