#pragma once
// WorkbookCopy: one workbook's copy between its desktop file and its handheld
// database, in either direction (the framework's ProductCopy).
//
// To the handheld: the desktop file of its version is read whole with the
// class of that version; an older header becomes a version-8 one (Fill); a
// comma-form cell's format word is put in the TAB form and, below version 9,
// its second format word remapped (RemapFormat2) -- each once, on the way from
// the older form to the newest. The handheld database is written as version 9.
//
// To the desktop: the handheld database is read whole with the class of its
// version and written as a desktop file of that version, with that version's
// header kind and cell form, unchanged; marked not modified.
//
// Whatever can't cross unchanged is refused before anything is written, the
// file and the line (or the record) named in the problem: a cell line or
// record that is not a cell, a blank line among the cells, a header that does
// not hold together, a text the target form can't keep, sheet names that are
// the same in their first 15 characters (case ignored), a cell on a sheet
// after an unnamed one (the handheld numbers a sheet by the named ones before
// it, so the cell would come back on another sheet), more cells than a
// handheld database holds.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conduit-framework/product.h"
#include "conduit/cell_record.h"
#include "conduit/workbook_header.h"

namespace brevora::tabrel {

class WorkbookCopy : public conduit::ProductCopy {
 public:
  conduit::CopyStep LoadDesktop(const std::string& path, uint16_t version,
                                std::string& problem) override;
  conduit::CopyStep WriteHandheld(conduit::CHandheldDatabase& db) override;
  conduit::CopyStep LoadHandheld(conduit::CHandheldDatabase& db, std::string& problem) override;
  bool WriteDesktop(fs::AtomicFile& out) override;
  conduit::CopyStep FinishHandheld(conduit::CHandheldDatabase& db) override;
  std::optional<conduit::LinkInfo> WrittenLink() const override;

  // What was loaded, for tests.
  const CWorkbookHeader_V8& header() const { return header_; }
  const CWorkbookHeader& olderHeader() const { return older_; }
  const std::vector<CellRecord>& cells() const { return cells_; }
  // The desktop file's text of what LoadHandheld read.
  std::string DesktopText() const;

 private:
  uint16_t version_ = 0;
  CWorkbookHeader older_;      // a handheld header of versions 4 to 7
  CWorkbookHeader_V8 header_;  // versions 8 and 9, and every copy to the handheld
  std::vector<CellRecord> cells_;
};

// Seconds since 1899-12-30 as a Visual Basic date.
double LinkDateToVbDate(uint32_t seconds);

}  // namespace brevora::tabrel
