// The life-cycle and kernel-management exports.
#include "engine/kernel/c_array.h"
#include "engine/kernel/crman.h"
#include "engine/kernel/startup.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

int init_and_create_kernel(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                           const char16_t* dict_dir, const crDynArray* path_list,
                           const crDynArray* charset_id_list, const char16_t* user_txt_path) {
  const int status = init_engine(data_path, mode, alt_data_path, dict_dir,
                                 from_c_array<DynArray<char16_t>>(path_list),
                                 from_c_array<std::uint32_t>(charset_id_list), user_txt_path);
  if (status != kOk) return status;
  std::uint32_t id = 0;
  return crman_instance()->create_kernel(&id);
}

int init_without_kernel(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                        const char16_t* dict_dir, const crDynArray* path_list,
                        const crDynArray* charset_id_list) {
  return init_engine(data_path, mode, alt_data_path, dict_dir,
                     from_c_array<DynArray<char16_t>>(path_list),
                     from_c_array<std::uint32_t>(charset_id_list), nullptr);
}

}  // namespace

extern "C" {

int crInitCrMan(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                const char16_t* dict_dir, const crDynArray* path_list,
                const crDynArray* charset_id_list, const char16_t* user_txt_path) {
  return init_and_create_kernel(data_path, mode, alt_data_path, dict_dir, path_list,
                                charset_id_list, user_txt_path);
}

int crmInitCrMan(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                 const char16_t* dict_dir, const crDynArray* path_list,
                 const crDynArray* charset_id_list, const char16_t* user_txt_path) {
  return init_and_create_kernel(data_path, mode, alt_data_path, dict_dir, path_list,
                                charset_id_list, user_txt_path);
}

int crInitCrMan_NoKernel(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                         const char16_t* dict_dir, const crDynArray* path_list,
                         const crDynArray* charset_id_list) {
  return init_without_kernel(data_path, mode, alt_data_path, dict_dir, path_list, charset_id_list);
}

int crmInitCrMan_NoKernel(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                          const char16_t* dict_dir, const crDynArray* path_list,
                          const crDynArray* charset_id_list) {
  return init_without_kernel(data_path, mode, alt_data_path, dict_dir, path_list, charset_id_list);
}

int crFreeCrMan(void) {
  crman_free();
  return kOk;
}

int crmCreateKernel(uint32_t* out_id) {
  CrMan* manager = crman_instance();
  return manager == nullptr ? kOutOfMemory : manager->create_kernel(out_id);
}

int crmDeleteKernel(uint32_t id) {
  CrMan* manager = crman_instance();
  return manager == nullptr ? kOutOfMemory : manager->delete_kernel(id);
}

int crmSetActiveKernel(uint32_t id) {
  CrMan* manager = crman_instance();
  return manager == nullptr ? kOutOfMemory : manager->set_active_kernel(id);
}

int crmGetCountKernels(void) {
  CrMan* manager = crman_instance();
  return manager == nullptr ? 0 : static_cast<int>(manager->live_count());
}

int crmGetCore(void** out_kernel) {
  if (out_kernel == nullptr) return kBadArgument;
  CrMan* manager = crman_if_exists();
  Kernel* kernel = manager == nullptr ? nullptr : manager->active_kernel();
  *out_kernel = kernel;
  return kernel != nullptr ? kOk : kBadArgument;
}

int crmGetCore_ID(uint32_t id, void** out_kernel) {
  CrMan* manager = crman_instance();
  if (manager == nullptr) return kOutOfMemory;
  Kernel* kernel = nullptr;
  const int status = manager->kernel_by_id(id, &kernel);
  if (status == kOk) *out_kernel = kernel;
  return status;
}

int crmReloadDatAndUserFile(void) {
  CrMan* manager = crman_instance();
  if (manager == nullptr) return kOutOfMemory;
  const int store_status = manager->reload_data_store();
  const int kernel_status = manager->reinitialize_kernels();
  const int dictionary_status = manager->reload_user_dictionaries();
  if (store_status != kOk) return store_status;
  return kernel_status != kOk ? kernel_status : dictionary_status;
}

int crmReloadUserDictionaryFile(void) {
  CrMan* manager = crman_instance();
  return manager == nullptr ? kOutOfMemory : manager->reload_user_dictionaries();
}

}  // extern "C"
