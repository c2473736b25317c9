#include "doc/palmdoc_db_writer.h"

#include <algorithm>
#include <string>

#include "core/file_mode.h"
#include "doc/document_header.h"
#include "doc/handheld_format.h"
#include "doc/handheld_records.h"
#include "platform/error/error.h"

namespace brevora::doc {

namespace hf = handheld_format;

std::string PalmDocWriter::DatabaseName(std::string_view docName, std::string_view path) {
  const std::string name = !docName.empty()
                               ? std::string(docName)
                               : core::RemoveFileModeExtension(path, core::kScrivaneMode);
  return name.substr(0, kMaxNameLength);
}

void PalmDocWriter::Fill(core::HandheldDatabase& db) const {
  std::string text;
  size_t length = 0;
  for (std::string_view block : blocks_) length += block.size();
  if (length > 0xFFFFFFFFu) RaiseRuntimeError(6);
  text.reserve(length);
  for (std::string_view block : blocks_) text += block;

  const size_t recordSize = hf::kPalmDocRecordSize;
  const size_t n = (length + recordSize - 1) / recordSize;
  HandheldHeader header;
  header.editable = fields_.editable;
  header.compression = fields_.compression;
  header.searchMode = fields_.searchMode;
  header.textLength = static_cast<uint32_t>(length);
  header.recordCount = static_cast<int32_t>(std::min<size_t>(n, 0x10000));
  header.recordSize = hf::kPalmDocRecordSize;
  header.databaseValue = fields_.databaseValue;
  header.lastRecordLength = n == 0 ? 0 : static_cast<int32_t>(length - recordSize * (n - 1));
  std::vector<uint8_t> headerRecord = EncodeHeaderRecord(header);  // checks every field
  std::vector<std::vector<uint8_t>> bookmarkRecords;
  for (const Bookmark& bookmark : fields_.bookmarks)
    bookmarkRecords.push_back(EncodeBookmarkRecord(bookmark));

  StartDatabase(db, fields_, hf::kPalmDocType, hf::kPalmDocCreator);
  AddRecord(db, hf::kHeaderRecordID, std::move(headerRecord));
  const bool compress = fields_.compression == hf::kCompressedFlag;
  const std::string_view all(text);
  for (size_t k = 0; k < n; ++k) {
    const std::string_view chunk = all.substr(k * recordSize, recordSize);
    AddRecord(db, static_cast<int32_t>(k) + 2,
              compress ? CompressRecord(chunk) : std::vector<uint8_t>(chunk.begin(), chunk.end()));
  }
  const auto base = static_cast<int32_t>(std::max(blocks_.size(), n)) + 1;
  int32_t j = 0;
  for (std::vector<uint8_t>& record : bookmarkRecords) AddRecord(db, base + ++j, std::move(record));
}

void PalmDocWriter::Write(std::string_view file) const {
  core::HandheldDatabase db;
  Fill(db);
  db.WriteFile(file);
}

}  // namespace brevora::doc
