#pragma once
// Test support for the handheld database readers and writers: records of a
// handheld database as bytes, and databases built by hand.
#include <string>
#include <string_view>
#include <vector>

#include "core/database_record.h"
#include "core/handheld_database.h"

namespace brevora::doc::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes Data(const core::HandheldDatabase& db, int32_t position) {
  const auto data = db.Records().Item(position)->Data();
  return Bytes(data.begin(), data.end());
}

inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline std::vector<int32_t> Ids(const core::HandheldDatabase& db) {
  std::vector<int32_t> ids;
  for (const core::RecordRef& rec : db.Records()) ids.push_back(rec->UniqueID());
  return ids;
}

// A database of the given type and creator with these records, ids 1, 2, ...
inline void Build(core::HandheldDatabase& db, std::string_view type, std::string_view creator,
                  const std::vector<Bytes>& records) {
  db.SetName("hand made");
  db.SetType(type);
  db.SetCreator(creator);
  int32_t id = 0;
  for (const Bytes& data : records) {
    core::RecordRef rec = MakeRef<core::DatabaseRecord>();
    rec->SetUniqueID(++id);
    rec->SetData(data);
    db.Records().Add(rec);
  }
}

// A header record: flags, text length, n, record size, value; no size table.
inline Bytes HeaderRecord(uint8_t editable, uint8_t compression, uint8_t search, uint32_t length,
                          uint16_t n, uint16_t size, uint32_t value) {
  return Bytes{editable,
               compression,
               search,
               1,
               static_cast<uint8_t>(length >> 24),
               static_cast<uint8_t>(length >> 16),
               static_cast<uint8_t>(length >> 8),
               static_cast<uint8_t>(length),
               static_cast<uint8_t>(n >> 8),
               static_cast<uint8_t>(n),
               static_cast<uint8_t>(size >> 8),
               static_cast<uint8_t>(size),
               static_cast<uint8_t>(value >> 24),
               static_cast<uint8_t>(value >> 16),
               static_cast<uint8_t>(value >> 8),
               static_cast<uint8_t>(value)};
}

inline Bytes BookmarkRecord(std::string_view name, uint8_t offset) {
  Bytes record(20, 0);
  for (size_t i = 0; i < name.size() && i < 15; ++i) record[i] = static_cast<uint8_t>(name[i]);
  record[19] = offset;
  return record;
}

// Text of bytes 0x80 to 0xFF without repeats to copy: its PalmDOC form takes
// two bytes per character.
inline std::string RichText(size_t length) {
  std::string text;
  uint32_t state = 12345;
  for (size_t i = 0; i < length; ++i) {
    state = state * 1103515245u + 12345u;
    text += static_cast<char>(0x80 | ((state >> 16) & 0x7F));
  }
  return text;
}

}  // namespace brevora::doc::testing
