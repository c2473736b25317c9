// The presentation object model in memory: collections, keys, the outline
// rule, flags, dates, link properties and late binding.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "slides/presentation.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

using ::brevora::testing::NumberOf;

TEST(Outlines, NewSlideHoldsTheEmptyTitle) {
  Slide slide;
  ASSERT_EQ(slide.Outlines()->Count(), 1);
  const Ref<Outline> title = slide.Outlines()->Item(Variant("0K"));
  EXPECT_EQ(title->SeqNum(), 0);
  EXPECT_EQ(title->HierLevel(), 0);
  EXPECT_EQ(title->Bullet(), NONE);
  EXPECT_EQ(title->Text(), "");
  EXPECT_EQ(slide.Annotations()->Count(), 0);
  EXPECT_EQ(slide.Thumbnail()->Compression(), 0);
  EXPECT_EQ(slide.VantaSlide()->ImagePath(), "");
}

TEST(Outlines, AddRule) {
  struct Step {
    int16_t seq, section, level, bullet;
    const char* text;
    int32_t error;  // expected error number, 0 for none
    int32_t countAfter;
    int16_t seqOfResult;  // SeqNum of the returned line
  };
  const Step steps[] = {
      // A title while lines exist overwrites the first line: SeqNum and Section 0.
      {5, 3, 0, CIRCLEBULLET, "Title", 0, 1, 0},
      {1, 2, 1, CIRCLEBULLET, "First", 0, 2, 1},
      {2, 2, 2, NUMBEREDBULLET, "Second", 0, 3, 2},
      {0, 0, 1, NONE, "Clash", 457, 3, 0},  // the title holds 0K
      {2, 0, 1, NONE, "Again", 457, 3, 0},
      {9, 9, 0, NUMBEREDBULLET, "New title", 0, 3, 0},
  };
  Outlines lines;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.text);
    Ref<Outline> got;
    EXPECT_EQ(NumberOf([&] { got = lines.Add(s.seq, s.section, s.level, s.bullet, s.text); }),
              s.error);
    EXPECT_EQ(lines.Count(), s.countAfter);
    if (s.error == 0) {
      EXPECT_EQ(got->SeqNum(), s.seqOfResult);
      EXPECT_EQ(got->Text(), s.text);
      EXPECT_EQ(got->Bullet(), s.bullet);
    }
  }
  const Ref<Outline> title = lines.Item(Variant(1));
  EXPECT_EQ(title->Text(), "New title");
  EXPECT_EQ(title->Section(), 0);
  EXPECT_EQ(title->HierLevel(), 0);
  EXPECT_EQ(lines.Item(Variant("2k"))->Text(), "Second") << "keys ignore case";

  // With every line removed, a title is added under its own SeqNum.
  while (lines.Count() > 0) lines.Remove(Variant(1));
  Ref<Outline> added = lines.Add(4, 1, 0, NONE, "Only");
  EXPECT_EQ(added->SeqNum(), 4);
  EXPECT_EQ(added->Section(), 1);
  EXPECT_EQ(lines.Item(Variant("4K"))->Text(), "Only");
  added->AppendText(" one");
  EXPECT_EQ(added->Text(), "Only one");
}

TEST(SlidesCollection, KeysAndErrors) {
  Slides slides;
  Ref<Slide> three = slides.Add(3, 2, "/p/three.png");
  EXPECT_EQ(three->Index(), 3);
  EXPECT_EQ(three->Compression(), 2);
  EXPECT_EQ(three->FilePath(), "/p/three.png");
  EXPECT_EQ(slides.Item(Variant("3K")), three);
  EXPECT_EQ(NumberOf([&] { slides.Add(3, 0, ""); }), 457);
  EXPECT_EQ(NumberOf([&] { slides.Item(Variant("4K")); }), 5);
  EXPECT_EQ(NumberOf([&] { slides.Item(Variant(2)); }), 9);
  EXPECT_EQ(slides.FindByIndex(4), nullptr);

  Annotations marks;
  marks.Add(1, 10, 20);
  EXPECT_EQ(NumberOf([&] { marks.Add(1, 0, 0); }), 457);
  EXPECT_EQ(marks.Item(Variant("1K"))->Y(), 20);
}

