// Fuzzes the window's listing of a category folder (DocumentLister), which
// reads the header of every desktop file it lists for the link columns and,
// for presentations, the database header for the creator. The first input
// byte picks the file mode (workbook, document, presentation), the rest is the
// file. Listing never raises for a bad file: it is listed without link columns
// (or, for a database that is no presentation, not at all); the file type of
// the file follows its extension and creator.
#include <filesystem>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "core/session.h"
#include "doc/document.h"
#include "frontend/category_listing.h"
#include "fuzz/file_input.h"
#include "sheet/workbook.h"
#include "slides/presentation.h"

namespace brevora::fuzz {
namespace {

const char* const kExtensions[] = {"tbr", "scv", "pdb"};

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  {
    Ref<sheet::Workbook> wb = MakeRef<sheet::Workbook>();
    wb->InitFromDefaults();
    wb->SetLinkedXLSFileName("/office/budget.xls");
    wb->WriteToDisk(scratch + "/a.tbr");
    seeds.push_back({"workbook", std::string(1, '\0') + FileBytes(scratch + "/a.tbr")});
  }
  {
    Ref<doc::Document> d = MakeRef<doc::Document>();
    d->InitFromDefaults();
    d->SetLinkedDOCFileName("/office/memo.doc");
    d->SetBlocks({"text"});
    d->WriteToDisk(scratch + "/a.scv");
    seeds.push_back({"document", std::string(1, '\1') + FileBytes(scratch + "/a.scv")});
  }
  {
    Ref<slides::Presentation> p = MakeRef<slides::Presentation>();
    p->InitFromDefaults();
    p->SetLinkedPPTFileName("/office/deck.ppt");
    p->WriteToDisk(scratch + "/a.pdb");
    seeds.push_back({"presentation", std::string(1, '\2') + FileBytes(scratch + "/a.pdb")});
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  brevora::core::EnsureModuleStarted();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  if (size == 0) return 0;
  const int16_t mode = static_cast<int16_t>(data[0] % 3);
  const std::string home = WorkFolder() + "/files/";
  std::error_code ignored;
  std::filesystem::remove_all(home + "Unfiled", ignored);
  std::filesystem::create_directories(home + "Unfiled");
  const std::string name = std::string("Unfiled/Input.") + kExtensions[mode];
  const std::string path = WriteInput(name, data + 1, size - 1);

  int16_t type = 0;
  Must("GetFileType", [&] { type = frontend::GetFileType(path); });
  const int16_t expected[] = {2, 4, 0};
  if (mode < 2) Check(type == expected[mode], "file type of a " + std::string(kExtensions[mode]));
  if (mode == 2) Check(type == 6 || type == 9, "file type of a database");

  static const Ref<core::Session> session = MakeRef<core::Session>();
  frontend::DocumentLister lister;
  for (const bool columns : {true, false}) {
    std::vector<frontend::DocumentRow> rows;
    Must("List", [&] { rows = lister.List(session, home, "Unfiled", mode, columns); });
    const bool listed = mode < 2 || type == 9;
    Check(rows.size() == (listed ? 1u : 0u), "listed rows");
    if (!rows.empty()) {
      Check(rows[0].name == "Input", "row name");
      Check(columns || rows[0].link.empty(), "a dialog row reads no link");
      Check(rows[0].link.empty() == rows[0].syncMethod.empty(), "link and sync method go together");
    }
  }
  return 0;
}
