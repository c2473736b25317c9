#include "doc/handheld_records.h"

#include <algorithm>
#include <limits>

#include "core/database_record.h"
#include "core/format_errors.h"
#include "core/handheld_database.h"
#include "doc/handheld_format.h"
#include "doc/markup.h"
#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"
#include "platform/time/dates.h"
#include "support/tabrelc.h"

namespace brevora::doc {

namespace hf = handheld_format;
using bytes::LoadBigEndian16;
using bytes::LoadBigEndian32;
using bytes::StoreBigEndian16;
using bytes::StoreBigEndian32;

namespace {

constexpr int32_t kOverflow = 6;

uint8_t CheckedByte(int32_t value) {
  if (value < 0 || value > 0xFF) RaiseRuntimeError(kOverflow);
  return static_cast<uint8_t>(value);
}

uint16_t CheckedWord(int64_t value) {
  if (value < 0 || value > 0xFFFF) RaiseRuntimeError(kOverflow);
  return static_cast<uint16_t>(value);
}

uint32_t CheckedLong(int64_t value) {
  if (value < 0 || value > std::numeric_limits<int32_t>::max()) RaiseRuntimeError(kOverflow);
  return static_cast<uint32_t>(value);
}

}  // namespace

void RaiseBadRecord(const std::string& message) {
  RaiseError(core::kInvalidFileFormat, "", message);
}

std::vector<uint8_t> EncodeHeaderRecord(const HandheldHeader& h) {
  const uint16_t n = CheckedWord(h.recordCount);
  std::vector<uint8_t> record(hf::kHeaderRecordSize + 2 * size_t{n});
  record[hf::kEditableOffset] = CheckedByte(h.editable);
  record[hf::kCompressionOffset] = CheckedByte(h.compression);
  record[hf::kSearchModeOffset] = CheckedByte(h.searchMode);
  record[hf::kConstantOffset] = hf::kConstant;
  StoreBigEndian32(&record[hf::kTextLengthOffset], h.textLength);
  StoreBigEndian16(&record[hf::kRecordCountOffset], n);
  StoreBigEndian16(&record[hf::kRecordSizeOffset], CheckedWord(h.recordSize));
  StoreBigEndian32(&record[hf::kDatabaseValueOffset], CheckedLong(h.databaseValue));
  if (n > 0) {
    const uint16_t size = CheckedWord(h.recordSize);
    for (size_t i = 0; i + 1 < n; ++i)
      StoreBigEndian16(&record[hf::kHeaderRecordSize + 2 * i], size);
    StoreBigEndian16(&record[hf::kHeaderRecordSize + 2 * (n - 1u)],
                     CheckedWord(h.lastRecordLength));
  }
  return record;
}

HandheldHeader DecodeHeaderRecord(std::span<const uint8_t> record) {
  if (record.size() < hf::kHeaderRecordSize) {
    RaiseBadRecord("The header record is too short (" + std::to_string(record.size()) + " bytes).");
  }
  HandheldHeader h;
  h.editable = record[hf::kEditableOffset];
  h.compression = record[hf::kCompressionOffset];
  h.searchMode = record[hf::kSearchModeOffset];
  h.textLength = LoadBigEndian32(&record[hf::kTextLengthOffset]);
  h.recordCount = LoadBigEndian16(&record[hf::kRecordCountOffset]);
  h.recordSize = LoadBigEndian16(&record[hf::kRecordSizeOffset]);
  const uint32_t value = LoadBigEndian32(&record[hf::kDatabaseValueOffset]);
  if (value > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
    RaiseRuntimeError(kOverflow);
  h.databaseValue = static_cast<int32_t>(value);
  return h;
}

std::vector<uint8_t> EncodeBookmarkRecord(const Bookmark& bookmark) {
  const std::string name = markup::FixLength(bookmark.name, hf::kBookmarkNameLength);
  std::vector<uint8_t> record(hf::kBookmarkRecordSize);
  std::copy(name.begin(), name.end(), record.begin());
  StoreBigEndian32(&record[hf::kBookmarkOffsetOffset], CheckedLong(bookmark.offset));
  return record;
}

Bookmark DecodeBookmarkRecord(std::span<const uint8_t> record) {
  if (record.size() < hf::kBookmarkRecordSize) {
    RaiseBadRecord("A bookmark record is too short (" + std::to_string(record.size()) + " bytes).");
  }
  Bookmark bookmark;
  const auto* name = reinterpret_cast<const char*>(record.data());
  std::string_view field(name, hf::kBookmarkNameLength);
  bookmark.name = std::string(field.substr(0, field.find('\0')));
  const uint32_t offset = LoadBigEndian32(&record[hf::kBookmarkOffsetOffset]);
  if (offset > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
    RaiseRuntimeError(kOverflow);
  bookmark.offset = static_cast<int32_t>(offset);
  return bookmark;
}

std::vector<uint8_t> CompressRecord(std::string_view text) {
  if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2)) {
    RaiseRuntimeError(kOverflow);
  }
  const auto length = static_cast<int32_t>(text.size());
  std::vector<uint8_t> area(2 * text.size() + 1);  // the worst case: every byte escaped
  const int32_t written = CompressString(reinterpret_cast<const uint8_t*>(text.data()), length,
                                         area.data(), static_cast<int32_t>(area.size()));
  if (written < 0) RaiseRuntimeError(kOverflow);  // cannot happen with room for the worst case
  area.resize(static_cast<size_t>(written));
  return area;
}

std::string ExpandRecord(std::span<const uint8_t> record, int32_t limit) {
  if (record.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    RaiseBadRecord("A text record is too long.");
  }
  std::string text(static_cast<size_t>(limit), '\0');
  const int32_t written = DecompressString(record.data(), static_cast<int32_t>(record.size()),
                                           reinterpret_cast<uint8_t*>(text.data()), limit);
  if (written < 0) {
    RaiseBadRecord("A compressed text record is damaged or expands beyond " +
                   std::to_string(limit) + " characters.");
  }
  text.resize(static_cast<size_t>(written));
  return text;
}

void StartDatabase(core::HandheldDatabase& db, const HandheldFields& fields, std::string_view type,
                   std::string_view creator) {
  db.SetName(fields.name);
  db.Attributes().SetValue(hf::kDatabaseAttributes);
  db.Version().SetValue(fields.version);
  db.SetCreationDate(dates::NowVbDate());
  db.SetType(type);
  db.SetCreator(creator);
}

void AddRecord(core::HandheldDatabase& db, int32_t id, std::vector<uint8_t> data) {
  core::RecordRef rec = MakeRef<core::DatabaseRecord>();
  rec->SetAttributes(hf::kRecordAttributes);
  rec->SetUniqueID(id);
  rec->SetData(std::move(data));
  db.Records().Add(rec, "K" + std::to_string(id));
}

HandheldHeader ReadHeaderRecord(const core::RecordCollection& records, HandheldFields& fields) {
  const int32_t count = records.Count();
  if (count < 1) RaiseBadRecord("The database has no header record.");
  const HandheldHeader header = DecodeHeaderRecord(records.Item(1)->Data());
  const int32_t n = header.recordCount;
  if (count < n + 1) {
    RaiseBadRecord("The header record announces " + std::to_string(n) +
                   " text records; the database holds " + std::to_string(count - 1) + ".");
  }
  fields.editable = header.editable;
  fields.compression = header.compression;
  fields.searchMode = header.searchMode;
  fields.databaseValue = header.databaseValue;
  return header;
}

}  // namespace brevora::doc
