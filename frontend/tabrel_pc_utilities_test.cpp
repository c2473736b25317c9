// The application object's small utilities: MakeDirty, the support library's
// number and palette helpers, SetTitle, temporary files and path forms, and the
// folder paths of the handheld user.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/windows/window_directory.h"
#include "slides/pictures_test_support.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;
using test::ErrorOf;

std::string Bytes(const std::string& path) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

constexpr const char* kDirOrReadOnly =
    "This file is a directory or is read only.  Cannot complete operation.";
constexpr const char* kNotMarked = "Could not set modified for this sheet.  \r\n";

TEST(MakeDirty, MarksDesktopFilesByTheirFirstByte) {
  const std::string dir = testing::MakeTempDir("files");
  const struct {
    const char* name;
    std::string before;
    std::string after;
  } cases[] = {
      {"Budget.tbr", "2\r\n9\r\n1\r\n", "1\r\n9\r\n1\r\n"},
      {"Notes.scv", "0\r\n5\r\n1\r\n", "1\r\n5\r\n1\r\n"},
      {"Already.TBR", "1\r\n9\r\n", "1\r\n9\r\n"},
      {"empty.txt", "", "1"},  // whatever file it is given
  };
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (const auto& c : cases) {
      const std::string path = dir + "/" + c.name;
      fs::AtomicWrite(path, c.before);
      EXPECT_EQ(CallByName(app, "MakeDirty", CallKind::Method, path), Variant(true)) << c.name;
      EXPECT_EQ(Bytes(path), c.after) << c.name;
    }
  });
}

TEST(MakeDirty, RefusesFoldersReadOnlyAndMissingFiles) {
  const std::string dir = testing::MakeTempDir("files");
  const std::string readOnly = dir + "/Locked.tbr";
  fs::AtomicWrite(readOnly, std::string_view("2\r\n"));
  chmod(fs::NativePath(readOnly).c_str(), 0444);
  const struct {
    std::string path;
    std::string description;
  } cases[] = {
      {dir, kDirOrReadOnly},
      {readOnly, kDirOrReadOnly},
      {dir + "/Missing.tbr", std::string(kNotMarked) + "File not found"},
      {dir + "/no/Missing.tbr", std::string(kNotMarked) + "Path not found"},
  };
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (const auto& c : cases) {
      const AutomationError e = ErrorOf([&] { app->MakeDirty(c.path); });
      EXPECT_EQ(e.number(), 32760) << c.path;
      EXPECT_EQ(e.source(), "TabrelPC.MakeDirty") << c.path;
      EXPECT_EQ(e.description(), c.description) << c.path;
    }
  });
  EXPECT_EQ(Bytes(readOnly), "2\r\n");
  EXPECT_FALSE(fs::FileExists(dir + "/Missing.tbr"));
}

// The name, the type and every record of a handheld database, read late-bound.
struct Database {
  std::string name;
  std::string type;
  std::vector<std::vector<uint8_t>> records;
  bool operator==(const Database&) const = default;
};
Database ReadDatabase(const std::string& path) {
  Ref<Dispatch> db = CreateObject("TabulynPC.ExtPDB");
  CallByName(db, "create", CallKind::Method);
  CallByName(db, "openPDB", CallKind::Method, path);
  Database result{CStr(CallByName(db, "getName", CallKind::Method)),
                  CStr(CallByName(db, "getDBType", CallKind::Method)),
                  {}};
  const int32_t count = CLng(CallByName(db, "numRecords", CallKind::Method));
  for (int32_t i = 1; i <= count; ++i) {
    result.records.push_back(CBytes(CallByName(db, "getRecordB", CallKind::Method, i)));
  }
  return result;
}

// A presentation keeps its name: it is marked modified in its header.
TEST(MakeDirty, MarksAPresentationThroughItsHeader) {
  const std::string dir = testing::MakeTempDir("slidr");
  const std::string picture = dir + "/slide.png";
  slides::testing::WriteTestPicture(picture, 32, 24, 8);
  const std::string path = dir + "/Review.pdb";
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    {
      Ref<Dispatch> deck = app->Session()->GetPresentation();
      CallByName(deck, "InitFromDefaults", CallKind::Method);
      CallByName(deck, "FileName", CallKind::Let, "Review");
      const Variant slides = CallByName(deck, "Slides", CallKind::Get);
      const Variant slide =
          CallByName(ObjectOf(slides), "Add", CallKind::Method, int16_t{1}, int16_t{0}, picture);
      CallByName(ObjectOf(slide), "addThumbnail", CallKind::Method, picture, int16_t{0});
      CallByName(deck, "IsModified", CallKind::Let, false);
      CallByName(deck, "WriteToDisk", CallKind::Method, path, false);
    }
    const Database before = ReadDatabase(path);
    ASSERT_FALSE(before.records.empty());
    EXPECT_TRUE(app->MakeDirty(path));
    EXPECT_EQ(ReadDatabase(path), before);  // name and records as they were
    Ref<Dispatch> again = app->Session()->GetPresentation();
    CallByName(again, "OpenFromDisk", CallKind::Method, path, false, false);
    EXPECT_EQ(CallByName(again, "IsModified", CallKind::Get), Variant(true));
  });
}

