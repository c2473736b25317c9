#pragma once
// CFileMgr: every product file of one run, keyed by its exact name: collected
// category by category from the desktop folders and the handheld list,
// decided by Compare (compare.h), and carried out by Apply.
//
// Names left alone for this run (refused: unreadable on either side, a name
// that can't cross, a file in two categories, a name a foreign database holds
// on the handheld) get no entry and nothing is done with them on either side;
// each is logged and sets the run's errors flag.
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "conduit-framework/compare.h"
#include "conduit-framework/conduit_log.h"
#include "conduit-framework/file_entry.h"
#include "conduit-framework/main_db.h"
#include "conduit-framework/product.h"

namespace brevora::conduit {

class CFileMgr {
 public:
  // `userFolder` ends in a separator; `main` (open or closed) gives the
  // categories and the handheld list. `product`, `main` and `errors` must
  // outlive the manager.
  CFileMgr(const Product& product, std::string userFolder, const CMainDB& main, RunErrors& errors);
  CFileMgr(const CFileMgr&) = delete;
  CFileMgr& operator=(const CFileMgr&) = delete;

  // Leaves `name` alone for this run, without a line of its own (its
  // category's refusal was logged). Before CollectFiles.
  void LeaveAlone(const std::string& name) { refused_.insert(name); }
  void CollectFiles(const std::string& category);
  void Compare(SyncMode mode, int32_t prevail, bool slow, bool firstSync);
  // Copies and deletes as decided; true when every step succeeded. Stops at
  // the first copy that fails on the device or the disk; the entries not
  // reached are left as they are on both sides.
  bool Apply();

  const std::map<std::string, CFileEntry>& entries() const { return entries_; }
  const std::set<std::string>& refused() const { return refused_; }
  bool compared() const { return compared_; }

 private:
  std::string DesktopPath(const std::string& category, const std::string& name) const;
  // Leaves `name` alone for the rest of the run: Refuse while collecting (its
  // entry goes), Leave while applying (the entry stays, marked).
  void Refuse(const std::string& name, const std::string& why);
  void Leave(const std::string& name, const std::string& why);
  bool LinkedFileIsNewer(const LinkInfo& link) const;
  bool CopyToHandheld(CFileEntry& entry);
  bool CopyToDesktop(CFileEntry& entry);
  bool RemoveDesktopFile(const std::string& path);

  const Product& product_;
  std::string folder_;
  const CMainDB& main_;
  RunErrors& errors_;
  std::map<std::string, CFileEntry> entries_;
  std::set<std::string> refused_;
  bool compared_ = false;
};

// What Apply logs for an error it did not expect with the text `message`
// (the product's frame around it, Product::applyErrorPrefix).
std::string ApplyErrorText(const Product& product, std::string_view message);

}  // namespace brevora::conduit
