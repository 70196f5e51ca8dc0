// The recognition engine as a loaded library: the exports the application
// calls, resolved by name from the engine's shared object.
//
// The application reaches the engine only through these entry points, whose
// types come from the engine's public header. A library that lacks one of
// them is refused whole, so a caller never meets a missing entry point. The
// object keeps the library loaded for its life.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "inkrec/figure_output.h"
#include "inkrec/inkrec.h"

namespace ductra {

struct EngineExports {
  decltype(&::crInitCrMan) init_cr_man = nullptr;
  decltype(&::crFreeCrMan) free_cr_man = nullptr;
  decltype(&::crAddStroke) add_stroke = nullptr;
  decltype(&::crClearPane) clear_pane = nullptr;
  decltype(&::crRecognize) recognize = nullptr;
  decltype(&::crmSetQuickFlag) set_quick_flag = nullptr;
  decltype(&::crmSetStopFlag) set_stop_flag = nullptr;
  decltype(&::crmSetDebugMode) set_debug_mode = nullptr;
  decltype(&::crmGetFigOutList) get_fig_out_list = nullptr;
  decltype(&::crFigOutGroupCount) fig_out_group_count = nullptr;
  decltype(&::crFigOutFigureCount) fig_out_figure_count = nullptr;
  decltype(&::crFigOutFigureIndex) fig_out_figure_index = nullptr;
  decltype(&::crFigOutFigureReadings) fig_out_figure_readings = nullptr;
  decltype(&::crFigOutGroupAnswers) fig_out_group_answers = nullptr;
  decltype(&::crGetActiveCharSets) get_active_char_sets = nullptr;
  decltype(&::crSetActiveCharSets) set_active_char_sets = nullptr;
  decltype(&::crReturnErrText) return_err_text = nullptr;
  decltype(&::crmGetVersion) get_version = nullptr;
  decltype(&::crmGetCharSetCount) get_char_set_count = nullptr;
  decltype(&::crmGetCharSet) get_char_set = nullptr;
  decltype(&::crmGetCharSetByInd) get_char_set_by_ind = nullptr;
  decltype(&::crmSetVariantsAndWrite) set_variants_and_write = nullptr;
  decltype(&::crmGetCharSetSymbCount) get_char_set_symb_count = nullptr;
  decltype(&::crmGetCharSetSymbByInd) get_char_set_symb_by_ind = nullptr;
  decltype(&::crmVariantGetCountAll) variant_get_count_all = nullptr;
  decltype(&::crmVariantGetByInd) variant_get_by_ind = nullptr;
  decltype(&::crmVariantSet) variant_set = nullptr;
  decltype(&::crmComplexVariantGetCountAll) complex_variant_get_count_all = nullptr;
  decltype(&::crmComplexVariantGetByInd) complex_variant_get_by_ind = nullptr;
  decltype(&::crmComplexVariantSet) complex_variant_set = nullptr;
  decltype(&::crmGetShape) get_shape = nullptr;
  decltype(&::crGetCountOfUserDictionaries) get_count_of_user_dictionaries = nullptr;
  decltype(&::crGetIdOfCharSetOfUserDictionary) get_id_of_char_set_of_user_dictionary = nullptr;
  decltype(&::crGetCountOfWordsInUserDictionary) get_count_of_words_in_user_dictionary = nullptr;
  decltype(&::crGetLengthOfWordInUserDictionary) get_length_of_word_in_user_dictionary = nullptr;
  decltype(&::crGetTextOfWordInUserDictionary) get_text_of_word_in_user_dictionary = nullptr;
  decltype(&::crCheckTextOfWordForUserDictionary) check_text_of_word_for_user_dictionary = nullptr;
  decltype(&::crAddWordToUserDictionary) add_word_to_user_dictionary = nullptr;
  decltype(&::crRemoveWordFromUserDictionary) remove_word_from_user_dictionary = nullptr;
  decltype(&::crSearchWordInUserDictionary) search_word_in_user_dictionary = nullptr;
  decltype(&::crSaveUserDictionariesToFile) save_user_dictionaries_to_file = nullptr;
};

class EngineLibrary {
 public:
  // Loads the library at `path` and resolves every entry point; null, with
  // the reason in *error, when the library cannot be loaded or lacks one.
  static std::unique_ptr<EngineLibrary> open(const std::filesystem::path& path, std::string* error);

  ~EngineLibrary();
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  const EngineExports& exports() const { return exports_; }

 private:
  struct Key {};

 public:
  EngineLibrary(Key, void* handle, const EngineExports& exports) : handle_(handle), exports_(exports) {}

 private:
  void* handle_;
  EngineExports exports_;
};

}  // namespace ductra
