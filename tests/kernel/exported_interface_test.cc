// The engine as a caller sees it: libinkrec.so loaded by name, functions
// resolved with C linkage.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>

#include "inkrec/inkrec.h"

namespace {

class ExportedInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(INKREC_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
  }

  template <typename F>
  F* resolve(const char* name) {
    return reinterpret_cast<F*>(dlsym(library_, name));
  }

  void* library_ = nullptr;
};

TEST_F(ExportedInterfaceTest, VersionIsCutToTheBuffer) {
  auto* get_version = resolve<decltype(crmGetVersion)>("crmGetVersion");
  ASSERT_NE(get_version, nullptr);
  char small[8];
  EXPECT_EQ(get_version(small, sizeof small), 462);
  EXPECT_STREQ(small, "9.0.462");
  char large[64];
  std::memset(large, 'x', sizeof large);
  EXPECT_EQ(get_version(large, sizeof large), 462);
  EXPECT_STREQ(large, "9.0.462.11806");
  EXPECT_EQ(large[63], 0);
  EXPECT_EQ(get_version(nullptr, 8), -2);
  char untouched = 'x';
  EXPECT_EQ(get_version(&untouched, 0), 462);
  EXPECT_EQ(untouched, 'x');
}

TEST_F(ExportedInterfaceTest, ErrorTextAndLifeCycle) {
  auto* error_text = resolve<decltype(crReturnErrText)>("crReturnErrText");
  ASSERT_NE(error_text, nullptr);
  char16_t text[256];
  EXPECT_EQ(error_text(-4001, text), 0);
  EXPECT_EQ(std::u16string(text), u"Не инициализирован основной класс ядра");
  EXPECT_EQ(error_text(12, text), -3);

  auto* create_kernel = resolve<decltype(crmCreateKernel)>("crmCreateKernel");
  auto* free_manager = resolve<decltype(crFreeCrMan)>("crFreeCrMan");
  ASSERT_NE(create_kernel, nullptr);
  ASSERT_NE(free_manager, nullptr);
  std::uint32_t id = 0;
  EXPECT_EQ(create_kernel(&id), 9004);
  EXPECT_EQ(free_manager(), 0);
}

// Every function of the interface, by family.
constexpr const char* kExportNames[] = {
    // Life cycle and kernels.
    "crInitCrMan", "crmInitCrMan", "crInitCrMan_NoKernel", "crmInitCrMan_NoKernel", "crFreeCrMan",
    "crmCreateKernel", "crmDeleteKernel", "crmSetActiveKernel", "crmGetCountKernels", "crmGetCore",
    "crmGetCore_ID", "crmReloadDatAndUserFile", "crmReloadUserDictionaryFile",
    // Ink, recognition and training.
    "crAddStroke", "crmAddStroke_ID", "crClearPane", "crmClearPane_ID", "crRecognize",
    "crmRecognize_ID", "crGetLine", "crSetActiveCharSets", "crmSetActiveCharsets_ID", "crmMakeCorr",
    "crmMakeCorrSpecial", "crmSetVariantsAndWrite",
    // Settings and flags.
    "crmSetDebugMode", "crmSetDebugMode_ID", "crmSetStopFlag", "crmSetStopFlag_ID",
    "crmSetQuickFlag", "crmGetShiftState", "crmSetShiftState", "crGetActiveCharSets",
    "crmGetFigOutList",
    // Word lists.
    "crGetWordWithBeg", "crmSearchWordInStandardDictionary", "crmSearchLettersByTextPrefix",
    "crReloadDictPathes",
    // Services.
    "crReturnErrText", "crmGetVersion", "cr_test_SetAlpha", "cr_test_SetExp", "cr_test_SetN",
    "cr_test_GetAlpha", "cr_test_GetExp", "cr_test_GetN",
    // Database.
    "crmSaveDat", "crmSaveTXT", "crSave", "crmAddCharSet", "crmDelCharSet", "crmEditCharSet",
    "crmGetCharSetCount", "crmGetCharSet", "crmGetCharSetByInd", "crmGetAllCharsets", "crmAddSymb",
    "crmDelSymb", "crmEditSymb", "crmGetSymbCount", "crmGetSymb", "crmGetSymbByInd",
    "crmAddCharSetSymb", "crmDelCharSetSymb", "crmEditCharSetSymb", "crmGetCharSetSymbCount",
    "crmGetCharSetSymb", "crmGetCharSetSymbByInd", "crmVariantAdd", "crmVariantDelete",
    "crmVariantSet", "crmVariantGetCountAll", "crmVariantGet", "crmVariantGetByInd",
    "crmVariantRebuildEtalons", "crmVariantRebuildEtalon", "crmComplexVariantAdd",
    "crmComplexVariantDelete", "crmComplexVariantSet", "crmComplexVariantGetCountAll",
    "crmComplexVariantGet", "crmComplexVariantGetByInd", "crmAddRaf", "crmEditRaf", "crmRafDelete",
    "crmRafCount", "crmRafGet", "crmRafGetByInd", "crmAddShape", "crmDelShape", "crmEditShape",
    "crmEditShapeDummy", "crmGetShapeCount", "crmGetShapeInfo", "crmGetShapeInfoByInd",
    "crmGetShape", "crmGetShapeByInd", "crmTuplesSet", "crmTuplesGet", "crmSpecPairsSetSS",
    "crmSpecPairsSetSC", "crmSpecPairsSetCS", "crmSpecPairsSetCC", "crmSpecPairsGetSS",
    "crmSpecPairsGetSC", "crmSpecPairsGetCS", "crmSpecPairsGetCC",
    // User dictionaries.
    "crGetCountOfUserDictionaries", "crGetIdOfCharSetOfUserDictionary",
    "crCheckTextOfWordForUserDictionary", "crGetCountOfWordsInUserDictionary",
    "crGetLengthOfWordInUserDictionary", "crGetTextOfWordInUserDictionary",
    "crGetProbabilityOfWordInUserDictionary", "crSetTextOfWordInUserDictionary",
    "crSetProbabilityOfWordInUserDictionary", "crAddWordToUserDictionary",
    "crSearchWordInUserDictionary", "crRemoveWordFromUserDictionary",
    "crSaveUserDictionariesToFile"};

TEST_F(ExportedInterfaceTest, AllOneHundredTwentyFunctionsResolve) {
  static_assert(std::size(kExportNames) == 120);
  std::set<std::string> distinct(std::begin(kExportNames), std::end(kExportNames));
  EXPECT_EQ(distinct.size(), 120u);
  for (const char* name : kExportNames) EXPECT_NE(dlsym(library_, name), nullptr) << name;
}

TEST_F(ExportedInterfaceTest, OnlyTheCInterfaceIsExported) {
  EXPECT_EQ(dlsym(library_, "_ZN6inkrec14get_error_textEiPDs"), nullptr);
}

}  // namespace
