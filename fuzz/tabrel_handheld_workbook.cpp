// Fuzzes handheld workbook databases through the workbook conduit's classes
// over a device folder. The input: a byte that picks the database version (0,
// 3 to 9, or 12; each takes its class), a big-endian 16-bit length and that
// many bytes of application-info block, then the records, separated by 0x1E.
// The database is opened and its block read; when the class takes it, it is
// loaded for the desktop as a copy does: refused with a reason, or written as
// the desktop file of its version, which reads back with the same cells; that
// file loaded for the handheld (refused with a reason, or written to a new
// version-9 database) reads back from the handheld with the same cells again.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/workbook_copy.h"
#include "fuzz/file_input.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"

namespace brevora::fuzz {
namespace {

using namespace brevora::tabrel;
using namespace brevora::conduit;

constexpr uint16_t kVersions[] = {0, 3, 4, 5, 6, 7, 8, 9, 12};
constexpr char kRecordSeparator = '\x1e';

std::string Input(uint8_t versionIndex, const std::vector<uint8_t>& block,
                  const std::vector<std::string>& records) {
  std::string input(1, static_cast<char>(versionIndex));
  input += static_cast<char>(block.size() >> 8);
  input += static_cast<char>(block.size() & 0xFF);
  input.append(block.begin(), block.end());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i > 0) input += kRecordSeparator;
    input += records[i];
  }
  return input;
}

void PutDatabase(const std::string& folder, uint16_t version, std::span<const uint8_t> block,
                 const std::vector<std::string>& records) {
  hotsync::DatabaseHeader header;
  std::memcpy(header.name.data(), "Fuzz", 4);
  header.type = {'D', 'a', 't', 'a'};
  header.creator = {'Z', 'e', 'r', 'i'};
  header.version = version;
  std::vector<hotsync::DatabaseWriter::Record> list;
  uint32_t id = 0;
  for (const std::string& r : records) {
    list.push_back({0, ++id, std::span(reinterpret_cast<const uint8_t*>(r.data()), r.size())});
  }
  const hotsync::DatabaseWriter writer(header, block, {}, std::move(list),
                                       hotsync::DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream out(folder + "/" + hotsync::DatabaseFileName("Fuzz"),
                    std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) Fail("cannot write the database file");
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  std::vector<Seed> seeds;
  for (uint8_t i = 0; i < std::size(kVersions); ++i) {
    const uint16_t version = kVersions[i];
    std::vector<uint8_t> block =
        WorkbookBlock::Defaults(version == 0 || version > 9 ? 4 : version, 1).bytes();
    if (version == 0) block.resize(313);
    const CellForm form = CellFormOf(version);
    const std::vector<std::string> records = {
        FormatCell({1, 1, 1, "", "Rent", 65, 0}, form) + '\0',
        FormatCell({1, 2, 1, "=SUM(A1,B1)", "1,250", 0xE0000022, 3}, form) + '\0',
        FormatCell({2, 5, 3, "", "second sheet", 0, 230}, form) + '\0'};
    seeds.push_back({"v" + std::to_string(version) + ".bin", Input(i, block, records)});
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  std::filesystem::create_directories(brevora::fuzz::WorkFolder() + "/device");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::tabrel;
  using namespace brevora::conduit;
  if (size < 3) return 0;
  const uint16_t version = kVersions[data[0] % std::size(kVersions)];
  const std::size_t blockSize = std::min<std::size_t>((data[1] << 8) | data[2], size - 3);
  const std::span<const uint8_t> block(data + 3, blockSize);
  std::vector<std::string> records;
  const std::string rest(reinterpret_cast<const char*>(data + 3 + blockSize), size - 3 - blockSize);
  for (std::size_t start = 0; start <= rest.size() && records.size() < 2000;) {
    const std::size_t end = std::min(rest.find(kRecordSeparator, start), rest.size());
    records.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  const std::string folder = WorkFolder() + "/device";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  PutDatabase(folder, version, block, records);

  Must("the handheld workbook", [&] {
    brevora::hotsync::DeviceSession session(folder);
    const auto db = HandheldWorkbookFor(version);
    Check(db->Open("Fuzz", ""), "the database does not open");
    if (!db->ReadState()) return;
    (void)db->GetCategoryID();
    (void)db->IsModified();
    (void)db->IsServerSync();
    WorkbookCopy toDesktop;
    std::string problem;
    const CopyStep loaded = toDesktop.LoadHandheld(*db, problem);
    Check(loaded == CopyStep::Done || loaded == CopyStep::Refused, "a read failed without a fault");
    if (loaded == CopyStep::Refused) {
      Check(!problem.empty(), "a refusal says why");
      return;
    }
    db->Close();
    const std::string text = toDesktop.DesktopText();
    const std::string path =
        WriteInput("Fuzz.tbr", reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const auto file = LocalWorkbookFor(version);
    Check(file->OpenPath(path) == CLocalFile::OpenResult::Opened, "the desktop file does not open");
    bool modified = true;
    bool read;
    if (file->layout() == LocalWorkbook::Layout::V8) {
      CWorkbookHeader_V8 h;
      read = file->ReadHeader(h, modified, problem);
    } else {
      CWorkbookHeader h;
      read = file->ReadHeader(h, modified, problem);
    }
    Check(read, "the written desktop file's header does not read back: " + problem);
    Check(!modified, "the written desktop file is marked modified");
    std::vector<CellRecord> cells;
    CellRecord cell;
    LocalWorkbook::CellRead next;
    while ((next = file->ReadNextCell(cell, problem)) == LocalWorkbook::CellRead::Cell)
      cells.push_back(cell);
    Check(next == LocalWorkbook::CellRead::End,
          "a written cell line does not read back: " + problem);
    Check(cells == toDesktop.cells(), "the desktop file's cells are not the handheld's");

    // Back to the handheld.
    WorkbookCopy toHandheld;
    const CopyStep back = toHandheld.LoadDesktop(path, version, problem);
    if (back == CopyStep::Refused) {
      Check(!problem.empty(), "a refusal says why");
      return;
    }
    Check(back == CopyStep::Done, "the written desktop file can't be loaded");
    CWorkbook_V8 newest(9);
    Check(newest.OpenOrCreate("Back", "", 0), "a new database can't be made");
    Check(toHandheld.WriteHandheld(newest) == CopyStep::Done && newest.Close(),
          "the copy to the handheld failed");
    CWorkbook_V8 reread(9);
    Check(reread.Open("Back", "") && reread.ReadState(), "the new database does not read back");
    std::vector<CellRecord> again;
    HandheldWorkbook::CellRead step;
    while ((step = reread.ReadNextCell(cell, problem)) == HandheldWorkbook::CellRead::Cell)
      again.push_back(cell);
    Check(step == HandheldWorkbook::CellRead::End,
          "a written record does not read back: " + problem);
    Check(again == toHandheld.cells(), "the handheld's cells are not the desktop file's");
  });
  return 0;
}
