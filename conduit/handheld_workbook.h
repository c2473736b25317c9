#pragma once
// The handheld workbook classes: one handheld workbook database (type "Data",
// creator "Zeri") through the Sync Manager calls, its block (workbook_block.h)
// and its cells, one per record (cell_record.h). One class per block layout:
//
//   CWorkbook_V4   version 4, version 0 (converted), and any version no other
//                  class takes (whose block it does not read)
//   CWorkbook_V5   version 5: the 1748-byte block,
//   CWorkbook_V6   version 6: the same block,
//   CWorkbook_V7   version 7: the same block,
//   CWorkbook_V8   versions 8 and 9: the 2524-byte block; every database the
//                  conduit writes (version 9)
//
// Versions 4 and 5 hold comma-form cells, 6 to 9 TAB-form ones; a TAB-form
// cell's sheet number counts the name slots, empty ones included, and is read
// through CountSheets. The header travels as CWorkbookHeader (versions 4 to 7)
// or CWorkbookHeader_V8 (8 and 9).
#include <cstdint>
#include <memory>
#include <string>

#include "conduit-framework/device_db.h"
#include "conduit/cell_record.h"
#include "conduit/workbook_block.h"
#include "conduit/workbook_header.h"

namespace brevora::tabrel {

class HandheldWorkbook : public conduit::CHandheldDatabase {
 public:
  const WorkbookBlock& block() const { return block_; }
  WorkbookBlock& block() { return block_; }
  CellForm form() const { return form_; }

  // Reads the block of the open database (ReadAppInfo with its version).
  bool ReadState() override { return ReadAppInfo(); }
  // Reads and checks the block of a database of `version`; false when it
  // can't be read or does not hold together.
  virtual bool ReadAppInfo(uint16_t version);
  bool ReadAppInfo() override { return ReadAppInfo(version()); }
  bool WriteAppInfo() override;
  void InitDefaults(uint8_t categoryId) override;
  uint8_t GetCategoryID() const override { return block_.CategoryId(); }
  bool IsModified() const override { return block_.Modified() != 0; }
  void ClearModified() override { block_.SetModified(0); }
  bool IsServerSync() const override;

  enum class CellRead {
    Cell,    // `cell` holds the next cell
    End,     // no record is left
    Bad,     // the record is not a cell: `problem` says why, naming the record
    Failed,  // the Sync Manager failed
  };
  CellRead ReadNextCell(CellRecord& cell, std::string& problem);
  // Appends the cell as a record in the class's form; false when the Sync
  // Manager refused it.
  bool SetNextCell(const CellRecord& cell);
  // `sheet` minus the empty name slots among slots 1 to sheet - 1.
  int32_t CountSheets(int32_t sheet) const;

  // Block to header. The version text is the database version.
  void CopyHeaderTo(CWorkbookHeader& header) const;
  void CopyHeaderTo(CWorkbookHeader_V8& header) const;
  // Header to block: every name slot (cut to 15 bytes); the rest only from a
  // valid header, column widths outside 10 to 145 becoming 0, settings above
  // 9 becoming 4 and default widths outside 10 to 145 becoming 47 (the
  // version-4 record has neither; its workbook-wide widths are cleared).
  // False when the link path does not fit.
  bool CopyHeaderFrom(const CWorkbookHeader& header);
  bool CopyHeaderFrom(const CWorkbookHeader_V8& header);

 protected:
  HandheldWorkbook(uint16_t version, const workbook_format::BlockLayout& layout, CellForm form);

 private:
  template <class Header>
  void CopyCommonTo(Header& header) const;
  template <class Header>
  void CopyCommonFrom(const Header& header);

  WorkbookBlock block_;
  CellForm form_;
};

class CWorkbook_V4 : public HandheldWorkbook {
 public:
  explicit CWorkbook_V4(uint16_t version = 4);
  // Versions 4 and 0 only; any other is not read.
  bool ReadAppInfo(uint16_t version) override;
};

class CWorkbook_V5 : public HandheldWorkbook {
 public:
  CWorkbook_V5() : CWorkbook_V5(5) {}

 protected:
  explicit CWorkbook_V5(uint16_t version);
};

class CWorkbook_V6 : public CWorkbook_V5 {
 public:
  CWorkbook_V6() : CWorkbook_V6(6) {}

 protected:
  explicit CWorkbook_V6(uint16_t version) : CWorkbook_V5(version) {}
};

class CWorkbook_V7 : public CWorkbook_V6 {
 public:
  CWorkbook_V7() : CWorkbook_V6(7) {}
};

class CWorkbook_V8 : public HandheldWorkbook {
 public:
  // 8 or 9.
  explicit CWorkbook_V8(uint16_t version = workbook_format::kNewestVersion);
};

// The class of a database of `version`.
std::unique_ptr<HandheldWorkbook> HandheldWorkbookFor(uint16_t version);

}  // namespace brevora::tabrel
