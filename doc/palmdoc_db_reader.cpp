#include "doc/palmdoc_db_reader.h"

#include <algorithm>

#include "core/text_cleanup.h"
#include "doc/document_header.h"
#include "doc/handheld_format.h"
#include "doc/handheld_records.h"
#include "doc/markup.h"

namespace brevora::doc {

namespace hf = handheld_format;

HandheldRead PalmDocReader::Read() const {
  const core::RecordCollection& records = db_.Records();
  const int32_t count = records.Count();
  HandheldRead read;
  const HandheldHeader header = ReadHeaderRecord(records, read.fields);
  const int32_t n = header.recordCount;
  const bool compressed = header.compression == hf::kCompressedFlag;
  std::string text;
  for (int32_t i = 2; i <= n + 1; ++i) {
    const auto data = records.Item(i)->Data();
    const std::string record =
        compressed ? ExpandRecord(data, hf::kPalmDocRecordSize)
                   : std::string(reinterpret_cast<const char*>(data.data()), data.size());
    if (i == 2)
      read.nameFromText = core::Trim(markup::FirstTextLine(std::string_view(record).substr(0, 31)));
    text += record;
  }
  const std::string_view all(text);
  const auto blockSize = static_cast<size_t>(kBlockFactor);
  for (size_t at = 0; at < all.size(); at += blockSize)
    read.blocks.emplace_back(all.substr(at, blockSize));

  const int32_t bookmarks = std::min(count - n - 1, hf::kMaxBookmarkRecords);
  for (int32_t j = 1; j <= bookmarks; ++j) {
    read.fields.bookmarks.push_back(DecodeBookmarkRecord(records.Item(n + 1 + j)->Data()));
  }
  return read;
}

}  // namespace brevora::doc
