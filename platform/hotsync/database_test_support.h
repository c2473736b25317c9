#pragma once
// Test support for the handheld database file: database images built byte by
// byte from the layout constants, the damaged images every reader of these
// files must refuse, and files read and written raw.
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"
#include "testing/temp_home.h"

namespace brevora::hotsync::test_image {

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
  namespace fmt = database_format;
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
  namespace fmt = database_format;
  uint8_t e[fmt::kEntrySize];
  bytes::StoreBigEndian32(e + fmt::kEntryDataOffset, offset);
  e[fmt::kEntryAttributes] = attributes;
  bytes::StoreBigEndian24(e + fmt::kEntryUniqueID, id);
  b.insert(b.end(), e, e + sizeof e);
}

inline void Append(Bytes& b, std::string_view text) { b.insert(b.end(), text.begin(), text.end()); }
inline void AppendZeros(Bytes& b, std::size_t n) { b.insert(b.end(), n, 0); }

// A sound two-record image with both blocks, as the aligned writer lays it
// out: app-info "appin" at 96, sort-info "srt" at 104, records at 108 and 112.
inline Bytes SoundImage() {
  Bytes b = HeaderBytes({.name = "Sound", .appInfo = 96, .sortInfo = 104, .numRecords = 2});
  AppendEntry(b, 108, 0, 1);
  AppendEntry(b, 112, 0, 2);
  AppendZeros(b, 2);
  Append(b, "appin");
  AppendZeros(b, 3);
  Append(b, "srt");
  AppendZeros(b, 1);
  Append(b, "rec1rc");
  return b;
}

// n record entries with the given data offsets, followed by `tail` bytes.
inline Bytes WithOffsets(std::initializer_list<uint32_t> offsets, std::size_t tail,
                         uint32_t appInfo = 0, uint32_t sortInfo = 0) {
  Bytes b = HeaderBytes({.appInfo = appInfo,
                         .sortInfo = sortInfo,
                         .numRecords = static_cast<uint16_t>(offsets.size())});
  uint32_t id = 1;
  for (const uint32_t offset : offsets) AppendEntry(b, offset, 0, id++);
  AppendZeros(b, 2 + tail);
  return b;
}

struct DamagedImage {
  const char* what;
  Bytes image;
};

// Files that do not hold together, one fault each.
inline std::vector<DamagedImage> DamagedImages() {
  Bytes listPastEnd = HeaderBytes({.numRecords = 3});
  AppendEntry(listPastEnd, 110, 0, 1);
  AppendEntry(listPastEnd, 110, 0, 2);  // the third entry is missing
  Bytes halfEntry = HeaderBytes({.numRecords = 1});
  halfEntry.insert(halfEntry.end(), {0, 0, 0, 88});
  return {
      {"empty file", Bytes{}},
      {"header cut short", Bytes(database_format::kHeaderSize - 1, 0)},
      {"record list past the end", listPastEnd},
      {"record entry cut short", halfEntry},
      {"record offset past the end", WithOffsets({200}, 4)},
      {"second record offset past the end", WithOffsets({96, 500}, 10)},
      {"record offsets out of order", WithOffsets({100, 97}, 10)},
      {"record offset inside the header", WithOffsets({10}, 10)},
      {"record offset inside the record list", WithOffsets({90, 100}, 10)},
      {"app-info after the first record", WithOffsets({96}, 20, 104)},
      {"sort-info before app-info", WithOffsets({}, 20, 90, 84)},
      {"sort-info after the first record", WithOffsets({96}, 20, 0, 100)},
      {"app-info inside the header", WithOffsets({}, 20, 40)},
      {"sort-info inside the header", WithOffsets({}, 20, 0, 12)},
  };
}

inline std::string TempPath(const std::string& name) {
  return testing::MakeTempDir("pdb") + "/" + name;
}

inline void WriteRaw(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadRaw(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace brevora::hotsync::test_image
