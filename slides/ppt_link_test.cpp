// The link of a presentation to a PowerPoint file and the one-shot
// conversions OpenFromPPT / WriteToPPT, with PowerPoint and its add-in faked:
// the add-in's conversions copy a prepared database or write a PowerPoint file.
#include "slides/ppt_link.h"
#include "office/link_sync.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/time/dates.h"
#include "slides/presentation.h"
#include "slides/sdk_presentation.h"
#include "testing/caught_error.h"
#include "testing/fake_office.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

using brevora::testing::FakeOfficeApp;
using brevora::testing::OfficeScript;
using brevora::testing::ScopedClass;

using ::brevora::testing::ErrorOf;

double FileSeconds(const std::string& path) {
  return office::DaysToSeconds(fs::FileDateTime(path));
}

// The names in the temporary folder that begin with "tbr".
std::vector<std::string> TempLeftovers() {
  std::vector<std::string> left;
  for (const auto kind : {fs::ListKind::Files, fs::ListKind::Folders}) {
    for (const std::string& name : fs::ListFolder(brevora::testing::TempHome() + "/tmp", kind)) {
      if (name.starts_with("tbr")) left.push_back(name);
    }
  }
  return left;
}

class PptLinkTest : public ::testing::Test {
 protected:
  PptLinkTest() {
    ppt->version = "7.0";  // no session macros: the link steps alone are logged
    ppt->addIns->List("/addins/slidr6.ppa");
    // PPTToPDBExt(ppt, pdb, link): the prepared database becomes `pdb`.
    ppt->SetMacro("slidr6.ppa!PPTToPDBExt", [this](FakeOfficeApp&, Args a) {
      const std::vector<Variant>& e = a[0].AsArray();
      pulls.push_back({CStr(e[1]), CStr(e[2]), CStr(e[3])});
      fs::CopyFile(converted_, CStr(e[2]), true);
      return Variant();
    });
    // PDBToPPTExt(pdb, ppt, options): the PowerPoint file is written, with the
    // time `pushedTime`, unless `pushWritesNothing`.
    ppt->SetMacro("slidr6.ppa!PDBToPPTExt", [this](FakeOfficeApp&, Args a) {
      const std::vector<Variant>& e = a[0].AsArray();
      pushes.push_back({CStr(e[1]), CStr(e[2]), CStr(e[3])});
      pushedWasPresentation = Presentation::FileIsPresentation(CStr(e[1]));
      if (pushWritesNothing) return Variant();
      fs::AtomicWrite(CStr(e[2]), std::string_view("PPT"));
      fs::SetFileDateTime(CStr(e[2]), pushedTime);
      return Variant();
    });
  }

  // A one-slide presentation file at `path` named `title`.
  void WriteDeck(const std::string& path, const std::string& title, const std::string& link = "",
                 double linkTime = 0, int32_t method = 0) {
    fs::AtomicWrite(dir_ + "/pic.png", std::string_view("PICTURE"));
    fs::AtomicWrite(dir_ + "/thumb.png", std::string_view("THUMB"));
    Ref<Presentation> p = MakeRef<Presentation>();
    p->SetFileName(title);
    Ref<Slide> s = p->Slides()->Add(1, 0, dir_ + "/pic.png");
    s->AddThumbnail(dir_ + "/thumb.png", 0);
    s->Outlines()->Add(0, 0, 0, NONE, title);
    p->SetLinkedPPTFileName(link);
    p->SetLinkedPPTFileModDateTime(linkTime);
    p->SetLinkedPPTSyncMethod(method);
    p->WriteToDisk(path);
  }

  // Runs `body` where the module starts afresh, with PowerPoint available.
  void Run(const std::function<void()>& body) {
    ScopedClass started("PowerPoint.Application", ppt, script);
    core::OnFreshThread([&] {
      ASSERT_TRUE(core::GlobalSession());
      body();
    });
  }

  struct Call {
    std::string first, second, third;
    bool operator==(const Call&) const = default;
  };

  std::shared_ptr<OfficeScript> script = std::make_shared<OfficeScript>();
  Ref<FakeOfficeApp> ppt = MakeRef<FakeOfficeApp>(script, "PPT");
  std::vector<Call> pulls, pushes;
  bool pushWritesNothing = false;
  bool pushedWasPresentation = false;
  double pushedTime = dates::TimeToVbDate(1700000000);
  std::string dir_ = brevora::testing::MakeTempDir("decks");
  std::string converted_ = dir_ + "/converted.pdb";
  std::string ppt_ = dir_ + "/talk.ppt";
};

