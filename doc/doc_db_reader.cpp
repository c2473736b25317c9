#include "doc/doc_db_reader.h"

#include <algorithm>

#include "doc/handheld_format.h"
#include "doc/handheld_records.h"
#include "doc/markup.h"

namespace brevora::doc {

namespace hf = handheld_format;

HandheldRead DocDatabaseReader::Read() const {
  const core::RecordCollection& records = db_.Records();
  const int32_t count = records.Count();
  HandheldRead read;
  const HandheldHeader header = ReadHeaderRecord(records, read.fields);
  const int32_t n = header.recordCount;
  const bool compressed = header.compression == hf::kCompressedFlag;
  read.blocks.reserve(static_cast<size_t>(n));
  for (int32_t i = 2; i <= n + 1; ++i) {
    const auto data = records.Item(i)->Data();
    std::string text = compressed
                           ? ExpandRecord(data, hf::kDocRecordSize)
                           : std::string(reinterpret_cast<const char*>(data.data()), data.size());
    if (i == 2) read.nameFromText = markup::NameFromMarkup(text);
    read.blocks.push_back(std::move(text));
  }

  // Bookmarks: a damaged record ends them, and the read has none.
  const int32_t bookmarks = std::min(count - n - 1, hf::kMaxBookmarkRecords);
  try {
    for (int32_t j = 1; j <= bookmarks; ++j) {
      read.fields.bookmarks.push_back(DecodeBookmarkRecord(records.Item(n + 1 + j)->Data()));
    }
  } catch (const AutomationError&) {
    read.fields.bookmarks.clear();
  }
  return read;
}

}  // namespace brevora::doc
