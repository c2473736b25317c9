// The fake converters (fake_converter.h) as a library another process loads
// through HKEY_CLASSES_ROOT: both kinds registered when it loads, handed out
// by its BrevoraCreateObject.
#include "platform/automation/class_registry.h"
#include "testing/fake_converter.h"

namespace {

[[maybe_unused]] const bool kRegistered = [] {
  brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Spreadsheet);
  brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Document);
  return true;
}();

}  // namespace

BREVORA_EXPORT_OBJECTS()
