#include "conduit-framework/main_db.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "conduit-framework/product.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/text/case.h"

namespace brevora::conduit {
namespace {

constexpr uint16_t kListPage = kSyncMaxListPage;

bool IsProductDatabase(const Product& p, const SyncDbInfo& info) {
  return info.creator == p.creator && info.type == p.type;
}

std::string NameOf(const SyncDbInfo& info) {
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}

}  // namespace

bool IsReservedName(const Product& p, std::string_view name) {
  if (text::EqualsNoCase(name, p.mainDatabase)) return true;
  if (!p.oldMainDatabase.empty() && text::EqualsNoCase(name, p.oldMainDatabase)) return true;
  return std::any_of(p.reservedNames.begin(), p.reservedNames.end(),
                     [&](const std::string& r) { return text::EqualsNoCase(name, r); });
}

bool IsProductFileName(const Product& product, std::string_view name) {
  if (name.size() > 31 || !fs::IsPlainName(name)) return false;
  return name.find_first_of(product.refusedNameCharacters) == std::string_view::npos &&
         name.find('\\') == std::string_view::npos;
}

std::optional<bool> NameIsOurs(const Product& product, const std::string& name) {
  SyncDbInfo info{};
  const int32_t rc = SyncFindDbByName(0, name.c_str(), &info);
  if (rc == kSyncErrNotFound) return true;
  if (rc != kSyncOk) return std::nullopt;
  return info.state == 0 && IsProductDatabase(product, info) && !IsReservedName(product, name);
}

bool DeleteProductDatabase(const Product& product, const std::string& name) {
  const auto ours = NameIsOurs(product, name);
  if (!ours || !*ours) return false;
  const int32_t rc = SyncDeleteDB(name.c_str(), 0);
  return rc == kSyncOk || rc == kSyncErrNotFound;
}

CMainDB::CMainDB(const Product& product)
    : CRecordDB(product.mainCreator, product.mainType, product.version), product_(product) {}

bool CMainDB::Open(const std::string& name, const std::string& category) {
  if (CRecordDB::Open(name, category)) {
    if (ReadAppInfo()) return true;
    Close();
    return false;
  }
  if (lastError() != kSyncErrNotFound) return false;
  SetName(name);
  if (!Create()) return false;
  InitAppInfo();
  if (!WriteAppInfo() || !Close()) {
    Discard();
    return false;
  }
  return CMainDB::Open(name, category) && isOpen();
}

bool CMainDB::ReadAppInfo() {
  const auto bytes = ReadAppInfoBlock();
  if (!bytes) return false;
  const auto block = CategoryBlock::Parse(*bytes);
  if (!block) return false;
  categories_ = *block;
  return true;
}

bool CMainDB::WriteAppInfo() { return WriteAppInfoBlock(categories_.Bytes()); }

void CMainDB::InitAppInfo() { categories_ = CategoryBlock::Defaults(); }

bool CMainDB::ReadSyncState(std::optional<SyncState>& state) {
  state.reset();
  const auto bytes = ReadSortInfoBlock();
  if (!bytes) return lastError() == kSyncErrNotFound;
  state = SyncState::Parse(*bytes);
  return true;
}

bool CMainDB::WriteSyncState(const SyncState& state) { return WriteSortInfoBlock(state.Bytes()); }

bool CMainDB::MigrateOldMainDB() {
  const Product& p = product_;
  if (p.oldMainDatabase.empty()) return true;
  CRecordDB old(p.mainCreator, p.mainType, p.version);
  if (!old.Open(p.oldMainDatabase, "")) return old.lastError() == kSyncErrNotFound;
  const auto bytes = old.ReadAppInfoBlock();
  const auto block = bytes ? CategoryBlock::Parse(*bytes) : std::nullopt;
  old.Close();
  if (!block) {
    LogHotSync(p,
               "The categories of " + p.oldMainDatabase + " can't be read; it was left as it is.");
    return true;
  }
  if (!CMainDB::Open(p.mainDatabase, "")) return false;
  categories_ = *block;
  const bool written = WriteAppInfo();
  if (!Close() || !written) return false;
  return old.Delete();
}

bool CMainDB::ReadHandheldList(RunErrors& errors) {
  const Product& p = product_;
  handhelds_.clear();
  refused_.clear();
  foreign_.clear();
  std::vector<SyncDbInfo> listed;
  std::vector<SyncDbInfo> page(kListPage);
  for (uint16_t start = 0;;) {
    uint16_t count = 0;
    const int32_t rc = SyncReadDBList(0, start, 1, page.data(), kListPage, &count);
    if (rc == kSyncErrNotFound) break;
    if (rc != kSyncOk || count == 0) {
      LogHotSync(p, "The list of the handheld's databases could not be read to its end.");
      return false;
    }
    listed.insert(listed.end(), page.begin(), page.begin() + count);
    if (start > UINT16_MAX - count) break;
    start = static_cast<uint16_t>(start + count);
  }

  for (const SyncDbInfo& info : listed) {
    const std::string name = NameOf(info);
    if (info.state != 0) {
      // Damaged: whoever it belongs to, the name is left alone on both sides.
      refused_.insert(name);
      errors.Refuse(name + ": the handheld's copy can't be read -- left as it is on both sides.");
      continue;
    }
    if (!IsProductDatabase(p, info) || IsReservedName(p, name)) {
      foreign_.insert(name);
      continue;
    }
    if (!IsProductFileName(p, name)) {
      refused_.insert(name);
      errors.Refuse(
          name + ": " +
          (p.badHandheldNameText.empty()
               ? "this name can't be a desktop file name -- please rename it on the handheld."
               : p.badHandheldNameText));
      continue;
    }
    auto db = p.classes->HandheldFor(info.version);
    if (!db) {
      refused_.insert(name);
      errors.Refuse(name + ": database version " + std::to_string(info.version) +
                    " is not known -- left as it is on both sides.");
      continue;
    }
    if (!db->Open(name, "") || !db->ReadState()) {
      refused_.insert(name);
      const std::string why = db->isOpen() ? db->Refusal() : std::string();
      errors.Refuse(name + ": " +
                    (why.empty()
                         ? "the handheld's copy can't be read -- left as it is on both sides."
                         : why));
      continue;
    }
    HandheldEntry entry;
    entry.name = name;
    entry.version = info.version;
    entry.category = CategoryName(db->GetCategoryID());
    entry.modified = db->IsModified();
    entry.serverSync = db->IsServerSync();
    entry.attributes = info.attributes;
    entry.recordCount = info.recordCount;
    entry.creationDate = info.creationDate;
    entry.modificationDate = info.modificationDate;
    entry.backupDate = info.backupDate;
    entry.modificationNumber = info.modificationNumber;
    if (!db->Close()) {
      LogHotSync(p, "The handheld stopped answering while its databases were listed.");
      return false;
    }
    handhelds_.push_back(std::move(entry));
  }
  return true;
}

std::string CMainDB::CategoryName(uint8_t id) const {
  return categories_.NameOf(id, product_.unnamedCategoryIsFirst);
}

}  // namespace brevora::conduit
