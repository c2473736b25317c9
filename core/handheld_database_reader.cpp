#include "core/handheld_database_reader.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/format_errors.h"
#include "core/handheld_database.h"

namespace brevora::core {

HandheldDatabaseReader::HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> file)
    : HandheldDatabaseReader(file, file ? file->size() : 0) {}

HandheldDatabaseReader::HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> start,
                                               uint64_t fileSize)
    : file_(std::move(start)), fileSize_(fileSize) {
  auto layout = hotsync::DatabaseReader::Parse(*file_, fileSize_);
  if (!layout) RaiseInvalidFormat();
  // Given only the start of the file, the blocks must lie in it too.
  if (layout->appInfo.end > file_->size() || layout->sortInfo.end > file_->size())
    RaiseInvalidFormat();
  layout_ = std::move(*layout);
}

void HandheldDatabaseReader::Fill(HandheldDatabase& db, bool readData, bool keyed) const {
  if (readData && file_->size() != fileSize_) RaiseInvalidFormat();
  const hotsync::DatabaseHeader& h = layout_.header;
  auto text = [&](const hotsync::ByteRange& r) {
    return std::string(reinterpret_cast<const char*>(file_->data()) + r.begin, r.size());
  };

  // Everything that can fail is built first; the commit below cannot fail.
  std::string appInfoBlock = text(layout_.appInfo);
  std::string sortInfoBlock = text(layout_.sortInfo);
  RecordCollection records;
  uint32_t highestId = 0;
  for (const hotsync::RecordEntry& entry : layout_.records) {
    RecordRef rec = MakeRef<DatabaseRecord>();
    rec->DataOffset().SetValue(static_cast<double>(entry.data.begin));
    rec->SetAttributes(entry.attributes);
    rec->SetUniqueID(static_cast<int32_t>(entry.uniqueID));
    if (readData) rec->SetDataSlice(file_, entry.data.begin, entry.data.size());
    if (!keyed) {
      records.Add(std::move(rec));
      continue;
    }
    // The first record with a given id keeps the key; later ones get none.
    // An id above every id so far (ids rise as writers give them) cannot be
    // taken yet, so only the others are looked up.
    const uint32_t id = entry.uniqueID;
    std::string key = "K" + std::to_string(id);
    if (id <= highestId && records.Find(key) != nullptr) key.clear();
    highestId = std::max(highestId, id);
    records.Add(std::move(rec), key);
  }

  db.name_ = h.name;
  db.type_ = h.type;
  db.creator_ = h.creator;
  db.attributes_.SetValue(h.attributes);
  db.version_.SetValue(h.version);
  db.creationDate_.SetValue(h.creationDate);
  db.modificationDate_.SetValue(h.modificationDate);
  db.lastBackupDate_.SetValue(h.backupDate);
  db.modificationNumber_.SetValue(h.modificationNumber);
  db.appInfoID_.SetValue(h.appInfoID);
  db.sortInfoID_.SetValue(h.sortInfoID);
  db.uniqueIDSeed_.SetValue(h.uniqueIDSeed);
  db.nextRecordListID_.SetValue(h.nextRecordListID);
  db.recordCount_.SetValue(static_cast<int32_t>(layout_.records.size()));
  db.appInfoBlock_.swap(appInfoBlock);
  db.sortInfoBlock_.swap(sortInfoBlock);
  db.records_ = std::move(records);
}

}  // namespace brevora::core
