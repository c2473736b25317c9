#include "doc/word_link_step.h"

#include <gtest/gtest.h>

#include <string>

#include "core/on_fresh_thread.h"
#include "doc/document.h"
#include "doc/document_test_support.h"
#include "doc/word_application.h"
#include "doc/word_test_support.h"
#include "office/link_sync.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::doc {
namespace {

using brevora::testing::ScopedClass;
using core::OnFreshThread;
using testing::ErrorOf;
using testing::FakeWord;
using testing::Values;

constexpr double kDocDate = 45000.5;  // 15 March 2023, noon

std::string TextOf(Document& document) {
  std::string text;
  for (std::string_view block : document.DocumentBlocks().Texts()) text += block;
  return text;
}

// A desktop document file linked to `link` with the given method and stored time.
void WriteLinked(const std::string& path, const std::string& link, int method, double storedTime,
                 const std::string& text = "desktop text") {
  Ref<Document> document = MakeRef<Document>();
  document->SetBlocks({text});
  document->SetLinkedDOCFileName(link);
  document->SetLinkedDOCSyncMethod(method);
  document->SetLinkedDOCFileModDateTime(storedTime);
  document->WriteToDisk(path);
}

// A .doc file as the fake add-in reads it (desktop file text), dated kDocDate.
void WriteDoc(const std::string& path, const std::string& text) {
  Ref<Document> document = MakeRef<Document>();
  document->SetBlocks({text});
  document->WriteToDisk(path);
  fs::SetFileDateTime(path, kDocDate);
}

double DocSeconds(const std::string& path) { return office::DaysToSeconds(fs::FileDateTime(path)); }

// The fake add-in's conversion of a .doc (which holds desktop file text) into
// a desktop file: the text of the .doc; the link of the desktop file it
// replaces, named by the link argument and dated as the .doc is.
void ConvertDocToScv(Values& v) {
  Ref<Document> before = MakeRef<Document>();
  int32_t method = 0;
  try {
    before->OpenFromDisk(v["PARAM2"]);
    method = before->LinkedDOCSyncMethod();
  } catch (const AutomationError&) {
    // A new desktop file.
  }
  Ref<Document> converted = MakeRef<Document>();
  converted->OpenFromDisk(v["PARAM1"], true);
  converted->SetLinkedDOCFileName(v["PARAM3"]);
  if (!v["PARAM3"].empty()) {
    converted->SetLinkedDOCSyncMethod(method);
    converted->SetLinkedDOCFileModDateTime(DocSeconds(v["PARAM1"]));
  }
  converted->WriteToDisk(v["PARAM2"]);
}

// Word whose add-in converts (the fake .doc files hold desktop file text).
class LinkTest : public ::testing::Test {
 protected:
  void Convert(FakeWord& word) {
    word.Macro("DOCToSCVExt", ConvertDocToScv);
    word.Macro("SCVToDOCExt", [](Values& v) {
      testing::CopyAs(v["PARAM1"], v["PARAM2"]);
      fs::SetFileDateTime(v["PARAM2"], kDocDate + 1);
    });
  }
  std::string dir = fs::TempDir();
  std::string scv = dir + "Letter.scv";
  std::string doc = dir + "Letter.doc";
};

TEST_F(LinkTest, ALinkedFileOneSecondNewerIsConvertedOnOpenHalfASecondIsNot) {
  OnFreshThread([&] {
    FakeWord word;
    Convert(word);
    ScopedClass registered(kWordProgId, word.app, word.script);
    WriteDoc(doc, "word text");

    WriteLinked(scv, doc, 0, DocSeconds(doc) - 0.5);
    Ref<Document> document = MakeRef<Document>();
    document->OpenFromDisk(scv, true, true);
    EXPECT_EQ(TextOf(*document), "desktop text");
    EXPECT_EQ(word.runs["DOCToSCVExt"], 0);

    WriteLinked(scv, doc, 0, DocSeconds(doc) - 1.0);
    document->OpenFromDisk(scv, true, true);
    EXPECT_EQ(TextOf(*document), "word text");  // the converted file was read
    EXPECT_EQ(word.values["PARAM1"], doc);
    EXPECT_EQ(word.values["PARAM2"], scv);
    EXPECT_EQ(word.values["PARAM3"], doc);
  });
}

TEST_F(LinkTest, AMissingLinkedFileOpensTheDesktopFileAsItIs) {
  OnFreshThread([&] {
    WriteLinked(scv, dir + "Gone.doc", 0, 0);
    Ref<Document> document = MakeRef<Document>();
    EXPECT_TRUE(document->OpenFromDisk(scv, true, true));
    EXPECT_EQ(TextOf(*document), "desktop text");
  });
}

// The sync method is not consulted: with the update switches on, a newer .doc
// is pulled on opening and the document pushed on saving, whatever the method.
TEST_F(LinkTest, TheSyncMethodIsNotConsulted) {
  for (int method = 0; method <= 3; ++method) {
    OnFreshThread([&] {
      FakeWord word;
      Convert(word);
      ScopedClass registered(kWordProgId, word.app, word.script);
      WriteDoc(doc, "word text");
      WriteLinked(scv, doc, method, 0);
      Ref<Document> document = MakeRef<Document>();
      document->OpenFromDisk(scv, true, true);
      EXPECT_EQ(word.runs["DOCToSCVExt"], 1) << "method " << method;
      EXPECT_EQ(TextOf(*document), "word text") << "method " << method;
      document->WriteToDisk({}, true);
      EXPECT_EQ(word.runs["SCVToDOCExt"], 1) << "method " << method;
      EXPECT_EQ(document->LinkedDOCSyncMethod(), method) << "the method stays as stored";
      // Without the switches nothing is converted, whatever the method.
      document->OpenFromDisk(scv, true, false);
      document->WriteToDisk({}, false);
      EXPECT_EQ(word.runs["DOCToSCVExt"] + word.runs["SCVToDOCExt"], 2) << "method " << method;
    });
  }
}

TEST_F(LinkTest, SavingPushesAndWritesTheRenewedTimeIntoTheFile) {
  OnFreshThread([&] {
    FakeWord word;
    Convert(word);
    ScopedClass registered(kWordProgId, word.app, word.script);
    WriteLinked(scv, doc, 0, 12);  // the .doc does not exist yet: saving makes it
    Ref<Document> document = MakeRef<Document>();
    document->OpenFromDisk(scv, true, false);
    document->WriteToDisk({}, true);
    EXPECT_EQ(word.values["PARAM1"], scv);
    EXPECT_EQ(word.values["PARAM2"], doc);
    EXPECT_EQ(word.values["PARAM3"], doc);
    EXPECT_EQ(document->LinkedDOCFileModDateTime(), DocSeconds(doc));

    Ref<Document> reread = MakeRef<Document>();
    reread->OpenFromDisk(scv, true, true);  // nothing newer now: no second conversion
    EXPECT_EQ(reread->LinkedDOCFileModDateTime(), DocSeconds(doc));
    EXPECT_EQ(TextOf(*reread), "desktop text");
    EXPECT_EQ(word.runs["DOCToSCVExt"], 0);
  });
}

TEST_F(LinkTest, WithoutWordTheOpenReportsTheConvertersError) {
  OnFreshThread([&] {
    WriteDoc(doc, "word text");
    WriteLinked(scv, doc, 0, 0);
    Ref<Document> document = MakeRef<Document>();
    const AutomationError e = ErrorOf([&] { document->OpenFromDisk(scv, true, true); });
    EXPECT_EQ(e.source(), "Document.OpenFromDisk");
    EXPECT_TRUE(e.description().ends_with(
        "Could not get word object.\r\nActiveX component can't create object"))
        << e.description();
  });
}

// ---- OpenFromDOC and WriteToDOC -------------------------------------------------------------

// The temporary desktop files left in the temporary folder.
size_t TempFilesLeft() {
  size_t n = 0;
  for (const std::string& name : fs::ListFolder(fs::TempDir(), fs::ListKind::Files))
    n += name.starts_with("SCV");
  return n;
}

TEST_F(LinkTest, OpenFromAndWriteToDocKeepTheBindingAndLeaveNoTemporaryFile) {
  OnFreshThread([&] {
    FakeWord word;
    Convert(word);
    ScopedClass registered(kWordProgId, word.app, word.script);
    WriteDoc(doc, "word text");
    WriteLinked(scv, "", 0, 0);
    Ref<Document> document = MakeRef<Document>();
    document->OpenFromDisk(scv, true, false);

    EXPECT_TRUE(document->OpenFromDOC(doc));
    EXPECT_EQ(TextOf(*document), "word text");
    EXPECT_EQ(document->FullPath(), scv);
    EXPECT_EQ(TempFilesLeft(), 0u);

    EXPECT_TRUE(document->WriteToDOC(dir + "Out.doc"));
    Ref<Document> out = MakeRef<Document>();
    out->OpenFromDisk(dir + "Out.doc", true);
    EXPECT_EQ(TextOf(*out), "word text");
    EXPECT_EQ(document->FullPath(), scv);
    EXPECT_EQ(TempFilesLeft(), 0u);

    word.Macro("SCVToDOCExt", [](Values& v) { v["ERRORNUMBER"] = "1004"; });
    EXPECT_EQ(ErrorOf([&] { document->WriteToDOC(dir + "Out.doc"); }).number(), kWrapError);
    EXPECT_EQ(document->FullPath(), scv);
    EXPECT_EQ(TempFilesLeft(), 0u);
  });
}

}  // namespace
}  // namespace brevora::doc
