// Fuzzes the one reader of handheld database files and the connectivity
// core's HandheldDatabase over it. The bytes of a whole file go to
// DatabaseReader::Parse and to HandheldDatabaseReader (what
// HandheldDatabase::ReadFile does after reading the file), with and without
// record data; the head of the file alone (HeadSize bytes) goes to both as a
// read without data takes it.
// A layout must hold together: the blocks and records one after the other,
// from the end of the record list to the end of the file, each record at the
// offset its entry gives. The head gives the same verdict and layout. The core
// refuses exactly what Parse refuses, and only with 321 "Invalid file format";
// a database that was read has as many records as the layout, each record's
// data the slice of the file the layout names, and every field readable.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/format_errors.h"
#include "core/handheld_database.h"
#include "core/handheld_database_reader.h"
#include "fuzz/fuzz_target.h"
#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"
#include "platform/hotsync/database_reader.h"

namespace brevora::fuzz {
namespace {

using core::HandheldDatabase;
namespace fmt = hotsync::database_format;

void CheckLayout(const hotsync::DatabaseLayout& layout, std::span<const uint8_t> file) {
  const hotsync::DatabaseHeader& h = layout.header;
  Check(layout.records.size() == h.numRecords, "layout record count");
  Check(h.appInfoID != 0 || layout.appInfo == hotsync::ByteRange{},
        "app-info range without a block");
  Check(h.sortInfoID != 0 || layout.sortInfo == hotsync::ByteRange{},
        "sort-info range without a block");
  std::vector<hotsync::ByteRange> parts;
  if (h.appInfoID != 0) parts.push_back(layout.appInfo);
  if (h.sortInfoID != 0) parts.push_back(layout.sortInfo);
  for (std::size_t i = 0; i < layout.records.size(); ++i) {
    const uint8_t* entry = file.data() + fmt::EntryOffset(i);
    Check(layout.records[i].data.begin == bytes::LoadBigEndian32(entry + fmt::kEntryDataOffset),
          "record not at its entry's offset");
    parts.push_back(layout.records[i].data);
  }
  uint64_t at = fmt::EntryOffset(h.numRecords);
  for (std::size_t k = 0; k < parts.size(); ++k) {
    Check(k == 0 ? parts[k].begin >= at : parts[k].begin == at, "parts not one after the other");
    Check(parts[k].begin <= parts[k].end, "a part ends before it begins");
    at = parts[k].end;
  }
  Check(parts.empty() || at == file.size(), "the last part does not end with the file");
}

void CheckDatabase(const HandheldDatabase& db, const hotsync::DatabaseLayout& layout,
                   const std::vector<uint8_t>& file, bool readData) {
  const auto& records = db.Records();
  Check(records.Count() == static_cast<int32_t>(layout.records.size()), "record count");
  Check(db.AppInfoBlock().size() == layout.appInfo.size(), "app-info block size");
  Check(db.SortInfoBlock().size() == layout.sortInfo.size(), "sort-info block size");
  for (int32_t i = 1; i <= records.Count(); ++i) {
    const core::DatabaseRecord& rec = *records.Item(i);
    const hotsync::RecordEntry& entry = layout.records[static_cast<std::size_t>(i - 1)];
    const std::span<const uint8_t> data = rec.Data();
    Check(rec.DataOffset().Value() == static_cast<double>(entry.data.begin), "record offset");
    Check(rec.UniqueID() == static_cast<int32_t>(entry.uniqueID), "record id");
    if (!readData) {
      Check(data.empty(), "record data without readData");
      continue;
    }
    Check(data.size() == entry.data.size(), "record data size");
    Check(data.empty() || data.data() == file.data() + entry.data.begin,
          "record data not at its offset");
    Check(rec.DataText().size() == data.size(), "recordData size");
  }
  Check(db.Name().size() <= fmt::kNameSize, "name length");
  Check(db.Type().size() == fmt::kCodeSize && db.Creator().size() == fmt::kCodeSize, "codes");
  (void)db.CreationDate();
  (void)db.ModificationDate();
  (void)db.LastBackupDate();
}

core::RecordRef AddRecord(HandheldDatabase& db, int32_t id, uint8_t attributes,
                          const std::string& data) {
  core::RecordRef rec = MakeRef<core::DatabaseRecord>();
  rec->SetUniqueID(id);
  rec->SetAttributes(attributes);
  rec->SetDataText(data);
  db.Records().Add(rec);
  return rec;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto add = [&](const std::string& name, HandheldDatabase& db) {
    const std::string path = scratch + "/" + name;
    db.WriteFile(path);
    seeds.push_back({name, FileBytes(path)});
  };
  const auto header = [](HandheldDatabase& db, const char* name, const char* type,
                         const char* creator) {
    db.SetName(name);
    db.SetType(type);
    db.SetCreator(creator);
    db.SetCreationDate(36892.5);  // 2001-01-01 12:00
    db.SetModificationDate(36900.25);
    db.Version().SetValue(1);
  };

  HandheldDatabase empty;
  header(empty, "Empty", "DATA", "test");
  add("empty.pdb", empty);

  HandheldDatabase records;
  header(records, "Records", "DATA", "test");
  records.Attributes().SetValue(0x0008);  // backup
  AddRecord(records, 0x100001, 0x40, "first record");
  AddRecord(records, 0x100002, 0x00, "");
  AddRecord(records, 0x100001, 0x21, std::string("same id\0\x01\xFF", 10));
  add("records.pdb", records);

  HandheldDatabase blocks;
  header(blocks, "Blocks", "Data", "memo");
  std::string appInfo(276, '\0');  // a category block: renamed flags, 16 names, ids, last id
  appInfo.replace(2, 7, "Unfiled");
  appInfo.replace(2 + 16, 8, "Business");
  blocks.SetAppInfoBlock(appInfo);
  blocks.SetSortInfoBlock("\x01\x02\x03");
  AddRecord(blocks, 1, 0x00, "Memo one\nwith two lines");
  AddRecord(blocks, 2, 0x01, "Memo two");
  add("blocks.pdb", blocks);
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using brevora::core::HandheldDatabaseReader;
  using brevora::hotsync::DatabaseReader;
  const auto file = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  const auto layout = DatabaseReader::Parse(*file, size);
  if (layout) CheckLayout(*layout, *file);

  // The head of the file alone gives the same verdict and layout.
  const std::span<const uint8_t> first(data, std::min(size, DatabaseReader::kFirstBytes));
  const uint64_t need = DatabaseReader::HeadSize(first, size);
  Check(need <= size, "head larger than the file");
  const auto start = std::make_shared<const std::vector<uint8_t>>(data, data + need);
  Check(DatabaseReader::Parse(*start, size) == layout, "head judged otherwise than the whole");

  for (const bool readData : {true, false}) {
    HandheldDatabase db;
    const bool read = Accepts(brevora::core::kInvalidFileFormat, [&] {
      const HandheldDatabaseReader reader(file);
      reader.Fill(db, readData);
    });
    Check(read == layout.has_value(), "the database read otherwise than the file's layout");
    if (read) CheckDatabase(db, *layout, *file, readData);
  }
  // A read without data from the head alone (what ReadFile does).
  HandheldDatabase head;
  const bool headRead = Accepts(brevora::core::kInvalidFileFormat, [&] {
    const HandheldDatabaseReader reader(start, size);
    reader.Fill(head, false);
  });
  Check(headRead == layout.has_value(), "head of the file read otherwise than the whole");
  if (headRead) CheckDatabase(head, *layout, *file, false);
  return 0;
}
