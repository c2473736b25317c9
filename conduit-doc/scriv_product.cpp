#include "conduit-doc/scriv_product.h"

#include <cmath>

#include "conduit-doc/handheld_document.h"
#include "conduit-doc/local_document.h"
#include "conduit-doc/scv_format.h"
#include "conduit-doc/scv_reader.h"
#include "conduit-framework/converter_bridge.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/time/dates.h"

namespace brevora::scriv {

using conduit::CHandheldDatabase;
using conduit::CopyStep;
using conduit::DesktopHeader;
using conduit::LinkInfo;

namespace {

namespace fmt = scriv_format;
constexpr double kSecondsPerDay = 86400.0;
// Lines 1 to 8 fit here in any file the desktop program writes.
constexpr std::size_t kHeaderPrefix = 64 * 1024;

bool CopiedVersion(uint16_t version) { return version >= 3 && version <= 5; }

// The file's bytes for its header: the first kHeaderPrefix, or all of it
// (bounded) when `whole`.
std::optional<std::string> HeaderBytes(const std::string& path, bool whole, uint64_t& size) {
  try {
    const fs::InputFile file(path);
    size = file.Size();
    const uint64_t want = whole ? std::min<uint64_t>(size, fmt::kMaxDesktopFile) : kHeaderPrefix;
    const std::vector<uint8_t> bytes = file.Read(0, static_cast<std::size_t>(want));
    return std::string(bytes.begin(), bytes.end());
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

class DocumentCopy : public conduit::ProductCopy {
 public:
  CopyStep LoadDesktop(const std::string& path, uint16_t version, std::string& problem) override {
    if (!CopiedVersion(version)) {
      problem = path + ": " + kUnrecognizedVersion;
      return CopyStep::Refused;
    }
    switch (local_.OpenPath(path)) {
      case CLocalDocument::OpenResult::Opened:
        break;
      case CLocalDocument::OpenResult::Failed:
        return CopyStep::OpenFailed;
      case CLocalDocument::OpenResult::TooLarge:
        problem = path + ": the file is larger than a handheld document can be.";
        return CopyStep::Refused;
    }
    std::string why;
    if (!local_.ReadDocument(why)) {
      problem = path + ": " + why;
      return CopyStep::Refused;
    }
    return CopyStep::Done;
  }

  CopyStep WriteHandheld(CHandheldDatabase& handheld) override {
    auto* db = dynamic_cast<CHandheldDocument*>(&handheld);
    if (db == nullptr) return CopyStep::DeviceFailed;
    if (const CopyStep written = local_.WriteToDevice(*db); written != CopyStep::Done)
      return written;
    db->ClearModified();
    db->CopyHeaderFrom(local_.document().header);
    return db->WriteAppInfo() ? CopyStep::Done : CopyStep::DeviceFailed;
  }

  CopyStep LoadHandheld(CHandheldDatabase& handheld, std::string& problem) override {
    auto* db = dynamic_cast<CHandheldDocument*>(&handheld);
    if (db == nullptr) return CopyStep::DeviceFailed;
    if (!CopiedVersion(db->version())) {
      problem = kUnrecognizedVersion;
      return CopyStep::Refused;
    }
    db->CopyHeaderTo(header_);
    // A linked office document is written from the new desktop file: the link
    // takes the file's time.
    if (!header_.linkPath.empty())
      header_.linkDate = static_cast<uint32_t>(std::llround(dates::NowVbDate() * kSecondsPerDay));
    local_.WriteHeader(header_);
    std::string why;
    const CopyStep read = db->CopyDocument(local_, why);
    if (read == CopyStep::Refused)
      problem = "the handheld's copy was left as it is on both sides: " + why;
    return read;
  }

  bool WriteDesktop(fs::AtomicFile& out) override {
    out.Write(local_.Bytes());
    return true;
  }

  CopyStep FinishHandheld(CHandheldDatabase& handheld) override {
    handheld.ClearModified();
    return handheld.WriteAppInfo() ? CopyStep::Done : CopyStep::DeviceFailed;
  }

  std::optional<LinkInfo> WrittenLink() const override { return LinkOf(header_); }

 private:
  CLocalDocumentEx local_;
  CDocumentHeader header_;
};

class DocumentClasses : public conduit::ConduitClasses {
 public:
  // Every version is listed through CHandheldDocument (its block says whether
  // the conduit knows the document); version 5 is CHandheldDocument_V5's.
  std::unique_ptr<CHandheldDatabase> HandheldFor(uint16_t version) const override {
    if (version == fmt::kDatabaseVersion) return std::make_unique<CHandheldDocument_V5>();
    return std::make_unique<CHandheldDocument>(version);
  }
  std::unique_ptr<CHandheldDatabase> NewestHandheld() const override {
    return std::make_unique<CHandheldDocument_V5>();
  }
  std::optional<DesktopHeader> ReadDesktopHeader(const std::string& path) const override {
    return ReadDocumentHeader(path);
  }
  std::unique_ptr<conduit::ProductCopy> MakeCopy() const override {
    return std::make_unique<DocumentCopy>();
  }
  // The desktop program's document converter, reached by its ProgID.
  std::unique_ptr<conduit::ConverterBridge> MakeBridge() const override {
    using conduit::CConverterBridge;
    return std::make_unique<CConverterBridge>(CConverterBridge::Names{
        "TabulynPC.SDK_Document", "DOCToSCVExt_Sync", "SCVToDOCExt_Sync", "Refresh"});
  }
};

}  // namespace

std::optional<LinkInfo> LinkOf(const CDocumentHeader& header) {
  if (!header.valid || header.linkPath.empty()) return std::nullopt;
  return LinkInfo{header.linkPath, header.linkMethod, header.linkOption,
                  header.linkDate / kSecondsPerDay};
}

std::optional<DesktopHeader> ReadDocumentHeader(const std::string& path) {
  uint64_t size = 0;
  auto bytes = HeaderBytes(path, false, size);
  if (!bytes) return std::nullopt;
  std::string problem;
  auto header = ScvReader(*bytes).ReadHeader(problem);
  if (!header && size > bytes->size()) {
    bytes = HeaderBytes(path, true, size);
    if (!bytes) return std::nullopt;
    header = ScvReader(*bytes).ReadHeader(problem);
  }
  if (!header) return std::nullopt;
  DesktopHeader desktop;
  desktop.modified = header->header.modified;
  desktop.version = header->header.version;
  desktop.link = LinkOf(header->header);
  // A file without a header is all text: modified, with no line to clear.
  desktop.modifiedLine = header->hasHeader;
  return desktop;
}

const conduit::Product& ScrivaneProduct() {
  static const DocumentClasses classes;
  static const conduit::Product product = [] {
    conduit::Product p;
    p.name = "Scrivane";
    p.registryKey = "Software\\Orvanex\\Scrivane";
    p.creator = hotsync::SyncCode("Scrv");
    p.type = hotsync::SyncCode("zIZU");
    p.version = scriv_format::kDatabaseVersion;
    p.mainDatabase = "Scrivane Key";
    p.mainCreator = hotsync::SyncCode("Scrv");
    p.mainType = hotsync::SyncCode("Keys");
    p.reservedNames = {"Unnamed"};
    p.extension = ".scv";
    p.minimumHandheldVersion = 0;
    p.unnamedCategoryIsFirst = true;
    p.registersWithSyncManager = true;
    p.refusedNameCharacters = "/\\?*|\":";
    p.officeExtensions = {".doc"};
    p.ownFolders = {"scriv_temp"};
    p.badHandheldNameText =
        "This document has invalid characters in its' name (/\\?*|\":) -- Please rename on device "
        "and resync.";
    p.applyErrorPrefix = "Sync did not complete successfully because of this error: ";
    p.applyErrorSuffix = ".\r\n Please synchronize again.";
    p.classes = &classes;
    return p;
  }();
  return product;
}

}  // namespace brevora::scriv