TEST(PptLinkRule, SyncMethodTexts) {
  Presentation p;
  const char* texts[] = {"Synchronize", "Palm to PPT", "PPT to Palm", "Do Nothing"};
  for (int32_t m = 0; m <= 3; ++m) {
    p.SetLinkedPPTSyncMethod(m);
    EXPECT_EQ(p.SyncMethodText(), texts[m]);
    EXPECT_EQ(Presentation::SyncMethodFromText(texts[m]), m);
  }
  EXPECT_EQ(Presentation::SyncMethodFromText("palm to ppt"), 0);
  EXPECT_EQ(Presentation::SyncMethodFromText(""), 0);
  Ref<Presentation> late = MakeRef<Presentation>();
  late->SetLinkedPPTSyncMethod(3);
  EXPECT_EQ(CallByName(late, "SyncMethodText", CallKind::Method), Variant("Do Nothing"));
  EXPECT_EQ(CallByName(late, "SyncMethodFromText", CallKind::Method, "PPT to Palm"),
            Variant(int16_t{2}));
}

// The PowerPoint file is pulled when it is newer by a whole second or more.
TEST_F(PptLinkTest, OneSecondThreshold) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    fs::AtomicWrite(ppt_, std::string_view("PPT"));
    const double t = FileSeconds(ppt_);
    Presentation p;
    p.SetFullPath(dir_ + "/own.pdb");
    PptLink step;
    PresentationLinkInfo link{ppt_, t - 0.9, 0, 0, false, 0};
    EXPECT_FALSE(step.SyncLinkedFile(p, link, true));
    EXPECT_TRUE(pulls.empty());
    link.modDateTime = t - 1.0;
    EXPECT_TRUE(step.SyncLinkedFile(p, link, true));
    EXPECT_EQ(pulls, (std::vector<Call>{{ppt_, dir_ + "/own.pdb", ppt_}}));
    EXPECT_TRUE(Presentation::FileIsPresentation(dir_ + "/own.pdb"));
  });
}

TEST_F(PptLinkTest, OpeningPullsANewerPowerPointFile) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    fs::AtomicWrite(ppt_, std::string_view("PPT"));
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, FileSeconds(ppt_) - 5);
    Presentation p;
    p.OpenFromDisk(dir_ + "/own.pdb", true, true);
    EXPECT_EQ(pulls.size(), 1u);
    EXPECT_EQ(p.FileName(), "Converted") << "the converted file was read";

    // Not newer: the stored presentation opens as it is.
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, FileSeconds(ppt_));
    Presentation q;
    q.OpenFromDisk(dir_ + "/own.pdb", true, true);
    EXPECT_EQ(pulls.size(), 1u);
    EXPECT_EQ(q.FileName(), "Own");
  });
}

TEST_F(PptLinkTest, MissingLinkedFileIsNotPulledButCreatedOnSave) {
  Run([&] {
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, 0);
    Presentation p;
    p.OpenFromDisk(dir_ + "/own.pdb", true, true);
    EXPECT_TRUE(pulls.empty());
    EXPECT_EQ(p.FileName(), "Own");
    p.WriteToDisk("", true);
    EXPECT_EQ(pushes, (std::vector<Call>{{dir_ + "/own.pdb", ppt_, ppt_}}));
    EXPECT_TRUE(pushedWasPresentation);
    EXPECT_TRUE(fs::FileExists(ppt_));
  });
}

// After a save pushed the presentation, the renewed link time is in the saved
// file's header too (it used to stay in memory only, so the next open pulled
// the PowerPoint file back for nothing).
TEST_F(PptLinkTest, RenewedLinkTimeReachesTheFile) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, 0);
    {
      Presentation p;
      p.OpenFromDisk(dir_ + "/own.pdb");
      p.WriteToDisk("", true);
      EXPECT_EQ(p.LinkedPPTFileModDateTime(), FileSeconds(ppt_));
      EXPECT_NEAR(p.LinkedPPTFileModDateTime(), office::DaysToSeconds(pushedTime), 1e-3);
    }
    Presentation again;
    again.OpenFromDisk(dir_ + "/own.pdb", true, true);
    EXPECT_EQ(again.LinkedPPTFileModDateTime(), std::floor(FileSeconds(ppt_)))
        << "stored in whole seconds";
    EXPECT_TRUE(pulls.empty()) << "nothing newer to pull";
    EXPECT_EQ(again.FileName(), "Own");
  });
}

// The sync method is not consulted: with the update switches on, a newer
// PowerPoint file is pulled on opening and the presentation pushed after
// saving, whatever the method.
TEST_F(PptLinkTest, TheSyncMethodIsNotConsulted) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    for (int32_t method = 0; method <= 3; ++method) {
      pulls.clear();
      pushes.clear();
      fs::AtomicWrite(ppt_, std::string_view("PPT"));
      WriteDeck(dir_ + "/own.pdb", "Own", ppt_, 0, method);
      Presentation p;
      p.OpenFromDisk(dir_ + "/own.pdb", true, true);
      EXPECT_EQ(pulls.size(), 1u) << method;
      EXPECT_EQ(p.FileName(), "Converted") << method;
      // A pulled file brings its own (empty) link: set it again for the save.
      p.SetLinkedPPTFileName(ppt_);
      p.SetLinkedPPTSyncMethod(method);
      const std::string saved = dir_ + "/saved" + std::to_string(method) + ".pdb";
      p.WriteToDisk(saved, true);
      EXPECT_EQ(pushes, (std::vector<Call>{{saved, ppt_, ppt_}})) << method;
      EXPECT_EQ(p.LinkedPPTSyncMethod(), method) << "the method stays as stored";
      // Without the switches nothing is converted, whatever the method.
      Presentation q;
      q.OpenFromDisk(saved, true, false);
      q.WriteToDisk("", false);
      EXPECT_EQ(pulls.size() + pushes.size(), 2u) << method;
    }
  });
}

