#pragma once
// CMainDB: the conduit's own handheld database (the product's main database):
// the category block in its app-info block, the sync state in its sort-info
// block, and the list of the product's databases on the handheld.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "conduit-framework/category_block.h"
#include "conduit-framework/conduit_log.h"
#include "conduit-framework/device_db.h"
#include "conduit-framework/product.h"
#include "conduit-framework/sync_state.h"

namespace brevora::conduit {

// One product database on the handheld.
struct HandheldEntry {
  std::string name;
  uint16_t version = 0;
  std::string category;
  bool modified = false;
  bool serverSync = false;
  uint16_t attributes = 0;
  uint16_t recordCount = 0;
  uint32_t creationDate = 0;
  uint32_t modificationDate = 0;
  uint32_t backupDate = 0;
  uint32_t modificationNumber = 0;
};

class CMainDB : public CRecordDB {
 public:
  // The main database of `product`, which must outlive the object.
  explicit CMainDB(const Product& product);

  // Opens the database and reads its categories; when it does not exist,
  // creates it with the default categories first. False when it can't be
  // opened or created, or its category block can't be read.
  bool Open(const std::string& name, const std::string& category) override;
  bool ReadAppInfo() override;
  bool WriteAppInfo() override;
  void InitAppInfo() override;

  // The sync state: nullopt in `state` when the main database has none (or
  // one that does not hold together: the run is then a first one). False when
  // the block could not be read for another reason.
  bool ReadSyncState(std::optional<SyncState>& state);
  bool WriteSyncState(const SyncState& state);

  // Moves the categories of the product's older main database (when there is
  // one) into the main database and deletes the older one. False when a step failed.
  bool MigrateOldMainDB();

  // Lists the product's databases on the handheld, to the end of the list.
  // Databases that can't be taken (damaged, unreadable, of a version the
  // product can't read, or under a name that can't be a desktop file name)
  // are refused: logged, the errors flag set, their names kept in refused().
  // False when the list could not be read whole.
  bool ReadHandheldList(RunErrors& errors);
  const std::vector<HandheldEntry>& handhelds() const { return handhelds_; }
  const std::set<std::string>& refused() const { return refused_; }
  // Names that other databases hold on the handheld: other programs' ones and
  // the main database (a desktop file of such a name is never copied over them).
  const std::set<std::string>& foreign() const { return foreign_; }

  CategoryBlock& categories() { return categories_; }
  const CategoryBlock& categories() const { return categories_; }
  std::string CategoryName(uint8_t id) const;
  const Product& product() const { return product_; }

 private:
  const Product& product_;
  CategoryBlock categories_ = CategoryBlock::Defaults();
  std::vector<HandheldEntry> handhelds_;
  std::set<std::string> refused_;
  std::set<std::string> foreign_;
};

// The main database, the older one and the product's reserved names: never
// product databases, on either side (case ignored).
bool IsReservedName(const Product& product, std::string_view name);

// A name a product file may have on the desktop: a plain name of at most 31
// bytes without the product's refused characters.
bool IsProductFileName(const Product& product, std::string_view name);

// Deletes the product database `name` on the handheld, but only when it is
// one: a database of another creator or type, or the main database, is left
// alone. True when it is gone (or was never there).
bool DeleteProductDatabase(const Product& product, const std::string& name);

// Whether `name` on the handheld is free for a product database: absent, or a
// product database. False (and a foreign database or the main one holds it)
// otherwise; nullopt when the handheld could not be asked.
std::optional<bool> NameIsOurs(const Product& product, const std::string& name);

}  // namespace brevora::conduit
