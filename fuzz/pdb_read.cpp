// Fuzzes the handheld database file reader: the bytes of a whole file go to
// HandheldDatabaseReader (what HandheldDatabase::ReadFile does after reading
// the file), with and without record data, and the start of the file alone as a read without data takes it.
// The only refusal is 321 "Invalid file format". A database that
// was read must hold together: as many records as the header counts, each
// record's data a slice of the file starting at its own offset, and every
// field readable.
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

namespace brevora::fuzz {
namespace {

using core::HandheldDatabase;
namespace fmt = hotsync::database_format;

void CheckDatabase(const HandheldDatabase& db, const std::vector<uint8_t>& file, bool readData) {
  const uint8_t* begin = file.data();
  const uint8_t* end = begin + file.size();
  const auto inside = [&](std::span<const uint8_t> slice) {
    return slice.empty() || (slice.data() >= begin && slice.data() + slice.size() <= end);
  };
  const auto& records = db.Records();
  Check(records.Count() == bytes::LoadBigEndian16(begin + fmt::kNumRecordsOffset), "record count");
  size_t total = db.AppInfoBlock().size() + db.SortInfoBlock().size();
  for (int32_t i = 1; i <= records.Count(); ++i) {
    const core::DatabaseRecord& rec = *records.Item(i);
    const std::span<const uint8_t> data = rec.Data();
    total += data.size();
    if (!readData) {
      Check(data.empty(), "record data without readData");
      continue;
    }
    Check(inside(data), "record data outside the file");
    const uint32_t offset = static_cast<uint32_t>(rec.DataOffset().Value());
    Check(data.empty() || data.data() == begin + offset, "record data not at its offset");
    Check(rec.DataText().size() == data.size(), "recordData size");
  }
  Check(total <= file.size(), "blocks and records larger than the file");
  Check(db.Name().size() <= fmt::kNameSize, "name length");
  Check(db.Type().size() == fmt::kCodeSize && db.Creator().size() == fmt::kCodeSize, "codes");
  (void)db.CreationDate();
  (void)db.ModificationDate();
  (void)db.LastBackupDate();
}

core::RecordRef AddRecord(HandheldDatabase& db, int32_t id, uint8_t attributes, const std::string& data) {
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
  const auto header = [](HandheldDatabase& db, const char* name, const char* type, const char* creator) {
    db.SetName(name);
    db.SetType(type);
    db.SetCreator(creator);
    db.SetCreationDate(36892.5);       // 2001-01-01 12:00
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
  const auto file = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  HandheldDatabase withoutData;
  bool readWithoutData = false;
  for (const bool readData : {true, false}) {
    HandheldDatabase withData;
    HandheldDatabase& db = readData ? withData : withoutData;
    const bool read = Accepts(brevora::core::kInvalidFileFormat, [&] {
      const HandheldDatabaseReader reader(file);
      reader.Fill(db, readData);
    });
    if (read) CheckDatabase(db, *file, readData);
    if (!readData) readWithoutData = read;
  }

  // A read without data from the start of the file alone (what ReadFile does)
  // accepts the same files and reads the same header, blocks and records.
  const std::span<const uint8_t> first(data, std::min(size, HandheldDatabaseReader::kFirstBytes));
  const size_t need = HandheldDatabaseReader::HeaderPartSize(first, size);
  Check(need <= size, "header part larger than the file");
  const auto start = std::make_shared<const std::vector<uint8_t>>(data, data + need);
  HandheldDatabase head;
  const bool headRead = Accepts(brevora::core::kInvalidFileFormat, [&] {
    const HandheldDatabaseReader reader(start, size);
    reader.Fill(head, false);
  });
  Check(headRead == readWithoutData, "start of the file judged otherwise than the whole");
  if (headRead) {
    Check(head.AppInfoBlock() == withoutData.AppInfoBlock(), "app-info block from the start");
    Check(head.SortInfoBlock() == withoutData.SortInfoBlock(), "sort-info block from the start");
    Check(head.Name() == withoutData.Name(), "name from the start");
    Check(head.Records().Count() == withoutData.Records().Count(), "records from the start");
    for (int32_t i = 1; i <= head.Records().Count(); ++i) {
      Check(head.Records().Item(i)->UniqueID() == withoutData.Records().Item(i)->UniqueID(),
            "record id from the start");
    }
  }
  return 0;
}
