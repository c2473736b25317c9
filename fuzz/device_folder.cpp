// Fuzzes the device folder as the Sync Manager calls take it apart: the bytes
// are a database file of a device folder, which is listed, opened, and read
// block by block and record by record, then changed and saved. None of the
// calls may break a bound: a file that does not hold together is listed as
// damaged (and is exactly one the byte reader refuses) and can't be opened; one
// that is read gives blocks and records within the file, and what is saved
// after a change reads back with that change.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "fuzz/fuzz_target.h"
#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/sync_manager.h"

namespace brevora::fuzz {
namespace {

using namespace brevora::hotsync;

std::string Database(const char* name, std::vector<std::string> records, const std::string& appInfo,
                     const std::string& sortInfo, DatabaseWriter::Placement placement) {
  DatabaseHeader header;
  std::copy(name, name + std::strlen(name), header.name.begin());
  header.type = {'T', 'e', 'x', 't'};
  header.creator = {'T', 'x', 't', 'T'};
  header.version = 2;
  auto bytes = [](const std::string& s) {
    return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  };
  std::vector<DatabaseWriter::Record> list;
  uint32_t id = 0;
  for (const std::string& r : records) list.push_back({0x40, ++id, bytes(r)});
  const DatabaseWriter writer(header, bytes(appInfo), bytes(sortInfo), std::move(list), placement);
  const std::vector<uint8_t> file = writer.Bytes();
  return std::string(file.begin(), file.end());
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"empty.pdb", Database("Empty", {}, "", "", DatabaseWriter::Placement::Packed)},
      {"text.pdb", Database("Plan", {"-\nthe plan"}, std::string("\x01\x00\x00\x00", 4), "",
                            DatabaseWriter::Placement::Packed)},
      {"main.pdb", Database("MainTextTestDB", {}, std::string(278, '\0'), std::string(10, '\x01'),
                            DatabaseWriter::Placement::Aligned)},
      {"records.pdb", Database("Many", {"one", "", "three", std::string(300, 'r')}, "app", "sort",
                               DatabaseWriter::Placement::Aligned)},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  std::filesystem::create_directories(brevora::fuzz::WorkFolder() + "/device");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::hotsync;
  const std::string folder = WorkFolder() + "/device";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  WriteInput("../device/Fuzz.pdb", data, size);
  const bool holds = DatabaseReader::Parse(std::span(data, size), size).has_value();

  Must("the device calls", [&] {
    DeviceSession session(folder);
    SyncDbInfo info[4];
    uint16_t count = 0;
    Check(SyncReadDBList(0, 0, 1, info, 4, &count) == kSyncOk && count == 1,
          "the file is listed once");
    const bool damaged = info[0].state == kSyncDbDamaged;
    Check(info[0].name[sizeof info[0].name - 1] == '\0', "the listed name ends within its field");
    uint8_t handle = 0;
    const int32_t opened = SyncOpenDB(info[0].name, 0, &handle, kSyncModeReadWrite);
    if (damaged) {
      Check(opened != kSyncOk, "a damaged database opens");
      return;
    }
    Check(holds, "a file the byte reader refuses is listed as readable");
    if (opened != kSyncOk) return;  // an empty name inside, or a name encoding another file
    std::vector<uint8_t> buffer(70000);
    SyncBlock block{handle, buffer.data(), 65535, 0};
    const int32_t app = SyncReadDBAppInfoBlock(&block);
    Check(app == kSyncOk || app == kSyncErrNotFound || app == kSyncErrTooLarge, "app-info read");
    Check(block.bytesRead <= size, "a block larger than the file");
    uint16_t records = 0;
    Check(SyncGetDBRecordCount(handle, &records) == kSyncOk, "record count");
    std::size_t total = 0;
    for (uint16_t i = 0; i < records; ++i) {
      SyncRecord r{};
      r.handle = handle;
      r.index = i;
      r.buffer = buffer.data();
      r.bufferSize = static_cast<uint32_t>(buffer.size());
      const int32_t rc = SyncReadRecordByIndex(&r);
      Check(rc == kSyncOk || rc == kSyncErrBufferTooSmall, "record read");
      total += r.size;
    }
    Check(total <= size, "records larger than the file");
    // A change is saved, and the saved file holds together.
    std::string text = "changed";
    SyncRecord added{};
    added.handle = handle;
    added.buffer = text.data();
    added.bufferSize = static_cast<uint32_t>(text.size());
    const int32_t wrote = SyncWriteRec(&added);
    Check(wrote == kSyncOk || wrote == kSyncErrTooLarge, "a record appended");
    Check(SyncCloseDB(handle) == kSyncOk || wrote != kSyncOk, "saved");
    if (wrote != kSyncOk) return;
    const std::string saved = FileBytes(folder + "/" + std::string("Fuzz.pdb"));
    const auto layout = DatabaseReader::Parse(
        std::span(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()), saved.size());
    Check(layout && layout->records.size() == records + 1u,
          "the saved file reads back with its new record");
  });
  return 0;
}
