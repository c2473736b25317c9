// The workbook conduit "Tabulyn" as the framework sees it: its names and
// codes, and its classes: the handheld workbook classes by version, the
// desktop file's header, the copy of a workbook, and the bridge to the
// spreadsheet converter "TabulynPC.SDK".
#include "conduit/tabrel_product.h"
#include "conduit-framework/conduit_log.h"
#include "conduit-framework/converter_bridge.h"
#include "conduit-framework/product.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/numbers.h"
#include "conduit/workbook_copy.h"
#include "platform/hotsync/sync_manager.h"

namespace brevora::tabrel {

using conduit::CLocalFile;
using conduit::DesktopHeader;
using conduit::LinkInfo;

namespace {

constexpr uint16_t kNewestDesktopVersion = 9;

class TabrelClasses : public conduit::ConduitClasses {
 public:
  std::unique_ptr<conduit::CHandheldDatabase> HandheldFor(uint16_t version) const override {
    return HandheldWorkbookFor(version);
  }
  std::unique_ptr<conduit::CHandheldDatabase> NewestHandheld() const override {
    return std::make_unique<CWorkbook_V8>(workbook_format::kNewestVersion);
  }
  std::optional<DesktopHeader> ReadDesktopHeader(const std::string& path) const override {
    return ReadWorkbookHeader(path);
  }
  std::unique_ptr<conduit::ProductCopy> MakeCopy() const override {
    return std::make_unique<WorkbookCopy>();
  }
  std::unique_ptr<conduit::ConverterBridge> MakeBridge() const override {
    using conduit::CConverterBridge;
    return std::make_unique<CConverterBridge>(
        CConverterBridge::Names{kConverterProgId, kXlsToTbr, kTbrToXls, kRefresh});
  }
};

}  // namespace

std::optional<DesktopHeader> ReadWorkbookHeader(const std::string& path) {
  CLocalWorkbook_V8 file;
  switch (file.OpenPath(path)) {
    case CLocalFile::OpenResult::Opened:
      break;
    case CLocalFile::OpenResult::Failed:
      return std::nullopt;
    case CLocalFile::OpenResult::TooLarge:
      conduit::LogHotSync(TabulynProduct(),
                          path + ": the file is larger than a handheld workbook can be.");
      return std::nullopt;
  }
  const auto lines = file.ReadModifiedLines();
  if (!lines) return std::nullopt;
  const auto version = ParseInteger(lines->versionText);
  if (!version || *version < 0 || *version > kNewestDesktopVersion) return std::nullopt;
  DesktopHeader header;
  header.modified = lines->modified;
  header.version = static_cast<uint16_t>(*version);
  if (header.version > 7) {
    file.Rewind();
    CWorkbookHeader_V8 full;
    bool modified = false;
    std::string problem;
    if (!file.ReadHeader(full, modified, problem)) {
      conduit::LogHotSync(TabulynProduct(), problem);
      return std::nullopt;
    }
    if (full.valid && !full.linkPath.empty()) {
      header.link = LinkInfo{full.linkPath, full.linkMethod, full.linkOption,
                             LinkDateToVbDate(full.linkDate)};
    }
  }
  return header;
}

const conduit::Product& TabulynProduct() {
  static const TabrelClasses classes;
  static const conduit::Product product = [] {
    conduit::Product p;
    p.name = "Tabulyn";
    p.registryKey = "Software\\Orvanex\\Tabulyn";
    p.creator = hotsync::SyncCode("Zeri");
    p.type = hotsync::SyncCode("Data");
    p.version = workbook_format::kNewestVersion;
    p.mainDatabase = "MainTabulynDB";
    p.mainCreator = hotsync::SyncCode("Zeri");
    p.mainType = hotsync::SyncCode("Data");
    p.oldMainDatabase = "MainLanternspanDB";
    p.reservedNames = {"Tabrel1DB"};
    p.extension = ".tbr";
    p.minimumHandheldVersion = 4;
    p.unnamedCategoryIsFirst = false;
    p.registersWithSyncManager = false;
    p.officeExtensions = {".xls"};
    p.classes = &classes;
    return p;
  }();
  return product;
}

}  // namespace brevora::tabrel
