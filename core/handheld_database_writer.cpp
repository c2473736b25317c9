#include "core/handheld_database_writer.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "core/handheld_database.h"
#include "platform/error/error.h"

namespace brevora::core {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

uint16_t U16(const BigEndian16& w) { return static_cast<uint16_t>(w.Value()); }
uint32_t U32(const BigEndian32& d) { return static_cast<uint32_t>(d.Value()); }

}  // namespace

HandheldDatabaseWriter::HandheldDatabaseWriter(HandheldDatabase& db) : db_(db) {
  hotsync::DatabaseHeader h;
  h.name = db.name_;
  h.attributes = U16(db.attributes_);
  h.version = U16(db.version_);
  h.creationDate = U32(db.creationDate_);
  h.modificationDate = std::max(U32(db.modificationDate_), h.creationDate);
  h.backupDate = U32(db.lastBackupDate_);
  h.modificationNumber = U32(db.modificationNumber_);
  h.type = db.type_;
  h.creator = db.creator_;
  h.uniqueIDSeed = U32(db.uniqueIDSeed_);
  h.nextRecordListID = U32(db.nextRecordListID_);

  std::vector<hotsync::DatabaseWriter::Record> records;
  records.reserve(static_cast<std::size_t>(db.records_.Count()));
  bool emptySlot = false;
  for (const RecordRef& rec : db.records_) {
    if (!rec) {
      emptySlot = true;
      records.emplace_back();
      continue;
    }
    records.push_back({rec->Attributes(), static_cast<uint32_t>(rec->UniqueID()), rec->Data()});
  }
  // The writer refuses what the file cannot hold (6) before an empty slot is.
  writer_.emplace(h, Bytes(db.appInfoBlock_), Bytes(db.sortInfoBlock_), std::move(records),
                  hotsync::DatabaseWriter::Placement::Aligned);
  if (emptySlot) RaiseRuntimeError(91);
}

void HandheldDatabaseWriter::WriteTo(fs::AtomicFile& out) {
  HandheldDatabase& db = db_;
  const hotsync::DatabaseHeader& h = writer_->header();
  db.modificationDate_.SetValue(h.modificationDate);
  db.recordCount_.SetValue(h.numRecords);
  db.appInfoID_.SetValue(h.appInfoID);
  db.sortInfoID_.SetValue(h.sortInfoID);
  const std::vector<uint32_t>& offsets = writer_->dataOffsets();
  std::size_t i = 0;
  for (const RecordRef& rec : db.records_) rec->DataOffset().SetValue(offsets[i++]);

  writer_->WriteTo([&](std::span<const uint8_t> piece) { out.Write(piece); });
}

}  // namespace brevora::core
