// Editing a file's link: the three kinds of file, written and read back
// through their own objects.
#include "frontend/file_link_edit.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/on_fresh_thread.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "slides/pictures_test_support.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using test::ErrorOf;

struct Kind {
  int mode;
  const char* extension;
  const char* prefix;      // "LinkedXLS"
  const char* palmTo;      // the text of method 1
  const char* officeFile;  // a linked file's name
};

constexpr std::array<Kind, 3> kKinds = {{{0, "tbr", "LinkedXLS", "Palm to XLS", "/pc/Budget.xls"},
                                         {1, "scv", "LinkedDOC", "Palm to DOC", "/pc/Letter.doc"},
                                         {2, "pdb", "LinkedPPT", "Palm to PPT", "/pc/Talk.ppt"}}};

struct StoredLink {
  std::string file;
  double time = 0;
  int32_t method = 0;
  bool operator==(const StoredLink&) const = default;
};

std::string Member(const Kind& kind, const char* what) { return std::string(kind.prefix) + what; }

Ref<Dispatch> NewObject(core::Session& session, int mode) {
  return mode == 0   ? session.GetWorkbook()
         : mode == 1 ? session.GetDocument()
                     : session.GetPresentation();
}

// A file of the kind with the given link; a presentation gets three slides.
void WriteFile(core::Session& session, const Kind& kind, const std::string& path,
               const StoredLink& link) {
  Ref<Dispatch> object = NewObject(session, kind.mode);
  CallByName(object, "InitFromDefaults", CallKind::Method);
  if (kind.mode == 2) {
    const std::string picture = testing::MakeTempDir("pictures") + "/slide.png";
    slides::testing::WriteTestPicture(picture, 32, 24, 8);
    CallByName(object, "FileName", CallKind::Let, "Talk");
    const Variant slides = CallByName(object, "Slides", CallKind::Get);
    for (int16_t i = 1; i <= 3; ++i) {
      const Variant slide =
          CallByName(ObjectOf(slides), "Add", CallKind::Method, i, int16_t{0}, picture);
      CallByName(ObjectOf(slide), "addThumbnail", CallKind::Method, picture, int16_t{0});
    }
  }
  CallByName(object, Member(kind, "FileName"), CallKind::Let, link.file);
  CallByName(object, Member(kind, "FileModDateTime"), CallKind::Let, link.time);
  CallByName(object, Member(kind, "SyncMethod"), CallKind::Let, link.method);
  CallByName(object, "WriteToDisk", CallKind::Method, path, false);
}

StoredLink ReadLink(core::Session& session, const Kind& kind, const std::string& path) {
  Ref<Dispatch> object = NewObject(session, kind.mode);
  CallByName(object, "OpenFromDisk", CallKind::Method, path, false, false);
  return {CStr(CallByName(object, Member(kind, "FileName"), CallKind::Get)),
          CDbl(CallByName(object, Member(kind, "FileModDateTime"), CallKind::Get)),
          CLng(CallByName(object, Member(kind, "SyncMethod"), CallKind::Get))};
}

int SlideCount(core::Session& session, const std::string& path) {
  Ref<Dispatch> deck = session.GetPresentation();
  CallByName(deck, "OpenFromDisk", CallKind::Method, path, true, false);
  return CLng(
      CallByName(ObjectOf(CallByName(deck, "Slides", CallKind::Get)), "Count", CallKind::Get));
}

// Runs `body` for each kind on a fresh thread with an application object's Session.
template <class F>
void ForEachKind(F body) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.extension);
    core::OnFreshThread([&] {
      Ref<TabrelPC> app = MakeRef<TabrelPC>();
      const std::string path = testing::MakeTempDir("Unfiled") + "/File." + kind.extension;
      body(*app->Session(), kind, path);
    });
  }
}

// The dialog as a user answers it: records what it was shown.
struct ScriptedDialog {
  std::optional<LinkSettings> answer;
  std::vector<LinkSettings> shown;
  LinkDialog Dialog() {
    return [this](const LinkSettings& start) {
      shown.push_back(start);
      return answer;
    };
  }
};

TEST(EditFileLink, AnUnlinkedFileStartsEmptyAtSynchronizeAndATypedPathLinksIt) {
  ForEachKind([](core::Session& session, const Kind& kind, const std::string& path) {
    WriteFile(session, kind, path, {"", 0, 2});  // a method left behind without a link
    ScriptedDialog dialog{LinkSettings{kind.officeFile, 0}, {}};
    const std::optional<LinkColumns> row = EditFileLink(session, kind.mode, path, dialog.Dialog());
    EXPECT_EQ(dialog.shown, (std::vector<LinkSettings>{{"", 0}}));
    EXPECT_EQ(row, (LinkColumns{kind.officeFile, "Synchronize"}));
    EXPECT_EQ(ReadLink(session, kind, path), (StoredLink{kind.officeFile, 0, 0}));
  });
}

