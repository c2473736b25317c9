// Fuzzes the desktop workbook file (.tbr) where a user's file reaches it:
// Workbook::OpenFromDisk on the input written as a file, whole (with the cell
// lines) and header-only. The only refusal is 32760 "Workbook.OpenFromDisk"
// (it wraps every failure); a workbook that opened must be readable through
// its object model.
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "sheet/cell.h"
#include "sheet/workbook.h"

namespace brevora::fuzz {
namespace {

using sheet::Workbook;

void Walk(Workbook& wb) {
  for (int32_t s = 1; s <= wb.Sheets().Count(); ++s) {
    sheet::Sheet& sh = wb.Sheets().Item(s);
    (void)sh.name();
    for (int32_t c = 1; c <= sh.Cells().Count(); ++c) {
      const sheet::Cell& cell = sh.Cells().Item(c);
      (void)cell.Value();
      (void)cell.Formula();
    }
  }
  (void)wb.LinkedXLSFileName();
}

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto save = [&](const std::string& name, Workbook& wb) {
    const std::string path = scratch + "/" + name;
    wb.WriteToDisk(path);
    seeds.push_back({name, FileBytes(path)});
  };
  {
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    save("default.tbr", *wb);
  }
  {
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->Sheets().Item(1).Setname("Budget");
    wb->Sheets().Add("Beta, with comma");
    wb->Sheets().Item(1).Cells().Add(1, 1).SetValue("Rent");
    wb->Sheets().Item(1).Cells().Add(1, 2).SetValue("1250.5");
    sheet::Cell& sum = wb->Sheets().Item(1).Cells().Add(3, 2);
    sum.SetFormula("=SUM(B1:B2)");
    sum.SetValue("1250.5");
    wb->Sheets().Item(2).Cells().Add(996, 254).SetValue("far \"quoted\", text");
    wb->Styles().Add("Mine").Format().SetRaw(0xF0001234);
    wb->Sheets().Item(2).SetFrozenCells(1, 2, 3, 4);
    wb->SetLinkedXLSFileName("C:\\Books\\budget.xls");
    save("cells.tbr", *wb);
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
  const std::string path = WriteInput("input.tbr", data, size);
  for (const bool readCells : {true, false}) {
    brevora::Ref<Workbook> wb = brevora::MakeRef<Workbook>();
    if (AcceptsWrapped([&] { wb->OpenFromDisk(path, readCells); })) {
      Check(wb->IsHeaderOnly() == !readCells, "header-only flag");
      Walk(*wb);
    }
  }
  return 0;
}
