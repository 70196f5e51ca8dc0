#include "app/shell/engine_library.h"

#include <dlfcn.h>

namespace ductra {
namespace {

// Resolves one entry point into `slot`; false, with the name in *missing,
// when the library lacks it.
template <typename Function>
bool resolve(void* handle, const char* name, Function* slot, std::string* missing) {
  *slot = reinterpret_cast<Function>(dlsym(handle, name));
  if (*slot == nullptr) *missing = name;
  return *slot != nullptr;
}

bool resolve_all(void* handle, EngineExports* e, std::string* missing) {
  return resolve(handle, "crInitCrMan", &e->init_cr_man, missing) &&
         resolve(handle, "crFreeCrMan", &e->free_cr_man, missing) &&
         resolve(handle, "crAddStroke", &e->add_stroke, missing) &&
         resolve(handle, "crClearPane", &e->clear_pane, missing) &&
         resolve(handle, "crRecognize", &e->recognize, missing) &&
         resolve(handle, "crmSetQuickFlag", &e->set_quick_flag, missing) &&
         resolve(handle, "crmSetStopFlag", &e->set_stop_flag, missing) &&
         resolve(handle, "crmSetDebugMode", &e->set_debug_mode, missing) &&
         resolve(handle, "crmGetFigOutList", &e->get_fig_out_list, missing) &&
         resolve(handle, "crFigOutGroupCount", &e->fig_out_group_count, missing) &&
         resolve(handle, "crFigOutFigureCount", &e->fig_out_figure_count, missing) &&
         resolve(handle, "crFigOutFigureIndex", &e->fig_out_figure_index, missing) &&
         resolve(handle, "crFigOutFigureReadings", &e->fig_out_figure_readings, missing) &&
         resolve(handle, "crFigOutGroupAnswers", &e->fig_out_group_answers, missing) &&
         resolve(handle, "crGetActiveCharSets", &e->get_active_char_sets, missing) &&
         resolve(handle, "crSetActiveCharSets", &e->set_active_char_sets, missing) &&
         resolve(handle, "crReturnErrText", &e->return_err_text, missing) &&
         resolve(handle, "crmGetVersion", &e->get_version, missing) &&
         resolve(handle, "crmGetCharSetCount", &e->get_char_set_count, missing) &&
         resolve(handle, "crmGetCharSet", &e->get_char_set, missing) &&
         resolve(handle, "crmGetCharSetByInd", &e->get_char_set_by_ind, missing) &&
         resolve(handle, "crmSetVariantsAndWrite", &e->set_variants_and_write, missing) &&
         resolve(handle, "crmGetCharSetSymbCount", &e->get_char_set_symb_count, missing) &&
         resolve(handle, "crmGetCharSetSymbByInd", &e->get_char_set_symb_by_ind, missing) &&
         resolve(handle, "crmVariantGetCountAll", &e->variant_get_count_all, missing) &&
         resolve(handle, "crmVariantGetByInd", &e->variant_get_by_ind, missing) &&
         resolve(handle, "crmVariantSet", &e->variant_set, missing) &&
         resolve(handle, "crmComplexVariantGetCountAll", &e->complex_variant_get_count_all,
                 missing) &&
         resolve(handle, "crmComplexVariantGetByInd", &e->complex_variant_get_by_ind, missing) &&
         resolve(handle, "crmComplexVariantSet", &e->complex_variant_set, missing) &&
         resolve(handle, "crmGetShape", &e->get_shape, missing) &&
         resolve(handle, "crGetCountOfUserDictionaries", &e->get_count_of_user_dictionaries,
                 missing) &&
         resolve(handle, "crGetIdOfCharSetOfUserDictionary",
                 &e->get_id_of_char_set_of_user_dictionary, missing) &&
         resolve(handle, "crGetCountOfWordsInUserDictionary",
                 &e->get_count_of_words_in_user_dictionary, missing) &&
         resolve(handle, "crGetLengthOfWordInUserDictionary",
                 &e->get_length_of_word_in_user_dictionary, missing) &&
         resolve(handle, "crGetTextOfWordInUserDictionary",
                 &e->get_text_of_word_in_user_dictionary, missing) &&
         resolve(handle, "crCheckTextOfWordForUserDictionary",
                 &e->check_text_of_word_for_user_dictionary, missing) &&
         resolve(handle, "crAddWordToUserDictionary", &e->add_word_to_user_dictionary,
                 missing) &&
         resolve(handle, "crRemoveWordFromUserDictionary", &e->remove_word_from_user_dictionary,
                 missing) &&
         resolve(handle, "crSearchWordInUserDictionary", &e->search_word_in_user_dictionary,
                 missing) &&
         resolve(handle, "crSaveUserDictionariesToFile", &e->save_user_dictionaries_to_file,
                 missing);
}

}  // namespace

std::unique_ptr<EngineLibrary> EngineLibrary::open(const std::filesystem::path& path,
                                                   std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    *error = "cannot load the recognition engine " + path.string() + ": " +
             (reason != nullptr ? reason : "unknown reason");
    return nullptr;
  }
  EngineExports exports;
  std::string missing;
  if (!resolve_all(handle, &exports, &missing)) {
    dlclose(handle);
    *error = "the recognition engine " + path.string() + " lacks the entry point " + missing;
    return nullptr;
  }
  return std::make_unique<EngineLibrary>(Key{}, handle, exports);
}

EngineLibrary::~EngineLibrary() { dlclose(handle_); }

}  // namespace ductra
