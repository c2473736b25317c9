#include <gtest/gtest.h>

#include <string>

#include "doc/document.h"
#include "doc/document_test_support.h"
#include "testing/temp_home.h"

namespace brevora::doc {
namespace {

using testing::ErrorOf;
using testing::ReadFile;
using testing::WriteFile;

std::string Text(Document& doc) {
  std::string text;
  for (const Ref<DocumentBlock>& block : doc.DocumentBlocks()) text += block->Text();
  return text;
}

TEST(DocumentTextTest, PlainText) {
  const std::string path = ::brevora::testing::MakeTempDir("in") + "/notes.txt";
  WriteFile(path, "Price: 5 < 7 & done\na\tb\r\n");
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->OpenFromTextFile(path));
  EXPECT_EQ(Text(*doc), "Price: 5 &lt; 7 &amp; done<br>a    b\r<br>");
  EXPECT_EQ(doc->FullPath(), path);
  EXPECT_EQ(doc->DocName(), "Price: 5  7  donea");  // the first 31 characters, markup dropped
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(doc->IsCompressed());
  EXPECT_TRUE(doc->IsEditable());
}

TEST(DocumentTextTest, ETexts) {
  const std::string dir = ::brevora::testing::MakeTempDir("in");
  WriteFile(dir + "/book.txt", "The Project Gutenberg EBook\r\nlicence\r\n*END*\r\nChapter 1\r\n");
  WriteFile(dir + "/nomarker.txt", "Gutenberg edition\r\nChapter 1\r\n");
  WriteFile(dir + "/lower.txt", "a gutenberg mention\nline\n");
  Ref<Document> doc = MakeRef<Document>();
  doc->OpenFromTextFile(dir + "/book.txt");
  EXPECT_EQ(Text(*doc), "Chapter 1<br>\n");
  doc->OpenFromTextFile(dir + "/nomarker.txt");
  EXPECT_EQ(Text(*doc), "Gutenberg edition<br>\nChapter 1<br>\n");
  doc->OpenFromTextFile(dir + "/lower.txt");  // plain text
  EXPECT_EQ(Text(*doc), "a gutenberg mention<br>line<br>");
}

TEST(DocumentTextTest, HtmlKeepsItsMarkup) {
  const std::string path = ::brevora::testing::MakeTempDir("in") + "/page.htm";
  WriteFile(path, "<h1>Head</h1>\r\n<p>a &amp; b</p>\r\n");
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->OpenFromHTMLFile(path));
  EXPECT_EQ(Text(*doc), "<h1>Head</h1>\r<p>a &amp; b</p>\r");
  EXPECT_EQ(doc->DocName(), "Head");
}

TEST(DocumentTextTest, ImportErrors) {
  const std::string missing = ::brevora::testing::MakeTempDir("in") + "/such.txt";
  Ref<Document> doc = MakeRef<Document>();
  AutomationError e = ErrorOf([&] { doc->OpenFromTextFile(missing); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.OpenFromTextFile");
  EXPECT_EQ(e.description(), "Could not open Document '" + missing + "'.\r\nFile not found");
  e = ErrorOf([&] { doc->OpenFromHTMLFile("/no/such.htm"); });
  EXPECT_EQ(e.source(), "Document.OpenFromHTMLFile");
}

TEST(DocumentTextTest, WriteToTextFile) {
  const std::string path = ::brevora::testing::MakeTempDir("out") + "/out.txt";
  WriteFile(path, "replaced");
  Ref<Document> doc = MakeRef<Document>();
  doc->SetBlocks({"one\rtwo\n", "three"});
  doc->WriteToTextFile(path);
  EXPECT_EQ(ReadFile(path), "one\r\ntwo\r\nthree");
  EXPECT_EQ(doc->FullPath(), path);

  Ref<Document> unnamed = MakeRef<Document>();
  const AutomationError e = ErrorOf([&] { unnamed->WriteToTextFile(""); });
  EXPECT_EQ(e.source(), "Document.WriteToTextFile");
  EXPECT_EQ(e.description(),
            "Could not save Document ''.\r\nPlease name the Document before saving it.");
}

}  // namespace
}  // namespace brevora::doc
