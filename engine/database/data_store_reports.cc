// The data store's readable outputs: the listing of its tables and the
// knowledge base's self-test report. Both go to a new file that replaces
// the old one only when it was written whole.
#include <string>

#include "engine/database/data_store.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/utf.h"

namespace inkrec {

int DataStore::save_text(const char* path) const {
  if (path == nullptr) return kBadArgument;
  ReplacingFile file{std::string(path)};
  if (!file.is_open()) return kDataFileOpen;
  dump_text(file.file());
  return file.commit();
}

int DataStore::save_text_w(const char16_t* path) const {
  if (path == nullptr) return kBadArgument;
  return save_text(utf16_to_utf8(wide_view(path)).c_str());
}

void DataStore::dump_text(FileHolder& out) const {
  out.printf("%s", to_code_page_1251(u"Структуры дат-файла\n\n").c_str());
  for (const auto& handler : handlers_) {
    if (handler == nullptr || handler->count() == 0) continue;
    handler->dump_text(out);
    out.printf("\n");
  }
}

int DataStore::self_test(const char* report_path) const {
  return knowledge_base_.self_test(
      report_path, {complex_variants_, spec_pairs_ss_, spec_pairs_sc_, spec_pairs_cs_,
                    spec_pairs_cc_, tuples_, charsets_, symbs_, charset_symbs_});
}

}  // namespace inkrec
