#pragma once
// Test support for the handheld database file: database images built byte by
// byte from the layout constants, and files read and written raw.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"
#include "testing/temp_home.h"

namespace brevora::core::test_image {

using Bytes = std::vector<uint8_t>;

struct Header {
  std::string name{};
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t created = 0;
  uint32_t modified = 0;
  uint32_t backedUp = 0;
  uint32_t modificationNumber = 0;
  uint32_t appInfo = 0;
  uint32_t sortInfo = 0;
  std::string type{};
  std::string creator{};
  uint32_t seed = 0;
  uint32_t nextRecordList = 0;
  uint16_t numRecords = 0;
};

inline Bytes HeaderBytes(const Header& h) {
  namespace fmt = hotsync::database_format;
  Bytes b(fmt::kHeaderSize, 0);
  std::copy(h.name.begin(), h.name.end(), b.begin() + fmt::kNameOffset);
  bytes::StoreBigEndian16(&b[fmt::kAttributesOffset], h.attributes);
  bytes::StoreBigEndian16(&b[fmt::kVersionOffset], h.version);
  bytes::StoreBigEndian32(&b[fmt::kCreationDateOffset], h.created);
  bytes::StoreBigEndian32(&b[fmt::kModificationDateOffset], h.modified);
  bytes::StoreBigEndian32(&b[fmt::kLastBackupDateOffset], h.backedUp);
  bytes::StoreBigEndian32(&b[fmt::kModificationNumberOffset], h.modificationNumber);
  bytes::StoreBigEndian32(&b[fmt::kAppInfoIDOffset], h.appInfo);
  bytes::StoreBigEndian32(&b[fmt::kSortInfoIDOffset], h.sortInfo);
  std::copy(h.type.begin(), h.type.end(), b.begin() + fmt::kTypeOffset);
  std::copy(h.creator.begin(), h.creator.end(), b.begin() + fmt::kCreatorOffset);
  bytes::StoreBigEndian32(&b[fmt::kUniqueIDSeedOffset], h.seed);
  bytes::StoreBigEndian32(&b[fmt::kNextRecordListIDOffset], h.nextRecordList);
  bytes::StoreBigEndian16(&b[fmt::kNumRecordsOffset], h.numRecords);
  return b;
}

inline void AppendEntry(Bytes& b, uint32_t offset, uint8_t attributes, uint32_t id) {
  uint8_t e[hotsync::database_format::kEntrySize];
  bytes::StoreBigEndian32(e, offset);
  e[4] = attributes;
  bytes::StoreBigEndian24(e + 5, id);
  b.insert(b.end(), e, e + sizeof e);
}

inline void Append(Bytes& b, std::string_view text) { b.insert(b.end(), text.begin(), text.end()); }
inline void AppendZeros(Bytes& b, std::size_t n) { b.insert(b.end(), n, 0); }

inline std::string TempPath(const std::string& name) {
  return testing::MakeTempDir("pdb") + "/" + name;
}

inline void WriteRaw(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadRaw(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace brevora::core::test_image
