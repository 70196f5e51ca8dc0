// Kernel: one recognition context. It refers to the shared database and
// dictionaries and owns its pane, work lists and result text.
#pragma once

namespace inkrec {

class DataStore;
class DictionarySet;

class Kernel {
 public:
  Kernel(DataStore* data_store, DictionarySet* dictionaries);

  DataStore* data_store() const { return data_store_; }
  DictionarySet* dictionaries() const { return dictionaries_; }

  // Rebuilds what the kernel derives from the database.
  int reinitialize();

 private:
  DataStore* data_store_;
  DictionarySet* dictionaries_;
};

}  // namespace inkrec
