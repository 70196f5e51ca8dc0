#include "appplatform/dialog/child_record.h"

#include "appplatform/dialog/window_records.h"

namespace ductra::platform {
namespace {

WindowRecords<ChildRecord>& records() {
  static WindowRecords<ChildRecord> all;
  return all;
}

}  // namespace

ChildRecord& child_record(WindowHandle window) { return records().at(window); }

const ChildRecord* find_child_record(WindowHandle window) { return records().find(window); }

void forget_child_record(WindowHandle window) { records().forget(window); }
int child_id(WindowHandle window) {
  const ChildRecord* record = find_child_record(window);
  return record ? record->id : 0;
}

std::shared_ptr<const Font> child_font(WindowHandle window) {
  const ChildRecord* record = find_child_record(window);
  return record && record->font ? record->font : system_font();
}

}  // namespace ductra::platform
