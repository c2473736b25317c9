#pragma once
// What a conduit supplies to the framework: its product description (names,
// codes, extension, registry key, the rules where conduits differ) and its
// classes: the handheld database class for each version, the desktop file's
// header reader, the copy of one file in each direction, and the converter of
// linked office files. The conduit hands its one Product to the framework's
// entry points, and the framework's objects carry it; the framework never
// reaches the conduit any other way.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/files.h"

namespace brevora::conduit {

class CHandheldDatabase;

// A desktop file's link to an office file.
struct LinkInfo {
  std::string path;    // the office file (system path)
  int32_t method = 0;  // 0 synchronize, 1 desktop to office, 2 office to desktop, 3 nothing
  int32_t option = 0;
  double date = 0;  // the link date, a Visual Basic date (local time, whole seconds)
};

// What the framework needs of a desktop file's header.
struct DesktopHeader {
  bool modified = false;
  uint16_t version = 0;
  std::optional<LinkInfo> link;  // a link this product keeps in step (absent: none to check)
  // The file begins with a modified line (modified_line.h), which a copy sets
  // and clears; a file without one stays as it is (and counts as modified).
  bool modifiedLine = true;
};

// The outcome of one step of a copy.
enum class CopyStep {
  Done,
  Refused,       // bad data in the source: the file is left alone on both sides
  OpenFailed,    // the source could not be opened (the product has logged it)
  DeviceFailed,  // a Sync Manager call failed
};

// One file's copy in either direction; made fresh for each copy. A copy to the
// handheld calls LoadDesktop, then WriteHandheld; a copy to the desktop calls
// LoadHandheld, then WriteDesktop, then FinishHandheld. `problem` is what a
// Refused step logs (the file and, where there is one, the line).
class ProductCopy {
 public:
  virtual ~ProductCopy() = default;

  // Reads the desktop file `path` of `version` whole, touching nothing.
  virtual CopyStep LoadDesktop(const std::string& path, uint16_t version, std::string& problem) = 0;
  // Writes what LoadDesktop read into `db` (open, empty, made by NewestHandheld
  // in the entry's category): its records, the header into the block, the
  // handheld's modified state cleared, the block written.
  virtual CopyStep WriteHandheld(CHandheldDatabase& db) = 0;

  // Reads the open handheld database whole.
  virtual CopyStep LoadHandheld(CHandheldDatabase& db, std::string& problem) = 0;
  // Writes what LoadHandheld read as the desktop file's bytes, marked not
  // modified; the framework puts them in place through a temporary file.
  // False when they could not be written.
  virtual bool WriteDesktop(fs::AtomicFile& out) = 0;
  // After the desktop file is in place: the handheld's modified state cleared
  // and its block written (what the product's version calls for).
  virtual CopyStep FinishHandheld(CHandheldDatabase& db) = 0;

  // The link of the desktop file just written (B), when it keeps one in step.
  virtual std::optional<LinkInfo> WrittenLink() const = 0;
};

// The converter of linked office files (the connectivity module, by ProgID).
class ConverterBridge {
 public:
  virtual ~ConverterBridge() = default;
  // True when the conversion succeeded.
  virtual bool OfficeToDesktop(const std::string& office, const std::string& desktop,
                               const std::string& options) = 0;
  virtual bool DesktopToOffice(const std::string& desktop, const std::string& office,
                               const std::string& options) = 0;
  // Why the last conversion failed, in the converter's words ("" when it gave none).
  virtual std::string LastError() const { return {}; }
};

class ConduitClasses {
 public:
  virtual ~ConduitClasses() = default;
  // The handheld class for a database of `version`; null for a version the
  // conduit can't read (the database is then left alone).
  virtual std::unique_ptr<CHandheldDatabase> HandheldFor(uint16_t version) const = 0;
  // The class every copy to the handheld is written with.
  virtual std::unique_ptr<CHandheldDatabase> NewestHandheld() const = 0;
  // The header of the desktop file `path`; nullopt when it can't be read.
  virtual std::optional<DesktopHeader> ReadDesktopHeader(const std::string& path) const = 0;
  virtual std::unique_ptr<ProductCopy> MakeCopy() const = 0;
  // Null when the converter can't be reached (conversions are then skipped).
  virtual std::unique_ptr<ConverterBridge> MakeBridge() const = 0;
};

struct Product {
  std::string name;         // "Tabulyn": the conduit's name and the log's product word
  std::string registryKey;  // "Software\\Orvanex\\Tabulyn" under HKEY_CURRENT_USER
  uint32_t creator = 0;     // of the product's handheld databases
  uint32_t type = 0;
  uint16_t version = 0;      // of the databases the conduit creates
  std::string mainDatabase;  // "MainTabulynDB"
  uint32_t mainCreator = 0;
  uint32_t mainType = 0;
  std::string oldMainDatabase;             // migrated when present; "" for none
  std::vector<std::string> reservedNames;  // never taken for product databases ("Tabrel1DB")
  std::string extension;                   // ".tbr"
  // Below this version a handheld copy is never a source (0: no such rule).
  uint16_t minimumHandheldVersion = 0;
  // The category name of an ID no slot names: slot 0's name (true) or, for an
  // ID up to 15, the name of the slot of that index (false).
  bool unnamedCategoryIsFirst = false;
  // Register with the Sync Manager around the run.
  bool registersWithSyncManager = false;
  // Characters a name may not hold besides separators and control characters.
  std::string refusedNameCharacters;
  // The extensions a linked office file may have (".xls"); a link to any other
  // file is never converted into or out of. Empty: no links are kept in step.
  std::vector<std::string> officeExtensions;
  // Folders of the conduit's folder that are the product's own, not categories
  // (case ignored): never listed, emptied or removed as a category; a handheld
  // category of such a name is left alone.
  std::vector<std::string> ownFolders;
  // What the listing logs after the name of a handheld database whose name
  // can't be a desktop file name ("": the framework's own text).
  std::string badHandheldNameText;
  // What Apply logs for an error it did not expect: the prefix, the error's
  // text (at most 255 characters) and the suffix. An empty prefix: the
  // framework's "Sync did not complete successfully.  Please synchronize again."
  std::string applyErrorPrefix;
  std::string applyErrorSuffix;
  const ConduitClasses* classes = nullptr;
};

}  // namespace brevora::conduit
