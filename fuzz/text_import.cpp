// Fuzzes the import of plain text, e-texts (plain text whose first line names
// "Gutenberg") and HTML where a user's file reaches it:
// Document::OpenFromTextFile and Document::OpenFromHTMLFile on the input
// written as a file. The only refusal is 32760. Every block holds at most
// 2,048 characters; a plain-text import ends no block inside the markup it
// made (its entities and "<br>"), and, when the input is not an e-text, its
// blocks joined are the input escaped byte by byte (markup::PlainCharToMarkup),
// less the NULs that end the last block: nothing lost or doubled at the edges.
#include <string>
#include <vector>

#include "doc/document_block_collection.h"
#include "doc/markup.h"
#include "fuzz/doc_common.h"
#include "fuzz/file_input.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  Ref<doc::Document> story = SampleDocument(40);
  const std::string path = scratch + "/story.txt";
  story->WriteToTextFile(path);
  seeds.push_back({"story.txt", FileBytes(path)});
  seeds.push_back({"etext.txt",
                   "The Project Gutenberg EBook of a Short Tale\r\n"
                   "small print and licence\r\n"
                   "*END*THE SMALL PRINT! FOR PUBLIC DOMAIN ETEXTS*Ver.04.29.93*END*\r\n"
                   "\r\n"
                   "CHAPTER I\r\n"
                   "\r\n"
                   "It was a long line of a paragraph that the book wraps by hand, so\r\n"
                   "the reader joins it to the next line <here> & there.\r\n"
                   "Short line\r\n"
                   "Another short\r\n"});
  seeds.push_back({"page.html",
                   "<html><head><title>Page</title></head><body>\n"
                   "<h1>Title &amp; more</h1><p>Caf&eacute; <b>bold</b><br>\n"
                   "<a href=\"x.html\">link</a> &lt;not a tag&gt; &#169;</p>\n"
                   "</body></html>\n"});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string path = WriteInput("input.txt", data, size);
  for (const bool html : {false, true}) {
    brevora::Ref<brevora::doc::Document> d = brevora::MakeRef<brevora::doc::Document>();
    if (!AcceptsWrapped([&] { html ? d->OpenFromHTMLFile(path) : d->OpenFromTextFile(path); }))
      continue;
    WalkDocument(*d);
    if (!d->HasDocumentBlocks()) continue;
    std::string joined;
    for (const brevora::Ref<brevora::doc::DocumentBlock>& block : d->DocumentBlocks()) {
      Check(block->Text().size() <= 2048, "a block over 2,048 characters");
      if (!html)
        Check(brevora::doc::markup::PartialTagLength(block->Text()) == 0,
              "a block ends inside markup");
      joined += block->Text();
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (html || input.find("Gutenberg") != std::string_view::npos) continue;
    std::string escaped;
    for (const char c : input) brevora::doc::markup::PlainCharToMarkup(c, escaped);
    // Only the NULs at the end of the last block are dropped.
    Check(joined.size() <= escaped.size() && escaped.compare(0, joined.size(), joined) == 0 &&
              escaped.find_first_not_of('\0', joined.size()) == std::string::npos,
          "the blocks differ from the escaped text");
  }
  return 0;
}