TEST(MakeDirty, NeverWritesIntoADatabaseThatIsNoPresentation) {
  const std::string path = testing::MakeTempDir("db") + "/Budget.pdb";
  OnFreshThread([&] {
    Ref<Dispatch> db = CreateObject("TabulynPC.ExtPDB");
    CallByName(db, "create", CallKind::Method);
    CallByName(db, "setName", CallKind::Method, "Budget");
    CallByName(db, "setDBType", CallKind::Method, "Data");
    CallByName(db, "setCreatorID", CallKind::Method, "Zeri");
    CallByName(db, "addRecordString", CallKind::Method, "cells");
    CallByName(db, "writePDB", CallKind::Method, path);
    const std::string before = Bytes(path);
    const AutomationError e = ErrorOf([&] { MakeRef<TabrelPC>()->MakeDirty(path); });
    // The presentation's own 32760 error comes through as it is.
    EXPECT_EQ(e.number(), 32760);
    EXPECT_THAT(e.description(), ::testing::HasSubstr("not a Slidora presentation"));
    EXPECT_EQ(Bytes(path), before);
  });
}

TEST(TabrelPC, SetFileModeWrapsWhatFailsUnderIt) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->SetSession(nullptr);
    const AutomationError e = ErrorOf([&] { app->SetFileMode(1); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.SetFileMode");
    EXPECT_EQ(e.description(),
              "Could not set file mode\r\nObject variable or With block variable not set");
  });
}

TEST(TabrelPC, NumberAndPaletteHelpers) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "ORX_BitAndEx", CallKind::Method, "12", "10"), Variant(8.0));
    EXPECT_EQ(CallByName(app, "ORX_BitAndEx", CallKind::Method, "4294967295", "4294967294"),
              Variant(4294967294.0));
    std::vector<Variant> rgb = {Variant(int32_t{226}), Variant(), Variant(), Variant()};
    app->Invoke("tbPalmIndexToRGB", CallKind::Method, Args(rgb));
    EXPECT_EQ(rgb[1], Variant(int32_t{0x80}));
    EXPECT_EQ(rgb[2], Variant(int32_t{0}));
    EXPECT_EQ(rgb[3], Variant(int32_t{0}));
    EXPECT_EQ(CallByName(app, "tbRBGToPalmIndex", CallKind::Method, 0x80, 0, 0x80),
              Variant(int16_t{227}));
    EXPECT_EQ(CallByName(app, "tbRBGToPalmIndex", CallKind::Method, 255, 255, 255),
              Variant(int16_t{0}));
  });
}

std::vector<windows::WindowMessage> Received(windows::RegisteredWindow& window) {
  std::vector<windows::WindowMessage> messages;
  window.HandlePending([&](const windows::WindowMessage& m) { messages.push_back(m); });
  return messages;
}

TEST(SetTitle, SetsAnExcelWindowsTitle) {
  windows::RegisteredWindow excel("XLMAIN", "Microsoft Excel - Book1", {});
  const int32_t handle = static_cast<int32_t>(excel.handle());
  const struct {
    std::string title;
    std::string expected;
  } cases[] = {
      {"  ", "Microsoft Excel - Untitled"},
      {"", "Microsoft Excel - Untitled"},
      {"  Budget.tbr ", "Microsoft Excel - Budget.tbr"},
      {"Tab\there", "Microsoft Excel - Tab here"},
      {std::string(300, 'x'), "Microsoft Excel - " + std::string(255 - 18, 'x')},
  };
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (const auto& c : cases) {
      CallByName(app, "SetTitle", CallKind::Method, handle, c.title);
      EXPECT_THAT(Received(excel),
                  ::testing::ElementsAre(windows::WindowMessage::Title(c.expected)))
          << c.title;
    }
    const AutomationError e = ErrorOf([&] { app->SetTitle(handle + 1, "x"); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.SetTitle");
    EXPECT_EQ(e.description(), "Could not set title\r\nInvalid window handle.");
  });
}

