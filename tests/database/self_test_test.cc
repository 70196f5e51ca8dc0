// The knowledge base's self-test: its report on a sound database, and the
// finding it writes for each planted fault.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/feature_store.h"
#include "tests/support/letter_shapes.h"
#include "tests/support/raf_figures.h"
#include "tests/support/small_database.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;

std::string file_text(const std::string& path) {
  const std::vector<unsigned char> bytes = read_bytes(path);
  return {bytes.begin(), bytes.end()};
}

class SelfTestTest : public ::testing::Test {
 public:
  SelfTestTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = testing::open_feature_store(dir_.file("qlmain.dt"));
  }

  // Runs the self-test; its result, with the report in report_.
  int run() {
    const int result = store_->self_test(dir_.file("report.txt").c_str());
    report_ = file_text(dir_.file("report.txt"));
    return result;
  }

  bool reported(std::u16string_view text) const {
    return report_.find(to_code_page_1251(text)) != std::string::npos;
  }

  KnowledgeBase& kb() { return store_->knowledge_base(); }
  Variant& variant(std::uint16_t id) { return kb().variants()[id - 1u]; }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
  std::string report_;
};

TEST_F(SelfTestTest, EmptyDatabasePassesWithEveryHeadingInTheReport) {
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(report_, file_text(INKREC_TEST_DATA_DIR "/self_test_empty.txt"));
}

TEST_F(SelfTestTest, SoundDatabasePassesAndListsItsRarelyUsedVariants) {
  ASSERT_NO_FATAL_FAILURE(testing::fill_small_database(*store_));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(report_, file_text(INKREC_TEST_DATA_DIR "/self_test_small.txt"));
}

TEST_F(SelfTestTest, DatabaseEditedThroughTheKnowledgeBasePasses) {
  ASSERT_EQ(kb().rafs().assign(test::full_raf_list()), kOk);
  for (const char letter : {'L', 'V', 'N'}) {
    ASSERT_EQ(store_->add_shape(test::letter_shape(letter)), kOk);
  }
  const auto record = [](std::uint16_t shape_id, bool special = false) {
    Variant made = testing::variant(0, 5, u'A' + shape_id, shape_id, 0);
    made.special_recognition = special ? kSpecialRecognition : 0;
    return made;
  };
  ASSERT_EQ(store_->add_variant(record(1)), kOk);
  ASSERT_EQ(store_->add_variant_with_base(record(1), 1), kOk);
  ASSERT_EQ(store_->add_variant(record(2)), kOk);
  ASSERT_EQ(store_->add_variant(record(3)), kOk);
  ASSERT_EQ(store_->add_variant(record(3, true)), kOk);
  Tag4Record sample;
  sample.words[1] = 1;
  sample.words[2] = 1;
  const std::uint16_t hits[] = {0, 5, 10};
  ASSERT_EQ(store_->replace_variant(2, 1, hits, sample), kOk);  // its own etalon now
  ASSERT_EQ(store_->delete_variant(3), kOk);
  ASSERT_EQ(kb().etalons().size(), 3u);

  EXPECT_EQ(run(), 1) << report_;
}

struct Fault {
  const char* what;
  std::function<void(SelfTestTest&)> plant;
  int result;
  std::u16string_view finding;
};

