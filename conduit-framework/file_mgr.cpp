#include "conduit-framework/file_mgr.h"

#include <cmath>

#include "conduit-framework/modified_line.h"
#include "conduit-framework/product.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::conduit {
namespace {

constexpr const char* kSyncIncomplete =
    "Sync did not complete successfully.  Please synchronize again.";
constexpr std::size_t kMaxErrorText = 255;

// Visual Basic dates to whole seconds.
int64_t Seconds(double vbDate) { return std::llround(vbDate * 86400.0); }

// A link the conduit may convert into or out of: an absolute path to a file
// of one of the product's office extensions.
bool IsConvertibleLink(const Product& product, const LinkInfo& link) {
  if (link.path.empty() || !fs::IsSeparator(link.path[0])) return false;
  const std::string extension = fs::ExtensionPart(link.path);
  for (const std::string& allowed : product.officeExtensions) {
    if (text::EqualsNoCase(extension, allowed)) return true;
  }
  return false;
}

// A conversion that failed, with the converter's reason when it gave one.
void LogNotConverted(const Product& product, const std::string& office,
                     const ConverterBridge* bridge) {
  const std::string why = bridge ? bridge->LastError() : std::string();
  LogHotSync(product, "Linked file '" + office + "' could not be converted." +
                          (why.empty() ? "" : " " + why));
}

}  // namespace

CFileMgr::CFileMgr(const Product& product, std::string userFolder, const CMainDB& main,
                   RunErrors& errors)
    : product_(product),
      folder_(std::move(userFolder)),
      main_(main),
      errors_(errors),
      refused_(main.refused()) {}

std::string CFileMgr::DesktopPath(const std::string& category, const std::string& name) const {
  return fs::JoinPath(fs::JoinPath(folder_, category), name + product_.extension);
}

void CFileMgr::Refuse(const std::string& name, const std::string& why) {
  entries_.erase(name);
  Leave(name, why);
}

void CFileMgr::Leave(const std::string& name, const std::string& why) {
  refused_.insert(name);
  errors_.Refuse(name + ": " + why);
}

bool CFileMgr::LinkedFileIsNewer(const LinkInfo& link) const {
  return Seconds(link.date) < Seconds(fs::FileDateTime(link.path));
}

void CFileMgr::CollectFiles(const std::string& category) {
  const Product& p = product_;
  std::vector<std::string> files;
  try {
    files = fs::ListFolder(fs::JoinPath(folder_, category), fs::ListKind::Files, p.extension);
  } catch (const AutomationError&) {
    errors_.Refuse("The category folder " + category +
                   " can't be read -- its files were left as they are.");
    return;
  }
  for (const std::string& file : files) {
    const std::string name = file.substr(0, file.size() - p.extension.size());
    if (refused_.contains(name)) continue;
    if (!IsProductFileName(p, name)) {
      Refuse(name, "this name can't be a handheld database name -- left as it is.");
      continue;
    }
    if (IsReservedName(p, name) || main_.foreign().contains(name)) {
      Refuse(name,
             "another database holds this name on the handheld -- left as it is on both sides.");
      continue;
    }
    if (const auto it = entries_.find(name); it != entries_.end() && it->second.local) {
      Refuse(name, "there is a file of this name in the categories " + it->second.localCategory +
                       " and " + category + " -- both were left as they are.");
      continue;
    }
    const std::string path = DesktopPath(category, name);
    const auto header = p.classes->ReadDesktopHeader(path);
    if (!header) {
      LogHotSync(product_, "Could not read header for:" + name);
      entries_.erase(name);
      refused_.insert(name);
      errors_.Set();
      continue;
    }
    bool converted = false;
    if (header->link && (header->link->method == 0 || header->link->method == 2) &&
        IsConvertibleLink(p, *header->link)) {
      const LinkInfo& link = *header->link;
      if (!fs::FileExists(link.path)) {
        LogHotSync(product_, "Linked file '" + link.path + "' was not found.");
      } else if (LinkedFileIsNewer(link)) {
        const auto bridge = p.classes->MakeBridge();
        converted = bridge && bridge->OfficeToDesktop(link.path, path, "1");
        if (!converted) LogNotConverted(p, link.path, bridge.get());
      }
    }
    CFileEntry& e = entries_[name];
    e.name = name;
    e.local = true;
    e.localCategory = category;
    e.localModified = header->modified || converted;
    e.localModifiedLine = header->modifiedLine;
    e.localVersion = header->version;
  }
  for (const HandheldEntry& h : main_.handhelds()) {
    if (h.name.empty() || refused_.contains(h.name) || !text::EqualsNoCase(h.category, category))
      continue;
    CFileEntry& e = entries_[h.name];
    e.name = h.name;
    e.remote = true;
    e.remoteCategory = category;  // the desktop's spelling of the category
    e.remoteTime = h.modificationDate;
    e.remoteModified = h.modified;
    e.remoteVersion = h.version;
    e.serverSync = h.serverSync;
  }
}

void CFileMgr::Compare(SyncMode mode, int32_t prevail, bool slow, bool firstSync) {
  const CompareSettings settings{mode, prevail, slow, firstSync, product_.minimumHandheldVersion};
  for (const std::string& line : conduit::Compare(entries_, settings)) LogHotSync(product_, line);
  compared_ = true;
}

bool CFileMgr::RemoveDesktopFile(const std::string& path) {
  try {
    fs::RemoveFile(path);
    return true;
  } catch (const AutomationError& e) {
    if (e.number() == fs::kFileNotFound) return true;
    LogFileError(e.number() == fs::kPermissionDenied ? "Access Denied." : "IO Error.");
    return false;
  }
}

