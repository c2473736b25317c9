// Fuzzes the property file where an add-in's file reaches it: the input is the
// file, whose first bytes also choose the keys asked for. GetProperty and
// SetProperty never raise on file contents. A value set can be read back (cut
// to its field, trimmed), lands in a whole record after the last whole one or
// in the first record that matched, and leaves every other byte of the file
// as it was.
#include <string>
#include <vector>

#include "core/text_cleanup.h"
#include "frontend/property_file.h"
#include "frontend/property_file_format.h"
#include "frontend/tabrel_pc.h"
#include "fuzz/file_input.h"

namespace brevora::fuzz {
namespace fmt = frontend::property_file_format;

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"one.props", fmt::EncodeRecord("A", "1")},
      {"two.props",
       fmt::EncodeRecord("Workbook", "C:\\Budget.tbr") + fmt::EncodeRecord(" sheet ", "  3 ")},
      {"partial.props", fmt::EncodeRecord("A", "1") + fmt::EncodeRecord("P", "kept").substr(0, 60)},
      {"long.props", fmt::EncodeRecord(std::string(60, 'k'), std::string(300, 'v'))},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::frontend;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The key: a stored key of the file when the first byte says so, else a few bytes of it.
  const std::size_t keyLength = size == 0 ? 1 : 1 + data[0] % 60;
  const std::string key = bytes.substr(size > 1 ? 1 : 0, keyLength);
  const std::string value = "v" + bytes.substr(0, size % 300);
  const std::string path = WriteInput("input.props", data, size);

  brevora::Ref<TabrelPC> app = brevora::MakeRef<TabrelPC>();
  Must("reading and writing a property file", [&] {
    (void)app->GetProperty(path, key);
    if (brevora::core::Trim(key).empty()) return;
    app->SetProperty(path, key, value);
    Check(app->GetProperty(path, key) == brevora::core::Trim(value.substr(0, fmt::kValueSize)),
          "a value set is not read back");
    const std::string after = FileBytes(path);
    const std::size_t whole = size / fmt::kRecordSize * fmt::kRecordSize;
    Check(after.size() == std::max(size, whole + fmt::kRecordSize) || after.size() == size,
          "the file grew by other than one record");
    const auto found = PropertyFileReader(path).Find(key);
    Check(found.has_value(), "the record set is not found");
    const std::size_t at = static_cast<std::size_t>(found->index) * fmt::kRecordSize;
    Check(after.compare(at, fmt::kRecordSize, fmt::EncodeRecord(key, value)) == 0,
          "the record is not as written");
    Check(after.compare(0, at, bytes, 0, at) == 0, "bytes before the record changed");
    if (at + fmt::kRecordSize < size) {
      Check(after.compare(at + fmt::kRecordSize, std::string::npos, bytes, at + fmt::kRecordSize) ==
                0,
            "bytes after the record changed");
    }
  });
  return 0;
}
