#pragma once
// CSyncMgr: one run after its mode is known: the categories of both sides,
// marked by the mode and made to agree, then the product files category by
// category through one CFileMgr. Categories match without regard to case; a
// category keeps the desktop folder's spelling. A category that can't be both a
// folder name and a handheld label (a label with a separator or control
// character, ".", "..", a folder name over 15 characters) is left alone with
// everything in it, logged, and sets the errors flag; so are the names of the
// files in it, wherever else they are, and the handheld's files of a category
// that has no name.
#include <map>
#include <string>
#include <vector>

#include "conduit-framework/conduit_log.h"
#include "conduit-framework/file_entry.h"
#include "conduit-framework/main_db.h"
#include "conduit-framework/product.h"
#include "conduit-framework/sync_state.h"
#include "platform/text/case.h"

namespace brevora::conduit {

class CSyncMgr {
 public:
  using Categories = std::map<std::string, CFileEntry, text::LessNoCase>;

  // `product` and `errors` must outlive the manager.
  CSyncMgr(const Product& product, RunErrors& errors) : product_(product), errors_(errors) {}
  CSyncMgr(const CSyncMgr&) = delete;
  CSyncMgr& operator=(const CSyncMgr&) = delete;

  // The desktop folder's category folders (local) and the handheld's labels
  // (remote). False when the folder can't be listed.
  bool BuildLists(const std::string& folder, const CMainDB& main);
  void ApplyMode(SyncMode mode);
  // Makes both sides' categories agree and writes the category block; false
  // when a step failed (more than 16 categories: nothing is changed).
  bool SyncCategories(CMainDB& main);
  bool SyncFiles(const CMainDB& main, SyncMode mode, int32_t prevail, bool slow, bool firstSync);

  const Categories& categories() const { return categories_; }

 private:
  bool EmptyCategoryFolder(const std::string& name);
  bool DeleteHandheldCategory(const std::string& name, CMainDB& main);

  const Product& product_;
  RunErrors& errors_;
  bool success_ = true;
  std::string folder_;
  Categories categories_;
  // The categories left alone, by their folder's or their label's name.
  std::vector<std::string> refusedFolders_;
  std::vector<std::string> refusedLabels_;
};

}  // namespace brevora::conduit
