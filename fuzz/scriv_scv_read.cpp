// Fuzzes the desktop document file as the document conduit reads it
// (conduit-doc/scv_reader.h): its header alone and the whole file. A file is
// read or refused with a reason; a file that was read is written again by the
// conduit's writer and reads back the same (the header as the writer keeps
// it, the document information, the bookmarks and the text).
#include <string>
#include <vector>

#include "conduit-doc/scv_reader.h"
#include "conduit-doc/scv_writer.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using namespace brevora::scriv;
  using namespace brevora::conduit;
  CDocumentHeader header;
  header.valid = true;
  header.linkPath = "/home/u/a.doc";
  header.linkMethod = 2;
  header.linkDate = 3912345678u;
  DocumentInfo info;
  info.firstName = "Story";
  info.bookmarkCount = 2;
  ScvWriter writer;
  writer.WriteHeader(header);
  writer.WriteDocInfo(info);
  writer.WriteBookmark({"Ch___", 10});
  writer.WriteBookmark({"End", 4000});
  const std::string text = "<html><body>Hello<br>there</body></html>";
  writer.WriteText(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  return {
      {"v5.scv", writer.Bytes()},
      {"v2.scv",
       "1\r\n2\r\n1\r\n1\r\n0\r\n2\r\n1\r\n\"Old\"\r\n\"pw\"\r\n42\r\n3\r\n4\r\n1\r\n\"Mark\"\r\n5"
       "\r\n\r\nText"},
      {"noheader.scv", "Just some text\nwith lines\n"},
      {"short.scv", "1\r\n5\r\n0\r\nThe text"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::scriv;
  using namespace brevora::conduit;
  const std::string file(reinterpret_cast<const char*>(data), size);
  Must("the .scv reader", [&] {
    std::string problem;
    const auto header = ScvReader(file).ReadHeader(problem);
    const auto doc = ScvReader(file).Read({"Fuzz.Doc.scv", size % 2 == 0}, problem);
    if (!doc) {
      Check(!problem.empty(), "a file refused without a reason");
      return;
    }
    Check(header.has_value(), "the whole file reads but its header does not");
    Check(header->header == doc->header && header->hasHeader == doc->hasHeader,
          "the header reads the same both ways");
    Check(doc->text.data() >= file.data() &&
              doc->text.data() + doc->text.size() == file.data() + file.size(),
          "the text is the end of the file");
    ScvWriter writer;
    CDocumentHeader written = doc->header;
    written.valid = true;
    writer.WriteHeader(written);
    writer.WriteDocInfo(doc->info);
    for (const Bookmark& b : doc->bookmarks) writer.WriteBookmark(b);
    writer.WriteText(
        std::span(reinterpret_cast<const uint8_t*>(doc->text.data()), doc->text.size()));
    const std::string again = writer.Bytes();
    const auto back = ScvReader(again).Read({"Fuzz.Doc.scv", true}, problem);
    Check(back.has_value(), "a file written from what was read does not read back: " + problem);
    Check(back->bookmarks == doc->bookmarks, "the bookmarks");
    Check(back->text == doc->text, "the text");
    Check(back->info.firstName == doc->info.firstName &&
              back->info.position == doc->info.position && back->info.wordA == doc->info.wordA &&
              back->info.mode == doc->info.mode,
          "the document information");
    Check(back->header.linkPath == doc->header.linkPath &&
              back->header.linkDate == doc->header.linkDate,
          "the link");
  });
  return 0;
}
