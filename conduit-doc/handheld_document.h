#pragma once
// CHandheldDocument and CHandheldDocument_V5: a handheld document database
// (type "zIZU", creator "Scrv"; layout in document_db_format.h) as the document
// conduit reads and writes it. CHandheldDocument serves databases of versions
// 1, 3 and 4 (and the listing); CHandheldDocument_V5 version 5, the version of
// every document the conduit writes. They differ only in the name their error
// line gives: the log calls them "CWorkbook_50" and "CWorkbook_70", the names
// the line has always had.
//
// ReadState reads the block and the document's category (record 0's). A
// missing block, or one of a length no version has, gives the defaults of a
// new document marked modified; a block or record 0 that can't be read for
// another reason (the handheld failing) is a failure, so that nothing is taken
// from defaults that stand in for real data. A block whose version word is
// not 1, 3, 4 or 5 is refused (refusal() says why).
//
// CopyDocument reads the whole document onto a desktop document object:
// WriteDocInfo, then every bookmark (each 20-byte record after the text), then
// the text record by record. Bad data (record 0 that does not hold together, a
// text record longer than 3,072 bytes or one that does not expand) is
// refused with `problem` saying what is wrong; a Sync Manager failure is
// logged ("Error encountered in CWorkbook_70->CopyDocument(). Error:" and the
// code) and reported as DeviceFailed.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "conduit-doc/document_app_info.h"
#include "conduit-doc/document_info.h"
#include "conduit-framework/device_db.h"
#include "conduit-framework/product.h"

namespace brevora::scriv {

class CLocalDocument;

class CHandheldDocument : public conduit::CHandheldDatabase {
 public:
  explicit CHandheldDocument(uint16_t version);

  bool ReadState() override;
  uint8_t GetCategoryID() const override { return category_; }
  bool IsModified() const override { return block_.modified(); }
  void ClearModified() override { block_.SetModified(false); }
  bool IsServerSync() const override { return block_.serverSync() != 0; }
  // The block of a new document (version 5), in the category `categoryId`.
  void InitDefaults(uint8_t categoryId) override;
  bool WriteAppInfo() override;

  // Why ReadState refused the database ("" when it did not).
  std::string Refusal() const override { return refusal_; }
  const DocumentAppInfo& appInfo() const { return block_; }

  // The two names and the two words of `info` into the block.
  void SetDocInfo(const DocumentInfo& info);
  // The block's version, link and server-sync flag to `header` (valid, not modified).
  void CopyHeaderTo(CDocumentHeader& header) const;
  // The link and the server-sync flag of a valid `header` into the block.
  void CopyHeaderFrom(const CDocumentHeader& header);

  conduit::CopyStep CopyDocument(CLocalDocument& target, std::string& problem);

  // Appends a record of the document (its category); false on a Sync Manager failure.
  bool WriteDocumentRecord(std::span<const uint8_t> data);
  // Replaces the data of the record `id` written before.
  bool RewriteDocumentRecord(uint32_t id, std::span<const uint8_t> data);
  // The id of the record WriteDocumentRecord wrote last.
  uint32_t lastRecordId() const { return lastRecordId_; }

 protected:
  // The class's name in the log's error line.
  virtual const char* LogName() const { return "CWorkbook_50"; }

 private:
  // The record at `index` when it is at most `limit` bytes long; its size
  // alone (data empty) when it is longer. nullopt on a failure.
  struct SmallRecord {
    uint32_t size = 0;
    uint8_t attributes = 0;  // high four bits
    uint8_t category = 0;
    std::string data;
  };
  std::optional<SmallRecord> ReadSmallRecord(uint16_t index, uint32_t limit);
  // Appends (id 0) or replaces the record `id` with `data` in the document's category.
  bool WriteRecordData(uint32_t id, std::span<const uint8_t> data);
  conduit::CopyStep DeviceFailure();

  DocumentAppInfo block_ = DocumentAppInfo::Defaults();
  uint8_t category_ = 0;
  uint32_t lastRecordId_ = 0;
  std::string refusal_;
};

class CHandheldDocument_V5 : public CHandheldDocument {
 public:
  CHandheldDocument_V5() : CHandheldDocument(scriv_format::kDatabaseVersion) {}

 protected:
  const char* LogName() const override { return "CWorkbook_70"; }
};

// True for the document versions the conduit reads: 1, 3, 4 and 5.
bool KnownDocumentVersion(uint16_t version);

}  // namespace brevora::scriv
