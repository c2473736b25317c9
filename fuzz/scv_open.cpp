// Fuzzes the desktop document file (.scv) where a user's file reaches it:
// Document::OpenFromDisk on the input written as a file, with the text and
// header-only. The only refusal is 32760 "Document.OpenFromDisk" (it wraps
// every failure); a document that opened must be readable.
#include <string>
#include <vector>

#include "fuzz/doc_common.h"
#include "fuzz/file_input.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto save = [&](const std::string& name, doc::Document& d) {
    const std::string path = scratch + "/" + name;
    d.WriteToDisk(path);
    seeds.push_back({name, FileBytes(path)});
  };
  Ref<doc::Document> plain = MakeRef<doc::Document>();
  plain->InitFromDefaults();
  plain->SetBlocks({"Hello\r\nworld"});
  save("plain.scv", *plain);
  Ref<doc::Document> story = SampleDocument(60);
  story->SetPassword("secret");
  story->SetCategory(3);
  save("story.scv", *story);
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string path = WriteInput("input.scv", data, size);
  for (const bool readDocument : {true, false}) {
    brevora::Ref<brevora::doc::Document> d = brevora::MakeRef<brevora::doc::Document>();
    if (AcceptsWrapped([&] { d->OpenFromDisk(path, readDocument); })) WalkDocument(*d);
  }
  return 0;
}
