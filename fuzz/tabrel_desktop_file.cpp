// Fuzzes the desktop workbook file as the workbook conduit reads it: the first
// byte picks the version (0 to 10; each takes its class), the rest is the
// file. The header a HotSync collects is read (ReadWorkbookHeader), then the
// file is loaded for the handheld as a copy does (WorkbookCopy::LoadDesktop):
// it is refused with a reason, or its cells are ones a handheld database can
// take. The file's own class reads it, and what it writes of what it read
// reads back to the same text (a fixed point after one writing).
#include <filesystem>
#include <string>
#include <vector>

#include "conduit/cell_record.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/tabrel_product.h"
#include "conduit/workbook_copy.h"
#include "fuzz/file_input.h"

namespace brevora::fuzz {
namespace {

using namespace brevora::tabrel;
using namespace brevora::conduit;

// The text of the header and the cells `file` holds, written back by its class;
// nullopt when the header can't be read.
std::optional<std::string> Rewritten(uint16_t version, const std::string& path) {
  const auto file = LocalWorkbookFor(version);
  if (file->OpenPath(path) != CLocalFile::OpenResult::Opened) Fail("an input file does not open");
  bool modified = false;
  std::string problem;
  const auto out = LocalWorkbookFor(version);
  if (file->layout() == LocalWorkbook::Layout::V8) {
    CWorkbookHeader_V8 h;
    if (!file->ReadHeader(h, modified, problem)) return std::nullopt;
    out->WriteHeader(h, modified);
  } else {
    CWorkbookHeader h;
    if (!file->ReadHeader(h, modified, problem)) return std::nullopt;
    out->WriteHeader(h, modified);
  }
  const CellTarget target =
      file->form() == CellForm::Comma ? CellTarget::DesktopComma : CellTarget::DesktopTab;
  CellRecord cell;
  while (file->ReadNextCell(cell, problem) == LocalWorkbook::CellRead::Cell) {
    if (CheckTexts(cell, target).empty()) out->WriteCell(cell);
  }
  return out->text();
}

std::string Header(uint16_t version) {
  const auto db = HandheldWorkbookFor(version);
  db->block() = WorkbookBlock::Defaults(version, 0);
  const auto file = LocalWorkbookFor(version);
  if (version >= 8) {
    CWorkbookHeader_V8 h;
    db->CopyHeaderTo(h);
    h.linkPath = "/home/alice/Budget.xls";
    h.linkDate = 3900000000u;
    file->WriteHeader(h, true);
  } else {
    CWorkbookHeader h;
    db->CopyHeaderTo(h);
    file->WriteHeader(h, true);
  }
  return file->text();
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  std::vector<Seed> seeds;
  for (uint16_t version : {3, 4, 5, 6, 7, 8, 9}) {
    const CellForm form = CellFormOf(version);
    std::string text = Header(version);
    text += FormatCell({1, 1, 1, "", "Rent", 65, 0}, form) + "\r\n";
    text += FormatCell({1, 2, 1, "=SUM(A1,B1)", "1,250", 0xF0000022, 3}, form) + "\r\n";
    seeds.push_back({"v" + std::to_string(version) + ".tbr",
                     std::string(1, static_cast<char>(version)) + text});
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::tabrel;
  using namespace brevora::conduit;
  if (size == 0) return 0;
  const auto version = static_cast<uint16_t>(data[0] % 11);
  const std::string path = WriteInput("Book.tbr", data + 1, size - 1);
  Must("the desktop file", [&] {
    const auto header = ReadWorkbookHeader(path);
    if (header) Check(header->version <= 9, "a version above 9 taken");
    WorkbookCopy copy;
    std::string problem;
    switch (copy.LoadDesktop(path, version, problem)) {
      case CopyStep::Done:
        Check(copy.cells().size() <= 0xFFFF, "more cells than a database holds");
        for (const CellRecord& cell : copy.cells()) {
          Check(CheckTexts(cell, CellTarget::HandheldTab).empty(),
                "a cell the handheld can't keep was taken");
        }
        break;
      case CopyStep::Refused:
        Check(!problem.empty(), "a refusal says why");
        break;
      default:
        Fail("an existing file was not opened");
    }
    const auto once = Rewritten(version, path);
    if (!once) return;
    const std::string again =
        WriteInput("Again.tbr", reinterpret_cast<const uint8_t*>(once->data()), once->size());
    const auto twice = Rewritten(version, again);
    Check(twice && *twice == *once, "what was written of a file reads back different");
  });
  return 0;
}