TEST_F(SelfTestTest, NamesEachPlantedFault) {
  using T = SelfTestTest;
  const Fault faults[] = {
      {"shapes out of order",
       [](T& t) {
         Shape z = testing::shape_of("z", 1);
         z.info.id = 2;
         ASSERT_EQ(t.kb().shapes().add(z), kOk);
       },
       0,
       u"Упорядочен ли список шейпов по возрастанию ID\nЭлемент 2 имеет ID 3, а с индексом 3 имеет "
       u"ID 2\n"},
      {"Rafs out of order", [](T& t) { t.kb().rafs()[1].id = 1; }, 0,
       u"рафов по возрастанию ID\nЭлемент 0 имеет ID 1, а с индексом 1 имеет ID 1\n"},
      {"two variants with one id", [](T& t) { t.variant(5).id = 4; }, 0,
       u"вариантов по возрастанию ID\nЭлемент 3 имеет ID 4, а с индексом 4 имеет ID 4\n"
       u"Были найдены ошибки."},
      {"etalons out of order", [](T& t) { t.kb().etalons()[0].id = 9; }, 0,
       u"эталонов по возрастанию ID\nЭлемент 0 имеет ID 9, а с индексом 1 имеет ID 2\n"},
      {"a special variant with an etalon", [](T& t) { t.variant(4).etalon_id = 3; }, 0,
       u"Вариант с индексом 3 имеет ID 4 и свойство special_recognition, но ссылается на эталон "
       u"с нормальным ID 3\n"},
      {"a variant on a missing etalon", [](T& t) { t.variant(5).etalon_id = 8; }, 0,
       u"Вариант с индексом 4 имеет ID 5 и ссылается на отсутствующий эталон с ID 8\n"},
      {"a variant without its shape", [](T& t) { t.variant(2).shape_id = 7; }, 0,
       u"Вариант с индексом 1 имеет ID 2 и ссылается на отсутствующий шейп с ID 7\n"},
      {"a sample without strokes", [](T& t) { t.kb().shapes().at(0)->samples[1].strokes.clear(); },
       0, u"Шейп с индексом 0 имеет ID 1 и имя a и имеет пустой образец с индексом 1\n"},
      {"a stroke of four points",
       [](T& t) {
         t.kb().shapes().at(2)->samples[0].strokes.push_back(testing::diagonal_stroke(4, 50));
       },
       1,
       u"Шейп с индексом 2 имеет ID 3 и имя b и имеет почти пустой образец с индексом 0 на "
       u"строуке 1\nТест пройден успешно."},
      {"a small stroke of twenty points",
       [](T& t) {
         t.kb().shapes().at(1)->samples[0].strokes.push_back(testing::diagonal_stroke(20, 0));
       },
       1, u"имя dot и имеет почти пустой образец с индексом 0 на строуке 1\n"},
      {"an etalon with a wrong reference count",
       [](T& t) { t.kb().etalons()[0].reference_count_ = 3; }, 0,
       u"Эталон с индексом 0, имеющий ID 1, имеет поле reference_count_ равное 3, а на самом деле "
       u"на него ссылаются 2 вариантов.\n"},
      {"an etalon without users",
       [](T& t) { ASSERT_NO_FATAL_FAILURE(testing::add_etalon(t.kb(), 4, 2)); }, 0,
       u"Эталон с индексом 3, имеющий ID 4, не имеет ни одного варианта, ссылающегося на него\n"
       u"Эталон с индексом 3, имеющий ID 4, имеет поле reference_count_ равное 2, а на самом деле "
       u"на него ссылаются 0 вариантов.\n"},
      {"an etalon counting no user",
       [](T& t) { ASSERT_NO_FATAL_FAILURE(testing::add_etalon(t.kb(), 4, 0)); }, 0,
       u"Эталон с индексом 3, имеющий ID 4, имеет поле reference_count_ равное 0\n"
       u"Эталон с индексом 3, имеющий ID 4, не имеет ни одного варианта, ссылающегося на него\n"
       u"Были найдены ошибки."},
      {"one etalon for two shapes", [](T& t) { t.variant(2).shape_id = 3; }, 0,
       u"Эталон с индексом 0 имеет ID 1,\n  на него ссылается вариант с индексом 1 и ID 2,\n  "
       u"имеющий поле shape_id 3, не совпадающее с первым вариантом данного эталона 1\n\n"},
      {"a detail missing from its charset", [](T& t) { t.variant(3).idSet = 4; }, 0,
       u"Не найдена деталь для чарсета 5 с шейпом 2 на символе с кодом: 105\n"
       u"Не найдена деталь для чарсета 5 с шейпом 2 на символе с кодом: 98\n"},
      {"a redundant detail",
       [](T& t) {
         t.variant(2).shape_id = 2;
         t.variant(2).etalon_id = 2;
         t.kb().etalons()[0].reference_count_ = 1;
         t.kb().etalons()[1].reference_count_ = 2;
       },
       1,
       u"Обнаружено излишество в чарсете 5 с шейпом 2. Есть вариант [2] символа с кодом: 97\n"
       u"Были найдены ошибки.\n\n"},
      {"clusters out of order and out of their language",
       [](T& t) { t.store_->spec_pairs_ss_mutable()[0].groups[1].key = 5; }, 0,
       u"\nПроверка пар простые-простые\n\nязык: 5\n\tпервый вариант не в своем языке: 5\n"
       u"В спецпарах простые-простые найдены ошибки\n"},
      {"a repeated first variant",
       [](T& t) { t.store_->spec_pairs_ss_mutable()[0].groups[1].key = 1; }, 0,
       u"простые-простые\nязык: 5\n\tпервый вариант повтор: 1\n"},
      {"a bad second variant",
       [](T& t) {
         t.store_->spec_pairs_sc_mutable()[0].groups[0].pairs[0] = {7, -2, 0};
       },
       0,
       u"\nПроверка пар простые-комплексные\n\nязык: 5\n\tвариант кластера: 1\n"
       u"\t\tвторой вариант отсутсвует в списке вариантов: 7\n"
       u"\t\tнеправильная спецпара (var2, maxdelta, minmeres): 7,-2,0\n"
       u"В спецпарах простые-комплексные обнаружены ошибки\n"},
      {"a first variant 0", [](T& t) { t.store_->spec_pairs_ss_mutable()[0].groups[0].key = 0; }, 0,
       u"\n\nязык: 5\n\tпервый вариант имеет недопустимое значение: 0\n"},
      {"a tuple with rule 85", [](T& t) { t.store_->tuples_mutable()[0].tuples[0].rule = 85; }, 0,
       u"язык: 5\n\tправило имеет неверный номер: 85, кортеж: 0\nВ кортежах обнаружены ошибки\n"},
      {"tuple lists out of order, repeated and unknown",
       [](T& t) {
         Tuple& second = t.store_->tuples_mutable()[0].tuples[1];
         second.lists[0][0] = 2;  // complex variants 2, 2
         second.lists[2][0] = 9;
       },
       0,
       u"язык: 5\n\tправило: 1, кортеж: 1\n\t\tповтор в первый жадный, вариант: 2\n"
       u"\t\tслабый нет в списке вариантов, вариант: 9\nВ кортежах обнаружены ошибки\n"},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    store_ = testing::open_feature_store(dir_.file("qlmain.dt"));
    ASSERT_NO_FATAL_FAILURE(testing::fill_small_database(*store_));
    ASSERT_NO_FATAL_FAILURE(fault.plant(*this));
    EXPECT_EQ(run(), fault.result);
    EXPECT_TRUE(reported(fault.finding)) << file_text(dir_.file("report.txt"));
  }
}

TEST_F(SelfTestTest, ReportThatCannotBeWrittenIsAStatus) {
  EXPECT_EQ(store_->self_test(dir_.file("missing/report.txt").c_str()), kDataFileOpen);
  EXPECT_EQ(store_->self_test(nullptr), kBadArgument);
}

}  // namespace
}  // namespace inkrec
