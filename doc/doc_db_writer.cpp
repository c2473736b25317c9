#include "doc/doc_db_writer.h"

#include <deque>
#include <string>

#include "doc/handheld_format.h"
#include "doc/handheld_records.h"
#include "doc/markup.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::doc {

namespace hf = handheld_format;

std::string DocDatabaseWriter::DatabaseName(std::string_view docName, std::string_view path) {
  const std::string name =
      !docName.empty() ? std::string(docName) : fs::StripExtension(fs::FileNamePart(path));
  return name.substr(0, kMaxNameLength);
}

void DocDatabaseWriter::Fill(core::HandheldDatabase& db) const {
  // The records' texts: each block, an empty one included; longer ones cut.
  std::deque<std::string> pieces;  // the cut blocks (a deque keeps them in place)
  std::vector<std::string_view> texts;
  uint64_t textLength = 0;
  for (std::string_view block : blocks_) {
    textLength += block.size();
    if (block.size() <= static_cast<size_t>(hf::kDocRecordSize)) {
      texts.push_back(block);
      continue;
    }
    for (std::string& piece : markup::CutIntoBlocks(block, hf::kDocRecordSize))
      texts.push_back(pieces.emplace_back(std::move(piece)));
  }

  if (textLength > 0xFFFFFFFFu) RaiseRuntimeError(6);

  HandheldHeader header;
  header.editable = fields_.editable;
  header.compression = fields_.compression;
  header.searchMode = fields_.searchMode;
  header.textLength = static_cast<uint32_t>(textLength);
  header.recordCount = static_cast<int32_t>(texts.size() > 0xFFFFu ? 0x10000u : texts.size());
  header.recordSize = hf::kDocRecordSize;
  header.databaseValue = fields_.databaseValue;
  header.lastRecordLength = texts.empty() ? 0 : static_cast<int32_t>(texts.back().size());
  std::vector<uint8_t> headerRecord = EncodeHeaderRecord(header);  // checks every field
  std::vector<std::vector<uint8_t>> bookmarkRecords;
  for (const Bookmark& bookmark : fields_.bookmarks)
    bookmarkRecords.push_back(EncodeBookmarkRecord(bookmark));

  StartDatabase(db, fields_, hf::kDocType, hf::kDocCreator);
  AddRecord(db, hf::kHeaderRecordID, std::move(headerRecord));
  const bool compress = fields_.compression == hf::kCompressedFlag;
  int32_t id = hf::kHeaderRecordID;
  for (std::string_view text : texts) {
    AddRecord(db, ++id,
              compress ? CompressRecord(text) : std::vector<uint8_t>(text.begin(), text.end()));
  }
  for (std::vector<uint8_t>& record : bookmarkRecords) AddRecord(db, ++id, std::move(record));
}

void DocDatabaseWriter::Write(std::string_view file) const {
  core::HandheldDatabase db;
  Fill(db);
  db.WriteFile(file);
}

}  // namespace brevora::doc