bool CFileMgr::CopyToHandheld(CFileEntry& e) {
  const Product& p = product_;
  const std::string path = DesktopPath(e.localCategory, e.name);
  // Whatever happens, the handheld's copy is not deleted by this entry.
  e.remote = true;
  const auto copy = p.classes->MakeCopy();
  std::string problem;
  switch (copy->LoadDesktop(path, e.localVersion, problem)) {
    case CopyStep::Done:
      break;
    case CopyStep::Refused:
      Leave(e.name, problem);
      return true;
    case CopyStep::OpenFailed:
      return false;
    case CopyStep::DeviceFailed:
      LogHotSync(product_, kSyncIncomplete);
      return false;
  }
  // Marked modified first: a copy that breaks off is made again by the next
  // run, instead of the desktop file counting as deleted on the handheld.
  if (!e.localModified && e.localModifiedLine && !SetModifiedFlag(path, true)) {
    LogFileError("IO Error.");
    return false;
  }
  if (!DeleteProductDatabase(p, e.name)) {
    LogHotSync(product_, "Could not delete workbook: " + e.name);
    return false;
  }
  const auto slot = main_.categories().SlotOf(e.localCategory);
  const uint8_t categoryId = slot ? main_.categories().ids[*slot] : 0;
  const auto db = p.classes->NewestHandheld();
  if (!db->OpenOrCreate(e.name, e.localCategory, categoryId)) {
    LogHotSync(product_, "Out of Memory on Device.");
    return false;
  }
  if (copy->WriteHandheld(*db) != CopyStep::Done || !db->Close()) {
    db->Discard();
    LogHotSync(product_, "Out of Memory on Device.");
    return false;
  }
  if (e.localModifiedLine && !SetModifiedFlag(path, false)) LogFileError("IO Error.");
  LogHotSync(product_, "Copy " + e.name + " to Device.");
  return true;
}

bool CFileMgr::CopyToDesktop(CFileEntry& e) {
  const Product& p = product_;
  const bool hadDesktopCopy = !e.localCategory.empty();
  // Whatever happens, the desktop's copy is not removed by this entry.
  e.local = true;
  const auto db = p.classes->HandheldFor(e.remoteVersion);
  if (!db || !db->Open(e.name, e.remoteCategory) || !db->ReadState()) {
    LogHotSync(product_, kSyncIncomplete);
    return false;
  }
  const auto copy = p.classes->MakeCopy();
  std::string problem;
  switch (copy->LoadHandheld(*db, problem)) {
    case CopyStep::Done:
      break;
    case CopyStep::Refused:
      Leave(e.name, problem);
      return true;
    case CopyStep::OpenFailed:
    case CopyStep::DeviceFailed:
      LogHotSync(product_, kSyncIncomplete);
      return false;
  }
  const std::string path = DesktopPath(e.remoteCategory, e.name);
  try {
    fs::MakeFolder(fs::JoinPath(folder_, e.remoteCategory));
    fs::AtomicFile out(path);
    if (!copy->WriteDesktop(out)) RaiseRuntimeError(fs::kDiskFull);
    out.Commit();
  } catch (...) {
    LogHotSync(product_, "Out of Disk Space on PC.");
    return false;
  }
  // A copy that moved to another category leaves no copy in the old one
  // (removed at once, so that no failure can leave the file in two categories).
  if (hadDesktopCopy && !text::EqualsNoCase(e.localCategory, e.remoteCategory) &&
      !RemoveDesktopFile(DesktopPath(e.localCategory, e.name))) {
    return false;
  }
  if (copy->FinishHandheld(*db) != CopyStep::Done || !db->Close()) {
    LogHotSync(product_, kSyncIncomplete);
    return false;
  }
  const auto link = copy->WrittenLink();
  if (link && (link->method == 0 || link->method == 1) && IsConvertibleLink(p, *link) &&
      (!fs::FileExists(link->path) ||
       Seconds(fs::FileDateTime(link->path)) < Seconds(link->date))) {
    const auto bridge = p.classes->MakeBridge();
    if (bridge && bridge->DesktopToOffice(path, link->path, std::to_string(link->option))) {
      try {
        fs::SetFileDateTime(link->path, link->date);
      } catch (const AutomationError&) {
        LogHotSync(product_, "Linked file '" + link->path + "' could not be given its link date.");
      }
    } else {
      LogNotConverted(p, link->path, bridge.get());
    }
  }
  LogHotSync(product_, "Copy " + e.name + " to PC.");
  return true;
}

bool CFileMgr::Apply() {
  bool run = true;
  try {
    for (auto it = entries_.begin(); run && it != entries_.end(); ++it) {
      CFileEntry& e = it->second;
      if (e.local) {
        run = CopyToHandheld(e);
      } else if (e.remote) {
        run = CopyToDesktop(e);
      }
      if (!run || refused_.contains(e.name)) continue;
      // Deletion: of the copies that exist and are not sources.
      if (!e.local && !e.localCategory.empty() &&
          !RemoveDesktopFile(DesktopPath(e.localCategory, e.name))) {
        run = false;
      }
      if (run && !e.remote && !e.remoteCategory.empty() &&
          !DeleteProductDatabase(product_, e.name)) {
        LogHotSync(product_, "Could not delete workbook: " + e.name);
        run = false;
      }
    }
  } catch (const std::exception& e) {
    LogHotSync(product_, ApplyErrorText(product_, e.what()));
    run = false;
  } catch (...) {
    LogHotSync(product_, ApplyErrorText(product_, ""));
    run = false;
  }
  if (!run) compared_ = false;
  return run;
}

std::string ApplyErrorText(const Product& p, std::string_view message) {
  if (p.applyErrorPrefix.empty()) return kSyncIncomplete;
  return p.applyErrorPrefix + std::string(message.substr(0, kMaxErrorText)) + p.applyErrorSuffix;
}

}  // namespace brevora::conduit
