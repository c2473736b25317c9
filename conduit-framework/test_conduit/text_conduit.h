#pragma once
// TextTest: a small conduit on the framework, for the framework's own tests:
// desktop text files (".ttx") against handheld databases of one record.
//
// Desktop file: line 1 the modified line, line 2 the version (1 or 2), line 3
// the link ("-", or "link <method> <option> <date> <path>": method and option
// 0-3, date whole seconds since 1899-12-30 local time), then the body, which
// may not hold a NUL byte (found only when the file is copied).
// Handheld database (type "Text", creator "TxtT", versions 1 and 2; 1 is too
// old to be a source): a 4-byte block (category ID, modified, server sync, 0)
// and one record holding line 3 and the body.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "conduit-framework/device_db.h"
#include "conduit-framework/product.h"

namespace brevora::texttest {

inline constexpr uint16_t kCurrentVersion = 2;
inline constexpr const char* kExtension = ".ttx";

class TextDatabase : public conduit::CHandheldDatabase {
 public:
  explicit TextDatabase(uint16_t version);
  bool ReadState() override;
  uint8_t GetCategoryID() const override { return block_[0]; }
  bool IsModified() const override { return block_[1] != 0; }
  void ClearModified() override { block_[1] = 0; }
  bool IsServerSync() const override { return block_[2] != 0; }
  void InitDefaults(uint8_t categoryId) override { block_ = {categoryId, 0, 0, 0}; }
  bool WriteAppInfo() override;

 private:
  std::array<uint8_t, 4> block_{};
};

// The converter the product hands out; none unless a test installs one.
void InstallTestBridge(std::shared_ptr<conduit::ConverterBridge> bridge);

// Names, codes and classes of the test conduit; one for the process.
const conduit::Product& TextTestProduct();

}  // namespace brevora::texttest
