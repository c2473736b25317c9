// Fuzzes the handheld spreadsheet database where a user's file reaches it:
// Workbook::OpenFromPDB on the input written as a file. The only refusal is
// 32760 "Document.OpenFromPDB" (or the database layer's 32760, passed on); a
// workbook that opened must be readable through its object model.
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "sheet/cell.h"
#include "sheet/workbook.h"

namespace brevora::fuzz {

using sheet::Workbook;

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto save = [&](const std::string& name, Workbook& wb) {
    const std::string path = scratch + "/" + name;
    wb.WriteToPDB(path);
    seeds.push_back({name, FileBytes(path)});
  };
  {
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    save("default.pdb", *wb);
  }
  {
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->Sheets().Item(1).Setname("Budget");
    wb->Sheets().Add("Second");
    wb->Sheets().Item(1).Cells().Add(1, 1).SetValue("Rent");
    wb->Sheets().Item(1).Cells().Add(2, 1).SetValue("1250.5");
    sheet::Cell& sum = wb->Sheets().Item(2).Cells().Add(996, 254);
    sum.SetFormula("=SUM(A1:B2)");
    sum.SetValue("3");
    wb->Styles().Add("Mine").Format().SetRaw(0xF0001234);
    wb->SetLinkedXLSFileName("C:\\Books\\budget.xls");
    save("cells.pdb", *wb);
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
  const std::string path = WriteInput("input.pdb", data, size);
  brevora::Ref<Workbook> wb = brevora::MakeRef<Workbook>();
  if (AcceptsWrapped([&] { wb->OpenFromPDB(path); })) {
    for (int32_t s = 1; s <= wb->Sheets().Count(); ++s) {
      brevora::sheet::Sheet& sh = wb->Sheets().Item(s);
      for (int32_t c = 1; c <= sh.Cells().Count(); ++c) {
        (void)sh.Cells().Item(c).Value();
        (void)sh.Cells().Item(c).Formula();
      }
    }
  }
  return 0;
}