TEST_F(PptLinkTest, LinkStepErrors) {
  Run([&] {
    // The pushed file did not appear: its time can't be read.
    pushWritesNothing = true;
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, 0);
    Presentation p;
    p.OpenFromDisk(dir_ + "/own.pdb");
    const AutomationError e = ErrorOf([&] { p.WriteToDisk("", true); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.WriteToDisk");
    EXPECT_NE(e.description().find("Could not update link '" + ppt_ + "'.\r\n"), std::string::npos)
        << e.description();
  });
  // Without PowerPoint the converter's error comes through the open.
  fs::AtomicWrite(ppt_, std::string_view("PPT"));
  core::OnFreshThread([&] {
    WriteDeck(dir_ + "/own.pdb", "Own", ppt_, 0);
    Presentation p;
    const AutomationError e = ErrorOf([&] { p.OpenFromDisk(dir_ + "/own.pdb", true, true); });
    EXPECT_EQ(e.source(), "Presentation.OpenFromDisk");
    EXPECT_NE(e.description().find("Error getting PowerPoint object."), std::string::npos)
        << e.description();
  });
}

// OpenFromPPT converts through a temporary database, which is removed; the
// presentation keeps the binding it had.
TEST_F(PptLinkTest, OpenFromPPTKeepsTheBindingAndCleansUp) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    {
      Presentation p;
      p.SetFullPath(dir_ + "/mine.pdb");
      EXPECT_TRUE(p.OpenFromPPT(ppt_));
      ASSERT_EQ(pulls.size(), 1u);
      EXPECT_EQ(pulls[0].first, ppt_);
      EXPECT_EQ(fs::FileNamePart(pulls[0].second).rfind("tbr", 0), 0u);
      EXPECT_EQ(pulls[0].third, "");
      EXPECT_EQ(p.FileName(), "Converted");
      EXPECT_EQ(p.Slides()->Count(), 1);
      EXPECT_TRUE(fs::FileExists(p.Slides()->Item(Variant(1))->FilePath()));
      EXPECT_EQ(p.FullPath(), dir_ + "/mine.pdb");
      EXPECT_FALSE(fs::FileExists(pulls[0].second)) << "the temporary database is gone";
      p.ClosePresentation();
    }
    EXPECT_TRUE(TempLeftovers().empty());
    EXPECT_FALSE(fs::FileExists(dir_ + "/mine.pdb")) << "nothing was written there";
  });
}

// WriteToPPT writes a temporary database for the add-in, removes it, and
// keeps the binding, also when the conversion fails.
TEST_F(PptLinkTest, WriteToPPTKeepsTheBindingAndCleansUp) {
  Run([&] {
    WriteDeck(dir_ + "/mine.pdb", "Mine");
    Presentation p;
    p.OpenFromDisk(dir_ + "/mine.pdb");
    EXPECT_TRUE(p.WriteToPPT(ppt_));
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_TRUE(pushedWasPresentation);
    EXPECT_EQ(pushes[0].second, ppt_);
    EXPECT_EQ(pushes[0].third, "");
    EXPECT_TRUE(fs::FileExists(ppt_));
    EXPECT_EQ(p.FullPath(), dir_ + "/mine.pdb");
    EXPECT_TRUE(TempLeftovers().empty());

    ppt->addIns->items.clear();  // the add-in is gone: the conversion fails
    const AutomationError e = ErrorOf([&] { p.WriteToPPT(dir_ + "/other.ppt"); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SDK.OpenAddIN");
    EXPECT_EQ(p.FullPath(), dir_ + "/mine.pdb");
    EXPECT_TRUE(TempLeftovers().empty());
  });
}

TEST_F(PptLinkTest, ConverterPPTToPDBExtWritesTheDatabase) {
  Run([&] {
    WriteDeck(converted_, "Converted");
    Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
    sdk->SetSession(core::GlobalSession());
    sdk->PPTToPDBExt(ppt_, dir_ + "/result.pdb");
    Presentation p;
    p.OpenFromDisk(dir_ + "/result.pdb");
    EXPECT_EQ(p.FileName(), "Converted");
    sdk->PDBToPPTExt(dir_ + "/result.pdb", dir_ + "/back.ppt");
    EXPECT_EQ(pushes.back(), (Call{dir_ + "/result.pdb", dir_ + "/back.ppt", ""}));
  });
  EXPECT_TRUE(TempLeftovers().empty());
}

}  // namespace
}  // namespace brevora::slides