TEST(EditFileLink, StartsFromTheLinkInTheFileAndKeepsTheTimeWhenOnlyTheMethodChanges) {
  ForEachKind([](core::Session& session, const Kind& kind, const std::string& path) {
    WriteFile(session, kind, path, {kind.officeFile, 123456789.0, 2});
    ScriptedDialog dialog{LinkSettings{kind.officeFile, 1}, {}};
    const std::optional<LinkColumns> row = EditFileLink(session, kind.mode, path, dialog.Dialog());
    EXPECT_EQ(dialog.shown, (std::vector<LinkSettings>{{kind.officeFile, 2}}));
    EXPECT_EQ(row, (LinkColumns{kind.officeFile, kind.palmTo}));
    EXPECT_EQ(ReadLink(session, kind, path), (StoredLink{kind.officeFile, 123456789.0, 1}));
  });
}

TEST(EditFileLink, ANewPathZeroesTheTimeAndRemovingTheLinkEmptiesTheColumns) {
  ForEachKind([](core::Session& session, const Kind& kind, const std::string& path) {
    WriteFile(session, kind, path, {kind.officeFile, 123456789.0, 0});
    ScriptedDialog moved{LinkSettings{"/pc/Other file", 2}, {}};
    EditFileLink(session, kind.mode, path, moved.Dialog());
    EXPECT_EQ(ReadLink(session, kind, path), (StoredLink{"/pc/Other file", 0, 2}));

    ScriptedDialog removed{LinkSettings{"", 3}, {}};
    EXPECT_EQ(EditFileLink(session, kind.mode, path, removed.Dialog()), (LinkColumns{"", ""}));
    // The file objects read an unlinked file with method 0, whatever it stored.
    EXPECT_EQ(ReadLink(session, kind, path), (StoredLink{"", 0, 0}));
  });
}

TEST(EditFileLink, CancelWritesNothing) {
  ForEachKind([](core::Session& session, const Kind& kind, const std::string& path) {
    WriteFile(session, kind, path, {kind.officeFile, 99.0, 1});
    const std::vector<uint8_t> before = fs::ReadWholeFile(path);
    ScriptedDialog dialog{std::nullopt, {}};
    EXPECT_EQ(EditFileLink(session, kind.mode, path, dialog.Dialog()), std::nullopt);
    EXPECT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(fs::ReadWholeFile(path), before);
  });
}

TEST(EditFileLink, APresentationKeepsAllItsSlides) {
  core::OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::string path = testing::MakeTempDir("Unfiled") + "/Talk.pdb";
    WriteFile(*app->Session(), kKinds[2], path, {"", 0, 0});
    ASSERT_EQ(SlideCount(*app->Session(), path), 3);
    ScriptedDialog dialog{LinkSettings{"/pc/Talk.ppt", 2}, {}};
    EditFileLink(*app->Session(), 2, path, dialog.Dialog());
    EXPECT_EQ(SlideCount(*app->Session(), path), 3);
  });
}

TEST(EditFileLink, AnotherModeDoesNothingAndADamagedFileRaisesWithoutAsking) {
  core::OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::string dir = testing::MakeTempDir("Unfiled");
    ScriptedDialog dialog{LinkSettings{"x", 0}, {}};
    EXPECT_EQ(EditFileLink(*app->Session(), 3, dir + "/x.tbr", dialog.Dialog()), std::nullopt);
    for (const Kind& kind : kKinds) {
      const std::string path = dir + "/Damaged." + kind.extension;
      fs::AtomicWrite(path, std::string_view("\x01\x02garbage"));
      EXPECT_NE(ErrorOf([&] {
                  EditFileLink(*app->Session(), kind.mode, path, dialog.Dialog());
                }).number(),
                0)
          << kind.extension;
      EXPECT_EQ(fs::ReadWholeFile(path),
                (std::vector<uint8_t>{1, 2, 'g', 'a', 'r', 'b', 'a', 'g', 'e'}));
    }
    EXPECT_TRUE(dialog.shown.empty());
  });
}

TEST(ListRowPath, JoinsPlainNamesAndRefusesTheOthers) {
  EXPECT_EQ(ListRowPath("/home/u/tbr/", "Work", "Budget", 0), "/home/u/tbr/Work\\Budget.tbr");
  EXPECT_EQ(ListRowPath("/h/", "Unfiled", "Letter.SCV", 1), "/h/Unfiled\\Letter.scv");
  const std::pair<const char*, const char*> refused[] = {
      {"", "Budget"},   {"..", "Budget"}, {"Work", ""},     {"Work", ".."},
      {"Work", "../x"}, {"a/b", "x"},     {"Work", "a\\b"}, {"Work", "tab\there"}};
  for (const auto& [category, name] : refused) {
    EXPECT_EQ(ErrorOf([&] { ListRowPath("/h/", category, name, 0); }).number(), 52)
        << category << " " << name;
  }
}

}  // namespace
}  // namespace brevora::frontend