TEST(Slide, DateConversionsAreNumbers) {
  // 2024-05-01 00:00 UTC as handheld seconds: a time after 1970 used to
  // overflow when typed as a date.
  const double palm = 2082844800.0 + 1714521600.0;
  EXPECT_DOUBLE_EQ(Slide::ConvertDateFromPalm(palm), 1714521600000.0);
  EXPECT_DOUBLE_EQ(Slide::ConvertDateToPalm(1714521600000.0), palm);
  Ref<Dispatch> slide = CreateObject("TabulynPC.Slide");
  const Variant v = CallByName(slide, "ConvertDateFromPalm", CallKind::Method, palm);
  EXPECT_EQ(v.type(), VarType::Double);
  EXPECT_DOUBLE_EQ(v.AsDouble(), 1714521600000.0);
  EXPECT_DOUBLE_EQ(CDbl(CallByName(slide, "ConvertDateToPalm", CallKind::Method, 0.0)),
                   2082844800.0);
  EXPECT_EQ(CDbl(CallByName(slide, "NoteModified", CallKind::Get)), 0) << "not touched";
}

TEST(Presentation, NewObject) {
  Presentation p;
  EXPECT_EQ(p.Version(), 1);
  EXPECT_FALSE(p.IsModified());
  EXPECT_EQ(p.Reserved(), std::string(4, '\0'));
  EXPECT_EQ(p.Slides()->Count(), 0);
  EXPECT_EQ(p.FullPath(), "");
  EXPECT_FALSE(p.HasLinkedPPTFile());
}

TEST(Presentation, IsServerSyncBit) {
  Presentation p;
  p.SetIsServerSync(true);
  p.SetIsServerSync(true);
  EXPECT_TRUE(p.IsServerSync());
  p.SetIsServerSync(false);
  EXPECT_FALSE(p.IsServerSync());
}

TEST(Presentation, LinkProperties) {
  Presentation p;
  p.SetLinkedPPTFileName("C:\\deck.ppt");
  p.SetLinkedPPTFileModDateTime(1234.5);
  p.SetLinkedPPTSyncMethod(3);
  p.SetLinkedPPTSyncOption(2);
  EXPECT_TRUE(p.HasLinkedPPTFile());

  struct Case {
    const char* what;
    std::function<void()> set;
    const char* text;
  };
  const Case cases[] = {
      {"option 4", [&] { p.SetLinkedPPTSyncOption(4); },
       "Invalid syncOption.  Must be between 0 and 3"},
      {"option -1", [&] { p.SetLinkedPPTSyncOption(-1); },
       "Invalid syncOption.  Must be between 0 and 3"},
      {"method 4", [&] { p.SetLinkedPPTSyncMethod(4); },
       "Invalid syncMethod.  Must be between 0 and 3"},
  };
  for (const Case& c : cases) {
    try {
      c.set();
      ADD_FAILURE() << c.what;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 32760);
      EXPECT_EQ(e.source(), "Slidora - presentation");
      EXPECT_EQ(e.description(), c.text);
    }
  }
  EXPECT_EQ(p.LinkedPPTSyncOption(), 2);
  EXPECT_EQ(p.LinkedPPTSyncMethod(), 3);

  p.SetLinkedPPTFileName("   ");
  EXPECT_FALSE(p.HasLinkedPPTFile());
  EXPECT_EQ(p.LinkedPPTSyncMethod(), 3) << "only an empty name resets";
  p.SetLinkedPPTFileName("");
  EXPECT_EQ(p.LinkedPPTFileModDateTime(), 0);
  EXPECT_EQ(p.LinkedPPTSyncMethod(), 0);
  EXPECT_EQ(p.LinkedPPTSyncOption(), 0);

  p.SetLinkedPPTFileName("x.ppt");
  p.SetLinkedPPTSyncMethod(1);
  EXPECT_TRUE(p.InitFromDefaults());
  EXPECT_TRUE(p.IsModified());
  EXPECT_EQ(p.LinkedPPTFileName(), "");
  EXPECT_EQ(p.LinkedPPTSyncMethod(), 0);
}