TEST(TabrelPC, GetTempFileGivesTheWholePathOfANewFile) {
  // A temporary folder deeper than any fixed buffer would hold.
  const std::string deep =
      testing::MakeTempDir(std::string(120, 'd')) + "/" + std::string(120, 'e');
  std::filesystem::create_directories(deep);
  setenv("TMPDIR", deep.c_str(), 1);
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (const char* member : {"GetTempFile", "GetPropertyFile"}) {
      const std::string path = CStr(CallByName(app, member, CallKind::Method));
      EXPECT_TRUE(path.starts_with(deep + "/tbr")) << path;
      EXPECT_TRUE(fs::FileExists(path)) << path;
      EXPECT_EQ(fs::FileSize(path), 0u);
    }
  });
  setenv("TMPDIR", (deep + "/missing").c_str(), 1);
  OnFreshThread([&] {
    const AutomationError e = ErrorOf([] { MakeRef<TabrelPC>()->GetTempFile(); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.GetTempFile");
    EXPECT_TRUE(e.description().starts_with("Could not get temp file\r\n")) << e.description();
  });
}

TEST(TabrelPC, LongPathToShortKeepsPathsThatExist) {
  const std::string dir = testing::MakeTempDir("A long folder name");
  const std::string file = dir + "/A long file name.tbr";
  fs::AtomicWrite(file, std::string_view("1"));
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "LongPathToShort", CallKind::Method, file), Variant(file));
    EXPECT_EQ(app->LongPathToShort(dir), dir);
    EXPECT_EQ(app->LongPathToShort(dir + "/missing.tbr"), "");
    EXPECT_EQ(app->LongPathToShort(""), "");
    CallByName(app, "BringToFront", CallKind::Method);  // does nothing
  });
}

TEST(TabrelPC, SyncPathsAreTheUsersFolderAndTheModesSubFolder) {
  const std::string user = testing::MakeTempDir("Anna");
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    // No current user: nothing to build on.
    EXPECT_EQ(ErrorOf([&] { app->GetSyncPath(0); }).number(), 91);
    Ref<core::DeviceUser> anna = MakeRef<core::DeviceUser>();
    anna->SetUID(4);
    anna->SetUserName("Anna");
    anna->SetPath(user);
    app->Session()->GetUserManager()->GetUsers()->Add(anna);
    app->SetCurrentUser("Anna");
    EXPECT_EQ(CallByName(app, "GetSyncPath", CallKind::Method, 1), Variant(user + "\\scriv"));
    EXPECT_EQ(app->GetSyncPath(7), user + "\\");
    EXPECT_EQ(CallByName(app, "GetTabulynPath", CallKind::Get), Variant(user + "\\tabrel"));
    EXPECT_EQ(CallByName(app, "GetScrivanePath", CallKind::Get), Variant(user + "\\scriv"));
    EXPECT_EQ(CallByName(app, "GetSlidoraPath", CallKind::Get), Variant(user + "\\slidr"));
    EXPECT_FALSE(std::filesystem::exists(user + "/tabrel"));  // nothing is made

    const AutomationError e = ErrorOf([&] { CallByName(app, "HotSyncHome", CallKind::Get); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.description(), "Function Depreciated");
  });
}

TEST(TabrelPC, IsCustomHomeDirectoryNeedsTheSwitchAndAPath) {
  const struct {
    const char* homePath;  // nullptr: absent
    int use;               // -1: absent
    bool expected;
  } cases[] = {{"/nowhere", 1, true},
               {"/nowhere", 0, false},
               {"/nowhere", -1, false},
               {"", 1, false},
               {nullptr, 1, false}};
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (const auto& c : cases) {
      registry::DeleteKey(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn");
      if (c.homePath) {
        registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                           registry::Value::String(c.homePath));
      }
      if (c.use >= 0) {
        registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                           registry::Value::DWord(static_cast<uint32_t>(c.use)));
      }
      EXPECT_EQ(CallByName(app, "IsCustomHomeDirectory", CallKind::Get), Variant(c.expected))
          << (c.homePath ? c.homePath : "<absent>") << " " << c.use;
    }
  });
}

}  // namespace
}  // namespace brevora::frontend
