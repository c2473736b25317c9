// Fuzzes the handheld document databases where a user's file reaches them:
// Document::OpenFromPDB (the suite's own database, type "zIZU") and
// Document::OpenFromDOCPDB (PalmDOC, type "TEXt"), each of which hands the
// other kind to the other reader. The only refusal is 32760; a document that
// opened must be readable.
#include <string>
#include <vector>

#include "fuzz/doc_common.h"
#include "fuzz/file_input.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto save = [&](const std::string& name, bool palmDoc, doc::Document& d) {
    const std::string path = scratch + "/" + name;
    palmDoc ? d.WriteToDOCPDB(path) : d.WriteToPDB(path);
    seeds.push_back({name, FileBytes(path)});
  };
  Ref<doc::Document> small = MakeRef<doc::Document>();
  small->InitFromDefaults();
  small->SetDocName("Note");
  small->SetBlocks({"A short note.\nSecond line."});
  save("note.pdb", false, *small);
  save("note_palmdoc.pdb", true, *small);
  Ref<doc::Document> story = SampleDocument(80);
  save("story.pdb", false, *story);
  save("story_palmdoc.pdb", true, *story);
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
  for (const bool palmDoc : {false, true}) {
    brevora::Ref<brevora::doc::Document> d = brevora::MakeRef<brevora::doc::Document>();
    if (AcceptsWrapped([&] { palmDoc ? d->OpenFromDOCPDB(path) : d->OpenFromPDB(path); }))
      WalkDocument(*d);
  }
  return 0;
}