TEST(Presentation, LateBound) {
  Ref<Dispatch> p = CreateObject("TabulynPC.Presentation");
  Variant slidesVar = CallByName(p, "Slides", CallKind::Get);
  Ref<Dispatch> slides = slidesVar.AsObject();
  Variant slide = CallByName(slides, "Add", CallKind::Method, int16_t{2}, int16_t{0}, "/x/s2.png");
  ASSERT_TRUE(slide.IsObject());
  EXPECT_EQ(CallByName(slides, "Item", CallKind::Method, "2K").AsObject(), slide.AsObject());
  CallByName(slide.AsObject(), "addThumbnail", CallKind::Method, "/x/t2.png", int16_t{0});
  Ref<Dispatch> outlines = CallByName(slide.AsObject(), "Outlines", CallKind::Get).AsObject();
  Variant line = CallByName(outlines, "Add", CallKind::Method, int16_t{1}, int16_t{0}, int16_t{1},
                            int16_t{1}, "Point");
  EXPECT_EQ(CStr(CallByName(line.AsObject(), "Text", CallKind::Get)), "Point");
  EXPECT_EQ(CLng(CallByName(outlines, "Count", CallKind::Get)), 2);
  const Variant members = CallByName(outlines, "NewEnum", CallKind::Method);
  ASSERT_EQ(members.AsArray().size(), 2u);
  EXPECT_EQ(members.AsArray()[1].AsObject(), line.AsObject());

  CallByName(p, "FileName", CallKind::Let, "Album");
  EXPECT_EQ(CStr(CallByName(p, "filename", CallKind::Get)), "Album");
  EXPECT_TRUE(CBool(CallByName(p, "InitFromDefaults", CallKind::Method)));
  EXPECT_TRUE(CBool(CallByName(p, "IsModified", CallKind::Get)));
  CallByName(p, "IsServerSync", CallKind::Let, true);
  EXPECT_TRUE(CBool(CallByName(p, "IsServerSync", CallKind::Get)));
  EXPECT_FALSE(CBool(CallByName(p, "OpenFromZazerDB", CallKind::Method, Variant::Nothing())));
  EXPECT_FALSE(CBool(CallByName(p, "fileIsPresentation", CallKind::Method, "/no/such.pdb")));
  for (const char* progId :
       {"TabulynPC.Slide", "TabulynPC.Outline", "TabulynPC.Annotation", "TabulynPC.Annotations",
        "TabulynPC.Outlines", "TabulynPC.Slides", "TabulynPC.Thumbnail", "TabulynPC.VantaImage",
        "TabulynPC.SlidrOptions", "FreeImage.Image"}) {
    EXPECT_TRUE(CreateObject(progId)) << progId;
  }
}

TEST(Presentation, OptimizeByReferenceLateBound) {
  const std::string dir = brevora::testing::MakeTempDir("opt");
  fs::AtomicWrite(dir + "/a.txt", std::string_view("text"));
  Ref<Dispatch> p = CreateObject("TabulynPC.Presentation");
  Variant args[] = {Variant(dir + "/a.txt"), Variant(dir + "/b.png"), Variant(int16_t{16})};
  p->Invoke("optimizePngFileDLL", CallKind::Method, args);
  EXPECT_EQ(args[2], Variant(int16_t{16})) << "not a picture: the depth stays";
  EXPECT_EQ(fs::ReadWholeFile(dir + "/b.png"), fs::ReadWholeFile(dir + "/a.txt"));
}

// FullPath: the public property renames the file, refusing an existing target;
// internal steps only store the path.
TEST(Presentation, FullPathLetRenames) {
  const std::string dir = brevora::testing::MakeTempDir("rename");
  const std::string a = dir + "/a.pdb", b = dir + "/b.pdb", c = dir + "/c.pdb";
  Presentation p;
  p.SetFullPath(a);  // no file yet: stored
  EXPECT_EQ(p.FullPath(), a);
  fs::AtomicWrite(a, std::string_view("A"));
  fs::AtomicWrite(c, std::string_view("C"));
  p.SetFullPath(b);
  EXPECT_FALSE(fs::FileExists(a));
  EXPECT_EQ(fs::ReadWholeFile(b), std::vector<uint8_t>{'A'});
  try {
    p.SetFullPath(c);
    FAIL() << "an existing target was replaced";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.FullPath");
    EXPECT_EQ(e.description(), "Could not rename Presentation " + b +
                                   ".  Please close and reopen  " + c + ".\r\nFile already exists");
  }
  EXPECT_EQ(p.FullPath(), b);
  EXPECT_EQ(fs::ReadWholeFile(c), std::vector<uint8_t>{'C'});
  p.SetFullPath(b);  // the same file: nothing to rename
  EXPECT_TRUE(fs::FileExists(b));
}

}  // namespace
}  // namespace brevora::slides
